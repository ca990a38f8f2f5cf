// How the soak judges one phonation, and when a whole soak has measured
// the machine rather than the program.
//
// The program can only be asked to time what reached the microphone, and
// the soak's own recording of the microphone is what tells that.  It is
// believed only while it agrees with the played length to within one
// capture buffer: further apart, either the playback fell behind or the
// recording lost a moment, and nobody knows which, so the phonation is
// the harness's and not judged.  A vowel that arrived with a hole in it
// may rightly have been timed to the hole; it is not judged either.  Each
// excuse hides a moment the program was not checked, so a soak may make
// only a few of them.
#pragma once

#include <optional>

namespace uidriver {

// A phonation of this length or shorter must not be taken; one of the
// longer length must be.  Between the two, within the tolerance of the
// two-second rule, either is right.
inline constexpr int kLongestNotTakenMs = 1800;
inline constexpr int kShortestTakenMs = 2300;
// How far a confirmed time may lie from the heard length: two buffers.
inline constexpr long kToleranceMs = 125;
// A hole this long in the vowel can take the voice out of the band, so
// that any of its pieces may have been timed: half a buffer.
inline constexpr int kHoleThatBreaksMs = 30;
// The share of phonations, in percent, that may go unjudged before the
// soak has measured the machine, not the program.
inline constexpr int kMostUnjudgedPercent = 5;

// What the soak's recording heard of one phonation.
struct HeardPhonation {
    int lengthMs;
    int longestHoleMs;
};

enum class Verdict {
    ok,          // judged and right
    missed,      // long enough, not taken
    takenShort,  // taken although too short
    off,         // taken with a time too far from the heard length
    harness,     // heard length missing or too far from the played one: not judged
    brokenUp,    // a hole in what was heard: not judged
};

struct Judgement {
    Verdict verdict;
    // The confirmed time's distance from the heard length, for a judged
    // phonation that was taken; -1 otherwise.
    long errorMs = -1;
};

// `heard` is empty when the recording heard nothing; `confirmedMs` is empty
// when the program took no time, and -1 when its box held no time.
Judgement judgePhonation(int playedMs, std::optional<HeardPhonation> heard, std::optional<long> confirmedMs);

// The word the phonations file uses for a verdict.
const char* verdictName(Verdict verdict);

// A fault of the program, as opposed to a phonation it is not blamed for.
bool isFault(Verdict verdict);

// The verdicts of one soak, and whether it judged enough of them.
class SoakTally {
public:
    void add(const Judgement& judgement);
    int phonations() const { return phonations_; }
    int harness() const { return harness_; }
    int brokenUp() const { return brokenUp_; }
    long largestErrorMs() const { return largestErrorMs_; }
    // More than kMostUnjudgedPercent of the phonations were the harness's
    // or broken up: whatever the program did there went unseen.
    bool measuredTheMachine() const;

private:
    int phonations_ = 0, harness_ = 0, brokenUp_ = 0;
    long largestErrorMs_ = 0;
};

}  // namespace uidriver
