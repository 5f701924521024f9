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
#include "core/prefs/prefs_with.h"
#include "gui/fakes/controls.h"
#include "gui/fakes/fake_platform.h"
#include "gui/main_window/plot_canvas.h"
#include "gui/main_window/window1.h"
#include "gui/prefs/preferences_dialog.h"
#include "gui/prefs/prefs_store.h"
#include "gui/report/output_window.h"
#include "gui/widgets/cr_text_edit.h"
#include "gui/widgets/line_control.h"

namespace limenta::testing {

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
        ui = Controls(window.get());
        // QTest lets due timers run after every key it sends; the announcement's stages and
        // an undo that waits are driven by the tests themselves.
        for (const char* name : {"Timer1", "Timer2", "Timer3", "Timer4", "Timer5"}) {
            ui.timer(name)->setInterval(3'600'000);
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
    // A timer's tick, as its timeout would bring it.
    void tick(const char* timer) { QMetaObject::invokeMethod(ui.timer(timer), "timeout"); }

    // The announcement's stages, each run as its timer would, until every one is off.
    void speakNextOutput() {
        for (int tick = 0; tick < 20; ++tick) {
            for (const char* stage : {"Timer1", "Timer2", "Timer3"}) {
                if (ui.timer(stage)->isActive()) {
                    this->tick(stage);
                    break;
                }
            }
        }
    }
    // In practice: the answer's wait passes, the next output is spoken digit by digit, and
    // a second later the virtual pulse fires.
    void firePulse() {
        pastTheWait();
        speakNextOutput();
        tick("Timer5");
        fake.clocks.tick += kPulseAfterTicks;
        tick("Timer5");
    }

    // The operator chooses a method in the main window, as a click in its menu does.
    void choose(const char* key) {
        QComboBox* methods = ui.menu("PopupMenu4");
        const int index = methods->findData(QString::fromLatin1(key));
        ASSERT_GE(index, 0) << key;
        methods->setCurrentIndex(index);
        emit methods->activated(index);
    }
    [[nodiscard]] std::string method() const { return window->console().activeMethod().key; }
    // The keys of the methods the window's menu offers, in its order.
    [[nodiscard]] std::vector<std::string> offered() const {
        std::vector<std::string> keys;
        QComboBox* methods = ui.menu("PopupMenu4");
        for (int i = 0; i < methods->count(); ++i) {
            keys.push_back(methods->itemData(i).toString().toStdString());
        }
        return keys;
    }
    void click(const char* button) { ui.button(button)->click(); }
    // Text as the operator types it into a field: selected and typed over.
    void typeInto(const char* name, const QString& text) {
        QLineEdit* field = ui.field(name);
        field->selectAll();
        field->insert(text);
    }
    // The report Print/Save shows.
    QString report() {
        click("PushButton4");
        Window4* output = window->findChild<Window4*>();
        EXPECT_NE(output, nullptr);
        return output != nullptr ? output->EditField1->text() : QString();
    }
    [[nodiscard]] const limenta::Run& run() const { return *window->console().run(); }

    [[nodiscard]] QString big() const { return ui.text("StaticText4"); }
    [[nodiscard]] QString caption() const { return ui.text("StaticText5"); }
    [[nodiscard]] QString history() const { return ui.history()->text(); }

    QTemporaryDir dir;
    FakePlatform fake;
    std::unique_ptr<PrefsStore> store;
    std::unique_ptr<Window1> window;
    Controls ui;
};

}  // namespace limenta::testing
