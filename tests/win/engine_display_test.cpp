// The display set-up, surfaces, palette and bitmaps of the DirectDraw layer
// against Wine's DirectDraw on the virtual display.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/art_archive.h"
#include "engine/bitmap_win.h"
#include "engine/blit.h"
#include "engine/trace.h"
#include "engine_fixture.h"

namespace {

using engine::displayConfig;
using engine::displayObjects;
using engine_test::EngineTest;

// ---- the device list ----------------------------------------------------------

int g_reportedDrivers = 0;
GUID g_driverGuid{0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}};

// Reports `g_reportedDrivers` drivers: the first without a GUID (the
// primary driver), the others with one; the third has an overlong name.
HRESULT WINAPI reportDrivers(LPDDENUMCALLBACKA callback, LPVOID context) {
    std::string longName(300, 'x');
    for (int i = 0; i < g_reportedDrivers; ++i) {
        std::string description = i == 2 ? longName : "Driver " + std::to_string(i);
        std::string name = "drv" + std::to_string(i);
        if (!callback(i == 0 ? nullptr : &g_driverGuid, description.data(), name.data(), context)) break;
    }
    return DD_OK;
}

GUID* const kEmulationOnly = reinterpret_cast<GUID*>(static_cast<uintptr_t>(DDCREATE_EMULATIONONLY));

TEST(DeviceList, WineReportsItsDriverAndTheEmulationLayerComesLast) {
    EXPECT_EQ(engine::gfxEnumDevices(), 1);
    const auto devices = engine::gfxDevices();
    ASSERT_GE(devices.size(), 2u);
    EXPECT_EQ(devices.back().id, kEmulationOnly);
    EXPECT_STREQ(devices.back().description, "Hardware Emulation Layer");
    EXPECT_STREQ(devices.back().driverName, "");
}

TEST(DeviceList, HoldsFifteenEntriesAtMost) {
    struct Case {
        int reported;
        size_t entries;
        bool emulationLast;
    };
    for (const Case c : {Case{0, 1, true}, Case{3, 4, true}, Case{14, 15, true}, Case{15, 15, false},
                         Case{20, 15, false}}) {
        g_reportedDrivers = c.reported;
        engine::gfxEnumDevices(reportDrivers);
        const auto devices = engine::gfxDevices();
        ASSERT_EQ(devices.size(), c.entries) << c.reported << " drivers";
        EXPECT_EQ(devices.back().id == kEmulationOnly, c.emulationLast) << c.reported << " drivers";
    }
    engine::gfxEnumDevices();  // the real list again
}

TEST(DeviceList, KeepsCopiesOfTheGuidAndTheNames) {
    g_reportedDrivers = 3;
    engine::gfxEnumDevices(reportDrivers);
    const auto devices = engine::gfxDevices();
    ASSERT_EQ(devices.size(), 4u);
    EXPECT_EQ(devices[0].id, nullptr);
    EXPECT_STREQ(devices[0].description, "Driver 0");
    EXPECT_STREQ(devices[0].driverName, "drv0");
    // The GUID is the record's own copy, not the driver's pointer.
    EXPECT_EQ(devices[1].id, &devices[1].guid);
    EXPECT_TRUE(IsEqualGUID(devices[1].guid, g_driverGuid));
    EXPECT_EQ(std::strlen(devices[2].description), sizeof devices[2].description - 1);
    engine::gfxEnumDevices();
}

// With no driver reported the emulation layer is the first entry, and the
// display is opened on it.
TEST_F(EngineTest, OpensTheEmulationLayerWhenNoDriverIsReported) {
    g_reportedDrivers = 0;
    engine::gfxEnumDevices(reportDrivers);
    ASSERT_EQ(engine::gfxDevices()[0].id, kEmulationOnly);
    EXPECT_TRUE(engine::gfxBegin());
    EXPECT_NE(displayObjects().backBuffer, nullptr);
    engine::gfxEnd();
}

// ---- windowed start-up ------------------------------------------------------

