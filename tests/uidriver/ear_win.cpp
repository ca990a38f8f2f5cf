#include "tests/uidriver/ear_win.h"

#include "tests/uidriver/driver_win.h"
#include "tests/uidriver/samples.h"

namespace uidriver {
namespace {
constexpr int kBuffers = 10;
constexpr int kBufferSamples = kSampleRate / 20;  // 50 ms each
}  // namespace

Ear::Ear() : buffers_(kBuffers, std::vector<int16_t>(kBufferSamples)), headers_(kBuffers) {
    ready_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    const WAVEFORMATEX f = monoPcm16();
    if (!ready_ || waveInOpen(&device_, WAVE_MAPPER, &f, reinterpret_cast<DWORD_PTR>(ready_), 0, CALLBACK_EVENT) !=
                       MMSYSERR_NOERROR) {
        device_ = nullptr;
        return;
    }
    for (int i = 0; i < kBuffers; ++i) {
        headers_[i].lpData = reinterpret_cast<LPSTR>(buffers_[i].data());
        headers_[i].dwBufferLength = kBufferSamples * 2;
        waveInPrepareHeader(device_, &headers_[i], sizeof(WAVEHDR));
        waveInAddBuffer(device_, &headers_[i], sizeof(WAVEHDR));
    }
    if (waveInStart(device_) != MMSYSERR_NOERROR) {
        waveInReset(device_);
        for (WAVEHDR& h : headers_) waveInUnprepareHeader(device_, &h, sizeof(WAVEHDR));
        waveInClose(device_);
        device_ = nullptr;
        return;
    }
    thread_ = std::thread([this] { listen(); });
}

Ear::~Ear() {
    if (device_) {
        stopping_ = true;
        SetEvent(ready_);
        thread_.join();
        waveInReset(device_);
        for (WAVEHDR& h : headers_) waveInUnprepareHeader(device_, &h, sizeof(WAVEHDR));
        waveInClose(device_);
    }
    if (ready_) CloseHandle(ready_);
}

// Takes the buffers in the order they were queued, so the samples count
// stays the recording's clock.
void Ear::listen() {
    size_t next = 0;
    while (!stopping_) {
        WaitForSingleObject(ready_, 100);
        while (!stopping_ && (headers_[next].dwFlags & WHDR_DONE)) {
            WAVEHDR& h = headers_[next];
            {
                std::lock_guard<std::mutex> hold(lock_);
                heard_.hear(reinterpret_cast<const int16_t*>(h.lpData), h.dwBytesRecorded / 2);
            }
            h.dwFlags &= ~WHDR_DONE;
            waveInAddBuffer(device_, &h, sizeof(WAVEHDR));
            next = (next + 1) % headers_.size();
        }
    }
}

uint64_t Ear::samplesHeard() {
    std::lock_guard<std::mutex> hold(lock_);
    return heard_.samplesHeard();
}

std::optional<HeardSounds::Sound> Ear::soundFrom(uint64_t from, int shortestMs, DWORD timeoutMs) {
    std::optional<HeardSounds::Sound> found;
    if (!listening()) return found;
    waitFor(
        [&] {
            std::lock_guard<std::mutex> hold(lock_);
            if (const HeardSounds::Sound* s = heard_.firstSoundFrom(from, shortestMs)) found = *s;
            return found.has_value();
        },
        timeoutMs);
    return found;
}

}  // namespace uidriver
