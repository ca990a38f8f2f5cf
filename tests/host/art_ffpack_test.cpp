#include "tools/ffpack/ff_writer.h"
#include "tools/ffpack/ffpack_command.h"

#include "art_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using arttest::readArchive;

std::vector<uint8_t> bytesOf(std::string_view s) { return {s.begin(), s.end()}; }

std::string listArgument(const std::string& path) {
    std::string argument(1, '@');
    argument += path;
    return argument;
}

std::vector<ff::Member> mixedCaseMembers() {
    return {{"b.BMP", bytesOf("bee")},     {"Z.bmp", bytesOf("zz")},       {"_x.bmp", bytesOf("underscore")},
            {"A.bmp", bytesOf("a")},       {"051.BMP", bytesOf("tile 51")}, {"a1.BMP", {}},
            {"ABCDEFGH.BMP", bytesOf("twelve chars")}};
}

TEST(FfWriter, DirectoryIsSortedOnLowerCasedNames) {
    const auto archive = ff::buildArchive(mixedCaseMembers());
    ASSERT_TRUE(archive.ok()) << archive.error;
    const auto view = readArchive(archive.bytes);
    ASSERT_TRUE(view);
    std::vector<std::string> names;
    for (const auto& e : view->entries) names.push_back(e.name);
    // Byte order would put "Z.bmp" and "ABCDEFGH.BMP" before "_x.bmp"; lowered, '_' comes first.
    EXPECT_EQ(names, (std::vector<std::string>{"051.BMP", "_x.bmp", "A.bmp", "a1.BMP", "ABCDEFGH.BMP", "b.BMP",
                                               "Z.bmp"}));
}

TEST(FfWriter, OffsetsAndSizesAddUpToTheFile) {
    const auto members = mixedCaseMembers();
    const auto archive = ff::buildArchive(members);
    ASSERT_TRUE(archive.ok());
    const auto view = readArchive(archive.bytes);
    ASSERT_TRUE(view);
    ASSERT_EQ(view->count, members.size());
    EXPECT_EQ(view->entries.front().offset, 4 + 17 * (members.size() + 1));  // full terminating record
    EXPECT_EQ(view->endOffset, archive.bytes.size());
    for (const auto& m : members) {
        const auto* e = arttest::findByBisection(*view, m.name);
        ASSERT_NE(e, nullptr) << m.name;
        ASSERT_EQ(e->size, m.bytes.size()) << m.name;
        EXPECT_TRUE(std::equal(m.bytes.begin(), m.bytes.end(), archive.bytes.begin() + e->offset)) << m.name;
    }
}

TEST(FfWriter, NamesAreNulTerminatedInTheirField) {
    const auto archive = ff::buildArchive(mixedCaseMembers());
    ASSERT_TRUE(archive.ok());
    const auto& b = archive.bytes;
    for (std::size_t record = 0; record <= 7; ++record) {
        const std::size_t nameField = 4 + 17 * record + 4;
        const auto end = std::find(b.begin() + nameField, b.begin() + nameField + 13, uint8_t{0});
        EXPECT_NE(end, b.begin() + nameField + 13) << "record " << record;
    }
    // The terminating record's name is all zeros.
    const std::size_t last = 4 + 17 * 7 + 4;
    EXPECT_TRUE(std::all_of(b.begin() + last, b.begin() + last + 13, [](uint8_t c) { return c == 0; }));
}

TEST(FfWriter, RefusesWhatCannotBeLookedUp) {
    const struct {
        const char* what;
        std::vector<ff::Member> members;
        const char* messagePart;
    } cases[] = {
        {"no members", {}, "no members"},
        {"13 characters", {{"ABCDEFGHI.BMP", {}}}, "longer than 12"},
        {"empty name", {{"", {}}}, "empty member name"},
        {"duplicate by case", {{"mosca.bmp", {}}, {"x.bmp", {}}, {"MOSCA.BMP", {}}}, "duplicate"},
        {"exact duplicate", {{"a.bmp", {}}, {"a.bmp", {}}}, "duplicate"},
        {"space in name", {{"a b.bmp", {}}}, "printable"},
        {"non-ASCII name", {{"avi\xC3\xA3o.bmp", {}}}, "printable"},
        {"path separator", {{"a\\b.bmp", {}}}, "printable"},
    };
    for (const auto& c : cases) {
        const auto archive = ff::buildArchive(c.members);
        EXPECT_FALSE(archive.ok()) << c.what;
        EXPECT_TRUE(archive.bytes.empty()) << c.what;
        EXPECT_NE(archive.error.find(c.messagePart), std::string::npos) << c.what << ": " << archive.error;
    }
}

