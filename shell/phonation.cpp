#include "shell/phonation.h"

namespace shell {

ShellState& shellState() {
    static ShellState state;
    return state;
}

void startPhonation(ShellState& state, uint32_t now) {
    state.phonationStart = now;
    // The tick count can be 0 once every 49.7 days; 0 means "not running".
    if (state.phonationStart == 0) state.phonationStart = 1;
}

bool endPhonation(ShellState& state, uint32_t now, IPhonationEvents& events) {
    bool taken = false;
    if (state.phonationStart != 0 && now - state.phonationStart > kShortestPhonationMs) {
        const uint32_t end = events.now();
        state.elapsedMs = static_cast<float>(end - state.phonationStart);
        events.renderFrame();
        state.resultPending = true;
        events.requestStop();
        taken = true;
    }
    state.phonationStart = 0;
    return taken;
}

uint32_t runningPhonationMs(const ShellState& state, uint32_t now) {
    return state.phonationStart != 0 ? now - state.phonationStart : 0;
}

}  // namespace shell
