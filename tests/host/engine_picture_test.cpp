#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <functional>
#include <unistd.h>

#include "engine/art_archive.h"
#include "engine/bitmap.h"
#include "engine/dib.h"
#include "engine_test_support.h"

namespace {

using engine::DibCheck;
using engine::PicturePlan;
using enginetest::Bytes;
using enginetest::putU16;
using enginetest::putU32;

TEST(Dib, DamagedPicturesAreRefusedBeforeAnyScan) {
    const struct {
        const char* what;
        std::function<void(Bytes&)> damage;
        DibCheck expected;
    } cases[] = {
        {"intact", [](Bytes&) {}, DibCheck::ok},
        {"no BM", [](Bytes& b) { b[1] = 'A'; }, DibCheck::notBitmap},
        {"core header", [](Bytes& b) { putU32(b, 14, 12); }, DibCheck::notBitmap},
        {"only the file header", [](Bytes& b) { b.resize(20); }, DibCheck::damaged},
        {"1 bit", [](Bytes& b) { putU16(b, 28, 1); }, DibCheck::mask},
        {"3 bits", [](Bytes& b) { putU16(b, 28, 3); }, DibCheck::damaged},
        {"RLE", [](Bytes& b) { putU32(b, 30, 1); }, DibCheck::damaged},
        {"zero width", [](Bytes& b) { putU32(b, 18, 0); }, DibCheck::damaged},
        {"top-down", [](Bytes& b) { putU32(b, 22, static_cast<uint32_t>(-4)); }, DibCheck::damaged},
        {"huge width", [](Bytes& b) { putU32(b, 18, 0x7FFFFFFF); }, DibCheck::damaged},
        {"rows too tall", [](Bytes& b) { putU32(b, 22, 5); }, DibCheck::damaged},
        {"last byte missing", [](Bytes& b) { b.pop_back(); }, DibCheck::damaged},
        {"colour table too long", [](Bytes& b) { putU32(b, 46, 257); }, DibCheck::damaged},
        {"table cut short", [](Bytes& b) { b.resize(600); }, DibCheck::damaged},
    };
    for (const auto& c : cases) {
        Bytes dib = enginetest::makeDib(6, 4);
        c.damage(dib);
        engine::DibInfo info;
        EXPECT_EQ(engine::checkDib(dib, info), c.expected) << c.what;
        if (c.expected != DibCheck::ok) {
            EXPECT_EQ(info.pixels, nullptr) << c.what;
        }
    }
}

TEST(Dib, PixelRowsFollowTheColourTable) {
    const struct {
        uint16_t bits;
        uint32_t colors, clrUsed;
        size_t pixelsAt;
        uint32_t stride;
    } cases[] = {
        {8, 256, 0, 1078, 8}, {8, 16, 16, 118, 8}, {4, 16, 0, 118, 4}, {24, 0, 0, 54, 20}, {32, 2, 2, 62, 24},
    };
    for (const auto& c : cases) {
        const Bytes dib = enginetest::makeDib(6, 3, c.bits, c.colors, 0, c.clrUsed);
        engine::DibInfo info;
        ASSERT_EQ(engine::checkDib(dib, info), DibCheck::ok) << c.bits;
        EXPECT_EQ(info.pixels - dib.data(), static_cast<ptrdiff_t>(c.pixelsAt)) << c.bits;
        EXPECT_EQ(info.rowStride, c.stride) << c.bits;
        EXPECT_EQ(info.colorCount, c.colors) << c.bits;
    }
}

TEST(Dib, PictureDecisions) {
    Bytes uniform = enginetest::makeDib(5, 3, 8, 256, 7);
    enginetest::setColor(uniform, 7, 10, 20, 30);
    Bytes white = enginetest::makeDib(5, 3, 8, 256, 255);
    Bytes spotted = enginetest::makeDib(5, 3, 8, 256, 7);
    enginetest::pixel8(spotted, 256, 5, 2, 4) = 255;
    Bytes padded = enginetest::makeDib(5, 3, 8, 256, 7);  // padding differs, pixels do not
    enginetest::pixel8(padded, 256, 5, 1, 6) = 9;
    Bytes deep = enginetest::makeDib(4, 2, 24, 0, 0xFF);  // white, but not 8-bit
    // 16 colours, pixels naming entries the table does not have.
    Bytes outside = enginetest::makeDib(4, 2, 8, 16, 200, 16);
    enginetest::pixel8(outside, 16, 4, 0, 0) = 3;

    const struct {
        const char* what;
        const Bytes& dib;
        bool destKey;
        PicturePlan::Kind kind;
        uint32_t color;
        bool transparent;
    } cases[] = {
        {"one colour", uniform, false, PicturePlan::Kind::solid, engine::rgbColor(10, 20, 30), false},
        {"all white", white, false, PicturePlan::Kind::solid, 0x00FFFFFF, false},
        {"one colour, destination key", uniform, true, PicturePlan::Kind::surface, 0, false},
        {"white spot", spotted, false, PicturePlan::Kind::surface, 0, true},
        {"only the padding differs", padded, false, PicturePlan::Kind::solid, engine::rgbColor(7, 7, 7), false},
        {"24-bit white", deep, false, PicturePlan::Kind::surface, 0, false},
        {"indices outside the table", outside, false, PicturePlan::Kind::surface, 0, false},
    };
    for (const auto& c : cases) {
        const PicturePlan plan = engine::planPicture(c.dib, "x.bmp", c.destKey);
        EXPECT_EQ(plan.kind, c.kind) << c.what;
        EXPECT_EQ(plan.color, c.color) << c.what;
        EXPECT_EQ(plan.transparent, c.transparent) << c.what;
    }
}

TEST(Dib, FailuresAreTracedWithTheName) {
    enginetest::TraceCapture trace;
    Bytes mask = enginetest::makeDib(8, 2, 1, 2);
    EXPECT_EQ(engine::planPicture(Bytes{'B', 'X'}, "bad.bmp", false).kind, PicturePlan::Kind::none);
    EXPECT_EQ(engine::planPicture(mask, "mask.bmp", false).kind, PicturePlan::Kind::none);
    EXPECT_EQ(trace.lines(), (std::vector<std::string>{"Failed to load", "bad.bmp",
                                                       "some code is still using masks, stop that!"}));
}

TEST(Dib, LoadsFromTheArchiveByName) {
    const Bytes archive = enginetest::buildArchive(
        {{"051.BMP", enginetest::makeDib(4, 4, 8, 256, 3)}, {"ab0.bmp", enginetest::makeDib(4, 4, 8, 256, 255)}});
    ASSERT_TRUE(engine::ArtArchiveOpenBytes(engine::viewBytes(archive), 5));
    EXPECT_EQ(engine::gfxPlanPicture("051.bmp", false).kind, PicturePlan::Kind::solid);
    EXPECT_EQ(engine::gfxPlanPicture("052.bmp", false).kind, PicturePlan::Kind::none);
    EXPECT_EQ(engine::ArtArchiveOutstanding(), 1);
    engine::ArtArchiveDataReleased();
    engine::ArtArchiveClose();
}

TEST(Dib, NearWhiteColoursAreMadeVisible) {
    Bytes dib = enginetest::makeDib(2, 2, 8, 16, 0, 16);
    const uint8_t colours[][3] = {{0xFA, 0xFA, 0xFF}, {0xFF, 0xFF, 0xC4}, {0xFF, 0xFF, 0xE0},
                                  {0xFB, 0xF3, 0xEA}, {0xFF, 0xFF, 0xFF}, {0xFF, 0xFF, 0xE1}};
    for (uint32_t i = 0; i < 6; ++i) enginetest::setColor(dib, i, colours[i][0], colours[i][1], colours[i][2]);
    engine::DibInfo info;
    ASSERT_EQ(engine::checkDib(dib, info), DibCheck::ok);
    std::array<uint32_t, 256> table{};
    table.fill(0xDEADBEEF);
    engine::surfaceColorTable(info, table);
    const uint32_t expected[] = {0xFAFA80, 0xFFFF80, 0xFFFF80, 0xFBF380, 0xFFFFFF, 0xFFFFE1, 0x060606};
    for (uint32_t i = 0; i < 7; ++i) EXPECT_EQ(table[i], expected[i]) << i;
    EXPECT_EQ(table[16], 0u) << "entries past the picture's table are black";
}

TEST(Palette, Default332AndItsIndex) {
    std::array<engine::PaletteEntry, 256> p;
    engine::defaultPalette(p);
    EXPECT_EQ(p[0].red + p[0].green + p[0].blue, 0);
    EXPECT_EQ(p[255].red & p[255].green & p[255].blue, 0xFF);
    EXPECT_EQ(p[182].red, 182);
    EXPECT_EQ(p[182].green, 182);
    EXPECT_EQ(p[182].blue, 170);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(engine::index332(p[i].red, p[i].green, p[i].blue), i);
}

Bytes riff(uint16_t version, uint16_t count, size_t entries) {
    Bytes b(24 + 4 * entries, 0);
    std::memcpy(&b[0], "RIFF", 4);
    std::memcpy(&b[8], "PAL data", 8);
    putU16(b, 20, version);
    putU16(b, 22, count);
    for (size_t i = 0; i < entries; ++i) b[24 + 4 * i] = static_cast<uint8_t>(i + 1);
    return b;
}

TEST(Palette, RiffFiles) {
    const struct {
        const char* what;
        Bytes data;
        bool ok;
        uint8_t red0, red255;
    } cases[] = {
        {"full", riff(0x0300, 256, 256), true, 1, 0},
        {"one entry counted", riff(0x0300, 1, 256), true, 1, 0},
        {"short file keeps the default", riff(0x0300, 256, 2), true, 1, 255},
        {"no entries", riff(0x0300, 0, 256), false, 0, 0},
        {"257 entries", riff(0x0300, 257, 256), false, 0, 0},
        {"old version", riff(0x0200, 256, 256), false, 0, 0},
        {"header cut", Bytes(20, 0), false, 0, 0},
    };
    for (const auto& c : cases) {
        std::array<engine::PaletteEntry, 256> p{};
        EXPECT_EQ(engine::parseRiffPalette(c.data, p), c.ok) << c.what;
        if (!c.ok) continue;
        EXPECT_EQ(p[0].red, c.red0) << c.what;
        EXPECT_EQ(p[255].red, c.red255) << c.what;
    }
}

TEST(Palette, MissingFileFallsBackWithATrace) {
    enginetest::TraceCapture trace;
    std::array<engine::PaletteEntry, 256> p{};
    engine::gfxBuildPalette("/nonexistent/te.pal", p);
    EXPECT_EQ(p[255].blue, 255);
    EXPECT_EQ(trace.lines(), std::vector<std::string>{"Can't open palette file, using default 332."});

    char path[] = "/tmp/te-pal-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    const Bytes file = riff(0x0300, 256, 256);
    ASSERT_EQ(write(fd, file.data(), file.size()), static_cast<ssize_t>(file.size()));
    close(fd);
    engine::gfxBuildPalette(path, p);
    std::remove(path);
    EXPECT_EQ(p[9].red, 10);
    EXPECT_EQ(trace.lines().size(), 1u);
}

TEST(Dib, ScaledSize) {
    EXPECT_EQ(engine::scaledWidth(100, 640), 100);
    EXPECT_EQ(engine::scaledWidth(100, 320), 51);
    EXPECT_EQ(engine::scaledHeight(47, 480), 47);
    EXPECT_EQ(engine::scaledHeight(47, 240), 24);
}

}  // namespace
