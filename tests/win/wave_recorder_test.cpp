// The recorder against Wine's real waveIn, fed by the virtual microphone.
#include "voice/wave_recorder_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>

#include "win_test_support.h"

namespace {

using testing_win::MessageCapture;
using testing_win::PcmPlayer;
using testing_win::TestWindow;
using testing_win::pumpFor;
using testing_win::pumpUntil;
using voice::CWaveRecorder;

// Everything an owner sees of one recording.
struct Capture {
    int dataNotifications = 0;
    int dataAfterStop = 0;
    int closeNotifications = 0;
    long long bytesSeen = 0;
    std::vector<DWORD> sizes;
    std::vector<float> levels;
    bool stopSent = false;
};

TestWindow::Handler owner(CWaveRecorder& rec, Capture& cap) {
    return [&rec, &cap](UINT msg, WPARAM, LPARAM lp) {
        if (msg == MM_WIM_DATA) {
            auto* h = reinterpret_cast<WAVEHDR*>(lp);
            ++cap.dataNotifications;
            if (cap.stopSent) ++cap.dataAfterStop;
            if (rec.ownsHeader(h)) {
                cap.bytesSeen += h->dwBytesRecorded;
                if (h->dwBytesRecorded > 0) cap.sizes.push_back(h->dwBytesRecorded);
            }
            voice::processCapturedBuffer(rec, h, true, [&](std::optional<float> level) {
                if (level) cap.levels.push_back(*level);
            });
            return true;
        }
        if (msg == MM_WIM_CLOSE) {
            ++cap.closeNotifications;
            rec.markDeviceClosed();
            return true;
        }
        return false;
    };
}

class RecorderTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testing_win::haveVirtualMicrophone()) GTEST_SKIP() << "needs the virtual microphone (tools/testenv.sh)";
    }
};

TEST_F(RecorderTest, PlayedToneArrivesInFullBuffersAtTheExpectedLevel) {
    MessageCapture boxes;
    CWaveRecorder rec;
    Capture cap;
    TestWindow window(owner(rec, cap));

    ASSERT_EQ(rec.Start(window.hwnd()), 1);
    EXPECT_FALSE(rec.deviceClosed());
    // Let the capture settle, then play 2 s of a 440 Hz tone.
    ASSERT_TRUE(pumpUntil([&] { return cap.dataNotifications >= 3; }, 10000)) << "no buffers from the device";
    const size_t before = cap.levels.size();
    PcmPlayer player(testing_win::sineWave(440.0, 8000.0, 2000));
    ASSERT_TRUE(player.started());
    ASSERT_TRUE(pumpUntil([&] { return player.finished(); }, 15000));
    pumpFor(500);
    rec.RequestStop();
    cap.stopSent = true;
    ASSERT_TRUE(pumpUntil([&] { return cap.closeNotifications > 0; }, 10000));

    EXPECT_TRUE(boxes.messages().empty());
    for (DWORD size : cap.sizes) EXPECT_LE(size, static_cast<DWORD>(voice::kBufferBytes));
    const auto full = std::count(cap.sizes.begin(), cap.sizes.end(), static_cast<DWORD>(voice::kBufferBytes));
    EXPECT_GT(full, 20) << "buffers are 1378 bytes";

    // Buffers wholly inside the tone sit on a plateau; the ones at its
    // edges are partial.  Take the plateau: every level within 3 dB of the
    // loudest, and there must be more than a second's worth of them.
    const float expected = testing_win::hostLevelOfSine(440.0, 8000.0);
    std::vector<float> tone(cap.levels.begin() + static_cast<long>(before), cap.levels.end());
    const float loudest = tone.empty() ? 0.0f : *std::max_element(tone.begin(), tone.end());
    std::vector<float> plateau;
    for (float l : tone)
        if (l > loudest - 3.0f) plateau.push_back(l);
    // The first and last of them may still hold a few samples of silence.
    ASSERT_GE(plateau.size(), 18u) << "expected about 2 s of tone";
    plateau = std::vector<float>(plateau.begin() + 1, plateau.end() - 1);
    for (float l : plateau) EXPECT_NEAR(l, expected, 1.0f);
    std::printf("tone: host %.2f dB, captured %.2f..%.2f dB over %zu buffers\n", double(expected),
                double(*std::min_element(plateau.begin(), plateau.end())), double(loudest), plateau.size());
}

