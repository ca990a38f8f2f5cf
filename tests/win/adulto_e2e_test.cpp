// The adult program end to end under Wine: the real adulto.exe, driven from
// outside like a therapist would, listening to sounds played into the
// virtual microphone.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/uidriver/driver_win.h"
#include "tests/uidriver/samples.h"
#include "tests/uidriver/session_win.h"
#include "tests/uidriver/test_environment_win.h"

namespace {

using uidriver::confirmedMs;
using uidriver::countColour;
using uidriver::fileExists;
using uidriver::ServerPlayer;
using uidriver::readFile;
using uidriver::waitFor;

constexpr COLORREF kCyan = RGB(0, 255, 255);
constexpr COLORREF kPanel = RGB(31, 87, 111);
constexpr long kTwoBuffersMs = 125;

std::wstring buildDir() { return uidriver::buildTreeOfThisProgram(); }

// A run of adulto in a fresh folder, perhaps beside an older result.
struct Session : uidriver::GameSession {
    explicit Session(const char* oldResult = nullptr) : GameSession(buildDir(), L"adulto", false, oldResult) {}
    static RECT panel(HWND main) { return areaOf(main, 40, 50, 330, 190); }
    static RECT timeBox(HWND main) { return areaOf(main, 430, 110, 590, 160); }
    static int bars(HWND main) { return countColour(panel(main), kCyan); }
    static bool timeShown(HWND main) { return timeBoxShown(main); }
    // One row through the digits of the time box.
    static std::string timeBoxPixels(HWND main) {
        const RECT box = timeBox(main);
        std::string row;
        for (LONG x = box.left; x < box.right; x += 2)
            row += uidriver::screenPixel(x, box.top + 25) == kCyan ? '#' : '.';
        return row;
    }
};

// Holds the program's window thread for a while, as a busy machine would:
// the capture goes on filling buffers, and the program handles them late.
void freezeWindowThread(HWND main, DWORD ms) {
    HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(main, nullptr));
    ASSERT_NE(thread, nullptr);
    ASSERT_NE(SuspendThread(thread), static_cast<DWORD>(-1));
    Sleep(200);
    const std::string held = Session::timeBoxPixels(main);
    Sleep(ms - 200);
    EXPECT_EQ(Session::timeBoxPixels(main), held) << "the running time stands still while the program is held";
    ResumeThread(thread);
    CloseHandle(thread);
}

void saveShot(const wchar_t* name) { uidriver::saveScreenshot(buildDir() + L"\\tests\\" + name + L".bmp"); }

class AdultoTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* sink = std::getenv("TE_SINK");
        if (!sink || !*sink) GTEST_SKIP() << "needs the virtual display and microphone (tools/testenv.sh)";
        if (!fileExists(buildDir() + L"\\adulto.exe")) GTEST_SKIP() << "adulto.exe not built";
    }
};

// Expects the confirmation of a phonation of `lengthMs` and answers it.
void confirm(Session& session, long lengthMs, int answer, std::string* text = nullptr) {
    HWND box = session.box("Tempo Obtido");
    ASSERT_NE(box, nullptr);
    const std::string asked = uidriver::dialogText(box);
    EXPECT_NEAR(confirmedMs(asked), lengthMs, kTwoBuffersMs) << asked;
    if (text) *text = asked;
    uidriver::clickButton(box, answer);
}

