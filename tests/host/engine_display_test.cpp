#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "engine/display_config.h"
#include "engine/trace.h"
#include "engine_test_support.h"

namespace {

using engine::DeviceCaps;
using engine::DisplayConfig;
using Lines = std::vector<std::string>;

constexpr uint32_t kMiB = 1048576;

TEST(Display, CapabilityProbing) {
    const uint32_t keyed = engine::kCapsColorKey;
    const uint32_t src = engine::kColorKeyCapsSrcBlt, dest = engine::kColorKeyCapsDestBlt;
    const struct {
        const char* what;
        DeviceCaps caps;
        int32_t bits, width;
        bool fill;
        int32_t buffers;
        bool destKey;
        Lines trace;
    } cases[] = {
        {"2 MiB at 16 bits", {keyed | engine::kCapsBltColorFill, src, 2 * kMiB}, 16, 640, true, 2, false,
         {"Device supports color fill", "double buffering (not enough memory)", "Can do Src colorkey in hardware"}},
        {"a byte more", {keyed, src | dest, 2 * kMiB + 1}, 16, 640, false, 3, false,
         {"Device does not support color fill", "triple buffering", "Can do Src colorkey in hardware",
          "Can do Dest colorkey in hardware"}},
        {"wider than 640", {0, 0, 64 * kMiB}, 16, 800, false, 2, false,
         {"Device does not support color fill", "double buffering (not enough memory)",
          "Can't do color key in hardware!"}},
        {"destination only, 4 MiB", {keyed, dest, 4 * kMiB}, 16, 640, false, 3, true,
         {"Device does not support color fill", "triple buffering", "Can do Dest colorkey in hardware",
          "Using destination color key"}},
        {"destination only, a byte short", {keyed, dest, 4 * kMiB - 1}, 16, 640, false, 3, false,
         {"Device does not support color fill", "triple buffering", "Can do Dest colorkey in hardware"}},
        {"no hardware, 8 bits", {engine::kCapsNoHardware | keyed, dest, 2 * kMiB}, 8, 640, false, 3, true,
         {"No hardware support at all", "Device does not support color fill", "triple buffering",
          "Can do Dest colorkey in hardware", "Using destination color key"}},
    };
    for (const auto& c : cases) {
        enginetest::TraceCapture trace;
        DisplayConfig config;
        config.bitsPerPixel = c.bits;
        config.requestedWidth = c.width;
        engine::probeCapabilities(c.caps, config);
        EXPECT_EQ(config.colorFillSupported, c.fill) << c.what;
        EXPECT_EQ(config.bufferCount, c.buffers) << c.what;
        EXPECT_EQ(config.useDestColorKey, c.destKey) << c.what;
        EXPECT_EQ(trace.lines(), c.trace) << c.what;
    }

    DisplayConfig config;
    config.useDestColorKey = true;  // from an earlier start: never turned off
    engine::probeCapabilities({keyed, src, 64 * kMiB}, config);
    EXPECT_TRUE(config.useDestColorKey);
}

using Mode = std::tuple<int32_t, int32_t, int32_t, bool>;

class ModeRecorder final : public engine::IDisplayModeSetter {
public:
    explicit ModeRecorder(std::vector<Mode> accepted) : accepted_(std::move(accepted)) {}
    int32_t setDisplayMode(int32_t w, int32_t h, int32_t bits, bool vga) override {
        tried.emplace_back(w, h, bits, vga);
        for (const Mode& m : accepted_)
            if (m == tried.back()) return 0;
        return -5;
    }
    std::vector<Mode> tried;

private:
    std::vector<Mode> accepted_;
};

TEST(Display, FullScreenModeFallback) {
    const struct {
        const char* what;
        int32_t width, height, bits;
        std::vector<Mode> accepted;
        bool ok;
        std::vector<Mode> tried;
        Lines trace;
        int32_t finalBits;
    } cases[] = {
        {"800x600 refused", 800, 600, 16, {{640, 480, 16, false}}, true,
         {{800, 600, 16, false}, {640, 480, 16, false}},
         {"SetDisplayMode 800 600 16", "cant set mode trying 640x480"}, 16},
        {"16 bits refused, then 8 refused", 640, 480, 16, {}, false,
         {{640, 480, 16, false}, {640, 480, 8, false}, {640, 480, 16, false}},
         {"SetDisplayMode 640 480 16", "cant set mode trying 640x480x8", "cant set mode trying 640x480x16",
          "SetMode failed err=-5"},
         16},
        {"8 bits goes to 16", 640, 480, 8, {{640, 480, 16, false}}, true,
         {{640, 480, 8, false}, {640, 480, 16, false}},
         {"SetDisplayMode 640 480 8", "cant set mode trying 640x480x16"}, 16},
        {"standard VGA", 320, 200, 8, {{320, 200, 8, true}}, true, {{320, 200, 8, true}},
         {"SetDisplayMode 320 200 8"}, 8},
    };
    for (const auto& c : cases) {
        enginetest::TraceCapture trace;
        DisplayConfig config;
        config.requestedWidth = config.screenWidth = c.width;
        config.requestedHeight = config.screenHeight = c.height;
        config.bitsPerPixel = c.bits;
        ModeRecorder setter(c.accepted);
        EXPECT_EQ(engine::setModeWithFallback(config, setter), c.ok) << c.what;
        EXPECT_EQ(setter.tried, c.tried) << c.what;
        EXPECT_EQ(trace.lines(), c.trace) << c.what;
        EXPECT_EQ(config.bitsPerPixel, c.finalBits) << c.what;
        if (c.width == 800) {
            EXPECT_EQ(config.screenWidth, 640);
            EXPECT_EQ(config.screenHeight, 480);
        }
    }
}

TEST(Display, WindowedLayout) {
    EXPECT_EQ(engine::windowedStyle(0x90080000u), 0x10CE0000u);  // WS_POPUP goes, the rest stays
    DisplayConfig config;
    EXPECT_EQ(engine::windowedClientRect(config), (engine::Rect{0, 0, 640, 480}));
    config.halfView = true;
    EXPECT_EQ(engine::windowedClientRect(config), (engine::Rect{0, 0, 1280, 960}));
    // Each half truncated on its own: 512 - 323, 384 - 252.
    EXPECT_EQ(engine::centredWindowOrigin(647, 505, 1024, 768), (engine::Point{189, 132}));
}

TEST(Display, TheBorderlessFrameKeepsItsProportionsOnAnyScreen) {
    const struct {
        const char* screen;
        engine::Rect monitor, frame;
    } cases[] = {
        {"1920 x 1080: bars at the sides", {0, 0, 1920, 1080}, {240, 0, 1680, 1080}},
        {"1024 x 768: the whole screen", {0, 0, 1024, 768}, {0, 0, 1024, 768}},
        {"640 x 480: as drawn", {0, 0, 640, 480}, {0, 0, 640, 480}},
        {"1280 x 1024: bars above and below", {0, 0, 1280, 1024}, {0, 32, 1280, 992}},
        {"2560 x 1440", {0, 0, 2560, 1440}, {320, 0, 2240, 1440}},
        {"a portrait screen", {0, 0, 1080, 1920}, {0, 555, 1080, 1365}},
        {"a second monitor to the right", {1920, 0, 3840, 1080}, {2160, 0, 3600, 1080}},
        {"a monitor to the left and above", {-1366, -768, 0, 0}, {-1195, -768, -171, 0}},
        {"an odd width", {0, 0, 1366, 768}, {171, 0, 1195, 768}},
        {"nothing to cover", {0, 0, 0, 0}, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(engine::letterboxedRect(c.monitor, 640, 480), c.frame) << c.screen;
}

TEST(Display, ColourKeyIsWhiteInThePixelFormat) {
    enginetest::TraceCapture trace;
    EXPECT_EQ(engine::colorKeyFromFormat(8, 0, 0, 0), 255u);
    EXPECT_EQ(engine::colorKeyFromFormat(16, 0xF800, 0x07E0, 0x001F), 0xFFFFu);
    EXPECT_EQ(engine::colorKeyFromFormat(32, 0xFF0000, 0xFF00, 0xFF), 0x00FFFFFFu);
    EXPECT_EQ(trace.lines().back(), "dwColorKey = 0x00FFFFFF");
}

TEST(Fatal, LineAlwaysEndsInsideItsBuffer) {
    const std::string longMessage(300, 'm');
    const struct {
        const char* message;
        std::string expected;
    } cases[] = {
        {"gfxBegin failed", "FATAL ERROR: gfxBegin failed\r\n"},
        {longMessage.c_str(), "FATAL ERROR: " + std::string(112, 'm') + "\r\n"},
        {nullptr, "FATAL ERROR: \r\n"},
    };
    for (const auto& c : cases) {
        char line[engine::kFatalLineSize + 8];
        std::memset(line, '#', sizeof line);
        engine::formatFatalLine(line, engine::kFatalLineSize, c.message);
        EXPECT_EQ(std::string(line), c.expected);
        EXPECT_EQ(line[engine::kFatalLineSize], '#') << "nothing written past the buffer";
    }
}

void endGraphics() { std::fputs("graphics ended\n", stderr); }
void endGraphicsFatally() {
    endGraphics();
    engine::gfxFatal("gfxEnd in DestroyBuffer");
}

TEST(FatalDeathTest, WritesEndsTheGraphicsAndExitsWithZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(engine::gfxFatal("gfxBegin failed"), ::testing::ExitedWithCode(0),
                "FATAL ERROR: gfxBegin failed\r\n");
    EXPECT_EXIT(
        {
            engine::gfxSetFatalEndHook(&endGraphics);
            engine::gfxFatal("hTileList in CreateTiles");
        },
        ::testing::ExitedWithCode(0), "FATAL ERROR: hTileList in CreateTiles\r\ngraphics ended\n");
    // gfxEnd failing inside the fatal exit does not run gfxEnd again.
    EXPECT_EXIT(
        {
            engine::gfxSetFatalEndHook(&endGraphicsFatally);
            engine::gfxFatal("gfxBegin failed");
        },
        ::testing::ExitedWithCode(0), "gfxBegin failed\r\ngraphics ended\nFATAL ERROR: gfxEnd in DestroyBuffer\r\n");
}

}  // namespace
