// Continuous microphone capture through waveIn.
//
// One recorder per program.  It keeps 100 buffers of 62.5 ms queued at the
// device; the owner window (the game window, a calibration dialog, the adult
// panel) gets MM_WIM_DATA for each filled buffer, measures it, releases it
// and queues a fresh one, until a stop is requested.  Then the device gives
// every buffer back, the last release closes it and MM_WIM_CLOSE arrives.
//
// Recording states:
//   idle        constructed, nothing recorded yet
//   recording   a successful Start
//   draining    RequestStop: the buffers come back, then the device closes
//   closed      MM_WIM_CLOSE seen, or wound down; ready to start again
//   failed      Start returned 0
//
// The recorder shows nothing itself: a failure goes, with the text and
// caption the user is to see, to the report its owner gave it.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "voice/intensity.h"

namespace voice {

// The waveIn entry points the recorder uses.  Production passes the real
// ones; tests wrap them to make one call fail.
struct WaveInApi {
    MMRESULT(WINAPI* open)(LPHWAVEIN, UINT, LPCWAVEFORMATEX, DWORD_PTR, DWORD_PTR, DWORD);
    MMRESULT(WINAPI* prepareHeader)(HWAVEIN, LPWAVEHDR, UINT);
    MMRESULT(WINAPI* addBuffer)(HWAVEIN, LPWAVEHDR, UINT);
    MMRESULT(WINAPI* start)(HWAVEIN);
    MMRESULT(WINAPI* stop)(HWAVEIN);
    MMRESULT(WINAPI* reset)(HWAVEIN);
    MMRESULT(WINAPI* unprepareHeader)(HWAVEIN, LPWAVEHDR, UINT);
    MMRESULT(WINAPI* close)(HWAVEIN);
    MMRESULT(WINAPI* getErrorText)(MMRESULT, LPWSTR, UINT);
};
const WaveInApi& realWaveInApi();

// 16-bit mono PCM at the given rate: the capture's format, and the one the
// volume control probes the mapper with.
WAVEFORMATEX monoPcm16Format(DWORD samplesPerSecond);

enum class RecorderState { Idle, Recording, Draining, Closed, Failed };

// What the user is told when the device fails.
struct RecorderFailure {
    std::string text;
    std::string caption;
};
using FailureReport = std::function<void(const RecorderFailure&)>;
// The report every recorder starts with: the failure in a message box.
void showRecorderFailure(const RecorderFailure& failure);

class CWaveRecorder {
public:
    static constexpr int kBufferCount = 100;

    explicit CWaveRecorder(const WaveInApi& api = realWaveInApi(), FailureReport report = showRecorderFailure);
    ~CWaveRecorder();
    CWaveRecorder(const CWaveRecorder&) = delete;
    CWaveRecorder& operator=(const CWaveRecorder&) = delete;

    // Begins a recording whose notifications go to `owner`: 1 started,
    // 0 failed (the reason has been shown to the user).
    int Start(HWND owner);
    // Stops the device; the buffers then come back and the device closes.
    void RequestStop();
    // Stops and resets the device without marking a stop request.
    void StopAndReset();
    // Unprepares and frees one returned buffer; 1 when it held data.  The
    // last release closes the device.
    int ReleaseBuffer(WAVEHDR* header);
    // Allocates and prepares a buffer in the first free slot: slot or -1.
    int QueueFreshBuffer();
    // QueueFreshBuffer, then hands the new buffer to the device.
    void QueueAndAddFreshBuffer();
    int Open(HWND owner);
    int PrepareAllBuffers();
    void Close();

    // Stops at once: every buffer is taken back and freed, the device is
    // closed and the owner's pending capture notifications are discarded,
    // so the recorder can start again immediately with a new owner.
    void WindDown();

