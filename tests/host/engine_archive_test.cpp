#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <unistd.h>

#include "engine/art_archive.h"
#include "engine_test_support.h"

namespace {

using engine::ArtEntryHandle;
using enginetest::Bytes;

// Owns its bytes, so reading them after the archive let go is a
// use-after-free the sanitizers see.
class OwnedBytes final : public engine::MappedFile {
public:
    explicit OwnedBytes(Bytes bytes) : bytes_(std::move(bytes)) {}
    std::span<const uint8_t> bytes() const override { return bytes_; }

private:
    Bytes bytes_;
};

bool openBytes(Bytes bytes, int32_t handles = 5) {
    return engine::ArtArchiveOpenBytes(std::make_unique<OwnedBytes>(std::move(bytes)), handles);
}

Bytes content(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes threeEntries() {
    return enginetest::buildArchive(
        {{"AB0.BMP", content("bee")}, {"init.bmp", content("splash!")}, {"MOSCA.BMP", content("fly")}});
}

// Each test leaves no archive behind for the next.
class ArtArchive : public ::testing::Test {
protected:
    void TearDown() override {
        engine::ArtArchiveDataReleased();
        engine::ArtArchiveClose();
    }
};

bool found(const char* name) {
    ArtEntryHandle* h = engine::ArtEntryOpen(name);
    if (h == nullptr) return false;
    engine::ArtEntryClose(h);
    return true;
}

TEST_F(ArtArchive, LooksUpNamesInEitherCase) {
    ASSERT_TRUE(openBytes(threeEntries()));
    EXPECT_EQ(engine::ArtArchiveEntryCount(), 3u);
    const struct {
        const char* name;
        bool found;
    } cases[] = {{"ab0.bmp", true},  {"AB0.BMP", true},         {"Init.BMP", true}, {"mosca.bmp", true},
                 {"zz.bmp", false},  {"init.bmpx", false},       {"", false},        {nullptr, false},
                 {"ab0.bm", false},  {"abcdefghi.bmp", false}};  // 13 characters never match
    for (const auto& c : cases) EXPECT_EQ(found(c.name), c.found) << (c.name ? c.name : "(null)");

    ArtEntryHandle* h = engine::ArtEntryOpen("init.bmp");
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->size, 7u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(engine::ArtEntryData(h, 0, 7)), 7), "splash!");
}

TEST_F(ArtArchive, UnsortedDirectoryMissesEntriesThatBisectionSkips) {
    ASSERT_TRUE(openBytes(enginetest::buildArchive({{"b.bmp", content("b")}, {"a.bmp", content("a")},
                                                    {"c.bmp", content("c")}})));
    EXPECT_TRUE(found("a.bmp"));
    EXPECT_TRUE(found("c.bmp"));
    EXPECT_FALSE(found("b.bmp"));
}

TEST_F(ArtArchive, HandlesRunOutAndComeBack) {
    ASSERT_TRUE(openBytes(threeEntries(), 5));
    ArtEntryHandle* taken[5];
    for (auto& h : taken) ASSERT_NE(h = engine::ArtEntryOpen("ab0.bmp"), nullptr);
    EXPECT_EQ(engine::ArtEntryOpen("mosca.bmp"), nullptr);
    EXPECT_TRUE(engine::ArtEntryClose(taken[2]));
    EXPECT_FALSE(engine::ArtEntryClose(taken[2]));
    EXPECT_NE(engine::ArtEntryOpen("mosca.bmp"), nullptr);

    ArtEntryHandle stranger{1, 0, 3, nullptr};
    EXPECT_FALSE(engine::ArtEntryClose(&stranger));
    EXPECT_EQ(engine::ArtEntryData(&stranger, 0, 0), nullptr);
}

TEST_F(ArtArchive, DataStaysInsideTheEntry) {
    ASSERT_TRUE(openBytes(threeEntries()));
    ArtEntryHandle* h = engine::ArtEntryOpen("init.bmp");  // 7 bytes
    ASSERT_NE(h, nullptr);
    const struct {
        int32_t position, length;
        bool ok;
    } cases[] = {{0, 0, true},  {0, 7, true},   {7, 0, true},   {3, 4, true},          {1, 7, false},
                 {8, 0, false}, {-1, 1, false}, {0, -1, false}, {INT32_MAX, 1, false}, {1, INT32_MAX, false}};
    int32_t handedOut = 0;
    for (const auto& c : cases) {
        const uint8_t* p = engine::ArtEntryData(h, c.position, c.length);
        EXPECT_EQ(p != nullptr, c.ok) << c.position << "+" << c.length;
        handedOut += c.ok ? 1 : 0;
    }
    EXPECT_EQ(engine::ArtArchiveOutstanding(), handedOut);
    engine::ArtEntryClose(h);
    EXPECT_EQ(engine::ArtEntryData(h, 0, 0), nullptr);
}

