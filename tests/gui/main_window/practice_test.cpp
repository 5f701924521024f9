// Practice with a virtual patient: whole runs of every method judged from the sweeps shown,
// the end's figures against the hidden threshold, keys that come before the pulse, an
// answer taken back, the report's heading, and leaving practice by Reset or Quit.
#include <QAction>
#include <QGridLayout>
#include <QLayoutItem>
#include <QMenu>
#include <QMenuBar>
#include <cmath>

#include "core/numbers/numbers.h"
#include "core/subject/emg_sweep.h"
#include "gui/app/menu_bar.h"
#include "gui/fakes/main_window_fixture.h"
#include "gui/practice/practice_window.h"
#include "gui/practice/sweep_view.h"
#include "gui/report/output_window.h"
#include "core/console/notices.h"

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

QString signedTenths(double value) {
    return (value < 0 ? QStringLiteral("-") : QStringLiteral("+")) +
           QString::number(std::fabs(value), 'f', 1);
}

// Each method to its end, judged as the sweeps show and with every third judgement turned
// round: the end tells the hidden threshold, the error of the estimate the main window
// shows, and exactly the judgements the patient's muscle did not bear out.
TEST_F(Practice, EveryMethodRunsToItsEndAndTheEndTellsTheTruth) {
    Window1& w = open();
    for (const std::string& key : offered()) {
        for (const bool slips : {false, true}) {
            SCOPED_TRACE(key + (slips ? ", with slips" : ", as the sweeps show"));
            choose(key.c_str());
            fake.clocks.now = fake.clocks.now.addSecs(3600);  // another patient
            w.startPractice();
            ASSERT_TRUE(w.practising());
            EXPECT_EQ(w.windowTitle(), QString::fromUtf8(kPracticeTitle));
            EXPECT_TRUE(w.PracticeBanner->isVisible());
            EXPECT_EQ(w.PracticeBanner->text(), QString::fromUtf8(kPracticeTitle));
            EXPECT_TRUE(patientWindow().isVisible());

            std::vector<bool> judgedMep;
            int disagreements = 0;
            while (!w.run()->reached()) {
                ASSERT_LT(judgedMep.size(), 300U) << "the run never ended";
                const std::size_t number = judgedMep.size() + 1;
                const QString output = big();
                firePulse();
                ASSERT_TRUE(w.practicePatient()->awaitingJudgement());
                const PracticePulse& pulse = w.practicePatient()->pulses().back();
                EXPECT_EQ(patientWindow().caption->text().toStdString(),
                          QStringLiteral("Pulse %1 at %2 %: MEP or none?")
                              .arg(number)
                              .arg(output)
                              .toStdString());
                bool mep = shownPeakToPeak() >= 50;
                if (slips && number % 3 == 0) {
                    mep = !mep;
                }
                judgedMep.push_back(mep);
                disagreements += mep != pulse.pulse.mep ? 1 : 0;
                answer(mep ? 'y' : 'n');
            }
            ASSERT_TRUE(patientWindow().endPage->isVisible());
            const double threshold = w.practicePatient()->threshold();
            EXPECT_GE(threshold, 30);
            EXPECT_LE(threshold, 80);
            EXPECT_EQ(figure(QStringLiteral("True threshold")),
                      QString::number(threshold, 'f', 1) + QStringLiteral(" %"));
            const std::optional<double> estimate = w.run()->estimate();
            if (estimate) {
                const double shown = roundHalfAway(*estimate);
                EXPECT_EQ(figure(QStringLiteral("Your estimate")),
                          QString::number(shown) + QStringLiteral(" %"));
                EXPECT_EQ(figure(QStringLiteral("Error")),
                          signedTenths(shown - threshold) + QStringLiteral(" % MSO"));
                EXPECT_EQ(figure(QStringLiteral("Error relative to the threshold")),
                          signedTenths(100 * (shown - threshold) / threshold) +
                              QStringLiteral(" % of T"));
                if (!slips) {
                    EXPECT_LT(std::fabs(shown - threshold), 10) << "a run judged as shown";
                }
            } else {
                EXPECT_TRUE(slips) << "a run judged as shown ended above 100";
                EXPECT_EQ(figure(QStringLiteral("Your estimate")), "above 100");
                EXPECT_EQ(figure(QStringLiteral("Error")), "--");
            }
            const int pulses = static_cast<int>(judgedMep.size());
            EXPECT_EQ(figure(QStringLiteral("Pulses")), QString::number(pulses));
            EXPECT_EQ(figure(QStringLiteral("Judgements the sweeps did not bear out")),
                      QStringLiteral("%1 of %2").arg(disagreements).arg(pulses));
            EXPECT_EQ(disagreementsShown(), disagreements);
            if (slips) {
                EXPECT_GE(disagreements, pulses / 3 - 2) << "slips the end did not tell";
            }
            // Once ended, no key answers a pulse.
            answer('y');
            EXPECT_EQ(w.notice(), notice::kPracticeEnded);
            EXPECT_EQ(static_cast<int>(w.run()->trials().size()), pulses);
        }
    }
}

