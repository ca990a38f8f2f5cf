#include "menu/history_file_win.h"

#include <shlobj.h>

#include <memory>

#include "menu/history_place.h"
#include "menu/menu_ids.h"
#include "winui/user_message_win.h"

namespace menu {
namespace {

struct HandleCloser {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
using File = std::unique_ptr<void, HandleCloser>;

File openFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
    HANDLE h = CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return File(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

std::string lastErrorText() { return systemErrorText(GetLastError()); }

std::wstring folderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L"\\/")); }
std::wstring fileName() { return ui::widen(kHistoryFileName); }

bool isFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
bool isFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Only the last folder is made: one whose place is missing (a network
// drive not connected) is not there to be written to, and making its
// parents would put the history where nobody looks for it.
bool ensureFolder(const std::wstring& folder, std::string& error) {
    if (CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) {
        if (isFolder(folder)) return true;
        error = systemErrorText(ERROR_DIRECTORY);
        return false;
    }
    error = lastErrorText();
    return false;
}

std::wstring knownFolder(int csidl) {
    wchar_t path[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return path;
}

// Whether the file's last byte is a line feed; false for an empty file.
bool endsWithLineBreak(HANDLE file, LONGLONG size) {
    if (size == 0) return false;
    LARGE_INTEGER last{};
    last.QuadPart = size - 1;
    char byte = 0;
    DWORD read = 0;
    return SetFilePointerEx(file, last, nullptr, FILE_BEGIN) && ReadFile(file, &byte, 1, &read, nullptr) &&
           read == 1 && byte == '\n';
}

bool isNetworkOrDriveError(DWORD code) {
    switch (code) {
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_NETNAME_DELETED:
        case ERROR_NETWORK_UNREACHABLE:
        case ERROR_HOST_UNREACHABLE:
        case ERROR_REM_NOT_LIST:
        case ERROR_UNEXP_NET_ERR:
        case ERROR_INVALID_DRIVE:
        case ERROR_NOT_READY:
            return true;
        default:
            return false;
    }
}

bool isBusy(DWORD code) { return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION; }

constexpr LONGLONG kLargestHistory = 64 * 1024 * 1024;

// The whole file through an open handle.
bool readAll(HANDLE file, std::string& contents, std::string& error) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
        error = lastErrorText();
        return false;
    }
    if (size.QuadPart > kLargestHistory) {
        error = "o arquivo é grande demais para um histórico";
        return false;
    }
    contents.assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!contents.empty() && !ReadFile(file, contents.data(), static_cast<DWORD>(contents.size()), &read, nullptr)) {
        error = lastErrorText();
        return false;
    }
    contents.resize(read);
    return true;
}

// Writes all of `contents` through an open handle, flushed to disk when asked.
bool writeAll(HANDLE file, const std::string& contents, bool flush) {
    DWORD written = 0;
    return WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr) &&
           written == contents.size() && (!flush || FlushFileBuffers(file));
}

DiskResult diskError(DWORD code) {
    return {isBusy(code) ? DiskStatus::busy
            : code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? DiskStatus::missing
                                                                            : DiskStatus::failed,
            systemErrorText(code)};
}

}  // namespace

HistoryPlace historyPlace() {
    HistoryPlace place;
    const std::wstring local = knownFolder(CSIDL_LOCAL_APPDATA);
    const std::wstring localFolder = local.empty() ? std::wstring() : local + L"\\Tavoral";
    wchar_t value[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(kHistoryFolderVariable, value, MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
        place.folder = value;
        while (place.folder.size() > 3 && (place.folder.back() == L'\\' || place.folder.back() == L'/'))
            place.folder.pop_back();
    } else {
        place.folder = localFolder;
        place.isDefault = true;
    }
    if (place.folder.empty()) return place;
    place.path = place.folder + L"\\" + fileName();
    // Without a local folder the pending results wait beside the history.
    const std::wstring pendingFolder = localFolder.empty() ? place.folder : localFolder;
    place.pendingPath = ui::widen(pendingPathFor(ui::narrow(place.path), ui::narrow(pendingFolder),
                                                 place.isDefault || localFolder.empty()));
    return place;
}

std::string moveRoamingHistory(const HistoryPlace& place) {
    if (!place.isDefault) return {};
    const std::wstring roaming = knownFolder(CSIDL_APPDATA);
    if (roaming.empty()) return {};
    const std::wstring old = roaming + L"\\Tavoral\\" + fileName();
    if (!isFile(old) || _wcsicmp(old.c_str(), place.path.c_str()) == 0) return {};
    std::string error;
    if (!ensureFolder(place.folder, error)) return error;
    if (!isFile(place.path)) {
        if (MoveFileExW(old.c_str(), place.path.c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH)) return {};
        return lastErrorText();
    }
    // Both exist: what only the old one holds joins the local one, and the
    // old one goes, so that one file is in use.
    const HistoryRead from = readHistoryFile(old), into = readHistoryFile(place.path);
    if (from.status != ReadStatus::ok) return from.error;
    if (into.status != ReadStatus::ok) return into.error;
    const auto missing = recordsMissingFrom(into.history.records, from.history.records);
    if (!missing.empty() && !appendToHistoryFile(place.path, missing, error)) return error;
    if (!DeleteFileW(old.c_str())) return lastErrorText();
    return {};
}

std::string systemErrorText(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring wide = n && text ? std::wstring(text, n) : L"erro " + std::to_wstring(code);
    if (text) LocalFree(text);
    while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L' ')) wide.pop_back();
    return ui::narrow(wide);
}

