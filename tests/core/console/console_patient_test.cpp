// Whose run it is: the code typed before Start, a new patient made and a known one found
// whatever the case typed, their last setup as the default, what Start refuses, and the
// journal and the report naming the patient.
#include <gtest/gtest.h>

#include "core/console/console_fixture.h"
#include "core/console/notices.h"

namespace limenta::testing {
namespace {

using Patients = ConsoleTest;

const limenta::Setup kUsual{Hemisphere::Left, "APB", "D70", "MagPro", Judged::Emg};

TEST_F(Patients, ANewCodeMakesANewPatientAndTheirRunIsKeptWithItsSetup) {
    open();
    edit(Field::Patient, "  P-4711 ");
    console->setUp(kUsual);
    drain();
    EXPECT_EQ(view().setup, "left hemisphere, APB, D70, MagPro, EMG");
    press(Button::Start);
    EXPECT_EQ(view().notice, "New patient P-4711");
    EXPECT_EQ(view().title, std::string(kWindow1Title) + "\u2013 P-4711");
    ASSERT_FALSE(journal.empty());
    EXPECT_EQ(journal.front().kind, JournalWrite::Kind::Start);
    EXPECT_EQ(journal.front().run.patient, "P-4711");
    EXPECT_EQ(journal.front().run.setup, kUsual);
    // Locked with the start values while the run goes on: neither code nor setup changes it.
    EXPECT_TRUE(view().startValuesLocked);
    console->setUp({});
    drain();
    EXPECT_EQ(console->setup(), kUsual);
    type("yynnyny");
    const std::string shown = report();
    EXPECT_NE(shown.find("09:30:15 UTC\rPatient: P-4711\rSetup: left hemisphere, APB, D70, "
                         "MagPro, EMG\rTotal Assessment Time = "),
              std::string::npos)
        << shown;
    for (const JournalWrite& write : journal) {
        EXPECT_EQ(write.run.patient, "P-4711");
    }
    // Reset leaves the code for the patient's next run, and the title no one's.
    press(Button::Reset);
    EXPECT_EQ(view().patient, "  P-4711 ");
    EXPECT_EQ(view().title, kWindow1Title);
    EXPECT_FALSE(view().startValuesLocked);
}

TEST_F(Patients, AKnownCodeInAnyCaseIsThatPatientWithTheirLastSetup) {
    host.patients = {{"P-4711", kUsual}};
    open();
    edit(Field::Patient, "p-4711");
    EXPECT_EQ(console->setup(), kUsual);
    EXPECT_EQ(view().setup, "left hemisphere, APB, D70, MagPro, EMG");
    console->setUp({Hemisphere::Right, "FDI", "", "", Judged::Twitch});
    drain();
    press(Button::Start);
    EXPECT_NE(view().notice, "New patient p-4711");
    ASSERT_FALSE(journal.empty());
    EXPECT_EQ(journal.front().run.patient, "P-4711");  // kept as first typed
    EXPECT_EQ(journal.front().run.setup.hemisphere, Hemisphere::Right);
    EXPECT_NE(report().find("\rPatient: P-4711\rSetup: right hemisphere, FDI, visible twitch\r"),
              std::string::npos);
}

TEST_F(Patients, WithoutAJournalARunIsStillThePatientsButNoNewPatientIsAnnounced) {
    host.keeping = false;
    open();
    edit(Field::Patient, "P-4711");
    press(Button::Start);
    EXPECT_TRUE(console->runInProgress());
    EXPECT_NE(view().notice, "New patient P-4711");
    EXPECT_EQ(console->runPatient(), "P-4711");
    EXPECT_NE(report().find("\rPatient: P-4711\r"), std::string::npos);
}

TEST_F(Patients, StartRefusesACodeThatIsNoneNamingTheField) {
    open();
    for (const std::string& bad : std::vector<std::string>{"   ", "P\t1", std::string(33, 'x')}) {
        messages.clear();
        edit(Field::Patient, bad);
        press(Button::Start);
        EXPECT_FALSE(console->runInProgress()) << bad;
        ASSERT_EQ(messages.size(), 1U) << bad;
        EXPECT_EQ(messages[0].rfind("Cannot start: the Patient field ", 0), 0U) << messages[0];
        EXPECT_TRUE(journal.empty());
    }
    // A setup with a part that cannot be kept is never taken.
    console->setUp({Hemisphere::Left, "APB", "D70\nx", "", Judged::Emg});
    drain();
    EXPECT_EQ(console->setup(), limenta::Setup{});
}

TEST_F(Patients, ARunWithoutACodeOrInPracticeBelongsToNoOne) {
    open();
    press(Button::Start);
    type("yynnyny");
    const std::string noOnes = report();
    EXPECT_EQ(noOnes.find("Patient:"), std::string::npos);
    EXPECT_EQ(noOnes.find("Setup:"), std::string::npos);
    EXPECT_NE(noOnes.find("UTC\rTotal Assessment Time"), std::string::npos);
    press(Button::Reset);
    EXPECT_EQ(journal.front().run.patient, "");
    // Practice is on a virtual patient, whatever code is typed.
    journal.clear();
    edit(Field::Patient, "P-4711");
    console->practise();
    drain();
    ASSERT_TRUE(console->practising());
    ASSERT_FALSE(journal.empty());
    EXPECT_TRUE(journal.front().run.practice);
    EXPECT_EQ(journal.front().run.patient, "");
    EXPECT_EQ(report().find("Patient:"), std::string::npos);
    EXPECT_NE(view().notice, "New patient P-4711");
}

}  // namespace
}  // namespace limenta::testing
