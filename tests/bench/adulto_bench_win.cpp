// What the adult program costs, measured under Wine with the virtual
// microphone:
//
//   buffer   time the measurement panel takes to handle one captured
//            buffer (measure, time, draw the bar, scroll, the time box),
//            timed around the panel's own window procedure in this process;
//   repaint  what the panel repaints after it was first shown: nothing
//            while uncovered, each scroll filling only its strip itself;
//   cpu      CPU time the real adulto.exe uses while measuring, a vowel
//            alternating with silence.
//
// Needs the virtual display and microphone (tools/testenv.sh).  Prints one
// line per figure; fails only when a figure could not be measured, never
// because of its value.
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "adult/adult_window_win.h"
#include "adult/graph.h"
#include "adult/graph_win.h"
#include "bench_run.h"
#include "tests/uidriver/driver_win.h"
#include "tests/uidriver/samples.h"
#include "tests/uidriver/session_win.h"

namespace {

using uidriver::PcmPlayer;
using uidriver::nowMs;
using uidriver::waitFor;

constexpr int kVowelMs = 1500;  // a phonation of 2 s or less is not taken, so the measurement goes on
// One buffer out of the band ends a phonation, so the short run's pause
// still makes each vowel a phonation of its own.
const int kPauseMs = bench::measureFor(1500, 500);
// The panel holds about 94 bars (one per buffer in the band) before it
// scrolls: six vowels of 24 buffers fill it and scroll it for a while,
// even when Wine loses the start of the first.
const int kPanelRounds = bench::measureFor(8, 6);
const int kCpuRounds = bench::measureFor(8, 2);

void playVowels(int rounds) {
    for (int i = 0; i < rounds; ++i) {
        PcmPlayer vowel(uidriver::withLeadIn(uidriver::sustainedVowel(kVowelMs), 300));
        waitFor([&] { return vowel.finished(); }, 10000);
        Sleep(kPauseMs);
    }
}

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(p * static_cast<double>(v.size() - 1))];
}

// --- the panel, timed from inside this process ------------------------------------------

WNDPROC g_panelProc = nullptr;
std::vector<double> g_bufferMs;        // every MM_WIM_DATA
std::vector<double> g_scrollBufferMs;  // those that scrolled the graph and drew a bar
int g_paints = 0;                      // WM_PAINT with something to paint
RECT g_largestRepaint{};

LRESULT CALLBACK TimedPanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        RECT r;
        if (GetUpdateRect(hwnd, &r, FALSE)) {
            ++g_paints;
            const auto area = [](const RECT& a) { return (a.right - a.left) * (a.bottom - a.top); };
            if (area(r) > area(g_largestRepaint)) g_largestRepaint = r;
        }
    }
    if (msg != MM_WIM_DATA) return CallWindowProcW(g_panelProc, hwnd, msg, wp, lp);
    const int scrolls = adult::graphDrawCounts().scrolls;
    const double t0 = nowMs();
    const LRESULT result = CallWindowProcW(g_panelProc, hwnd, msg, wp, lp);
    const double ms = nowMs() - t0;
    g_bufferMs.push_back(ms);
    if (adult::graphDrawCounts().scrolls > scrolls) g_scrollBufferMs.push_back(ms);
    return result;
}

HWND findDialog(const wchar_t* title) { return FindWindowW(L"#32770", title); }

