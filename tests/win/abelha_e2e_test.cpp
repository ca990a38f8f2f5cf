// The bee game end to end under Wine: the real abelha.exe, driven from
// outside like a therapist would, listening to sounds played into the
// virtual microphone.  The shared paths (declining, short phonations,
// exits, a missing art file) are tried here once, on the bee; the timed
// phonation of every game is in games_e2e_test.cpp.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/art_archive.h"
#include "engine/dib.h"
#include "engine/display_config.h"
#include "tests/uidriver/driver_win.h"
#include "tests/uidriver/samples.h"
#include "tests/uidriver/session_win.h"
#include "tests/uidriver/test_environment_win.h"

namespace {

using uidriver::ServerPlayer;
using uidriver::Program;
using uidriver::waitFor;


std::wstring buildDir() { return uidriver::buildTreeOfThisProgram(); }

using uidriver::confirmedMs;
using uidriver::countColour;
using uidriver::fileExists;
using uidriver::readFile;

// A run of abelha in a fresh folder, with or without its art file.
struct Session : uidriver::GameSession {
    explicit Session(bool withArt = true, const char* oldResult = nullptr)
        : GameSession(buildDir(), L"abelha", withArt, oldResult) {}
};

class AbelhaTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* sink = std::getenv("TE_SINK");
        if (!sink || !*sink) GTEST_SKIP() << "needs the virtual display and microphone (tools/testenv.sh)";
        if (!fileExists(buildDir() + L"\\abelha.exe")) GTEST_SKIP() << "abelha.exe not built";
    }
};

void saveShot(const wchar_t* name) {
    uidriver::saveScreenshot(buildDir() + L"\\tests\\" + name + L".bmp");
}

// --- the exercise ------------------------------------------------------------------

TEST_F(AbelhaTest, DecliningRestartsAndTheNextPhonationAsksAgain) {
    Session session;
    ASSERT_NE(session.play(), nullptr);
    for (int round = 0; round < 2; ++round) {
        ServerPlayer vowel(uidriver::withLeadIn(uidriver::sustainedVowel(2600)));
        HWND confirm = session.box("Tempo Obtido");
        if (!confirm) saveShot(round == 0 ? L"abelha-declining-0" : L"abelha-declining-1");
        ASSERT_NE(confirm, nullptr) << "round " << round;
        EXPECT_NEAR(confirmedMs(uidriver::dialogText(confirm)), 2600, 125);
        uidriver::clickButton(confirm, round == 0 ? IDNO : IDYES);
        if (round == 0) {
            ASSERT_TRUE(uidriver::GameSession::waitForCapture(session.program().mainWindow())) << "the capture starts again";
            EXPECT_FALSE(fileExists(session.resultPath()));
        }
    }
    EXPECT_EQ(session.program().waitExit(20000), 0);
    EXPECT_EQ(readFile(session.resultPath()).size(), 8u);
}

