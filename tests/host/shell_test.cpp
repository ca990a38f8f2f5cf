#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "shell/hud_layout.h"
#include "shell/phonation.h"
#include "shell/result_file.h"

namespace {

using shell::SegmentColour;

// --- phonation timer ---------------------------------------------------------

struct RecordedEvents : shell::IPhonationEvents {
    uint32_t clock = 0;
    int frames = 0, stops = 0;
    uint32_t now() override { return clock; }
    void renderFrame() override { ++frames; }
    void requestStop() override { ++stops; }
};

TEST(PhonationTimer, OnlyPhonationsLongerThanTwoSecondsAreTaken) {
    const struct {
        uint32_t start, leave, secondReading;
        bool taken;
        float elapsed;
    } cases[] = {
        {1000, 3000, 3000, false, 0},        // exactly 2000 ms: dropped
        {1000, 3001, 3001, true, 2001},      // 2001 ms: taken
        {1000, 9000, 9005, true, 8005},      // the time is read again when taken
        {0xFFFFF000u, 0x00000800u, 0x00000800u, true, 6144},  // across the tick wrap
        {5000, 5500, 5500, false, 0},
    };
    for (const auto& c : cases) {
        shell::ShellState state;
        RecordedEvents events;
        shell::startPhonation(state, c.start);
        events.clock = c.secondReading;
        EXPECT_EQ(shell::endPhonation(state, c.leave, events), c.taken) << c.start << "->" << c.leave;
        EXPECT_EQ(state.phonationStart, 0u) << "the timer stops either way";
        EXPECT_EQ(state.resultPending, c.taken);
        EXPECT_EQ(events.stops, c.taken ? 1 : 0);
        EXPECT_EQ(events.frames, c.taken ? 1 : 0) << "one last frame shows the final state";
        if (c.taken) {
            EXPECT_FLOAT_EQ(state.elapsedMs, c.elapsed);
        }
    }
}

TEST(PhonationTimer, NotRunningMeansNothingToTake) {
    shell::ShellState state;
    RecordedEvents events;
    events.clock = 100000;
    EXPECT_FALSE(shell::endPhonation(state, 100000, events));
    EXPECT_EQ(events.stops, 0);
    EXPECT_EQ(shell::runningPhonationMs(state, 100000), 0u);
    shell::startPhonation(state, 0);  // the tick count itself may be 0
    EXPECT_NE(state.phonationStart, 0u) << "a phonation starting at tick 0 still runs";
    EXPECT_EQ(shell::runningPhonationMs(state, 2500), 2499u);
}

// --- HUD layout ------------------------------------------------------------------

TEST(HudLayout, TimeAndBandLabels) {
    EXPECT_EQ(shell::hudTimeText(0), "Tempo 00:00:00");
    EXPECT_EQ(shell::hudTimeText(65432), "Tempo 01:05:43");
    const struct {
        float limit;
        int x;
        const char* text;
    } labels[] = {{10, 0, "10 db"}, {100, 81, "100 db"}, {0, -9, "0 db"}, {55, 36, "55 db"}, {120, 99, "120 db"}};
    for (const auto& l : labels) {
        EXPECT_EQ(shell::bandLabelX(l.limit), l.x) << l.limit;
        EXPECT_EQ(shell::bandLabelText(l.limit), l.text) << l.limit;
    }
}

TEST(HudLayout, MeterSegments) {
    voice::IntensitySettings band;  // 10 to 100, noise 20
    const auto G = SegmentColour::Green, R = SegmentColour::Red, _ = SegmentColour::Gray;
    const struct {
        const char* name;
        float level;
        std::array<SegmentColour, 12> segments;
    } cases[] = {
        {"35 dB in the band", 35.0f, {G, G, G, G, _, _, _, _, _, _, _, _}},
        {"15 dB below the noise", 15.0f, {R, R, _, _, _, _, _, _, _, _, _, _}},
        {"silence still fills segment 0", 0.0f, {R, _, _, _, _, _, _, _, _, _, _, _}},
        {"exactly the noise shows green", 20.0f, {G, G, G, _, _, _, _, _, _, _, _, _}},
        {"full scale", 93.8f, {G, G, G, G, G, G, G, G, G, G, _, _}},
    };
    for (const auto& c : cases) EXPECT_EQ(shell::meterSegments(c.level, band), c.segments) << c.name;

    voice::IntensitySettings narrow;
    narrow.minDb = 30;
    narrow.maxDb = 60;
    narrow.noiseDb = 10;
    EXPECT_EQ(shell::meterSegments(75.0f, narrow)[7], R) << "above the maximum is red";
    EXPECT_EQ(shell::meterSegments(29.0f, narrow)[0], R) << "below the minimum is red";
}

// --- result file -----------------------------------------------------------------

class ResultFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("te-result-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string read(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::filesystem::path dir_;
};

TEST_F(ResultFileTest, WritesExactlyTheEightCharacters) {
    const auto path = dir_ / "abelha.dat";
    {
        std::ofstream old(path);
        old << "an older, longer result that must go";
    }
    ASSERT_TRUE(shell::writeResultFile(path.string(), "00:07:35"));
    EXPECT_EQ(read(path), "00:07:35");
}

TEST_F(ResultFileTest, ReportsAFileThatCannotBeCreated) {
    EXPECT_FALSE(shell::writeResultFile((dir_ / "missing-folder" / "abelha.dat").string(), "00:07:35"));
    EXPECT_FALSE(shell::writeResultFile(dir_.string(), "00:07:35")) << "a folder is not a file";
}

TEST_F(ResultFileTest, RemovalToleratesAMissingFile) {
    const auto path = dir_ / "carro.dat";
    shell::removeResultFile(path.string());
    ASSERT_TRUE(shell::writeResultFile(path.string(), "01:05:43"));
    shell::removeResultFile(path.string());
    EXPECT_FALSE(std::filesystem::exists(path));
}

#if defined(__linux__)
TEST_F(ResultFileTest, AFullDiskIsAFailureAndLeavesNoPartialFile) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP();
    EXPECT_FALSE(shell::writeResultFile("/dev/full", "00:07:35"));
}
#endif

}  // namespace
