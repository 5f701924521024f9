// A PulseAudio server of this test program's own, with one null sink: real audio-server
// behaviour, no noise, nothing shared with the machine's own sound.
#pragma once

#include <QString>
#include <QTemporaryDir>

namespace limenta::testing {

class NullSinkServer {
  public:
    // Starts the server and points this process at it; call before QApplication exists.
    NullSinkServer();
    ~NullSinkServer();
    NullSinkServer(const NullSinkServer&) = delete;
    NullSinkServer& operator=(const NullSinkServer&) = delete;

    [[nodiscard]] bool running() const { return running_; }
    [[nodiscard]] const QString& whyNotRunning() const { return whyNot_; }
    // Runs one of PulseAudio's command-line tools against this server; its standard output.
    [[nodiscard]] static QString tool(const QString& program, const QStringList& arguments);

    static const NullSinkServer* instance;

  private:
    QTemporaryDir runtime_;
    bool running_ = false;
    QString whyNot_;
};

}  // namespace limenta::testing
