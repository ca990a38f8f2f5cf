// The main menu end to end under Wine: the real gui_kx.exe starting the
// real abelha.exe, both driven from outside, with sounds played into the
// virtual microphone.  Each test has its own folder and history.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

#include "menu/chart_scale.h"
#include "menu/exercises.h"
#include "menu/history.h"
#include "menu/history_place.h"
#include "menu/menu_ids.h"
#include "resources/gui_kx/menu_dialog_ids.h"
#include "tests/uidriver/driver_win.h"
#include "tests/uidriver/samples.h"
#include "tests/uidriver/session_win.h"
#include "tests/uidriver/test_environment_win.h"
#include "winui/user_message_win.h"

namespace {

using uidriver::ServerPlayer;
using uidriver::waitFor;

constexpr int kAbelha = 0, kCarro = 1;

std::wstring buildDir() { return uidriver::buildTreeOfThisProgram(); }

bool fileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string readFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::wstring knownFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}
std::wstring localTavoral() { return knownFolder(CSIDL_LOCAL_APPDATA) + L"\\Tavoral"; }

const std::string kBomHeader = "\xEF\xBB\xBF" "Data e hora;Paciente;Exercício;Tempo;Segundos\r\n";

COLORREF colourOf(int exercise) {
    const auto& e = menu::exercises()[static_cast<size_t>(exercise)];
    return RGB(e.red, e.green, e.blue);
}

void saveShot(const wchar_t* name) { uidriver::saveScreenshot(buildDir() + L"\\tests\\" + name + L".bmp"); }

void removeFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((folder + L"\\" + found.cFileName).c_str());
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

// The menu's folder with the menu and the bee game, and a history folder
// that the menu is told about and has to create itself.
class MenuFolder {
public:
    MenuFolder() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        dir_ = std::wstring(temp) + L"te-menu-" + std::to_wstring(GetTickCount()) + L"-" +
               std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(dir_.c_str(), nullptr);
        for (const wchar_t* file : {L"gui_kx.exe", L"abelha.exe", L"abelha.ff"})
            CopyFileW((buildDir() + L"\\" + file).c_str(), (dir_ + L"\\" + file).c_str(), FALSE);
        SetEnvironmentVariableW(menu::kHistoryFolderVariable, historyDir().c_str());
    }
    ~MenuFolder() {
        for (const std::wstring& file : {historyPath(), pendingPath(), historyDir() + L"\\historico.bak",
                                         dir_ + L"\\gui_kx.exe", dir_ + L"\\abelha.exe", dir_ + L"\\abelha.ff",
                                         dir_ + L"\\abelha.dat", dir_ + L"\\abelha.wav"})
            DeleteFileW(file.c_str());
        for (const wchar_t* kept : {L"\\gravacoes", L"\\relatorios"}) removeFolder(historyDir() + kept);
        RemoveDirectoryW(historyDir().c_str());
        RemoveDirectoryW(dir_.c_str());
        SetEnvironmentVariableW(menu::kHistoryFolderVariable, nullptr);
    }
    const std::wstring& dir() const { return dir_; }
    std::wstring historyDir() const { return dir_ + L"\\historico"; }
    std::wstring historyPath() const { return historyDir() + L"\\historico.csv"; }
    // Where the menu keeps the results it could not write to this history.
    std::wstring pendingPath() const {
        return ui::widen(menu::pendingPathFor(ui::narrow(historyPath()), ui::narrow(localTavoral()), false));
    }
    void writeHistory(const std::string& contents) const {
        CreateDirectoryW(historyDir().c_str(), nullptr);
        std::ofstream(historyPath().c_str(), std::ios::binary) << contents;
    }

private:
    std::wstring dir_;
};

