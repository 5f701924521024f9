// A console over a host that never waits: clocks that move only when a test moves them, a
// preferences file held as text, and every effect recorded as the window would carry it out.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/console/console.h"
#include "core/patient/patient_code.h"
#include "core/prefs/prefs_format.h"
#include "core/prefs/prefs_with.h"

namespace limenta::testing {

class FakeHost final : public ConsoleHost {
  public:
    std::int64_t ticks() override { return tick; }
    double microseconds() override { return micros; }
    WallTime now() override { return wall; }
    std::optional<std::string> preferences() override { return prefs; }
    bool digitSounding() override { return sounding; }
    bool keepingRuns() override { return keeping; }
    std::string newRunId() override { return "run-" + std::to_string(++runs); }
    std::optional<KnownPatient> knownPatient(const std::string& code) override {
        for (const KnownPatient& p : patients) {
            if (samePatient(p.code, code)) {
                return p;
            }
        }
        return std::nullopt;
    }

    std::int64_t tick = 1000;
    double micros = 0;
    WallTime wall{"Tuesday, 8 December 2026", "09:30:15 UTC", "2026-12-08T09:30:15Z",
                  1'796'722'215'000};
    std::optional<std::string> prefs;
    bool sounding = false;
    bool keeping = true;
    int runs = 0;
    std::vector<KnownPatient> patients;
};

class ConsoleTest : public ::testing::Test {
  protected:
    using Button = Console::Button;
    using Field = Console::Field;

    // Opens the console on the preferences `prefs` (none: a first start).
    Console& open(const std::optional<std::string>& prefs = defaultPrefsText(),
                  bool soundAvailable = true) {
        host.prefs = prefs;
        console.emplace(host);
        console->open(soundAvailable);
        drain();
        return *console;
    }

    // Carries out the effects as the window does: sounds recorded, journal writes kept,
    // dialogs answered by the script (the Preferences dialog by `preferencesDialog`).
    void drain() {
        for (ConsoleEffect& effect : console->takeEffects()) {
            if (auto* sound = std::get_if<PlaySound>(&effect)) {
                volumes.push_back(sound->volume);
                if (sound->play) {
                    played.push_back(sound->name);
                }
            } else if (auto* kept = std::get_if<KeepInJournal>(&effect)) {
                journal.push_back(kept->write);
            } else if (std::holds_alternative<OpenPreferences>(effect)) {
                ++preferencesOpened;
                if (preferencesDialog) {
                    preferencesDialog(host);
                }
                console->preferencesClosed();
                drain();
            } else if (auto* message = std::get_if<ShowMessage>(&effect)) {
                messages.push_back(message->text);
            } else if (auto* report = std::get_if<ShowReport>(&effect)) {
                reports.push_back(report->text);
            } else if (auto* moved = std::get_if<MoveFocus>(&effect)) {
                focus.push_back(moved->target);
            } else if (auto* page = std::get_if<ShowPracticePage>(&effect)) {
                pages.push_back(*page);
            }
        }
    }

    // Presses keys, each after the previous answer's wait.
    void type(const std::string& keys) {
        for (const char c : keys) {
            key(c);
            pastTheWait();
        }
    }
    void key(std::int32_t code) {
        console->key(code);
        drain();
    }
    void press(Button button) {
        console->press(button);
        drain();
    }
    void edit(Field field, const std::string& text) {
        console->edited(field, text);
        drain();
    }
    void tick(ConsoleTimer timer) {
        console->tick(timer);
        drain();
    }
    void undo() {
        console->undo();
        drain();
    }
    void pastTheWait() { host.tick += kAnswerWaitTicks + 1; }

    // The operator's choice of method, by its key.
    void choose(const std::string& key) {
        const auto& offered = Console::offeredMethods();
        for (std::size_t i = 0; i < offered.size(); ++i) {
            if (key == offered[i]->key) {
                console->chooseMethod(i);
                drain();
                return;
            }
        }
        FAIL() << "the window offers no method " << key;
    }

    // The announcement's stages, each ticked as its timer would, until every one is off.
    void speakNextOutput() {
        for (int tick = 0; tick < 20; ++tick) {
            for (const ConsoleTimer stage :
                 {ConsoleTimer::Announce1, ConsoleTimer::Announce2, ConsoleTimer::Announce3}) {
                if (view().timerOn(stage)) {
                    this->tick(stage);
                    break;
                }
            }
        }
    }
    // In practice: the answer's wait passes, the next output is spoken digit by digit, and a
    // second later the virtual pulse fires.
    void firePulse() {
        pastTheWait();
        speakNextOutput();
        tick(ConsoleTimer::Pulse);
        host.tick += kPulseAfterTicks;
        tick(ConsoleTimer::Pulse);
    }
    // The report Print/Save composes now.
    std::string report() {
        press(Button::PrintSave);
        return reports.empty() ? std::string() : reports.back();
    }

    [[nodiscard]] const ConsoleView& view() const { return console->view(); }
    [[nodiscard]] const limenta::Run& run() const { return *console->run(); }
    [[nodiscard]] int plays(const std::string& sound) const {
        return static_cast<int>(std::count(played.begin(), played.end(), sound));
    }

    FakeHost host;
    std::optional<Console> console;
    std::function<void(FakeHost&)> preferencesDialog;
    std::vector<std::string> played;  // every sound played, in order
    std::vector<int> volumes;         // every sound's volume, played or not
    std::vector<JournalWrite> journal;
    int preferencesOpened = 0;
    std::vector<std::string> messages;
    std::vector<std::string> reports;
    std::vector<FocusTarget> focus;
    std::vector<ShowPracticePage> pages;
};

}  // namespace limenta::testing
