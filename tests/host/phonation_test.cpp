// The phonation timer of one recording and the result file.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "phonation/capture_session.h"
#include "phonation/result_file.h"
#include "phonation/time_text.h"

namespace {

using phonation::CaptureSession;

struct RecordedEvents : phonation::IPhonationEvents {
    int frames = 0, stops = 0;
    void renderFrame() override { ++frames; }
    void requestStop() override { ++stops; }
};

// --- the timer -------------------------------------------------------------------

TEST(CaptureSession, OnlyPhonationsLongerThanTwoSecondsAreTaken) {
    const struct {
        uint32_t enter, leave;
        bool taken;
    } cases[] = {
        {1000, 3000, false},  // exactly 2000 ms: dropped
        {1000, 3001, true},   // 2001 ms: taken
        {0, 65432, true},     // a phonation from the recording's very first buffer
        {5000, 5500, false},
    };
    for (const auto& c : cases) {
        CaptureSession session;
        RecordedEvents events;
        session.begin();
        session.enterBand(c.enter);
        EXPECT_EQ(session.runningMs(c.enter + 100), 100u);
        EXPECT_EQ(session.leaveBand(c.leave, events), c.taken) << c.enter << "->" << c.leave;
        EXPECT_FALSE(session.running()) << "the timer stops either way";
        EXPECT_EQ(events.stops, c.taken ? 1 : 0);
        EXPECT_EQ(events.frames, c.taken ? 1 : 0) << "one last frame shows the final state";
        EXPECT_EQ(session.open(), !c.taken) << "taking a phonation ends the session's timing";
        const auto result = session.takeResult();
        EXPECT_EQ(result.has_value(), c.taken);
        if (result) {
            EXPECT_FLOAT_EQ(*result, static_cast<float>(c.leave - c.enter));
        }
        EXPECT_FALSE(session.takeResult()) << "a result is handed out once";
    }
}

// The fault this object exists for: a menu command stopped the capture in
// the middle of a phonation, the stopped device handed back a buffer in the
// band, and the next recording's clock started again at zero.
TEST(CaptureSession, AStartFromAnEarlierRecordingCannotProduceATime) {
    CaptureSession session;
    RecordedEvents events;
    session.begin();
    session.enterBand(20000);
    session.close();           // the menu command's stop
    session.enterBand(21000);  // a buffer the stopped device handed back
    EXPECT_FALSE(session.running());
    EXPECT_FALSE(session.leaveBand(21500, events));

    session.begin();  // the capture restarts: its clock is at zero again
    EXPECT_FALSE(session.leaveBand(300, events)) << "nothing runs in the new recording";
    EXPECT_EQ(session.runningMs(300), 0u);
    EXPECT_EQ(events.stops, 0);
    EXPECT_FALSE(session.takeResult());

    // The new recording's own phonation is timed on its own clock.
    session.enterBand(1000);
    EXPECT_TRUE(session.leaveBand(4500, events));
    EXPECT_FLOAT_EQ(session.takeResult().value_or(0), 3500.0f);
}

TEST(CaptureSession, RestartingTheTimerOrTheCaptureForgetsWhatRan) {
    CaptureSession session;
    RecordedEvents events;
    session.begin();
    session.enterBand(1000);
    session.resetTimer();  // "Reiniciar Tempo"
    EXPECT_FALSE(session.leaveBand(9000, events));

    session.enterBand(1000);
    ASSERT_TRUE(session.leaveBand(9000, events));
    session.begin();  // declined: the capture starts again
    EXPECT_FALSE(session.resultPending()) << "a declined time is not asked again";
    EXPECT_FALSE(session.takeResult());
}

TEST(CaptureSession, NothingIsTimedBeforeTheFirstRecording) {
    CaptureSession session;
    RecordedEvents events;
    session.enterBand(100);
    EXPECT_FALSE(session.leaveBand(5000, events));
    EXPECT_EQ(events.stops, 0);
}

TEST(TimeText, ConfirmationQuestion) {
    EXPECT_EQ(phonation::confirmationQuestion(phonation::timeText(65432u)),
              "Tempo Obtido: 01:05:43\nConfirma este Tempo?");
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
    static std::string read(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static void write(const std::filesystem::path& p, const std::string& text) { std::ofstream(p) << text; }
    std::filesystem::path dir_;
};

TEST_F(ResultFileTest, WritesExactlyTheEightCharacters) {
    const auto path = dir_ / "abelha.dat";
    write(path, "an older, longer result that must go");
    ASSERT_TRUE(phonation::writeResultFile(path.string(), "00:07:35"));
    EXPECT_EQ(read(path), "00:07:35");
}

TEST_F(ResultFileTest, ReportsAFileThatCannotBeCreatedAndKeepsWhatHasTheName) {
    EXPECT_FALSE(phonation::writeResultFile((dir_ / "missing-folder" / "abelha.dat").string(), "00:07:35"));
    const auto folder = dir_ / "barco.dat";
    std::filesystem::create_directory(folder);
    write(folder / "inside", "x");
    EXPECT_FALSE(phonation::writeResultFile(folder.string(), "00:07:35")) << "a folder is not a file";
    phonation::removeResultFile(folder.string());
    EXPECT_TRUE(std::filesystem::exists(folder / "inside")) << "a folder of that name is never removed";
}

// A disk that fills up while the time is written: reported, and neither
// the partial new file nor the older result is left behind.
TEST_F(ResultFileTest, AFailedWriteIsAFailureAndLeavesNoFile) {
    const auto path = dir_ / "menina.dat";
    write(path, "01:05:43");
    const auto fullDisk = [](const void*, std::size_t size, std::size_t count, std::FILE*) -> std::size_t {
        return size * count / 2;
    };
    EXPECT_FALSE(phonation::writeResultFile(path.string(), "00:07:35", fullDisk));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(ResultFileTest, RemovalToleratesAMissingFile) {
    const auto path = dir_ / "carro.dat";
    phonation::removeResultFile(path.string());
    ASSERT_TRUE(phonation::writeResultFile(path.string(), "01:05:43"));
    phonation::removeResultFile(path.string());
    EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
