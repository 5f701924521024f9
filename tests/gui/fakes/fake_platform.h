// Stand-ins for the platform: sounds that only record, clocks that never wait, dialogs
// that follow a script.
#pragma once

#include <QDialog>
#include <QString>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "gui/platform/file_type.h"
#include "gui/platform/platform.h"

namespace limenta::testing {

class FakeSound final : public Sound {
  public:
    explicit FakeSound(QString name, std::vector<QString>& played)
        : name_(std::move(name)), played_(played) {}
    void setVolume(int volume) override { volume_ = volume; }
    void play() override {
        ++plays;
        playedAtVolume.push_back(volume_);
        played_.push_back(name_);
    }
    [[nodiscard]] bool isPlaying() const override { return playing; }

    int plays = 0;
    std::vector<int> playedAtVolume;
    bool playing = false;  // set by a test to hold the announcement back
    [[nodiscard]] int volume() const { return volume_; }

  private:
    QString name_;
    std::vector<QString>& played_;
    int volume_ = -1;
};

class FakeSoundBank final : public SoundBank {
  public:
    Sound& sound(const QString& name) override { return fake(name); }
    [[nodiscard]] bool available() const override { return audible; }

    FakeSound& fake(const QString& name) {
        auto& slot = sounds_[name];
        if (!slot) {
            slot = std::make_unique<FakeSound>(name, played);
        }
        return *slot;
    }

    // Drops what has been recorded, so a long test measures the program, not the fake.
    void forget() {
        played.clear();
        for (auto& [name, sound] : sounds_) {
            sound->playedAtVolume.clear();
        }
    }

    bool audible = true;
    std::vector<QString> played;  // every sound played, in order

  private:
    std::map<QString, std::unique_ptr<FakeSound>> sounds_;
};

// Ticks and microseconds move only when a test sets them.
class FakeClocks final : public Clocks {
  public:
    qint64 ticks() override { return tick; }
    double microseconds() override { return micros; }
    QDateTime currentDateTime() override { return now; }

    qint64 tick = 1000;
    double micros = 0.0;
    QDateTime now{QDate(2026, 12, 8), QTime(9, 30, 15)};
};

class FakeDialogs final : public Dialogs {
  public:
    using Script = std::function<int(QDialog&)>;

    int runModal(QDialog& dialog) override {
        ++modalRuns;
        if (scripts.empty()) {
            return QDialog::Rejected;  // nobody there: as if closed at once
        }
        Script script = std::move(scripts.front());
        scripts.pop_front();
        return script(dialog);
    }
    QString saveFileName(QWidget* /*parent*/, const QString& defaultName,
                         const FileType& type) override {
        offeredNames.push_back(defaultName);
        offeredFilters.push_back(type.filter());
        return saveAnswer;
    }
    bool choosePrinter(QPrinter& printer) override {
        if (printerSetup) {
            printerSetup(printer);
        }
        return printerAccepted;
    }
    void message(QWidget* /*parent*/, const QString& text) override { messages.push_back(text); }
    bool ask(QWidget* /*parent*/, const QString& text, const QString& /*yes*/,
             const QString& /*no*/) override {
        questions.push_back(text);
        return askAnswer;
    }

    std::deque<Script> scripts;  // one per modal dialog, in order
    int modalRuns = 0;
    QString saveAnswer;  // empty: the operator cancels
    std::vector<QString> offeredNames;
    std::vector<QString> offeredFilters;
    bool printerAccepted = false;
    std::function<void(QPrinter&)> printerSetup;
    std::vector<QString> messages;
    std::vector<QString> questions;
    bool askAnswer = true;  // the operator confirms
};

struct FakePlatform {
    FakeSoundBank sounds;
    FakeClocks clocks;
    FakeDialogs dialogs;
    Platform platform{sounds, clocks, dialogs};
};

}  // namespace limenta::testing
