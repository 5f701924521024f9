// The threshold plot's drawing steps.
#include "core/display/plot_scene.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace limenta {
namespace {

std::vector<PlotStep> stepsOf(const std::vector<PlotStep>& steps, PlotStep::Kind kind, Rgb colour) {
    std::vector<PlotStep> found;
    for (const PlotStep& step : steps) {
        if (step.kind == kind && step.colour == colour) {
            found.push_back(step);
        }
    }
    return found;
}

// Answers by the output chosen after each and its difference.
std::vector<TrialRecord> trials(const std::vector<std::pair<double, double>>& nextAndDiff) {
    std::vector<TrialRecord> made;
    for (const auto& [next, diff] : nextAndDiff) {
        TrialRecord t;
        t.trial = static_cast<std::int32_t>(made.size()) + 1;
        t.next = next;
        t.diff = diff;
        made.push_back(t);
    }
    return made;
}

TEST(PlotScene, OneAnswerHasOnePointTwoGridColumnsAndNoConnectingLines) {
    const auto steps = plotScene({trials({{50, 7}}), kPlotHeight / 14.0, 0.45});
    const auto dots = stepsOf(steps, PlotStep::Kind::FillOval, kBlack);
    ASSERT_EQ(dots.size(), 1U);
    EXPECT_EQ(dots[0].x1, 275);
    EXPECT_EQ(dots[0].y1, 187);  // an output of 50 % puts the dot's top edge at 187
    const auto squares = stepsOf(steps, PlotStep::Kind::FillRect, kGreen);
    ASSERT_EQ(squares.size(), 1U);  // a 6 x 6 mark
    EXPECT_EQ(squares[0].x2 - squares[0].x1, 6);
    EXPECT_EQ(squares[0].y2 - squares[0].y1, 6);
    EXPECT_EQ(dots[0].y2 - dots[0].y1, 6);
    const auto background = stepsOf(steps, PlotStep::Kind::FillRect, kWhite);
    ASSERT_EQ(background.size(), 1U);  // the whole picture, first
    EXPECT_EQ((std::array{background[0].x1, background[0].y1, background[0].x2, background[0].y2}),
              (std::array{0, 0, 550, 387}));
    EXPECT_EQ(steps.front().colour, kWhite);
    EXPECT_TRUE(stepsOf(steps, PlotStep::Kind::Line, kBlack).empty());

    const auto grid = stepsOf(steps, PlotStep::Kind::Line, kGridGrey);
    ASSERT_EQ(grid.size(), 12U);  // ten rows, two columns
    EXPECT_EQ((std::array{grid[9].x1, grid[9].y1, grid[9].x2, grid[9].y2}),
              (std::array{0, 360, 550, 360}));  // rows run across the whole picture
    EXPECT_EQ((std::array{grid[10].x1, grid[10].y1, grid[10].x2, grid[10].y2}),
              (std::array{5, 0, 5, 387}));  // columns run top to bottom
    EXPECT_EQ(grid[11].x1, 280);
    EXPECT_EQ(grid[11].x2, 280);
    for (const PlotStep& line : grid) {
        EXPECT_EQ(line.penSize, 1);  // hairlines; the data lines are 3 wide
    }

    const auto blue = stepsOf(steps, PlotStep::Kind::Line, kBlue);
    ASSERT_EQ(blue.size(), 1U);
    EXPECT_EQ(blue[0].y1, 192);
    const auto labels = stepsOf(steps, PlotStep::Kind::Text, kBlue);
    ASSERT_EQ(labels.size(), 2U);
    EXPECT_EQ(labels[0].text, "rMT Estimate");
    EXPECT_EQ(labels[0].y1, 187);
    EXPECT_EQ(labels[1].text, "50");
    EXPECT_EQ(labels[1].x1, 510);
}

TEST(PlotScene, ScalesDifferencesAndDrawsTheCriterionAsGiven) {
    const auto adaptive = plotScene({trials({{50, 7}, {43, 7}}), kPlotHeight / 14.0, 0.45});
    const auto red = stepsOf(adaptive, PlotStep::Kind::Line, kRed);
    ASSERT_EQ(red.size(), 1U);
    EXPECT_EQ(red[0].y1, 374);  // 387 - (387 / 14) x 0.45 = 374.6: adaptive PEST, step 7
    EXPECT_EQ(stepsOf(adaptive, PlotStep::Kind::Text, kRed)[0].y1, 370);
    // Each connecting line joins the centres of its two marks: dx = 550 / 3.
    const auto black = stepsOf(adaptive, PlotStep::Kind::Line, kBlack);
    ASSERT_EQ(black.size(), 1U);
    EXPECT_EQ((std::array{black[0].x1, black[0].y1, black[0].x2, black[0].y2}),
              (std::array{186, 190, 369, 218}));
    const auto green = stepsOf(adaptive, PlotStep::Kind::Line, kGreen);
    ASSERT_EQ(green.size(), 1U);
    EXPECT_EQ((std::array{green[0].x1, green[0].y1, green[0].x2, green[0].y2}),
              (std::array{186, 196, 369, 196}));
    const auto three =
        plotScene({trials({{50, 7}, {43, 7}, {39.5, 3.5}}), kPlotHeight / 14.0, 0.45});
    const auto greens = stepsOf(three, PlotStep::Kind::Line, kGreen);
    ASSERT_EQ(greens.size(), 2U);  // dx = 550 / 4
    EXPECT_EQ((std::array{greens[1].x1, greens[1].y1, greens[1].x2, greens[1].y2}),
              (std::array{278, 196, 415, 293}));
    const auto estimate = stepsOf(adaptive, PlotStep::Kind::Line, kBlue);
    ASSERT_EQ(estimate.size(), 1U);
    for (const PlotStep& data : {black[0], green[0], estimate[0], red[0]}) {
        EXPECT_EQ(data.penSize, 3);
    }
    EXPECT_EQ((std::array{estimate[0].x1, estimate[0].y1, estimate[0].x2, estimate[0].y2}),
              (std::array{0, 220, 550, 220}));
    EXPECT_EQ(stepsOf(adaptive, PlotStep::Kind::Text, kBlue)[1].text, "43");

    const auto ml = plotScene({trials({{50, 7}, {7, 7}}), 8.6, 1});
    EXPECT_EQ(stepsOf(ml, PlotStep::Kind::Line, kRed)[0].y1, 378);  // 387 - 8.6 x 1
    EXPECT_EQ(stepsOf(ml, PlotStep::Kind::Text, kBlue)[1].text, "07");
}

TEST(PlotScene, NoAnswerDrawsNothing) {
    EXPECT_TRUE(plotScene({{}, 8.6, 1}).empty());
}

TEST(PlotScene, KeepsAbsurdValuesToSafePixels) {
    EXPECT_EQ(pixel(1e300), 32000);
    EXPECT_EQ(pixel(-1e300), -32000);
    EXPECT_EQ(pixel(31999.9), 31999);
    const auto steps = plotScene({trials({{1e300, -1e300}}), kPlotHeight / 0.0, 1e300});
    for (const PlotStep& step : steps) {
        for (const int coordinate : {step.x1, step.y1, step.x2, step.y2}) {
            EXPECT_LE(std::abs(coordinate), 32000 + 550);
        }
    }
}

}  // namespace
}  // namespace limenta
