// The history file on disk: where it lives, reading it whole and appending
// one record in one write.
#pragma once

#include <windows.h>

#include <string>

#include "menu/history.h"

namespace menu {

// The folder named by TAVORAL_HISTORICO, or %APPDATA%\Tavoral; empty when
// neither can be found.
std::wstring historyFolder();
std::wstring historyPathIn(const std::wstring& folder);

// The system's own words for an error code, without the trailing line end.
std::string systemErrorText(DWORD code);

struct HistoryRead {
    bool ok = false;        // false: the file exists but could not be read
    ParsedHistory history;  // empty when there is no file yet
    std::string error;
};
HistoryRead readHistoryFile(const std::wstring& path);

// Creates the folder when needed and appends the record, flushed to disk.
// False, with the reason, when the record is not on disk.
bool appendToHistoryFile(const std::wstring& path, const HistoryRecord& record, std::string& error);

}  // namespace menu
