// Whatever the operator types into the fields, a full run of either method neither
// crashes nor hangs, and no number that is not finite reaches the screen, the report or
// the preferences file.
#include <QComboBox>
#include <QLabel>
#include <cmath>

#include "gui/fakes/main_window_fixture.h"
#include "gui/prefs/preferences_dialog.h"
#include "gui/report/output_window.h"

namespace limenta::testing {
namespace {

const std::vector<QString>& oddTexts() {
    static const std::vector<QString> texts{QString(),
                                            QStringLiteral("abc"),
                                            QStringLiteral("nan"),
                                            QStringLiteral("inf"),
                                            QStringLiteral("-inf"),
                                            QStringLiteral("-0"),
                                            QStringLiteral("1e400"),
                                            QStringLiteral("1e300"),
                                            QStringLiteral("0"),
                                            QStringLiteral("-35"),
                                            QStringLiteral("-1e300"),
                                            QStringLiteral("4.9e-324"),
                                            QString(5000, QLatin1Char('9')),
                                            QString(3000, QLatin1Char('x')),
                                            QStringLiteral("12\t3")};
    return texts;
}

bool showsNoNonFinite(const QString& text) {
    return !text.contains(QLatin1String("nan"), Qt::CaseInsensitive) &&
           !text.contains(QLatin1String("inf"), Qt::CaseInsensitive);
}

class FieldContents : public MainWindowTest {
  protected:
    // Start, answer until the estimate or the trial limit, then Print/Save.
    void fullRun(const QString& text, const Method& method) {
        Window1& w = *window;
        w.PushButton3->click();
        choose(method.key);
        for (QLineEdit* field :
             {w.EditField1, w.EditField3, w.EditField4, w.EditField6, w.EditField7}) {
            field->setText(text);
        }
        w.PushButton1->click();
        for (int i = 0; i < kLastTrial + 5 && w.state().myrmt == 0; ++i) {
            answer(i % 3 == 0 ? 'n' : 'y');
        }
        answer('y');  // one more after the end
        for (const QLabel* label : {w.StaticText4, w.StaticText7, w.StaticText8, w.StaticText9,
                                    w.StaticText13, w.StaticText14, w.StaticText15}) {
            EXPECT_TRUE(showsNoNonFinite(label->text()))
                << label->objectName().toStdString() << " shows " << label->text().toStdString()
                << " for '" << text.left(20).toStdString() << "'";
        }
        EXPECT_TRUE(showsNoNonFinite(history()));
        EXPECT_TRUE(std::isfinite(w.state().mysetting));
        EXPECT_TRUE(std::isfinite(w.state().myrmt));
        w.PushButton4->click();
        const QString report = w.outputWindow()->EditField1->text();
        // The report repeats the typed texts as they stand; every number Limenta itself
        // puts there is finite.
        QString computed = report;
        computed.remove(text);
        EXPECT_TRUE(showsNoNonFinite(computed)) << text.left(20).toStdString();
    }
};

TEST_F(FieldContents, FullRunsOfEveryWindowMethodWithOddFieldTexts) {
    open();
    window->hide();
    for (const QString& text : oddTexts()) {
        for (const Method& method : methods()) {
            if (method.inWindow) {
                fullRun(text, method);
            }
        }
        if (HasFailure()) {
            return;
        }
    }
}

TEST_F(FieldContents, ANumberTooLongForItsFieldShowsItsLeadingDigits) {
    Window1& w = open(prefsWith({{kPrefsInitialOutput, "1e308"}}));
    w.PushButton3->click();  // Reset writes the start value out in full
    ASSERT_GT(w.EditField1->text().size(), 300);
    EXPECT_TRUE(w.EditField1->text().startsWith(QLatin1String("1000")));
    EXPECT_EQ(w.EditField1->cursorPosition(), 0);  // the field shows its start
    // The operator's own typing keeps the cursor where the typing is.
    w.EditField4->setFocus();
    w.EditField4->selectAll();
    QTest::keyClicks(w.EditField4, QStringLiteral("12345"));
    EXPECT_EQ(w.EditField4->cursorPosition(), 5);

    std::vector<int> shownFrom;
    fake.dialogs.scripts.push_back([&shownFrom](QDialog& dialog) {
        auto& d = dynamic_cast<Window2&>(dialog);
        d.EditField1->setText(QString(40, QLatin1Char('9')));
        shownFrom = {d.EditField1->cursorPosition()};
        return static_cast<int>(QDialog::Rejected);
    });
    w.PushButton6->click();
    EXPECT_EQ(shownFrom, std::vector<int>{0});
}

TEST_F(FieldContents, OddTextsInTheDialogNeverMakeAnUnsafeFile) {
    open();
    for (const QString& text : oddTexts()) {
        fake.dialogs.scripts.push_back([&text](QDialog& dialog) {
            auto& d = dynamic_cast<Window2&>(dialog);
            for (QLineEdit* field : {d.EditField1, d.EditField2, d.EditField3, d.EditField4,
                                     d.EditField5, d.EditField6, d.EditField7}) {
                field->setText(text);
            }
            d.PushButton4->click();
            return dialog.result();
        });
        window->PushButton6->click();
        const PrefsText saved(readPrefs());
        ASSERT_TRUE(saved.marked());
        ASSERT_EQ(saved.field(kPrefsEndMarker), "ENDOFFILE");  // no field was split
        for (const int numeric : {kPrefsVoiceVolume, kPrefsSignalVolume, kPrefsClickVolume,
                                  kPrefsSuccessKey, kPrefsFailKey}) {
            bool whole = false;
            QString::fromStdString(saved.field(numeric)).toInt(&whole);
            EXPECT_TRUE(whole) << saved.field(numeric);
        }
        EXPECT_TRUE(std::isfinite(window->preferences().number(kPrefsInitialOutput)));
        EXPECT_TRUE(std::isfinite(window->preferences().number(kPrefsMlDiffThreshold)));
        EXPECT_TRUE(showsNoNonFinite(window->EditField1->text()));
        EXPECT_TRUE(showsNoNonFinite(window->EditField3->text()));
    }
}

}  // namespace
}  // namespace limenta::testing
