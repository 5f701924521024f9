// The quick reference and its depth correction: which column is black, values no stimulator
// delivers, the report's lines, and Adjust and Continue.
#include "core/console/guide_panel.h"

#include <gtest/gtest.h>

#include "core/console/console_fixture.h"

namespace limenta::testing {
namespace {

std::vector<std::string> texts(const std::array<GuideValue, 3>& values) {
    return {values[0].text, values[1].text, values[2].text};
}

TEST(GuidePanel, DistancesSwitchWhichColumnIsBlack) {
    GuidePanel panel;
    ConsoleView view;
    panel.show(view, 52, false);
    EXPECT_EQ(texts(view.plain), (std::vector<std::string>{"###", "###", "###"}));  // the design
    EXPECT_EQ(view.percents, (std::array{80, 100, 120}));

    panel.follow();
    panel.show(view, 52, false);
    EXPECT_EQ(texts(view.plain), (std::vector<std::string>{"42", "52", "62"}));
    EXPECT_EQ(view.corrected[1].text, "52");  // both distances 0: factor 1
    EXPECT_EQ(view.plain[0].ink, Ink::Black);
    EXPECT_EQ(view.corrected[0].ink, Ink::Grey);
    EXPECT_EQ(view.bracket, Ink::Grey);

    panel.editDistance(GuidePanel::Distance::M1, "15");
    panel.editDistance(GuidePanel::Distance::Target, "20");
    panel.show(view, 52, false);
    EXPECT_EQ(texts(view.corrected), (std::vector<std::string>{"50", "62", "75"}));
    EXPECT_EQ(view.plain[0].text, "42");
    EXPECT_EQ(view.corrected[0].ink, Ink::Black);
    EXPECT_EQ(view.plain[0].ink, Ink::Grey);
    EXPECT_EQ(view.bracket, Ink::Black);
    EXPECT_EQ(view.distances, (std::array<std::string, 2>{"15", "20"}));

    // A target shallower than M1.
    panel.editDistance(GuidePanel::Distance::Target, "10");
    panel.show(view, 52, false);
    EXPECT_EQ(view.corrected[1].text, "43");

    // Equal distances: entered, so the corrected column leads, with a factor of 1.
    panel.editDistance(GuidePanel::Distance::M1, "12");
    panel.editDistance(GuidePanel::Distance::Target, "12");
    panel.show(view, 52, false);
    EXPECT_EQ(view.corrected[0].ink, Ink::Black);
    EXPECT_EQ(view.plain[0].ink, Ink::Grey);
    EXPECT_EQ(texts(view.corrected), texts(view.plain));

    panel.editDistance(GuidePanel::Distance::M1, "0");
    panel.editDistance(GuidePanel::Distance::Target, "0");
    panel.choosePercent(1, 0);
    panel.choosePercent(2, 200);
    panel.show(view, 52, false);
    EXPECT_EQ(view.corrected[0].ink, Ink::Grey);
    EXPECT_EQ(view.plain[0].ink, Ink::Black);
    EXPECT_EQ(view.bracket, Ink::Grey);
    EXPECT_EQ(texts(view.plain), (std::vector<std::string>{"42", "0", "100+"}));  // 104
    EXPECT_EQ(view.percents, (std::array{80, 0, 200}));

    // Blank while the run goes on; "--" for a threshold above what the stimulator gives.
    panel.blank();
    panel.show(view, 52, false);
    EXPECT_EQ(texts(view.plain), (std::vector<std::string>{"", "", ""}));
    panel.follow();
    panel.show(view, 0, true);
    EXPECT_EQ(texts(view.corrected), (std::vector<std::string>{"--", "--", "--"}));
    panel.show(view, 0, false);
    EXPECT_EQ(texts(view.plain), (std::vector<std::string>{"", "", ""}));  // no estimate yet
}

TEST(GuidePanel, AdjustUnlocksTheDistancesAndContinueLocksThem) {
    GuidePanel panel;
    ConsoleView view;
    panel.lockForRun();
    panel.show(view, 0, false);
    EXPECT_TRUE(view.distancesReadOnly);
    EXPECT_EQ(view.adjustCaption, "Adjust");
    EXPECT_EQ(panel.pressAdjust(), FocusTarget::M1Distance);
    panel.show(view, 0, false);
    EXPECT_EQ(view.adjustCaption, "Continue");
    EXPECT_FALSE(view.distancesReadOnly);
    EXPECT_EQ(panel.pressAdjust(), FocusTarget::FirstField);
    panel.show(view, 0, false);
    EXPECT_EQ(view.adjustCaption, "Adjust");
    EXPECT_TRUE(view.distancesReadOnly);
    // Reset unlocks them and leaves the caption as it is.
    panel.pressAdjust();
    panel.lockForRun();
    panel.pressAdjust();
    panel.unlock();
    panel.show(view, 0, false);
    EXPECT_FALSE(view.distancesReadOnly);
    EXPECT_EQ(view.adjustCaption, "Continue");
}

using QuickReferencePanel = ConsoleTest;

TEST_F(QuickReferencePanel, ValuesNoStimulatorCanDeliverShowAs100PlusInRedAndInTheReport) {
    open();
    // Before an estimate, Adjust and distances show no value at all.
    press(Button::Adjust);
    EXPECT_EQ(focus.back(), FocusTarget::M1Distance);
    edit(Field::M1Distance, "15");
    press(Button::Adjust);
    EXPECT_EQ(focus.back(), FocusTarget::FirstField);
    EXPECT_EQ(texts(view().plain), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(texts(view().corrected), (std::vector<std::string>{"", "", ""}));

    press(Button::Start);
    type("yynnyny");  // the estimate 41.6875
    ASSERT_EQ(run().state().myrmt, 41.6875);
    edit(Field::M1Distance, "10");
    edit(Field::TargetDistance, "40");  // 2.946 times the output
    EXPECT_EQ(view().corrected[0].text, "98");
    EXPECT_EQ(view().corrected[0].ink, Ink::Black);
    EXPECT_EQ(view().corrected[0].tooltip, "");
    for (const auto& [j, value] : {std::pair{1, "123"}, {2, "147"}}) {
        const GuideValue& shown = view().corrected[static_cast<std::size_t>(j)];
        EXPECT_EQ(shown.text, "100+");
        EXPECT_EQ(shown.ink, Ink::Red);
        EXPECT_EQ(shown.tooltip,
                  std::string(value) + " % of the stimulator's output: more than it can deliver");
    }
    const std::string shownReport = report();
    EXPECT_NE(shownReport.find("100% = above 100 (123)\r120% = above 100 (147)"),
              std::string::npos);
    EXPECT_NE(shownReport.find("120% = 50\r"), std::string::npos);  // the plain, deliverable

    // Back within reach: the usual colour, no tooltip.
    edit(Field::TargetDistance, "10");
    EXPECT_EQ(view().corrected[2].text, "50");
    EXPECT_EQ(view().corrected[2].ink, Ink::Black);
    EXPECT_EQ(view().corrected[2].tooltip, "");
}

}  // namespace
}  // namespace limenta::testing
