// The platform parts Limenta uses behind small interfaces, so tests can put fakes in their
// place: nothing in a test waits, makes a sound or opens a modal dialog.
#pragma once

#include <QDateTime>
#include <QString>

class QDialog;
class QPrinter;
class QWidget;

namespace limenta {

struct FileType;

// One loaded sound, shared by every use of its name.
class Sound {
  public:
    virtual ~Sound() = default;
    virtual void setVolume(int volume) = 0;  // 0 to 100
    virtual void play() = 0;                 // returns at once
    [[nodiscard]] virtual bool isPlaying() const = 0;
};

// The sounds shipped with the program: "s0" to "s9", "Click" and "ding2".
class SoundBank {
  public:
    virtual ~SoundBank() = default;
    virtual Sound& sound(const QString& name) = 0;
    // False when no audio device can play anything.
    [[nodiscard]] virtual bool available() const = 0;
};

class Clocks {
  public:
    virtual ~Clocks() = default;
    virtual qint64 ticks() = 0;         // 60 per second
    virtual double microseconds() = 0;  // for the run's duration
    virtual QDateTime currentDateTime() = 0;
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // Shows `dialog` modally and returns its result once it has closed.
    virtual int runModal(QDialog& dialog) = 0;
    // The save dialog for a file of `type`; an empty text when the operator cancels.
    virtual QString saveFileName(QWidget* parent, const QString& defaultName,
                                 const FileType& type) = 0;
    // The print dialog; false when the operator cancels.
    virtual bool choosePrinter(QPrinter& printer) = 0;
    // A message box with one button.
    virtual void message(QWidget* parent, const QString& text) = 0;
    // A question with two buttons; true for `yes`.
    virtual bool ask(QWidget* parent, const QString& text, const QString& yes,
                     const QString& no) = 0;
};

struct Platform {
    SoundBank& sounds;
    Clocks& clocks;
    Dialogs& dialogs;
};

}  // namespace limenta
