// Whatever the operator types into the fields, and long random storms of keys and buttons:
// nothing crashes, nothing is written past an array, the history never holds more than one
// run's 200 lines, and no number that is not finite reaches the view or the report.
#include <gtest/gtest.h>

#include <random>

#include "core/console/console_fixture.h"

namespace limenta::testing {
namespace {

bool showsNoNonFinite(const std::string& text) {
    std::string lower;
    for (const char c : text) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower.find("nan") == std::string::npos && lower.find("inf") == std::string::npos;
}

class Storm : public ConsoleTest {
  protected:
    void expectSane() {
        const ConsoleView& v = view();
        ASSERT_LE(std::count(v.history.begin(), v.history.end(), '\r'), kLastTrial);
        if (const limenta::Run* shown = console->run()) {
            ASSERT_GE(shown->state().stepnum, 0);
            ASSERT_LE(shown->state().stepnum, kLastTrial);
            ASSERT_LE(shown->state().nrstimulus, kLastStimulus);
            if (!shown->trials().empty() && v.big != "100+") {
                const int big = std::stoi(v.big);
                ASSERT_GE(big, 1) << v.big;
                ASSERT_LE(big, 100) << v.big;
            }
        }
        for (const std::string& text : {v.big, v.history, v.interval}) {
            ASSERT_TRUE(showsNoNonFinite(text)) << text;
        }
        for (std::size_t j = 0; j < 3; ++j) {
            ASSERT_TRUE(showsNoNonFinite(v.plain[j].text + v.corrected[j].text));
        }
    }
};

TEST_F(Storm, FullRunsOfEveryWindowMethodWithOddFieldTexts) {
    open();
    const std::vector<std::string> odd{"",
                                       "abc",
                                       "nan",
                                       "inf",
                                       "-inf",
                                       "-0",
                                       "1e400",
                                       "1e300",
                                       "0",
                                       "-35",
                                       "-1e300",
                                       "4.9e-324",
                                       std::string(5000, '9'),
                                       std::string(3000, 'x'),
                                       "12\t3"};
    for (const std::string& text : odd) {
        for (const Method* m : Console::offeredMethods()) {
            SCOPED_TRACE(std::string(m->key) + " '" + text.substr(0, 20) + "'");
            press(Button::Reset);
            choose(m->key);
            for (const Field field : {Field::First, Field::Second, Field::Third, Field::M1Distance,
                                      Field::TargetDistance}) {
                edit(field, text);
            }
            press(Button::Start);
            for (int i = 0; console->run() && i < kLastTrial + 5 && !run().reached(); ++i) {
                type(i % 3 == 0 ? "n" : "y");
            }
            type("y");  // one more after the end
            expectSane();
            // The report repeats the typed texts as they stand; every number Limenta itself
            // puts there is finite.
            std::string computed = report();
            for (std::size_t at = computed.find(text); !text.empty() && at != std::string::npos;
                 at = computed.find(text)) {
                computed.erase(at, text.size());
            }
            EXPECT_TRUE(showsNoNonFinite(computed));
            if (HasFailure()) {
                return;
            }
        }
    }
}

TEST_F(Storm, ThousandsOfKeysButtonsAndChoices) {
    for (const auto& [prefs, seed] : {std::pair{defaultPrefsText(), 1},
                                      {prefsWith({{kPrefsUseMlPest, "1"}}), 2},
                                      // Every key an answer: runs meet the trial limit often.
                                      {prefsWith({{kPrefsSuccessAll, "1"}}), 3}}) {
        SCOPED_TRACE(seed);
        open(prefs);
        std::mt19937 random(static_cast<unsigned>(seed));
        const std::vector<std::int32_t> keys{'y', 'n', 'Y', 'N', 'q', '1', '0', ' ',  13, 9,
                                             8,   127, 28,  29,  30,  31,  27,  0xE9, 'z'};
        for (int i = 0; i < 10000; ++i) {
            const unsigned roll = random() % 1000;
            if (roll < 900) {
                key(keys[random() % keys.size()]);
                // Mostly after the answer's wait, sometimes within it.
                host.tick += static_cast<std::int64_t>(random() % 40);
            } else if (roll < 930) {
                press(Button::Start);
            } else if (roll < 950) {
                press(Button::Reset);
            } else if (roll < 960) {
                undo();
            } else if (roll < 970) {
                tick(static_cast<ConsoleTimer>(random() % kConsoleTimers));
            } else if (roll < 980) {
                const auto& offered = Console::offeredMethods();
                choose(offered[random() % offered.size()]->key);
            } else if (roll < 990) {
                report();
            } else {
                console->choosePercent(random() % 3, static_cast<int>(random() % 201));
                drain();
            }
            expectSane();
            if (HasFatalFailure()) {
                return;
            }
        }
    }
}

}  // namespace
}  // namespace limenta::testing