// The therapist opens a menu command while the patient is vocalising and
// closes it once the patient is quiet.  The buffers the stopped capture
// hands back must not start a phonation on the old recording's clock, so
// nothing is asked, and the next phonation is timed from its own start.
TEST_F(AbelhaTest, AMenuCommandMidPhonationTimesNothingAndTheNextPhonationIsTimed) {
    const struct {
        const char* name;
        int command;
        const char* window;  // what the command opens
        int close;           // the button that closes it
    } cases[] = {
        {"Configurar Intensidade", 32773, "Configurar Intensidade...", IDCANCEL},
        {"Sair, then No", 32771, "Tem Certeza que Deseja Sair?", IDNO},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Session session;
        HWND game = session.play();
        ASSERT_NE(game, nullptr);
        {
            ServerPlayer vowel(uidriver::withLeadIn(uidriver::sustainedVowel(5000)));
            Sleep(800 + 2500);  // in the middle of the vowel
            PostMessageW(game, WM_COMMAND, static_cast<WPARAM>(c.command), 0);
            HWND opened = session.box(c.window, 10000);
            ASSERT_NE(opened, nullptr);
            ASSERT_TRUE(waitFor([&] { return vowel.finished(); }, 15000));
            Sleep(500);
            uidriver::clickButton(opened, c.close);
        }
        HWND stale = session.box("Tempo Obtido", 4000);
        if (stale) saveShot(L"abelha-menu-mid-phonation");
        EXPECT_EQ(stale, nullptr) << (stale ? uidriver::dialogText(stale) : "");
        if (stale) uidriver::clickButton(stale, IDNO);

        ASSERT_TRUE(uidriver::GameSession::waitForCapture(game)) << "the capture starts again";
        Sleep(5000);  // Wine loses the first moments of every new capture, more of them on a busy machine
        ServerPlayer vowel(uidriver::withLeadIn(uidriver::sustainedVowel(3000)));
        HWND confirm = session.box("Tempo Obtido");
        ASSERT_NE(confirm, nullptr);
        EXPECT_NEAR(confirmedMs(uidriver::dialogText(confirm)), 3000, 125);
        uidriver::clickButton(confirm, IDYES);
        EXPECT_EQ(session.program().waitExit(20000), 0);
        EXPECT_EQ(readFile(session.resultPath()).size(), 8u);
    }
}

// The system may post an earlier recording's close after the next one has
// opened its device (a dialog closed at once after a menu command): taken
// for the running recording's, it stopped the game queueing buffers, and
// once the hundred it had were used (6.25 s) the game stood still.
TEST_F(AbelhaTest, ALateCloseOfAnEarlierRecordingLeavesTheGameRunning) {
    Session session;
    HWND game = session.play();
    ASSERT_NE(game, nullptr);
    PostMessageW(game, MM_WIM_CLOSE, 0, 0);
    Sleep(7000);  // past the buffers queued when the capture started
    ASSERT_TRUE(uidriver::GameSession::waitForCapture(game)) << "the game stood still";
    ServerPlayer vowel(uidriver::withLeadIn(uidriver::sustainedVowel(3000)));
    HWND confirm = session.box("Tempo Obtido");
    ASSERT_NE(confirm, nullptr);
    EXPECT_NEAR(confirmedMs(uidriver::dialogText(confirm)), 3000, 125);
    uidriver::clickButton(confirm, IDNO);
}

using uidriver::nearColour;

bool windowCovers(HWND window, const RECT& area) {
    RECT r{};
    return GetWindowRect(window, &r) && EqualRect(&r, &area);
}

