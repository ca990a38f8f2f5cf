// The four games' scenes through the one scene code: what each table makes
// the scene do, checked on behaviour (motion, heights, drawing), not by
// restating the tables.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <vector>

#include "engine/blit.h"
#include "engine/plane.h"
#include "scenes/scene.h"
#include "scene_test_support.h"

namespace {

using scenes::fixed;
using scenes::SceneDescription;

using scenetest::Blit;
using scenetest::surfaceOfSlot;

// One game's scene over fake pictures and empty planes of its sizes.
class GameScene {
public:
    explicit GameScene(const SceneDescription& description) : scene_(description) {
        voice::resetSmoothing();
        bitmaps_.resize(description.bitmapSlots);
        for (size_t i = 0; i < bitmaps_.size(); ++i) {
            bitmaps_[i].surface = surfaceOfSlot(static_cast<int>(i));
            bitmaps_[i].transparent = true;
            set_.push_back(&bitmaps_[i]);
        }
        front_.create(description.front.width, description.front.height, description.front.divisor);
        middle_.create(description.middle.width, description.middle.height, description.middle.divisor);
        back_.create(description.back.width, description.back.height, description.back.divisor);
        scene_.createMainSprite(set_, 0);
        scene_.createExtraSprites(set_, 0, [] { return 0; });
        session_.begin();
        engine::gfxSetBlitTarget(&target_);
    }
    ~GameScene() {
        engine::gfxSetBlitTarget(nullptr);
        front_.destroy();
        middle_.destroy();
        back_.destroy();
    }

    // Buffers at a steady level: the median of three then equals it.
    void levels(float db, int buffers) {
        for (int i = 0; i < buffers; ++i) scene_.onLevel(db, planes_, session_, settings_, now_ += 62, events_);
    }
    void step(bool playing = true) { scene_.step(planes_, playing, now_); }

    scenes::Scene& scene() { return scene_; }
    engine::Plane& plane(scenes::PlaneId id) { return planes_[id]; }
    std::vector<Blit>& blits() { return target_.blits; }
    const phonation::CaptureSession& session() const { return session_; }

private:
    std::vector<engine::GfxBitmap> bitmaps_;
    std::vector<const engine::GfxBitmap*> set_;
    engine::Plane front_, middle_, back_;
    scenes::ScenePlanes planes_{front_, middle_, back_};
    scenes::Scene scene_;
    phonation::CaptureSession session_;
    voice::IntensitySettings settings_;
    scenetest::Events events_;
    scenetest::RecordingTarget target_;
    uint32_t now_ = 1000;
};

constexpr float kInBand = 60.0f, kOutOfBand = 5.0f;

const struct Game {
    const char* name;
    const SceneDescription& (*scene)();
} kGames[] = {
    {"abelha", scenes::beeScene}, {"carro", scenes::carScene}, {"barco", scenes::boatScene}, {"menina", scenes::girlScene},
};

const SceneDescription& sceneNamed(const std::string& name) {
    for (const Game& g : kGames)
        if (name == g.name) return g.scene();
    throw std::invalid_argument(name);
}

// How far a plane moved in one step, in 16.16, taking its wrap into account.
int32_t movedBy(engine::Plane& plane, const std::function<void()>& step) {
    const int32_t before = plane.data()->x;
    step();
    const int64_t period = int64_t{plane.data()->width} * 32 * 65536;
    int64_t d = (int64_t{plane.data()->x} - before) % period;
    if (d > period / 2) d -= period;
    if (d < -period / 2) d += period;
    return static_cast<int32_t>(d);
}

TEST(SceneVariants, PlanesScrollAsEachGameMovesThem) {
    constexpr int32_t kThirdOf10 = 218453;  // 10 pixels / divisor 3, truncated
    const struct {
        const char* game;
        bool inBand;
        int32_t front, middle, back;  // 16.16 per step
    } cases[] = {
        {"abelha", true, 0, fixed(10), fixed(4)},     {"abelha", false, 0, kThirdOf10, 0},
        {"carro", true, fixed(15), fixed(10), fixed(4)}, {"carro", false, 0, kThirdOf10, 0},
        {"barco", true, 0, -fixed(10), fixed(4)},      {"barco", false, 0, -kThirdOf10, 0},
        {"menina", true, 0, fixed(10), fixed(4)},     {"menina", false, 0, kThirdOf10, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.game) + (c.inBand ? " in the band" : " out of the band"));
        GameScene g(sceneNamed(c.game));
        if (!c.inBand) {  // after a phonation, so the speeds are really set back
            g.levels(kInBand, 3);
            g.step();
        }
        g.levels(c.inBand ? kInBand : kOutOfBand, 3);
        int32_t front = 0, middle = 0, back = 0;
        // Each advance consumes its speed: the voice step sets it again for every frame.
        front = movedBy(g.plane(scenes::PlaneId::Front), [&] {
            middle = movedBy(g.plane(scenes::PlaneId::Middle), [&] {
                back = movedBy(g.plane(scenes::PlaneId::Back), [&] { g.step(); });
            });
        });
        EXPECT_EQ(front, c.front);
        EXPECT_EQ(middle, c.middle);
        EXPECT_EQ(back, c.back);
    }
}