TEST_F(EngineTest, WindowedStartUpGivesACentredClientAreaOfExactly640x480) {
    ASSERT_TRUE(engine::InitGraphics());
    engine_test::pumpMessages(50);

    RECT client{};
    ASSERT_TRUE(GetClientRect(hwnd(), &client));
    EXPECT_EQ(client.right - client.left, 640);
    EXPECT_EQ(client.bottom - client.top, 480);

    RECT outer{};
    ASSERT_TRUE(GetWindowRect(hwnd(), &outer));
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(outer.left, screenWidth / 2 - (outer.right - outer.left) / 2);
    EXPECT_EQ(outer.top, screenHeight / 2 - (outer.bottom - outer.top) / 2);

    const LONG style = GetWindowLongW(hwnd(), GWL_STYLE);
    EXPECT_EQ(style & WS_POPUP, 0);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);

    POINT origin{0, 0};
    ClientToScreen(hwnd(), &origin);
    EXPECT_EQ(displayConfig().presentRect, (engine::Rect{origin.x, origin.y, origin.x + 640, origin.y + 480}));
}

TEST_F(EngineTest, WindowedStartUpTakesTheDesktopDepthWithAWhiteKeyAndNoPalette) {
    ASSERT_TRUE(engine::InitGraphics());
    HDC screen = GetDC(nullptr);
    const int depth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(displayConfig().bitsPerPixel, depth);

    const engine::DisplayObjects& d = displayObjects();
    ASSERT_NE(d.frontBuffer, nullptr);
    ASSERT_NE(d.backBuffer, nullptr);
    EXPECT_NE(d.clipper, nullptr);
    EXPECT_EQ(d.palette, nullptr);
    EXPECT_EQ(d.stretchBuffer, nullptr);

    DDPIXELFORMAT format{};
    format.dwSize = sizeof format;
    ASSERT_EQ(d.frontBuffer->GetPixelFormat(&format), DD_OK);
    ASSERT_EQ(format.dwRBitMask | format.dwGBitMask | format.dwBBitMask, 0x00FFFFFFu) << "an 8-8-8 desktop";
    EXPECT_EQ(displayConfig().colorKey, 0x00FFFFFFu);

    DDSURFACEDESC back{};
    back.dwSize = sizeof back;
    ASSERT_EQ(d.backBuffer->GetSurfaceDesc(&back), DD_OK);
    EXPECT_EQ(back.dwWidth, 640u);
    EXPECT_EQ(back.dwHeight, 480u);
    EXPECT_NE(back.ddsCaps.dwCaps & DDSCAPS_OFFSCREENPLAIN, 0u);

    EXPECT_EQ(engine::gfxBlitTarget(), &engine::backBufferTarget());
    EXPECT_EQ(engine_test::scene().hudCreated, 1);
    EXPECT_NE(engine::gfxSplash(), nullptr);
    EXPECT_EQ(displayConfig().viewport, (engine::Rect{0, 0, 640, 480}));
}

// The title picture fills the client area exactly: every pixel of the
// client area is the picture's pixel at the same place.
TEST_F(EngineTest, SplashLandsExactlyInTheClientArea) {
    engine_test::ArtFile art;
    ASSERT_TRUE(art.open("abelha.ff"));
    const auto init = art.picture("init.bmp");
    ASSERT_TRUE(init.has_value());
    ASSERT_EQ(init->width, 640);
    ASSERT_EQ(init->height, 480);
    const engine_test::ExpectedPicture expected(*init, true);

    ASSERT_TRUE(engine::InitGraphics());
    engine_test::pumpMessages(50);
    ASSERT_TRUE(engine::gfxShowSplash());
    const auto mismatchesIn = [&](const engine_test::Screenshot& shot, bool report) {
        int mismatches = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                if (shot.at(x, y) != expected.at(x, y).value_or(0xFFFFFF) && ++mismatches <= 5 && report)
                    ADD_FAILURE() << "at " << x << "," << y << std::hex << ": 0x" << shot.at(x, y) << " instead of 0x"
                                  << expected.at(x, y).value_or(0xFFFFFF);
        return mismatches;
    };
    const engine_test::Screenshot shot = engine_test::captureClientWhen(
        hwnd(), [&](const engine_test::Screenshot& s) { return s.pixels.size() == 640u * 480u && mismatchesIn(s, false) == 0; },
        3000);
    ASSERT_EQ(shot.pixels.size(), 640u * 480u);
    engine_test::saveBmp(shot, "engine_splash.bmp");
    const int mismatches = mismatchesIn(shot, true);
    EXPECT_EQ(mismatches, 0);
}

TEST_F(EngineTest, StartUpWithoutTheArtFileShowsNoSplash) {
    engine::GameHooks hooks = engine_test::beeHooks();
    hooks.artFile = "nowhere.ff";
    engine::gfxSetGameHooks(&hooks);
    ASSERT_TRUE(engine::InitGraphics());
    EXPECT_EQ(engine::gfxSplash(), nullptr);
    EXPECT_FALSE(engine::gfxShowSplash());
    EXPECT_EQ(engine_test::scene().hudCreated, 1);
    engine::ReleaseGraphics();
    engine::gfxSetGameHooks(&engine_test::beeHooks());
}

