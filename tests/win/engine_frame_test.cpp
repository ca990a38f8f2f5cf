// Frames of the bee's scenery composed and presented through Wine's
// DirectDraw and read back from the screen; the game set-up and tear-down;
// the restore after a surface loss.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <optional>
#include <vector>

#include "engine/art_archive.h"
#include "engine/bitmap_win.h"
#include "engine/blit.h"
#include "engine/game_hooks.h"
#include "engine_fixture.h"

namespace {

using engine::displayObjects;
using engine_test::EngineTest;
using engine_test::ExpectedPicture;
using engine_test::scene;
using engine_test::Screenshot;

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// ---- the frame under test ------------------------------------------------------

struct PlaneView {
    const char* list;
    int width, height;  // tiles
    int x, y;           // pixels
};
// Drawn in the bee game's order: back, front, middle.
constexpr PlaneView kBack{"BACKLIST", 20, 16, 5, 20};
constexpr PlaneView kFront{"FORELIST", 30, 15, 13, 0};
constexpr PlaneView kMiddle{"MIDLIST", 26, 20, 7, 0};

struct SpriteView {
    int slot;
    engine::Rect dest;
    int sourceX, sourceY;
};
constexpr SpriteView kBee{engine_test::kSpriteSlot, {200, 150, 247, 214}, 0, 0};
constexpr SpriteView kFly{175, {0, 300, 28, 338}, 10, 0};  // cut by the left edge
constexpr engine::Rect kSolidRect{600, 10, 630, 40};
constexpr COLORREF kSolidColor = RGB(10, 200, 30);

engine::GfxBitmap* g_solid = nullptr;
bool g_presented = false;

void placePlanes() {
    engine::backPlane().moveX(kBack.x << 16, engine::kModeSet);
    engine::backPlane().moveY(kBack.y << 16, engine::kModeSet);
    engine::frontPlane().moveX(kFront.x << 16, engine::kModeSet);
    engine::middlePlane().moveX(kMiddle.x << 16, engine::kModeSet);
}

void drawSprite(const SpriteView& sprite, const engine::GfxBitmap* bitmap) {
    engine::gfxDrawBitmap(sprite.dest, bitmap, sprite.sourceX, sprite.sourceY);
}

void drawTestFrame() {
    engine::backPlane().draw();
    engine::frontPlane().draw();
    engine::middlePlane().draw();
    drawSprite(kBee, scene().slots[kBee.slot]);
    drawSprite(kFly, scene().slots[kFly.slot]);
    engine::gfxDrawBitmap(kSolidRect, g_solid, 0, 0);
    g_presented = engine::gfxPresent();
}

// ---- what the frame must look like -------------------------------------------

class Pictures {
public:
    explicit Pictures(const engine_test::ArtFile& art) : art_(art) {}
    const ExpectedPicture* get(const char* name) {
        auto found = cache_.find(name);
        if (found == cache_.end()) {
            const auto picture = art_.picture(name);
            found = cache_.emplace(name, picture ? std::optional<ExpectedPicture>(ExpectedPicture(*picture))
                                                 : std::nullopt).first;
        }
        return found->second ? &*found->second : nullptr;
    }
    const ExpectedPicture* tile(int number) {
        char name[16];
        std::snprintf(name, sizeof name, "%03d.BMP", number);
        return get(name);
    }

private:
    const engine_test::ArtFile& art_;
    std::map<std::string, std::optional<ExpectedPicture>> cache_;
};

using Canvas = std::vector<uint32_t>;
constexpr uint32_t kNothing = 0xFF000000;  // no layer drew here

// Marks in `keyed` the pixels where the plane has a tile whose colour key
// let the layer below show.
void paintPlane(Canvas& canvas, std::vector<bool>& keyed, const PlaneView& view, Pictures& pictures) {
    const std::vector<int> cells = engine_test::readPlaneList(view.list, view.width, view.height);
    keyed.assign(canvas.size(), false);
    for (int y = 0; y < kHeight; ++y) {
        const int py = (y + view.y) % (view.height * 32);
        for (int x = 0; x < kWidth; ++x) {
            const int px = (x + view.x) % (view.width * 32);
            const int number = cells[static_cast<size_t>(py / 32 * view.width + px / 32)];
            if (number == 0) continue;
            const ExpectedPicture* tile = pictures.tile(number);
            ASSERT_NE(tile, nullptr) << "tile " << number;
            const auto color = tile->at(px % 32, py % 32);
            if (color) {
                canvas[static_cast<size_t>(y * kWidth + x)] = *color;
            } else {
                keyed[static_cast<size_t>(y * kWidth + x)] = true;
            }
        }
    }
}

void paintSprite(Canvas& canvas, std::vector<bool>& keyed, const SpriteView& sprite, const ExpectedPicture& picture) {
    keyed.assign(canvas.size(), false);
    for (int y = sprite.dest.top; y < sprite.dest.bottom; ++y)
        for (int x = sprite.dest.left; x < sprite.dest.right; ++x) {
            const auto color = picture.at(sprite.sourceX + x - sprite.dest.left, sprite.sourceY + y - sprite.dest.top);
            if (color) {
                canvas[static_cast<size_t>(y * kWidth + x)] = *color;
            } else {
                keyed[static_cast<size_t>(y * kWidth + x)] = true;
            }
        }
}

// Differences between a screenshot and the expected pixels (kNothing and
// keyed pixels of a surface count as white), the first few reported.
int countMismatches(const Screenshot& shot, const Canvas& expected, const char* what, bool report = true) {
    if (shot.pixels.size() != expected.size()) {
        if (report) ADD_FAILURE() << what << ": " << shot.pixels.size() << " pixels instead of " << expected.size();
        return static_cast<int>(expected.size());
    }
    int mismatches = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            const uint32_t want = expected[static_cast<size_t>(y * shot.width + x)];
            if (shot.at(x, y) == want) continue;
            if (++mismatches <= 5 && report)
                ADD_FAILURE() << what << " at " << x << "," << y << std::hex << ": 0x" << shot.at(x, y)
                              << " instead of 0x" << want;
        }
    return mismatches;
}

