#include "shell/shell_state.h"

namespace shell {

ShellState& shellState() {
    static ShellState state;
    return state;
}

}  // namespace shell