    RecorderState state() const { return state_; }
    bool stopRequested() const { return state_ != RecorderState::Recording; }
    bool deviceClosed() const {
        return state_ == RecorderState::Idle || state_ == RecorderState::Closed || state_ == RecorderState::Failed;
    }
    // MM_WIM_CLOSE arrived.  False when it is an earlier recording's, come
    // late (the system may post it after a new recording has opened its
    // device): the recording running now goes on, and must not be taken for
    // closed, or it would stop queueing buffers and fall silent.
    bool markDeviceClosed() {
        if (device_ != nullptr) return false;
        state_ = RecorderState::Closed;
        return true;
    }
    // Where failures go from now on.
    void reportFailuresTo(FailureReport report) { report_ = std::move(report); }
    int64_t bytesRecorded() const { return bytesRecorded_; }
    // How much audio the buffers released since Start held: the recording's
    // own clock, which no slow handler can stretch.  (It wraps after 49 days
    // of one recording; the timer takes differences, so that is harmless.)
    uint32_t recordedMs() const {
        return static_cast<uint32_t>(static_cast<uint64_t>(bytesRecorded_ / 2) * 1000 / kSampleRate);
    }
    // Tests make one waveIn call of the program's own recorder fail; only
    // while no recording exists.
    bool useApi(const WaveInApi& api);
    HWAVEIN device() const { return device_; }
    HWND owner() const { return owner_; }
    // A recording whose device has handed nothing back for `silentMs`: the
    // microphone was unplugged or its driver (an audio server) went away.
    // Such a device signals nothing; only the silence tells.
    bool stalled(DWORD now, DWORD silentMs) const {
        return device_ != nullptr && state_ == RecorderState::Recording && now - lastReturnTick_ > silentMs;
    }
    const WAVEFORMATEX& format() const { return format_; }
    bool ownsHeader(const WAVEHDR* header) const { return findSlot(header) >= 0; }
    int allocatedSlots() const;

private:
    // One buffer and its header, owned by the recorder until it is freed;
    // the device holds its address while the buffer is queued.
    struct Slot {
        WAVEHDR header;
        std::array<char, kBufferBytes> data;
    };

    int findSlot(const WAVEHDR* header) const;
    bool allocateSlot(int slot);
    void freeSlot(int slot);
    void unprepareAndFreeAll();
    void discardOwnerNotifications();
    void report(const char* text, const char* caption) const;
    void reportDeviceError(MMRESULT result, UINT maxChars, const char* caption) const;
    MMRESULT addToDevice(int slot);

    const WaveInApi* api_;
    HWAVEIN device_ = nullptr;
    FailureReport report_;
    std::array<std::unique_ptr<Slot>, kBufferCount> slots_{};
    RecorderState state_ = RecorderState::Idle;
    int64_t bytesRecorded_ = 0;  // 32 bits would overflow after about 27 hours
    WAVEFORMATEX format_{};
    HWND owner_ = nullptr;
    DWORD lastReturnTick_ = 0;  // when the device last handed a buffer back (or started)
};

// The program's single recorder.
CWaveRecorder& waveRecorder();

// The per-buffer steps every owner runs on MM_WIM_DATA:
//   1. a buffer that is not done is ignored;
//   2. its level is measured (when `measure`) and handed to `use` -- nullopt
//      for a buffer without a whole frame, which must change nothing;
//   3. the buffer is released;
//   4. a fresh buffer is queued unless a stop was requested.
// A header that is not ours is never read: the release reports it.
// Returns false when the notification was ignored.
template <class Use>
bool processCapturedBuffer(CWaveRecorder& recorder, WAVEHDR* header, bool measure, Use&& use) {
    if (recorder.ownsHeader(header)) {
        if ((header->dwFlags & WHDR_DONE) == 0) return false;
        std::optional<float> level;
        if (measure && header->dwBytesRecorded > 0) {
            DWORD bytes = header->dwBytesRecorded;
            if (bytes > header->dwBufferLength) bytes = header->dwBufferLength;
            level = measureBuffer(reinterpret_cast<int16_t*>(header->lpData), static_cast<int32_t>(bytes / 2));
        }
        use(level);
    }
    recorder.ReleaseBuffer(header);
    if (!recorder.stopRequested()) recorder.QueueAndAddFreshBuffer();
    return true;
}

}  // namespace voice
