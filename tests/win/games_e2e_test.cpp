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
#include "tools/uidriver/driver_win.h"
#include "tools/uidriver/samples.h"
#include "tools/uidriver/session_win.h"

namespace {

using uidriver::PcmPlayer;
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

// A picture of the game's art file, as RGB pixels top row first.
struct Picture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The pictures of one art file, read the way the engine reads them.
std::map<std::string, Picture> readPictures(const std::string& artFile, const std::vector<std::string>& names) {
    std::map<std::string, Picture> pictures;
    if (!engine::ArtArchiveOpen(artFile.c_str(), 5)) return pictures;
    for (const std::string& name : names) {
        auto* handle = engine::ArtEntryOpen(name.c_str());
        if (!handle) continue;
        const auto* data = static_cast<const uint8_t*>(engine::ArtEntryData(handle, 0, 0));
        engine::DibInfo info;
        if (data && engine::checkDib({data, handle->size}, info) == engine::DibCheck::ok) {
            Picture& p = pictures[name];
            p.width = info.width;
            p.height = info.height;
            for (int y = 0; y < info.height; ++y)
                for (int x = 0; x < info.width; ++x) {
                    const uint8_t index = info.pixels[static_cast<size_t>(info.height - 1 - y) * info.rowStride + x];
                    const uint8_t* c = info.colorTable + 4 * index;
                    p.pixels.push_back(RGB(c[2], c[1], c[0]));
                }
        }
        engine::ArtEntryClose(handle);
    }
    engine::ArtArchiveDataReleased();
    engine::ArtArchiveClose();
    return pictures;
}

// The share of the picture's visible pixels that the screen shows at
// (left, top) of the game's client area.
double shownShare(const ScreenGrab& screen, const RECT& client, const Picture& p, int left, int top) {
    int visible = 0, shown = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const COLORREF c = p.at(x, y);
            if (c == RGB(255, 255, 255)) continue;
            ++visible;
            shown += screen.at(client.left + left + x, client.top + top + y) == c;
        }
    return visible == 0 ? 0.0 : static_cast<double>(shown) / visible;
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

    std::vector<std::string> frames(int32_t action) const {
        std::vector<std::string> names;
        for (const auto& f : scene().mainSprite.frames)
            if (f.action == action) names.emplace_back(f.picture);
        return names;
    }
    // The best shown share among the main sprite's pictures of one action.
    double mainSpriteShown(const std::map<std::string, Picture>& art, const ScreenGrab& screen, const RECT& client,
                           int32_t action, int y) const {
        double best = 0;
        for (const std::string& f : frames(action))
            if (art.count(f)) best = std::max(best, shownShare(screen, client, art.at(f), scene().mainSprite.x, y));
        return best;
    }
    // The screen shows one of the main sprite's pictures of `action` at height
    // y, and not one of the other action's: the car's pictures differ only in
    // their wheels and exhaust.
    bool showsMainSprite(const std::map<std::string, Picture>& art, const ScreenGrab& screen, const RECT& client,
                         int32_t action, int y) const {
        const int32_t other = action == scenes::kIdle ? scenes::kVoiced : scenes::kIdle;
        const double share = mainSpriteShown(art, screen, client, action, y);
        return share > 0.95 && share > mainSpriteShown(art, screen, client, other, y);
    }
    void saveShot(const std::string& what) const {
        const std::string path = narrowBuildDir() + "\\tests\\" + name() + "-" + what + ".bmp";
        uidriver::saveScreenshot(std::wstring(path.begin(), path.end()));
    }
};

// The front plane as the game lays it, at rest: the game's own ground.
double frontPlaneShown(const std::string& game, const std::map<std::string, Picture>& tiles, const ScreenGrab& screen,
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
    const int idleY = scene().outOfBand.mainY.value_or(scenes::fixed(scene().mainSprite.y)) / 65536;
    const int voicedY = scene().inBand.mainY.value_or(scenes::fixed(scene().mainSprite.y)) / 65536;

    uidriver::GameSession session(buildDir(), GetParam().program);
    HWND game = session.play();
    ASSERT_NE(game, nullptr);
    const RECT client = uidriver::clientRectOnScreen(game);
    ScreenGrab idle;
    EXPECT_TRUE(waitFor([&] { return showsMainSprite(art, idle = uidriver::grabScreen(), client, scenes::kIdle, idleY); },
                        15000))
        << "idle: the main sprite at rest";
    saveShot("idle");
    EXPECT_GT(frontPlaneShown(name(), art, idle, client), 0.8) << "the game's own ground along the bottom";

    const int lengthMs = 3000;
    PcmPlayer vowel(uidriver::withLeadIn(uidriver::sustainedVowel(lengthMs)));
    ScreenGrab voiced;
    EXPECT_TRUE(waitFor([&] { return showsMainSprite(art, voiced = uidriver::grabScreen(), client, scenes::kVoiced, voicedY); },
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

INSTANTIATE_TEST_SUITE_P(Programs, GameEndToEnd,
                         ::testing::Values(Game{L"abelha", scenes::beeScene}, Game{L"carro", scenes::carScene},
                                           Game{L"barco", scenes::boatScene}, Game{L"menina", scenes::girlScene}),
                         [](const auto& param) { return nameOf(param.param); });

}  // namespace
