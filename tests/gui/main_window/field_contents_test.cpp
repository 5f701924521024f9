// What the fields show of long texts, and odd texts typed into the Preferences dialog: no
// number that is not finite reaches the preferences file. Full runs from odd texts are tested
// with the console.
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

using FieldContents = MainWindowTest;

TEST_F(FieldContents, ANumberTooLongForItsFieldShowsItsLeadingDigits) {
    open(prefsWith({{kPrefsInitialOutput, "1e308"}}));
    ui.button("PushButton3")->click();  // Reset writes the start value out in full
    ASSERT_GT(ui.field("EditField1")->text().size(), 300);
    EXPECT_TRUE(ui.field("EditField1")->text().startsWith(QLatin1String("1000")));
    EXPECT_EQ(ui.field("EditField1")->cursorPosition(), 0);  // the field shows its start
    // The operator's own typing keeps the cursor where the typing is.
    ui.field("EditField4")->setFocus();
    ui.field("EditField4")->selectAll();
    QTest::keyClicks(ui.field("EditField4"), QStringLiteral("12345"));
    EXPECT_EQ(ui.field("EditField4")->cursorPosition(), 5);

    std::vector<int> shownFrom;
    fake.dialogs.scripts.push_back([&shownFrom](QDialog& dialog) {
        auto& d = dynamic_cast<Window2&>(dialog);
        d.EditField1->setText(QString(40, QLatin1Char('9')));
        shownFrom = {d.EditField1->cursorPosition()};
        return static_cast<int>(QDialog::Rejected);
    });
    ui.button("PushButton6")->click();
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
        ui.button("PushButton6")->click();
        const PrefsText saved(readPrefs());
        ASSERT_TRUE(saved.marked());
        ASSERT_EQ(saved.field(kPrefsEndMarker), "ENDOFFILE");  // no field was split
        for (const int numeric : {kPrefsVoiceVolume, kPrefsSignalVolume, kPrefsClickVolume,
                                  kPrefsSuccessKey, kPrefsFailKey}) {
            bool whole = false;
            QString::fromStdString(saved.field(numeric)).toInt(&whole);
            EXPECT_TRUE(whole) << saved.field(numeric);
        }
        EXPECT_TRUE(std::isfinite(window->console().preferences().number(kPrefsInitialOutput)));
        EXPECT_TRUE(std::isfinite(window->console().preferences().number(kPrefsMlDiffThreshold)));
        EXPECT_TRUE(showsNoNonFinite(ui.field("EditField1")->text()));
        EXPECT_TRUE(showsNoNonFinite(ui.field("EditField3")->text()));
    }
}

}  // namespace
}  // namespace limenta::testing
