#include "cli/error_plot.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace limenta::cli {

namespace {

constexpr double kWidth = 760;
constexpr double kHeight = 480;
constexpr double kLeft = 70;
constexpr double kRight = 170;  // room for the legend
constexpr double kTop = 40;
constexpr double kBottom = 50;

std::string number(double value) {
    std::array<char, 32> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%.1f", value);
    return buffer.data();
}

}  // namespace

std::string errorPlotSvg(const std::vector<PlotSeries>& series, const std::string& title) {
    int maxPulses = 10;
    double maxError = 10;
    for (const PlotSeries& s : series) {
        for (const SubjectOutcome& o : *s.outcomes) {
            maxPulses = std::max(maxPulses, o.pulses);
            maxError = std::max(maxError, std::fabs(100.0 * (o.estimate - o.truth) / o.truth));
        }
    }
    maxError = std::min(std::ceil(maxError / 5.0) * 5.0, 100.0);
    const double plotWidth = kWidth - kLeft - kRight;
    const double plotHeight = kHeight - kTop - kBottom;
    const auto x = [&](double pulses) { return kLeft + plotWidth * pulses / (maxPulses + 1); };
    const auto y = [&](double error) {
        const double clipped = std::clamp(error, -maxError, maxError);
        return kTop + plotHeight * (0.5 - clipped / (2 * maxError));
    };

    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + number(kWidth) +
                      "\" height=\"" + number(kHeight) +
                      "\" font-family=\"sans-serif\" font-size=\"12\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    svg += "<text x=\"" + number(kLeft) + "\" y=\"24\" font-size=\"15\">" + title + "</text>\n";
    // The +-5 % and +-10 % bands, and the axes.
    for (const double band : {10.0, 5.0}) {
        if (band <= maxError) {
            svg += "<rect x=\"" + number(kLeft) + "\" y=\"" + number(y(band)) + "\" width=\"" +
                   number(plotWidth) + "\" height=\"" + number(y(-band) - y(band)) +
                   "\" fill=\"#2c7fb8\" fill-opacity=\"0.07\"/>\n";
        }
    }
    svg += "<line x1=\"" + number(kLeft) + "\" y1=\"" + number(y(0)) + "\" x2=\"" +
           number(kLeft + plotWidth) + "\" y2=\"" + number(y(0)) + "\" stroke=\"#888\"/>\n";
    svg += "<rect x=\"" + number(kLeft) + "\" y=\"" + number(kTop) + "\" width=\"" +
           number(plotWidth) + "\" height=\"" + number(plotHeight) +
           "\" fill=\"none\" stroke=\"#444\"/>\n";
    const int pulseTick = maxPulses <= 25 ? 5 : (maxPulses <= 100 ? 10 : 25);
    for (int p = 0; p <= maxPulses; p += pulseTick) {
        svg += "<text x=\"" + number(x(p)) + "\" y=\"" + number(kTop + plotHeight + 18) +
               "\" text-anchor=\"middle\">" + std::to_string(p) + "</text>\n";
    }
    const double errorTick = maxError <= 20 ? 5 : (maxError <= 50 ? 10 : 25);
    const int firstTick = -static_cast<int>(std::floor(maxError / errorTick));
    for (int tick = firstTick; tick * errorTick <= maxError + 1e-9; ++tick) {
        const double e = tick * errorTick;
        svg += "<text x=\"" + number(kLeft - 8) + "\" y=\"" + number(y(e) + 4) +
               "\" text-anchor=\"end\">" + std::to_string(static_cast<int>(e)) + "</text>\n";
    }
    svg += "<text x=\"" + number(kLeft + plotWidth / 2) + "\" y=\"" + number(kHeight - 10) +
           "\" text-anchor=\"middle\">pulses to the estimate</text>\n";
    svg += "<text transform=\"translate(18 " + number(kTop + plotHeight / 2) +
           ") rotate(-90)\" text-anchor=\"middle\">error, % of the threshold</text>\n";

    double legendY = kTop + 10;
    for (const PlotSeries& s : series) {
        double sumPulses = 0;
        double sumError = 0;
        double sumSigned = 0;
        std::size_t index = 0;
        for (const SubjectOutcome& o : *s.outcomes) {
            // A small fixed jitter spreads the subjects that share a pulse count.
            const double jitter = (static_cast<double>(index++ % 7) - 3.0) * 0.06;
            const double error = 100.0 * (o.estimate - o.truth) / o.truth;
            svg += "<circle cx=\"" + number(x(o.pulses + jitter)) + "\" cy=\"" + number(y(error)) +
                   "\" r=\"1.6\" fill=\"" + s.colour + "\" fill-opacity=\"0.25\"/>\n";
            sumPulses += o.pulses;
            sumError += std::fabs(error);
            sumSigned += error;
        }
        const double n = s.outcomes->empty() ? 1.0 : static_cast<double>(s.outcomes->size());
        const double cx = x(sumPulses / n);
        const double cy = y(sumSigned / n);
        svg += "<path d=\"M" + number(cx - 7) + " " + number(cy) + "h14M" + number(cx) + " " +
               number(cy - 7) + "v14\" stroke=\"" + s.colour + "\" stroke-width=\"3\"/>\n";
        svg += "<circle cx=\"" + number(kWidth - kRight + 20) + "\" cy=\"" + number(legendY) +
               "\" r=\"5\" fill=\"" + s.colour + "\"/>\n";
        svg += "<text x=\"" + number(kWidth - kRight + 32) + "\" y=\"" + number(legendY + 4) +
               "\">" + s.label + "</text>\n";
        svg += "<text x=\"" + number(kWidth - kRight + 32) + "\" y=\"" + number(legendY + 20) +
               "\" fill=\"#555\">mean " + number(sumPulses / n) + " pulses</text>\n";
        svg += "<text x=\"" + number(kWidth - kRight + 32) + "\" y=\"" + number(legendY + 36) +
               "\" fill=\"#555\">mean |error| " + number(sumError / n) + " %</text>\n";
        legendY += 64;
    }
    svg += "</svg>\n";
    return svg;
}

}  // namespace limenta::cli
