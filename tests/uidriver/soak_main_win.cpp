// The soak: a measurement program (a game or adulto) under Wine for a given time, one phonation after
// another as in a clinic day.  Phonations of random lengths (1 to 20 s) and
// loudness over room noise; every confirmation answered No except one in
// ten, answered Yes, after which the program is started again; now and then
// a calibration dialog from the menu.  Every minute (every quarter of a
// shorter soak) and when a program ends, its private memory, handle and GDI
// object counts and CPU are sampled.
//
//   soak PROGRAM MINUTES OUTDIR [SEED]
//
// Passes (exit code 0) when nothing crashed or hung, every confirmed time
// lies within two buffers of the phonation that reached the microphone, no
// phonation of 2 s or less was taken, no program's memory or handles grew
// after its first minute, and the soak could judge all but a few of its
// phonations (soak_judgement.h says which it cannot).  What reached the
// microphone is what the soak's own recording of it heard.  Writes
// OUTDIR\soak-PROGRAM-samples.csv and -phonations.csv.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "driver_win.h"
#include "ear_win.h"
#include "samples.h"
#include "session_win.h"
#include "soak_judgement.h"
#include "test_environment_win.h"
#include "voice/menu_commands.h"

namespace {

constexpr DWORD kMinute = 60000;
constexpr int64_t kMemoryNoise = 2 << 20;  // bytes a program may vary by between samples
constexpr int64_t kHandleNoise = 20;

using voice::kCmdIntensity;
using voice::kCmdMicrophone;
using voice::kCmdNoise;

// The soak lies beside the programs in the build tree.
std::wstring programsFolder() {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const std::wstring path = exe;
    return path.substr(0, path.find_last_of(L"\\/"));
}

struct Sample {
    int process;
    DWORD ageMs;
    uidriver::ProcessSample values;
};

class Soak {
public:
    Soak(std::wstring program, int minutes, std::wstring outDir, uint32_t seed)
        : program_(std::move(program)), outDir_(std::move(outDir)), random_(seed),
          deadline_(GetTickCount() + static_cast<DWORD>(minutes) * kMinute),
          // A short soak samples more often, so a leak still shows in it.
          sampleEveryMs_(minutes >= 4 ? kMinute : static_cast<DWORD>(minutes) * kMinute / 4) {
        samplesFile_ = open(L"samples", "process,age_s,cpu_percent,private_kib,handles,gdi_objects\n");
        phonationsFile_ = open(L"phonations", "process,played_ms,heard_ms,confirmed_ms,answer,verdict\n");
        std::printf("soak of %ls for %d min, seed %u%s\n", program_.c_str(), minutes, seed,
                    ear_.listening() ? "" : "; the soak cannot hear the microphone and will judge nothing");
    }
    ~Soak() {
        if (samplesFile_) std::fclose(samplesFile_);
        if (phonationsFile_) std::fclose(phonationsFile_);
    }

    int run() {
        while (!timeUp() && faults_.size() < 10) runOneProgram();
        return report();
    }

private:
    bool timeUp() const { return static_cast<LONG>(GetTickCount() - deadline_) >= 0; }

    std::FILE* open(const wchar_t* what, const char* header) {
        const std::wstring path = outDir_ + L"\\soak-" + program_ + L"-" + what + L".csv";
        std::FILE* f = _wfopen(path.c_str(), L"w");
        if (f) std::fputs(header, f);
        return f;
    }

    void fault(const std::string& what) {
        faults_.push_back("process " + std::to_string(process_) + ": " + what);
        std::printf("FAULT %s\n", faults_.back().c_str());
        std::fflush(stdout);
        uidriver::saveScreenshot(outDir_ + L"\\soak-" + program_ + L"-fault-" + std::to_wstring(faults_.size()) +
                                 L".bmp");
    }

    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    void sampleIfDue(uidriver::Program& program, DWORD started, bool anyway = false) {
        const DWORD now = GetTickCount();
        if (!anyway && now - lastSample_ < sampleEveryMs_) return;
        lastSample_ = now;
        Sample s{process_, now - started, program.sample()};
        double cpuPercent = -1.0;
        if (!samples_.empty() && samples_.back().process == process_ && s.values.cpuSeconds >= 0) {
            const double wall = (s.ageMs - samples_.back().ageMs) / 1000.0;
            cpuPercent = 100.0 * (s.values.cpuSeconds - samples_.back().values.cpuSeconds) / wall;
        }
        samples_.push_back(s);
        if (samplesFile_) {
            std::fprintf(samplesFile_, "%d,%lu,%.2f,%lld,%lld,%lld\n", process_, s.ageMs / 1000, cpuPercent,
                         static_cast<long long>(s.values.privateBytes / 1024), static_cast<long long>(s.values.handles),
                         static_cast<long long>(s.values.gdiObjects));
            std::fflush(samplesFile_);
        }
    }

