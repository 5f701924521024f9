// Start, Reset and the method switch.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "display/plot_canvas.h"
#include "fakes/main_window_fixture.h"
#include "prefs/window2.h"
#include "ui/main/design.h"

namespace limenta::testing {
namespace {

using StartReset = MainWindowTest;

void expectLocked(const Window1& w, bool locked) {
    EXPECT_EQ(w.PushButton1->isEnabled(), !locked);
    EXPECT_EQ(w.CheckBox1->isEnabled(), !locked);
    for (const QLineEdit* field :
         {w.EditField1, w.EditField3, w.EditField4, w.EditField6, w.EditField7}) {
        EXPECT_EQ(field->isReadOnly(), locked) << field->objectName().toStdString();
    }
    // Never locked.
    EXPECT_TRUE(w.PushButton3->isEnabled());
    EXPECT_TRUE(w.PushButton4->isEnabled());
    EXPECT_TRUE(w.PushButton6->isEnabled());
    EXPECT_TRUE(w.Slider1->isEnabled());
}

TEST_F(StartReset, StartReadsTheFieldsLocksTheInputsAndGivesTheCanvasTheKeys) {
    Window1& w = open();
    w.EditField1->setText(QStringLiteral("52.6"));
    w.EditField4->setText(QStringLiteral("7.5"));
    expectLocked(w, false);
    fake.clocks.micros = 1234;
    w.PushButton1->click();
    expectLocked(w, true);
    EXPECT_EQ(w.mysetting, 52.6);
    EXPECT_EQ(w.mystep, 7.5);
    EXPECT_EQ(w.startstep, 7);
    EXPECT_EQ(w.mydiff, 0.45);
    EXPECT_EQ(w.starttime, 1234);
    EXPECT_EQ(big(), "53");
    EXPECT_EQ(caption(), "Next Output to Try:");
    EXPECT_EQ(w.BevelButton1->text(), "Adjust");
    EXPECT_TRUE(w.Canvas1->hasFocus());
    EXPECT_EQ(fake.sounds.played.size(), 0U);  // Start announces nothing
    EXPECT_FALSE(w.mydate.empty());
    EXPECT_NE(w.mytime.find("30"), std::string::npos);  // 9:30:15 in the long form
}

TEST_F(StartReset, StartUnderMlPestSeedsTheBoundsAndShowsTheFirstEstimate) {
    Window1& w = open(
        prefsWith({{kPrefsUseMlPest, "1"}, {kPrefsLowerBound, "30"}, {kPrefsUpperBound, "70"}}));
    EXPECT_EQ(w.EditField1->text(), "30");
    w.EditField1->setText(QStringLiteral("20"));
    w.EditField4->setText(QStringLiteral("80"));
    w.EditField3->setText(QStringLiteral("0"));
    w.PushButton1->click();
    EXPECT_EQ(w.staerken[1], 20);
    EXPECT_EQ(w.erfolge[1], 0);
    EXPECT_EQ(w.staerken[2], 80);
    EXPECT_EQ(w.erfolge[2], 1);
    EXPECT_EQ(w.laststim, 0);
    EXPECT_EQ(big(), "49.5");   // unrounded: spread 0 makes 20 to 79 tie
    EXPECT_EQ(w.lowbound, 30);  // the fields are used once, not stored
}

TEST_F(StartReset, ResetDuringARunClearsItAndUnlocksTheInputs) {
    Window1& w = open();
    w.PushButton1->click();
    type("yyn");
    w.PushButton3->click();
    expectLocked(w, false);
    EXPECT_EQ(big(), "");
    EXPECT_TRUE(history().isEmpty());
    EXPECT_EQ(caption(), "Next Output to Try:");
    EXPECT_EQ(w.stepnum, 0);
    EXPECT_EQ(w.myrmt, 0);
    for (QLabel* value : {w.StaticText7, w.StaticText8, w.StaticText9, w.StaticText13,
                          w.StaticText14, w.StaticText15}) {
        EXPECT_EQ(value->text(), "00");
    }
    EXPECT_EQ(w.p, splashPicture());
    EXPECT_EQ(w.StaticText6->text(), "Success = y     Failure = n");  // the legend stays
    type("y");  // still handled before the next Start
    EXPECT_EQ(w.stepnum, 1);
}

TEST_F(StartReset, LegendNamesSpecialKeysAndAllOtherKeys) {
    Window1& w = open(prefsWith({{kPrefsSuccessKey, "13"}, {kPrefsFailKey, "32"}}));
    w.PushButton1->click();
    EXPECT_EQ(w.StaticText6->text(), "Success = ENTER     Failure = SPACE");
    w.PushButton3->click();
    w.failall = true;
    w.successkey = 'y';
    w.PushButton1->click();
    EXPECT_EQ(w.StaticText6->text(), "Success = y     Failure = ANY");
}

TEST_F(StartReset, TickingMlPestShowsTheStoredBoundsAndKeepsTheBoxTicked) {
    Window1& w = open();
    w.EditField1->setText(QStringLiteral("33"));
    w.Slider3->setValue(10);
    w.CheckBox1->click();
    EXPECT_TRUE(w.CheckBox1->isChecked());
    EXPECT_EQ(w.StaticText1->text(), "Lower Bound:");
    EXPECT_EQ(w.StaticText3->text(), "Upper Bound:");
    EXPECT_EQ(w.StaticText2->text(), "Spread:");
    EXPECT_EQ(w.EditField1->text(), "20");
    EXPECT_EQ(w.EditField4->text(), "80");
    EXPECT_EQ(w.EditField3->text(), "7");
    EXPECT_EQ(w.Slider3->value(), 100);  // the switch re-applies the stored preferences

    w.CheckBox1->click();
    EXPECT_FALSE(w.CheckBox1->isChecked());
    EXPECT_EQ(w.StaticText1->text(), "Initial output value:");
    EXPECT_EQ(w.StaticText2->text(), "Diff. Threshold:");
    EXPECT_EQ(w.EditField1->text(), "50");
    EXPECT_EQ(w.EditField4->text(), "7");
    EXPECT_EQ(w.EditField3->text(), ".45");
}

TEST_F(StartReset, UnTickingMlPestShowsAdaptiveValuesEvenWhenTheFileStoresMlPest) {
    Window1& w = open(prefsWith({{kPrefsUseMlPest, "1"}}));
    ASSERT_TRUE(w.CheckBox1->isChecked());
    w.CheckBox1->click();  // off, but the file says ML-PEST
    EXPECT_FALSE(w.CheckBox1->isChecked());
    EXPECT_EQ(w.StaticText1->text(), "Initial output value:");
    EXPECT_EQ(w.EditField1->text(), "50");
    EXPECT_EQ(w.EditField4->text(), "7");
}

TEST_F(StartReset, StartUpWithMlPestStoredShowsItsLabels) {
    Window1& w = open(prefsWith({{kPrefsUseMlPest, "1"}, {kPrefsSpread, "9"}}));
    EXPECT_TRUE(w.CheckBox1->isChecked());
    EXPECT_EQ(w.StaticText1->text(), "Lower Bound:");
    EXPECT_EQ(w.StaticText3->text(), "Upper Bound:");
    EXPECT_EQ(w.StaticText2->text(), "Spread:");
    EXPECT_EQ(w.EditField3->text(), "9");
}

TEST_F(StartReset, PrefsOpensTheDialogAndAppliesTheFileWhateverItsEnd) {
    Window1& w = open();
    w.EditField1->setText(QStringLiteral("61"));
    fake.dialogs.scripts.push_back([](QDialog& dialog) {
        auto& prefs = dynamic_cast<Window2&>(dialog);
        prefs.EditField1->setText(QStringLiteral("44"));
        prefs.CheckBox3->setChecked(true);
        prefs.PushButton4->click();  // OK
        return dialog.result();
    });
    w.PushButton6->click();
    EXPECT_EQ(fake.dialogs.modalRuns, 1);
    EXPECT_TRUE(w.CheckBox1->isChecked());
    EXPECT_EQ(w.StaticText1->text(), "Lower Bound:");
    EXPECT_EQ(w.mysetting, 44);
    EXPECT_EQ(w.EditField1->text(), "20");

    fake.dialogs.scripts.push_back([](QDialog& dialog) {
        dynamic_cast<Window2&>(dialog).PushButton5->click();  // Cancel
        return dialog.result();
    });
    w.EditField1->setText(QStringLiteral("99"));
    w.PushButton6->click();
    EXPECT_EQ(w.EditField1->text(), "20");  // replaced by the file's values
}

}  // namespace
}  // namespace limenta::testing
