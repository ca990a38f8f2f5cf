#include "tools/uidriver/session_win.h"

#include <fstream>

#include "tools/uidriver/samples.h"

namespace uidriver {
namespace {
constexpr int kNoiseStart = 1028;
constexpr wchar_t kNoiseDialogTitle[] = L"Ruido Externo...";
}  // namespace

std::wstring buildTreeOfThisProgram() {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring dir = exe;
    dir = dir.substr(0, dir.find_last_of(L"\\/"));
    return dir.substr(0, dir.find_last_of(L"\\/"));
}

GameSession::GameSession(const std::wstring& buildDir, const std::wstring& program, bool withArt,
                         const char* oldResult)
    : name_(program) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    dir_ = std::wstring(temp) + L"te-" + program + L"-" + std::to_wstring(GetTickCount()) + L"-" +
           std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(dir_.c_str(), nullptr);
    if (withArt)
        CopyFileW((buildDir + L"\\" + program + L".ff").c_str(), (dir_ + L"\\" + program + L".ff").c_str(), FALSE);
    if (oldResult) std::ofstream(resultPath().c_str(), std::ios::binary) << oldResult;
    program_ = std::make_unique<Program>(buildDir + L"\\" + program + L".exe", dir_);
}

GameSession::GameSession(const std::wstring& program, DWORD timeoutMs) : name_(program) {
    HWND noise = nullptr;
    waitFor([&] { return (noise = anyWindowTitled(kNoiseDialogTitle)) != nullptr; }, timeoutMs);
    program_ = std::make_unique<Program>(noise);
}

GameSession::~GameSession() {
    program_.reset();
    if (dir_.empty()) return;  // the folder is someone else's
    DeleteFileW(resultPath().c_str());
    DeleteFileW((dir_ + L"\\" + name_ + L".ff").c_str());
    RemoveDirectoryW(dir_.c_str());
}

HWND GameSession::noiseDialog() {
    HWND d = nullptr;
    waitFor([&] { return (d = program_->window(kNoiseDialogTitle)) != nullptr; }, 60000);
    return d;
}

bool GameSession::measureNoise() {
    HWND d = noiseDialog();
    if (!d) return false;
    PcmPlayer room(roomNoise(4500));
    Sleep(300);
    clickButton(d, kNoiseStart);
    if (!waitFor([&] { return buttonEnabled(d, IDOK); }, 30000)) return false;
    clickButton(d, IDOK);
    return true;
}

HWND GameSession::title() {
    HWND game = nullptr;
    waitFor([&] { return (game = program_->mainWindow()) && !program_->window(kNoiseDialogTitle); }, 20000);
    Sleep(500);
    return game;
}

HWND GameSession::box(const std::string& text, DWORD timeoutMs) {
    HWND d = nullptr;
    waitFor([&] { return (d = program_->dialogWithText(text)) != nullptr; }, timeoutMs);
    return d;
}

HWND GameSession::play() {
    if (!measureNoise()) return nullptr;
    HWND game = title();
    if (!game) return nullptr;
    pressKey(game, VK_RETURN);
    return waitForCapture(game) ? game : nullptr;
}

bool GameSession::waitForCapture(HWND game) {
    const RECT client = clientRectOnScreen(game);
    auto flyRow = [&] {
        std::string row;
        for (int x = 0; x < 640; x += 4) row += std::to_string(screenPixel(client.left + x, client.top + 459));
        return row;
    };
    std::string last = flyRow();
    int changes = 0;
    return waitFor(
        [&] {
            const std::string now = flyRow();
            if (now != last) ++changes;
            last = now;
            return changes >= 2;
        },
        20000);
}

}  // namespace uidriver
