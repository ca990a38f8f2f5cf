// The adult program's state, one record for its only thread.
#pragma once

namespace adult {

// Waiting: the invitation is shown, nothing is measured.  Asking: the Esc
// question is open.  Measuring: the panel exists and the capture runs.
// Ended: the main window is gone.
enum class AdultMode { Waiting = 0, Asking = 1, Measuring = 2, Ended = 4 };

struct AdultState {
    AdultMode mode = AdultMode::Waiting;
    bool startPicture = false;  // the invitation rather than the working picture
    bool resultSaved = false;   // "adulto.dat" holds a time confirmed in this run
};

AdultState& adultState();

inline constexpr char kResultFile[] = "adulto.dat";
inline constexpr char kTitle[] = "Tempo Expiratório";

}  // namespace adult
