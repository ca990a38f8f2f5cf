// Correcting a name and removing a patient: what the rewritten history
// holds, and that a failure at any step of the rewrite leaves the old file
// byte for byte.
#include "menu/history_rewrite.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using menu::DiskResult;
using menu::DiskStatus;
using menu::HistoryEdit;

const std::string kBom = "\xEF\xBB\xBF";
const std::string kHeader = "Data e hora;Paciente;Exercício;Tempo;Segundos\r\n";
const std::string kAna1 = "2026-03-14 09:05:00;Ana Souza;Abelha;00:07:35;7,35\r\n";
const std::string kAna2 = "15/03/2026 10:00;ana  souza;Carro;0:03:00;3\r\n";
const std::string kBruno = "2026-03-15 11:00:00;Bruno;Barco;00:04:00;4,00\r\n";
const std::string kQuoted = "2026-03-16 12:00:00;\"Silva; Ana\";Menina;00:05:00;5,00\r\n";
const std::string kDamaged = "2026-03-17 12:00:00;Ana Souza;Abel\r\n";

TEST(MenuRewrite, ARenameOrARemovalChangesOnlyThatPatientsRecords) {
    const struct {
        const char* name;
        std::string file;
        HistoryEdit edit;
        std::string expected;
        std::size_t changed;
    } cases[] = {
        {"rename every spelling", kBom + kHeader + kAna1 + kBruno + kAna2, {"ANA SOUZA", "Ana Sousa"},
         kBom + kHeader + "2026-03-14 09:05:00;Ana Sousa;Abelha;00:07:35;7,35\r\n" + kBruno +
             "2026-03-15 10:00:00;Ana Sousa;Carro;00:03:00;3,00\r\n",
         2},
        {"remove every spelling", kBom + kHeader + kAna1 + kBruno + kAna2, {"ana souza", std::nullopt},
         kBom + kHeader + kBruno, 2},
        {"damaged lines and other patients stay", kBom + kHeader + kDamaged + kQuoted + kAna1,
         {"Ana Souza", std::nullopt}, kBom + kHeader + kDamaged + kQuoted, 1},
        {"a quoted name", kBom + kHeader + kQuoted + kBruno, {"silva; ana", "Ana \"Silva\""},
         kBom + kHeader + "2026-03-16 12:00:00;\"Ana \"\"Silva\"\"\";Menina;00:05:00;5,00\r\n" + kBruno, 1},
        {"a new name that is a formula", kBom + kHeader + kBruno, {"Bruno", "=Bruno"},
         kBom + kHeader + "2026-03-15 11:00:00;'=Bruno;Barco;00:04:00;4,00\r\n", 1},
        {"Windows-1252 lines of others keep their bytes", kHeader + "14/03/2026 09:05;Jo\xE3o;Abelha;00:07:35;7,35\r\n" + kBruno,
         {"Bruno", std::nullopt}, kHeader + "14/03/2026 09:05;Jo\xE3o;Abelha;00:07:35;7,35\r\n", 1},
        {"a Windows-1252 name renamed", kHeader + "14/03/2026 09:05;Jo\xE3o;Abelha;00:07:35;7,35\r\n",
         {"JOÃO", "João Pedro"}, kHeader + "2026-03-14 09:05:00;João Pedro;Abelha;00:07:35;7,35\r\n", 1},
        {"the last line without its end", kBom + kHeader + kBruno + kAna1.substr(0, kAna1.size() - 2),
         {"Ana Souza", std::nullopt}, kBom + kHeader + kBruno, 1},
        {"nobody of that name", kBom + kHeader + kBruno, {"Carla", std::nullopt}, kBom + kHeader + kBruno, 0},
    };
    for (const auto& c : cases) {
        const auto edited = menu::editHistory(c.file, c.edit);
        EXPECT_EQ(edited.contents, c.expected) << c.name;
        EXPECT_EQ(edited.changed, c.changed) << c.name;
    }
}

// Files in memory; the operation numbered `failAt` (from 1, in the order
// they are asked for) fails, the way the real one can.
class FakeDisk : public menu::IHistoryDisk {
public:
    std::map<std::string, std::string> files;
    int failAt = 0;
    DiskStatus failWith = DiskStatus::failed;
    menu::SwapFailure swapLeaves = menu::SwapFailure::nothingMoved;
    int calls = 0;

