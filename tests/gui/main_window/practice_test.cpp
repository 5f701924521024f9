// Practice with a virtual patient: whole runs of every method judged from the sweeps shown,
// the end's figures against the hidden threshold, keys that come before the pulse, an
// answer taken back, the report's heading, and leaving practice by Reset or Quit.
#include <QAction>
#include <QGridLayout>
#include <QLayoutItem>
#include <QMenu>
#include <QMenuBar>
#include <cmath>

#include "core/console/notices.h"
#include "core/display/practice_summary.h"
#include "core/display/sweep_scene.h"
#include "core/numbers/numbers.h"
#include "core/subject/emg_sweep.h"
#include "gui/app/menu_bar.h"
#include "gui/fakes/main_window_fixture.h"
#include "gui/practice/practice_window.h"
#include "gui/practice/sweep_view.h"
#include "gui/report/output_window.h"

namespace limenta::testing {
namespace {

class Practice : public MainWindowTest {
  protected:
    // File > Practice with a Virtual Patient... as the program wires it.
    void withMenus() {
        Window1& w = *window;
        w.setMenuBar(
            createMenuBar1(&w, {.practice = [&w] { w.startPractice(); },
                                .practiceAvailable = [&w] { return w.practiceAvailable(); }}));
    }
    [[nodiscard]] bool practiceOffered() const {
        auto* file = window->menuBar()->findChild<QMenu*>(QStringLiteral("FileMenu"));
        emit file->aboutToShow();
        return window->menuBar()->findChild<QAction*>(QStringLiteral("FilePractice"))->isEnabled();
    }
    [[nodiscard]] PracticeWindow& patientWindow() const {
        PracticeWindow* shown = window->practiceWindow();
        EXPECT_NE(shown, nullptr);
        return *shown;
    }
    // The peak to peak the window writes beside the latest sweep, in microvolts.
    [[nodiscard]] int shownPeakToPeak() const {
        const QString text = patientWindow().peakToPeak->text();
        EXPECT_TRUE(text.endsWith(QStringLiteral(" \u00b5V"))) << text.toStdString();
        return text.chopped(3).toInt();
    }
    // The end's figure called `name`, as the window shows it.
    [[nodiscard]] QString figure(const QString& name) const {
        QGridLayout* grid = patientWindow().figures;
        for (int row = 0; row < grid->rowCount(); ++row) {
            const auto* label = qobject_cast<QLabel*>(grid->itemAtPosition(row, 0)->widget());
            if (label->text() == name + QLatin1Char(':')) {
                return qobject_cast<QLabel*>(grid->itemAtPosition(row, 1)->widget())->text();
            }
        }
        ADD_FAILURE() << "no figure " << name.toStdString();
        return {};
    }
    [[nodiscard]] int disagreementsShown() const {
        return static_cast<int>(
            patientWindow().findChildren<QLabel*>(QStringLiteral("DisagreementCaption")).size());
    }
};

// A run judged from the window: the caption before and after each pulse fires, its sweep's
// peak to peak, and at the end the figures against the hidden threshold.
TEST_F(Practice, ARunJudgedFromTheWindowEndsWithTheFiguresShown) {
    open();
    window->startPractice();
    ASSERT_TRUE(window->console().practising());
    EXPECT_TRUE(patientWindow().isVisible());
    EXPECT_EQ(patientWindow().caption->text(), "Pulse 1 at 50 %: fires in a moment");
    int pulses = 0;
    while (!run().reached()) {
        ASSERT_LT(pulses, 300) << "the run never ended";
        const QString output = big();
        firePulse();
        ++pulses;
        EXPECT_EQ(patientWindow().caption->text(),
                  QStringLiteral("Pulse %1 at %2 %: MEP or none?").arg(pulses).arg(output));
        const PracticePulse& pulse = window->console().practicePatient()->pulses().back();
        EXPECT_EQ(
            shownPeakToPeak(),
            QString::fromStdString(microvoltsText(pulse.sweep.peakToPeak())).chopped(3).toInt());
        // The Virtual patient window's keys are the main window's.
        QTest::keyClick(patientWindow().windowHandle(), shownPeakToPeak() >= 50 ? 'y' : 'n');
        pastTheWait();
        ASSERT_EQ(run().trials().size(), static_cast<std::size_t>(pulses));
    }
    ASSERT_TRUE(patientWindow().endPage->isVisible());
    const PracticeResult result = window->console().practicePatient()->result(
        run().estimate() ? std::optional(roundHalfAway(*run().estimate())) : std::nullopt);
    for (const auto& [name, value] : practiceFigures(result)) {
        EXPECT_EQ(figure(QString::fromStdString(name)).toStdString(), value) << name;
    }
    EXPECT_EQ(disagreementsShown(), static_cast<int>(result.disagreements.size()));
    EXPECT_EQ(figure(QStringLiteral("Pulses")), QString::number(pulses));
}

// The widest texts the window can be given fit their places: a pulse of three digits at
// 100 %, an MEP of tens of millivolts, and its caption among the end's sweeps. The sweep
// keeps its place and scale whatever the amplitude beside it.
TEST_F(Practice, TheWidestTextsFitTheirPlaces) {
    Window1& w = open();
    w.startPractice();
    Random noise(7);
    const auto pulseOf = [&noise](double microvolts) {
        PracticePulse pulse;
        pulse.output = 100;
        pulse.pulse = {microvolts >= kMepCriterionMicrovolts, microvolts};
        pulse.sweep = emgSweep(pulse.pulse, noise);
        pulse.judged = 0;
        return pulse;
    };
    PracticeWindow& shown = patientWindow();
    shown.showPulse(pulseOf(20), 1);
    QCoreApplication::processEvents();
    const QRect smallBeside = shown.sweep->geometry();
    const PracticePulse pulse = pulseOf(48'000);
    shown.showPulse(pulse, 199);
    QCoreApplication::processEvents();
    EXPECT_EQ(shown.sweep->geometry(), smallBeside) << "the sweep moved with its label";
    const auto fits = [](const QLabel* label) {
        EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
    };
    fits(shown.caption);
    fits(shown.peakToPeak);
    EXPECT_EQ(shown.peakToPeak->text().indexOf(QLatin1Char(' ')), 5);  // five digits
    PracticeResult end;
    end.threshold = 79.96;
    end.pulses = 199;
    end.disagreements = {0};
    shown.showEnd(end, {pulse});
    QCoreApplication::processEvents();
    for (const QLabel* label : shown.endPage->findChildren<QLabel*>()) {
        fits(label);
    }
}

// A practice run cannot pass for a patient's: its report says PRACTICE; the menu offers no
// practice during a patient's run; Reset and Quit leave practice as they leave any run.
TEST_F(Practice, ItCannotPassForAPatientsRunAndLeavesAsAnyRunDoes) {
    Window1& w = open();
    withMenus();
    const QString title = w.windowTitle();
    EXPECT_EQ(title, QLatin1String(kWindow1Title));
    EXPECT_FALSE(ui.label("PracticeBanner")->isVisible());

    ui.button("PushButton1")->click();  // a patient
    EXPECT_FALSE(practiceOffered());
    w.startPractice();
    EXPECT_FALSE(window->console().practising());
    ui.button("PushButton4")->click();
    EXPECT_EQ(window->findChild<Window4*>()->EditField1->text().indexOf(QLatin1String("PRACTICE")),
              -1);
    ui.button("PushButton3")->click();
    EXPECT_TRUE(practiceOffered());

    w.startPractice();
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8(kPracticeTitle));
    EXPECT_TRUE(ui.label("PracticeBanner")->isVisible());
    EXPECT_EQ(ui.text("PracticeBanner"), QString::fromUtf8(kPracticeTitle));
    firePulse();
    answer('y');
    ui.button("PushButton4")->click();
    EXPECT_TRUE(window->findChild<Window4*>()->EditField1->text().contains(
        QStringLiteral("\rLimenta\r") + QString::fromUtf8(kPracticeTitle) + QLatin1Char('\r')));
    EXPECT_TRUE(practiceOffered()) << "a new virtual patient during practice";

    ui.button("PushButton3")->click();  // Reset
    EXPECT_FALSE(window->console().practising());
    EXPECT_EQ(w.windowTitle(), title);
    EXPECT_FALSE(ui.label("PracticeBanner")->isVisible());
    EXPECT_FALSE(patientWindow().isVisible());
    answer('y');
    EXPECT_EQ(QString::fromStdString(window->console().view().notice), notice::kPressStart);

    w.startPractice();
    firePulse();
    answer('n');
    fake.dialogs.askAnswer = false;
    w.close();  // Quit, declined
    ASSERT_EQ(fake.dialogs.questions.size(), 1U);
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(patientWindow().isVisible());
    fake.dialogs.askAnswer = true;
    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(patientWindow().isVisible());
}

}  // namespace
}  // namespace limenta::testing