TEST_F(ArtArchive, DamagedArchives) {
    // The entries start at 4 + 3 * 17 + 4 = 59.
    const struct {
        const char* what;
        std::function<void(Bytes&)> damage;
        bool opens;
        bool ab0, init, mosca;
    } cases[] = {
        {"intact", [](Bytes&) {}, true, true, true, true},
        {"truncated header", [](Bytes& b) { b.resize(3); }, false, false, false, false},
        {"truncated directory", [](Bytes& b) { b.resize(40); }, false, false, false, false},
        {"count too large", [](Bytes& b) { enginetest::putU32(b, 0, 0x0FFFFFFF); }, false, false, false, false},
        {"count wraps the size", [](Bytes& b) { enginetest::putU32(b, 0, 0xFFFFFFFF); }, false, false, false, false},
        {"end offset past the file", [](Bytes& b) { enginetest::putU32(b, enginetest::recordOffset(3), 1000); },
         false, false, false, false},
        {"offset past the file", [](Bytes& b) { enginetest::putU32(b, enginetest::recordOffset(1), 5000); },
         true, false, false, true},
        {"offset into the directory", [](Bytes& b) { enginetest::putU32(b, enginetest::recordOffset(0), 10); },
         true, false, true, true},
        {"offsets decreasing", [](Bytes& b) { enginetest::putU32(b, enginetest::recordOffset(1), 70); },
         true, true, false, true},
        {"name without NUL", [](Bytes& b) { std::memset(&b[enginetest::recordOffset(2) + 4], 'M', 13); },
         true, true, true, false},
        {"empty archive", [](Bytes& b) { b = enginetest::buildArchive({}); }, true, false, false, false},
    };
    for (const auto& c : cases) {
        Bytes bytes = threeEntries();
        c.damage(bytes);
        ASSERT_EQ(openBytes(bytes), c.opens) << c.what;
        EXPECT_EQ(found("ab0.bmp"), c.ab0) << c.what;
        EXPECT_EQ(found("init.bmp"), c.init) << c.what;
        EXPECT_EQ(found("mosca.bmp"), c.mosca) << c.what;
        engine::ArtArchiveClose();
    }
}

TEST_F(ArtArchive, EarlierPicturesStayReadableAfterReopening) {
    ASSERT_TRUE(openBytes(threeEntries()));
    ArtEntryHandle* h = engine::ArtEntryOpen("init.bmp");
    const uint8_t* splash = engine::ArtEntryData(h, 0, 0);
    engine::ArtEntryClose(h);
    engine::ArtArchiveClose();
    EXPECT_TRUE(engine::ArtArchiveIsOpen()) << "kept while its data is in use";

    ASSERT_TRUE(openBytes(enginetest::buildArchive({{"051.BMP", content("tile")}})));
    EXPECT_EQ(engine::ArtArchiveRetiredCount(), 1u);
    EXPECT_EQ(engine::ArtArchiveOutstanding(), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(splash), 7), "splash!");
    EXPECT_FALSE(found("init.bmp"));
    EXPECT_TRUE(found("051.bmp"));

    engine::ArtArchiveDataReleased();
    EXPECT_EQ(engine::ArtArchiveRetiredCount(), 0u);
}

TEST_F(ArtArchive, CloseWithoutDataInUseLetsGo) {
    ASSERT_TRUE(openBytes(threeEntries()));
    engine::ArtArchiveClose();
    EXPECT_FALSE(engine::ArtArchiveIsOpen());
    EXPECT_FALSE(found("ab0.bmp"));
    ASSERT_TRUE(openBytes(threeEntries()));
    ASSERT_TRUE(openBytes(threeEntries()));
    EXPECT_EQ(engine::ArtArchiveRetiredCount(), 0u);
}

TEST_F(ArtArchive, OpensFilesByName) {
    char path[] = "/tmp/te-art-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    const Bytes bytes = threeEntries();
    ASSERT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    close(fd);

    ASSERT_TRUE(engine::ArtArchiveOpen(path, 5));
    ArtEntryHandle* h = engine::ArtEntryOpen("MOSCA.bmp");
    ASSERT_NE(h, nullptr);
    const uint8_t* fly = engine::ArtEntryData(h, 0, 3);
    engine::ArtEntryClose(h);
    engine::ArtArchiveClose();
    // Reopening the same file unmaps nothing the fly picture still needs.
    ASSERT_TRUE(engine::ArtArchiveOpen(path, 5));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(fly), 3), "fly");
    std::remove(path);

    EXPECT_FALSE(engine::ArtArchiveOpen("/nonexistent/te-art.ff", 5));
    EXPECT_FALSE(engine::ArtArchiveOpen("/tmp", 5));
}

}  // namespace
