// A file is written whole or not at all, whatever step fails, and never through a link
// unless asked.
#include "core/files/whole_file.h"

#include "core/files/owner_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace limenta {
namespace {

namespace fs = std::filesystem;

class WholeFile : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("limenta-whole-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        path = (folder / "PREFS").string();
    }
    void TearDown() override {
        std::system(("umount " + (folder / "small").string() + " 2>/dev/null").c_str());
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    static std::string read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void put(const std::string& file, const std::string& text) {
        std::ofstream(file, std::ios::binary) << text;
    }
    [[nodiscard]] std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }

    fs::path folder;
    std::string path;
};

TEST_F(WholeFile, ReplacesTheOldFileAndLeavesNothingBehind) {
    put(path, std::string(5000, 'x'));
    const WriteOutcome outcome = writeWholeFile(path, "new", LinkPolicy::Refuse);
    EXPECT_TRUE(outcome.written) << outcome.problem;
    EXPECT_EQ(read(path), "new");
    EXPECT_EQ(entries(), 1U);
    // Short writes are carried on to the end.
    FileCalls trickle = FileCalls::system();
    trickle.write = [](int fd, const void* data, std::size_t) { return ::write(fd, data, 1); };
    EXPECT_TRUE(writeWholeFile(path, "one byte at a time", LinkPolicy::Refuse, trickle).written);
    EXPECT_EQ(read(path), "one byte at a time");
}

// Started with its standard input closed (as a desktop launcher may start it), the program's
// first new file gets descriptor 0: a file like any other.
TEST_F(WholeFile, WritesWhenItsTemporaryFileGetsDescriptorZero) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(0);
        _exit(writeWholeFile(path, "new", LinkPolicy::Refuse).written ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(read(path), "new");
}

TEST_F(WholeFile, FoldersAreMadeOwnerOnlyEveryStepOfTheWayAndExistingOnesLeftAlone) {
    const auto mode = [](const fs::path& p) {
        struct stat status {};
        ::stat(p.c_str(), &status);
        return status.st_mode & 0777;
    };
    ::chmod(folder.c_str(), 0755);
    std::string problem;
    const fs::path deep = folder / "one" / "two" / "three";
    ASSERT_TRUE(makeOwnerFolders(deep.string() + "/", problem)) << problem;
    for (const fs::path& made : {folder / "one", folder / "one" / "two", deep}) {
        EXPECT_TRUE(fs::is_directory(made)) << made;
        EXPECT_EQ(mode(made), 0700U) << made;
    }
    EXPECT_EQ(mode(folder), 0755U);                         // there already: as it was
    EXPECT_TRUE(makeOwnerFolders(deep.string(), problem));  // all there: nothing to do
    put((folder / "file").string(), "x");
    EXPECT_FALSE(makeOwnerFolders((folder / "file" / "below").string(), problem));
    EXPECT_FALSE(problem.empty());
    problem.clear();
    EXPECT_FALSE(makeOwnerFolders((folder / "file").string(), problem));
    EXPECT_EQ(problem, "it is not a folder");
}

TEST_F(WholeFile, ANewFileIsItsOwnersAloneAndAReplacedOneKeepsItsMode) {
    const auto mode = [](const std::string& file) {
        struct stat status {};
        ::stat(file.c_str(), &status);
        return status.st_mode & 0777;
    };
    const mode_t before = ::umask(0);  // even a permissive umask gives others nothing
    ASSERT_TRUE(writeWholeFile(path, "patient data", LinkPolicy::Refuse).written);
    ::umask(before);
    EXPECT_EQ(mode(path), 0600U);
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(writeWholeFile(path, "patient data again", LinkPolicy::Refuse).written);
    EXPECT_EQ(mode(path), 0640U);
}

