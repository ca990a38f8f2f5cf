// The history on disk: where it lives, reading it whole, appending in one
// write, the pending results beside it, the copy a spreadsheet opens and
// the rewrite that corrects a name or removes a patient.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "menu/history.h"
#include "menu/history_rewrite.h"

namespace menu {

struct HistoryPlace {
    std::wstring folder;       // empty when there is nowhere to keep it
    std::wstring path;         // folder\historico.csv
    std::wstring pendingPath;  // where results wait that could not be written
    bool isDefault = false;    // the folder is %LOCALAPPDATA%\Tavoral, not TAVORAL_HISTORICO
};

// The folder named by TAVORAL_HISTORICO, or %LOCALAPPDATA%\Tavoral.
HistoryPlace historyPlace();

// A history from before it moved out of the roaming profile
// (%APPDATA%\Tavoral) is moved to the local folder, once; one found in
// both places is merged into the local one.  Empty when all is well, the
// reason otherwise (the old file is then left where it was).
std::string moveRoamingHistory(const HistoryPlace& place);

// The system's own words for an error code, without the trailing line end.
std::string systemErrorText(DWORD code);

enum class ReadStatus {
    ok,           // read, or no file yet in a folder that is there or can be made
    unreachable,  // the folder's place is not there (a network folder not connected)
    failed,       // the file is there but could not be read
};
struct HistoryRead {
    ReadStatus status = ReadStatus::ok;
    ParsedHistory history;  // empty when there is no file yet
    std::string error;
};
HistoryRead readHistoryFile(const std::wstring& path);

// A rewrite that could not put the old file back left it under the backup's
// name: it is put back in its place (once, as the menu starts).
void restoreAfterInterruptedRewrite(const std::wstring& path);

// Creates the folder when needed (never the folders above it) and appends
// the records in one write, flushed to disk.  False, with the reason, when
// they are not on disk.
bool appendToHistoryFile(const std::wstring& path, const std::vector<HistoryRecord>& records, std::string& error);

// The history and its pending records as one file in %TEMP%\Tavoral for a
// spreadsheet to open, so that it never holds the live file.  The path, or
// empty with the reason.
std::wstring writeSpreadsheetCopy(const std::wstring& historyPath, const std::vector<HistoryRecord>& pending,
                                  std::string& error);

// The file operations of a rewrite, done with the system's own calls.
class CHistoryDisk : public IHistoryDisk {
public:
    DiskResult read(const std::string& path, std::string& contents) override;
    DiskResult writeFlushed(const std::string& path, const std::string& contents) override;
    DiskResult swap(const std::string& target, const std::string& replacement, const std::string& backup,
                    SwapFailure& left) override;
    DiskResult move(const std::string& from, const std::string& to) override;
    DiskResult remove(const std::string& path) override;
};

}  // namespace menu
