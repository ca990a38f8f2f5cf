// The soak's own ear on the virtual microphone: a recording that runs for
// the whole soak beside the program's, so a program's time can be set
// against what the microphone really heard.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "tests/uidriver/heard_sounds.h"

namespace uidriver {

class Ear {
public:
    Ear();   // starts listening; listening() tells whether it could
    ~Ear();
    Ear(const Ear&) = delete;
    Ear& operator=(const Ear&) = delete;

    bool listening() const { return device_ != nullptr; }
    uint64_t samplesHeard();
    // The first sound of at least `shortestMs` that started after `from`
    // (a samplesHeard() taken before it was played), once it has ended;
    // waits up to `timeoutMs` for it.
    std::optional<HeardSounds::Sound> soundFrom(uint64_t from, int shortestMs, DWORD timeoutMs);

private:
    void listen();

    HWAVEIN device_ = nullptr;
    HANDLE ready_ = nullptr;
    std::vector<std::vector<int16_t>> buffers_;
    std::vector<WAVEHDR> headers_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
    std::mutex lock_;
    HeardSounds heard_;
};

}  // namespace uidriver
