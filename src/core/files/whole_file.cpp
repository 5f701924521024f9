#include "core/files/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace limenta {

FileCalls FileCalls::system() {
    return {::write, ::fsync, ::close, ::rename};
}

namespace {

std::string systemProblem() {
    return std::strerror(errno);
}

WriteOutcome failed(std::string problem) {
    return {false, std::move(problem)};
}

// Every byte, across short writes and interruptions.
bool writeAll(int fd, std::string_view bytes, const FileCalls& calls) {
    while (!bytes.empty()) {
        const ssize_t done = calls.write(fd, bytes.data(), bytes.size());
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            if (done == 0) {
                errno = EIO;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(done));
    }
    return true;
}

}  // namespace

WriteOutcome writeWholeFile(const std::string& path, std::string_view bytes, LinkPolicy links,
                            const FileCalls& calls) {
    std::string target = path;
    struct stat status {};
    if (::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode)) {
        if (links == LinkPolicy::Refuse) {
            return failed("it is a symbolic link, which Limenta does not write through");
        }
        char* resolved = ::realpath(path.c_str(), nullptr);
        if (resolved == nullptr) {
            return failed(systemProblem());
        }
        target = resolved;
        std::free(resolved);
    }
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash);
    std::string temporary = folder + "/.limenta-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return failed(systemProblem());
    }
    // Patient data: a new file is its owner's alone (as mkstemp made it); a file replaced
    // keeps the mode its owner gave it.
    struct stat replaced {};
    if (::stat(target.c_str(), &replaced) == 0) {
        ::fchmod(fd, replaced.st_mode & 07777);
    }
    const bool complete = writeAll(fd, bytes, calls) && calls.fsync(fd) == 0;
    const int savedErrno = errno;
    const bool closed = calls.close(fd) == 0;
    if (!complete || !closed) {
        errno = complete ? errno : savedErrno;
        const std::string problem = systemProblem();
        ::unlink(temporary.c_str());
        return failed(problem);
    }
    if (calls.rename(temporary.c_str(), target.c_str()) != 0) {
        const std::string problem = systemProblem();
        ::unlink(temporary.c_str());
        return failed(problem);
    }
    return {true, {}};
}

}  // namespace limenta
