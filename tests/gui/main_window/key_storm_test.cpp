// Long random storms of keys and buttons: nothing crashes, nothing is written past an
// array, the history never holds more than one run's 200 lines, and the big number after an
// answer is always a whole number from 1 to 100.
#include <QComboBox>
#include <QLabel>
#include <random>
#include <string_view>

#include "core/trial/response_keys.h"
#include "gui/fakes/main_window_fixture.h"
#include "gui/report/output_window.h"

namespace limenta::testing {
namespace {

class KeyStorm : public MainWindowTest {
  protected:
    void expectSane() const {
        const Window1& w = *window;
        ASSERT_GE(w.state().stepnum, 0);
        ASSERT_LE(w.state().stepnum, kLastTrial);
        ASSERT_LE(w.state().nrstimulus, kLastStimulus);
        ASSERT_LE(history().count(QLatin1Char('\r')), kLastTrial);
        if (!big().isEmpty() && w.state().stepnum > 0) {
            bool whole = false;
            const int shown = big().toInt(&whole);
            ASSERT_TRUE(whole) << big().toStdString();
            ASSERT_GE(shown, 1);
            ASSERT_LE(shown, 100);
        }
        for (const QLabel* label : {w.StaticText4, w.StaticText7, w.StaticText8, w.StaticText9,
                                    w.StaticText13, w.StaticText14, w.StaticText15}) {
            ASSERT_FALSE(label->text().contains(QLatin1String("nan"), Qt::CaseInsensitive));
            ASSERT_FALSE(label->text().contains(QLatin1String("inf"), Qt::CaseInsensitive));
        }
    }

    // `count` random actions: mostly keys straight to the handlers, some through the window
    // system, and now and then Start, Reset, the method switch or Print/Save.
    void storm(std::mt19937& random, int count, std::string_view method) {
        Window1& w = *window;
        const std::vector<std::int32_t> keys{'y', 'n', 'Y', 'N', 'q', '1', '0', ' ',  13, 9,
                                             8,   127, 28,  29,  30,  31,  27,  0xE9, 'z'};
        const std::vector<Qt::Key> special{Qt::Key_Return,    Qt::Key_Enter,  Qt::Key_Tab,
                                           Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Left,
                                           Qt::Key_Right,     Qt::Key_Up,     Qt::Key_Down,
                                           Qt::Key_Space,     Qt::Key_Escape, Qt::Key_F5};
        for (int i = 0; i < count; ++i) {
            const unsigned roll = random() % 1000;
            if (roll < 880) {
                const std::int32_t key = keys[random() % keys.size()];
                if (random() % 2 == 0) {
                    w.Canvas1_KeyDown(key);
                } else {
                    w.Event_KeyDown(key);
                }
                // Mostly after the answer's wait, sometimes within it.
                fake.clocks.tick += static_cast<qint64>(random() % 40);
            } else if (roll < 940) {
                if (random() % 2 == 0) {
                    press(special[random() % special.size()]);
                } else {
                    type(std::string(1, "yYnNx1"[random() % 6]));
                }
            } else if (roll < 965) {
                w.PushButton1->click();
            } else if (roll < 985) {
                w.PushButton3->click();
            } else if (roll < 990) {
                if (w.PopupMenu4->isEnabled()) {
                    // Another method, then back to the storm's own.
                    const std::vector<std::string> keys = offered();
                    choose(keys[random() % keys.size()].c_str());
                    choose(std::string(method).c_str());
                }
            } else if (roll < 995) {
                w.PushButton4->click();
                fake.dialogs.saveAnswer = dir.filePath(QStringLiteral("storm.txt"));
                w.outputWindow()->PushButton2->click();
            } else {
                w.PopupMenu1->setCurrentIndex(static_cast<int>(random() % 201));
            }
            expectSane();
            if (::testing::Test::HasFatalFailure()) {
                return;
            }
        }
    }
};

TEST_F(KeyStorm, AdaptivePestUnderThousandsOfKeys) {
    open(prefsWith({{kPrefsSuccessKey, "121"}, {kPrefsFailKey, "110"}}));
    window->hide();  // the handlers, not the painting, are under test here
    std::mt19937 random(1);
    storm(random, 12000, "pest");
}

TEST_F(KeyStorm, MlPestUnderThousandsOfKeys) {
    open(prefsWith({{kPrefsUseMlPest, "1"}}));
    window->hide();
    std::mt19937 random(2);
    storm(random, 8000, "ml");
}

TEST_F(KeyStorm, AllOtherKeysAndRunsThatMeetTheTrialLimit) {
    // Every key an answer, and answers going on after the end: runs meet the trial limit
    // again and again.
    open(prefsWith({{kPrefsSuccessAll, "1"}}));
    window->hide();
    std::mt19937 random(3);
    storm(random, 12000, "pest");
}

TEST_F(KeyStorm, ThroughTheWindowSystemWithTheWindowShown) {
    open();
    std::mt19937 random(4);
    storm(random, 300, "pest");
}

}  // namespace
}  // namespace limenta::testing