// One run of the menu and the hands that work it.
class Menu {
public:
    explicit Menu(const MenuFolder& folder)
        : program_(std::make_unique<uidriver::Program>(folder.dir() + L"\\gui_kx.exe", folder.dir())) {
        // By its class: a box the menu shows as it starts has the same title.
        const bool shown = waitFor(
            [&] {
                HWND w = FindWindowW(menu::kWindowClass, nullptr);
                return w && uidriver::windowProcess(w) == program_->id() && IsWindowVisible(w) &&
                       GetDlgItem(w, menu::kStatus) && (window_ = w) != nullptr;
            },
            30000);
        // Answered once the menu has read its history and waits for input
        // (or shows a box about it).
        DWORD_PTR answer = 0;
        if (shown) SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer);
    }
    HWND window() const { return window_; }
    uidriver::Program& program() { return *program_; }
    HWND control(int id) const { return GetDlgItem(window_, id); }
    std::string status() const { return uidriver::windowTitle(control(menu::kStatus)); }
    std::vector<std::string> lines() const { return uidriver::listBoxLines(control(menu::kResults)); }
    void choosePatient(const std::string& name) {
        uidriver::typeText(FindWindowExW(control(menu::kPatient), nullptr, L"Edit", nullptr), name);
    }
    void start(int exercise) { uidriver::postClick(window_, menu::kFirstExercise + exercise); }
    bool statusSays(const std::string& text, DWORD timeoutMs = 20000) const {
        return waitFor([&] { return status().find(text) != std::string::npos; }, timeoutMs);
    }
    HWND box(const std::string& text, DWORD timeoutMs = 10000) const {
        HWND d = nullptr;
        waitFor([&] { return (d = program_->dialogWithText(text)) != nullptr; }, timeoutMs);
        return d;
    }
    // The chart's plot on the screen, below its legend.
    RECT plot() const {
        const RECT r = uidriver::clientRectOnScreen(control(menu::kChart));
        return {r.left, r.top + menu::kLegendHeight + 2, r.right, r.bottom};
    }
    int plotted(int exercise) const { return uidriver::countScreenColour(plot(), colourOf(exercise)); }
    // Where the chart puts the one result of `hundredths`: in the middle.
    POINT onlyPoint(int hundredths) const {
        RECT client;
        GetClientRect(control(menu::kChart), &client);
        const menu::ChartScale scale(menu::chartPlotArea(client.right, client.bottom), 0, 0, hundredths);
        const RECT screen = uidriver::clientRectOnScreen(control(menu::kChart));
        return {screen.left + scale.x(0), screen.top + scale.y(hundredths)};
    }
    long close() {
        PostMessageW(window_, WM_CLOSE, 0, 0);
        return program_->waitExit(20000);
    }

private:
    std::unique_ptr<uidriver::Program> program_;
    HWND window_ = nullptr;
};

// The bee game the menu started: noise, title, a long vowel, and the
// confirmation box, left open.  The vowel is long so that a busy machine
// that breaks the sound up still leaves a phonation of over 2 s.
HWND playUntilConfirmation(uidriver::GameSession& game, const wchar_t* shotOnFailure) {
    if (!game.program().started() || !game.play()) return nullptr;
    Sleep(3000);  // Wine loses the first moments of a new capture, more so on a fresh sound server
    ServerPlayer vowel(uidriver::withLeadIn(uidriver::sustainedVowel(4500)));
    HWND box = game.box("Tempo Obtido");
    if (!box) saveShot(shotOnFailure);
    return box;
}

// "Tempo Obtido: 00:03:01\n..." -> "00:03:01"
std::string confirmedTime(HWND box) { return uidriver::dialogText(box).substr(14, 8); }

// How many trials the menu's sessions have, as the menu keeps it.
void setTrials(DWORD trials) {
    RegSetKeyValueW(HKEY_CURRENT_USER, menu::kSettingsKey, menu::kTrialsValue, REG_DWORD, &trials, sizeof trials);
}

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* sink = std::getenv("TE_SINK");
        if (!sink || !*sink) GTEST_SKIP() << "needs the virtual display and microphone (tools/testenv.sh)";
        for (const wchar_t* file : {L"gui_kx.exe", L"abelha.exe", L"abelha.ff"})
            if (!fileExists(buildDir() + L"\\" + file)) GTEST_SKIP() << "not built";
        // One trial per exercise run, as before sessions; the session test sets its own.
        setTrials(1);
    }
};

