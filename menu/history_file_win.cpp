#include "menu/history_file_win.h"

#include <shlobj.h>

#include <memory>

#include "menu/menu_ids.h"
#include "voice/user_message_win.h"

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

bool ensureFolder(const std::wstring& folder, std::string& error) {
    if (CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) {
        const DWORD attributes = GetFileAttributesW(folder.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
        error = systemErrorText(ERROR_DIRECTORY);
        return false;
    }
    error = lastErrorText();
    return false;
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

}  // namespace

std::wstring historyFolder() {
    wchar_t value[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(kHistoryFolderVariable, value, MAX_PATH);
    if (n > 0 && n < MAX_PATH) return value;
    wchar_t appData[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData))) return {};
    return std::wstring(appData) + L"\\Tavoral";
}

std::wstring historyPathIn(const std::wstring& folder) {
    return folder + L"\\" + std::wstring(kHistoryFileName, kHistoryFileName + sizeof kHistoryFileName - 1);
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

HistoryRead readHistoryFile(const std::wstring& path) {
    HistoryRead result;
    // A spreadsheet may hold the file open for writing; reading still works.
    File file = openFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (!file) {
        const DWORD code = GetLastError();
        result.ok = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
        if (!result.ok) result.error = systemErrorText(code);
        return result;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 64 * 1024 * 1024) {
        result.error = size.QuadPart > 0 ? "o arquivo é grande demais para um histórico" : lastErrorText();
        return result;
    }
    std::string contents(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!contents.empty() &&
        (!ReadFile(file.get(), contents.data(), static_cast<DWORD>(contents.size()), &read, nullptr))) {
        result.error = lastErrorText();
        return result;
    }
    contents.resize(read);
    result.history = parseHistory(contents);
    result.ok = true;
    return result;
}

bool appendToHistoryFile(const std::wstring& path, const HistoryRecord& record, std::string& error) {
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
    const std::string text = appendText(record, size.QuadPart == 0, endsWithLineBreak(file.get(), size.QuadPart));
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

}  // namespace menu
