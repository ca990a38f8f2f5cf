// What the games cost and how quickly they answer, measured on the real
// programs under Wine, driven from outside like a therapist would:
//
//   title   CPU time abelha uses while the title picture waits for Enter;
//   play    CPU time during play, a vowel alternating with silence, for
//           abelha and for barco, the game that draws the most sprites, and
//           what that makes per frame (one frame per captured buffer);
//   onset   time from a vowel starting into the microphone to the bee flying
//           on screen, beside the time the audio path alone takes to hand a
//           recorder the first buffer holding that vowel.
//
// Needs the virtual display and microphone (tools/testenv.sh).  Prints one
// line per figure; fails only when a figure could not be measured, never
// because of its value.
#include <windows.h>
#include <mmsystem.h>
#include <winternl.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_run.h"
#include "engine/art_archive.h"
#include "engine/display_config.h"
#include "engine/dib.h"
#include "tests/uidriver/driver_win.h"
#include "tests/uidriver/samples.h"
#include "tests/uidriver/session_win.h"
#include "voice/intensity.h"
#include "../win/game_pictures_win.h"
#include "voice/wave_recorder_win.h"

namespace {

using uidriver::PcmPlayer;
using uidriver::Program;
using uidriver::nowMs;
using uidriver::waitFor;

constexpr double kBufferMs = 1000.0 * voice::kBufferSamples / voice::kSampleRate;  // 62.5 ms
// Each CPU figure is taken over this long, and the onset over so many
// vowels; the short run still takes every figure, from two vowels, each
// window holding more than one vowel.
const int kCpuWindowMs = bench::measureFor(20000, 4000);
const int kOnsetTrials = bench::measureFor(8, 2);
// A phonation longer than 2 s is taken as the result and ends the
// exercise with a confirmation box, so no sound played here lasts that long.
constexpr int kPlayVowelMs = 1500;
constexpr int kPlayPauseMs = 1500;
constexpr int kOnsetVowelMs = 1000;
// The bee's body covers a few hundred pixels of its 55x64 cell; fewer than
// this many of its yellow is a stray pixel of scenery, not the bee.
constexpr int kBeePixels = 80;

// --- timing ------------------------------------------------------------------------

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

// Thrown when a figure cannot be measured; unwinding ends the game.
struct Unmeasurable {
    const char* what;
};
[[noreturn]] void cannotMeasure(const char* what) { throw Unmeasurable{what}; }

// --- files -------------------------------------------------------------------------

std::wstring buildDir() { return uidriver::buildTreeOfThisProgram(); }

using uidriver::fileExists;

// The voiced bee's yellow: the most frequent yellow of its picture in the
// game's own art file.  0 when it cannot be read.
COLORREF beeYellow() {
    const std::wstring dir = buildDir();
    const std::string art = std::string(dir.begin(), dir.end()) + "\\abelha.ff";
    if (!engine::ArtArchiveOpen(art.c_str(), 5)) return 0;
    COLORREF best = 0;
    if (auto* handle = engine::ArtEntryOpen("ab2.BMP")) {
        const uint8_t* data = engine::ArtEntryData(handle, 0, 0);
        engine::DibInfo p;
        if (data && engine::checkDib({data, handle->size}, p) == engine::DibCheck::ok && p.bitCount == 8) {
            std::map<COLORREF, int> counts;
            for (int y = 0; y < p.height; ++y)
                for (int x = 0; x < p.width; ++x) {
                    const uint8_t* c = p.colorTable + 4 * p.pixels[static_cast<size_t>(y) * p.rowStride + x];
                    ++counts[RGB(c[2], c[1], c[0])];
                }
            int most = 0;
            for (auto [c, n] : counts)
                if (n > most && GetRValue(c) > 200 && GetGValue(c) > 150 && GetBValue(c) < 90) {
                    best = c;
                    most = n;
                }
        }
        engine::ArtEntryClose(handle);
    }
    engine::ArtArchiveClose();
    return best;
}

// --- the screen --------------------------------------------------------------------

using uidriver::ScreenArea;

RECT at(const RECT& client, int left, int top, int right, int bottom) {
    return {client.left + left, client.top + top, client.left + right, client.top + bottom};
}

// --- the audio path alone ----------------------------------------------------------

// A recorder of our own on its own thread, fed by the same virtual
// microphone as the game.  Once armed, it notes when the first buffer
// holding sound reaches it and where in that buffer the sound begins.
class AudioProbe {
public:
    AudioProbe() {
        ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, run, this, 0, &threadId_);
        if (thread_) WaitForSingleObject(ready_, 10000);
    }
    ~AudioProbe() {
        if (thread_) {
            PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
            WaitForSingleObject(thread_, 10000);
            CloseHandle(thread_);
        }
        CloseHandle(ready_);
    }
    AudioProbe(const AudioProbe&) = delete;
    AudioProbe& operator=(const AudioProbe&) = delete;

