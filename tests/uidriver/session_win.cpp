#include "tests/uidriver/session_win.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>

#include "tests/uidriver/samples.h"
#include "tests/uidriver/test_environment_win.h"
#include "voice/menu_commands.h"

namespace uidriver {
namespace {
constexpr int kNoiseStart = 1028;
constexpr wchar_t kNoiseDialogTitle[] = L"Ruido Externo...";
// Rows where something moves on every frame even while the patient is
// silent: the middle plane's lowest row, which scrolls slowly in every
// game, and the bottom row the bee's fly crawls along.
constexpr int kMovingRows[] = {400, 459};
}  // namespace

std::wstring buildTreeOfThisProgram() {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring dir = exe;
    dir = dir.substr(0, dir.find_last_of(L"\\/"));
    return dir.substr(0, dir.find_last_of(L"\\/"));
}

std::string readFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool fileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

long confirmedMs(const std::string& text) {
    int m = 0, s = 0, h = 0;
    if (std::sscanf(text.c_str(), "Tempo Obtido: %d:%d:%d", &m, &s, &h) != 3) return -1;
    return (m * 60 + s) * 1000L + h * 10L;
}

GameSession::GameSession(const std::wstring& buildDir, const std::wstring& program, bool withArt,
                         const char* oldResult)
    : name_(program), buildDir_(buildDir) {
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

GameSession::GameSession(const std::wstring& buildDir, const std::wstring& program, GivenFolder folder)
    : name_(program), buildDir_(buildDir), dir_(std::move(folder.path)), ownsFolder_(false) {
    program_ = std::make_unique<Program>(buildDir + L"\\" + program + L".exe", dir_);
}

GameSession::GameSession(const std::wstring& program, DWORD timeoutMs) : name_(program), ownsFolder_(false) {
    HWND noise = nullptr;
    waitFor([&] { return (noise = anyWindowTitled(kNoiseDialogTitle)) != nullptr; }, timeoutMs);
    program_ = std::make_unique<Program>(noise);
}

GameSession::~GameSession() {
    program_.reset();
    if (!ownsFolder_) return;  // the folder is someone else's
    DeleteFileW(resultPath().c_str());
    DeleteFileW((dir_ + L"\\" + name_ + L".ff").c_str());
    DeleteFileW(helpPath().c_str());
    RemoveDirectoryW((dir_ + L"\\hlp").c_str());
    RemoveDirectoryW(dir_.c_str());
}

bool GameSession::installHelp() {
    CreateDirectoryW((dir_ + L"\\hlp").c_str(), nullptr);
    return CopyFileW((buildDir_ + L"\\hlp\\brisalto").c_str(), helpPath().c_str(), FALSE) != 0;
}

HWND GameSession::noiseDialog() {
    HWND d = nullptr;
    waitFor([&] { return (d = program_->window(kNoiseDialogTitle)) != nullptr; }, 60000);
    return d;
}

bool GameSession::measureNoise() {
    HWND d = noiseDialog();
    if (!d) return failed("no noise dialog");
    std::optional<PcmPlayer> throughWine;
    std::optional<ServerPlayer> throughServer;
    if (roomThroughServer_)
        throughServer.emplace(roomNoise(6500));
    else
        throughWine.emplace(roomNoise(4500));
    Sleep(300);
    clickButton(d, kNoiseStart);
    if (!waitFor([&] { return buttonEnabled(d, IDOK); }, 30000)) return failed("the noise measurement did not end");
    clickButton(d, IDOK);
    return true;
}

HWND GameSession::title() {
    HWND game = nullptr;
    waitFor([&] { return (game = program_->mainWindow()) && !program_->window(kNoiseDialogTitle); }, 20000);
    Sleep(500);
    if (!game) failed("no game window after the noise dialog");
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
    if (waitForCapture(game)) return game;
    failed("the capture did not start after Enter");
    return nullptr;
}

HWND GameSession::startMeasuring() {
    if (!measureNoise()) return nullptr;
    HWND main = title();
    if (!main) return nullptr;
    click(main, 320, 140);
    if (waitFor([&] { return timeBoxShown(main); }, 20000)) return main;
    failed("the time box did not show after the click");
    return nullptr;
}

std::string GameSession::loseTheMicrophoneMidPhonation() {
    {
        PcmPlayer vowel(withLeadIn(sustainedVowel(6000)));
        Sleep(800 + 3000);
        if (!audioServer("stop")) return "the audio server did not stop";
    }
    HWND lost = box("O microfone parou de responder.", 20000);
    if (!lost) return "no message that the microphone is gone";
    if (box("Tempo Obtido", 500)) return "a partial time was asked about";
    clickButton(lost, IDOK);
    if (!program_->running()) return "the program ended";
    if (!audioServer("start")) return "the audio server did not start again";
    PostMessageW(program_->mainWindow(), WM_COMMAND, voice::kCmdNoise, 0);  // Jogo, Obter Ruido...
    if (!measureNoise()) return "the noise could not be measured again";
    return "";
}

bool GameSession::failed(const char* step) {
    failure_ = step;
    if (!program_->running()) failure_ += "; the program had ended, exit code " + std::to_string(program_->waitExit(0));
    return false;
}

RECT GameSession::areaOf(HWND window, int left, int top, int right, int bottom) {
    const RECT c = clientRectOnScreen(window);
    return {c.left + left, c.top + top, c.left + right, c.top + bottom};
}

bool GameSession::timeBoxShown(HWND main) {
    return countColour(areaOf(main, 430, 110, 590, 160), RGB(0, 255, 255)) > 20;
}

bool GameSession::waitForCapture(HWND game) {
    const RECT client = clientRectOnScreen(game);
    auto movingRows = [&] {
        std::string rows;
        for (int y : kMovingRows)
            for (int x = 0; x < 640; x += 4) rows += std::to_string(screenPixel(client.left + x, client.top + y));
        return rows;
    };
    std::string last = movingRows();
    int changes = 0;
    return waitFor(
        [&] {
            const std::string now = movingRows();
            if (now != last) ++changes;
            last = now;
            return changes >= 2;
        },
        20000);
}

}  // namespace uidriver
