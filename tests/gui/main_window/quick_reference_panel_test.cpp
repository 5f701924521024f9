// The quick-reference panel painted: the bracket and the column in black once a distance is
// typed, a value no stimulator delivers in red with its number on hover, and the percentage
// the operator picks.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "gui/fakes/main_window_fixture.h"
#include "gui/widgets/design.h"

namespace limenta::testing {
namespace {

using QuickReferencePanel = MainWindowTest;

TEST_F(QuickReferencePanel, DistancesTypedRecolourTheColumnsAndTheBracket) {
    open();
    EXPECT_EQ(ui.text("StaticText7"), "###");  // the design's, until the first value
    EXPECT_EQ(textColour(ui.label("StaticText13")), kDesignGrey);
    click("PushButton1");
    type("yynnyny");  // the estimate 41.6875
    EXPECT_EQ(ui.text("StaticText7"), "33");
    EXPECT_EQ(textColour(ui.label("StaticText7")), kDesignBlack);
    for (const char* line : {"Line1", "Line2", "Line3", "Line4", "Line5"}) {
        EXPECT_EQ(ui.line(line)->colour(), kDesignGrey) << line;
    }
    click("BevelButton1");  // Adjust
    QTest::keyClicks(ui.field("EditField7"), QStringLiteral("10"));
    ui.field("EditField6")->setFocus();
    ui.field("EditField6")->selectAll();
    QTest::keyClicks(ui.field("EditField6"), QStringLiteral("40"));  // 2.946 times the output
    for (const char* line : {"Line1", "Line2", "Line3", "Line4", "Line5"}) {
        EXPECT_EQ(ui.line(line)->colour(), kDesignBlack) << line;
    }
    EXPECT_EQ(textColour(ui.label("StaticText7")), kDesignGrey);
    EXPECT_EQ(ui.text("StaticText13"), "98");
    EXPECT_EQ(textColour(ui.label("StaticText13")), kDesignBlack);
    EXPECT_TRUE(ui.label("StaticText13")->toolTip().isEmpty());
    for (const auto& [name, value] : {std::pair{"StaticText14", "123"}, {"StaticText15", "147"}}) {
        EXPECT_EQ(ui.text(name), "100+");
        EXPECT_EQ(textColour(ui.label(name)), kDesignRed);
        EXPECT_TRUE(ui.label(name)->toolTip().startsWith(QLatin1String(value))) << value;
    }
    QComboBox* third = ui.menu("PopupMenu3");
    EXPECT_EQ(third->count(), 201);
    EXPECT_EQ(third->currentText(), "120%");
    third->setCurrentIndex(100);
    emit third->activated(100);
    EXPECT_EQ(ui.text("StaticText15"), "100+");
    EXPECT_EQ(ui.text("StaticText9"), "42");
    EXPECT_TRUE(report().contains(QLatin1String("100% = above 100 (123)\r100% = above 100 (123)")));
}

}  // namespace
}  // namespace limenta::testing
