// The bee game end to end under Wine: the real abelha.exe, driven from
// outside like a therapist would, listening to sounds played into the
// virtual microphone.  The shared paths (declining, short phonations,
// exits, a missing art file) are tried here once, on the bee; the timed
// phonation of every game is in games_e2e_test.cpp.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>

#include "engine/art_archive.h"
#include "engine/dib.h"
#include "tools/uidriver/driver_win.h"
#include "tools/uidriver/samples.h"
#include "tools/uidriver/session_win.h"

namespace {

using uidriver::PcmPlayer;
using uidriver::Program;
using uidriver::waitFor;


std::wstring buildDir() { return uidriver::buildTreeOfThisProgram(); }

std::string readFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool fileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// "Tempo Obtido: 00:03:99\nConfirma este Tempo?" -> 3990
long confirmedMs(const std::string& text) {
    int m = 0, s = 0, h = 0;
    if (std::sscanf(text.c_str(), "Tempo Obtido: %d:%d:%d", &m, &s, &h) != 3) return -1;
    return (m * 60 + s) * 1000L + h * 10L;
}

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
        PcmPlayer vowel(uidriver::withLeadIn(uidriver::sustainedVowel(2600)));
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

TEST_F(AbelhaTest, PhonationOfOneAndAHalfSecondsIsNotTaken) {
    Session session;
    HWND game = session.play();
    ASSERT_NE(game, nullptr);
    {
        PcmPlayer vowel(uidriver::withLeadIn(uidriver::sustainedVowel(1500)));
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

TEST_F(AbelhaTest, EscapeInTheFirstNoiseDialogEndsTheProgram) {
    Session session;
    HWND noise = session.noiseDialog();
    ASSERT_NE(noise, nullptr);
    uidriver::pressKey(noise, VK_ESCAPE);
    EXPECT_EQ(session.program().waitExit(20000), 0) << "ends at once, with code 0";
}

}  // namespace
