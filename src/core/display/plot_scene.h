// The threshold plot as a list of drawing steps: all the data-to-pixel arithmetic, so
// the canvas code only draws what it is given.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/run/run.h"

namespace limenta {

inline constexpr int kPlotWidth = 550;
inline constexpr int kPlotHeight = 387;

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kGridGrey{200, 200, 200};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kGreen{0, 255, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kRed{255, 0, 0};

struct PlotStep {
    enum class Kind { FillRect, FillOval, Line, Text };
    Kind kind = Kind::Line;
    Rgb colour;
    int penSize = 1;  // lines: the pen is penSize square, hanging right of and below the path
    int x1 = 0;       // rectangles and ovals: left, top, right, bottom;
    int y1 = 0;       // lines: from (x1, y1) to (x2, y2);
    int x2 = 0;       // text: its baseline starts at (x1, y1)
    int y2 = 0;
    std::string text;  // "Courier" 16
    friend bool operator==(const PlotStep&, const PlotStep&) = default;
};

struct PlotInput {
    // The answers to draw (1 to 200): the output chosen after each, and its difference.
    const std::vector<TrialRecord>& trials;
    double scale;      // pixels per unit of difference, as the method draws it
    double criterion;  // the method's stop criterion, in units of difference
};

// A computed coordinate as a whole pixel: truncated, and kept within a range the drawing
// code handles safely (anything beyond the picture is clipped anyway).
int pixel(double coordinate);

// Every step of one redraw, in drawing order: background, grid, points, connecting lines,
// the blue estimate and the red stop criterion; none without an answer.
std::vector<PlotStep> plotScene(const PlotInput& input);

// The scene of a run with at least one answer, at its method's scale and criterion.
std::vector<PlotStep> plotScene(const Run& run);

}  // namespace limenta