// ---- The command -------------------------------------------------------------

class FfpackCommand : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("ffpack_test_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "sub");
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string write(const std::string& relative, std::string_view content) {
        const fs::path p = dir_ / relative;
        std::ofstream(p, std::ios::binary) << content;
        return p.string();
    }

    int run(std::vector<std::string> args) {
        err_.str("");
        return ff::runFfpack(args, err_);
    }

    fs::path dir_;
    std::ostringstream err_;
};

TEST_F(FfpackCommand, PacksFilesUnderTheirBaseNames) {
    const auto a = write("sub/ab0.BMP", "bee");
    const auto b = write("mosca.bmp", "fly");
    const std::string out = (dir_ / "abelha.ff").string();
    ASSERT_EQ(run({out, a, b}), 0) << err_.str();
    const auto view = readArchive(arttest::readBytes(out));
    ASSERT_TRUE(view);
    ASSERT_EQ(view->count, 2u);
    EXPECT_EQ(view->entries[0].name, "ab0.BMP");
    EXPECT_EQ(view->entries[1].name, "mosca.bmp");
    EXPECT_FALSE(fs::exists(out + ".tmp"));
}

TEST_F(FfpackCommand, ReadsInputsFromAListFile) {
    const auto a = write("sub/ab0.BMP", "bee");
    const auto b = write("mosca.bmp", "fly");
    const auto list = write("members.txt", a + "\r\n\n" + b + "\n");
    const std::string out = (dir_ / "abelha.ff").string();
    ASSERT_EQ(run({out, listArgument(list)}), 0) << err_.str();
    EXPECT_EQ(readArchive(arttest::readBytes(out))->count, 2u);
}

TEST_F(FfpackCommand, FailsWithAMessageAndWritesNothing) {
    const auto a = write("ab0.BMP", "bee");
    const auto sameName = write("sub/AB0.bmp", "other bee");
    const auto longName = write("longer_than_12.bmp", "x");
    const std::string out = (dir_ / "out.ff").string();
    const struct {
        const char* what;
        std::vector<std::string> args;
        const char* messagePart;
    } cases[] = {
        {"no arguments", {}, "usage"},
        {"no inputs", {out}, "usage"},
        {"missing input", {out, (dir_ / "none.bmp").string()}, "none.bmp"},
        {"directory as input", {out, (dir_ / "sub").string()}, "cannot read input"},
        {"missing list", {out, listArgument((dir_ / "none.txt").string())}, "file list"},
        {"empty list", {out, listArgument(write("empty.txt", ""))}, "no input"},
        {"duplicate base names", {out, a, sameName}, "duplicate"},
        {"long name", {out, longName}, "longer than 12"},
        {"output in a missing directory", {(dir_ / "nowhere/out.ff").string(), a}, "cannot write"},
        {"output is a directory", {(dir_ / "sub").string(), a}, "cannot write"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.args), 1) << c.what;
        EXPECT_NE(err_.str().find(c.messagePart), std::string::npos) << c.what << ": " << err_.str();
        EXPECT_FALSE(fs::exists(out)) << c.what;
    }
    EXPECT_TRUE(fs::is_directory(dir_ / "sub"));
}

TEST_F(FfpackCommand, AFailedRunLeavesTheOldArchiveAlone) {
    const std::string out = (dir_ / "abelha.ff").string();
    ASSERT_EQ(run({out, write("ab0.BMP", "bee")}), 0);
    const auto before = arttest::readBytes(out);
    EXPECT_EQ(run({out, (dir_ / "missing.bmp").string()}), 1);
    EXPECT_EQ(arttest::readBytes(out), before);
}

}  // namespace