Canvas surfaceImage(const ExpectedPicture& picture) {
    Canvas image(static_cast<size_t>(picture.width()) * picture.height());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            image[static_cast<size_t>(y * picture.width() + x)] = picture.at(x, y).value_or(0xFFFFFF);
    return image;
}

void fillBlack(const engine::GfxBitmap* bitmap) {
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = 0;
    ASSERT_EQ(engine::toSurface(bitmap->surface)->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx),
              DD_OK);
}

bool isAllBlack(const engine::GfxBitmap* bitmap) {
    const Screenshot pixels = engine_test::readSurface(engine::toSurface(bitmap->surface));
    if (pixels.pixels.empty()) return false;
    for (uint32_t p : pixels.pixels)
        if (p != 0) return false;
    return true;
}

// ---- loss ------------------------------------------------------------------------

std::vector<IDirectDrawSurface*> g_lost;
bool g_displayLost = false;

HRESULT reportLoss(IDirectDrawSurface* surface) {
    const engine::DisplayObjects& d = displayObjects();
    if (g_displayLost && (surface == d.frontBuffer || surface == d.backBuffer)) return DDERR_SURFACELOST;
    for (IDirectDrawSurface* lost : g_lost)
        if (lost == surface) return DDERR_SURFACELOST;
    return DD_OK;
}

class FrameTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        ASSERT_TRUE(art_.open("abelha.ff"));
        ASSERT_TRUE(engine::InitGraphics());
        engine_test::pumpMessages(50);
        ASSERT_TRUE(engine::SetupGame());
        g_lost.clear();
        g_displayLost = false;
        g_presented = false;
    }
    void TearDown() override {
        g_solid = nullptr;
        EngineTest::TearDown();
    }
    const engine::GfxBitmap* slot(int index) const { return scene().slots[static_cast<size_t>(index)]; }
    // The test frame, drawn and presented by RenderFrame while playing.
    void renderTestFrame() {
        g_solid = engine::gfxCreateSolidBitmap(kSolidColor);
        ASSERT_NE(g_solid, nullptr);
        placePlanes();
        scene().playing = true;
        scene().frameDrawer = drawTestFrame;
        ASSERT_TRUE(engine::RenderFrame());
    }
    void loseDisplayAnd(std::vector<const engine::GfxBitmap*> bitmaps) {
        g_displayLost = true;
        g_lost.clear();
        for (const engine::GfxBitmap* b : bitmaps) g_lost.push_back(engine::toSurface(b->surface));
        engine::gfxSetSurfaceLossProbe(reportLoss);
    }

    engine_test::ArtFile art_;
};

// ---- tests -------------------------------------------------------------------------

