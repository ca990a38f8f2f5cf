// The soak's judgement of one phonation from its recorded lengths, and of
// the whole soak from how many it could not judge.
#include "tests/uidriver/soak_judgement.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace uidriver {
namespace {

constexpr std::optional<HeardPhonation> kNothingHeard;
constexpr std::optional<long> kNotTaken;

std::optional<HeardPhonation> heardOf(int lengthMs, int longestHoleMs = 0) {
    return HeardPhonation{lengthMs, longestHoleMs};
}

struct Recorded {
    const char* name;
    int playedMs;
    std::optional<HeardPhonation> heard;
    std::optional<long> confirmedMs;
    const char* verdict;  // as the phonations file writes it
    long errorMs;
};

TEST(SoakJudgement, JudgesATimeAgainstTheHeardLengthWhileItAgreesWithThePlayed) {
    const Recorded cases[] = {
        {"a right time", 5000, heardOf(5040), 5100, "ok", 60},
        {"near the played length but too far from the heard one", 5000, heardOf(5060), 4930, "off", 130},
        {"two buffers from the heard length is still right", 5000, heardOf(5062), 5187, "ok", 125},
        {"a millisecond more is off", 5000, heardOf(5062), 5188, "off", 126},
        {"heard 62 ms shorter is judged", 5000, heardOf(4938), 4990, "ok", 52},
        {"heard 63 ms longer: the harness's", 5000, heardOf(5063), 9000, "harness", -1},
        {"heard 63 ms shorter: the harness's", 5000, heardOf(4937), 5000, "harness", -1},
        {"nothing heard, a time taken", 5000, kNothingHeard, 5000, "harness", -1},
        {"nothing heard, nothing taken", 5000, kNothingHeard, kNotTaken, "harness", -1},
        {"a hole of half a buffer breaks it up", 5000, heardOf(5010, 30), 2500, "broken-up", -1},
        {"a broken-up vowel is not missed", 5000, heardOf(5010, 45), kNotTaken, "broken-up", -1},
        {"a broken-up vowel far from the played one is still broken up", 5000, heardOf(5400, 80), 5400, "broken-up",
         -1},
        {"a shorter hole is judged", 5000, heardOf(5010, 29), 2500, "off", 2510},
        {"a box without a time", 5000, heardOf(5000), -1L, "off", 5001},
    };
    for (const Recorded& c : cases) {
        SCOPED_TRACE(c.name);
        const Judgement j = judgePhonation(c.playedMs, c.heard, c.confirmedMs);
        EXPECT_EQ(std::string(verdictName(j.verdict)), c.verdict);
        EXPECT_EQ(j.errorMs, c.errorMs);
    }
}

TEST(SoakJudgement, TheTwoSecondRuleGoesByTheHeardLength) {
    const Recorded cases[] = {
        {"long enough and not taken", 2280, heardOf(2300), kNotTaken, "missed", -1},
        {"just under the surely taken length", 2280, heardOf(2299), kNotTaken, "ok", -1},
        {"short, not taken", 1000, heardOf(1010), kNotTaken, "ok", -1},
        {"short and taken", 1790, heardOf(1800), 2010L, "taken-short", 210},
        {"in the grey zone, taken right", 1850, heardOf(1900), 2010L, "ok", 110},
        {"in the grey zone, taken with a wrong time", 1790, heardOf(1801), 2010L, "off", 209},
        {"in the grey zone, not taken", 2100, heardOf(2100), kNotTaken, "ok", -1},
    };
    for (const Recorded& c : cases) {
        SCOPED_TRACE(c.name);
        const Judgement j = judgePhonation(c.playedMs, c.heard, c.confirmedMs);
        EXPECT_EQ(std::string(verdictName(j.verdict)), c.verdict);
        EXPECT_EQ(j.errorMs, c.errorMs);
        EXPECT_EQ(isFault(j.verdict), c.verdict == std::string("missed") || c.verdict == std::string("taken-short") ||
                                          c.verdict == std::string("off"));
    }
}

struct Soak {
    const char* name;
    int judged, harness, brokenUp;
    bool measuredTheMachine;
};

TEST(SoakJudgement, ASoakThatCouldNotJudgeMoreThanOneInTwentyFails) {
    const Soak cases[] = {
        {"every phonation judged", 40, 0, 0, false},
        {"one in twenty", 19, 1, 0, false},
        {"one in nineteen", 18, 1, 0, true},
        {"harness and broken-up count together", 18, 1, 1, true},
        {"broken-up alone", 95, 0, 5, false},
        {"six in a hundred", 94, 3, 3, true},
        {"nothing heard at all", 0, 8, 0, true},
        {"no phonation", 0, 0, 0, false},
    };
    for (const Soak& c : cases) {
        SCOPED_TRACE(c.name);
        SoakTally tally;
        for (int i = 0; i < c.judged; ++i) tally.add(judgePhonation(5000, heardOf(5000), 5000L + i));
        for (int i = 0; i < c.harness; ++i) tally.add(judgePhonation(5000, kNothingHeard, 5000L));
        for (int i = 0; i < c.brokenUp; ++i) tally.add(judgePhonation(5000, heardOf(5000, 40), 2000L));
        EXPECT_EQ(tally.phonations(), c.judged + c.harness + c.brokenUp);
        EXPECT_EQ(tally.harness(), c.harness);
        EXPECT_EQ(tally.brokenUp(), c.brokenUp);
        EXPECT_EQ(tally.measuredTheMachine(), c.measuredTheMachine);
        // Only judged times make the largest error; the broken-up ones were 3 s off.
        EXPECT_EQ(tally.largestErrorMs(), c.judged > 0 ? c.judged - 1 : 0);
    }
}

}  // namespace
}  // namespace uidriver
