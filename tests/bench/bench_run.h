// How long the Windows benchmarks measure.  Inside `make test` they make a
// short run: every measurement is taken, briefly, so a program that cannot
// be driven or measured still fails it, but its figures are not worth
// reading.  `make bench` sets TE_BENCH_FULL=1 for the full run.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace bench {

inline bool fullRun() {
    const char* full = std::getenv("TE_BENCH_FULL");
    return full && *full && std::strcmp(full, "0") != 0;
}

// The full run's amount, or the short run's.
inline int measureFor(int full, int shortRun) { return fullRun() ? full : shortRun; }

// The first line of a benchmark's output, so a short run's figures are
// never quoted as the real ones.
inline void sayWhichRun(const char* benchmark) {
    if (!fullRun())
        std::printf("%s: short run (TE_BENCH_FULL=1 or `make bench` for the full one); its figures are not worth "
                    "reading\n",
                    benchmark);
}

}  // namespace bench
