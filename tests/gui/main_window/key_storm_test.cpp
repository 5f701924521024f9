// A random storm of keys, clicks and choices through the window system, with the window
// shown: nothing crashes, and the window shows what the console says throughout. Longer
// storms of the console alone are tested with the console.
#include <QComboBox>
#include <QLabel>
#include <random>

#include "gui/fakes/main_window_fixture.h"

namespace limenta::testing {
namespace {

using KeyStorm = MainWindowTest;

TEST_F(KeyStorm, ThroughTheWindowSystemWithTheWindowShown) {
    open();
    fake.dialogs.saveAnswer = dir.filePath(QStringLiteral("storm.txt"));
    std::mt19937 random(4);
    const std::vector<Qt::Key> special{Qt::Key_Return,    Qt::Key_Enter,  Qt::Key_Tab,
                                       Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Left,
                                       Qt::Key_Right,     Qt::Key_Up,     Qt::Key_Down,
                                       Qt::Key_Space,     Qt::Key_Escape, Qt::Key_F5};
    for (int i = 0; i < 400; ++i) {
        const unsigned roll = random() % 100;
        if (roll < 45) {
            type(std::string(1, "yYnNx1"[random() % 6]));
        } else if (roll < 70) {
            press(special[random() % special.size()]);
        } else if (roll < 80) {
            QTest::keyClick(window->windowHandle(), 'y');  // within the answer's wait
        } else if (roll < 86) {
            click("PushButton1");
        } else if (roll < 91) {
            click("PushButton3");
        } else if (roll < 94) {
            if (ui.menu("PopupMenu4")->isEnabled()) {
                const std::vector<std::string> keys = offered();
                choose(keys[random() % keys.size()].c_str());
            }
        } else if (roll < 97) {
            report();
        } else {
            tick("Timer1");
        }
        const ConsoleView& view = window->console().view();
        ASSERT_EQ(big().toStdString(), view.big);
        ASSERT_EQ(caption().toStdString(), view.caption);
        ASSERT_EQ(history().toStdString(), view.history);
        ASSERT_EQ(ui.text("StaticText7").toStdString(), view.plain[0].text);
    }
}

}  // namespace
}  // namespace limenta::testing
