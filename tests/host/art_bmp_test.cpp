#include "tools/artgen/bmp.h"
#include "tools/artgen/colours.h"
#include "tools/artgen/palette.h"

#include "art_support.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace {

using artgen::IndexedImage;

// Every pixel a different value, so a row or column out of place shows.
IndexedImage numbered(int w, int h) {
    IndexedImage image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.at(x, y) = static_cast<uint8_t>((y * 37 + x * 3 + 1) % 255);
    return image;
}

constexpr std::pair<int, int> kSizes[] = {{1, 1}, {2, 3}, {3, 2}, {4, 4}, {5, 3}, {32, 32}, {38, 38}, {47, 64}, {55, 64}};

TEST(Bmp8, HeaderFieldsDescribeAnEightBitBottomUpPicture) {
    for (auto [w, h] : kSizes) {
        const auto file = artgen::encodeBmp8(numbered(w, h), artgen::artPalette());
        const auto bmp = arttest::readBitmap(file);
        ASSERT_TRUE(bmp.error.empty()) << bmp.error;
        const uint32_t stride = (static_cast<uint32_t>(w) + 3) / 4 * 4;
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        EXPECT_EQ(bmp.fileSizeField, file.size());
        EXPECT_EQ(file.size(), 14u + 40u + 1024u + stride * h);
        EXPECT_EQ(bmp.pixelOffset, 1078u);
        EXPECT_EQ(bmp.infoSize, 40u);
        EXPECT_EQ(bmp.width, w);
        EXPECT_EQ(bmp.height, h);  // positive: rows stored bottom-up
        EXPECT_EQ(bmp.planes, 1);
        EXPECT_EQ(bmp.bitCount, 8);
        EXPECT_EQ(bmp.compression, 0u);
        EXPECT_EQ(bmp.imageSize, stride * h);
        EXPECT_TRUE(bmp.coloursUsed == 0 || bmp.coloursUsed == 256) << bmp.coloursUsed;
    }
}

TEST(Bmp8, ColourTableHoldsAll256EntriesInBlueGreenRedOrder) {
    artgen::Palette palette{};
    for (int i = 0; i < 256; ++i)
        palette[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 7)};
    const auto bmp = arttest::readBitmap(artgen::encodeBmp8(numbered(3, 2), palette));
    ASSERT_TRUE(bmp.error.empty()) << bmp.error;
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(bmp.table[i].r, palette[i].r) << i;
        EXPECT_EQ(bmp.table[i].g, palette[i].g) << i;
        EXPECT_EQ(bmp.table[i].b, palette[i].b) << i;
    }
}

TEST(Bmp8, RowsAreStoredBottomUpAndPaddedWithZeros) {
    for (auto [w, h] : kSizes) {
        const IndexedImage image = numbered(w, h);
        const auto file = artgen::encodeBmp8(image, artgen::artPalette());
        const std::size_t stride = (static_cast<std::size_t>(w) + 3) / 4 * 4;
        for (int y = 0; y < h; ++y) {
            const std::size_t row = 1078 + stride * static_cast<std::size_t>(h - 1 - y);
            for (int x = 0; x < w; ++x) ASSERT_EQ(file[row + x], image.at(x, y)) << w << "x" << h << " at " << x << "," << y;
            for (std::size_t pad = w; pad < stride; ++pad) ASSERT_EQ(file[row + pad], 0) << w << "x" << h;
        }
    }
}

// ---- The palette -------------------------------------------------------------

TEST(ArtPalette, WhiteIsEntry255Only) {
    const auto& p = artgen::artPalette();
    EXPECT_EQ(p[255], artgen::kWhite);
    for (int i = 0; i < 255; ++i) EXPECT_FALSE(p[i] == artgen::kWhite) << i;
}

TEST(ArtPalette, HasNoColourTheEngineRewrites) {
    const artgen::Rgb rewritten[] = {{0xFA, 0xFA, 0xFF}, {0xFF, 0xFF, 0xC4}, {0xFF, 0xFF, 0xE0}, {0xFB, 0xF3, 0xEA}};
    for (const auto& c : artgen::artPalette())
        for (const auto& r : rewritten) EXPECT_FALSE(c == r) << int(c.r) << "," << int(c.g) << "," << int(c.b);
}

TEST(ArtPalette, EntriesAreDistinct) {
    std::set<std::tuple<int, int, int>> seen;
    for (const auto& c : artgen::artPalette()) seen.insert({c.r, c.g, c.b});
    EXPECT_EQ(seen.size(), 256u);
}

TEST(ArtPalette, DrawingColoursAreExactEntries) {
    for (const auto& c : artgen::colours::kAll)
        EXPECT_EQ(artgen::artPalette()[artgen::nearestVisibleIndex(c)], c)
            << int(c.r) << "," << int(c.g) << "," << int(c.b);
}

TEST(ArtPalette, NothingVisibleTurnsTransparent) {
    const artgen::Rgb paleColours[] = {{255, 255, 255}, {254, 254, 254}, {250, 250, 255}, {255, 255, 224},
                                       {251, 243, 234}, {240, 240, 240}};
    for (const auto& c : paleColours) {
        const uint8_t i = artgen::nearestVisibleIndex(c);
        EXPECT_NE(i, artgen::kTransparentIndex) << int(c.r) << "," << int(c.g) << "," << int(c.b);
    }
}

TEST(ArtPalette, NearestEntryIsClose) {
    // Whatever antialiasing mixes must find a reasonably close colour.
    for (int r = 0; r < 256; r += 17)
        for (int g = 0; g < 256; g += 17)
            for (int b = 0; b < 256; b += 17) {
                const artgen::Rgb c{static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)};
                const auto e = artgen::artPalette()[artgen::nearestVisibleIndex(c)];
                EXPECT_LE(std::abs(e.r - r) + std::abs(e.g - g) + std::abs(e.b - b), 150) << r << "," << g << "," << b;
            }
}

}  // namespace