// F11: the game covers the screen without frame or menu, the frame scaled
// with its proportions kept; Alt still opens the Jogo menu, a phonation is
// still timed, and F11 again gives the window back as it was.
TEST_F(AbelhaTest, F11ShowsTheFrameScaledOverTheScreenAndGivesTheWindowBack) {
    Session session;
    HWND game = session.play();
    ASSERT_NE(game, nullptr);
    Sleep(1500);
    RECT windowed{};
    GetWindowRect(game, &windowed);
    const RECT client = uidriver::clientRectOnScreen(game);
    const uidriver::ScreenGrab before = uidriver::grabScreen();

    uidriver::pressKey(game, VK_F11);
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    ASSERT_TRUE(waitFor([&] { return windowCovers(game, screen); }, 5000)) << "the window does not cover the screen";
    EXPECT_EQ(GetMenu(game), nullptr);
    Sleep(1500);  // frames presented at the new size
    const uidriver::ScreenGrab after = uidriver::grabScreen();
    saveShot(L"abelha-f11");
    // Every pixel of the 640 x 480 frame lands where the scale puts it (the
    // bee's wings move meanwhile, hence not all of them).
    const engine::Rect frame = engine::letterboxedRect({0, 0, screen.right, screen.bottom}, 640, 480);
    int same = 0, total = 0;
    for (int y = 8; y < 480; y += 16)
        for (int x = 8; x < 640; x += 16, ++total)
            if (nearColour(before.at(client.left + x, client.top + y),
                           after.at(frame.left + (2 * x + 1) * frame.width() / 1280,
                                    frame.top + (2 * y + 1) * frame.height() / 960)))
                ++same;
    EXPECT_GT(same, total * 85 / 100) << same << " of " << total << " points where the scale puts them";
    if (frame.left > 0) {
        EXPECT_EQ(after.at(frame.left / 2, screen.bottom / 2), RGB(0, 0, 0)) << "the bars are black";
    }

    // Alt opens the Jogo menu the window no longer shows.
    PostMessageW(game, WM_SYSCOMMAND, SC_KEYMENU, 0);
    HWND popup = nullptr;
    EXPECT_TRUE(waitFor([&] { return (popup = FindWindowW(L"#32768", nullptr)) != nullptr && IsWindowVisible(popup); },
                        5000))
        << "no Jogo menu";
    PostMessageW(game, WM_CANCELMODE, 0, 0);
    ASSERT_TRUE(waitFor([&] { return !popup || !IsWindowVisible(popup); }, 5000));

    {
        ServerPlayer vowel(uidriver::withLeadIn(uidriver::sustainedVowel(3000)));
        HWND confirm = session.box("Tempo Obtido");
        if (!confirm) saveShot(L"abelha-f11-no-confirmation");
        ASSERT_NE(confirm, nullptr);
        EXPECT_NEAR(confirmedMs(uidriver::dialogText(confirm)), 3000, 125);
        uidriver::clickButton(confirm, IDNO);
    }
    uidriver::pressKey(game, VK_F11);
    EXPECT_TRUE(waitFor([&] { return windowCovers(game, windowed); }, 5000)) << "the window is not given back";
    EXPECT_NE(GetMenu(game), nullptr);
    EXPECT_TRUE(uidriver::GameSession::waitForCapture(game)) << "the game goes on in its window";
}

// A run that ends without the window's destruction (a kill, a crash, a
// fatal graphics error) must not leave an earlier run's result behind: the
// program removes it as it starts.
TEST_F(AbelhaTest, AnOlderResultIsGoneAsSoonAsTheProgramStarts) {
    Session session(true, "00:09:99");
    ASSERT_NE(session.noiseDialog(), nullptr);
    EXPECT_FALSE(fileExists(session.resultPath()));
}

// F1: our viewer answers for the old help viewer, shows the first topic
// in a maximized window, and the game comes back when it is minimized; a
// second F1 does the same; without the help file the viewer says so.
TEST_F(AbelhaTest, F1ShowsTheSuitesHelpAndTheGameComesBack) {
    Session session;
    ASSERT_TRUE(session.installHelp());
    HWND game = session.play();
    ASSERT_NE(game, nullptr);
    const struct {
        bool helpPresent;
        const char* textStart;
        UINT leaveWith;
    } rounds[] = {
        {true, "O que o programa mede", SC_MINIMIZE},
        {true, "O que o programa mede", SC_CLOSE},
        {false, "Não foi possível mostrar a ajuda.", SC_MINIMIZE},
    };
    for (const auto& r : rounds) {
        if (!r.helpPresent) DeleteFileW(session.helpPath().c_str());
        uidriver::pressKey(game, VK_F1);
        HWND viewer = nullptr, text = nullptr;
        std::string shown;
        ASSERT_TRUE(waitFor(
            [&] {
                viewer = FindWindowW(L"BrisaltoHelpViewer", L"Brisalto");
                text = viewer ? FindWindowExW(viewer, nullptr, L"Edit", nullptr) : nullptr;
                shown = text ? uidriver::controlText(text) : "";
                return IsWindowVisible(viewer) && !shown.empty() && !IsWindowVisible(game);
            },
            15000))
            << "the help viewer's window with its text, the game hidden";
        EXPECT_TRUE(IsZoomed(viewer));
        Sleep(500);  // let it paint
        EXPECT_EQ(shown.rfind(r.textStart, 0), 0u) << shown;
        saveShot(r.helpPresent ? L"abelha-help" : L"abelha-help-missing");
        RECT area;
        GetWindowRect(text, &area);
        area.bottom = area.top + 60;  // the first lines
        EXPECT_GT(countColour(area, RGB(0, 0, 0)), 10) << "the text is drawn";

        PostMessageW(viewer, WM_SYSCOMMAND, r.leaveWith, 0);
        EXPECT_TRUE(waitFor([&] { return IsWindowVisible(game) && !IsWindow(viewer); }, 10000))
            << "the game comes back and the viewer ends";
    }
    uidriver::pressKey(game, VK_ESCAPE);
    HWND sure = session.box("Você Tem Certeza que Deseja Sair?");
    ASSERT_NE(sure, nullptr);
    uidriver::clickButton(sure, IDYES);
    EXPECT_EQ(session.program().waitExit(20000), 0);
}