TEST_F(FrameTest, SetupBuildsTheThreePlanesFromTheListsAndTheTileSlots) {
    EXPECT_TRUE(engine::gfxGameIsSetUp());
    struct Case {
        engine::Plane* plane;
        PlaneView view;
        uint16_t divisor;
    };
    for (const Case& c : {Case{&engine::frontPlane(), kFront, 1}, Case{&engine::middlePlane(), kMiddle, 3},
                          Case{&engine::backPlane(), kBack, 10}}) {
        const engine::PlaneData* data = c.plane->data();
        ASSERT_NE(data, nullptr) << c.view.list;
        EXPECT_EQ(data->width, c.view.width) << c.view.list;
        EXPECT_EQ(data->height, c.view.height) << c.view.list;
        EXPECT_EQ(data->divisor, c.divisor) << c.view.list;
        const std::vector<int> cells = engine_test::readPlaneList(c.view.list, c.view.width, c.view.height);
        for (size_t i = 0; i < cells.size(); ++i) {
            const engine::GfxBitmap* want = cells[i] == 0 ? nullptr : slot(cells[i] - 1);
            ASSERT_EQ(data->cells[i], want) << c.view.list << " cell " << i;
        }
    }
}

// One frame through RenderFrame: three planes, two sprites and a colour
// fill, presented to the window and read back from the screen.
TEST_F(FrameTest, APresentedFrameShowsThePlanesAndSpritesThroughTheirColourKey) {
    renderTestFrame();
    EXPECT_EQ(scene().sceneSteps, 1);
    ASSERT_TRUE(g_presented);

    Pictures pictures(art_);
    Canvas canvas(static_cast<size_t>(kWidth * kHeight), kNothing);
    std::vector<bool> keyed;
    paintPlane(canvas, keyed, kBack, pictures);
    paintPlane(canvas, keyed, kFront, pictures);
    const Canvas beneathMiddle = canvas;
    paintPlane(canvas, keyed, kMiddle, pictures);
    const std::vector<bool> middleKeyed = keyed;
    const Canvas scenery = canvas;
    paintSprite(canvas, keyed, kBee, *pictures.get("ab0.BMP"));
    const std::vector<bool> beeKeyed = keyed;
    paintSprite(canvas, keyed, kFly, *pictures.get("mosca.bmp"));
    for (int y = kSolidRect.top; y < kSolidRect.bottom; ++y)
        for (int x = kSolidRect.left; x < kSolidRect.right; ++x) canvas[static_cast<size_t>(y * kWidth + x)] = 0x0AC81E;

    const Screenshot shot = engine_test::captureClientWhen(
        hwnd(), [&](const Screenshot& s) { return countMismatches(s, canvas, "frame", false) == 0; }, 3000);
    ASSERT_EQ(shot.pixels.size(), static_cast<size_t>(kWidth * kHeight));
    EXPECT_TRUE(engine_test::saveBmp(shot, "engine_frame.bmp"));
    EXPECT_EQ(countMismatches(shot, canvas, "frame"), 0);

    // Where the hills' tiles are white the planes below show, and where the
    // bee is white the scenery does: never the white itself.
    int throughMiddle = 0;
    int throughBee = 0;
    for (size_t i = 0; i < canvas.size(); ++i) {
        const uint32_t seen = shot.pixels[i];
        if (middleKeyed[i] && !beeKeyed[i]) {
            ++throughMiddle;
            ASSERT_EQ(seen, beneathMiddle[i]) << "pixel " << i;
            ASSERT_NE(seen, 0xFFFFFFu) << "pixel " << i;
        }
        if (beeKeyed[i]) {
            ++throughBee;
            ASSERT_EQ(seen, scenery[i]) << "pixel " << i;
        }
    }
    EXPECT_GT(throughMiddle, 0);
    EXPECT_GT(throughBee, 0);
}

