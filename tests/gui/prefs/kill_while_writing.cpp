// Kills a process again and again at random moments while it writes PREFS: afterwards the
// file always holds either the old or the new content, never anything else.
//   kill_while_writing FOLDER TRIALS
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cstdio>
#include <random>
#include <string>

#include "core/prefs/prefs_format.h"
#include "gui/prefs/prefs_store.h"

namespace {

std::string contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<missing>");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kill_while_writing FOLDER TRIALS\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int trials = std::stoi(argv[2]);
    const QString path = QDir(folder).filePath(QStringLiteral("PREFS"));
    // Two contents of different lengths, so a cut or a mix of the two would show.
    const std::string oldText = limenta::defaultPrefsText();
    const std::string newText =
        "PESTPREFS\t45.5\t4\t.3\t85\t60\t40\t13\t32\t0\t1\t30\t70\t9\t.2\t1\tENDOFFILE";
    limenta::PrefsStore store(path);
    if (!store.write(oldText)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 2;
    }

    std::mt19937 random(2026);
    int sawOld = 0;
    int sawNew = 0;
    for (int trial = 1; trial <= trials; ++trial) {
        const pid_t child = fork();
        if (child == 0) {
            // The writer: new content, old content, new again, for as long as it lives.
            for (int i = 0;; ++i) {
                store.write(i % 2 == 0 ? newText : oldText);
            }
        }
        usleep(random() % 4000);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const std::string found = contents(path);
        if (found == oldText) {
            ++sawOld;
        } else if (found == newText) {
            ++sawNew;
        } else {
            std::printf("trial %d: PREFS holds %zu bytes that are neither content\n", trial,
                        found.size());
            return 1;
        }
        // A killed writer leaves its unfinished temporary file behind; PREFS is untouched.
        for (const QString& leftover :
             QDir(folder).entryList({QStringLiteral(".limenta-*")}, QDir::Files | QDir::Hidden)) {
            QFile::remove(QDir(folder).filePath(leftover));
        }
    }
    std::printf(
        "%d kills while writing: PREFS held the old content %d times and the new %d "
        "times, and nothing else\n",
        trials, sawOld, sawNew);
    return sawOld > 0 && sawNew > 0 ? 0 : 1;
}