// The microphone goes away in the middle of a phonation (its audio server
// stops) and comes back: the program says so, keeps no partial time, and
// measures again once the therapist restarts the capture from the menu.
TEST_F(AbelhaTest, TheMicrophoneGoesAwayMidPhonationAndComesBack) {
    Session session;
    HWND game = session.play();
    ASSERT_NE(game, nullptr);
    Sleep(3000);
    const std::string fault = session.loseTheMicrophoneMidPhonation();
    if (!fault.empty()) saveShot(L"abelha-microphone-lost");
    ASSERT_EQ(fault, "");
    ASSERT_TRUE(uidriver::GameSession::waitForCapture(game)) << "the capture runs again";
    Sleep(5000);
    ServerPlayer vowel(uidriver::withLeadIn(uidriver::sustainedVowel(3000)));
    HWND confirm = session.box("Tempo Obtido");
    ASSERT_NE(confirm, nullptr);
    EXPECT_NEAR(confirmedMs(uidriver::dialogText(confirm)), 3000, 125);
    uidriver::clickButton(confirm, IDYES);
    EXPECT_EQ(session.program().waitExit(20000), 0);
}

std::string readArtFile() { return readFile(buildDir() + L"\\abelha.ff"); }

// The directory record of `name` in an archive: its offset field's position.
size_t recordOf(const std::string& archive, const char* name) {
    const uint32_t count = *reinterpret_cast<const uint32_t*>(archive.data());
    for (uint32_t i = 0; i < count; ++i) {
        const size_t at = 4 + 17 * static_cast<size_t>(i);
        if (_stricmp(archive.c_str() + at + 4, name) == 0) return at;
    }
    return 0;
}

std::string damaged(const std::string& how) {
    std::string art = readArtFile();
    if (how == "empty") return "";
    if (how == "3 bytes") return art.substr(0, 3);
    if (how == "cut in the directory") return art.substr(0, 4 + 17 * 10);
    if (how == "cut in the pictures") return art.substr(0, art.size() / 2);
    if (how == "one byte short") return art.substr(0, art.size() - 1);
    if (how == "a directory that lies") {
        art.replace(0, 4, "\xff\xff\xff\x0f", 4);
        return art;
    }
    if (how == "the bee's picture with a wrong header") {
        const size_t record = recordOf(art, "ab2.BMP");
        const uint32_t offset = *reinterpret_cast<const uint32_t*>(art.data() + record);
        art.replace(offset + 14, 4, "\x01\x00\x00\x00", 4);  // a header of one byte
        return art;
    }
    if (how == "a fuzzer's archive") return readFile(buildDir() + L"\\tests\\fuzz-archive");
    return art;
}