// F11: the same frame over a borderless window that covers the screen,
// scaled with its proportions kept.  Each screen pixel shows the frame's
// pixel at x * 640 / width (and y * 480 / height), as the DirectDraw stretch
// has always put it; a change of the stretch that moved pixels shows here.
TEST_F(FrameTest, AFrameScaledOverTheScreenShowsEachFramePixelWhereTheStretchPutsIt) {
    renderTestFrame();
    ASSERT_TRUE(g_presented);
    engine_test::pumpMessages(200);
    const Screenshot windowed = engine_test::captureClient(hwnd());
    ASSERT_EQ(windowed.pixels.size(), static_cast<size_t>(kWidth * kHeight));

    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    SetMenu(hwnd(), nullptr);
    SetWindowLongPtrW(hwnd(), GWL_STYLE, WS_POPUP | WS_VISIBLE | WS_SYSMENU);
    ASSERT_TRUE(SetWindowPos(hwnd(), HWND_TOP, 0, 0, width, height, SWP_FRAMECHANGED | SWP_SHOWWINDOW));
    engine_test::pumpMessages(50);
    RECT client{};
    ASSERT_TRUE(GetClientRect(hwnd(), &client));
    ASSERT_EQ(client.right, width) << "the window does not cover the screen";
    engine::displayConfig().borderless = true;
    engine::gfxUpdatePresentRect();
    const engine::Rect frame = engine::letterboxedRect({0, 0, width, height}, kWidth, kHeight);
    ASSERT_EQ(engine::displayConfig().presentRect, frame);
    ASSERT_TRUE(engine::RenderFrame());
    ASSERT_TRUE(g_presented);

    const auto mismatches = [&](const Screenshot& shot) {
        int wrong = 0;
        for (int y = frame.top; y < frame.bottom; ++y)
            for (int x = frame.left; x < frame.right; ++x) {
                const int fromX = (x - frame.left) * kWidth / frame.width();
                const int fromY = (y - frame.top) * kHeight / frame.height();
                wrong += shot.at(x, y) != windowed.at(fromX, fromY);
            }
        return wrong;
    };
    const Screenshot scaled = engine_test::captureClientWhen(
        hwnd(), [&](const Screenshot& shot) { return shot.width == width && mismatches(shot) == 0; }, 3000);
    ASSERT_EQ(scaled.width, width);
    EXPECT_TRUE(engine_test::saveBmp(scaled, "engine_frame_scaled.bmp"));
    EXPECT_EQ(mismatches(scaled), 0) << "of " << frame.width() * frame.height() << " pixels";
}

TEST_F(FrameTest, RenderFrameRunsTheSceneOnlyWhilePlaying) {
    scene().frameDrawer = drawTestFrame;
    scene().playing = false;
    engine::RenderFrame();
    EXPECT_EQ(scene().sceneSteps, 0);
    scene().playing = true;
    engine::RenderFrame();
    engine::RenderFrame();
    EXPECT_EQ(scene().sceneSteps, 2);
    EXPECT_EQ(scene().pauses, 0);
}

// The splash was loaded before SetupGame reopened the art file; its
// picture must still be readable when it is refilled.
TEST_F(FrameTest, ARestoreRefillsTheLostBitmapsFromTheirPictures) {
    EXPECT_EQ(engine::ArtArchiveRetiredCount(), 1u) << "the splash's mapping is kept";
    const engine::GfxBitmap* bee = slot(kBee.slot);
    const engine::GfxBitmap* fly = slot(kFly.slot);
    const engine::GfxBitmap* splash = engine::gfxSplash();
    ASSERT_NE(splash, nullptr);
    for (const engine::GfxBitmap* b : {bee, fly, splash}) {
        fillBlack(b);
        ASSERT_TRUE(isAllBlack(b));
    }

    loseDisplayAnd({bee, splash});
    EXPECT_TRUE(engine::RenderFrame());
    EXPECT_EQ(scene().hudRestored, 1);
    EXPECT_EQ(scene().pauses, 0);

    const ExpectedPicture beePicture(*art_.picture("ab0.BMP"));
    const ExpectedPicture splashPicture(*art_.picture("init.bmp"));
    EXPECT_EQ(countMismatches(engine_test::readSurface(engine::toSurface(bee->surface)), surfaceImage(beePicture),
                              "bee"),
              0);
    EXPECT_EQ(countMismatches(engine_test::readSurface(engine::toSurface(splash->surface)),
                              surfaceImage(splashPicture), "splash"),
              0);
    EXPECT_TRUE(isAllBlack(fly)) << "a surface that was not lost is left alone";
}

TEST_F(FrameTest, APutOffRefillMakesTheNextRestoreRefillEveryBitmap) {
    const engine::GfxBitmap* bee = slot(kBee.slot);
    const engine::GfxBitmap* fly = slot(kFly.slot);
    fillBlack(bee);
    fillBlack(fly);
    displayObjects().restorePending = true;
    EXPECT_TRUE(engine::gfxRestoreAll());
    EXPECT_FALSE(displayObjects().restorePending);
    EXPECT_FALSE(isAllBlack(bee));
    EXPECT_FALSE(isAllBlack(fly));
}

