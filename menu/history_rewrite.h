// Rewriting the history for a corrected name or a removed patient, so that
// a failure at any step leaves the old file whole: the new file is written
// and flushed beside the old one and then swapped in, the old kept as a
// backup until the swap has succeeded.  The file operations come through
// IHistoryDisk, so each step's failure can be tried.
#pragma once

#include <string>

#include "menu/history.h"

namespace menu {

enum class DiskStatus {
    ok,
    missing,  // no such file
    busy,     // another program holds it open
    failed,
};

struct DiskResult {
    DiskStatus status = DiskStatus::ok;
    std::string error;  // the system's words when it did not work
    explicit operator bool() const { return status == DiskStatus::ok; }
};

// What a swap that did not work left behind.
enum class SwapFailure {
    nothingMoved,     // the old file is still under its own name
    oldAtBackupName,  // the old file was renamed to the backup and stayed there
};

class IHistoryDisk {
public:
    virtual ~IHistoryDisk() = default;
    // Reads the whole file, refusing while another program may write it.
    virtual DiskResult read(const std::string& path, std::string& contents) = 0;
    // Creates or truncates the file, writes it and flushes it to disk.
    virtual DiskResult writeFlushed(const std::string& path, const std::string& contents) = 0;
    // Puts `replacement` in the place of `target`, keeping the old file as
    // `backup` meanwhile.  On failure `left` says where the old file is.
    virtual DiskResult swap(const std::string& target, const std::string& replacement, const std::string& backup,
                            SwapFailure& left) = 0;
    virtual DiskResult move(const std::string& from, const std::string& to) = 0;
    virtual DiskResult remove(const std::string& path) = 0;
};

// "historico.csv" -> "historico.novo" and "historico.bak" beside it.
std::string newFileFor(const std::string& path);
std::string backupFileFor(const std::string& path);

struct RewriteOutcome {
    DiskStatus status = DiskStatus::ok;  // busy: held by another program; try again
    std::size_t changed = 0;             // records renamed or removed
    std::string error;                   // what went wrong, for the therapist
    std::string oldFileAt;               // set only when the old file could not be put back: where it is
    bool backupLeft = false;             // done, but the backup could not be removed
};

// Applies `edit` to the file at `path`.  A missing file has nothing to change.
RewriteOutcome rewriteHistory(IHistoryDisk& disk, const std::string& path, const HistoryEdit& edit);

}  // namespace menu
