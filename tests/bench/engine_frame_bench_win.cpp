// Time to compose and present one frame of the bee's scenery (three planes,
// three sprites) through DirectDraw, against the 62.5 ms between two
// captured buffers, which is all the time a frame may take.
//
//   engine_frame_bench [frames]     (run in the directory holding abelha.ff)
//
// Without a count, 400 frames in the full run and 40 in the short one.
//
// Prints the median and the spread; fails only when frames could not be
// presented, never because of the time taken.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench_run.h"
#include "engine/blit.h"
#include "engine/ddraw_win.h"
#include "engine/frame_win.h"
#include "engine/game_hooks.h"
#include "../win/engine_test_support.h"

namespace {

constexpr double kBufferPeriodMs = 62.5;
int g_failedPresents = 0;

// What the bee's scene step does on every frame, without the HUD.
void composeAndPresent() {
    engine::backPlane().setSpeedX(40 << 16, engine::kModeSet);
    engine::middlePlane().setSpeedX(30 << 16, engine::kModeSet);
    engine::frontPlane().setSpeedX(15 << 16, engine::kModeSet);
    engine::backPlane().moveX(0, engine::kModeAdvance);
    engine::middlePlane().moveX(0, engine::kModeAdvance);
    engine::frontPlane().moveX(0, engine::kModeAdvance);

    engine::backPlane().draw();
    engine::frontPlane().draw();
    engine::middlePlane().draw();
    const auto& slots = engine_test::scene().slots;
    engine::gfxDrawBitmap(engine::Rect{420, 440, 458, 478}, slots[175], 0, 0);  // fly
    engine::gfxDrawBitmap(engine::Rect{300, 10, 364, 74}, slots[176], 0, 0);   // aeroplane
    engine::gfxDrawBitmap(engine::Rect{30, 220, 85, 284}, slots[172], 0, 0);   // bee, voiced
    if (!engine::gfxPresent()) ++g_failedPresents;
}

double milliseconds(LONGLONG ticks, LONGLONG frequency) { return 1000.0 * static_cast<double>(ticks) / static_cast<double>(frequency); }

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : bench::measureFor(400, 40);
    if (argc <= 1) bench::sayWhichRun("engine_frame_bench");
    engine_test::GameWindow window;
    if (window.hwnd() == nullptr) {
        std::fprintf(stderr, "no window\n");
        return 1;
    }
    engine::displayObjects().window = window.hwnd();
    engine::gfxSetGameHooks(&engine_test::beeHooks());
    engine::gfxEnumDevices();
    if (!engine::InitGraphics() || !engine::SetupGame()) {
        std::fprintf(stderr, "the bee's art could not be set up (is abelha.ff here?)\n");
        return 1;
    }
    engine_test::pumpMessages(50);

    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    times.reserve(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        LARGE_INTEGER start{};
        LARGE_INTEGER end{};
        QueryPerformanceCounter(&start);
        composeAndPresent();
        QueryPerformanceCounter(&end);
        times.push_back(milliseconds(end.QuadPart - start.QuadPart, frequency.QuadPart));
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    std::printf("frame compose+present: median %.3f ms (%.1f%% of %.1f ms); fastest %.3f ms, 90th percentile %.3f ms, "
                "%d frames\n",
                median, 100.0 * median / kBufferPeriodMs, kBufferPeriodMs, times.front(),
                times[times.size() * 9 / 10], frames);

    engine::ReleaseGraphics();
    engine::gfxReleaseSurfaces(true);
    if (g_failedPresents > 0) {
        std::fprintf(stderr, "%d of %d frames were not presented\n", g_failedPresents, frames);
        return 1;
    }
    return 0;
}