void restoreAfterInterruptedRewrite(const std::wstring& path) {
    const std::wstring backup = ui::widen(backupFileFor(ui::narrow(path)));
    if (!isFile(path) && isFile(backup)) MoveFileExW(backup.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH);
}

HistoryRead readHistoryFile(const std::wstring& path) {
    HistoryRead result;
    // A spreadsheet may hold the file open for writing; reading still works.
    File file = openFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (!file) {
        const DWORD code = GetLastError();
        const std::wstring folder = folderOf(path);
        if (code == ERROR_FILE_NOT_FOUND && isFolder(folder)) return result;
        // No folder yet is no history yet only where the folder can be made.
        if (code == ERROR_PATH_NOT_FOUND && isFolder(folderOf(folder))) return result;
        result.status = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND || isNetworkOrDriveError(code)
                            ? ReadStatus::unreachable
                            : ReadStatus::failed;
        result.error = systemErrorText(code);
        return result;
    }
    std::string contents;
    if (!readAll(file.get(), contents, result.error)) {
        result.status = ReadStatus::failed;
        return result;
    }
    result.history = parseHistory(contents);
    return result;
}

bool appendToHistoryFile(const std::wstring& path, const std::vector<HistoryRecord>& records, std::string& error) {
    if (records.empty()) return true;
    if (!ensureFolder(folderOf(path), error)) return false;
    // Append access only: whatever happens, what is already there stays.
    File file = openFile(path, FILE_APPEND_DATA | FILE_READ_DATA | SYNCHRONIZE, FILE_SHARE_READ, OPEN_ALWAYS);
    if (!file) {
        error = lastErrorText();
        return false;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) {
        error = lastErrorText();
        return false;
    }
    const std::string text = appendText(records, size.QuadPart == 0, endsWithLineBreak(file.get(), size.QuadPart));
    LARGE_INTEGER zero{};
    DWORD written = 0;
    if (!SetFilePointerEx(file.get(), zero, nullptr, FILE_END) ||
        !WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
        written != text.size() || !FlushFileBuffers(file.get())) {
        error = lastErrorText();
        return false;
    }
    return true;
}

std::wstring writeSpreadsheetCopy(const std::wstring& historyPath, const std::vector<HistoryRecord>& pending,
                                  std::string& error) {
    std::string contents;
    if (File live = openFile(historyPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING)) {
        if (!readAll(live.get(), contents, error)) return {};
    }
    if (!pending.empty())
        contents += appendText(pending, contents.empty(), contents.empty() || contents.back() == '\n');
    if (contents.empty()) return {};
    wchar_t temp[MAX_PATH];
    const DWORD n = GetTempPathW(MAX_PATH, temp);
    if (n == 0 || n >= MAX_PATH) {
        error = lastErrorText();
        return {};
    }
    const std::wstring folder = std::wstring(temp) + L"Tavoral";
    if (!ensureFolder(folder, error)) return {};
    // The copy opened last time may still be open in the spreadsheet: then
    // the next name is used.
    for (int i = 1; i <= 9; ++i) {
        const std::wstring path = folder + L"\\historico (cópia" + (i == 1 ? L"" : L" " + std::to_wstring(i)) + L").csv";
        File copy = openFile(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
        if (!copy) {
            error = lastErrorText();
            continue;
        }
        if (!writeAll(copy.get(), contents, false)) {
            error = lastErrorText();
            return {};
        }
        return path;
    }
    return {};
}

DiskResult CHistoryDisk::read(const std::string& path, std::string& contents) {
    // Nobody may write while the rewrite works from what it read.
    File file = openFile(ui::widen(path), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    if (!file) return diskError(GetLastError());
    std::string error;
    if (!readAll(file.get(), contents, error)) return {DiskStatus::failed, error};
    return {};
}

DiskResult CHistoryDisk::writeFlushed(const std::string& path, const std::string& contents) {
    File file = openFile(ui::widen(path), GENERIC_WRITE, 0, CREATE_ALWAYS);
    if (!file || !writeAll(file.get(), contents, true)) return diskError(GetLastError());
    return {};
}

DiskResult CHistoryDisk::swap(const std::string& target, const std::string& replacement, const std::string& backup,
                              SwapFailure& left) {
    left = SwapFailure::nothingMoved;
    if (ReplaceFileW(ui::widen(target).c_str(), ui::widen(replacement).c_str(), ui::widen(backup).c_str(),
                     REPLACEFILE_WRITE_THROUGH, nullptr, nullptr))
        return {};
    const DWORD code = GetLastError();
    // Only this failure moves the old file: it is then the backup.
    if (code == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) left = SwapFailure::oldAtBackupName;
    return diskError(code == ERROR_UNABLE_TO_REMOVE_REPLACED ? ERROR_SHARING_VIOLATION : code);
}

DiskResult CHistoryDisk::move(const std::string& from, const std::string& to) {
    if (MoveFileExW(ui::widen(from).c_str(), ui::widen(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {};
    return diskError(GetLastError());
}

DiskResult CHistoryDisk::remove(const std::string& path) {
    if (DeleteFileW(ui::widen(path).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) return {};
    return diskError(GetLastError());
}

}  // namespace menu