    bool recording() const { return buffers_.load() > 0; }
    int buffers() const { return buffers_.load(); }
    void arm() {
        hitMs_.store(-1.0);
        armed_.store(true);
    }
    // When the first buffer with sound arrived (ms, nowMs clock) and how many
    // of its samples came before the sound; false if none has come yet.
    bool hit(double& arrivedMs, int& samplesBefore) const {
        arrivedMs = hitMs_.load();
        samplesBefore = hitOffset_.load();
        return arrivedMs >= 0.0;
    }

private:
    static DWORD WINAPI run(void* self) {
        static_cast<AudioProbe*>(self)->loop();
        return 0;
    }
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<AudioProbe*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && msg == MM_WIM_DATA) {
            self->onBuffer(reinterpret_cast<WAVEHDR*>(lp));
            return 0;
        }
        if (self && msg == MM_WIM_CLOSE) {
            self->recorder_.markDeviceClosed();
            return 0;
        }
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    void onBuffer(WAVEHDR* header) {
        const double arrived = nowMs();
        if (recorder_.ownsHeader(header) && (header->dwFlags & WHDR_DONE) && header->dwBytesRecorded > 0) {
            ++buffers_;
            if (armed_.load()) {
                const auto* samples = reinterpret_cast<const int16_t*>(header->lpData);
                const int count = static_cast<int>(header->dwBytesRecorded / 2);
                for (int i = 0; i < count; ++i)
                    if (std::abs(samples[i]) > 200) {  // the vowel's fade-in passes this within a millisecond
                        hitOffset_.store(i);
                        hitMs_.store(arrived);
                        armed_.store(false);
                        break;
                    }
            }
        }
        voice::processCapturedBuffer(recorder_, header, false, [](std::optional<float>) {});
    }
    void loop() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"AbelhaBenchProbe";
        RegisterClassW(&wc);
        HWND window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                                      nullptr);
        if (window) SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        const bool started = window && recorder_.Start(window) == 1;
        SetEvent(ready_);
        MSG msg;
        while (started && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        recorder_.WindDown();
        if (window) DestroyWindow(window);
    }

    voice::CWaveRecorder recorder_;
    HANDLE ready_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    std::atomic<int> buffers_{0};
    std::atomic<bool> armed_{false};
    std::atomic<double> hitMs_{-1.0};
    std::atomic<int> hitOffset_{0};
};

// --- the program -------------------------------------------------------------------

// The game in a fresh working folder holding only its art file.
// --- where the CPU time goes --------------------------------------------------------

