// The Getting Started controls: what a run locks and how it looks, the method's menu, Start's
// refusal in a message box, the operator's typing, sliders and choices passed on, and the
// Preferences dialog opened and applied.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "gui/fakes/main_window_fixture.h"
#include "gui/prefs/preferences_dialog.h"
#include "gui/widgets/design.h"

namespace limenta::testing {
namespace {

using StartReset = MainWindowTest;

TEST_F(StartReset, ARunLocksTheStartValuesAndLooksItUntilReset) {
    open();
    const auto expectLocked = [this](bool locked) {
        EXPECT_EQ(ui.button("PushButton1")->isEnabled(), !locked);
        EXPECT_EQ(ui.menu("PopupMenu4")->isEnabled(), !locked);
        for (const char* name :
             {"EditField1", "EditField3", "EditField4", "EditField6", "EditField7"}) {
            const QLineEdit* field = ui.field(name);
            EXPECT_EQ(field->isReadOnly(), locked) << name;
            // and looks it: greyed while locked, the usual white after
            EXPECT_EQ(field->palette().color(QPalette::Base),
                      locked ? kLockedFieldBase : QColor(Qt::white))
                << name;
        }
        // Never locked.
        for (const char* name : {"PushButton3", "PushButton4", "PushButton6"}) {
            EXPECT_TRUE(ui.button(name)->isEnabled()) << name;
        }
        EXPECT_TRUE(ui.slider("Slider1")->isEnabled());
    };
    expectLocked(false);
    click("PushButton1");
    expectLocked(true);
    // Adjust lets the distances take typing during the run; Continue locks them again.
    click("BevelButton1");
    EXPECT_EQ(ui.button("BevelButton1")->text(), "Continue");
    EXPECT_FALSE(ui.field("EditField7")->isReadOnly());
    EXPECT_TRUE(ui.field("EditField7")->hasFocus());
    EXPECT_EQ(ui.field("EditField7")->selectedText(), "0");
    QTest::keyClicks(ui.field("EditField7"), QStringLiteral("15"));
    EXPECT_EQ(window->console().view().distances[0], "15");
    click("BevelButton1");
    EXPECT_EQ(ui.button("BevelButton1")->text(), "Adjust");
    EXPECT_TRUE(ui.field("EditField7")->isReadOnly());
    EXPECT_TRUE(ui.field("EditField1")->hasFocus());
    click("PushButton3");
    expectLocked(false);
    EXPECT_EQ(big(), "");
    EXPECT_TRUE(ui.canvas()->picture() == splashPicture());
}

TEST_F(StartReset, TheMethodsMenuRelabelsTheFieldsAndHidesOneNoMethodUses) {
    open();
    typeInto("EditField1", QStringLiteral("33"));
    choose("bayes-robust");
    EXPECT_EQ(method(), "bayes-robust");
    EXPECT_EQ(ui.menu("PopupMenu4")->currentText(), "Bayesian");
    EXPECT_EQ(ui.text("StaticText1"), "Width:");
    EXPECT_EQ(ui.field("EditField1")->text(), ".153");
    for (const char* away : {"EditField3", "EditField4", "StaticText2", "StaticText3"}) {
        EXPECT_FALSE(ui.find<QWidget>(away)->isVisibleTo(window.get())) << away;
    }
    choose("ml");
    EXPECT_EQ(ui.text("StaticText1"), "Lower Bound:");
    EXPECT_EQ(ui.text("StaticText2"), "Spread:");
    EXPECT_TRUE(ui.field("EditField3")->isVisibleTo(window.get()));
    EXPECT_EQ(ui.menu("PopupMenu4")->currentText(), "ML-PEST");
    // The program's own change of the menu is no choice of the operator's: Reset applies
    // the file's method without the file being applied twice.
    writePrefs(prefsWith({{kPrefsUseMlPest, "1"}}));
    click("PushButton6");
    EXPECT_EQ(ui.menu("PopupMenu4")->currentText(), "ML-PEST");
    EXPECT_EQ(fake.dialogs.modalRuns, 1);
}

TEST_F(StartReset, StartRefusesInAMessageBoxAndChangesNothing) {
    open();
    typeInto("EditField1", QStringLiteral("0"));
    click("PushButton1");
    EXPECT_EQ(fake.dialogs.messages, std::vector<QString>{"Cannot start: Initial output value "
                                                          "must be a number from 1 to 100."});
    EXPECT_TRUE(ui.button("PushButton1")->isEnabled());
    EXPECT_EQ(big(), "");
    EXPECT_EQ(ui.text("StaticText6"), "");
}

TEST_F(StartReset, TheOperatorsSlidersAndPercentagesReachTheConsole) {
    open();
    click("PushButton1");
    ui.slider("Slider3")->setValue(40);
    EXPECT_EQ(window->console().view().volumes[2], 40);
    type("y");
    EXPECT_EQ(fake.sounds.fake("Click").playedAtVolume, std::vector<int>{40});
    QComboBox* first = ui.menu("PopupMenu1");
    first->setCurrentIndex(50);
    emit first->activated(50);
    EXPECT_EQ(window->console().view().percents[0], 50);
}

TEST_F(StartReset, PrefsRunsTheDialogAndTheWindowShowsWhatItStored) {
    open();
    fake.dialogs.scripts.push_back([](QDialog& dialog) {
        auto& prefs = dynamic_cast<Window2&>(dialog);
        prefs.EditField2->setText(QStringLiteral("10"));
        prefs.Slider3->setValue(40);
        storeMethod(prefs, "ml");
        prefs.PushButton4->click();  // OK
        return dialog.result();
    });
    click("PushButton6");
    EXPECT_EQ(fake.dialogs.modalRuns, 1);
    EXPECT_EQ(method(), "ml");
    EXPECT_EQ(ui.text("StaticText1"), "Lower Bound:");
    EXPECT_EQ(ui.field("EditField1")->text(), "10");
    EXPECT_EQ(ui.slider("Slider3")->value(), 40);
}

}  // namespace
}  // namespace limenta::testing