// Walks the program running on this process's main thread through one
// measurement, then ends it with "Sair".  Returns what went wrong, or null.
const char* driveInProcess() {
    HWND noise = nullptr;
    if (!waitFor([&] { return (noise = findDialog(L"Ruido Externo...")) != nullptr; }, 60000)) return "no noise dialog";
    {
        PcmPlayer room(uidriver::roomNoise(4500));
        Sleep(300);
        uidriver::clickButton(noise, 1028);
        if (!waitFor([&] { return uidriver::buttonEnabled(noise, IDOK); }, 30000)) return "the noise measurement did not end";
        uidriver::clickButton(noise, IDOK);
    }
    HWND main = nullptr;
    if (!waitFor([&] { return (main = FindWindowW(L"RegistraClasse", nullptr)) && !findDialog(L"Ruido Externo..."); },
                 20000))
        return "no main window";
    Sleep(500);
    uidriver::click(main, 320, 140);
    HWND panel = nullptr;
    if (!waitFor([&] { return (panel = FindWindowExW(main, nullptr, L"#32770", nullptr)) != nullptr; }, 10000))
        return "no measurement panel";
    // Its first full paint is not a scroll's.
    Sleep(300);
    g_panelProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(panel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TimedPanelProc)));
    if (!uidriver::GameSession::timeBoxShown(main) &&
        !waitFor([&] { return uidriver::GameSession::timeBoxShown(main); }, 20000))
        return "the capture did not start";
    playVowels(kPanelRounds);
    PostMessageW(main, WM_COMMAND, 32771, 0);
    HWND sure = nullptr;
    if (!waitFor([&] { return (sure = findDialog(L"Tempo Expiratório")) != nullptr; }, 10000)) return "no exit question";
    uidriver::clickButton(sure, IDYES);
    return nullptr;
}

// --- the real program's CPU ---------------------------------------------------------------

// Percent of one core the program uses while `during` runs; negative when
// it cannot be read.
template <class During>
double cpuPercent(const uidriver::Program& program, During during) {
    const double cpu0 = program.cpuSeconds(), t0 = nowMs();
    during();
    const double cpu1 = program.cpuSeconds(), t1 = nowMs();
    if (cpu0 < 0 || cpu1 < 0 || !program.running()) return -1.0;
    return 100.0 * (cpu1 - cpu0) * 1000.0 / (t1 - t0);
}

struct Cpu {
    double quiet = -1.0;      // capturing, nothing drawn: what the capture itself costs under Wine
    double measuring = -1.0;  // vowels: bars, scrolls, the running time
};

Cpu cpuOfTheProgram() {
    uidriver::GameSession session(uidriver::buildTreeOfThisProgram(), L"adulto", false);
    Cpu cpu;
    if (!session.startMeasuring()) return cpu;
    cpu.quiet = cpuPercent(session.program(), [] { Sleep(static_cast<DWORD>(kCpuRounds * (kVowelMs + kPauseMs))); });
    cpu.measuring = cpuPercent(session.program(), [] { playVowels(kCpuRounds); });
    return cpu;
}

int fail(const char* what) {
    std::fprintf(stderr, "adulto_bench: %s\n", what);
    return 1;
}

}  // namespace

int main() {
    setvbuf(stdout, nullptr, _IONBF, 0);
    bench::sayWhichRun("adulto_bench");
    const char* sink = std::getenv("TE_SINK");
    if (!sink || !*sink) return fail("needs the virtual display and microphone (run under tools/testenv.sh)");

    const char* problem = "the driver did not finish";
    std::thread driver([&] { problem = driveInProcess(); });
    adult::RunAdult(GetModuleHandleW(nullptr));
    driver.join();
    if (problem) return fail(problem);
    if (g_scrollBufferMs.empty()) return fail("the graph never scrolled");
    std::printf("buffer: median %.3f ms, 95th percentile %.3f ms over %zu buffers\n", percentile(g_bufferMs, 0.5),
                percentile(g_bufferMs, 0.95), g_bufferMs.size());
    std::printf("buffer with a scroll and a bar: median %.3f ms over %zu buffers (aim: under 1 ms)\n",
                percentile(g_scrollBufferMs, 0.5), g_scrollBufferMs.size());
    std::printf("repaint: %d repaints of the panel while measuring, the largest %ld x %ld pixels "
                "(each scroll paints only its %d-pixel strip)\n",
                g_paints, g_largestRepaint.right - g_largestRepaint.left,
                g_largestRepaint.bottom - g_largestRepaint.top, adult::BarGraph::kSpacing);

    const Cpu cpu = cpuOfTheProgram();
    if (cpu.quiet < 0 || cpu.measuring < 0) return fail("the CPU time of adulto.exe could not be read");
    std::printf("cpu: %.1f%% of one core while measuring (aim: under 3%%); %.1f%% capturing silence\n",
                cpu.measuring, cpu.quiet);
    return 0;
}
