// What the console hands the journal: a run's row at Start, every answer with the row as it
// then stands, answers taken back marked, the end following both ways, and nothing at all
// while runs are not being kept.
#include <gtest/gtest.h>

#include "core/console/console_fixture.h"

namespace limenta::testing {
namespace {

using Journal = ConsoleTest;

TEST_F(Journal, ARunsRowTellsItsMethodAndSettingsAsTheRunStatesThem) {
    open();
    press(Button::Start);
    ASSERT_EQ(journal.size(), 1U);
    const JournalRun& started = journal[0].run;
    EXPECT_EQ(journal[0].kind, JournalWrite::Kind::Start);
    EXPECT_EQ(started.uid, "run-1");
    EXPECT_EQ(started.started, "2026-12-08T09:30:15Z");
    EXPECT_EQ(started.method, "pest");
    EXPECT_EQ(started.settings,
              R"({"diff_threshold":".45","initial_output":"50","method":"pest","step_size":"7"})");
    EXPECT_FALSE(started.practice);
    press(Button::Reset);
    EXPECT_EQ(journal.back().kind, JournalWrite::Kind::Update);

    // ML-PEST: its spread made whole as the run takes it; the difference threshold, which has
    // no field, as the number it is.
    choose("ml");
    edit(Field::Third, "7,5\"");
    press(Button::Start);
    EXPECT_EQ(journal.back().run.uid, "run-2");
    EXPECT_EQ(journal.back().run.settings,
              R"({"diff_threshold":0.45,"lower_bound":"20","method":"ml","spread":"8",)"
              R"("upper_bound":"80"})");
    press(Button::Reset);
    choose("bayes-robust");
    edit(Field::First, ".2 \"x\"");  // a text that needs quoting is quoted
    press(Button::Start);
    EXPECT_EQ(journal.back().run.settings,
              R"({"lapse":0.07,"method":"bayes-robust","width":".2 \"x\""})");
}

// An answer taken back stays in the journal, marked with the time it was taken back; the
// answer given again is a row of its own; the run's end and estimate follow both ways.
TEST_F(Journal, AnAnswerTakenBackIsMarkedAndTheRunsEndFollowsIt) {
    open();
    const auto at = [this](const char* time) { host.wall.iso = time; };
    press(Button::Start);
    at("09:30:15");
    type("yynnyny");  // the end
    const JournalWrite& end = journal.back();
    EXPECT_EQ(end.kind, JournalWrite::Kind::Answer);
    EXPECT_EQ(end.answer.trial, 7);
    EXPECT_EQ(end.answer.seq, 7);
    EXPECT_EQ(end.answer.fired, 42.125);
    EXPECT_EQ(end.answer.next, 41.6875);
    EXPECT_EQ(end.run.estimate, 41.6875);
    EXPECT_EQ(end.run.ended, "09:30:15");
    EXPECT_TRUE(end.run.intervalLow && end.run.intervalHigh);
    EXPECT_EQ(end.run.percents, (std::array{80, 100, 120}));

    at("09:31:15");
    undo();
    EXPECT_EQ(journal.back().kind, JournalWrite::Kind::Withdraw);
    EXPECT_EQ(journal.back().answer.seq, 7);
    EXPECT_EQ(journal.back().answer.withdrawnAt, "09:31:15");
    EXPECT_FALSE(journal.back().run.estimate);
    EXPECT_EQ(journal.back().run.ended, "");
    undo();
    EXPECT_EQ(journal.back().answer.seq, 6);
    at("09:32:15");
    type("ny");  // the end again
    EXPECT_EQ(journal.back().answer.seq, 9);
    EXPECT_EQ(journal.back().answer.trial, 7);
    EXPECT_EQ(journal.back().run.ended, "09:32:15");
    at("09:33:15");
    type("y");  // after it: the estimate moves with the latest end
    EXPECT_EQ(journal.back().run.estimate, 41.25);
    EXPECT_EQ(journal.back().run.ended, "09:33:15");
    undo();
    EXPECT_EQ(journal.back().run.estimate, 41.6875);
    EXPECT_EQ(journal.back().run.ended, "09:32:15");

    // Every answer taken back: no interval stands, none is kept.
    for (int i = 0; i < 7; ++i) {
        undo();
    }
    EXPECT_FALSE(journal.back().run.intervalLow);
    EXPECT_FALSE(journal.back().run.intervalHigh);

    // Print/Save keeps the report shown, with what the panels show.
    console->choosePercent(0, 90);
    edit(Field::M1Distance, "12");
    const std::string shown = report();
    EXPECT_EQ(journal.back().kind, JournalWrite::Kind::Update);
    EXPECT_EQ(journal.back().run.report, shown);
    EXPECT_EQ(journal.back().run.percents[0], 90);
    EXPECT_EQ(journal.back().run.m1Distance, "12");
}

TEST_F(Journal, NothingIsHandedOverWhileRunsAreNotKept) {
    host.keeping = false;
    open();
    press(Button::Start);
    type("yyn");
    undo();
    report();
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(console->quitQuestion(),
              "A run is in progress. Quit anyway? Its answers will be "
              "lost unless you print or save the report.");
    // A journal that stops during a run keeps nothing more of it.
    host.keeping = true;
    press(Button::Reset);
    press(Button::Start);
    EXPECT_EQ(console->quitQuestion(),
              "A run is in progress. Quit anyway? It is kept in Past "
              "Runs.");
    host.keeping = false;
    const std::size_t kept = journal.size();
    type("y");
    console->quit();
    drain();
    EXPECT_EQ(journal.size(), kept);
    press(Button::Reset);
    EXPECT_FALSE(console->quitQuestion());
}

}  // namespace
}  // namespace limenta::testing
