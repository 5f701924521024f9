// A main window opened offscreen over fakes, with its preferences in a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "core/prefs/prefs_format.h"
#include "gui/fakes/fake_platform.h"
#include "gui/main_window/window1.h"
#include "gui/prefs/preferences_dialog.h"
#include "gui/prefs/prefs_store.h"
#include "gui/widgets/cr_text_edit.h"

namespace limenta::testing {

// The default preferences with fields replaced: {{field number, text}, ...}.
inline std::string prefsWith(std::initializer_list<std::pair<int, std::string>> changes) {
    std::array<std::string, kPrefsFieldCount - 2> values;
    const PrefsText defaults(defaultPrefsText());
    for (int n = 2; n < kPrefsFieldCount; ++n) {
        values[static_cast<std::size_t>(n - 2)] = defaults.field(n);
    }
    for (const auto& [field, text] : changes) {
        values[static_cast<std::size_t>(field - 2)] = text;
    }
    return composePrefs(values);
}

// The method a Preferences dialog is to store.
inline void storeMethod(Window2& dialog, const char* key) {
    dialog.PopupMenu1->setCurrentIndex(dialog.PopupMenu1->findData(QString::fromLatin1(key)));
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    void TearDown() override {
        window.reset();
        store.reset();
    }

    [[nodiscard]] QString prefsPath() const { return dir.filePath(QStringLiteral("PREFS")); }

    void writePrefs(const std::string& text) const {
        QFile file(prefsPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(text));
    }

    [[nodiscard]] std::string readPrefs() const {
        QFile file(prefsPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString()
                                              : std::string("<none>");
    }

    // Creates the window, runs its open handler and shows it, active, offscreen. With no
    // preferences text the folder holds no PREFS (a first start).
    Window1& open(const std::optional<std::string>& prefs = defaultPrefsText()) {
        if (prefs) {
            writePrefs(*prefs);
        }
        store = std::make_unique<PrefsStore>(prefsPath());
        store->setTeller(
            [this](const QString& message) { fake.dialogs.message(nullptr, message); });
        window = std::make_unique<Window1>(fake.platform, *store);
        // QTest lets due timers run after every key it sends; the announcement's stages and
        // an undo that waits are driven by the tests themselves.
        for (QTimer* stage :
             {window->Timer1, window->Timer2, window->Timer3, window->Timer4, window->Timer5}) {
            stage->setInterval(3'600'000);
        }
        window->Event_Open();
        window->show();
        QApplication::setActiveWindow(window.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return *window;
    }

    // Presses keys through the window system, as the operator's keyboard does, each after
    // the previous answer's wait.
    void type(const std::string& keys) {
        for (const char c : keys) {
            QTest::keyClick(window->windowHandle(), c);
            pastTheWait();
        }
    }
    void press(Qt::Key key) {
        QTest::keyClick(window->windowHandle(), key);
        pastTheWait();
    }
    // Hands a key straight to the canvas's handler, then lets the answer's wait pass.
    void answer(std::int32_t key) {
        window->Canvas1_KeyDown(key);
        pastTheWait();
    }
    void pastTheWait() { fake.clocks.tick += kAnswerWaitTicks + 1; }

    // The announcement's stages, each run as its timer would, until every one is off.
    void speakNextOutput() {
        Window1& w = *window;
        for (int tick = 0; tick < 20; ++tick) {
            if (w.Timer1->isActive()) {
                w.Timer1_Action();
            } else if (w.Timer2->isActive()) {
                w.Timer2_Action();
            } else if (w.Timer3->isActive()) {
                w.Timer3_Action();
            }
        }
    }
    // In practice: the answer's wait passes, the next output is spoken digit by digit, and
    // a second later the virtual pulse fires.
    void firePulse() {
        Window1& w = *window;
        pastTheWait();
        speakNextOutput();
        w.Timer5_Action();
        fake.clocks.tick += kPulseAfterTicks;
        w.Timer5_Action();
    }

    // The operator chooses a method in the main window, as a click in its menu does.
    void choose(const char* key) {
        const int index = window->PopupMenu4->findData(QString::fromLatin1(key));
        ASSERT_GE(index, 0) << key;
        window->PopupMenu4->setCurrentIndex(index);
        emit window->PopupMenu4->activated(index);
    }
    [[nodiscard]] std::string method() const { return window->activeMethod().key; }
    // The keys of the methods the window's menu offers, in its order.
    [[nodiscard]] std::vector<std::string> offered() const {
        std::vector<std::string> keys;
        for (int i = 0; i < window->PopupMenu4->count(); ++i) {
            keys.push_back(window->PopupMenu4->itemData(i).toString().toStdString());
        }
        return keys;
    }

    [[nodiscard]] QString big() const { return window->StaticText4->text(); }
    [[nodiscard]] QString caption() const { return window->StaticText5->text(); }
    [[nodiscard]] QString history() const { return window->EditField2->text(); }

    QTemporaryDir dir;
    FakePlatform fake;
    std::unique_ptr<PrefsStore> store;
    std::unique_ptr<Window1> window;
};

}  // namespace limenta::testing