TEST_F(AdultoTest, NothingBeforeTheClickThenBarsTheTimeAndTheResult) {
    Session session;
    ASSERT_TRUE(session.measureNoise());
    HWND main = session.title();
    ASSERT_NE(main, nullptr);
    RECT frame{};
    GetWindowRect(main, &frame);
    EXPECT_EQ(frame.right - frame.left, 640);
    EXPECT_EQ(frame.bottom - frame.top, 325);
    EXPECT_EQ(uidriver::windowTitle(main), "Tempo Expiratório");

    // Neither minimized nor resized, by the system menu or the frame.
    // A sizing loop that did start would wait for the mouse: give up on it.
    for (WPARAM command : {SC_MINIMIZE, SC_SIZE | WMSZ_BOTTOMRIGHT})
        SendMessageTimeoutW(main, WM_SYSCOMMAND, command, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    RECT after{};
    GetWindowRect(main, &after);
    EXPECT_FALSE(IsIconic(main));
    EXPECT_TRUE(EqualRect(&frame, &after));

    {
        ServerPlayer vowel(uidriver::withLeadIn(uidriver::sustainedVowel(1500)));
        ASSERT_TRUE(waitFor([&] { return vowel.finished(); }, 15000));
    }
    saveShot(L"adulto-invitation");
    EXPECT_EQ(Session::bars(main), 0) << "nothing is drawn before the click";
    EXPECT_FALSE(Session::timeShown(main)) << "nor timed";
    EXPECT_EQ(session.box("Tempo Obtido", 1000), nullptr);

    uidriver::click(main, 320, 140);
    ASSERT_TRUE(waitFor([&] { return Session::timeShown(main); }, 20000)) << "the time box shows once capture runs";
    EXPECT_GT(countColour(Session::panel(main), kPanel), 1000) << "the panel's own colour";
    EXPECT_EQ(Session::bars(main), 0);

    const long lengthMs = 3000;
    ServerPlayer vowel(uidriver::withLeadIn(uidriver::sustainedVowel(lengthMs)));
    EXPECT_TRUE(waitFor([&] { return Session::bars(main) > 40; }, 10000)) << "a vowel adds cyan bars";
    saveShot(L"adulto-measuring");

    std::string asked;
    confirm(session, lengthMs, IDYES, &asked);
    EXPECT_EQ(session.program().waitExit(20000), 0);
    const std::string saved = readFile(session.resultPath());
    ASSERT_EQ(saved.size(), 8u) << saved;
    EXPECT_EQ(saved, asked.substr(14, 8));
}

// "Não" keeps the graph and restarts the capture; the next phonation is
// timed from its own start, and by the sound, not by when the program got
// round to its end: a program held up for 2 s still gets it right.
TEST_F(AdultoTest, DecliningKeepsTheBarsAndTimesTheNextPhonationOnItsOwnClock) {
    Session session("00:09:99");
    HWND main = session.startMeasuring();
    ASSERT_NE(main, nullptr);
    {
        ServerPlayer vowel(uidriver::withLeadIn(uidriver::sustainedVowel(2600)));
        confirm(session, 2600, IDNO);
    }
    const int bars = Session::bars(main);
    EXPECT_GT(bars, 40);
    EXPECT_FALSE(fileExists(session.resultPath()) && readFile(session.resultPath()) != "00:09:99")
        << "nothing written after No";

    Sleep(3000);  // Wine loses the first moments of every new capture
    EXPECT_EQ(Session::bars(main), bars) << "the graph keeps its bars";
    {
        ServerPlayer vowel(uidriver::withLeadIn(uidriver::sustainedVowel(3500)));
        Sleep(800 + 2500);
        freezeWindowThread(main, 2000);  // the vowel ends while the program is held
        confirm(session, 3500, IDYES);
    }
    EXPECT_EQ(session.program().waitExit(20000), 0);
    EXPECT_EQ(readFile(session.resultPath()).size(), 8u);
    EXPECT_NE(readFile(session.resultPath()), "00:09:99");
}

// Esc then "Sim" while measuring ends without a result, so an older one is
// removed; "Sair" then "Sim" ends without touching it.
// The microphone goes away in the middle of a phonation and comes back:
// the program says so and keeps no partial time; once the therapist has
// measured the room again, the next phonation is timed.
TEST_F(AdultoTest, TheMicrophoneGoesAwayMidPhonationAndComesBack) {
    Session session;
    HWND main = session.startMeasuring();
    ASSERT_NE(main, nullptr);
    Sleep(3000);
    const std::string fault = session.loseTheMicrophoneMidPhonation();
    if (!fault.empty()) saveShot(L"adulto-microphone-lost");
    ASSERT_EQ(fault, "");
    Sleep(5000);
    ServerPlayer vowel(uidriver::withLeadIn(uidriver::sustainedVowel(3000)));
    confirm(session, 3000, IDYES);
    EXPECT_EQ(session.program().waitExit(20000), 0);
}

TEST_F(AdultoTest, LeavingWhileMeasuring) {
    const struct {
        const char* name;
        bool escape;
        const char* question;
        bool oldResultKept;
    } cases[] = {
        {"Esc", true, "Você Tem Certeza que Deseja Sair?", false},
        {"Sair", false, "Tem Certeza que Deseja Sair?", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Session session("00:09:99");
        HWND main = session.startMeasuring();
        ASSERT_NE(main, nullptr);
        if (c.escape)
            uidriver::pressKey(main, VK_ESCAPE);
        else
            PostMessageW(main, WM_COMMAND, 32771, 0);
        HWND sure = session.box(c.question);
        ASSERT_NE(sure, nullptr);
        uidriver::clickButton(sure, IDYES);
        EXPECT_EQ(session.program().waitExit(20000), 0);
        EXPECT_EQ(fileExists(session.resultPath()), c.oldResultKept);
    }
}

}  // namespace
