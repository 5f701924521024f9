#include "core/display/plot_scene.h"

#include <algorithm>

#include "core/numbers/numbers.h"

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
    if (in.trials.empty()) {
        return {};  // no answer, no plot: the canvas keeps its splash
    }
    const int n = std::min(static_cast<int>(in.trials.size()), kLastTrial);
    // settinglog(i) and diflog(i): the output chosen after answer i, and its difference.
    const auto settinglog = [&in](int i) {
        return in.trials[static_cast<std::size_t>(i - 1)].next;
    };
    const auto diflog = [&in](int i) { return in.trials[static_cast<std::size_t>(i - 1)].diff; };
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
            box(PlotStep::Kind::FillOval, kBlack, dx * i, outputY(settinglog(i)), 6, 6));
        steps.push_back(
            box(PlotStep::Kind::FillRect, kGreen, dx * i, differenceY(diflog(i)), 6, 6));
    }

    // Each line joins the centres of two neighbouring marks.
    for (int i = 1; i <= n - 1; ++i) {
        steps.push_back(line(kBlack, 3, dx * i + 3, outputY(settinglog(i)) + 3, dx * (i + 1) + 3,
                             outputY(settinglog(i + 1)) + 3));
        steps.push_back(line(kGreen, 3, dx * i + 3, differenceY(diflog(i)) + 3, dx * (i + 1) + 3,
                             differenceY(diflog(i + 1)) + 3));
    }

    const double ys = outputY(settinglog(n));
    steps.push_back(text(kBlue, 10, ys, "rMT Estimate"));
    steps.push_back(text(kBlue, 510, ys, formatMask(roundHalfAway(settinglog(n)), "#00")));
    steps.push_back(line(kBlue, 3, 0, ys + 5, kPlotWidth, ys + 5));

    const double criterion = in.criterion;
    steps.push_back(line(kRed, 3, 0, differenceY(criterion), kPlotWidth, differenceY(criterion)));
    // The caption stands four pixels above its line.
    steps.push_back(text(kRed, 10, (kPlotHeight - 4) - k * criterion, "Diff Threshold"));
    return steps;
}

std::vector<PlotStep> plotScene(const Run& run) {
    return plotScene({run.trials(), kPlotHeight / run.method().differenceAtTop(run),
                      run.method().criterion(run)});
}

}  // namespace limenta
