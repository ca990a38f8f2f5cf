#include "tools/artgen/art_set.h"
#include "tools/artgen/artgen_command.h"
#include "tools/artgen/preview.h"

#include "art_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class ArtgenCommand : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("artgen_test_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    int run(const std::vector<std::string>& args) {
        err_.str("");
        return artgen::runArtgen(args, err_);
    }
    std::string path(const std::string& relative) const { return (dir_ / relative).string(); }

    fs::path dir_;
    std::ostringstream err_;
};

TEST_F(ArtgenCommand, WritesPicturesListsAndPreview) {
    ASSERT_EQ(run({"--pictures", path("pictures"), "--lists", path("lists"), "--preview", path("scene.png"),
                   "--steps", "30"}),
              0)
        << err_.str();

    // Every member named in the list exists and is a picture of the set.
    const auto members = arttest::readText(path("pictures/members.txt"));
    std::istringstream lines(members);
    std::size_t count = 0;
    for (std::string line; std::getline(lines, line); ++count)
        EXPECT_TRUE(arttest::readBitmap(arttest::readBytes(line)).error.empty()) << line;
    const artgen::ArtSet art = artgen::generateArtSet();
    EXPECT_EQ(count, art.pictures.size());

    for (const auto& list : artgen::planeLists(art))
        EXPECT_EQ(arttest::readText(path("lists/" + list.fileName)), list.text) << list.fileName;

    // A PNG of the 640 x 480 screen (width and height in its IHDR chunk).
    const auto png = arttest::readBytes(path("scene.png"));
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
    auto be32 = [&](std::size_t at) { return uint32_t{png[at]} << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3]; };
    EXPECT_EQ(be32(16), 640u);
    EXPECT_EQ(be32(20), 480u);
}

TEST_F(ArtgenCommand, EachGameGetsItsOwnListsAndPreview) {
    for (const char* game : {"abelha", "carro", "barco", "menina"}) {
        const std::string dir = path(game);
        ASSERT_EQ(run({"--game", game, "--lists", dir, "--preview", dir + "/scene.png"}), 0) << game << err_.str();
        const artgen::ArtSet art = artgen::generateArtSet(*artgen::gameNamed(game));
        for (const auto& list : artgen::planeLists(art))
            EXPECT_EQ(arttest::readText(dir + "/" + list.fileName), list.text) << game << " " << list.fileName;
        EXPECT_GT(arttest::readBytes(dir + "/scene.png").size(), 24u) << game;
    }
}

// The step count is the user's: any whole number previews, the largest too.
TEST_F(ArtgenCommand, AnyStepCountIsPreviewed) {
    for (const char* steps : {"0", "2147483647"}) {
        EXPECT_EQ(run({"--game", "barco", "--preview", path("p.png"), "--steps", steps}), 0) << steps << err_.str();
        EXPECT_GT(arttest::readBytes(path("p.png")).size(), 24u) << steps;
    }
}

TEST(PreviewScroll, StaysInsideThePlaneForAnyStepCount) {
    const struct {
        int steps, pixelsPerStep, period, expected;
    } cases[] = {
        {0, 10, 832, 0},
        {83, 10, 832, 830},
        {84, 10, 832, 8},            // past the wrap
        {3, -10, 832, 802},          // the boat's waves run backwards
        {2147483647, 4, 640, 2147483647 % 640 * 4 % 640},
        {2147483647, -10, 832, 832 - 2147483647 % 832 * 10 % 832},
    };
    for (const auto& c : cases)
        EXPECT_EQ(artgen::scrolledBy(c.steps, c.pixelsPerStep, c.period), c.expected) << c.steps << " x " << c.pixelsPerStep;
}

TEST_F(ArtgenCommand, RefusesBadArgumentsWithAMessage) {
    std::ofstream(path("a_file")) << "x";
    const struct {
        const char* what;
        std::vector<std::string> args;
        const char* messagePart;
    } cases[] = {
        {"nothing asked", {}, "nothing to do"},
        {"option without value", {"--lists"}, "needs a value"},
        {"unknown option", {"--colours", "8"}, "unknown option"},
        {"steps not a number", {"--preview", path("p.png"), "--steps", "many"}, "whole number"},
        {"unknown game", {"--game", "aviao", "--lists", path("l")}, "no game called 'aviao'"},
        {"negative steps", {"--preview", path("p.png"), "--steps", "-3"}, "whole number"},
        {"directory over a file", {"--lists", path("a_file")}, "cannot create the directory"},
        {"preview in a missing directory", {"--preview", path("none/p.png")}, "cannot write the preview"},
        {"picture set without a folder", {"menu"}, "needs one folder"},
        {"picture set with more", {"dialog", path("d"), "--idle"}, "needs one folder"},
        {"picture set over a file", {"splash", path("a_file")}, "cannot create the directory"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.args), 1) << c.what;
        EXPECT_NE(err_.str().find(c.messagePart), std::string::npos) << c.what << ": " << err_.str();
    }
}

}  // namespace