// On an 8-bit window the pictures must not be converted while another
// application's palette is in force.  The virtual display has 32 bits, so
// the test only tells the engine the display has 8: the decision is what
// is tested, the conversion itself is the same.
TEST_F(FrameTest, OnAnEightBitWindowTheRefillWaitsForTheForegroundThenRefillsEverything) {
    const engine::GfxBitmap* bee = slot(kBee.slot);
    const engine::GfxBitmap* fly = slot(kFly.slot);
    fillBlack(bee);
    fillBlack(fly);
    engine::displayConfig().bitsPerPixel = 8;
    engine_test::GameWindow other;
    ASSERT_TRUE(SetForegroundWindow(other.hwnd()));
    ASSERT_EQ(GetForegroundWindow(), other.hwnd());

    loseDisplayAnd({bee});
    scene().playing = true;
    scene().frameDrawer = drawTestFrame;
    EXPECT_TRUE(engine::RenderFrame());
    EXPECT_GE(scene().pauses, 1);
    EXPECT_EQ(scene().sceneSteps, 0);
    EXPECT_TRUE(displayObjects().restorePending);
    EXPECT_TRUE(isAllBlack(bee));

    ASSERT_TRUE(SetForegroundWindow(hwnd()));
    const int pauses = scene().pauses;
    EXPECT_TRUE(engine::RenderFrame());
    EXPECT_EQ(scene().pauses, pauses);
    EXPECT_EQ(scene().sceneSteps, 1);
    EXPECT_FALSE(displayObjects().restorePending);
    EXPECT_FALSE(isAllBlack(bee));
    EXPECT_FALSE(isAllBlack(fly)) << "refilled although it was not lost";
}

TEST_F(FrameTest, ARestoreThatFailsPausesDrawingAndDrawsNothing) {
    const engine::GfxBitmap* bee = slot(kBee.slot);
    fillBlack(bee);
    scene().hudRestorable = false;
    scene().playing = true;
    scene().frameDrawer = drawTestFrame;
    loseDisplayAnd({bee});
    EXPECT_TRUE(engine::RenderFrame());
    EXPECT_EQ(scene().pauses, 1);
    EXPECT_EQ(scene().sceneSteps, 0);
    EXPECT_TRUE(isAllBlack(bee));
    EXPECT_FALSE(engine::RestoreDisplay());
}

TEST_F(FrameTest, TeardownFreesTheGameAndStopsTheGraphics) {
    engine::TeardownGame();
    EXPECT_FALSE(engine::gfxGameIsSetUp());
    EXPECT_EQ(engine::gfxBitmapList(), nullptr);
    EXPECT_EQ(engine::frontPlane().data(), nullptr);
    EXPECT_EQ(engine::middlePlane().data(), nullptr);
    EXPECT_EQ(engine::backPlane().data(), nullptr);
    EXPECT_EQ(displayObjects().frontBuffer, nullptr);
    EXPECT_EQ(engine::ArtArchiveRetiredCount(), 0u);

    // A frame asked for now finds no surfaces: it pauses instead of drawing
    // with the freed bitmaps.
    scene().playing = true;
    scene().frameDrawer = drawTestFrame;
    EXPECT_TRUE(engine::RenderFrame());
    EXPECT_EQ(scene().sceneSteps, 0);
    EXPECT_EQ(scene().pauses, 1);
    engine::TeardownGame();  // nothing left to undo

    // A new start-up after the tear-down brings the splash back, but not the
    // game until the next SetupGame.
    ASSERT_TRUE(engine::InitGraphics());
    EXPECT_NE(engine::gfxSplash(), nullptr);
    EXPECT_FALSE(engine::gfxGameIsSetUp());
    engine::RenderFrame();
    EXPECT_EQ(scene().sceneSteps, 0);
    ASSERT_TRUE(engine::SetupGame());
    engine::RenderFrame();
    EXPECT_EQ(scene().sceneSteps, 1);
}

TEST_F(FrameTest, SetupFailsWhenTheBitmapSetCannotBeLoaded) {
    engine::TeardownGame();
    ASSERT_TRUE(engine::InitGraphics());
    scene().loadSucceeds = false;
    EXPECT_FALSE(engine::SetupGame());
    EXPECT_FALSE(engine::gfxGameIsSetUp());
}

}  // namespace