TEST_F(MenuTest, ResultsAreKeptPerPatientShownListedChartedAndThereNextTime) {
    MenuFolder folder;
    const std::string ana = "Ana Júlia; \"Aninha\"";
    std::string anaLine;
    {
        Menu menu(folder);
        ASSERT_NE(menu.window(), nullptr);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(uidriver::windowTitle(menu.control(menu::kFirstExercise + i)), menu::exercises()[i].name);
        EXPECT_TRUE(menu.lines().empty());
        saveShot(L"menu-empty");

        uidriver::postClick(menu.window(), menu::kOpenSheet);
        HWND noSheet = menu.box("Ainda não há resultados no histórico.");
        ASSERT_NE(noSheet, nullptr);
        uidriver::clickButton(noSheet, IDOK);

        // Only abelha is in the folder.
        menu.start(kCarro);
        HWND missing = menu.box("O programa carro.exe (Carro) não foi encontrado");
        ASSERT_NE(missing, nullptr);
        uidriver::clickButton(missing, IDOK);

        // Ajuda: without the viewer beside the menu it says so; with it, the
        // suite's help opens in its own window and the menu goes on.
        uidriver::postClick(menu.window(), menu::kHelp);
        HWND noHelp = menu.box("A ajuda (winhlp32.exe) não foi encontrada");
        ASSERT_NE(noHelp, nullptr);
        uidriver::clickButton(noHelp, IDOK);
        const std::wstring viewer = folder.dir() + L"\\winhlp32.exe", help = folder.dir() + L"\\hlp\\brisalto";
        CreateDirectoryW((folder.dir() + L"\\hlp").c_str(), nullptr);
        ASSERT_TRUE(CopyFileW((buildDir() + L"\\winhlp32.exe").c_str(), viewer.c_str(), FALSE));
        ASSERT_TRUE(CopyFileW((buildDir() + L"\\hlp\\brisalto").c_str(), help.c_str(), FALSE));
        uidriver::postClick(menu.window(), menu::kHelp);
        HWND helpWindow = nullptr;
        EXPECT_TRUE(waitFor([&] { return (helpWindow = FindWindowW(L"BrisaltoHelpViewer", L"Brisalto")) != nullptr; },
                            15000));
        if (helpWindow) {
            PostMessageW(helpWindow, WM_CLOSE, 0, 0);
            waitFor([&] { return !IsWindow(helpWindow); }, 10000);
        }
        // Until the viewer's process has gone, its program file is in use.
        waitFor([&] { return DeleteFileW(viewer.c_str()) != 0; }, 10000);
        DeleteFileW(help.c_str());
        RemoveDirectoryW((folder.dir() + L"\\hlp").c_str());

        menu.choosePatient(ana);
        menu.start(kAbelha);
        EXPECT_TRUE(menu.statusSays("Em andamento: Abelha — paciente " + ana));
        EXPECT_FALSE(IsWindowEnabled(menu.control(menu::kFirstExercise + kAbelha)));
        const double cpuBefore = menu.program().cpuSeconds();
        uidriver::GameSession game(L"abelha", 60000);
        HWND confirm = playUntilConfirmation(game, L"menu-no-confirmation");
        ASSERT_NE(confirm, nullptr);
        const std::string time = confirmedTime(confirm);

        // The exercise is open: the menu answers, starts nothing else and
        // waits without using the processor.
        DWORD_PTR answer = 0;
        EXPECT_NE(SendMessageTimeoutW(menu.window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer), 0);
        menu.start(kCarro);
        EXPECT_EQ(menu.box("O programa carro.exe", 1500), nullptr) << "a second exercise was tried";
        EXPECT_LT(menu.program().cpuSeconds() - cpuBefore, 2.0) << "the menu spins while it waits";

        uidriver::clickButton(confirm, IDYES);
        EXPECT_EQ(game.program().waitExit(20000), 0);
        ASSERT_TRUE(menu.statusSays("Abelha: " + time + " — registrado no histórico de " + ana)) << menu.status();
        EXPECT_TRUE(IsWindowEnabled(menu.control(menu::kFirstExercise + kAbelha)));
        const auto lines = menu.lines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find("\tAbelha\t" + time), std::string::npos) << lines[0];
        anaLine = lines[0];
        const int hundredths = menu::parseTimeText(time);
        EXPECT_TRUE(waitFor([&] { return menu.plotted(kAbelha) > 40; }, 5000)) << "the chart draws the result";
        const POINT p = menu.onlyPoint(hundredths);
        EXPECT_EQ(uidriver::screenPixel(p.x, p.y), colourOf(kAbelha)) << "at " << p.x << "," << p.y;
        saveShot(L"menu-one-result");

        // Another patient has a list of her own; declining keeps nothing.
        menu.choosePatient("Bruno");
        EXPECT_TRUE(waitFor([&] { return menu.lines().empty(); }, 5000));
        EXPECT_TRUE(waitFor([&] { return menu.plotted(kAbelha) == 0; }, 5000));
        menu.start(kAbelha);
        uidriver::GameSession declined(L"abelha", 60000);
        HWND again = playUntilConfirmation(declined, L"menu-no-confirmation-to-decline");
        ASSERT_NE(again, nullptr);
        uidriver::clickButton(again, IDNO);
        ASSERT_TRUE(uidriver::GameSession::waitForCapture(declined.program().mainWindow()));
        uidriver::pressKey(declined.program().mainWindow(), VK_ESCAPE);
        HWND sure = declined.box("Você Tem Certeza que Deseja Sair?");
        ASSERT_NE(sure, nullptr);
        uidriver::clickButton(sure, IDYES);
        EXPECT_EQ(declined.program().waitExit(20000), 0);
        EXPECT_TRUE(menu.statusSays("Abelha terminou sem tempo confirmado: nada foi registrado."));
        EXPECT_TRUE(menu.lines().empty());
        EXPECT_EQ(menu.close(), 0);
    }

    const std::string file = readFile(folder.historyPath());
    EXPECT_EQ(file.rfind("\xEF\xBB\xBF" "Data e hora;Paciente;Exercício;Tempo;Segundos;Sessão;Tentativa;Gravação\r\n", 0),
              0u)
        << file;
    const auto parsed = menu::parseHistory(file);
    ASSERT_EQ(parsed.records.size(), 1u) << file;
    EXPECT_EQ(parsed.skipped, 0u);
    EXPECT_EQ(parsed.records[0].patient, ana);
    EXPECT_NE(file.find(";\"Ana Júlia; \"\"Aninha\"\"\";Abelha;"), std::string::npos) << file;

    Menu again(folder);
    ASSERT_NE(again.window(), nullptr);
    again.choosePatient(ana);
    EXPECT_TRUE(waitFor([&] { return again.lines() == std::vector<std::string>{anaLine}; }, 5000));
    EXPECT_TRUE(waitFor([&] { return again.plotted(kAbelha) > 40; }, 5000));
    saveShot(L"menu-restarted");
    EXPECT_EQ(again.close(), 0);
}

