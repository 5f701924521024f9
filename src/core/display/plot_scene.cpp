#include "core/display/plot_scene.h"

#include <algorithm>

#include "core/display/numbers.h"
#include "core/run/run.h"

namespace limenta {

int pixel(double coordinate) {
    constexpr std::int32_t kLimit = 32000;
    return std::clamp(toWhole(coordinate), -kLimit, kLimit);
}

namespace {

PlotStep line(Rgb colour, int pen, double x1, double y1, double x2, double y2) {
    return {PlotStep::Kind::Line, colour, pen, pixel(x1), pixel(y1), pixel(x2), pixel(y2), {}};
}

PlotStep box(PlotStep::Kind kind, Rgb colour, double left, double top, double width,
             double height) {
    return {kind,
            colour,
            1,
            pixel(left),
            pixel(top),
            pixel(left) + pixel(width),
            pixel(top) + pixel(height),
            {}};
}

PlotStep text(Rgb colour, double x, double y, std::string words) {
    return {PlotStep::Kind::Text, colour, 1, pixel(x), pixel(y), 0, 0, std::move(words)};
}

}  // namespace

std::vector<PlotStep> plotScene(const PlotInput& in) {
    const int n = std::clamp(in.n, 1, kLastTrial);
    const double dx = static_cast<double>(kPlotWidth) / (n + 1);
    const double k = in.scale;
    const auto outputY = [](double output) { return kPlotHeight - 4.0 * output; };
    const auto differenceY = [k](double difference) { return kPlotHeight - k * difference; };

    std::vector<PlotStep> steps;
    steps.push_back(box(PlotStep::Kind::FillRect, kWhite, 0, 0, kPlotWidth, kPlotHeight));

    for (int y = 0; y <= kPlotHeight; y += 40) {
        steps.push_back(line(kGridGrey, 1, 0, y, kPlotWidth, y));
    }
    for (int i = 0; i <= n; ++i) {
        steps.push_back(line(kGridGrey, 1, dx * i + 5, 0, dx * i + 5, kPlotHeight));
    }

    for (int i = 1; i <= n; ++i) {
        steps.push_back(
            box(PlotStep::Kind::FillOval, kBlack, dx * i, outputY(in.settinglog[i]), 6, 6));
        steps.push_back(
            box(PlotStep::Kind::FillRect, kGreen, dx * i, differenceY(in.diflog[i]), 6, 6));
    }

    // Each line joins the centres of two neighbouring marks.
    for (int i = 1; i <= n - 1; ++i) {
        steps.push_back(line(kBlack, 3, dx * i + 3, outputY(in.settinglog[i]) + 3, dx * (i + 1) + 3,
                             outputY(in.settinglog[i + 1]) + 3));
        steps.push_back(line(kGreen, 3, dx * i + 3, differenceY(in.diflog[i]) + 3, dx * (i + 1) + 3,
                             differenceY(in.diflog[i + 1]) + 3));
    }

    const double ys = outputY(in.settinglog[n]);
    steps.push_back(text(kBlue, 10, ys, "rMT Estimate"));
    steps.push_back(text(kBlue, 510, ys, formatMask(roundHalfAway(in.newSetting), "#00")));
    steps.push_back(line(kBlue, 3, 0, ys + 5, kPlotWidth, ys + 5));

    const double criterion = in.criterion;
    steps.push_back(line(kRed, 3, 0, differenceY(criterion), kPlotWidth, differenceY(criterion)));
    // The caption stands four pixels above its line.
    steps.push_back(text(kRed, 10, (kPlotHeight - 4) - k * criterion, "Diff Threshold"));
    return steps;
}

std::vector<PlotStep> plotScene(const Run& run) {
    const Procedure& s = run.state();
    return plotScene({s.settinglog, s.diflog, s.stepnum, s.mysetting, run.method().plotScale(run),
                      run.method().criterion(run)});
}

}  // namespace limenta