// CPU seconds of each thread of process `pid`, by thread id, from the
// system's process list (which Wine fills from the kernel's accounting);
// empty when the list cannot be had.
std::map<DWORD, double> threadSeconds(DWORD pid) {
    using Query = LONG(WINAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<Query>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    std::map<DWORD, double> threads;
    if (!query) return threads;
    std::vector<unsigned char> buffer(1 << 18);
    ULONG needed = 0;
    if (query(SystemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed) < 0) return threads;
    for (size_t at = 0;;) {
        const auto* process = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.data() + at);
        if (reinterpret_cast<ULONG_PTR>(process->UniqueProcessId) == pid) {
            // The threads follow their process; the first three figures of
            // each are its kernel, user and creation times.
            const auto* thread = reinterpret_cast<const SYSTEM_THREAD_INFORMATION*>(process + 1);
            for (ULONG i = 0; i < process->NumberOfThreads; ++i, ++thread)
                threads[static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(thread->ClientId.UniqueThread))] =
                    static_cast<double>(thread->Reserved1[0].QuadPart + thread->Reserved1[1].QuadPart) / 1e7;
            return threads;
        }
        if (process->NextEntryOffset == 0) return threads;
        at += process->NextEntryOffset;
    }
}

// The name a thread gave itself, or its id.
std::string threadName(DWORD tid) {
    using Describe = HRESULT(WINAPI*)(HANDLE, PWSTR*);
    const auto describe = reinterpret_cast<Describe>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetThreadDescription")));
    std::string name = std::to_string(tid);
    name.insert(0, 1, '#');
    HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, tid);
    if (!describe || !thread) return name;
    PWSTR text = nullptr;
    if (SUCCEEDED(describe(thread, &text)) && text && *text) {
        const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
        if (n > 1) {
            name.assign(static_cast<size_t>(n - 1), '\0');
            WideCharToMultiByte(CP_UTF8, 0, text, -1, name.data(), n, nullptr, nullptr);
        }
    }
    if (text) LocalFree(text);
    CloseHandle(thread);
    return name;
}

// The thread that used the most CPU between two snapshots and what the
// others used together, as " (busiest thread NAME: X%, the others Y%)" in %
// of one core; "" when threads are not listed or none used as much as 1%.
std::string busiestThread(const std::map<DWORD, double>& before, const std::map<DWORD, double>& after,
                          double wallMs) {
    DWORD busiest = 0;
    double most = 0, all = 0;
    for (auto [tid, seconds] : after) {
        const auto earlier = before.find(tid);
        const double used = seconds - (earlier == before.end() ? 0.0 : earlier->second);
        all += used;
        if (used > most) {
            most = used;
            busiest = tid;
        }
    }
    const auto percent = [&](double s) { return 100.0 * s * 1000.0 / wallMs; };
    if (wallMs <= 0 || percent(most) < 1.0) return {};
    char text[160];
    std::snprintf(text, sizeof text, " (busiest thread %s: %.1f%%, the others %.1f%%)", threadName(busiest).c_str(),
                  percent(most), percent(all - most));
    return text;
}

// The program's CPU use while `during` runs.
struct CpuUse {
    double percent;      // of one core
    double wallMs;
    std::string detail;  // the busiest thread, when threads are listed
    double windowThreadPercent = -1;  // the thread of the window given, when threads are listed
};

// CPU seconds a thread used between two snapshots; -1 when not listed.
double threadUsed(const std::map<DWORD, double>& before, const std::map<DWORD, double>& after, DWORD tid) {
    const auto earlier = before.find(tid), later = after.find(tid);
    if (earlier == before.end() || later == after.end()) return -1;
    return later->second - earlier->second;
}

template <class During>
CpuUse cpuUse(const Program& program, During during, HWND window = nullptr) {
    const auto threads0 = threadSeconds(program.id());
    const double cpu0 = program.cpuSeconds(), t0 = nowMs();
    during();
    const double cpu1 = program.cpuSeconds(), t1 = nowMs();
    const auto threads1 = threadSeconds(program.id());
    if (cpu0 < 0 || cpu1 < 0) cannotMeasure("the program's CPU time cannot be read");
    if (!program.running()) cannotMeasure("the program ended during the measurement");
    const double wallMs = t1 - t0;
    CpuUse use{100.0 * (cpu1 - cpu0) * 1000.0 / wallMs, wallMs, busiestThread(threads0, threads1, wallMs)};
    if (window) {
        const double used = threadUsed(threads0, threads1, GetWindowThreadProcessId(window, nullptr));
        if (used >= 0) use.windowThreadPercent = 100.0 * used * 1000.0 / wallMs;
    }
    return use;
}

