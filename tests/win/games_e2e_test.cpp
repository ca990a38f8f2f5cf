// Each game end to end under Wine: the real program, driven from outside
// like a therapist would, listening to a vowel played into the virtual
// microphone.  One test for the four programs; what differs comes from
// their scene descriptions and their own art files.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/art_archive.h"
#include "engine/dib.h"
#include "scenes/scene_description.h"
#include "tests/uidriver/driver_win.h"
#include "tests/uidriver/samples.h"
#include "tests/uidriver/session_win.h"
#include "tests/uidriver/test_environment_win.h"
#include "game_pictures_win.h"

namespace {

using uidriver::ServerPlayer;
using gametest::readPictures;
using gametest::showsMainSprite;
using uidriver::ScreenGrab;
using uidriver::waitFor;

std::wstring buildDir() { return uidriver::buildTreeOfThisProgram(); }
std::string narrowBuildDir() {
    const std::wstring w = buildDir();
    return std::string(w.begin(), w.end());
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// "Tempo Obtido: 00:03:99\nConfirma este Tempo?" -> 3990
long confirmedMs(const std::string& text) {
    int m = 0, s = 0, h = 0;
    if (std::sscanf(text.c_str(), "Tempo Obtido: %d:%d:%d", &m, &s, &h) != 3) return -1;
    return (m * 60 + s) * 1000L + h * 10L;
}

struct Game {
    const wchar_t* program;
    const scenes::SceneDescription& (*scene)();
};

std::string nameOf(const Game& game) {
    const std::wstring w = game.program;
    return std::string(w.begin(), w.end());
}

class GameEndToEnd : public ::testing::TestWithParam<Game> {
protected:
    void SetUp() override {
        const char* sink = std::getenv("TE_SINK");
        if (!sink || !*sink) GTEST_SKIP() << "needs the virtual display and microphone (tools/testenv.sh)";
        if (GetFileAttributesW(exe().c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "not built";
    }
    std::wstring exe() const { return buildDir() + L"\\" + GetParam().program + L".exe"; }
    std::string name() const { return nameOf(GetParam()); }
    const scenes::SceneDescription& scene() const { return GetParam().scene(); }

    void saveShot(const std::string& what) const {
        const std::string path = narrowBuildDir() + "\\tests\\" + name() + "-" + what + ".bmp";
        uidriver::saveScreenshot(std::wstring(path.begin(), path.end()));
    }
};

// The front plane as the game lays it, at rest: the game's own ground.
double frontPlaneShown(const std::string& game, const gametest::Pictures& tiles, const ScreenGrab& screen,
                       const RECT& client) {
    std::istringstream list(readFile(narrowBuildDir() + "\\lists\\" + game + "\\FORELIST.txt"));
    std::vector<std::vector<int>> rows;
    for (std::string line; std::getline(list, line);) {
        std::istringstream numbers(line);
        rows.emplace_back(std::istream_iterator<int>(numbers), std::istream_iterator<int>());
    }
    int probes = 0, shown = 0;
    for (int y = 13 * 32 + 3; y < 480; y += 7)
        for (int x = 5; x < 640; x += 11) {
            const size_t row = static_cast<size_t>(y / 32), column = static_cast<size_t>(x / 32);
            if (row >= rows.size() || column >= rows[row].size() || rows[row][column] == 0) continue;
            char name[16];
            std::snprintf(name, sizeof name, "%03d.BMP", rows[row][column]);
            if (!tiles.count(name)) continue;
            const COLORREF c = tiles.at(name).at(x % 32, y % 32);
            if (c == RGB(255, 255, 255)) continue;
            ++probes;
            shown += screen.at(client.left + x, client.top + y) == c;
        }
    return probes == 0 ? 0.0 : static_cast<double>(shown) / probes;
}

std::vector<std::string> tileNames() {
    std::vector<std::string> names;
    for (int n = scenes::kTilePictureFirst; n <= scenes::kTilePictureLast; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "%03d.BMP", n);
        names.push_back(name);
    }
    return names;
}

TEST_P(GameEndToEnd, PhonationIsTimedConfirmedAndSaved) {
    std::vector<std::string> names = tileNames();
    for (std::string_view p : scene().spritePictures) names.emplace_back(p);
    const auto art = readPictures(narrowBuildDir() + "\\" + name() + ".ff", names);
    ASSERT_FALSE(art.empty()) << name() << ".ff";
    const int idleY = gametest::mainSpriteY(scene(), scenes::kIdle);
    const int voicedY = gametest::mainSpriteY(scene(), scenes::kVoiced);

    uidriver::GameSession session(buildDir(), GetParam().program);
    HWND game = session.play();
    ASSERT_NE(game, nullptr);
    const RECT client = uidriver::clientRectOnScreen(game);
    ScreenGrab idle;
    EXPECT_TRUE(waitFor([&] { return showsMainSprite(scene(), art, idle = uidriver::grabScreen(), client, scenes::kIdle, idleY); },
                        15000))
        << "idle: the main sprite at rest";
    saveShot("idle");
    EXPECT_GT(frontPlaneShown(name(), art, idle, client), 0.8) << "the game's own ground along the bottom";

    const int lengthMs = 3000;
    ServerPlayer vowel(uidriver::withLeadIn(uidriver::sustainedVowel(lengthMs)));
    ScreenGrab voiced;
    EXPECT_TRUE(waitFor([&] { return showsMainSprite(scene(), art, voiced = uidriver::grabScreen(), client, scenes::kVoiced, voicedY); },
                        8000))
        << "voiced: the main sprite's voiced animation";
    saveShot("voiced");
    EXPECT_EQ(voiced.at(client.left + 520 + 9 * 2 + 4, client.top + 436 + 35), RGB(0, 255, 0)) << "meter segment 2 green";
    EXPECT_EQ(voiced.at(client.left + 520 + 9 * 10 + 4, client.top + 436 + 35), RGB(128, 128, 128))
        << "meter segment 10 gray";

    HWND confirm = session.box("Tempo Obtido");
    ASSERT_NE(confirm, nullptr);
    const std::string text = uidriver::dialogText(confirm);
    EXPECT_NEAR(confirmedMs(text), lengthMs, 125) << text << " (two buffers of 62.5 ms)";
    EXPECT_NE(text.find("\nConfirma este Tempo?"), std::string::npos) << text;

    uidriver::clickButton(confirm, IDYES);
    EXPECT_EQ(session.program().waitExit(20000), 0);
    const std::wstring resultPath = session.resultPath();
    const std::string saved = readFile(std::string(resultPath.begin(), resultPath.end()));
    ASSERT_EQ(saved.size(), 8u) << saved;
    EXPECT_EQ(saved, text.substr(14, 8));
}

// Dialog units to pixels as the dialog manager converts them, with the
// dialog font's base units found from the dialog's own size.
struct DialogUnits {
    int baseX = 0, baseY = 0;
    int x(int units) const { return MulDiv(units, baseX, 4); }
    int y(int units) const { return MulDiv(units, baseY, 8); }
};

DialogUnits unitsOf(HWND dialog, int widthUnits, int heightUnits) {
    RECT client{};
    GetClientRect(dialog, &client);
    DialogUnits units;
    for (int base = 1; base < 64; ++base) {
        if (!units.baseX && MulDiv(widthUnits, base, 4) == client.right) units.baseX = base;
        if (!units.baseY && MulDiv(heightUnits, base, 8) == client.bottom) units.baseY = base;
    }
    return units;
}

// A control's place in its dialog's client area.
POINT controlOrigin(HWND dialog, int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(dialog, id), &r);
    POINT origin{r.left, r.top};
    ScreenToClient(dialog, &origin);
    return origin;
}

// The text of a menu item in the program's own menu resource.
std::wstring menuItemText(const std::wstring& exe, int menuId, UINT item) {
    HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return L"(no module)";
    wchar_t text[64] = {};
    if (HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(menuId))) {
        GetMenuStringW(menu, item, text, 64, MF_BYCOMMAND);
        DestroyMenu(menu);
    }
    FreeLibrary(module);
    return text;
}

// What sets the programs apart besides their scenes: two calibration
// buttons one dialog unit off in the car and the boat, the car's menu
// text, the girl's white window (seen where no title picture covers it).
TEST_P(GameEndToEnd, ProgramsDifferWhereTheyShould) {
    const std::string program = name();
    EXPECT_EQ(menuItemText(exe(), 154, 32774), program == "carro" ? L"&Testar Microfone" : L"&Ajustar Microfone...");
    uidriver::GameSession session(buildDir(), GetParam().program, false);
    HWND noise = session.noiseDialog();
    ASSERT_NE(noise, nullptr);
    const DialogUnits noiseUnits = unitsOf(noise, 239, 161);
    ASSERT_GT(noiseUnits.baseX * noiseUnits.baseY, 0);
    EXPECT_EQ(controlOrigin(noise, IDOK).x, noiseUnits.x(program == "barco" ? 94 : 99)) << "noise dialog OK";
    EXPECT_EQ(controlOrigin(noise, 1028).y, noiseUnits.y(program == "carro" ? 112 : 111)) << "noise start button";
    ASSERT_TRUE(session.measureNoise());
    HWND game = session.title();
    ASSERT_NE(game, nullptr);
    const RECT client = uidriver::clientRectOnScreen(game);
    EXPECT_EQ(uidriver::screenPixel(client.left + 320, client.top + 240),
              program == "menina" ? RGB(255, 255, 255) : RGB(0, 0, 0))
        << "the window's background, without an art file";

    PostMessageW(game, WM_COMMAND, 32774, 0);
    HWND microphone = session.box("Ajustar Microfone...");
    ASSERT_NE(microphone, nullptr);
    const DialogUnits micUnits = unitsOf(microphone, 148, 130);
    EXPECT_EQ(controlOrigin(microphone, IDOK).x, micUnits.x(program == "barco" ? 50 : 49)) << "microphone dialog OK";
    uidriver::clickButton(microphone, IDOK);
    EXPECT_TRUE(waitFor([&] { return !IsWindow(microphone); }, 10000));

    uidriver::pressKey(game, VK_ESCAPE);
    HWND sure = session.box("Você Tem Certeza que Deseja Sair?");
    ASSERT_NE(sure, nullptr);
    uidriver::clickButton(sure, IDYES);
    EXPECT_EQ(session.program().waitExit(20000), 0);
}

INSTANTIATE_TEST_SUITE_P(Programs, GameEndToEnd,
                         ::testing::Values(Game{L"abelha", scenes::beeScene}, Game{L"carro", scenes::carScene},
                                           Game{L"barco", scenes::boatScene}, Game{L"menina", scenes::girlScene}),
                         [](const auto& param) { return nameOf(param.param); });

}  // namespace