// ---- gfxEnd and the next gfxBegin --------------------------------------------

TEST_F(EngineTest, EndFreesEveryBitmapAndKeepsDirectDrawForTheNextBegin) {
    ASSERT_TRUE(engine::InitGraphics());
    ASSERT_NE(engine::gfxBitmapList(), nullptr);
    IDirectDraw* directDraw = displayObjects().directDraw;

    EXPECT_TRUE(engine::gfxEnd());
    EXPECT_EQ(engine::gfxBitmapList(), nullptr);
    EXPECT_EQ(engine::gfxSplash(), nullptr);
    EXPECT_FALSE(engine::gfxShowSplash());
    EXPECT_EQ(engine::gfxBlitTarget(), nullptr);
    EXPECT_EQ(displayObjects().frontBuffer, nullptr);
    EXPECT_EQ(displayObjects().backBuffer, nullptr);
    EXPECT_EQ(displayObjects().clipper, nullptr);
    EXPECT_EQ(displayObjects().directDraw, directDraw);
    EXPECT_EQ(engine::ArtArchiveRetiredCount(), 0u);

    ASSERT_TRUE(engine::gfxBegin());
    EXPECT_EQ(displayObjects().directDraw, directDraw);
    EXPECT_NE(displayObjects().backBuffer, nullptr);
    RECT client{};
    GetClientRect(hwnd(), &client);
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 480);
    engine::gfxEnd();
}

void writeFatalToStderr(const char* line) {
    std::fputs(line, stderr);
    std::fflush(stderr);
}

// A display that cannot be opened (here: no window to lay out) ends the
// program through the fatal exit, with exit code 0.
TEST(FatalStart, CreateBufferEndsTheProgramWhenTheDisplayCannotOpen) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            engine::gfxSetFatalWriter(writeFatalToStderr);
            engine::displayObjects().window = nullptr;
            engine::displayConfig().fullScreen = false;
            int32_t handle = 0;
            engine::CreateBuffer(handle);
        },
        ::testing::ExitedWithCode(0), "FATAL ERROR: gfxBegin failed");
}

// ---- surfaces ----------------------------------------------------------------

TEST_F(EngineTest, ColorMatchGivesThePixelValueAndLeavesThePixelAsItWas) {
    ASSERT_TRUE(engine::gfxBegin());
    IDirectDrawSurface* back = displayObjects().backBuffer;
    engine::backBufferTarget().colorFill(engine::Rect{0, 0, 4, 4}, 0x00123456);

    struct Case {
        COLORREF color;
        uint32_t pixel;
    };
    for (const Case c : {Case{RGB(0, 0, 0), 0x000000}, Case{RGB(255, 255, 255), 0xFFFFFF},
                         Case{RGB(255, 0, 0), 0xFF0000}, Case{RGB(0, 255, 0), 0x00FF00},
                         Case{RGB(0, 0, 255), 0x0000FF}, Case{RGB(0x12, 0x34, 0x56), 0x123456}}) {
        EXPECT_EQ(engine::gfxColorMatch(back, c.color), c.pixel) << std::hex << c.color;
    }
    EXPECT_EQ(engine_test::readSurface(back).at(0, 0), 0x123456u);
    EXPECT_EQ(engine::gfxColorMatch(nullptr, RGB(1, 2, 3)), 0xFFFFFFFFu);
    engine::gfxEnd();
}

TEST_F(EngineTest, OffscreenSurfacesCarryTheWhiteSourceKeyWhenAsked) {
    ASSERT_TRUE(engine::gfxBegin());
    struct Case {
        int32_t width, height;
        bool systemMemory, keyed;
    };
    for (const Case c : {Case{32, 16, false, true}, Case{17, 3, true, false}, Case{1, 1, false, false}}) {
        IDirectDrawSurface* surface = engine::gfxCreateOffscreen(c.width, c.height, c.systemMemory, c.keyed);
        ASSERT_NE(surface, nullptr);
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof desc;
        ASSERT_EQ(surface->GetSurfaceDesc(&desc), DD_OK);
        EXPECT_EQ(desc.dwWidth, static_cast<DWORD>(c.width));
        EXPECT_EQ(desc.dwHeight, static_cast<DWORD>(c.height));
        // Asked for system memory, it must be there; otherwise the driver
        // chooses (Wine's GDI renderer has no video memory at all).
        if (c.systemMemory) {
            EXPECT_NE(desc.ddsCaps.dwCaps & DDSCAPS_SYSTEMMEMORY, 0u);
        }
        DDCOLORKEY key{};
        const HRESULT keyed = surface->GetColorKey(DDCKEY_SRCBLT, &key);
        EXPECT_EQ(keyed == DD_OK, c.keyed);
        if (c.keyed) {
            EXPECT_EQ(key.dwColorSpaceLowValue, 0x00FFFFFFu);
        }
        surface->Release();
    }
    EXPECT_EQ(engine::gfxCreateOffscreen(0, 0, false, true), nullptr);
    EXPECT_EQ(engine::gfxCreateOffscreen(-5, 10, false, false), nullptr);
    engine::gfxEnd();
}

