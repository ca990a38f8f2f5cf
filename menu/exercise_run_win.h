// One run of an exercise started from the menu: the process, and what it
// left behind when it ended.
#pragma once

#include <windows.h>

#include <string>

#include "menu/exercises.h"
#include "menu/run_result.h"

namespace menu {

class CExerciseRun {
public:
    CExerciseRun() = default;
    ~CExerciseRun();
    CExerciseRun(const CExerciseRun&) = delete;
    CExerciseRun& operator=(const CExerciseRun&) = delete;

    enum class Start { started, missing, failed };
    // Starts the exercise's program from `folder`, with that folder as its
    // current directory.  On failure `error` says why.
    Start start(const std::wstring& folder, const Exercise& exercise, std::string& error);

    bool running() const { return process_.hProcess != nullptr; }
    // Signalled when the program ends.
    HANDLE process() const { return process_.hProcess; }

    struct Outcome {
        int hundredths = -1;      // the time of this run's result; -1 when there is none
        bool unreadable = false;  // a result file was written but holds no time
        std::wstring sound;       // the sound this run left beside its result; empty when none
    };
    // Once the process has ended: lets the handles go and reads the result.
    Outcome finish();

private:
    void closeHandles();

    PROCESS_INFORMATION process_{};
    std::wstring resultPath_, soundPath_;
    FileStamp before_, soundBefore_;
};

}  // namespace menu