// The art file damaged in many ways: the art-file message and a clean exit,
// or, where only some pictures are damaged, play without them; never a
// crash.
TEST_F(AbelhaTest, ADamagedArtFileNeverCrashesTheGame) {
    const struct {
        const char* how;
        bool unreadable;  // the archive as a whole cannot be opened
    } cases[] = {
        {"empty", true},
        {"3 bytes", true},
        {"cut in the directory", true},
        {"a directory that lies", true},
        {"cut in the pictures", true},  // the directory's end lies past the file's
        {"one byte short", true},
        {"the bee's picture with a wrong header", false},
        {"a fuzzer's archive", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        Session session(false);
        const std::string art = damaged(c.how);
        std::ofstream((session.folder() + L"\\abelha.ff").c_str(), std::ios::binary) << art;
        ASSERT_TRUE(session.measureNoise());
        HWND game = session.title();
        ASSERT_NE(game, nullptr);
        uidriver::pressKey(game, VK_RETURN);
        HWND message = session.box("Não Foi Possivel Carregar o Arquivo 'abelha.ff'", c.unreadable ? 20000 : 4000);
        EXPECT_EQ(message != nullptr, c.unreadable);
        if (message) {
            uidriver::clickButton(message, IDOK);
        } else {
            ASSERT_TRUE(session.program().running()) << "the game plays on without the damaged pictures";
            uidriver::pressKey(game, VK_ESCAPE);
            HWND sure = session.box("Você Tem Certeza que Deseja Sair?");
            ASSERT_NE(sure, nullptr);
            uidriver::clickButton(sure, IDYES);
        }
        EXPECT_EQ(session.program().waitExit(20000), 0) << "a clean exit";
    }
}

// A 3 s phonation confirmed with Sim whose result cannot be written: the
// creation-error text, OK, and an exit with code 0.
void confirmAndExpectTheCreationError(uidriver::GameSession& session) {
    Sleep(2000);
    ServerPlayer vowel(uidriver::withLeadIn(uidriver::sustainedVowel(3000)));
    HWND confirm = session.box("Tempo Obtido");
    ASSERT_NE(confirm, nullptr);
    uidriver::clickButton(confirm, IDYES);
    HWND error = session.box("Erro Criando Arquivo");
    ASSERT_NE(error, nullptr) << "the creation-error text";
    uidriver::clickButton(error, IDOK);
    EXPECT_EQ(session.program().waitExit(20000), 0);
}

// A result that cannot be written (here a folder of that name; a read-only
// file takes the same path on Windows, but Wine run as root writes it all
// the same): the creation-error text, an exit with code 0, the folder kept.
TEST_F(AbelhaTest, AResultThatCannotBeWrittenIsReported) {
    Session session;
    HWND game = session.play();
    ASSERT_NE(game, nullptr);
    const std::wstring result = session.resultPath();
    ASSERT_TRUE(CreateDirectoryW(result.c_str(), nullptr));
    confirmAndExpectTheCreationError(session);
    EXPECT_EQ(GetFileAttributesW(result.c_str()) & FILE_ATTRIBUTE_DIRECTORY, DWORD{FILE_ATTRIBUTE_DIRECTORY});
    RemoveDirectoryW(result.c_str());
}

// A folder the result cannot go into: one mounted read-only; one that
// fills up while the game runs, with an older result in it that the game
// removes as it starts; one whose older result file nothing may change or
// remove.  tests/win/small_folders.sh makes them and runs this part of the
// program.
class SmallFolders : public AbelhaTest {
protected:
    void SetUp() override {
        AbelhaTest::SetUp();
        if (IsSkipped()) return;
        if (!_wgetenv(L"TE_SMALL_FOLDER") || !_wgetenv(L"TE_READONLY_FOLDER"))
            GTEST_SKIP() << "run by tests/win/small_folders.sh";
    }
};

// Writes into `folder` until it takes no more; the file that did it.
std::wstring fillUp(const std::wstring& folder) {
    const std::wstring filler = folder + L"\\filler";
    HANDLE f = CreateFileW(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return filler;
    std::vector<char> block(4096, 'x');
    DWORD written = 0;
    while (WriteFile(f, block.data(), static_cast<DWORD>(block.size()), &written, nullptr) && written == block.size()) {
    }
    CloseHandle(f);
    return filler;
}

TEST_F(SmallFolders, AResultTheFolderCannotTakeIsReportedAndNoResultFileStays) {
    struct Case {
        const char* name;
        const wchar_t* folderVariable;
        bool fillWhilePlaying;
        const char* resultLeft;  // what stays in the result file; nullptr: no file
    };
    for (const Case& c : {Case{"read-only", L"TE_READONLY_FOLDER", false, nullptr},
                          Case{"full", L"TE_SMALL_FOLDER", true, nullptr},
                          Case{"a result file nothing may change", L"TE_LOCKED_RESULT_FOLDER", false, "00:09:99"}}) {
        SCOPED_TRACE(c.name);
        if (!_wgetenv(c.folderVariable)) {
            std::printf("no folder for the case \"%s\" here\n", c.name);
            continue;
        }
        const std::wstring folder = _wgetenv(c.folderVariable);
        if (c.fillWhilePlaying) std::ofstream((folder + L"\\abelha.dat").c_str(), std::ios::binary) << "00:09:99";
        uidriver::GameSession session(buildDir(), L"abelha", uidriver::GameSession::GivenFolder{folder});
        ASSERT_NE(session.play(), nullptr);
        std::wstring filler;
        if (c.fillWhilePlaying) {
            EXPECT_FALSE(fileExists(session.resultPath())) << "the older result went as the game started";
            filler = fillUp(folder);
        }
        confirmAndExpectTheCreationError(session);
        if (c.resultLeft)
            EXPECT_EQ(readFile(session.resultPath()), c.resultLeft) << "the older result is left as it was";
        else
            EXPECT_FALSE(fileExists(session.resultPath())) << "no partial or older result stays";
        if (!filler.empty()) DeleteFileW(filler.c_str());
    }
}

// The same program started twice: the second run is refused with a
// message; the first goes on, and another exercise may run beside it.
TEST_F(AbelhaTest, ASecondRunOfTheSameProgramIsRefused) {
    Session first;
    ASSERT_NE(first.noiseDialog(), nullptr);
    Session second;
    HWND refused = second.box("Este exercício já está aberto em outra janela.");
    ASSERT_NE(refused, nullptr);
    uidriver::clickButton(refused, IDOK);
    EXPECT_EQ(second.program().waitExit(20000), 0);
    EXPECT_TRUE(first.program().running());
    // Another exercise beside it is not refused.
    uidriver::GameSession other(buildDir(), L"carro");
    EXPECT_NE(other.noiseDialog(), nullptr);
    ASSERT_NE(first.play(), nullptr) << "the first run measures as before";
}

TEST_F(AbelhaTest, PhonationOfOneAndAHalfSecondsIsNotTaken) {
    Session session;
    HWND game = session.play();
    ASSERT_NE(game, nullptr);
    {
        ServerPlayer vowel(uidriver::withLeadIn(uidriver::sustainedVowel(1500)));
        waitFor([&] { return vowel.finished(); }, 10000);
    }
    EXPECT_EQ(session.box("Tempo Obtido", 2500), nullptr) << "a phonation of 2 s or less is dropped";
    uidriver::pressKey(game, VK_ESCAPE);
    HWND sure = session.box("Você Tem Certeza que Deseja Sair?");
    ASSERT_NE(sure, nullptr);
    uidriver::clickButton(sure, IDYES);
    EXPECT_EQ(session.program().waitExit(20000), 0);
    EXPECT_FALSE(fileExists(session.resultPath()));
}

TEST_F(AbelhaTest, EscapeAndYesDeletesAnOlderResult) {
    Session session(true, "00:09:99");
    ASSERT_TRUE(session.measureNoise());
    HWND game = session.title();
    ASSERT_NE(game, nullptr);
    uidriver::pressKey(game, VK_ESCAPE);
    HWND sure = session.box("Você Tem Certeza que Deseja Sair?");
    ASSERT_NE(sure, nullptr);
    uidriver::clickButton(sure, IDYES);
    EXPECT_EQ(session.program().waitExit(20000), 0);
    EXPECT_FALSE(fileExists(session.resultPath())) << "a result of an earlier run must not look like this one's";
}

TEST_F(AbelhaTest, MissingArtFileIsReportedWhenTheExerciseStarts) {
    Session session(false, "00:09:99");
    ASSERT_TRUE(session.measureNoise());
    HWND game = session.title();
    ASSERT_NE(game, nullptr);
    const RECT client = uidriver::clientRectOnScreen(game);
    EXPECT_EQ(uidriver::screenPixel(client.left + 320, client.top + 240), RGB(0, 0, 0)) << "no title picture";
    uidriver::pressKey(game, VK_RETURN);
    HWND message = session.box("Não Foi Possivel Carregar o Arquivo 'abelha.ff'");
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(uidriver::dialogText(message),
              "Não Foi Possivel Carregar o Arquivo 'abelha.ff'\nO Aplicativo será Finalizado!");
    EXPECT_EQ(uidriver::windowTitle(message), "Tempo Expiratório");
    uidriver::clickButton(message, IDOK);
    EXPECT_EQ(session.program().waitExit(20000), 0);
    EXPECT_FALSE(fileExists(session.resultPath()));
}

// No microphone at all (no audio server): every message in Portuguese, then
// a clean end, since the noise measurement cannot be made.  The same for
// every program that measures; only the bee and the adult program say the
// volume control could not be set up.
class NoMicrophone : public ::testing::Test {
protected:
    void SetUp() override {
        const char* sink = std::getenv("TE_SINK");
        if (sink && *sink) GTEST_SKIP() << "an audio server is running";
    }
};

TEST_F(NoMicrophone, EveryMeasuringProgramExplainsAndEnds) {
    const struct {
        const wchar_t* program;
        bool saysControlsFailed;
    } cases[] = {{L"abelha", true}, {L"carro", false}, {L"barco", false}, {L"menina", false}, {L"adulto", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.program);
        uidriver::GameSession session(buildDir(), c.program);
        std::string seen;
        bool measureAsked = false;
        const bool ended = waitFor(
            [&] {
                if (!session.program().running()) return true;
                for (const char* caption : {"ERRO", "Erro Abrindo Canal"}) {
                    if (HWND box = session.program().dialogWithText(caption)) {
                        seen += uidriver::windowTitle(box) + ": " + uidriver::dialogText(box) + "\n";
                        uidriver::clickButton(box, IDOK);
                        return false;
                    }
                }
                HWND noise = session.program().window(L"Ruido Externo...");
                if (noise && !measureAsked) {
                    // Posted: the click opens message boxes before it returns.
                    PostMessageW(GetDlgItem(noise, 1028), BM_CLICK, 0, 0);  // "Obter Ruido Externo"
                    measureAsked = true;
                }
                return false;
            },
            60000);
        ASSERT_TRUE(ended) << "the program must end by itself; seen:\n" << seen;
        EXPECT_EQ(session.program().waitExit(0), 0);
        EXPECT_EQ(seen.find("ERRO: NAO FOI POSSIVEL INICIALIZAR OS CONTROLES") != std::string::npos,
                  c.saysControlsFailed)
            << seen;
        EXPECT_NE(seen.find("Erro Abrindo Canal: wfe.cbSize = 0"), std::string::npos) << seen;
    }
}

TEST_F(AbelhaTest, EscapeInTheFirstNoiseDialogEndsTheProgram) {
    Session session;
    HWND noise = session.noiseDialog();
    ASSERT_NE(noise, nullptr);
    uidriver::pressKey(noise, VK_ESCAPE);
    EXPECT_EQ(session.program().waitExit(20000), 0) << "ends at once, with code 0";
}

}  // namespace