// ---- palette -----------------------------------------------------------------

// The palette file's parsing is the portable core's; here the entries
// must reach DirectDraw unchanged.
TEST_F(EngineTest, TheDefaultPaletteReachesDirectDrawAs332) {
    ASSERT_TRUE(engine::gfxBegin());
    IDirectDrawPalette* palette = engine::gfxLoadPalette(nullptr);
    ASSERT_NE(palette, nullptr);
    PALETTEENTRY entries[256]{};
    ASSERT_EQ(palette->GetEntries(0, 0, 256, entries), DD_OK);
    for (int i = 1; i < 255; ++i) {
        ASSERT_EQ(entries[i].peRed, (i >> 5 & 7) * 255 / 7) << i;
        ASSERT_EQ(entries[i].peGreen, (i >> 2 & 7) * 255 / 7) << i;
        ASSERT_EQ(entries[i].peBlue, (i & 3) * 85) << i;
    }
    palette->Release();
    engine::gfxEnd();
}

// ---- bitmaps -----------------------------------------------------------------

TEST_F(EngineTest, LoadedPicturesBecomeKeyedSurfacesOfTheirSize) {
    ASSERT_TRUE(engine::gfxBegin());
    ASSERT_TRUE(engine::ArtArchiveOpen("abelha.ff", 5));
    struct Case {
        const char* name;
        bool loads;
        bool transparent;
        DWORD width, height;
    };
    for (const Case c : {Case{"ab0.BMP", true, true, 47, 64}, Case{"MOSCA.BMP", true, true, 38, 38},
                         Case{"051.bmp", true, false, 32, 32}, Case{"init.bmp", true, false, 640, 480},
                         Case{"missing.bmp", false, false, 0, 0}, Case{"", false, false, 0, 0}}) {
        engine::GfxBitmap* bitmap = engine::gfxLoadBitmap(c.name);
        ASSERT_EQ(bitmap != nullptr, c.loads) << c.name;
        if (bitmap == nullptr) continue;
        EXPECT_EQ(bitmap->transparent, c.transparent) << c.name;
        ASSERT_NE(bitmap->surface, nullptr) << c.name;
        EXPECT_EQ(engine::gfxBitmapList(), bitmap) << "linked at the head";
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof desc;
        ASSERT_EQ(engine::toSurface(bitmap->surface)->GetSurfaceDesc(&desc), DD_OK);
        EXPECT_EQ(desc.dwWidth, c.width) << c.name;
        EXPECT_EQ(desc.dwHeight, c.height) << c.name;
        DDCOLORKEY key{};
        EXPECT_EQ(engine::toSurface(bitmap->surface)->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK) << c.name;
    }
    engine::ArtArchiveClose();
    engine::gfxEnd();
}

TEST_F(EngineTest, SolidBitmapsAreAFillValueWithoutSurface) {
    ASSERT_TRUE(engine::gfxBegin());
    engine::GfxBitmap* solid = engine::gfxCreateSolidBitmap(RGB(10, 200, 30));
    ASSERT_NE(solid, nullptr);
    EXPECT_EQ(solid->surface, nullptr);
    EXPECT_FALSE(solid->transparent);
    EXPECT_EQ(solid->fillValue, 0x0AC81Eu);
    EXPECT_TRUE(engine::gfxRestore(solid));
    // A listed bitmap is freed only with the whole list.
    EXPECT_FALSE(engine::gfxFreeBitmap(solid));
    EXPECT_FALSE(engine::gfxFreeBitmap(nullptr));
    EXPECT_EQ(engine::gfxBitmapList(), solid);
    engine::gfxEnd();
    EXPECT_EQ(engine::gfxBitmapList(), nullptr);
}

}  // namespace