TEST_F(RecorderTest, StopDrainsEveryBufferThenClosesOnce) {
    MessageCapture boxes;
    CWaveRecorder rec;
    Capture cap;
    TestWindow window(owner(rec, cap));

    ASSERT_EQ(rec.Start(window.hwnd()), 1);
    ASSERT_TRUE(pumpUntil([&] { return cap.dataNotifications >= 5; }, 10000));
    EXPECT_EQ(rec.allocatedSlots(), CWaveRecorder::kBufferCount);

    rec.RequestStop();
    cap.stopSent = true;
    EXPECT_TRUE(rec.stopRequested());
    ASSERT_TRUE(pumpUntil([&] { return cap.closeNotifications > 0; }, 10000));
    pumpFor(500);  // nothing more may come

    EXPECT_EQ(cap.closeNotifications, 1);
    EXPECT_EQ(cap.dataAfterStop, CWaveRecorder::kBufferCount) << "every queued buffer comes back once";
    EXPECT_EQ(rec.bytesRecorded(), cap.bytesSeen);
    EXPECT_EQ(rec.allocatedSlots(), 0);
    EXPECT_EQ(rec.device(), nullptr);
    EXPECT_TRUE(rec.deviceClosed());
    EXPECT_TRUE(boxes.messages().empty());

    // And it starts again cleanly.
    Capture again;
    window.setHandler(owner(rec, again));
    ASSERT_EQ(rec.Start(window.hwnd()), 1);
    EXPECT_EQ(rec.bytesRecorded(), 0);
    ASSERT_TRUE(pumpUntil([&] { return again.dataNotifications >= 2; }, 10000));
    rec.RequestStop();
    ASSERT_TRUE(pumpUntil([&] { return again.closeNotifications > 0; }, 10000));
}

TEST_F(RecorderTest, HeaderNotInTheSlotTableIsReportedAndChangesNothing) {
    MessageCapture boxes;
    CWaveRecorder rec;
    Capture cap;
    TestWindow window(owner(rec, cap));
    ASSERT_EQ(rec.Start(window.hwnd()), 1);
    ASSERT_TRUE(pumpUntil([&] { return cap.dataNotifications >= 2; }, 10000));

    WAVEHDR stranger{};
    stranger.dwFlags = WHDR_DONE | WHDR_PREPARED;
    stranger.dwBytesRecorded = 1378;
    const int slotsBefore = rec.allocatedSlots();
    const int64_t bytesBefore = rec.bytesRecorded();
    EXPECT_EQ(rec.ReleaseBuffer(&stranger), 0);
    ASSERT_EQ(boxes.messages().size(), 1u);
    EXPECT_EQ(boxes.messages()[0].text, "Erro Liberando Memória");
    EXPECT_EQ(boxes.messages()[0].caption, "Quintor");
    EXPECT_EQ(boxes.messages()[0].owner, nullptr);
    EXPECT_EQ(rec.allocatedSlots(), slotsBefore);
    EXPECT_EQ(rec.bytesRecorded(), bytesBefore);
    EXPECT_EQ(stranger.dwFlags, static_cast<DWORD>(WHDR_DONE | WHDR_PREPARED)) << "the header is not touched";

    rec.RequestStop();
    ASSERT_TRUE(pumpUntil([&] { return cap.closeNotifications > 0; }, 10000));
}