// A long sound of vowels alternating with silence: one sound keeps the
// player's own start-up out of the measurement.
std::vector<int16_t> vowelsAndPauses() {
    std::vector<int16_t> alternating;
    for (int played = 0; played < kCpuWindowMs + kPlayVowelMs + kPlayPauseMs; played += kPlayVowelMs + kPlayPauseMs) {
        const auto vowel = uidriver::sustainedVowel(kPlayVowelMs), pause = uidriver::silence(kPlayPauseMs);
        alternating.insert(alternating.end(), vowel.begin(), vowel.end());
        alternating.insert(alternating.end(), pause.begin(), pause.end());
    }
    return alternating;
}

struct PlayFigures {
    CpuUse cpu;
    double cpuMsPerFrame;   // the whole program's CPU per captured buffer
    double gameMsPerFrame;  // the game's own thread: the voice step, the scene and the frame composition
};

// Does a look at the screen show the game's main sprite voiced?
using VoicedLook = std::function<bool(const uidriver::ScreenGrab&)>;

// In the window: the main sprite's voiced pictures where the scene puts them.
VoicedLook voicedInTheWindow(HWND game, const scenes::SceneDescription& scene, const char* name) {
    const std::wstring dir = buildDir();
    auto pictures = gametest::readSpritePictures(std::string(dir.begin(), dir.end()) + "\\" + name + ".ff", scene);
    if (pictures.empty()) cannotMeasure("the main sprite's pictures could not be read from the art file");
    const RECT client = uidriver::clientRectOnScreen(game);
    const int voicedY = gametest::mainSpriteY(scene, scenes::kVoiced);
    return [&scene, pictures = std::move(pictures), client, voicedY](const uidriver::ScreenGrab& grab) {
        return gametest::showsMainSprite(scene, pictures, grab, client, scenes::kVoiced, voicedY);
    };
}

// Scaled over the screen (F11): the bee's yellow where the scale puts the
// band it flies in when voiced.  Scaling may shade a colour a little.
VoicedLook beeVoicedScaled(const engine::Rect& frame, COLORREF yellow) {
    return [frame, yellow](const uidriver::ScreenGrab& grab) {
        int seen = 0;
        for (int y = frame.top + 220 * frame.height() / 480; y < frame.top + 284 * frame.height() / 480; ++y)
            for (int x = frame.left + 30 * frame.width() / 640; x < frame.left + 85 * frame.width() / 640; ++x)
                seen += uidriver::nearColour(grab.at(x, y), yellow);
        return seen > kBeePixels;
    };
}

// CPU use while the game plays to vowels and pauses.  A look at the main
// sprite every quarter second: unless it shows its voiced pictures, the
// voice is not reaching the game and this is not play.
PlayFigures measurePlay(uidriver::GameSession& session, HWND game, const VoicedLook& voiced, const char* name) {
    PcmPlayer player(vowelsAndPauses());
    if (!player.started()) cannotMeasure("the vowel could not be played");
    int voicedLooks = 0;
    const CpuUse play = cpuUse(session.program(), [&] {
        const double end = nowMs() + kCpuWindowMs;
        while (nowMs() < end) {
            voicedLooks += voiced(uidriver::grabScreen());
            Sleep(250);
        }
    }, game);
    if (voicedLooks == 0) cannotMeasure("the main sprite never showed its voice: the voice did not reach the game");
    if (session.program().dialogWithText("Tempo Obtido")) cannotMeasure("a phonation was taken during play");
    if (play.windowThreadPercent < 0) cannotMeasure("the game's own thread is not listed");
    const double perFrame = play.percent / 100.0 * kBufferMs, gamePerFrame = play.windowThreadPercent / 100.0 * kBufferMs;
    std::printf("%s play: %.1f%% of one core over %.1f s, %.2f ms of CPU per frame, of which %.2f ms on the game's "
                "own thread; voiced in %d looks%s\n",
                name, play.percent, play.wallMs / 1000.0, perFrame, gamePerFrame, voicedLooks, play.detail.c_str());
    return {play, perFrame, gamePerFrame};
}

