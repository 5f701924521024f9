// A patient's code and setup: what the operator may type, how it is kept, and when two codes
// or two setups are the same.
#include <gtest/gtest.h>

#include <vector>

#include "core/patient/patient_code.h"
#include "core/patient/setup.h"

namespace limenta::testing {
namespace {

// Inside a test, Setup is the test framework's own name.
using PatientSetup = limenta::Setup;

TEST(PatientCode, ACodeIsOneToThirtyTwoPrintableCharactersWithoutTheSpacesAtItsEnds) {
    EXPECT_EQ(patientCodeProblem(""), std::nullopt);  // no patient's run
    EXPECT_EQ(trimSpaces("  P-4711 "), "P-4711");
    EXPECT_EQ(trimSpaces("P 4711"), "P 4711");
    EXPECT_EQ(patientCodeProblem(" P-4711  "), std::nullopt);
    // 32 characters, counted as characters: Greek letters take two bytes each.
    EXPECT_EQ(patientCodeProblem(std::string(32, 'x')), std::nullopt);
    std::string greek;
    for (int i = 0; i < 32; ++i) {
        greek += "\u03b1";
    }
    EXPECT_EQ(characterCount(greek), 32U);
    EXPECT_EQ(patientCodeProblem("  " + greek + "  "), std::nullopt);
    EXPECT_EQ(patientCodeProblem(greek + "\u03b1"), "is longer than 32 characters");
    EXPECT_EQ(patientCodeProblem(std::string(33, 'x')), "is longer than 32 characters");
    // Only spaces, and every kind of control character or line break, refused.
    EXPECT_EQ(patientCodeProblem("   ")->rfind("holds only spaces", 0), 0U);
    for (const std::string& bad :
         std::vector<std::string>{"P\t1", "P\n1", "P\r",
                                  std::string("P\0"
                                              "1",
                                              3),
                                  "P\x7f", "P\u0085", "P\u2028", "P\u2029", "P\xff", "P\xc3"}) {
        EXPECT_EQ(patientCodeProblem(bad), "holds a control character or a line break") << bad;
    }
    EXPECT_EQ(patientCodeProblem("=HYPERLINK(\"x\")"), std::nullopt);  // the CSV makes it safe
}

TEST(PatientCode, CodesNameOnePatientWhateverTheCaseOfTheirLetters) {
    EXPECT_TRUE(samePatient("p-4711", "P-4711"));
    EXPECT_TRUE(samePatient("Ab", "aB"));
    EXPECT_FALSE(samePatient("P-4711", "P-4712"));
    EXPECT_FALSE(samePatient("P-4711", "P-47110"));
    EXPECT_FALSE(samePatient("P", ""));
}

TEST(Setup, ItIsDescribedPartByPartAndPartsLeftEmptyAreLeftOut) {
    EXPECT_EQ(describeSetup({}), "");
    EXPECT_EQ(describeSetup({Hemisphere::Left, "APB", "Figure-8 70 mm", "MagPro", Judged::Emg}),
              "left hemisphere, APB, Figure-8 70 mm, MagPro, EMG");
    EXPECT_EQ(describeSetup({Hemisphere::Right, " FDI ", "", "  ", Judged::Twitch}),
              "right hemisphere, FDI, visible twitch");
    EXPECT_EQ(describeSetup({Hemisphere::Unsaid, "", "D70", "", Judged::Unsaid}), "D70");
}

TEST(Setup, TwoSetupsAreTheSameWhenEveryPartIsIgnoringCaseAndEndSpaces) {
    const PatientSetup usual{Hemisphere::Left, "APB", "D70", "MagPro X100", Judged::Emg};
    EXPECT_TRUE(sameSetup(usual, {Hemisphere::Left, " apb", "d70 ", "MAGPRO X100", Judged::Emg}));
    const std::vector<void (*)(PatientSetup&)> changes{
        [](PatientSetup& s) { s.hemisphere = Hemisphere::Right; },
        [](PatientSetup& s) { s.muscle = "FDI"; },
        [](PatientSetup& s) { s.coil = "D70 cooled"; },
        [](PatientSetup& s) { s.stimulator.clear(); },
        [](PatientSetup& s) { s.judged = Judged::Twitch; },  // a visible twitch reads higher
    };
    for (const auto& change : changes) {
        PatientSetup other = usual;
        change(other);
        EXPECT_FALSE(sameSetup(usual, other)) << describeSetup(other);
    }
}

TEST(Setup, APartTypedIsAtMostFortyPrintableCharacters) {
    EXPECT_EQ(setupProblem({Hemisphere::Left, std::string(40, 'm'),
                            " " + std::string(40, 'c') + " ", std::string(40, 's'), Judged::Emg}),
              std::nullopt);
    EXPECT_EQ(setupProblem({Hemisphere::Left, std::string(41, 'm'), "", "", Judged::Emg}),
              "Muscle is longer than 40 characters");
    EXPECT_EQ(setupProblem({Hemisphere::Left, "", "D70\nsecond line", "", Judged::Emg}),
              "Coil holds a control character or a line break");
    EXPECT_EQ(setupProblem({Hemisphere::Left, "", "", "Mag\x1b[2J", Judged::Emg}),
              "Stimulator holds a control character or a line break");
    // The words the journal keeps come back as what they were.
    for (const Hemisphere h : {Hemisphere::Unsaid, Hemisphere::Left, Hemisphere::Right}) {
        EXPECT_EQ(hemisphereOf(hemisphereWord(h)), h);
    }
    for (const Judged j : {Judged::Unsaid, Judged::Emg, Judged::Twitch}) {
        EXPECT_EQ(judgedOf(judgedWord(j)), j);
    }
}

}  // namespace
}  // namespace limenta::testing
