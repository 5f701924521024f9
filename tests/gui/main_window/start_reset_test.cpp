// Start, Reset and the method switch.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "core/display/history_line.h"
#include "core/numbers/numbers.h"
#include "gui/fakes/main_window_fixture.h"
#include "gui/main_window/plot_canvas.h"
#include "gui/prefs/preferences_dialog.h"
#include "gui/widgets/design.h"

namespace limenta::testing {
namespace {

using StartReset = MainWindowTest;

void expectLocked(const Window1& w, bool locked) {
    EXPECT_EQ(w.PushButton1->isEnabled(), !locked);
    EXPECT_EQ(w.PopupMenu4->isEnabled(), !locked);
    for (const QLineEdit* field :
         {w.EditField1, w.EditField3, w.EditField4, w.EditField6, w.EditField7}) {
        EXPECT_EQ(field->isReadOnly(), locked) << field->objectName().toStdString();
        // and looks it: greyed while locked, the usual white after
        EXPECT_EQ(field->palette().color(QPalette::Base),
                  locked ? kLockedFieldBase : QColor(Qt::white))
            << field->objectName().toStdString();
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
    EXPECT_EQ(w.state().mysetting, 52.6);
    EXPECT_EQ(w.state().mystep, 7.5);
    EXPECT_EQ(w.state().startstep, 7);
    EXPECT_EQ(w.state().mydiff, 0.45);
    EXPECT_EQ(w.state().starttime, 1234);
    EXPECT_EQ(big(), "53");
    EXPECT_EQ(caption(), "Next Output to Try:");
    EXPECT_EQ(w.BevelButton1->text(), "Adjust");
    EXPECT_TRUE(w.Canvas1->hasFocus());
    EXPECT_EQ(fake.sounds.played.size(), 0U);  // Start announces nothing
    EXPECT_FALSE(w.state().mydate.empty());
    EXPECT_NE(w.state().mytime.find("30"), std::string::npos);  // 9:30:15 in the long form
}

// Every method the window offers: its captions, Start from its fields, and a whole run
// through the same answer step as any run of the core, on screen as the core has it.
TEST_F(StartReset, EveryWindowMethodStartsFromItsFieldsAndRunsToItsEnd) {
    for (const Method& m : methods()) {
        if (!m.inWindow) {
            continue;
        }
        SCOPED_TRACE(m.key);
        Window1& w = open();
        choose(m.key);
        ASSERT_EQ(&w.activeMethod(), &m);
        const std::vector<const Parameter*> fields = m.fields();
        const std::array<QLabel*, 3> captions{w.StaticText1, w.StaticText3, w.StaticText2};
        const std::array<QLineEdit*, 3> entries{w.EditField1, w.EditField4, w.EditField3};
        for (std::size_t i = 0; i < fields.size(); ++i) {
            EXPECT_EQ(captions[i]->text(), fields[i]->caption);
        }
        w.PushButton1->click();
        ASSERT_NE(w.run(), nullptr);
        EXPECT_EQ(&w.run()->method(), &m);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            EXPECT_EQ(w.run()->settings().typed(*fields[i]), entries[i]->text().toStdString());
        }
        limenta::Run expected(m, w.run()->settings());
        EXPECT_EQ(big().toStdString(), shownOutput(expected));
        while (!expected.reached()) {
            const bool mep = nearestWhole(expected.output()) >= 45;
            type(mep ? "y" : "n");
            expected.answer(mep ? 1 : 0, 0);
            ASSERT_EQ(big().toStdString(), shownOutput(expected));
            ASSERT_EQ(w.state().stepnum, expected.state().stepnum);
        }
        EXPECT_EQ(caption(), "rMT Estimate Reached :");
        EXPECT_EQ(textColour(w.StaticText4), kDesignGreen);
        EXPECT_EQ(history().toStdString(), historyText(expected.trials()));
        EXPECT_EQ(w.run()->estimate(), expected.estimate());
    }
}

TEST_F(StartReset, StartUnderMlPestSeedsTheBoundsAndShowsTheFirstEstimate) {
    Window1& w = open(
        prefsWith({{kPrefsUseMlPest, "1"}, {kPrefsLowerBound, "30"}, {kPrefsUpperBound, "70"}}));
    EXPECT_EQ(w.EditField1->text(), "30");
    w.EditField1->setText(QStringLiteral("20"));
    w.EditField4->setText(QStringLiteral("80"));
    w.EditField3->setText(QStringLiteral("2"));
    w.PushButton1->click();
    EXPECT_EQ(w.state().staerken[1], 20);
    EXPECT_EQ(w.state().erfolge[1], 0);
    EXPECT_EQ(w.state().staerken[2], 80);
    EXPECT_EQ(w.state().erfolge[2], 1);
    EXPECT_EQ(w.state().laststim, 0);
    EXPECT_EQ(big(), "47.5");  // unrounded, from the spread typed (2, not the stored 7)
    EXPECT_EQ(w.preferences().whole(kPrefsLowerBound), 30);  // the fields are used once, not stored
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
    EXPECT_EQ(w.state().stepnum, 0);
    EXPECT_EQ(w.state().myrmt, 0);
    for (QLabel* value : {w.StaticText7, w.StaticText8, w.StaticText9, w.StaticText13,
                          w.StaticText14, w.StaticText15}) {
        EXPECT_EQ(value->text(), "");
    }
    EXPECT_EQ(w.p, splashPicture());
    EXPECT_EQ(w.StaticText20->text(), "");                            // no run, no interval
    EXPECT_EQ(w.StaticText6->text(), "Success = y     Failure = n");  // the legend stays
    type("y");                                                        // no run, so no answer
    EXPECT_EQ(w.state().stepnum, 0);
    EXPECT_TRUE(history().isEmpty());
}

TEST_F(StartReset, LegendNamesSpecialKeysAndAllOtherKeys) {
    Window1& w = open(prefsWith({{kPrefsSuccessKey, "13"}, {kPrefsFailKey, "32"}}));
    w.PushButton1->click();
    EXPECT_EQ(w.StaticText6->text(), "Success = ENTER     Failure = SPACE");
    w.PushButton3->click();
    w.keys().failall = true;
    w.keys().successkey = 'y';
    w.PushButton1->click();
    EXPECT_EQ(w.StaticText6->text(), "Success = y     Failure = ANY");
}

TEST_F(StartReset, StartRefusesValuesNoRunCanStartFromAndChangesNothing) {
    struct Case {
        std::string prefs;
        const char* first;
        const char* second;
        const char* third;
        const char* message;
    };
    const std::string adaptive = defaultPrefsText();
    const std::string ml = prefsWith({{kPrefsUseMlPest, "1"}});
    const std::string bayes = defaultPrefsText() + "\tmethod=bayes";
    const std::vector<Case> cases{
        {adaptive, "0", "7", ".45",
         "Cannot start: Initial output value must be a number from 1 to 100."},
        {adaptive, "100.5", "7", ".45",
         "Cannot start: Initial output value must be a number from 1 to 100."},
        {adaptive, "50", "0,5", ".45", "Cannot start: Step Size must be at least 1."},
        {adaptive, "50", "-7", ".45", "Cannot start: Step Size must be at least 1."},
        {adaptive, "50", "7", "0", "Cannot start: Diff. Threshold must be greater than 0."},
        {ml, "100", "1", "7", "Cannot start: Lower Bound must be below Upper Bound."},
        {ml, "50", "50.9", "7", "Cannot start: Lower Bound must be below Upper Bound."},
        {ml, "0", "80", "7", "Cannot start: Lower Bound must be a number from 1 to 100."},
        {ml, "20", "101", "7", "Cannot start: Upper Bound must be a number from 1 to 100."},
        {ml, "20", "80", ".5", "Cannot start: Spread must be at least 1."},
        {bayes, "0,5", ".11", "", "Cannot start: Spread must be at least 1."},
        {bayes, "7", "0", "", "Cannot start: Width must be greater than 0 and at most 1."},
        {bayes, "7", "1.5", "", "Cannot start: Width must be greater than 0 and at most 1."},
        {prefsWith({{kPrefsUseMlPest, "1"}, {kPrefsMlDiffThreshold, "0"}}), "20", "80", "7",
         "Cannot start: The ML-PEST difference threshold (in Preferences) must be greater "
         "than 0."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        Window1& w = open(c.prefs);
        const double setting = w.state().mysetting;
        w.EditField1->setText(QString::fromLatin1(c.first));
        w.EditField4->setText(QString::fromLatin1(c.second));
        w.EditField3->setText(QString::fromLatin1(c.third));
        w.PushButton1->click();
        ASSERT_EQ(fake.dialogs.messages.size(), 1U);
        EXPECT_EQ(fake.dialogs.messages.back(), c.message);
        expectLocked(w, false);
        EXPECT_FALSE(w.runInProgress());
        EXPECT_EQ(big(), "");
        EXPECT_EQ(w.StaticText6->text(), "");
        EXPECT_TRUE(w.state().mydate.empty());
        EXPECT_EQ(w.state().mysetting, setting);
        EXPECT_EQ(w.state().nrstimulus, 0);
        type("y");
        EXPECT_EQ(w.state().stepnum, 0);
        fake.dialogs.messages.clear();
    }
}

TEST_F(StartReset, FieldsTakeADecimalComma) {
    Window1& w = open();
    w.EditField1->setText(QStringLiteral("52,5"));
    w.EditField4->setText(QStringLiteral("7,5"));
    w.EditField3->setText(QStringLiteral("0,45"));
    w.PushButton1->click();
    EXPECT_EQ(w.state().mysetting, 52.5);
    EXPECT_EQ(big(), "53");
    EXPECT_EQ(w.state().mystep, 7.5);
    EXPECT_EQ(w.state().mydiff, 0.45);
}

// Preferences that store other start values, another method, other keys and volumes.
int changeEverything(QDialog& dialog) {
    auto& prefs = dynamic_cast<Window2&>(dialog);
    prefs.EditField1->setText(QStringLiteral("30"));
    prefs.EditField4->setText(QStringLiteral("3"));
    prefs.EditField3->setText(QStringLiteral(".1"));
    prefs.EditField2->setText(QStringLiteral("10"));
    prefs.EditField6->setText(QStringLiteral("90"));
    prefs.EditField5->setText(QStringLiteral("5"));
    prefs.EditField7->setText(QStringLiteral(".2"));
    prefs.Slider3->setValue(40);
    prefs.tempsuccesskey = 'a';
    prefs.tempfailkey = 'b';
    storeMethod(prefs, "ml");
    prefs.PushButton4->click();  // OK
    return dialog.result();
}

TEST_F(StartReset, PreferencesDuringARunChangeOnlyKeysAndVolumesUntilReset) {
    Window1& w = open();
    w.PushButton1->click();
    type("y");
    ASSERT_EQ(big(), "43");
    fake.dialogs.scripts.push_back(changeEverything);
    w.PushButton6->click();

    EXPECT_EQ(w.state().mysetting, 43);
    EXPECT_EQ(w.state().mystep, 7);
    EXPECT_EQ(w.state().mydiff, 0.45);
    EXPECT_EQ(w.preferences().number(kPrefsMlDiffThreshold), 0.45);  // until Reset
    EXPECT_EQ(w.preferences().whole(kPrefsLowerBound), 20);
    EXPECT_EQ(w.preferences().whole(kPrefsUpperBound), 80);
    EXPECT_EQ(w.preferences().whole(kPrefsSpread), 7);
    EXPECT_EQ(method(), "pest");
    EXPECT_EQ(w.StaticText1->text(), "Initial output value:");
    EXPECT_EQ(w.EditField1->text(), "50");  // the running values stay on show
    EXPECT_EQ(w.Slider3->value(), 40);
    EXPECT_EQ(w.StaticText6->text(), "Success = a     Failure = b");
    type("y");  // no longer an answer key
    EXPECT_EQ(w.state().stepnum, 1);
    type("a");
    EXPECT_EQ(w.state().stepnum, 2);
    EXPECT_EQ(big(), "36");  // the staircase went on from 43 by its own step
    EXPECT_EQ(fake.sounds.fake("Click").playedAtVolume.back(), 40);

    w.PushButton3->click();  // the run is over: the stored start values and method apply
    EXPECT_EQ(method(), "ml");
    EXPECT_EQ(w.StaticText1->text(), "Lower Bound:");
    EXPECT_EQ(w.EditField1->text(), "10");
    EXPECT_EQ(w.EditField4->text(), "90");
    EXPECT_EQ(w.preferences().number(kPrefsInitialOutput), 30);
    EXPECT_EQ(w.preferences().number(kPrefsMlDiffThreshold), 0.2);
}

TEST_F(StartReset, PreferencesCancelledDuringARunLeaveItsMethodAndValues) {
    Window1& w = open(prefsWith({{kPrefsUseMlPest, "1"}}));
    choose("pest");  // adaptive PEST for this run, ML-PEST in the file
    w.EditField1->setText(QStringLiteral("54"));
    w.PushButton1->click();
    fake.dialogs.scripts.push_back([](QDialog& dialog) {
        dynamic_cast<Window2&>(dialog).PushButton5->click();  // Cancel
        return dialog.result();
    });
    w.PushButton6->click();
    EXPECT_EQ(method(), "pest");
    EXPECT_EQ(w.state().mysetting, 54);
    EXPECT_EQ(w.EditField1->text(), "54");
    type("n");
    EXPECT_EQ(history(), "01   054.00   054   0.0   07.0000\r");
    EXPECT_EQ(big(), "61");
    EXPECT_EQ(caption(), "Next Output to Try :");
}

TEST_F(StartReset, ChoosingAMethodShowsItsStoredValuesAndKeepsTheChoice) {
    Window1& w = open();
    w.EditField1->setText(QStringLiteral("33"));
    w.Slider3->setValue(10);
    choose("ml");
    EXPECT_EQ(method(), "ml");
    EXPECT_EQ(w.StaticText1->text(), "Lower Bound:");
    EXPECT_EQ(w.StaticText3->text(), "Upper Bound:");
    EXPECT_EQ(w.StaticText2->text(), "Spread:");
    EXPECT_EQ(w.EditField1->text(), "20");
    EXPECT_EQ(w.EditField4->text(), "80");
    EXPECT_EQ(w.EditField3->text(), "7");
    EXPECT_EQ(w.Slider3->value(), 100);  // the switch re-applies the stored preferences

    choose("pest");
    EXPECT_EQ(method(), "pest");
    EXPECT_EQ(w.StaticText1->text(), "Initial output value:");
    EXPECT_EQ(w.StaticText2->text(), "Diff. Threshold:");
    EXPECT_EQ(w.EditField1->text(), "50");
    EXPECT_EQ(w.EditField4->text(), "7");
    EXPECT_EQ(w.EditField3->text(), ".45");
}

TEST_F(StartReset, UnTickingMlPestShowsAdaptiveValuesEvenWhenTheFileStoresMlPest) {
    Window1& w = open(prefsWith({{kPrefsUseMlPest, "1"}}));
    ASSERT_EQ(method(), "ml");
    choose("pest");  // adaptive PEST, but the file says ML-PEST
    EXPECT_EQ(method(), "pest");
    EXPECT_EQ(w.StaticText1->text(), "Initial output value:");
    EXPECT_EQ(w.EditField1->text(), "50");
    EXPECT_EQ(w.EditField4->text(), "7");
}

TEST_F(StartReset, StartUpWithMlPestStoredShowsItsLabels) {
    Window1& w = open(prefsWith({{kPrefsUseMlPest, "1"}, {kPrefsSpread, "9"}}));
    EXPECT_EQ(method(), "ml");
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
        storeMethod(prefs, "ml");
        prefs.PushButton4->click();  // OK
        return dialog.result();
    });
    w.PushButton6->click();
    EXPECT_EQ(fake.dialogs.modalRuns, 1);
    EXPECT_EQ(method(), "ml");
    EXPECT_EQ(w.StaticText1->text(), "Lower Bound:");
    EXPECT_EQ(w.preferences().number(kPrefsInitialOutput), 44);
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