TEST_F(RecorderTest, StopWithoutDeviceDoesNothing) {
    MessageCapture boxes;
    CWaveRecorder rec;
    rec.StopAndReset();
    rec.RequestStop();
    rec.Close();
    EXPECT_TRUE(boxes.messages().empty());
    EXPECT_TRUE(rec.deviceClosed());
}

// --- failures made to happen through the waveIn seam -----------------------

struct FaultPlan {
    int failPrepareAt = -1;  // 1-based call number
    int failAddAt = -1;      // 1-based call number
    MMRESULT startResult = MMSYSERR_NOERROR;
    int prepareCalls = 0;
    int addCalls = 0;
};
FaultPlan g_plan;

MMRESULT WINAPI faultyPrepare(HWAVEIN d, LPWAVEHDR h, UINT n) {
    if (++g_plan.prepareCalls == g_plan.failPrepareAt) return MMSYSERR_NOMEM;
    return waveInPrepareHeader(d, h, n);
}
MMRESULT WINAPI countingAdd(HWAVEIN d, LPWAVEHDR h, UINT n) {
    if (++g_plan.addCalls == g_plan.failAddAt) return MMSYSERR_NOMEM;
    return waveInAddBuffer(d, h, n);
}
MMRESULT WINAPI faultyStart(HWAVEIN d) {
    if (g_plan.startResult != MMSYSERR_NOERROR) return g_plan.startResult;
    return waveInStart(d);
}

voice::WaveInApi faultyApi() {
    voice::WaveInApi api = voice::realWaveInApi();
    api.prepareHeader = faultyPrepare;
    api.addBuffer = countingAdd;
    api.start = faultyStart;
    return api;
}

TEST_F(RecorderTest, AnyFailedStartIsAFailureAndCleansUp) {
    for (MMRESULT result : {MMRESULT(MMSYSERR_ERROR), MMRESULT(MMSYSERR_INVALHANDLE), MMRESULT(MMSYSERR_NODRIVER)}) {
        g_plan = {};
        g_plan.startResult = result;
        const voice::WaveInApi api = faultyApi();
        MessageCapture boxes;
        CWaveRecorder rec(api);
        Capture cap;
        TestWindow window(owner(rec, cap));

        EXPECT_EQ(rec.Start(window.hwnd()), 0) << result;
        ASSERT_EQ(boxes.messages().size(), 1u) << result;
        EXPECT_EQ(boxes.messages()[0].text, "Não Foi Possível Inicializar a Gravação");
        EXPECT_EQ(boxes.messages()[0].caption, "Gravador");
        EXPECT_TRUE(rec.stopRequested());
        EXPECT_EQ(rec.allocatedSlots(), 0);
        EXPECT_EQ(rec.device(), nullptr);
        EXPECT_TRUE(rec.deviceClosed());

        // No notification of the abandoned buffers may reach the owner.
        pumpFor(300);
        EXPECT_EQ(cap.dataNotifications, 0);

        // A stray buffer is released (reported, since it is not ours) and
        // not replaced.
        boxes.clear();
        const int adds = g_plan.addCalls;
        WAVEHDR stray{};
        stray.dwFlags = WHDR_DONE;
        EXPECT_TRUE(voice::processCapturedBuffer(rec, &stray, true, [](std::optional<float>) {
            ADD_FAILURE() << "a stray buffer must not be measured";
        }));
        EXPECT_EQ(g_plan.addCalls, adds);
        EXPECT_EQ(rec.allocatedSlots(), 0);
        ASSERT_EQ(boxes.messages().size(), 1u);
        EXPECT_EQ(boxes.messages()[0].text, "Erro Liberando Memória");
    }
}

