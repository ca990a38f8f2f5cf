// What the scene tests draw into and answer with: a blit target that
// records every blit, and phonation events that count what they are asked.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/blit.h"
#include "phonation/capture_session.h"

namespace scenetest {

struct Blit {
    int32_t x, y;
    engine::SurfaceHandle surface;
    engine::Rect source;
};

struct RecordingTarget : engine::IBlitTarget {
    std::vector<Blit> blits;
    int32_t bltFast(int32_t x, int32_t y, engine::SurfaceHandle s, const engine::Rect& r, uint32_t) override {
        blits.push_back({x, y, s, r});
        return 0;
    }
    void colorFill(const engine::Rect&, uint32_t) override {}
};

struct Events : phonation::IPhonationEvents {
    int frames = 0, stops = 0;
    void renderFrame() override { ++frames; }
    void requestStop() override { ++stops; }
};

// Bitmap slot i of the scene tests draws from surface i + 1.
inline engine::SurfaceHandle surfaceOfSlot(intptr_t slot) { return reinterpret_cast<engine::SurfaceHandle>(slot + 1); }

}  // namespace scenetest
