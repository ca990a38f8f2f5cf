#include "menu/history_rewrite.h"

namespace menu {
namespace {

std::string withoutExtension(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of("\\/");
    return dot == std::string::npos || (slash != std::string::npos && dot < slash) ? path : path.substr(0, dot);
}

RewriteOutcome failure(const DiskResult& result) {
    RewriteOutcome outcome;
    outcome.status = result.status == DiskStatus::busy ? DiskStatus::busy : DiskStatus::failed;
    outcome.error = result.error;
    return outcome;
}

}  // namespace

std::string newFileFor(const std::string& path) { return withoutExtension(path) + ".novo"; }
std::string backupFileFor(const std::string& path) { return withoutExtension(path) + ".bak"; }

RewriteOutcome rewriteHistory(IHistoryDisk& disk, const std::string& path, const HistoryEdit& edit) {
    std::string contents;
    const DiskResult read = disk.read(path, contents);
    if (read.status == DiskStatus::missing) return {};
    if (!read) return failure(read);
    const EditedHistory edited = editHistory(contents, edit);
    if (edited.changed == 0) return {};

    const std::string fresh = newFileFor(path), backup = backupFileFor(path);
    // A backup left by an earlier attempt would make the swap fail; it is
    // older than the file just read, which is whole.
    disk.remove(backup);
    if (const DiskResult written = disk.writeFlushed(fresh, edited.contents); !written) {
        disk.remove(fresh);
        return failure(written);
    }
    SwapFailure left = SwapFailure::nothingMoved;
    if (const DiskResult swapped = disk.swap(path, fresh, backup, left); !swapped) {
        RewriteOutcome outcome = failure(swapped);
        if (left == SwapFailure::oldAtBackupName && !disk.move(backup, path)) {
            // Nothing is lost, but the therapist must know where it is.
            outcome.oldFileAt = backup;
            outcome.status = DiskStatus::failed;
        }
        disk.remove(fresh);
        return outcome;
    }
    RewriteOutcome outcome;
    outcome.changed = edited.changed;
    // The backup holds what was removed: it must not stay behind.
    outcome.backupLeft = !disk.remove(backup);
    return outcome;
}

}  // namespace menu