TEST_F(RecorderTest, FailedPreparationFreesWhatItPreparedAndAllowsAFreshStart) {
    g_plan = {};
    g_plan.failPrepareAt = 37;
    const voice::WaveInApi api = faultyApi();
    MessageCapture boxes;
    CWaveRecorder rec(api);
    Capture cap;
    TestWindow window(owner(rec, cap));

    EXPECT_EQ(rec.Start(window.hwnd()), 0);
    ASSERT_EQ(boxes.messages().size(), 2u);
    EXPECT_EQ(boxes.messages()[0].caption, "Erro preparando o Header");
    EXPECT_FALSE(boxes.messages()[0].text.empty()) << "the system's text for the error";
    EXPECT_EQ(boxes.messages()[1].text, "ERRO PREPARANDO HEADER");
    EXPECT_EQ(boxes.messages()[1].caption, " ");
    EXPECT_EQ(rec.allocatedSlots(), 0) << "nothing may stay allocated";
    EXPECT_EQ(rec.device(), nullptr);

    boxes.clear();
    ASSERT_EQ(rec.Start(window.hwnd()), 1);
    EXPECT_EQ(rec.allocatedSlots(), CWaveRecorder::kBufferCount);
    ASSERT_TRUE(pumpUntil([&] { return cap.dataNotifications >= 2; }, 10000));
    rec.RequestStop();
    ASSERT_TRUE(pumpUntil([&] { return cap.closeNotifications > 0; }, 10000));
    EXPECT_TRUE(boxes.messages().empty());
}

// A buffer the device refuses (a microphone unplugged, a driver out of
// memory) is freed at once, so the recording still ends in exactly one
// close and the owner is never left waiting for it.  At the start of a
// recording the refusal fails the start.
TEST_F(RecorderTest, ARefusedBufferStillEndsInExactlyOneClose) {
    const struct {
        int failAddAt;
        bool started;
    } cases[] = {{40, false}, {103, true}};
    for (const auto& c : cases) {
        g_plan = {};
        g_plan.failAddAt = c.failAddAt;
        const voice::WaveInApi api = faultyApi();
        MessageCapture boxes;
        CWaveRecorder rec(api);
        Capture cap;
        TestWindow window(owner(rec, cap));

        EXPECT_EQ(rec.Start(window.hwnd()), c.started ? 1 : 0) << c.failAddAt;
        if (c.started) {
            ASSERT_TRUE(pumpUntil([&] { return cap.closeNotifications > 0; }, 15000)) << "the close must come";
            EXPECT_TRUE(rec.stopRequested()) << "a device that refuses buffers records no further";
        }
        pumpFor(400);
        EXPECT_EQ(cap.closeNotifications, c.started ? 1 : 0) << c.failAddAt;
        EXPECT_EQ(rec.allocatedSlots(), 0) << c.failAddAt;
        EXPECT_EQ(rec.device(), nullptr) << c.failAddAt;
        ASSERT_EQ(boxes.messages().size(), 1u) << c.failAddAt;
        EXPECT_EQ(boxes.messages()[0].caption, "Erro Adicionando Buffer");
        EXPECT_FALSE(boxes.messages()[0].text.empty()) << "the system's text for the error";

        // The next recording is a normal one.
        g_plan.failAddAt = -1;
        boxes.clear();
        Capture next;
        window.setHandler(owner(rec, next));
        ASSERT_EQ(rec.Start(window.hwnd()), 1);
        ASSERT_TRUE(pumpUntil([&] { return next.dataNotifications >= 2; }, 10000));
        rec.RequestStop();
        ASSERT_TRUE(pumpUntil([&] { return next.closeNotifications == 1; }, 10000));
        EXPECT_TRUE(boxes.messages().empty());
    }
}