TEST_F(WholeFile, AFailureAtAnyStepLeavesTheOldFileAsItWas) {
    const std::string old = "PESTPREFS\t50\t7\t.45";
    const auto failing = [](int error) {
        return [error](auto&&...) {
            errno = error;
            return -1;
        };
    };
    struct Case {
        const char* step;
        FileCalls calls;
        const char* problem;
    };
    FileCalls noSpace = FileCalls::system();
    noSpace.write = failing(ENOSPC);
    FileCalls halfThenFull = FileCalls::system();
    int calls = 0;
    halfThenFull.write = [&calls](int fd, const void* data, std::size_t size) -> ssize_t {
        if (calls++ == 0) {
            return ::write(fd, data, size / 2);
        }
        errno = ENOSPC;
        return -1;
    };
    FileCalls flushFails = FileCalls::system();
    flushFails.fsync = failing(EIO);
    FileCalls closeFails = FileCalls::system();
    closeFails.close = [](int fd) {
        ::close(fd);
        errno = EDQUOT;
        return -1;
    };
    FileCalls writesNothing = FileCalls::system();
    writesNothing.write = [](int, const void*, std::size_t) -> ssize_t { return 0; };
    FileCalls renameFails = FileCalls::system();
    renameFails.rename = failing(EACCES);
    for (const Case& c : {Case{"write", noSpace, "No space left on device"},
                          Case{"second write", halfThenFull, "No space left on device"},
                          Case{"a write of nothing", writesNothing, "Input/output error"},
                          Case{"fsync", flushFails, "Input/output error"},
                          Case{"close", closeFails, "Disk quota exceeded"},
                          Case{"rename", renameFails, "Permission denied"}}) {
        put(path, old);
        const WriteOutcome outcome =
            writeWholeFile(path, "PESTPREFS\tnew\tcontent", LinkPolicy::Refuse, c.calls);
        EXPECT_FALSE(outcome.written) << c.step;
        EXPECT_EQ(outcome.problem, c.problem) << c.step;
        EXPECT_EQ(read(path), old) << c.step;
        EXPECT_EQ(entries(), 1U) << c.step << ": the temporary file is gone";
    }
}

TEST_F(WholeFile, NeverWritesThroughALinkUnlessToldToReplaceItsTarget) {
    const std::string target = (folder / "passwd").string();
    put(target, "root:x:0:0");
    fs::create_symlink(target, path);
    const WriteOutcome refused = writeWholeFile(path, "PESTPREFS", LinkPolicy::Refuse);
    EXPECT_FALSE(refused.written);
    EXPECT_NE(refused.problem.find("symbolic link"), std::string::npos);
    EXPECT_EQ(read(target), "root:x:0:0");
    EXPECT_TRUE(fs::is_symlink(path));

    EXPECT_TRUE(writeWholeFile(path, "report", LinkPolicy::WriteTarget).written);
    EXPECT_EQ(read(target), "report");
    EXPECT_TRUE(fs::is_symlink(path));  // the link still points at the file it chose
}

TEST_F(WholeFile, OnARealFullFileSystemTheOldFileSurvives) {
    const fs::path mount = folder / "small";
    fs::create_directories(mount);
    const std::string command =
        "mount -t tmpfs -o size=16k limenta-test " + mount.string() + " 2>/dev/null";
    if (::geteuid() != 0 || std::system(command.c_str()) != 0) {
        GTEST_SKIP() << "no small tmpfs could be mounted (needs root): the failing-call "
                        "tests above cover the same steps";
    }
    const std::string prefs = (mount / "PREFS").string();
    put(prefs, "PESTPREFS\t50\t7\t.45\t0\t100\t100\t121\t110\t0\t0\t20\t80\t7\t.45\t0\tENDOFFILE");
    const std::string before = read(prefs);
    // Fill what is left.
    std::system(
        ("dd if=/dev/zero of=" + (mount / "filler").string() + " bs=1k count=64 2>/dev/null")
            .c_str());
    const WriteOutcome outcome = writeWholeFile(prefs, std::string(8000, 'n'), LinkPolicy::Refuse);
    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(outcome.problem, "No space left on device");
    EXPECT_EQ(read(prefs), before);
}

}  // namespace
}  // namespace limenta
