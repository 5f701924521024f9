#include "gui/sound/null_sink_server.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

namespace limenta::testing {

const NullSinkServer* NullSinkServer::instance = nullptr;

NullSinkServer::NullSinkServer() {
    instance = this;
    if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty()) {
        whyNot_ = QStringLiteral("pulseaudio is not installed (tools/dev installs it)");
        return;
    }
    const QString socket = runtime_.filePath(QStringLiteral("pulse/native"));
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit());
    qputenv("PULSE_SERVER", QByteArray("unix:") + socket.toLocal8Bit());
    QProcess::execute(QStringLiteral("pulseaudio"),
                      {QStringLiteral("-n"), QStringLiteral("--daemonize=yes"),
                       QStringLiteral("--exit-idle-time=-1"),
                       QStringLiteral("--load=module-null-sink sink_name=null"),
                       QStringLiteral("--load=module-native-protocol-unix")});
    for (int i = 0; i < 200 && !QFile::exists(socket); ++i) {
        QThread::msleep(10);
    }
    running_ = QFile::exists(socket);
    if (!running_) {
        whyNot_ = QStringLiteral("pulseaudio is installed but did not start");
    }
}

NullSinkServer::~NullSinkServer() {
    if (running_) {
        QProcess::execute(QStringLiteral("pulseaudio"), {QStringLiteral("--kill")});
    }
    instance = nullptr;
}

QString NullSinkServer::tool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(5000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

}  // namespace limenta::testing