// No answer key can collide with a pulse: a key before the pulse has fired is dropped with a
// reminder, the pulse waits for the output to be spoken and a second more, and only one
// judgement is taken for each pulse.
TEST_F(Practice, AKeyBeforeThePulseIsDroppedAndThePulseWaitsForTheVoice) {
    Window1& w = open(prefsWith({{kPrefsVoiceVolume, "85"}}));
    w.startPractice();
    EXPECT_EQ(patientWindow().caption->text(), "Pulse 1 at 50 %: fires in a moment");
    answer('y');
    EXPECT_EQ(w.notice(), notice::kPulseNotFired);
    EXPECT_TRUE(w.run()->trials().empty());
    EXPECT_TRUE(w.practicePatient()->pulses().empty());

    w.Timer5_Action();
    fake.clocks.tick += kPulseAfterTicks - 1;
    w.Timer5_Action();
    EXPECT_TRUE(w.practicePatient()->pulses().empty()) << "fired before its second";
    fake.clocks.tick += 1;
    w.Timer5_Action();
    ASSERT_EQ(w.practicePatient()->pulses().size(), 1U);
    EXPECT_EQ(w.practicePatient()->pulses()[0].output, 50);

    answer('y');
    answer('y');  // a second answer to the same pulse
    EXPECT_EQ(w.run()->trials().size(), 1U);
    EXPECT_EQ(w.notice(), notice::kPulseNotFired);

    // The next output being spoken holds the pulse back, however long it takes.
    pastTheWait();
    fake.sounds.fake("s4").playing = true;
    fake.clocks.tick += 10 * kPulseAfterTicks;
    w.Timer5_Action();
    w.Timer1_Action();
    w.Timer5_Action();
    EXPECT_EQ(w.practicePatient()->pulses().size(), 1U) << "fired while the voice spoke";
    fake.sounds.fake("s4").playing = false;
    firePulse();
    EXPECT_EQ(w.practicePatient()->pulses().size(), 2U);
    EXPECT_EQ(patientWindow().caption->text(), QStringLiteral("Pulse 2 at %1 %: MEP or none?")
                                                   .arg(w.practicePatient()->pulses()[1].output));
}

// An answer taken back, before or after the next pulse, leaves the same sweep to be judged
// again, as the run shows its output again.
TEST_F(Practice, AnAnswerTakenBackLeavesItsSweepToBeJudgedAgain) {
    Window1& w = open();
    w.startPractice();
    firePulse();
    const QString firstPeak = patientWindow().peakToPeak->text();
    answer('y');
    firePulse();
    ASSERT_EQ(w.practicePatient()->pulses().size(), 2U);
    w.undoLastAnswer();
    ASSERT_EQ(w.practicePatient()->pulses().size(), 1U);
    EXPECT_TRUE(w.practicePatient()->awaitingJudgement());
    EXPECT_EQ(patientWindow().caption->text(), "Pulse 1 at 50 %: MEP or none?");
    EXPECT_EQ(patientWindow().peakToPeak->text(), firstPeak);

    answer('n');
    ASSERT_EQ(w.run()->trials().size(), 1U);
    EXPECT_EQ(w.practicePatient()->pulses()[0].judged, 0);
    w.undoLastAnswer();  // before the next pulse
    EXPECT_TRUE(w.practicePatient()->awaitingJudgement());
    EXPECT_EQ(patientWindow().peakToPeak->text(), firstPeak);
    answer('y');
    firePulse();
    EXPECT_EQ(w.practicePatient()->pulses().size(), 2U);
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
    EXPECT_FALSE(w.PracticeBanner->isVisible());

    w.PushButton1->click();  // a patient
    EXPECT_FALSE(practiceOffered());
    w.startPractice();
    EXPECT_FALSE(w.practising());
    w.PushButton4->click();
    EXPECT_EQ(w.outputWindow()->EditField1->text().indexOf(QLatin1String("PRACTICE")), -1);
    w.PushButton3->click();
    EXPECT_TRUE(practiceOffered());

    w.startPractice();
    firePulse();
    answer('y');
    w.PushButton4->click();
    EXPECT_TRUE(w.outputWindow()->EditField1->text().contains(
        QStringLiteral("\rLimenta\r") + QString::fromUtf8(kPracticeTitle) + QLatin1Char('\r')));
    EXPECT_TRUE(practiceOffered()) << "a new virtual patient during practice";

    w.PushButton3->click();  // Reset
    EXPECT_FALSE(w.practising());
    EXPECT_EQ(w.windowTitle(), title);
    EXPECT_FALSE(w.PracticeBanner->isVisible());
    EXPECT_FALSE(patientWindow().isVisible());
    answer('y');
    EXPECT_EQ(w.notice(), notice::kPressStart);

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
