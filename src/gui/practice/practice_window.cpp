#include "gui/practice/practice_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/display/practice_summary.h"
#include "core/display/sweep_scene.h"
#include "gui/practice/sweep_view.h"
#include "gui/widgets/design.h"

namespace limenta {

namespace {

constexpr QSize kWindowSize(620, 430);
constexpr QSize kSmallSweep(270, 120);
constexpr int kSmallSweepsAcross = 2;

QLabel* label(const QString& text, const QFont& font, const char* name = nullptr) {
    auto* shown = new QLabel(text);
    shown->setFont(font);
    if (name != nullptr) {
        shown->setObjectName(QLatin1String(name));
    }
    return shown;
}

// Empties a grid of the widgets an earlier end put there.
void clearGrid(QGridLayout* grid) {
    while (QLayoutItem* item = grid->takeAt(0)) {
        delete item->widget();
        delete item;
    }
}

QString pulseCaption(std::int32_t output, std::size_t number) {
    return QStringLiteral("Pulse %1 at %2 %").arg(number).arg(output);
}

}  // namespace

PracticeWindow::PracticeWindow(QWidget* mainWindow) : QWidget(mainWindow, Qt::Window) {
    setObjectName(QStringLiteral("PracticeWindow"));
    setWindowTitle(QStringLiteral("Virtual patient"));
    setFixedSize(kWindowSize);
    // The answer keys belong to the main window: showing this one takes no keyboard.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, kMainBackground);
    grey.setColor(QPalette::WindowText, kDesignBlack);
    setPalette(grey);
    setAutoFillBackground(true);

    const QFont heading = designFont(Face::Times, 22, true);
    const QFont text = designFont(Face::Times, 14);

    pulsePage_ = new QWidget;
    caption = label(QString(), heading, "PracticeCaption");
    sweep = new SweepView(pulsePage_);
    sweep->setMinimumSize(420, 320);
    peakToPeak = label(QString(), designFont(Face::Times, 40, true), "PeakToPeak");
    peakToPeak->setAlignment(Qt::AlignCenter);
    // As wide as the widest amplitude, so the sweep beside it keeps its place and scale.
    peakToPeak->setFixedWidth(
        peakToPeak->fontMetrics().horizontalAdvance(QStringLiteral("88888 \u00b5V")) + 8);
    auto* measured = new QVBoxLayout;
    measured->addStretch();
    measured->addWidget(label(QStringLiteral("peak to peak"), text), 0, Qt::AlignHCenter);
    measured->addWidget(peakToPeak);
    measured->addWidget(label(QStringLiteral("15 \u2013 50 ms"), text), 0, Qt::AlignHCenter);
    measured->addSpacing(24);
    measured->addWidget(label(QStringLiteral("MEP: 50 \u00b5V or more"), text), 0,
                        Qt::AlignHCenter);
    measured->addStretch();
    auto* beside = new QHBoxLayout;
    beside->addWidget(sweep, 1);
    beside->addLayout(measured);
    auto* pulseLayout = new QVBoxLayout(pulsePage_);
    pulseLayout->addWidget(caption);
    pulseLayout->addLayout(beside, 1);
    pulseLayout->addWidget(label(QStringLiteral("Dashed lines: \u00b125 \u00b5V, the 50 \u00b5V "
                                                "criterion. Lighter band: where it is measured."),
                                 designFont(Face::Times, 12)));

    endPage = new QWidget;
    endPage->setObjectName(QStringLiteral("PracticeEnd"));
    figures = new QGridLayout;
    figures->setColumnStretch(1, 1);
    disagreements = new QGridLayout;
    auto* sweeps = new QWidget;
    sweeps->setLayout(disagreements);
    auto* scroller = new QScrollArea;
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setWidget(sweeps);
    agreement = label(QString(), text, "PracticeAgreement");
    auto* endLayout = new QVBoxLayout(endPage);
    endLayout->addWidget(label(QStringLiteral("Practice run ended"), heading));
    endLayout->addLayout(figures);
    endLayout->addWidget(agreement);
    endLayout->addWidget(scroller, 1);

    pages_ = new QStackedWidget;
    pages_->addWidget(pulsePage_);
    pages_->addWidget(endPage);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);

    if (mainWindow != nullptr && mainWindow->screen() != nullptr) {
        move(placeBeside(mainWindow->frameGeometry(), frameGeometry().size(),
                         mainWindow->screen()->availableGeometry()));
    }
}

void PracticeWindow::showWaiting(std::int32_t output, std::size_t number) {
    pages_->setCurrentWidget(pulsePage_);
    caption->setText(pulseCaption(output, number) + QStringLiteral(": fires in a moment"));
    sweep->clear();
    peakToPeak->clear();
}

void PracticeWindow::showPulse(const PracticePulse& pulse, std::size_t number) {
    pages_->setCurrentWidget(pulsePage_);
    caption->setText(pulseCaption(pulse.output, number) + QStringLiteral(": MEP or none?"));
    sweep->setSweep(pulse.sweep);
    peakToPeak->setText(QString::fromStdString(microvoltsText(pulse.sweep.peakToPeak())));
}

void PracticeWindow::showEnd(const PracticeResult& result,
                             const std::vector<PracticePulse>& pulses) {
    clearGrid(figures);
    int row = 0;
    for (const auto& [name, value] : practiceFigures(result)) {
        figures->addWidget(label(QString::fromStdString(name) + QLatin1Char(':'),
                                 designFont(Face::Times, 16), "FigureLabel"),
                           row, 0);
        figures->addWidget(
            label(QString::fromStdString(value), designFont(Face::Times, 16, true), "FigureValue"),
            row++, 1);
    }
    clearGrid(disagreements);
    agreement->setText(result.disagreements.empty()
                           ? QStringLiteral("Every judgement agreed with the sweep.")
                           : QStringLiteral("The judgements the sweeps did not bear out:"));
    int shown = 0;
    for (const std::size_t i : result.disagreements) {
        auto* one = new QWidget;
        auto* oneLayout = new QVBoxLayout(one);
        oneLayout->setContentsMargins(0, 0, 0, 0);
        oneLayout->addWidget(label(QString::fromStdString(disagreementCaption(pulses[i], i + 1)),
                                   designFont(Face::Times, 12), "DisagreementCaption"));
        auto* small = new SweepView(one, true);
        small->setFixedSize(kSmallSweep);
        small->setSweep(pulses[i].sweep);
        oneLayout->addWidget(small);
        disagreements->addWidget(one, shown / kSmallSweepsAcross, shown % kSmallSweepsAcross);
        ++shown;
    }
    pages_->setCurrentWidget(endPage);
}

QPoint placeBeside(const QRect& main, QSize size, const QRect& room) {
    // Kept on the screen; on one too small for both, over the main window's right side.
    const int x =
        std::max(room.left(), std::min(main.right() + 8, room.right() + 1 - size.width()));
    const int y = std::max(
        room.top(), std::min(main.bottom() + 1 - size.height(), room.bottom() + 1 - size.height()));
    return {x, y};
}

}  // namespace limenta