TEST_F(RecorderTest, WindDownLeavesTheRecorderReadyAtOnce) {
    MessageCapture boxes;
    CWaveRecorder rec;
    Capture cap;
    TestWindow window(owner(rec, cap));
    ASSERT_EQ(rec.Start(window.hwnd()), 1);
    ASSERT_TRUE(pumpUntil([&] { return cap.dataNotifications >= 3; }, 10000));

    rec.WindDown();
    EXPECT_TRUE(rec.deviceClosed());
    EXPECT_EQ(rec.device(), nullptr);
    EXPECT_EQ(rec.allocatedSlots(), 0);
    const int seen = cap.dataNotifications;
    pumpFor(400);
    EXPECT_EQ(cap.dataNotifications, seen) << "no notification for freed buffers";
    EXPECT_EQ(cap.closeNotifications, 0);

    Capture next;
    TestWindow other(owner(rec, next));
    ASSERT_EQ(rec.Start(other.hwnd()), 1);
    ASSERT_TRUE(pumpUntil([&] { return next.dataNotifications >= 2; }, 10000));
    rec.RequestStop();
    ASSERT_TRUE(pumpUntil([&] { return next.closeNotifications > 0; }, 10000));
    EXPECT_TRUE(boxes.messages().empty());
}

TEST_F(RecorderTest, StartWhileTheLastRecordingDrainsFinishesItFirst) {
    MessageCapture boxes;
    CWaveRecorder rec;
    Capture first, second;
    TestWindow game(owner(rec, first));
    TestWindow dialog(owner(rec, second));
    ASSERT_EQ(rec.Start(game.hwnd()), 1);
    ASSERT_TRUE(pumpUntil([&] { return first.dataNotifications >= 3; }, 10000));
    rec.RequestStop();  // draining: no notification handled yet
    ASSERT_EQ(rec.Start(dialog.hwnd()), 1);
    const int firstSeen = first.dataNotifications;
    ASSERT_TRUE(pumpUntil([&] { return second.dataNotifications >= 3; }, 10000));
    EXPECT_EQ(first.dataNotifications, firstSeen) << "the old owner hears nothing more";
    EXPECT_EQ(rec.allocatedSlots(), CWaveRecorder::kBufferCount);
    // The old recording's close, come late to its owner, is not the new
    // one's: that goes on past the buffers it started with.
    PostMessageW(game.hwnd(), MM_WIM_CLOSE, 0, 0);
    ASSERT_TRUE(pumpUntil([&] { return first.closeNotifications == 1; }, 5000));
    EXPECT_EQ(rec.state(), voice::RecorderState::Recording);
    EXPECT_TRUE(pumpUntil([&] { return second.dataNotifications > CWaveRecorder::kBufferCount + 8; }, 15000))
        << "the recording fell silent after " << second.dataNotifications << " buffers";
    rec.RequestStop();
    ASSERT_TRUE(pumpUntil([&] { return second.closeNotifications == 1; }, 10000));
    EXPECT_EQ(rec.allocatedSlots(), 0);
    EXPECT_TRUE(boxes.messages().empty());
}

// Run on its own with no audio server (see tests/CMakeLists.txt).
TEST(NoAudioServer, StartExplainsAndFails) {
    if (testing_win::haveVirtualMicrophone()) GTEST_SKIP() << "an audio server is running";
    MessageCapture boxes;
    CWaveRecorder rec;
    Capture cap;
    TestWindow window(owner(rec, cap));
    EXPECT_EQ(rec.Start(window.hwnd()), 0);
    ASSERT_EQ(boxes.messages().size(), 2u);
    EXPECT_EQ(boxes.messages()[0].caption, "Erro Abrindo Canal");
    EXPECT_EQ(boxes.messages()[0].text,
              "wfe.cbSize = 0\nwfe.nAvgBytesPerSec = 22050\nwfe.nBlockAlign 2\nwfe.nChannels 1\n"
              "wfe.nSamplesPerSec 11025\nwfe.wBitsPerSample 16\nwfe.wFormatTag 1\n");
    EXPECT_EQ(boxes.messages()[1].caption, "Erro Abrindo Canal");
    EXPECT_FALSE(boxes.messages()[1].text.empty());
    EXPECT_TRUE(rec.stopRequested());
    EXPECT_EQ(rec.allocatedSlots(), 0);
}

}  // namespace
