// The setup program in a fresh Wine prefix: a silent install puts every
// file, shortcut and the uninstall entry in place, the installed suite
// starts from its shortcut, and a silent uninstall takes everything away
// but the patients' history.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "installer/installer_contents.h"
#include "tests/uidriver/driver_win.h"
#include "tests/uidriver/session_win.h"

namespace {

using uidriver::waitFor;

std::wstring folder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}
std::wstring installDir() { return folder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Tavoral"; }
std::wstring startMenuFolder() { return folder(CSIDL_PROGRAMS) + L"\\Tempo Expiratório"; }
std::wstring desktopShortcut() { return folder(CSIDL_DESKTOPDIRECTORY) + L"\\Tavoral.lnk"; }
std::wstring historyFile() { return folder(CSIDL_LOCAL_APPDATA) + L"\\Tavoral\\historico.csv"; }
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TempoExpiratorio";

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string utf8(const std::wstring& text) {
    std::string out(static_cast<size_t>(text.size()) * 4 + 1, '\0');
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(),
                                      static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return out;
}

DWORD runAndWait(const std::wstring& commandLine, DWORD timeoutMs) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring command = commandLine;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 0xFFFFFFFFu;
    DWORD code = 0xFFFFFFFEu;
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return code;
}

std::wstring registryText(const wchar_t* value) {
    wchar_t text[512] = {};
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, value, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return L"";
    return text;
}

// The shortcut's program and the folder it starts in.
struct Shortcut {
    std::wstring target, workingDir;
};
Shortcut readShortcut(const std::wstring& path) {
    Shortcut s;
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return s;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        if (SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
            wchar_t text[MAX_PATH] = {};
            if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, 0))) s.target = text;
            if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH))) s.workingDir = text;
        }
        file->Release();
    }
    link->Release();
    return s;
}

bool sameFolder(std::wstring a, std::wstring b) {
    while (!a.empty() && (a.back() == L'\\' || a.back() == L'/')) a.pop_back();
    while (!b.empty() && (b.back() == L'\\' || b.back() == L'/')) b.pop_back();
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::wstring fileVersion(const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return L"";
    std::string data(size, '\0');
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || info == nullptr)
        return L"";
    return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionMS)) +
           L"." + std::to_wstring(HIWORD(info->dwFileVersionLS));
}

// Everything the started suite may still have open (the launcher, the
// runtime, the book, an exercise): files in use could not be uninstalled.
void endInstalledPrograms() {
    for (const wchar_t* file : installer::kFiles) {
        while (HANDLE process = uidriver::openProcessNamed(file)) {
            TerminateProcess(process, 0);
            WaitForSingleObject(process, 10000);
            CloseHandle(process);
        }
    }
}

class Installer : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("TE_SINK")) GTEST_SKIP() << "needs the test environment (tools/testenv.sh)";
        CoInitialize(nullptr);
        setup_ = uidriver::buildTreeOfThisProgram() + L"\\TempoExpiratorio-Setup.exe";
        ASSERT_TRUE(exists(setup_)) << "the setup program was not built";
    }
    void TearDown() override { CoUninitialize(); }
    std::wstring setup_;
};

TEST_F(Installer, InstallsStartsAndUninstallsKeepingTheHistory) {
    ASSERT_FALSE(exists(installDir())) << "the prefix must be fresh";

    // --- silent install ---
    ASSERT_EQ(runAndWait(L"\"" + setup_ + L"\" /S", 120000), 0u);
    for (const wchar_t* file : installer::kFiles) EXPECT_TRUE(exists(installDir() + L"\\" + file)) << file;
    EXPECT_TRUE(exists(installDir() + L"\\Desinstalar.exe"));
    for (const wchar_t* file : installer::kFiles) {
        const std::wstring name = file;
        // Wine answers version queries on a file named winhlp32.exe with its
        // own viewer's (empty) resources, whatever the folder.
        if (name == L"winhlp32.exe") continue;
        if (name.size() > 4 && name.substr(name.size() - 4) == L".exe") {
            EXPECT_EQ(fileVersion(installDir() + L"\\" + name), installer::kVersion) << name;
        }
    }

    std::vector<std::wstring> shortcuts = {startMenuFolder() + L"\\Tavoral.lnk", desktopShortcut()};
    for (const wchar_t* name : installer::kExerciseShortcuts) shortcuts.push_back(startMenuFolder() + L"\\" + name);
    for (const std::wstring& path : shortcuts) {
        ASSERT_TRUE(exists(path)) << utf8(path);
        const Shortcut s = readShortcut(path);
        EXPECT_TRUE(sameFolder(s.workingDir, installDir())) << "programs start in their own folder";
        EXPECT_TRUE(exists(s.target));
    }
    EXPECT_TRUE(sameFolder(readShortcut(desktopShortcut()).target, installDir() + L"\\" + installer::kLauncher));

    EXPECT_EQ(registryText(L"DisplayName"), L"Tempo Expiratório");
    EXPECT_EQ(registryText(L"DisplayVersion"), installer::kVersion);
    EXPECT_EQ(registryText(L"QuietUninstallString"), L"\"" + installDir() + L"\\Desinstalar.exe\" /S");

    // --- the installed suite starts from its desktop shortcut ---
    const HINSTANCE opened = ShellExecuteW(nullptr, L"open", desktopShortcut().c_str(), nullptr, nullptr, SW_SHOW);
    EXPECT_GT(reinterpret_cast<INT_PTR>(opened), 32);
    const bool launcher = std::wstring(installer::kLauncher) == L"tavoral.exe";
    HWND first = nullptr;
    EXPECT_TRUE(waitFor(
        [&] {
            first = launcher ? FindWindowW(nullptr, L"Tavoral") : FindWindowW(nullptr, L"Ruido Externo...");
            return first != nullptr;
        },
        60000))
        << "the installed suite's first window";
    endInstalledPrograms();

    // --- silent uninstall; the history stays ---
    CreateDirectoryW((folder(CSIDL_LOCAL_APPDATA) + L"\\Tavoral").c_str(), nullptr);
    std::ofstream(historyFile().c_str(), std::ios::binary) << "\xEF\xBB\xBF" "data;paciente\n";
    std::ofstream((installDir() + L"\\abelha.dat").c_str(), std::ios::binary) << "00:07:35";
    runAndWait(L"\"" + installDir() + L"\\Desinstalar.exe\" /S", 60000);
    // The uninstaller runs from a copy of itself and returns at once; the
    // uninstall entry is the last thing it removes.
    EXPECT_TRUE(waitFor([&] { return registryText(L"DisplayName").empty(); }, 60000)) << "the uninstall entry is gone";
    EXPECT_FALSE(exists(installDir())) << "the program folder is removed";
    for (const std::wstring& path : shortcuts) EXPECT_FALSE(exists(path)) << utf8(path);
    EXPECT_FALSE(exists(startMenuFolder()));
    EXPECT_TRUE(exists(historyFile())) << "the patients' history is kept";
}

}  // namespace
