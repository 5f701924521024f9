// A program that journals a run and is then killed: it starts a run through the journal's
// writer, answers `count` times 100 ms apart, printing "shown N" as the window would show
// each answer, then "done", and waits to be killed.
#include <unistd.h>

#include <QCoreApplication>
#include <QThread>
#include <cstdio>

#include "gui/journal/journal_writer.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: journal_child JOURNAL COUNT\n");
        return 2;
    }
    limenta::JournalWriter writer(QString::fromLocal8Bit(argv[1]), [](const QString& notice) {
        std::fprintf(stderr, "%s\n", notice.toUtf8().constData());
    });
    limenta::JournalRun run;
    run.uid = "killed-child";
    run.method = "pest";
    run.started = "2026-12-08T09:30:15Z";
    run.settings = "{}";
    writer.write(limenta::JournalWrite::start(run));
    const int count = QString::fromLocal8Bit(argv[2]).toInt();
    for (int trial = 1; trial <= count; ++trial) {
        writer.write(
            limenta::JournalWrite::taken(run, {{trial, 50.0 - trial, trial % 2, 40, 7}, "t"}));
        std::printf("shown %d\n", trial);
        std::fflush(stdout);
        QThread::msleep(100);
    }
    std::printf("done\n");
    std::fflush(stdout);
    ::pause();
    return 0;
}