// The boat game draws the most sprites (seven, the dolphins with eight
// frames each): its play beside the bee's.
void measureBoatAgainst(const PlayFigures& bee) {
    uidriver::GameSession session(buildDir(), L"barco");
    HWND game = session.play();
    if (!game) cannotMeasure("barco's play did not start");
    const PlayFigures boat = measurePlay(session, game, voicedInTheWindow(game, scenes::boatScene(), "barco"), "barco");
    std::printf("barco against abelha in play, CPU per frame: game thread %.2f ms against %.2f ms (%+.2f ms), "
                "whole program %.2f ms against %.2f ms (%+.2f ms)\n",
                boat.gameMsPerFrame, bee.gameMsPerFrame, boat.gameMsPerFrame - bee.gameMsPerFrame, boat.cpuMsPerFrame,
                bee.cpuMsPerFrame, boat.cpuMsPerFrame - bee.cpuMsPerFrame);
}

int measure() {
    const char* sink = std::getenv("TE_SINK");
    if (!sink || !*sink) cannotMeasure("needs the virtual display and microphone (run under tools/testenv.sh)");
    if (!fileExists(buildDir() + L"\\abelha.exe") || !fileExists(buildDir() + L"\\abelha.ff"))
        cannotMeasure("abelha.exe or abelha.ff is not built");
    const COLORREF yellow = beeYellow();
    if (yellow == 0) cannotMeasure("the bee's colour could not be read from abelha.ff");

    uidriver::GameSession session(buildDir(), L"abelha");
    if (!session.program().started()) cannotMeasure("abelha.exe did not start");
    if (!session.measureNoise()) cannotMeasure("the noise dialog did not complete");
    HWND game = session.title();
    if (!game) cannotMeasure("no title after the noise dialog");
    const RECT client = uidriver::clientRectOnScreen(game);

    // 1. The title: nothing moves, so nothing should run.
    const CpuUse title = cpuUse(session.program(), [] { Sleep(kCpuWindowMs); });
    std::printf("title: %.1f%% of one core over %.1f s%s\n", title.percent, title.wallMs / 1000.0,
                title.detail.c_str());

    uidriver::pressKey(game, VK_RETURN);
    ScreenArea high(at(client, 30, 220, 85, 284)), low(at(client, 30, 350, 85, 414));
    if (!high.ok() || !low.ok()) cannotMeasure("the screen cannot be read");
    if (!waitFor([&] { return low.count(yellow) > kBeePixels; }, 15000)) cannotMeasure("the idle bee never showed");
    if (!uidriver::GameSession::waitForCapture(game)) cannotMeasure("the game's capture did not start");

    // 2. Play: the recording, the scene and the HUD, with the voice coming
    // and going.
    const PlayFigures beePlay = measurePlay(session, game, voicedInTheWindow(game, scenes::beeScene(), "abelha"), "abelha");
    // 2b. Play scaled over the whole screen (F11): the stretch on every
    // present, and the black bars.
    {
        uidriver::pressKey(game, VK_F11);
        const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
        if (!waitFor([&] {
                RECT r{};
                return GetWindowRect(game, &r) && r.left == 0 && r.top == 0 && r.right == width && r.bottom == height;
            }, 5000))
            cannotMeasure("F11 did not make the game cover the screen");
        Sleep(1500);
        const std::string label = "abelha full screen " + std::to_string(width) + "x" + std::to_string(height);
        measurePlay(session, game, beeVoicedScaled(engine::letterboxedRect({0, 0, width, height}, 640, 480), yellow),
                    label.c_str());
        uidriver::pressKey(game, VK_F11);
        if (!waitFor([&] { return GetMenu(game) != nullptr; }, 5000)) cannotMeasure("F11 did not give the window back");
        Sleep(1500);
    }
    // 3. Voice onset: the game against a recorder of our own, both fed by
    // the same sound.
    AudioProbe probe;
    if (!waitFor([&] { return probe.buffers() >= 3; }, 10000)) cannotMeasure("the probe recorder gets no buffers");
    std::vector<double> raw, path, pathToSample;
    const auto vowel = uidriver::sustainedVowel(kOnsetVowelMs);
    for (int trial = 0; trial < kOnsetTrials; ++trial) {
        if (!waitFor([&] { return low.count(yellow) > kBeePixels; }, 10000)) cannotMeasure("the bee did not come down");
        // Silence, a little longer each time so the vowel starts at a
        // different point of the buffers.
        Sleep(1500 + static_cast<DWORD>(trial * 23 % 63));
        probe.arm();
        PcmPlayer player(vowel);
        const double start = nowMs();
        if (!player.started()) cannotMeasure("the vowel could not be played");
        double seen = -1;
        const double giveUp = start + 3000;
        while (nowMs() < giveUp) {
            if (high.count(yellow) > kBeePixels) {
                seen = nowMs();
                break;
            }
            Sleep(2);
        }
        if (seen < 0) cannotMeasure("the bee did not fly within 3 s of a vowel");
        waitFor([&] { return player.finished(); }, 5000);
        double arrived = 0;
        int before = 0;
        if (!probe.hit(arrived, before)) cannotMeasure("the probe recorder never heard the vowel");
        raw.push_back(seen - start);
        path.push_back(arrived - start);
        // The first sound sample was captured this long before its buffer
        // was full and handed over.
        pathToSample.push_back(arrived - start - (voice::kBufferSamples - before) * 1000.0 / voice::kSampleRate);
        std::printf("  onset %d: bee %.0f ms, probe buffer %.0f ms\n", trial + 1, raw.back(), path.back());
    }
    std::vector<double> corrected;
    for (size_t i = 0; i < raw.size(); ++i) corrected.push_back(raw[i] - path[i]);
    const double rawMedian = median(raw), rawMax = *std::max_element(raw.begin(), raw.end());
    std::printf("voice onset to voiced bee: median %.0f ms (%.1f buffers), max %.0f ms (%.1f buffers) over %d vowels\n",
                rawMedian, rawMedian / kBufferMs, rawMax, rawMax / kBufferMs, kOnsetTrials);
    std::printf("audio path alone (first buffer with the vowel reaching a recorder): median %.0f ms "
                "(first sample captured after %.0f ms)\n",
                median(path), median(pathToSample));
    const double corrMedian = median(corrected), corrMax = *std::max_element(corrected.begin(), corrected.end());
    std::printf("game's own onset delay (bee minus audio path): median %.0f ms (%.1f buffers), max %.0f ms "
                "(%.1f buffers)\n",
                corrMedian, corrMedian / kBufferMs, corrMax, corrMax / kBufferMs);

    // Leave as the therapist would.
    uidriver::pressKey(game, VK_ESCAPE);
    HWND sure = session.box("Você Tem Certeza que Deseja Sair?", 20000);
    if (sure) uidriver::clickButton(sure, IDYES);
    const long code = session.program().waitExit(20000);
    if (!sure || code != 0) std::printf("quit: the program did not end cleanly (exit code %ld)\n", code);
    measureBoatAgainst(beePlay);
    return 0;
}

}  // namespace

int main() {
    setvbuf(stdout, nullptr, _IONBF, 0);
    bench::sayWhichRun("games_bench");
    try {
        return measure();
    } catch (const Unmeasurable& failure) {
        std::fprintf(stderr, "games_bench: %s\n", failure.what);
        return 1;
    }
}