    DiskResult read(const std::string& path, std::string& contents) override {
        if (fails()) return failure();
        const auto f = files.find(path);
        if (f == files.end()) return {DiskStatus::missing, "not found"};
        contents = f->second;
        return {};
    }
    DiskResult writeFlushed(const std::string& path, const std::string& contents) override {
        if (fails()) {
            files[path] = contents.substr(0, contents.size() / 2);  // a disk that filled up midway
            return failure();
        }
        files[path] = contents;
        return {};
    }
    DiskResult swap(const std::string& target, const std::string& replacement, const std::string& backup,
                    menu::SwapFailure& left) override {
        if (fails()) {
            left = swapLeaves;
            if (swapLeaves == menu::SwapFailure::oldAtBackupName) {
                files[backup] = files[target];
                files.erase(target);
            }
            return failure();
        }
        files[backup] = files[target];
        files[target] = files[replacement];
        files.erase(replacement);
        return {};
    }
    DiskResult move(const std::string& from, const std::string& to) override {
        if (fails()) return failure();
        files[to] = files[from];
        files.erase(from);
        return {};
    }
    DiskResult remove(const std::string& path) override {
        if (fails()) return failure();
        files.erase(path);
        return {};
    }

private:
    bool fails() { return ++calls == failAt; }
    DiskResult failure() const { return {failWith, "injected"}; }
};

const std::string kPath = "C:\\Tavoral\\historico.csv";
const std::string kOld = kBom + kHeader + kAna1 + kBruno + kDamaged;
const HistoryEdit kRemoveAna{"Ana Souza", std::nullopt};

TEST(MenuRewrite, AFailureAtAnyStepLeavesTheOldFileByteForByte) {
    // read, remove a stale backup, write the new file, swap, remove the backup
    FakeDisk clean;
    clean.files[kPath] = kOld;
    const auto done = menu::rewriteHistory(clean, kPath, kRemoveAna);
    ASSERT_EQ(done.status, DiskStatus::ok);
    EXPECT_EQ(done.changed, 1u);
    EXPECT_EQ(clean.files, (std::map<std::string, std::string>{{kPath, kBom + kHeader + kBruno + kDamaged}}))
        << "nothing but the history is left, no backup holding what was removed";
    const int steps = clean.calls;
    ASSERT_EQ(steps, 5);

    const struct {
        int failAt;
        DiskStatus with;
        menu::SwapFailure swapLeaves;
        DiskStatus reported;
        bool backupLeft;
    } cases[] = {
        {1, DiskStatus::busy, menu::SwapFailure::nothingMoved, DiskStatus::busy, false},  // held open
        {1, DiskStatus::failed, menu::SwapFailure::nothingMoved, DiskStatus::failed, false},
        {3, DiskStatus::failed, menu::SwapFailure::nothingMoved, DiskStatus::failed, false},  // disk full
        {4, DiskStatus::busy, menu::SwapFailure::nothingMoved, DiskStatus::busy, false},
        {4, DiskStatus::failed, menu::SwapFailure::oldAtBackupName, DiskStatus::failed, false},
    };
    for (const auto& c : cases) {
        FakeDisk disk;
        disk.files[kPath] = kOld;
        disk.failAt = c.failAt;
        disk.failWith = c.with;
        disk.swapLeaves = c.swapLeaves;
        const auto outcome = menu::rewriteHistory(disk, kPath, kRemoveAna);
        EXPECT_EQ(outcome.status, c.reported) << "step " << c.failAt;
        EXPECT_EQ(outcome.changed, 0u) << "step " << c.failAt;
        EXPECT_FALSE(outcome.error.empty()) << "step " << c.failAt;
        EXPECT_EQ(disk.files, (std::map<std::string, std::string>{{kPath, kOld}}))
            << "step " << c.failAt << ": the old file whole, nothing else left";
    }
    // A stale backup that cannot be removed, and a backup left after the
    // swap: the history is right in both; the second is said.
    for (const int step : {2, 5}) {
        FakeDisk disk;
        disk.files[kPath] = kOld;
        disk.failAt = step;
        const auto outcome = menu::rewriteHistory(disk, kPath, kRemoveAna);
        EXPECT_EQ(disk.files[kPath], kBom + kHeader + kBruno + kDamaged) << "step " << step;
        EXPECT_EQ(outcome.backupLeft, step == 5);
    }
}

TEST(MenuRewrite, AnOldFileThatCannotBePutBackIsNamed) {
    // The swap leaves the old file at the backup's name and moving it back fails too.
    struct FailingMove : FakeDisk {
        DiskResult move(const std::string&, const std::string&) override { return {DiskStatus::failed, "x"}; }
    } both;
    both.files[kPath] = kOld;
    both.failAt = 4;
    both.swapLeaves = menu::SwapFailure::oldAtBackupName;
    const auto outcome = menu::rewriteHistory(both, kPath, kRemoveAna);
    EXPECT_EQ(outcome.status, DiskStatus::failed);
    EXPECT_EQ(outcome.oldFileAt, "C:\\Tavoral\\historico.bak");
    EXPECT_EQ(both.files[outcome.oldFileAt], kOld);
}

TEST(MenuRewrite, AMissingHistoryHasNothingToChange) {
    FakeDisk disk;
    const auto outcome = menu::rewriteHistory(disk, kPath, kRemoveAna);
    EXPECT_EQ(outcome.status, DiskStatus::ok);
    EXPECT_EQ(outcome.changed, 0u);
    EXPECT_TRUE(disk.files.empty());
}

}  // namespace