// A damaged line is skipped and kept in the file; a history that cannot be
// written is reported, can be retried, and loses nothing.
TEST_F(MenuTest, DamagedLinesAreSkippedAndALockedHistoryIsRetried) {
    MenuFolder folder;
    CreateDirectoryW(folder.historyDir().c_str(), nullptr);
    const std::string damaged = "2026-03-14 09:05:00;Carla;Abel";
    const std::string old = "\xEF\xBB\xBF" "Data e hora;Paciente;Exercício;Tempo;Segundos\r\n"
                            "2026-03-13 10:00:00;Carla;Abelha;00:04:00;4,00\r\n" + damaged;
    std::ofstream(folder.historyPath().c_str(), std::ios::binary) << old;

    Menu menu(folder);
    ASSERT_NE(menu.window(), nullptr);
    EXPECT_TRUE(menu.statusSays("1 linha(s) danificada(s) do histórico foram ignoradas", 5000)) << menu.status();
    menu.choosePatient("Carla");
    EXPECT_TRUE(waitFor([&] { return menu.lines() == std::vector<std::string>{"13/03/2026 10:00\tAbelha\t00:04:00"}; },
                        5000));

    menu.start(kAbelha);
    uidriver::GameSession game(L"abelha", 60000);
    HWND confirm = playUntilConfirmation(game, L"menu-no-confirmation-locked");
    ASSERT_NE(confirm, nullptr);
    const std::string time = confirmedTime(confirm);
    // As a spreadsheet that holds the file open does.
    HANDLE lock = CreateFileW(folder.historyPath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    uidriver::clickButton(confirm, IDYES);
    EXPECT_EQ(game.program().waitExit(20000), 0);
    HWND failed = menu.box("Não foi possível gravar o resultado (Abelha, " + time + ")");
    ASSERT_NE(failed, nullptr);
    uidriver::clickButton(failed, IDRETRY);
    ASSERT_TRUE(waitFor([&] { return !IsWindow(failed); }, 10000));
    HWND stillFailing = menu.box("Não foi possível gravar");
    ASSERT_NE(stillFailing, nullptr) << "the file is still locked";
    CloseHandle(lock);
    uidriver::clickButton(stillFailing, IDRETRY);
    EXPECT_TRUE(menu.statusSays("Abelha: " + time + " — registrado no histórico de Carla")) << menu.status();
    EXPECT_EQ(menu.lines().size(), 2u);
    EXPECT_EQ(menu.close(), 0);

    const std::string file = readFile(folder.historyPath());
    EXPECT_EQ(file.rfind(old + "\r\n", 0), 0u) << "what was there stays, the cut line is closed";
    const auto parsed = menu::parseHistory(file);
    EXPECT_EQ(parsed.records.size(), 2u);
    EXPECT_EQ(parsed.skipped, 1u);
}


// A program registered for a kind of file (a spreadsheet for .csv, a
// browser for .html): the fake tool, which holds what it opens, under the
// title given, and says which file that was.
class FakeAssociation {
public:
    FakeAssociation(const std::wstring& extension, const std::wstring& title, const std::wstring& log)
        : extension_(extension), progId_(L"TeFake" + title + extension), title_(title) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CLASSES_ROOT, extension_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) == ERROR_SUCCESS) {
            wchar_t old[256] = {};
            DWORD size = sizeof old;
            hadOld_ = RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) ==
                      ERROR_SUCCESS;
            if (hadOld_) old_ = old;
            setDefault(key, progId_);
            RegCloseKey(key);
        }
        if (RegCreateKeyExW(HKEY_CLASSES_ROOT, (progId_ + L"\\shell\\open\\command").c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS) {
            setDefault(key, L"\"" + buildDir() + L"\\tests\\te_fake_tool.exe\" \"%1\"");
            RegCloseKey(key);
        }
        SetEnvironmentVariableW(L"TE_FAKE_TOOL_LOG", log.c_str());
        SetEnvironmentVariableW(L"TE_FAKE_TOOL_TITLE", title_.c_str());
    }
    ~FakeAssociation() {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, extension_.c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
            if (hadOld_) setDefault(key, old_);
            else RegDeleteValueW(key, nullptr);
            RegCloseKey(key);
        }
        RegDeleteTreeW(HKEY_CLASSES_ROOT, progId_.c_str());
        SetEnvironmentVariableW(L"TE_FAKE_TOOL_LOG", nullptr);
        SetEnvironmentVariableW(L"TE_FAKE_TOOL_TITLE", nullptr);
        if (HWND tool = uidriver::anyWindowTitled(title_.c_str())) PostMessageW(tool, WM_CLOSE, 0, 0);
    }

