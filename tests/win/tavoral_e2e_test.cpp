// The launcher end to end under Wine: the real tavoral.exe with its display
// library, the runtime stand-in and the book in a fresh folder, driven and
// watched from outside.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "tests/uidriver/driver_win.h"
#include "tests/uidriver/session_win.h"

namespace {

using uidriver::Program;
using uidriver::waitFor;

constexpr int kSplashPicture = 1000;   // the splash's picture control
constexpr int kSplashBitmap = 133;
constexpr DWORD kGenerousMs = 30000;

std::wstring buildDir() { return uidriver::buildTreeOfThisProgram(); }

bool fileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void saveShot(const wchar_t* name) { uidriver::saveScreenshot(buildDir() + L"\\tests\\" + name + L".bmp"); }

// A folder holding the launcher and what it starts; `runtime` is the
// program installed as TB90run.exe (none when empty).
class SuiteFolder {
public:
    explicit SuiteFolder(const std::wstring& runtime, bool withBook = true) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        dir_ = std::wstring(temp) + L"te-tavoral-" + std::to_wstring(GetTickCount()) + L"-" +
               std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(dir_.c_str(), nullptr);
        copy(L"tavoral.exe", L"tavoral.exe");
        copy(L"dllcontrolkx.dll", L"dllcontrolkx.dll");
        if (withBook) copy(L"gui_kx.exe", L"gui_kx.exe");
        if (!runtime.empty()) copy(runtime, L"TB90run.exe");
    }
    ~SuiteFolder() {
        for (const std::wstring& name : files_) DeleteFileW((dir_ + L"\\" + name).c_str());
        RemoveDirectoryW(dir_.c_str());
    }
    SuiteFolder(const SuiteFolder&) = delete;
    SuiteFolder& operator=(const SuiteFolder&) = delete;

    const std::wstring& dir() const { return dir_; }
    std::wstring path(const wchar_t* name) const { return dir_ + L"\\" + name; }

private:
    void copy(const std::wstring& from, const std::wstring& to) {
        CopyFileW((buildDir() + L"\\" + from).c_str(), (dir_ + L"\\" + to).c_str(), FALSE);
        files_.push_back(to);
    }
    std::wstring dir_;
    std::vector<std::wstring> files_;
};

// The splash: the launcher's visible dialog holding the picture.
HWND splashOf(const Program& launcher, const wchar_t* title) {
    HWND w = launcher.window(title);
    return w && GetDlgItem(w, kSplashPicture) ? w : nullptr;
}

SIZE pictureSize(HWND splash) {
    RECT r{};
    GetClientRect(GetDlgItem(splash, kSplashPicture), &r);
    return {r.right - r.left, r.bottom - r.top};
}

// How many of a grid of the splash picture's pixels show on the screen at
// the splash's place, skipping the rectangle `covered`.
struct PictureMatch {
    int probes = 0, matching = 0;
};
PictureMatch matchSplashPicture(const std::wstring& launcherExe, HWND splash, RECT covered) {
    PictureMatch m;
    HMODULE module = LoadLibraryExW(launcherExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HBITMAP picture = module ? static_cast<HBITMAP>(LoadImageW(module, MAKEINTRESOURCEW(kSplashBitmap), IMAGE_BITMAP,
                                                               0, 0, LR_CREATEDIBSECTION))
                             : nullptr;
    if (picture) {
        HDC memory = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(memory, picture);
        const RECT client = uidriver::clientRectOnScreen(GetDlgItem(splash, kSplashPicture));
        for (int y = 5; y < 317; y += 23)
            for (int x = 5; x < 520; x += 29) {
                const POINT p{client.left + x, client.top + y};
                if (PtInRect(&covered, p)) continue;
                ++m.probes;
                if (uidriver::screenPixel(p.x, p.y) == GetPixel(memory, x, y)) ++m.matching;
            }
        SelectObject(memory, old);
        DeleteDC(memory);
        DeleteObject(picture);
    }
    if (module) FreeLibrary(module);
    return m;
}

class TavoralTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("TE_SINK")) GTEST_SKIP() << "needs the virtual display (tools/testenv.sh)";
        for (const wchar_t* name : {L"tavoral.exe", L"dllcontrolkx.dll", L"TB90run.exe", L"gui_kx.exe"})
            if (!fileExists(buildDir() + L"\\" + name)) GTEST_SKIP() << "not built";
    }
    void TearDown() override {
        launcher_.reset();
        SetEnvironmentVariableW(L"TE_FAKE_RUNTIME_MS", nullptr);
        // The book and the runtime outlive the launcher: end what is left.
        if (HWND book = uidriver::windowElsewhere(L"Tavoral", 0)) PostMessageW(book, WM_CLOSE, 0, 0);
        if (HANDLE runtime = uidriver::openProcessNamed(L"TB90run.exe")) {
            if (WaitForSingleObject(runtime, 10000) != WAIT_OBJECT_0) TerminateProcess(runtime, 99);
            CloseHandle(runtime);
        }
        folder_.reset();
    }

    // Starts the launcher in a fresh folder with `runtime` as its TB90run.exe.
    Program& startLauncher(const std::wstring& runtime, bool withBook = true) {
        folder_ = std::make_unique<SuiteFolder>(runtime, withBook);
        launcher_ = std::make_unique<Program>(folder_->path(L"tavoral.exe"), folder_->dir());
        EXPECT_TRUE(launcher_->started());
        return *launcher_;
    }
    const SuiteFolder& folder() const { return *folder_; }

