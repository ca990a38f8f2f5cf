// The start-up probe of a volume control against mixers that read back
// differently.
#include "voice/volume_probe.h"

#include <gtest/gtest.h>

namespace {

enum class Kind { Exact, RoundsToSteps, KeepsNothing, Unreadable };

// A mixer control as the probe sees it.
struct FakeMixer {
    Kind kind;
    voice::VolumeRange range;
    uint32_t value;
    int sets = 0;

    int64_t get() const { return kind == Kind::Unreadable ? -1 : int64_t{value}; }
    void set(uint32_t v) {
        ++sets;
        const uint32_t step = voice::volumeStep(range);
        switch (kind) {
        case Kind::Exact: value = v; break;
        case Kind::RoundsToSteps: value = (v + step / 2) / step * step; break;  // to the nearest step
        case Kind::KeepsNothing:
        case Kind::Unreadable: break;
        }
    }
};

TEST(VolumeProbe, TellsAControlThatSetsTheLevelFromOneThatDoesNot) {
    const voice::VolumeRange wide{0, 65535, 65536};  // one unit a step
    const voice::VolumeRange coarse{0, 65535, 101};  // steps of 655
    const struct {
        const char* name;
        Kind kind;
        voice::VolumeRange range;
        uint32_t start;
        bool kept;
    } cases[] = {
        {"exact, in the middle", Kind::Exact, wide, 30000, true},
        {"exact, at the top", Kind::Exact, wide, 65535, true},
        {"rounds to its steps, on a step", Kind::RoundsToSteps, coarse, 655 * 40, true},
        {"rounds to its steps, between steps", Kind::RoundsToSteps, coarse, 655 * 40 + 300, true},
        {"rounds to its steps, at the top", Kind::RoundsToSteps, coarse, 65535, true},
        {"rounds to its steps, at the bottom", Kind::RoundsToSteps, coarse, 0, true},
        {"no step count given", Kind::RoundsToSteps, {0, 65535, 0}, 12345, true},
        {"keeps nothing, fine steps", Kind::KeepsNothing, wide, 30000, false},
        {"keeps nothing, coarse steps", Kind::KeepsNothing, coarse, 30000, false},
        {"cannot be read", Kind::Unreadable, wide, 30000, false},
        {"an empty range", Kind::Exact, {100, 100, 1}, 100, false},
    };
    for (const auto& c : cases) {
        FakeMixer mixer{c.kind, c.range, c.start};
        const bool kept = voice::controlKeepsValues(
            c.range, [&] { return mixer.get(); }, [&](uint32_t v) { mixer.set(v); });
        EXPECT_EQ(kept, c.kept) << c.name;
        if (c.kind == Kind::Exact && mixer.sets > 0) {
            EXPECT_EQ(mixer.value, c.start) << c.name << ": restored";
        }
    }
}

}  // namespace
