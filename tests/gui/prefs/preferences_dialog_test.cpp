// The Preferences dialog and its key capture, opened from the main window, and what OK
// writes into the preferences file.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>

#include "gui/fakes/main_window_fixture.h"
#include "gui/prefs/key_capture_dialog.h"
#include "gui/prefs/preferences_dialog.h"

namespace limenta::testing {
namespace {

using Preferences = MainWindowTest;

TEST_F(Preferences, ARoundTripThroughTheDialog) {
    open();
    fake.dialogs.scripts.push_back([](QDialog& dialog) {
        auto& d = dynamic_cast<Window2&>(dialog);
        EXPECT_EQ(d.StaticText5->text(), "KEY =     y");  // loaded: five blanks
        d.EditField1->setText(QStringLiteral("45"));
        d.EditField3->setText(QStringLiteral(".3"));
        d.Slider1->setValue(60);
        d.EditField7->setText(QStringLiteral(".2"));
        d.CheckBox2->setChecked(true);
        d.PushButton4->click();
        return dialog.result();
    });
    ui.button("PushButton6")->click();
    EXPECT_EQ(readPrefs(),
              "PESTPREFS\t45\t7\t.3\t60\t100\t100\t121\t110\t0\t1\t20\t80\t7\t.2\t0\tENDOFFILE");
    EXPECT_EQ(window->console().preferences().number(kPrefsInitialOutput), 45);
    EXPECT_EQ(window->console().preferences().number(kPrefsDiffThreshold), 0.3);
    EXPECT_EQ(window->console().preferences().number(kPrefsMlDiffThreshold), 0.2);
    EXPECT_EQ(ui.slider("Slider1")->value(), 60);
    EXPECT_TRUE(window->console().keys().failall);

    // Opened again, the dialog shows what the file holds, texts as they stand.
    fake.dialogs.scripts.push_back([](QDialog& dialog) {
        auto& d = dynamic_cast<Window2&>(dialog);
        EXPECT_EQ(d.EditField3->text(), ".3");
        EXPECT_EQ(d.Slider1->value(), 60);
        EXPECT_TRUE(d.CheckBox2->isChecked());
        EXPECT_EQ(d.StaticText6->palette().color(QPalette::WindowText), QColor(200, 200, 200));
        d.PushButton5->click();
        return dialog.result();
    });
    ui.button("PushButton6")->click();
}

TEST_F(Preferences, BothDeleteKeysAreShownAsDelete) {
    open(prefsWith({{kPrefsSuccessKey, "127"}, {kPrefsFailKey, "8"}}));
    fake.dialogs.scripts.push_back([](QDialog& dialog) {
        auto& d = dynamic_cast<Window2&>(dialog);
        EXPECT_EQ(d.StaticText5->text(), "KEY =     DELETE");
        EXPECT_EQ(d.StaticText6->text(), "KEY =     DELETE");
        EXPECT_EQ(d.tempsuccesskey, 127);
        EXPECT_EQ(d.tempfailkey, 8);
        return QDialog::Rejected;
    });
    ui.button("PushButton6")->click();
    EXPECT_EQ(fake.dialogs.modalRuns, 1);
}

TEST_F(Preferences, BothAllKeysOptionsAreRefused) {
    open();
    fake.dialogs.scripts.push_back([this](QDialog& dialog) {
        auto& d = dynamic_cast<Window2&>(dialog);
        d.CheckBox1->setChecked(true);
        d.CheckBox2->setChecked(true);
        EXPECT_TRUE(d.CheckBox1->isChecked());
        EXPECT_FALSE(d.CheckBox2->isChecked());
        EXPECT_EQ(fake.dialogs.messages,
                  std::vector<QString>{
                      "You cannot have both successes AND failures represented by all keys."});
        EXPECT_EQ(d.StaticText5->palette().color(QPalette::WindowText), QColor(200, 200, 200));
        EXPECT_EQ(d.StaticText6->palette().color(QPalette::WindowText), QColor(0, 0, 0));
        return QDialog::Rejected;
    });
    ui.button("PushButton6")->click();
}

TEST_F(Preferences, AChosenKeyIsShownWrittenAndCancelLeavesItUnsaved) {
    open();
    const auto chooseReturn = [](QDialog& keyDialog) {
        auto& keys = dynamic_cast<Window3&>(keyDialog);
        EXPECT_EQ(keys.windowTitle(), "Select a key");
        EXPECT_FALSE(keys.Event_KeyDown(30));  // an arrow is ignored
        EXPECT_TRUE(keys.Event_KeyDown(13));
        return keyDialog.result();
    };
    fake.dialogs.scripts.push_back([&](QDialog& dialog) {
        auto& d = dynamic_cast<Window2&>(dialog);
        fake.dialogs.scripts.push_front(chooseReturn);
        d.PushButton2->click();
        EXPECT_EQ(d.StaticText5->text(), "KEY =     ENTER");
        d.PushButton5->click();  // Cancel
        return dialog.result();
    });
    ui.button("PushButton6")->click();
    EXPECT_EQ(readPrefs(), defaultPrefsText());
    EXPECT_EQ(window->console().keys().successkey, 'y');

    fake.dialogs.scripts.push_back([&](QDialog& dialog) {
        auto& d = dynamic_cast<Window2&>(dialog);
        fake.dialogs.scripts.push_front(chooseReturn);
        d.PushButton2->click();
        d.PushButton4->click();  // OK
        return dialog.result();
    });
    ui.button("PushButton6")->click();
    EXPECT_EQ(PrefsText(readPrefs()).field(kPrefsSuccessKey), "13");
    EXPECT_EQ(window->console().keys().successkey, 13);
}

TEST_F(Preferences, AKeyThatIsTheOtherAnswerKeyInAnyCaseIsRefused) {
    open();
    const auto press = [](std::int32_t key) {
        return [key](QDialog& keyDialog) {
            dynamic_cast<Window3&>(keyDialog).Event_KeyDown(key);
            return keyDialog.result();
        };
    };
    fake.dialogs.scripts.push_back([&](QDialog& dialog) {
        auto& d = dynamic_cast<Window2&>(dialog);
        fake.dialogs.scripts.push_front(press('N'));  // the failure key n, in upper case
        d.PushButton2->click();
        EXPECT_EQ(d.tempsuccesskey, 'y');
        EXPECT_EQ(d.StaticText5->text(), "KEY =     y");
        fake.dialogs.scripts.push_front(press('y'));  // the success key as failure key
        d.PushButton3->click();
        EXPECT_EQ(d.tempfailkey, 'n');
        fake.dialogs.scripts.push_front(press('b'));  // another key is taken
        d.PushButton3->click();
        EXPECT_EQ(d.tempfailkey, 'b');
        d.PushButton4->click();
        return dialog.result();
    });
    ui.button("PushButton6")->click();
    EXPECT_EQ(fake.dialogs.messages,
              (std::vector<QString>{"This key is already the failure key: choose another.",
                                    "This key is already the success key: choose another."}));
    EXPECT_EQ(window->console().keys().failkey, 'b');
}

TEST_F(Preferences, AKeyTheMenusTakeIsRefusedAtCaptureAndReplacedWhenStored) {
    // The capture names what the key does and waits for another.
    for (const MenuKey& menu : kMenuKeys) {
        std::int32_t chosen = 0;
        Window3 capture(nullptr, chosen);
        EXPECT_FALSE(capture.Event_KeyDown(menu.code)) << menu.name;
        EXPECT_EQ(chosen, 0);
        EXPECT_EQ(capture.StaticText1->text().toStdString(), menuKeyRefusal(menu));
        EXPECT_TRUE(capture.Event_KeyDown('b'));
        EXPECT_EQ(chosen, 'b');
    }
    {
        std::int32_t chosen = 0;
        Window3 capture(nullptr, chosen);
        capture.Event_KeyDown(17);
        EXPECT_EQ(capture.StaticText1->text(), "Ctrl+Q quits Limenta: choose another key.");
    }
    // A file that holds one: the default key answers, and the notice says which and why.
    open(prefsWith({{kPrefsSuccessKey, "26"}, {kPrefsFailKey, "17"}}));
    EXPECT_EQ(window->console().keys().successkey, 'y');
    EXPECT_EQ(window->console().keys().failkey, 'n');
    EXPECT_EQ(QString::fromStdString(window->console().view().notice),
              "A stored answer key belongs to a menu, so the default key answers instead. The "
              "failure key Ctrl+Q quits Limenta: n now answers for failure; choose another key "
              "in Preferences.");
    // The dialog shows the key that answers, and OK keeps it.
    fake.dialogs.scripts.push_back([](QDialog& dialog) {
        auto& d = dynamic_cast<Window2&>(dialog);
        EXPECT_EQ(d.StaticText5->text(), "KEY =     y");
        d.PushButton4->click();
        return dialog.result();
    });
    ui.button("PushButton6")->click();
    EXPECT_EQ(PrefsText(readPrefs()).field(kPrefsSuccessKey), "121");
}

TEST_F(Preferences, OkRefusesWhatStartWouldRefuseAndWritesNothing) {
    open();
    const std::string before = readPrefs();
    struct Case {
        QLineEdit* Window2::*field;
        const char* text;
        const char* message;
    };
    const std::vector<Case> cases{
        {&Window2::EditField1, "150",
         "Not saved: Initial output value must be a number from 1 to 100."},
        {&Window2::EditField4, "0,5", "Not saved: Step Size must be at least 1."},
        {&Window2::EditField3, "0",
         "Not saved: Diff. Threshold (Adaptive PEST Settings) must be greater than 0."},
        {&Window2::EditField2, "90", "Not saved: Lower Boundary must be below Upper Boundary."},
        {&Window2::EditField6, "101", "Not saved: Upper Boundary must be a number from 1 to 100."},
        {&Window2::EditField5, ".5", "Not saved: Relative threshold spread must be at least 1."},
        {&Window2::EditField7, "-1",
         "Not saved: Diff. Threshold (Max-Likelihood PEST Settings) must be greater than 0."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        bool stayedOpen = false;
        fake.dialogs.scripts.push_back([&](QDialog& dialog) {
            auto& d = dynamic_cast<Window2&>(dialog);
            (d.*c.field)->setText(QString::fromLatin1(c.text));
            d.PushButton4->click();
            stayedOpen = d.result() != QDialog::Accepted;
            return QDialog::Rejected;
        });
        ui.button("PushButton6")->click();
        EXPECT_TRUE(stayedOpen);
        ASSERT_EQ(fake.dialogs.messages.size(), 1U);
        EXPECT_EQ(fake.dialogs.messages[0], c.message);
        EXPECT_EQ(readPrefs(), before);
        fake.dialogs.messages.clear();
    }
    // Mended, the same dialog saves.
    fake.dialogs.scripts.push_back([](QDialog& dialog) {
        auto& d = dynamic_cast<Window2&>(dialog);
        d.EditField1->setText(QStringLiteral("150"));
        d.PushButton4->click();
        d.EditField1->setText(QStringLiteral("60"));
        d.PushButton4->click();
        return dialog.result();
    });
    ui.button("PushButton6")->click();
    EXPECT_EQ(PrefsText(readPrefs()).field(kPrefsInitialOutput), "60");
}

TEST_F(Preferences, ClosingTheKeyWindowChoosesNothing) {
    open();
    fake.dialogs.scripts.push_back([&](QDialog& dialog) {
        auto& d = dynamic_cast<Window2&>(dialog);
        fake.dialogs.scripts.push_front([](QDialog& /*keys*/) { return QDialog::Rejected; });
        d.PushButton3->click();
        EXPECT_EQ(d.tempfailkey, 'n');
        EXPECT_EQ(d.StaticText6->text(), "KEY =     n");
        return QDialog::Rejected;
    });
    ui.button("PushButton6")->click();
}

// The Bayesian method and its width go after the 17 fields, which keep their place and
// meaning: a reader of the 17 alone finds adaptive PEST and the same values.
TEST_F(Preferences, TheBayesianMethodAndItsWidthLiveAfterTheSeventeenFields) {
    Window1& w = open();
    fake.dialogs.scripts.push_back([](QDialog& dialog) {
        auto& d = dynamic_cast<Window2&>(dialog);
        EXPECT_EQ(d.GroupBox5->title(), "Bayesian Settings");
        // Only the window's own methods have fields here: the width alone, the spread being
        // learned.
        EXPECT_EQ(d.findChildren<QGroupBox*>().size(), 5);
        EXPECT_EQ(d.findChild<QLineEdit*>(QStringLiteral("EditField9")), nullptr);
        EXPECT_EQ(d.findChild<QLabel*>(QStringLiteral("StaticText13"))->text(), "Width:");
        storeMethod(d, "bayes-robust");
        d.findChild<QLineEdit*>(QStringLiteral("EditField8"))->setText(QStringLiteral(".2"));
        d.PushButton4->click();
        return dialog.result();
    });
    ui.button("PushButton6")->click();
    const std::string stored = readPrefs();
    EXPECT_EQ(stored, defaultPrefsText() + "\tmethod=bayes-robust\tbayes-robust.width=.2");
    const PrefsText seventeen(stored.substr(0, stored.find("\tmethod=")));
    EXPECT_EQ(seventeen.field(kPrefsUseMlPest), "0");  // adaptive PEST to a 17-field reader
    for (int n = 1; n <= kPrefsFieldCount; ++n) {
        EXPECT_EQ(PrefsText(stored).field(n), PrefsText(defaultPrefsText()).field(n)) << n;
    }
    // The window takes the method and the width, in the method's own caption; the fields
    // it does not use are away.
    EXPECT_EQ(method(), "bayes-robust");
    EXPECT_EQ(ui.label("StaticText1")->text(), "Width:");
    EXPECT_EQ(ui.field("EditField1")->text(), ".2");
    for (const char* away : {"EditField3", "EditField4", "StaticText2", "StaticText3"}) {
        EXPECT_FALSE(ui.find<QWidget>(away)->isVisibleTo(&w)) << away;
    }
    // Only values that differ from the defaults are written: back at the defaults, the
    // design's default file again, byte for byte.
    fake.dialogs.scripts.push_back([](QDialog& dialog) {
        auto& d = dynamic_cast<Window2&>(dialog);
        EXPECT_EQ(d.PopupMenu1->currentData().toString(), "bayes-robust");
        EXPECT_EQ(d.PopupMenu1->currentText(), "Bayesian");
        EXPECT_EQ(d.findChild<QLineEdit*>(QStringLiteral("EditField8"))->text(), ".2");
        d.PushButton1->click();  // Reset Defaults
        d.PushButton4->click();
        return dialog.result();
    });
    ui.button("PushButton6")->click();
    EXPECT_EQ(readPrefs(), defaultPrefsText());
    EXPECT_EQ(method(), "pest");
}

// A file an older Limenta wrote with its Bayesian method (of a fixed spread) opens with the
// Bayesian method of today, at its own width: the fixed one's values are not its own.
TEST_F(Preferences, AnOlderFilesBayesianMethodOpensAsTheBayesianMethod) {
    Window1& w = open(defaultPrefsText() + "\tmethod=bayes\tbayes.spread=5\tbayes.width=.2");
    EXPECT_EQ(method(), "bayes-robust");
    EXPECT_EQ(ui.label("StaticText1")->text(), "Width:");
    EXPECT_EQ(ui.field("EditField1")->text(), ".153");
    fake.dialogs.scripts.push_back([](QDialog& dialog) {
        auto& d = dynamic_cast<Window2&>(dialog);
        EXPECT_EQ(d.PopupMenu1->currentText(), "Bayesian");
        EXPECT_EQ(d.findChild<QLineEdit*>(QStringLiteral("EditField8"))->text(), ".153");
        d.PushButton4->click();
        return dialog.result();
    });
    ui.button("PushButton6")->click();
    EXPECT_EQ(readPrefs(), defaultPrefsText() + "\tmethod=bayes-robust");
    EXPECT_TRUE(w.isVisible());
}

TEST_F(Preferences, ResetDefaultsPutsTheDesignValuesBackWithSixBlanks) {
    open(
        prefsWith({{kPrefsInitialOutput, "61"}, {kPrefsSuccessKey, "13"}, {kPrefsUseMlPest, "1"}}));
    fake.dialogs.scripts.push_back([](QDialog& dialog) {
        auto& d = dynamic_cast<Window2&>(dialog);
        d.PushButton1->click();
        EXPECT_EQ(d.EditField1->text(), "50");
        EXPECT_EQ(d.StaticText5->text(), "KEY =      y");
        EXPECT_EQ(d.StaticText6->text(), "KEY =      n");
        EXPECT_EQ(d.PopupMenu1->currentData().toString(), "pest");
        d.PushButton4->click();
        return dialog.result();
    });
    ui.button("PushButton6")->click();
    EXPECT_EQ(readPrefs(), defaultPrefsText());
    EXPECT_EQ(method(), "pest");
}

TEST_F(Preferences, TabsAndLineBreaksTypedIntoAFieldCannotSplitTheFile) {
    open();
    fake.dialogs.scripts.push_back([](QDialog& dialog) {
        auto& d = dynamic_cast<Window2&>(dialog);
        d.EditField1->setText(QStringLiteral("4\t5"));
        d.EditField4->setText(QStringLiteral("7\n8"));
        d.EditField7->setText(QStringLiteral(".4\r5"));
        d.PushButton4->click();
        return dialog.result();
    });
    ui.button("PushButton6")->click();
    const std::string file = readPrefs();
    EXPECT_EQ(file.find_first_of("\r\n"), std::string::npos);
    const PrefsText saved(file);
    EXPECT_EQ(saved.field(kPrefsInitialOutput), "4 5");
    EXPECT_EQ(saved.field(kPrefsStepSize), "7 8");
    EXPECT_EQ(saved.field(kPrefsMlDiffThreshold), ".4 5");
    EXPECT_EQ(saved.field(kPrefsEndMarker), "ENDOFFILE");
}

TEST_F(Preferences, EachVolumeGoesToItsOwnField) {
    open();
    fake.dialogs.scripts.push_back([](QDialog& dialog) {
        auto& d = dynamic_cast<Window2&>(dialog);
        d.Slider1->setValue(11);
        d.Slider2->setValue(22);
        d.Slider3->setValue(33);
        d.PushButton4->click();
        return dialog.result();
    });
    ui.button("PushButton6")->click();
    const PrefsText saved(readPrefs());
    EXPECT_EQ(saved.field(kPrefsVoiceVolume), "11");
    EXPECT_EQ(saved.field(kPrefsSignalVolume), "22");
    EXPECT_EQ(saved.field(kPrefsClickVolume), "33");
    EXPECT_EQ(ui.slider("Slider1")->value(), 11);
    EXPECT_EQ(ui.slider("Slider2")->value(), 22);
    EXPECT_EQ(ui.slider("Slider3")->value(), 33);
    fake.dialogs.scripts.push_back([](QDialog& dialog) {
        auto& d = dynamic_cast<Window2&>(dialog);
        EXPECT_EQ(d.Slider2->value(), 22);
        EXPECT_EQ(d.Slider3->value(), 33);
        d.PushButton5->click();
        return dialog.result();
    });
    ui.button("PushButton6")->click();
}

TEST_F(Preferences, TheLongestFieldsAnOperatorCanTypeComeBackWhole) {
    open();
    // Values Start takes, typed with 40 keys: the first 32 are taken.
    const auto typed = [](const char* value) {
        return QString::fromLatin1(value).leftJustified(40, QLatin1Char('0'));
    };
    const auto fields = [](Window2& d) {
        return std::vector<std::pair<QLineEdit*, const char*>>{
            {d.EditField1, "50."}, {d.EditField4, "7."},  {d.EditField3, "0.45"},
            {d.EditField2, "20."}, {d.EditField6, "80."}, {d.EditField5, "7."},
            {d.EditField7, "0.45"}};
    };
    fake.dialogs.scripts.push_back([&](QDialog& dialog) {
        auto& d = dynamic_cast<Window2&>(dialog);
        d.show();  // typed into the field that has the keyboard
        QApplication::setActiveWindow(&d);
        for (const auto& [field, value] : fields(d)) {
            field->clear();
            field->setFocus();
            QTest::keyClicks(field, typed(value));
            EXPECT_EQ(field->text(), typed(value).left(32));
        }
        d.PushButton4->click();
        return dialog.result();
    });
    ui.button("PushButton6")->click();
    const PrefsText saved(readPrefs());
    EXPECT_TRUE(saved.marked());
    EXPECT_EQ(saved.field(kPrefsEndMarker), "ENDOFFILE");
    fake.dialogs.scripts.push_back([&](QDialog& dialog) {
        auto& d = dynamic_cast<Window2&>(dialog);
        for (const auto& [field, value] : fields(d)) {
            EXPECT_EQ(field->text(), typed(value).left(32));
        }
        d.PushButton5->click();
        return dialog.result();
    });
    ui.button("PushButton6")->click();
    // The main window's fields take as much typing, and keep what the program puts there.
    ui.field("EditField1")->clear();
    QTest::keyClicks(ui.field("EditField1"), QString(40, QLatin1Char('9')));
    EXPECT_EQ(ui.field("EditField1")->text().size(), 32);
    ui.field("EditField1")->setText(QString(50, QLatin1Char('1')));
    EXPECT_EQ(ui.field("EditField1")->text().size(), 50);
}

}  // namespace
}  // namespace limenta::testing