private:
    static void setDefault(HKEY key, const std::wstring& value) {
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    std::wstring extension_, progId_, title_;
    bool hadOld_ = false;
    std::wstring old_;
};

// The file the fake spreadsheet opened, as it wrote it down (UTF-16).
std::wstring sheetOpened(const std::wstring& log) {
    const std::string bytes = readFile(log);
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

// A result confirmed while another program holds the history without
// sharing, and Cancel on the retry box: the result waits on this computer
// and is written into the history, once, when the menu starts again after
// the holder let go.  Meanwhile the spreadsheet holds only its own copy, so
// that write succeeds while the copy is open.
TEST_F(MenuTest, ACancelledResultIsKeptAndWrittenOnceAndTheSpreadsheetHoldsOnlyACopy) {
    MenuFolder folder;
    const std::string old = kBomHeader + "2026-03-13 10:00:00;Carla;Abelha;00:04:00;4,00\r\n";
    folder.writeHistory(old);
    const std::wstring log = folder.dir() + L"\\sheet.log";
    FakeAssociation association(L".csv", L"Planilha", log);
    std::string time;
    {
        Menu menu(folder);
        ASSERT_NE(menu.window(), nullptr);
        uidriver::postClick(menu.window(), menu::kOpenSheet);
        HWND sheet = nullptr;
        ASSERT_TRUE(waitFor([&] { return (sheet = uidriver::anyWindowTitled(L"Planilha")) != nullptr; }, 30000))
            << "the spreadsheet was not started";
        ASSERT_TRUE(waitFor([&] { return !sheetOpened(log).empty(); }, 5000));
        const std::wstring opened = sheetOpened(log);
        EXPECT_NE(opened.find(L"\\Tavoral\\historico (cópia).csv"), std::wstring::npos) << ui::narrow(opened);
        EXPECT_EQ(readFile(opened), old) << "the copy holds the history";

        HANDLE lock = CreateFileW(folder.historyPath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE) << "the spreadsheet holds the live history";
        menu.choosePatient("  carla ");  // the same patient
        menu.start(kAbelha);
        uidriver::GameSession game(L"abelha", 60000);
        HWND confirm = playUntilConfirmation(game, L"menu-no-confirmation-pending");
        ASSERT_NE(confirm, nullptr);
        time = confirmedTime(confirm);
        uidriver::clickButton(confirm, IDYES);
        EXPECT_EQ(game.program().waitExit(20000), 0);
        HWND failed = menu.box("Não foi possível gravar o resultado (Abelha, " + time + ")");
        ASSERT_NE(failed, nullptr);
        EXPECT_NE(uidriver::dialogText(failed).find("Se cancelar, o resultado fica guardado neste computador"),
                  std::string::npos)
            << uidriver::dialogText(failed);
        uidriver::clickButton(failed, IDCANCEL);
        EXPECT_TRUE(menu.statusSays("Abelha: " + time + " — guardado neste computador para Carla;")) << menu.status();
        EXPECT_EQ(menu.lines().size(), 2u) << "the kept result is shown with the others";
        const auto pending = menu::parseHistory(readFile(folder.pendingPath()));
        ASSERT_EQ(pending.records.size(), 1u) << ui::narrow(folder.pendingPath());
        EXPECT_EQ(pending.records[0].patient, "Carla");
        EXPECT_EQ(menu::timeText(pending.records[0].hundredths), time);
        EXPECT_EQ(menu.close(), 0);
        CloseHandle(lock);
    }
    EXPECT_EQ(readFile(folder.historyPath()), old) << "nothing was written while it was held";
    {
        Menu again(folder);
        ASSERT_NE(again.window(), nullptr);
        EXPECT_TRUE(again.statusSays("1 resultado(s) guardado(s) neste computador foram gravados no histórico.", 10000))
            << again.status();
        again.choosePatient("Carla");
        EXPECT_TRUE(waitFor([&] { return again.lines().size() == 2; }, 5000));
        EXPECT_EQ(again.close(), 0);
    }
    EXPECT_FALSE(fileExists(folder.pendingPath()));
    {
        Menu third(folder);  // nothing is pending any more: nothing is written again
        ASSERT_NE(third.window(), nullptr);
        EXPECT_EQ(third.close(), 0);
    }
    const std::string file = readFile(folder.historyPath());
    EXPECT_EQ(file.rfind(old, 0), 0u) << file;
    const auto parsed = menu::parseHistory(file);
    ASSERT_EQ(parsed.records.size(), 2u) << file;
    EXPECT_EQ(parsed.records[1].patient, "Carla");
    EXPECT_EQ(menu::timeText(parsed.records[1].hundredths), time);
}

TEST_F(MenuTest, ASecondMenuBringsTheFirstForwardAndEnds) {
    MenuFolder folder;
    Menu first(folder);
    ASSERT_NE(first.window(), nullptr);
    ShowWindow(first.window(), SW_MINIMIZE);
    ASSERT_TRUE(waitFor([&] { return IsIconic(first.window()) != 0; }, 10000));
    uidriver::Program second(folder.dir() + L"\\gui_kx.exe", folder.dir());
    ASSERT_TRUE(second.started());
    EXPECT_EQ(second.waitExit(20000), 0);
    EXPECT_TRUE(waitFor([&] { return !IsIconic(first.window()) && GetForegroundWindow() == first.window(); }, 10000))
        << "the first menu is in front again";
    EXPECT_EQ(first.close(), 0);
}

// A history folder whose place is not there (a network drive that is not
// connected) is said, and nothing is made in its stead.
TEST_F(MenuTest, AHistoryFolderOutOfReachIsSaid) {
    MenuFolder folder;
    const std::wstring away = folder.dir() + L"\\rede-desligada\\Tavoral";
    SetEnvironmentVariableW(menu::kHistoryFolderVariable, away.c_str());
    Menu menu(folder);
    ASSERT_NE(menu.window(), nullptr);
    HWND box = menu.box("A pasta do histórico " + ui::narrow(away) + " não está acessível");
    ASSERT_NE(box, nullptr);
    uidriver::clickButton(box, IDOK);
    EXPECT_TRUE(menu.statusSays("A pasta do histórico não está acessível.")) << menu.status();
    EXPECT_EQ(menu.close(), 0);
    EXPECT_FALSE(fileExists(folder.dir() + L"\\rede-desligada"));
}

// Corrigir nome renames every spelling of the patient, Excluir paciente
// removes them, each in the file itself, and the other lines stay; the
// patient's sounds and reports go too, no one else's.
TEST_F(MenuTest, ANameIsCorrectedAndAPatientRemoved) {
    MenuFolder folder;
    const std::string bruno = "2026-03-12 08:00:00;Bruno;Carro;00:03:00;3,00\r\n";
    folder.writeHistory(kBomHeader + "2026-03-10 10:00:00;Ana Souza;Abelha;00:04:00;4,00;20260310-100000;1;ana.wav\r\n" +
                        bruno + "11/03/2026 10:00;ana  souza;Barco;0:05:00;5\r\n");
    const std::wstring sounds = folder.historyDir() + L"\\gravacoes", reports = folder.historyDir() + L"\\relatorios";
    CreateDirectoryW(sounds.c_str(), nullptr);
    CreateDirectoryW(reports.c_str(), nullptr);
    const std::wstring anasSound = sounds + L"\\ana.wav", brunosSound = sounds + L"\\bruno.wav",
                       anasReport = reports + L"\\ana sousa 2026-03-12.html",
                       brunosReport = reports + L"\\Bruno 2026-03-12.html";
    for (const std::wstring& file : {anasSound, brunosSound, anasReport, brunosReport})
        std::ofstream(file.c_str(), std::ios::binary) << "x";
    Menu menu(folder);
    ASSERT_NE(menu.window(), nullptr);
    menu.choosePatient("ANA SOUZA");
    EXPECT_TRUE(waitFor([&] { return menu.lines().size() == 2; }, 5000)) << "both spellings are one patient";

    uidriver::postClick(menu.window(), menu::kRename);
    HWND box = menu.box("Corrigir nome");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(uidriver::dialogText(box).find("Nome atual: Ana Souza"), std::string::npos) << uidriver::dialogText(box);
    uidriver::typeText(GetDlgItem(box, IDC_RENAME_NEW), "Ana Sousa");
    uidriver::clickButton(box, IDOK);
    EXPECT_TRUE(menu.statusSays("O nome Ana Souza foi corrigido para Ana Sousa em 2 resultados.")) << menu.status();
    EXPECT_EQ(menu.lines().size(), 2u);
    auto parsed = menu::parseHistory(readFile(folder.historyPath()));
    ASSERT_EQ(parsed.records.size(), 3u);
    EXPECT_EQ(menu::patientNames(parsed.records), (std::vector<std::string>{"Ana Sousa", "Bruno"}));

    uidriver::postClick(menu.window(), menu::kRemove);
    HWND sure = menu.box("Excluir o paciente Ana Sousa e seus 2 resultados do histórico?");
    ASSERT_NE(sure, nullptr);
    uidriver::clickButton(sure, IDYES);
    EXPECT_TRUE(menu.statusSays("O paciente Ana Sousa foi excluído do histórico (2 resultados).")) << menu.status();
    EXPECT_TRUE(menu.statusSays("Também foram apagados 2 arquivo(s)")) << menu.status();
    EXPECT_FALSE(fileExists(anasSound));
    EXPECT_FALSE(fileExists(anasReport));
    EXPECT_TRUE(fileExists(brunosSound));
    EXPECT_TRUE(fileExists(brunosReport));
    EXPECT_TRUE(menu.lines().empty());
    EXPECT_EQ(readFile(folder.historyPath()), kBomHeader + bruno) << "only the other patient's line is left";
    EXPECT_FALSE(fileExists(folder.historyDir() + L"\\historico.bak")) << "no copy keeps what was removed";
    EXPECT_FALSE(fileExists(folder.historyDir() + L"\\historico.novo"));
    EXPECT_EQ(SendMessageW(menu.control(menu::kPatient), CB_GETCOUNT, 0, 0), 1) << "only Bruno is listed";
    EXPECT_EQ(menu.close(), 0);
}

// The history used to live in the roaming profile, which Windows copies
// back at logoff: it moves to this computer's own folder once.
TEST_F(MenuTest, AHistoryInTheRoamingProfileMovesToThisComputer) {
    MenuFolder folder;
    SetEnvironmentVariableW(menu::kHistoryFolderVariable, nullptr);
    const std::wstring roaming = knownFolder(CSIDL_APPDATA) + L"\\Tavoral", local = localTavoral();
    ASSERT_FALSE(roaming.empty());
    // This prefix's own folders: nothing from an earlier run may stay there.
    DeleteFileW((local + L"\\historico.csv").c_str());
    DeleteFileW((local + L"\\historico-pendente.csv").c_str());
    CreateDirectoryW(roaming.c_str(), nullptr);
    const std::string history = kBomHeader + "2026-03-10 10:00:00;Dora;Menina;00:06:00;6,00\r\n";
    std::ofstream((roaming + L"\\historico.csv").c_str(), std::ios::binary) << history;
    {
        Menu menu(folder);
        ASSERT_NE(menu.window(), nullptr);
        menu.choosePatient("Dora");
        EXPECT_TRUE(waitFor([&] { return menu.lines().size() == 1; }, 5000));
        EXPECT_EQ(menu.close(), 0);
    }
    EXPECT_FALSE(fileExists(roaming + L"\\historico.csv")) << "one file in use, not two";
    EXPECT_EQ(readFile(local + L"\\historico.csv"), history);
    DeleteFileW((local + L"\\historico.csv").c_str());
}

// A clinical session of three trials of the bee game: each confirmed trial
// is a record of one session with its sound beside the history, a trial
// declined is offered again, and the summary names the longest.
TEST_F(MenuTest, AThreeTrialSessionKeepsEachTrialItsSoundAndTheBest) {
    setTrials(3);
    MenuFolder folder;
    // A browser for the report at the end; the menu starts it, so it is
    // registered before the menu starts.
    const std::wstring log = folder.dir() + L"\\browser.log";
    std::optional<FakeAssociation> browser(std::in_place, L".html", L"Navegador", log);
    Menu menu(folder);
    ASSERT_NE(menu.window(), nullptr);
    EXPECT_EQ(SendMessageW(menu.control(menu::kTrials), CB_GETCURSEL, 0, 0), 2) << "3 trials, as kept";
    EXPECT_FALSE(IsWindowVisible(menu.control(menu::kNextTrial)));
    menu.choosePatient("Paula");

    struct Trial {
        int vowelMs;
        bool confirm;
    };
    // The third trial is declined once and then done again.
    const Trial trials[] = {{3000, true}, {5200, true}, {3600, false}, {4000, true}};
    std::vector<std::string> times, said;
    for (size_t i = 0; i < std::size(trials); ++i) {
        SCOPED_TRACE("run " + std::to_string(i));
        if (i == 0)
            menu.start(kAbelha);
        else
            uidriver::postClick(menu.window(), menu::kNextTrial);
        uidriver::GameSession game(L"abelha", 60000);
        ASSERT_TRUE(game.program().started() && game.play());
        Sleep(5000);  // Wine loses the first moments of a new capture, more of them on a fresh sound server
        HWND confirm = nullptr;
        {
            ServerPlayer vowel(uidriver::withLeadIn(uidriver::sustainedVowel(trials[i].vowelMs)));
            confirm = game.box("Tempo Obtido");
            if (!confirm) saveShot(L"menu-session-no-confirmation");
            ASSERT_NE(confirm, nullptr);
        }
        const std::string time = confirmedTime(confirm);
        // The games' own tests judge the timing; a vowel the virtual
        // microphone broke up is still a trial, only a shorter one.
        EXPECT_LE(menu::parseTimeText(time) * 10, trials[i].vowelMs + 125);
        if (trials[i].confirm) {
            uidriver::clickButton(confirm, IDYES);
            times.push_back(time);
        } else {
            uidriver::clickButton(confirm, IDNO);
            ASSERT_TRUE(uidriver::GameSession::waitForCapture(game.program().mainWindow()));
            uidriver::pressKey(game.program().mainWindow(), VK_ESCAPE);
            HWND sure = game.box("Você Tem Certeza que Deseja Sair?");
            ASSERT_NE(sure, nullptr);
            uidriver::clickButton(sure, IDYES);
        }
        EXPECT_EQ(game.program().waitExit(20000), 0);
        waitFor([&] { return menu.status().find("Em andamento") == std::string::npos; }, 20000);
        said.push_back(menu.status());
        if (!trials[i].confirm) {
            EXPECT_TRUE(menu.statusSays("A tentativa 3 de 3 terminou sem tempo confirmado e não foi contada"))
                << menu.status();
            EXPECT_TRUE(IsWindowVisible(menu.control(menu::kNextTrial)));
        } else if (times.size() < 3) {
            EXPECT_TRUE(menu.statusSays("Tentativa " + std::to_string(times.size()) + " de 3: " + time)) << menu.status();
            EXPECT_TRUE(IsWindowEnabled(menu.control(menu::kNextTrial)));
            EXPECT_FALSE(IsWindowEnabled(menu.control(menu::kFirstExercise + kAbelha)));
        }
    }
    // The longest confirmed trial, the first of equal ones.
    size_t best = 0;
    for (size_t t = 1; t < times.size(); ++t)
        if (menu::parseTimeText(times[t]) > menu::parseTimeText(times[best])) best = t;
    const std::string bestTrial = std::to_string(best + 1);
    ASSERT_TRUE(menu.statusSays("Melhor: " + times[best] + ", tentativa " + bestTrial)) << menu.status();
    EXPECT_TRUE(menu.statusSays("Média: ")) << menu.status();
    EXPECT_FALSE(IsWindowVisible(menu.control(menu::kNextTrial)));
    EXPECT_TRUE(IsWindowEnabled(menu.control(menu::kFirstExercise + kAbelha)));
    saveShot(L"menu-session-summary");

    // Three records of one session, each with its sound, which lasts as
    // long as the confirmed time and the half second before it.
    const auto parsed = menu::parseHistory(readFile(folder.historyPath()));
    ASSERT_EQ(parsed.records.size(), 3u);
    const std::wstring recordings = folder.historyDir() + L"\\gravacoes\\";
    const int vowelOf[] = {trials[0].vowelMs, trials[1].vowelMs, trials[3].vowelMs};
    for (size_t t = 0; t < 3; ++t) {
        const menu::HistoryRecord& r = parsed.records[t];
        EXPECT_EQ(r.session, parsed.records[0].session);
        EXPECT_EQ(r.trial, static_cast<int>(t) + 1);
        EXPECT_EQ(menu::timeText(r.hundredths), times[t]);
        ASSERT_FALSE(r.recording.empty()) << said[t == 2 ? 3 : t];
        const std::string wav = readFile(recordings + ui::widen(r.recording));
        ASSERT_GT(wav.size(), 44u) << r.recording;
        const double ms = static_cast<double>(wav.size() - 44) / (2 * 11025) * 1000;
        EXPECT_NEAR(ms, r.hundredths * 10 + 500, 20) << r.recording;
        EXPECT_LE(ms, vowelOf[t] + 500 + 125) << r.recording;
        DeleteFileW((recordings + ui::widen(r.recording)).c_str());
    }
    RemoveDirectoryW(recordings.c_str());
    EXPECT_FALSE(fileExists(folder.dir() + L"\\abelha.wav")) << "the sound was moved, not copied";

    // The list groups the trials under their session, the best marked.
    const auto lines = menu.lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NE(lines[0].find("Melhor: " + times[best] + ", tentativa " + bestTrial), std::string::npos) << lines[0];
    EXPECT_NE(lines[1 + best].find("* tentativa " + bestTrial + "\t" + times[best]), std::string::npos)
        << lines[1 + best];

    // Relatório: the patient's report beside the history, opened in the
    // program Windows has for web pages.
    {
        uidriver::postClick(menu.window(), menu::kReport);
        // Its window first: the browser is closed by its title at the end.
        ASSERT_TRUE(waitFor([&] { return uidriver::anyWindowTitled(L"Navegador") != nullptr; }, 30000))
            << "no browser was started";
        ASSERT_TRUE(waitFor([&] { return !sheetOpened(log).empty(); }, 5000));
        const std::wstring opened = sheetOpened(log);
        EXPECT_NE(opened.find(folder.historyDir() + L"\\relatorios\\Paula "), std::wstring::npos)
            << ui::narrow(opened);
        const std::string report = readFile(opened);
        for (const std::string& time : times) EXPECT_NE(report.find(time), std::string::npos) << time;
        EXPECT_NE(report.find("Paula"), std::string::npos);
        EXPECT_NE(report.find(times[best] + " (tentativa " + bestTrial + ")"), std::string::npos);
    }
    browser.reset();
    EXPECT_TRUE(waitFor([&] { return uidriver::anyWindowTitled(L"Navegador") == nullptr; }, 10000));
    DeleteFileW(log.c_str());
    EXPECT_EQ(menu.close(), 0);
    setTrials(1);
}

}  // namespace
