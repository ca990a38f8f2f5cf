// The bee game end to end under Wine: the real abelha.exe, driven from
// outside like a therapist would, listening to sounds played into the
// virtual microphone.
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

// --- pictures ------------------------------------------------------------------

// The colours of the game's own pictures, read from its art file.
struct Art {
    std::map<std::string, std::map<COLORREF, int>> colours;  // picture -> colour -> pixel count
    const engine::DibInfo* title = nullptr;
    engine::DibInfo titleInfo{};

    Art() {
        if (!engine::ArtArchiveOpen((std::string(narrowBuildDir()) + "\\abelha.ff").c_str(), 5)) return;
        for (const char* name : {"ab0.BMP", "ab2.BMP", "init.bmp"}) {
            auto* handle = engine::ArtEntryOpen(name);
            if (!handle) continue;
            const auto* data = static_cast<const uint8_t*>(engine::ArtEntryData(handle, 0, 0));
            engine::DibInfo info;
            if (data && engine::checkDib({data, handle->size}, info) == engine::DibCheck::ok) {
                count(name, info);
                if (std::string(name) == "init.bmp") {
                    titleInfo = info;
                    title = &titleInfo;
                }
            }
            engine::ArtEntryClose(handle);
        }
    }
    static std::string narrowBuildDir() {
        const std::wstring w = buildDir();
        return std::string(w.begin(), w.end());
    }
    static COLORREF pixel(const engine::DibInfo& p, int x, int y) {
        const uint8_t index = p.pixels[static_cast<size_t>(p.height - 1 - y) * p.rowStride + static_cast<size_t>(x)];
        const uint8_t* c = p.colorTable + 4 * index;
        return RGB(c[2], c[1], c[0]);
    }
    void count(const std::string& name, const engine::DibInfo& p) {
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                const COLORREF c = pixel(p, x, y);
                if (c != RGB(255, 255, 255)) ++colours[name][c];
            }
    }
    // The picture's most frequent colour that the scenery does not have much of.
    COLORREF signature(const std::string& name) const {
        COLORREF best = 0;
        int most = 0;
        for (auto [c, n] : colours.at(name))
            if (n > most && GetRValue(c) > 200 && GetGValue(c) > 150 && GetBValue(c) < 90) {  // the bee's yellow
                best = c;
                most = n;
            }
        return best;
    }
};

RECT at(const RECT& client, int left, int top, int right, int bottom) {
    return {client.left + left, client.top + top, client.left + right, client.top + bottom};
}

void saveShot(const wchar_t* name) {
    uidriver::saveScreenshot(buildDir() + L"\\tests\\" + name + L".bmp");
}

// --- the exercise ------------------------------------------------------------------

TEST_F(AbelhaTest, PhonationIsTimedConfirmedAndSaved) {
    Art art;
    ASSERT_NE(art.title, nullptr) << "init.bmp in abelha.ff";
    const COLORREF beeYellow = art.signature("ab2.BMP");
    ASSERT_NE(beeYellow, 0u);

    Session session;
    ASSERT_TRUE(session.measureNoise());
    HWND game = session.title();
    ASSERT_NE(game, nullptr);
    const RECT client = uidriver::clientRectOnScreen(game);
    EXPECT_EQ(client.right - client.left, 640);
    EXPECT_EQ(client.bottom - client.top, 480);
    saveShot(L"abelha-title");
    int matching = 0, probes = 0;
    for (int y = 20; y < 480; y += 37)
        for (int x = 15; x < 640; x += 41, ++probes)
            if (uidriver::screenPixel(client.left + x, client.top + y) == Art::pixel(*art.title, x, y)) ++matching;
    EXPECT_GE(matching, probes * 9 / 10) << "the title picture fills the window";

    uidriver::pressKey(game, VK_RETURN);
    const RECT high = at(client, 30, 220, 85, 284), low = at(client, 30, 350, 85, 414);
    // Setting the game up and the first captured buffers take a moment.
    EXPECT_TRUE(waitFor([&] { return countColour(low, beeYellow) > 20; }, 15000)) << "idle: the bee sits low";
    saveShot(L"abelha-idle");
    EXPECT_EQ(countColour(high, beeYellow), 0);

    const int lengthMs = 3000;
    PcmPlayer vowel(uidriver::withLeadIn(uidriver::sustainedVowel(lengthMs)));
    Sleep(800 + 1800);
    saveShot(L"abelha-voiced");
    EXPECT_GT(countColour(high, beeYellow), 20) << "voiced: the bee flies high";
    EXPECT_EQ(countColour(low, beeYellow), 0);
    EXPECT_GT(countColour(at(client, 10, 4, 170, 28), RGB(255, 255, 255)), 20) << "the HUD's running time";
    EXPECT_EQ(uidriver::screenPixel(client.left + 520 + 9 * 2 + 4, client.top + 436 + 35), RGB(0, 255, 0))
        << "meter segment 2 green";
    EXPECT_EQ(uidriver::screenPixel(client.left + 520 + 9 * 10 + 4, client.top + 436 + 35), RGB(128, 128, 128))
        << "meter segment 10 gray";

    HWND confirm = session.box("Tempo Obtido");
    ASSERT_NE(confirm, nullptr);
    saveShot(L"abelha-confirm");
    const std::string text = uidriver::dialogText(confirm);
    const long ms = confirmedMs(text);
    EXPECT_NEAR(ms, lengthMs, 125) << text;
    EXPECT_NE(text.find("\nConfirma este Tempo?"), std::string::npos) << text;

    uidriver::clickButton(confirm, IDYES);
    EXPECT_EQ(session.program().waitExit(20000), 0);
    const std::string saved = readFile(session.resultPath());
    ASSERT_EQ(saved.size(), 8u) << saved;
    EXPECT_EQ(saved, text.substr(14, 8));
    for (size_t i = 0; i < saved.size(); ++i)
        EXPECT_TRUE(i % 3 == 2 ? saved[i] == ':' : (saved[i] >= '0' && saved[i] <= '9')) << saved;
}

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
            PcmPlayer vowel(uidriver::withLeadIn(uidriver::sustainedVowel(5000)));
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
        Sleep(3000);  // Wine loses the first moments of every new capture
        PcmPlayer vowel(uidriver::withLeadIn(uidriver::sustainedVowel(3000)));
        HWND confirm = session.box("Tempo Obtido");
        ASSERT_NE(confirm, nullptr);
        EXPECT_NEAR(confirmedMs(uidriver::dialogText(confirm)), 3000, 125);
        uidriver::clickButton(confirm, IDYES);
        EXPECT_EQ(session.program().waitExit(20000), 0);
        EXPECT_EQ(readFile(session.resultPath()).size(), 8u);
    }
}

// A run that ends without the window's destruction (a kill, a crash, a
// fatal graphics error) must not leave an earlier run's result behind: the
// program removes it as it starts.
TEST_F(AbelhaTest, AnOlderResultIsGoneAsSoonAsTheProgramStarts) {
    Session session(true, "00:09:99");
    ASSERT_NE(session.noiseDialog(), nullptr);
    EXPECT_FALSE(fileExists(session.resultPath()));
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