    // Is the game's window still answering, and the program still there?
    bool alive(uidriver::GameSession& session, HWND game, const char* when) {
        if (!session.program().running()) {
            fault(std::string("the program ended by itself ") + when + ", exit code " +
                  std::to_string(session.program().waitExit(0)));
            return false;
        }
        DWORD_PTR ignored = 0;
        if (!SendMessageTimeoutW(game, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &ignored)) {
            fault(std::string("the game window does not answer ") + when);
            return false;
        }
        return true;
    }

    // A calibration dialog, as a therapist opens it between two attempts.
    bool calibrate(uidriver::GameSession& session, HWND game) {
        const int which = between(0, 2);
        const int command = which == 0 ? kCmdIntensity : which == 1 ? kCmdNoise : kCmdMicrophone;
        PostMessageW(game, WM_COMMAND, static_cast<WPARAM>(command), 0);
        bool closed = false;
        if (command == kCmdNoise) {
            closed = session.measureNoise();
        } else {
            HWND dialog = session.box(command == kCmdIntensity ? "Configurar Intensidade..." : "Ajustar Microfone...");
            if (dialog) {
                uidriver::clickButton(dialog, command == kCmdIntensity ? IDCANCEL : IDOK);
                closed = true;
            }
        }
        if (!closed) {
            fault("a calibration dialog did not open or close");
            return false;
        }
        return resumeCapture(game, which == 0 ? "after Configurar Intensidade"
                                   : which == 1 ? "after Obter Ruido"
                                                : "after Ajustar Microfone");
    }

    bool resumeCapture(HWND game, const char* after) {
        // The adult program shows nothing while nobody phonates; the games'
        // scenery moves with every captured buffer.
        if (!adult_ && !uidriver::GameSession::waitForCapture(game)) {
            HWND front = GetForegroundWindow();
            fault(std::string("the game did not move again ") + after + "; the window in front: " +
                  (front == game ? "the game" : front ? "\"" + uidriver::windowTitle(front) + "\"" : "none") +
                  (IsWindowEnabled(game) ? "" : "; the game is disabled"));
            return false;
        }
        Sleep(3000);  // Wine loses the first moments of every new capture
        return true;
    }

    // One phonation; false when the program is to be started again.
    bool phonation(uidriver::GameSession& session, HWND game) {
        const int lengthMs = between(1000, 20000);
        const double amplitude = between(5000, 12000);
        const auto sound = uidriver::withLeadIn(
            uidriver::mixed(uidriver::sustainedVowel(lengthMs, amplitude), uidriver::roomNoise(lengthMs + 1000)));
        const uint64_t playedFrom = ear_.samplesHeard();
        uidriver::ServerPlayer player(sound);
        const DWORD soundMs = static_cast<DWORD>(800 + lengthMs);
        // A phonation is judged by what the microphone heard, which may be
        // up to a buffer longer than what was played: wait for the box as
        // for a long phonation unless the played one is clearly short.
        const bool mayBeTaken = lengthMs > uidriver::kLongestNotTakenMs - 100;
        HWND box = session.box("Tempo Obtido", soundMs + (mayBeTaken ? 6000 : 2500));
        uidriver::waitFor([&] { return player.finished(); }, 30000);
        std::optional<uidriver::HeardPhonation> heard;
        if (const auto recorded = ear_.soundFrom(playedFrom, 700, 3000))
            heard = uidriver::HeardPhonation{recorded->lengthMs(), static_cast<int>(recorded->longestHoleMs)};
        const int heardMs = heard ? heard->lengthMs : -1;
        if (heard && heard->longestHoleMs < uidriver::kHoleThatBreaksMs)
            maxStretch_ = std::max(maxStretch_, static_cast<long>(heardMs - lengthMs));
        const std::string text = box ? uidriver::dialogText(box) : std::string();
        const long confirmed = box ? uidriver::confirmedMs(text) : -1;
        const uidriver::Judgement judgement =
            uidriver::judgePhonation(lengthMs, heard, box ? std::optional<long>(confirmed) : std::nullopt);
        tally_.add(judgement);
        const char* verdict = uidriver::verdictName(judgement.verdict);
        switch (judgement.verdict) {
            case uidriver::Verdict::missed:
                fault("a phonation of " + std::to_string(lengthMs) + " ms (heard " + std::to_string(heardMs) +
                      " ms) was not taken");
                break;
            case uidriver::Verdict::takenShort:
                fault("a phonation of " + std::to_string(lengthMs) + " ms (heard " + std::to_string(heardMs) +
                      " ms) was taken as " + text);
                break;
            case uidriver::Verdict::off:
                fault("played " + std::to_string(lengthMs) + " ms, heard " + std::to_string(heardMs) +
                      " ms, confirmed " + std::to_string(confirmed) + " ms");
                break;
            default: break;
        }
        if (!box) {
            log(lengthMs, heardMs, -1, "", verdict);
            return alive(session, game, "after a phonation") && judgement.verdict != uidriver::Verdict::missed;
        }
        ++taken_;

        const bool yes = between(1, 10) == 1;
        log(lengthMs, heardMs, confirmed, yes ? "Sim" : "Não", verdict);
        if (yes) sampleIfDue(session.program(), started_, true);  // the program's last figures
        uidriver::clickButton(box, yes ? IDYES : IDNO);
        if (yes) {
            if (session.program().waitExit(20000) != 0) fault("Sim did not end the program with code 0");
            std::FILE* f = _wfopen(session.resultPath().c_str(), L"rb");
            char saved[16] = {};
            const size_t n = f ? std::fread(saved, 1, sizeof saved - 1, f) : 0;
            if (f) std::fclose(f);
            // "Tempo Obtido: 00:03:99": the saved time is the box's from its 15th character.
            if (n != 8 || text.size() < 22 || text.compare(14, 8, saved) != 0)
                fault("the result file does not hold the confirmed time");
            return false;
        }
        return alive(session, game, "after declining") && resumeCapture(game, "after Não");
    }

