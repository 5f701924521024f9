// The quick-reference panel and its depth correction in the main window.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/display/quick_reference.h"
#include "gui/fakes/main_window_fixture.h"
#include "gui/report/output_window.h"
#include "gui/widgets/cr_text_edit.h"
#include "gui/widgets/design.h"
#include "gui/widgets/line_control.h"

namespace limenta::testing {
namespace {

using QuickReferencePanel = MainWindowTest;

TEST_F(QuickReferencePanel, DistancesSwitchWhichColumnIsBlack) {
    Window1& w = open();
    // Before an estimate, Adjust and distances show no value at all.
    w.BevelButton1->click();
    w.EditField7->setText(QStringLiteral("15"));
    w.BevelButton1->click();
    for (const QLabel* value : {w.StaticText7, w.StaticText8, w.StaticText9, w.StaticText13,
                                w.StaticText14, w.StaticText15}) {
        EXPECT_EQ(value->text(), "") << value->objectName().toStdString();
    }
    w.EditField7->setText(QStringLiteral("0"));
    EXPECT_EQ(w.PopupMenu1->count(), 201);
    EXPECT_EQ(w.PopupMenu1->currentText(), "80%");
    EXPECT_EQ(w.PopupMenu3->currentText(), "120%");
    w.state().myrmt = 52;
    w.updateguides();
    EXPECT_EQ(w.StaticText14->text(), "52");  // both distances 0: factor 1

    w.EditField7->setText(QStringLiteral("15"));
    w.EditField6->setText(QStringLiteral("20"));
    EXPECT_EQ(w.StaticText13->text(), "50");
    EXPECT_EQ(w.StaticText14->text(), "62");
    EXPECT_EQ(w.StaticText15->text(), "75");
    EXPECT_EQ(w.StaticText7->text(), "42");
    EXPECT_EQ(textColour(w.StaticText13), kDesignBlack);
    EXPECT_EQ(textColour(w.StaticText7), kDesignGrey);
    for (const LineControl* line : {w.Line1, w.Line2, w.Line3, w.Line4, w.Line5}) {
        EXPECT_EQ(line->colour(), kDesignBlack);
    }

    // Equal distances: entered, so the corrected column leads, with a factor of 1.
    w.EditField7->setText(QStringLiteral("12"));
    w.EditField6->setText(QStringLiteral("12"));
    EXPECT_EQ(textColour(w.StaticText13), kDesignBlack);
    EXPECT_EQ(textColour(w.StaticText7), kDesignGrey);
    EXPECT_EQ(w.StaticText13->text(), "42");
    EXPECT_EQ(w.StaticText15->text(), "62");

    w.EditField7->setText(QStringLiteral("0"));
    w.EditField6->setText(QStringLiteral("0"));
    EXPECT_EQ(textColour(w.StaticText13), kDesignGrey);
    EXPECT_EQ(textColour(w.StaticText7), kDesignBlack);
    EXPECT_EQ(w.Line3->colour(), kDesignGrey);
    EXPECT_EQ(w.StaticText13->text(), w.StaticText7->text());

    w.PopupMenu2->setCurrentIndex(0);
    EXPECT_EQ(w.StaticText8->text(), "0");
    EXPECT_EQ(w.StaticText14->text(), "0");
}

TEST_F(QuickReferencePanel, ValuesNoStimulatorCanDeliverShowAs100PlusInRedAndInTheReport) {
    Window1& w = open();
    w.PushButton1->click();
    type("yynnyny");  // the estimate 41.6875
    ASSERT_EQ(w.state().myrmt, 41.6875);
    w.EditField7->setText(QStringLiteral("10"));  // to M1
    w.EditField6->setText(QStringLiteral("40"));  // to the target: 2.946 times the output
    EXPECT_EQ(w.StaticText13->text(), "98");
    EXPECT_EQ(textColour(w.StaticText13), kDesignBlack);
    EXPECT_TRUE(w.StaticText13->toolTip().isEmpty());
    for (const auto& [label, value] : {std::pair{w.StaticText14, "123"}, {w.StaticText15, "147"}}) {
        EXPECT_EQ(label->text(), "100+");
        EXPECT_EQ(textColour(label), kDesignRed);
        EXPECT_TRUE(label->toolTip().startsWith(QLatin1String(value))) << value;
    }
    w.PushButton4->click();
    const QString report = w.outputWindow()->EditField1->text();
    EXPECT_TRUE(report.contains(QLatin1String("100% = above 100 (123)\r120% = above 100 (147)")))
        << report.toStdString();
    EXPECT_TRUE(report.contains(QLatin1String("120% = 50\r")));  // the plain value, deliverable

    // Back within reach: the usual colour, no tooltip.
    w.EditField6->setText(QStringLiteral("10"));
    EXPECT_EQ(w.StaticText15->text(), "50");
    EXPECT_EQ(textColour(w.StaticText15), kDesignBlack);
    EXPECT_TRUE(w.StaticText15->toolTip().isEmpty());
}

TEST_F(QuickReferencePanel, AdjustUnlocksTheDistancesAndContinueLocksThem) {
    Window1& w = open();
    w.PushButton1->click();
    ASSERT_TRUE(w.EditField7->isReadOnly());
    w.BevelButton1->click();
    EXPECT_EQ(w.BevelButton1->text(), "Continue");
    EXPECT_FALSE(w.EditField7->isReadOnly());
    EXPECT_FALSE(w.EditField6->isReadOnly());
    EXPECT_TRUE(w.EditField7->hasFocus());
    EXPECT_EQ(w.EditField7->selectedText(), "0");
    w.BevelButton1->click();
    EXPECT_EQ(w.BevelButton1->text(), "Adjust");
    EXPECT_TRUE(w.EditField7->isReadOnly());
    EXPECT_TRUE(w.EditField1->hasFocus());
}

}  // namespace
}  // namespace limenta::testing
