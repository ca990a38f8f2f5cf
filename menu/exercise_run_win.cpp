#include "menu/exercise_run_win.h"

#include "menu/history.h"
#include "menu/history_file_win.h"
#include "winui/user_message_win.h"

namespace menu {
namespace {

int64_t ticks(FILETIME t) {
    return static_cast<int64_t>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
}

FileStamp stampOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    return {true, ticks(data.ftLastWriteTime),
            static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow)};
}

// The result file's time, or -1.  The exercises write 8 characters; a
// longer file is no result of theirs.
int readResult(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    char text[16] = {};
    DWORD read = 0;
    const bool ok = ReadFile(file, text, sizeof text, &read, nullptr);
    CloseHandle(file);
    return ok && read < sizeof text ? parseTimeText(std::string(text, read)) : -1;
}

}  // namespace

CExerciseRun::~CExerciseRun() { closeHandles(); }

CExerciseRun::Start CExerciseRun::start(const std::wstring& folder, const Exercise& exercise, std::string& error) {
    const std::wstring program = folder + L"\\" + ui::widen(programFile(exercise));
    const DWORD attributes = GetFileAttributesW(program.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        error = systemErrorText(ERROR_FILE_NOT_FOUND);
        return Start::missing;
    }
    resultPath_ = folder + L"\\" + ui::widen(resultFile(exercise));
    before_ = stampOf(resultPath_);
    soundPath_ = folder + L"\\" + ui::widen(soundFile(exercise));
    soundBefore_ = stampOf(soundPath_);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + program + L"\"";
    if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process_)) {
        process_ = {};
        error = systemErrorText(GetLastError());
        return Start::failed;
    }
    return Start::started;
}

CExerciseRun::Outcome CExerciseRun::finish() {
    closeHandles();
    Outcome outcome;
    if (!isResultOfThisRun(before_, stampOf(resultPath_))) return outcome;
    outcome.hundredths = readResult(resultPath_);
    outcome.unreadable = outcome.hundredths < 0;
    // The exercise writes the sound just before the result, and only then.
    if (!outcome.unreadable && isResultOfThisRun(soundBefore_, stampOf(soundPath_))) outcome.sound = soundPath_;
    return outcome;
}

void CExerciseRun::closeHandles() {
    if (process_.hThread) CloseHandle(process_.hThread);
    if (process_.hProcess) CloseHandle(process_.hProcess);
    process_ = {};
}

}  // namespace menu
