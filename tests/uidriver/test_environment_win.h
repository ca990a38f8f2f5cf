// What tools/testenv.sh offers a Windows program beyond a display and a
// microphone: its audio server switched off and on, and sound played by
// the server itself.  Both are asked for through files in the folder
// $TE_AUDIO_CONTROL_DIR names.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tests/uidriver/driver_win.h"

namespace uidriver {

// The microphone unplugged ("stop") and plugged back ("start").  False
// when it did not happen, or when there is no such environment.
bool audioServer(const char* request);

// Plays 16-bit mono PCM at 11025 Hz into the virtual microphone through
// the audio server's own player, outside Wine.  A long soak's vowels then
// arrive whole even on a busy machine, where Wine's playback falls behind
// for moments and leaves holes in them.  Outside the environment it plays
// through Wine like PcmPlayer.  Like PcmPlayer, it stops the sound when it
// goes out of scope, so a test that fails halfway leaves the next one quiet.
class ServerPlayer {
public:
    explicit ServerPlayer(const std::vector<int16_t>& samples);
    ~ServerPlayer();
    ServerPlayer(const ServerPlayer&) = delete;
    ServerPlayer& operator=(const ServerPlayer&) = delete;
    bool finished() const;

private:
    std::wstring request_;  // empty when playing through Wine
    std::unique_ptr<PcmPlayer> throughWine_;
};

}  // namespace uidriver