    void log(int played, int heard, long confirmed, const char* answer, const char* verdict) {
        if (phonationsFile_) {
            std::fprintf(phonationsFile_, "%d,%d,%d,%ld,%s,%s\n", process_, played, heard, confirmed, answer,
                         verdict);
            std::fflush(phonationsFile_);
        }
    }

    void runOneProgram() {
        ++process_;
        uidriver::GameSession session(programsFolder(), program_);
        session.playRoomNoiseThroughServer();
        const DWORD started = started_ = GetTickCount();
        lastSample_ = started;
        HWND game = adult_ ? session.startMeasuring() : session.play();
        if (!game) {
            fault("the program did not reach play: " + session.failure());
            return;
        }
        Sleep(3000);
        while (!timeUp()) {
            sampleIfDue(session.program(), started);
            if (between(1, 5) == 1 && !calibrate(session, game)) return;
            if (!phonation(session, game)) return;
        }
        sampleIfDue(session.program(), started, true);
    }

    // Private memory and handles of each program, from its first minute on.
    void checkGrowth() {
        for (size_t i = 0; i < samples_.size(); ++i) {
            const Sample& first = samples_[i];
            size_t last = i;
            while (last + 1 < samples_.size() && samples_[last + 1].process == first.process) ++last;
            const int64_t memory = samples_[last].values.privateBytes - first.values.privateBytes;
            const int64_t handles = samples_[last].values.handles - first.values.handles;
            if (last > i) {
                std::printf("process %d: %zu samples, private memory %+lld KiB, handles %+lld\n", first.process,
                            last - i + 1, static_cast<long long>(memory / 1024), static_cast<long long>(handles));
                if (memory > kMemoryNoise) fault("private memory grew by " + std::to_string(memory / 1024) + " KiB");
                if (handles > kHandleNoise) fault("handles grew by " + std::to_string(handles));
            }
            i = last;
        }
    }

    static constexpr int kMeasuredTheMachine = 3;

    int report() {
        checkGrowth();
        std::printf("soak of %ls: %d programs, %d phonations, %d taken, largest timing error %ld ms, "
                    "largest lengthening by the playback %ld ms, not judged: %d harness, %d broken up; "
                    "%zu faults\n",
                    program_.c_str(), process_, tally_.phonations(), taken_, tally_.largestErrorMs(), maxStretch_,
                    tally_.harness(), tally_.brokenUp(), faults_.size());
        for (const std::string& f : faults_) std::printf("  %s\n", f.c_str());
        const bool machine = tally_.measuredTheMachine();
        if (machine)
            std::printf("  %d of %d phonations could not be judged (more than %d%%): the soak measured the machine, "
                        "not the program\n",
                        tally_.harness() + tally_.brokenUp(), tally_.phonations(), uidriver::kMostUnjudgedPercent);
        const bool passed = faults_.empty() && !machine;
        std::printf("%s\n", passed ? "soak passed" : "soak FAILED");
        // A soak that found no fault but could not judge enough says so by
        // its code, so that a caller may run it again on a quieter machine.
        return passed ? 0 : faults_.empty() ? kMeasuredTheMachine : 1;
    }

    std::wstring program_;
    bool adult_ = program_ == L"adulto";
    std::wstring outDir_;
    std::mt19937 random_;
    DWORD deadline_;
    DWORD sampleEveryMs_;
    DWORD started_ = 0;  // of the running program
    DWORD lastSample_ = 0;
    std::FILE* samplesFile_ = nullptr;
    std::FILE* phonationsFile_ = nullptr;
    std::vector<Sample> samples_;
    std::vector<std::string> faults_;
    int process_ = 0, taken_ = 0;
    long maxStretch_ = 0;  // heard minus played
    uidriver::SoakTally tally_;
    uidriver::Ear ear_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: soak PROGRAM MINUTES OUTDIR [SEED]\n");
        return 2;
    }
    const int minutes = _wtoi(argv[2]);
    const uint32_t seed = argc > 4 ? static_cast<uint32_t>(_wtoi(argv[4])) : GetTickCount();
    CreateDirectoryW(argv[3], nullptr);
    Soak soak(argv[1], minutes > 0 ? minutes : 1, argv[3], seed);
    return soak.run();
}
