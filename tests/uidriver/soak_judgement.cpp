#include "tests/uidriver/soak_judgement.h"

#include <algorithm>
#include <cstdlib>

#include "voice/intensity.h"

namespace uidriver {
namespace {

// Within one capture buffer (689 samples, 62.5 ms), counted in samples so
// the half millisecond is not rounded either way.
bool withinOneBuffer(int aMs, int bMs) {
    return static_cast<long long>(std::abs(aMs - bMs)) * voice::kSampleRate <=
           static_cast<long long>(voice::kBufferSamples) * 1000;
}

}  // namespace

Judgement judgePhonation(int playedMs, std::optional<HeardPhonation> heard, std::optional<long> confirmedMs) {
    if (heard && heard->longestHoleMs >= kHoleThatBreaksMs) return {Verdict::brokenUp};
    if (!heard || !withinOneBuffer(heard->lengthMs, playedMs)) return {Verdict::harness};
    const int lengthMs = heard->lengthMs;
    if (!confirmedMs) return {lengthMs >= kShortestTakenMs ? Verdict::missed : Verdict::ok};
    const long errorMs = std::labs(*confirmedMs - lengthMs);
    if (lengthMs <= kLongestNotTakenMs) return {Verdict::takenShort, errorMs};
    // A time taken in the grey zone is held to the same tolerance: the
    // program took it because it timed it over two seconds, and it had to
    // time it right to get there.
    return {errorMs > kToleranceMs ? Verdict::off : Verdict::ok, errorMs};
}

const char* verdictName(Verdict verdict) {
    switch (verdict) {
        case Verdict::ok: return "ok";
        case Verdict::missed: return "missed";
        case Verdict::takenShort: return "taken-short";
        case Verdict::off: return "off";
        case Verdict::harness: return "harness";
        case Verdict::brokenUp: return "broken-up";
    }
    return "?";
}

bool isFault(Verdict verdict) {
    return verdict == Verdict::missed || verdict == Verdict::takenShort || verdict == Verdict::off;
}

void SoakTally::add(const Judgement& judgement) {
    ++phonations_;
    if (judgement.verdict == Verdict::harness) ++harness_;
    if (judgement.verdict == Verdict::brokenUp) ++brokenUp_;
    largestErrorMs_ = std::max(largestErrorMs_, judgement.errorMs);
}

bool SoakTally::measuredTheMachine() const {
    return static_cast<long long>(harness_ + brokenUp_) * 100 > static_cast<long long>(kMostUnjudgedPercent) * phonations_;
}

}  // namespace uidriver