TEST(SceneVariants, OnlyTheBeeChangesHeight) {
    for (const Game& game : kGames) {
        SCOPED_TRACE(game.name);
        GameScene g(game.scene());
        const int32_t startY = g.scene().mainSprite().data()->y;
        g.levels(kInBand, 3);
        EXPECT_EQ(g.scene().mainSprite().getAction(), scenes::kVoiced);
        EXPECT_TRUE(g.session().running()) << "the timer starts in every game";
        const int32_t voicedY = g.scene().mainSprite().data()->y;
        g.levels(kOutOfBand, 3);
        EXPECT_EQ(g.scene().mainSprite().getAction(), scenes::kIdle);
        const bool bee = std::string(game.name) == "abelha";
        EXPECT_EQ(voicedY, bee ? fixed(220) : startY);
        EXPECT_EQ(g.scene().mainSprite().data()->y, startY);
    }
}

int firstFrameSlot(const SceneDescription& d, int32_t action) {
    for (const auto& frame : d.mainSprite.frames)
        if (frame.action == action) return scenes::slotOf(d, frame.picture);
    return -1;
}

// The main sprite is drawn last, over every extra sprite.
TEST(SceneVariants, TheMainSpriteIsDrawnLast) {
    for (const Game& game : kGames) {
        SCOPED_TRACE(game.name);
        const SceneDescription& d = game.scene();
        GameScene g(d);
        g.levels(kInBand, 3);
        g.blits().clear();
        g.step(false);
        ASSERT_GE(g.blits().size(), d.extras.size());
        EXPECT_EQ(g.blits().back().surface, surfaceOfSlot(firstFrameSlot(d, scenes::kVoiced)));
        std::set<engine::SurfaceHandle> mainPictures;
        for (const auto& frame : d.mainSprite.frames) mainPictures.insert(surfaceOfSlot(scenes::slotOf(d, frame.picture)));
        for (std::size_t i = 0; i + 1 < g.blits().size(); ++i)
            EXPECT_FALSE(mainPictures.count(g.blits()[i].surface)) << "blit " << i << " draws the main sprite early";
    }
}

TEST(SceneVariants, TheBeesFramesAreNarrowerWhenIdle) {
    GameScene g(scenes::beeScene());
    const struct {
        float level;
        int32_t width;
    } cases[] = {{kOutOfBand, 47}, {kInBand, 55}, {kOutOfBand, 47}};
    for (const auto& c : cases) {
        g.levels(c.level, 3);
        g.blits().clear();
        g.step(false);
        const engine::Rect& source = g.blits().back().source;
        EXPECT_EQ(source.right - source.left, c.width) << c.level;
    }
}

// The cat is painted on the far lawn: it is drawn at its x less the back
// plane's, coming round again every 832 pixels.
TEST(SceneVariants, TheGirlsCatScrollsWithTheBackPlane) {
    const struct {
        int backX;
        bool visible;
        int32_t screenX;
    } cases[] = {{0, true, 170}, {500, true, 502}, {300, false, 0}};
    const SceneDescription& d = scenes::girlScene();
    const int firstCat = scenes::slotOf(d, "gato1.BMP");
    for (const auto& c : cases) {
        GameScene g(d);
        g.plane(scenes::PlaneId::Back).moveX(fixed(c.backX), 0);
        g.blits().clear();
        g.step(false);
        std::vector<Blit> cat;
        for (const Blit& b : g.blits())
            if (b.surface >= surfaceOfSlot(firstCat) && b.surface <= surfaceOfSlot(firstCat + 3)) cat.push_back(b);
        SCOPED_TRACE(c.backX);
        ASSERT_EQ(cat.size(), c.visible ? 1u : 0u);
        if (!c.visible) continue;
        EXPECT_EQ(cat[0].x, c.screenX);
        EXPECT_EQ(cat[0].source.right - cat[0].source.left, 73) << "whole";
    }
}