private:
    std::unique_ptr<SuiteFolder> folder_;
    std::unique_ptr<Program> launcher_;
};

TEST_F(TavoralTest, ShowsTheSplashStartsTheBookAndClosesTheRuntimeWindow) {
    Program& launcher = startLauncher(L"TB90run.exe");

    HWND splash = nullptr;
    ASSERT_TRUE(waitFor([&] { return (splash = splashOf(launcher, L"Tavoral")) != nullptr; }, kGenerousMs))
        << "the splash titled \"Tavoral\"";
    const SIZE picture = pictureSize(splash);
    EXPECT_EQ(picture.cx, 520);
    EXPECT_EQ(picture.cy, 317);
    saveShot(L"tavoral-splash");

    HWND book = nullptr;
    ASSERT_TRUE(waitFor([&] { return (book = uidriver::windowElsewhere(L"Tavoral", launcher.id())) != nullptr; },
                        kGenerousMs))
        << "the book's window";
    HANDLE runtime = uidriver::openProcessNamed(L"TB90run.exe");
    ASSERT_NE(runtime, nullptr) << "the runtime runs";
    // The runtime keeps its window until it is closed or the book ends:
    // gone while both still run means the launcher closed it.
    EXPECT_TRUE(waitFor([] { return FindWindowW(nullptr, L"ToolBook") == nullptr; }, kGenerousMs))
        << "the \"ToolBook\" window is closed";
    EXPECT_TRUE(launcher.running() && IsWindowVisible(splash)) << "the splash stays for its 8 seconds";

    EXPECT_TRUE(waitFor([&] { return !IsWindowVisible(splash); }, kGenerousMs)) << "the splash hides";
    EXPECT_EQ(launcher.waitExit(kGenerousMs), 0);
    saveShot(L"tavoral-book");
    EXPECT_TRUE(IsWindowVisible(book)) << "the book stays open";
    EXPECT_EQ(WaitForSingleObject(runtime, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "and so does the runtime";

    PostMessageW(book, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(runtime, kGenerousMs), static_cast<DWORD>(WAIT_OBJECT_0))
        << "the runtime ends with its book";
    DWORD code = 99;
    GetExitCodeProcess(runtime, &code);
    EXPECT_EQ(code, 0u) << "the book's exit code";
    CloseHandle(runtime);
}

TEST_F(TavoralTest, MissingRuntimeIsReportedOverTheSplash) {
    Program& launcher = startLauncher(L"");

    HWND box = nullptr;
    ASSERT_TRUE(waitFor([&] { return (box = launcher.dialogWithText("Arquivo gui_kx.exe")) != nullptr; },
                        kGenerousMs));
    EXPECT_EQ(uidriver::windowTitle(box), "Tavoral 2");
    EXPECT_NE(uidriver::dialogText(box).find("Arquivo gui_kx.exe Não Encontrado"), std::string::npos)
        << uidriver::dialogText(box);

    HWND splash = splashOf(launcher, L"");
    ASSERT_NE(splash, nullptr) << "the splash, still without a title, stays behind the message";
    RECT boxRect{};
    GetWindowRect(box, &boxRect);
    PictureMatch shown;
    const bool pictureShows = waitFor(
        [&] {
            shown = matchSplashPicture(folder().path(L"tavoral.exe"), splash, boxRect);
            return shown.probes > 50 && shown.matching >= shown.probes * 9 / 10;
        },
        kGenerousMs);
    saveShot(L"tavoral-missing-runtime");
    EXPECT_TRUE(pictureShows) << "the splash picture shows around the message: " << shown.matching << " of "
                              << shown.probes << " pixels";

    uidriver::clickButton(box, IDOK);
    EXPECT_EQ(launcher.waitExit(kGenerousMs), 1) << "a launcher that could not start the suite says so";
}

TEST_F(TavoralTest, SystemMenuOpensTheAboutBox) {
    Program& launcher = startLauncher(L"TB90run.exe");
    HWND splash = nullptr;
    ASSERT_TRUE(waitFor([&] { return (splash = splashOf(launcher, L"Tavoral")) != nullptr; }, kGenerousMs));
    // The About item's command; the system keeps the low four bits.
    PostMessageW(splash, WM_SYSCOMMAND, 16 | 3, 0);
    HWND about = nullptr;
    ASSERT_TRUE(waitFor([&] { return (about = launcher.dialogWithText("Sobre o Tavoral")) != nullptr; }, kGenerousMs));
    Sleep(300);  // let it paint
    saveShot(L"tavoral-about");
    EXPECT_NE(uidriver::dialogText(about).find("Tavoral, versão 1.0"), std::string::npos)
        << uidriver::dialogText(about);
    uidriver::clickButton(about, IDOK);
    EXPECT_TRUE(waitFor([&] { return !IsWindow(about); }, kGenerousMs)) << "OK ends the About box";
    EXPECT_EQ(launcher.waitExit(kGenerousMs), 0) << "and the launcher goes on to its end";
}

// A runtime that fails after starting never shows its window: the launcher
// must neither wait for ever nor spin while it waits.
struct FailingRuntimeCase {
    const char* name;
    const wchar_t* lifeMs;  // how long the runtime lives without a window
    friend void PrintTo(const FailingRuntimeCase& c, std::ostream* out) { *out << c.name; }
};

class FailingRuntimeTest : public TavoralTest, public ::testing::WithParamInterface<FailingRuntimeCase> {};

TEST_P(FailingRuntimeTest, LauncherEndsWithoutSpinning) {
    SetEnvironmentVariableW(L"TE_FAKE_RUNTIME_MS", GetParam().lifeMs);
    Program& launcher = startLauncher(L"tests\\te_fake_runtime.exe");

    ASSERT_TRUE(waitFor([&] { return splashOf(launcher, L"Tavoral") != nullptr; }, kGenerousMs));
    const double cpuBefore = launcher.cpuSeconds();
    const DWORD start = GetTickCount();
    Sleep(5000);
    const double cpu = launcher.cpuSeconds() - cpuBefore;
    const double seconds = (GetTickCount() - start) / 1000.0;
    ASSERT_GE(cpuBefore, 0.0) << "the launcher's CPU time can be read";
    std::printf("launcher CPU once its splash showed: %.3f s in %.1f s\n", cpu, seconds);
    EXPECT_LT(cpu, 0.05 * seconds) << "CPU " << cpu << " s in " << seconds << " s";

    EXPECT_EQ(launcher.waitExit(60000), 0) << "the launcher ends";
}

INSTANTIATE_TEST_SUITE_P(Runtimes, FailingRuntimeTest,
                         ::testing::Values(FailingRuntimeCase{"EndsAtOnce", L"0"},
                                           FailingRuntimeCase{"LivesTwelveSeconds", L"12000"}),
                         [](const auto& tested) { return std::string(tested.param.name); });

// A book that is not there: the runtime names it in a box of its own,
// which stays until it is answered although the launcher closes the
// runtime's "ToolBook" window and ends.
TEST_F(TavoralTest, AMissingBookIsNamedUntilAnswered) {
    Program& launcher = startLauncher(L"TB90run.exe", false);
    HWND box = nullptr;
    ASSERT_TRUE(waitFor(
        [&] {
            box = uidriver::dialogOfProcessWithText(0, "Livro gui_kx.exe");
            return box != nullptr;
        },
        kGenerousMs));
    EXPECT_EQ(uidriver::windowTitle(box), "Tavoral");
    EXPECT_NE(uidriver::dialogText(box).find("Livro gui_kx.exe Não Encontrado."), std::string::npos)
        << uidriver::dialogText(box);
    EXPECT_EQ(launcher.waitExit(60000), 0) << "the launcher ends after its splash";
    EXPECT_TRUE(waitFor([] { return FindWindowW(nullptr, L"ToolBook") == nullptr; }, kGenerousMs))
        << "the runtime's own window was closed";
    EXPECT_TRUE(IsWindow(box) && IsWindowVisible(box)) << "the message is still on screen";
    saveShot(L"tavoral-missing-book");
    HANDLE runtime = uidriver::openProcessNamed(L"TB90run.exe");
    ASSERT_NE(runtime, nullptr);
    uidriver::clickButton(box, IDOK);
    EXPECT_EQ(WaitForSingleObject(runtime, kGenerousMs), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(runtime, &code);
    EXPECT_EQ(code, 1u);
    CloseHandle(runtime);
}

}  // namespace