// Distance-driven animation: a new frame every threshold / speed steps.
TEST(SceneVariants, DistanceDrivenSpritesChangeFrameOnTheirThreshold) {
    const struct {
        const char* game;
        std::size_t extra;
        int everySteps;
    } cases[] = {
        {"barco", 2, 5},  // the first dolphin: threshold 10 at 2 pixels a step
        {"barco", 5, 5},  // the pelican: threshold 10 at 2
        {"menina", 0, 3}, // the dog: threshold 12 at 4
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.game) + " extra " + std::to_string(c.extra));
        GameScene g(sceneNamed(c.game));
        std::vector<int> changedAt;
        int frame = g.scene().extra(c.extra).data()->frame;
        for (int s = 1; s <= 4 * c.everySteps; ++s) {
            g.step();
            const int now = g.scene().extra(c.extra).data()->frame;
            if (now != frame) changedAt.push_back(s);
            frame = now;
        }
        EXPECT_EQ(changedAt, (std::vector<int>{c.everySteps, 2 * c.everySteps, 3 * c.everySteps, 4 * c.everySteps}));
    }
}

TEST(SceneVariants, TheDolphinsLeapRunsThroughItsEightFrames) {
    GameScene g(scenes::boatScene());
    std::vector<int> frames;
    for (int s = 0; s < 5 * 9; ++s) {
        if (s % 5 == 0) frames.push_back(g.scene().extra(2).data()->frame);
        g.step();
    }
    EXPECT_EQ(frames, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 0}));
}

// The check every description passes when it is compiled, run on faulty
// copies of a real one.
TEST(SceneDescriptionCheck, RefusesEachKindOfFault) {
    static constexpr std::string_view pictures[] = {"a.BMP", "b.BMP"};
    static constexpr scenes::FrameLayout frames[] = {{.picture = "a.BMP", .action = scenes::kIdle},
                                                      {.picture = "b.BMP", .action = scenes::kVoiced}};
    static constexpr scenes::FrameLayout strayFrame[] = {{.picture = "c.BMP"}};
    static constexpr scenes::SpriteLayout extra[] = {{.capacity = 1, .frames = {frames, 1}}};
    static constexpr int order[] = {0};
    static constexpr int badOrder[] = {1};
    static constexpr scenes::SpriteLayout main = {
        .capacity = 2, .frames = frames, .animation = scenes::Animation::ByTime, .intervalMs = 200};
    const SceneDescription good = {.bitmapSlots = 200, .spritePictures = pictures, .mainSprite = main,
                                   .extras = extra, .displayOrder = order};
    EXPECT_TRUE(scenes::sceneIsConsistent(good));
    std::vector<std::pair<const char*, SceneDescription>> faulty;
    auto with = [&](const char* what, auto change) {
        SceneDescription d = good;
        change(d);
        faulty.emplace_back(what, d);
    };
    with("capacity below the frames", [](SceneDescription& d) { d.mainSprite.capacity = 1; });
    with("a frame's picture not loaded", [](SceneDescription& d) { d.mainSprite.frames = strayFrame; });
    with("pictures past the slots", [](SceneDescription& d) { d.bitmapSlots = 171; });
    with("an extra left out of the display", [](SceneDescription& d) { d.displayOrder = {}; });
    with("a display index past the extras", [](SceneDescription& d) { d.displayOrder = badOrder; });
    with("a plane drawn twice", [](SceneDescription& d) { d.drawOrder[1] = scenes::PlaneId::Back; });
    with("a timed animation without interval", [](SceneDescription& d) { d.mainSprite.intervalMs = 0; });
    with("a still sprite with a speed", [](SceneDescription& d) {
        static constexpr scenes::SpriteLayout still[] = {{.capacity = 1, .frames = {frames, 1}, .speed = 1, .moves = false}};
        d.extras = still;
    });
    for (const auto& [what, d] : faulty) EXPECT_FALSE(scenes::sceneIsConsistent(d)) << what;
    for (const Game& game : kGames) EXPECT_TRUE(scenes::sceneIsConsistent(game.scene())) << game.name;
}

}  // namespace
