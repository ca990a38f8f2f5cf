// The menu's history file: what one append writes and what reading keeps.
#include "menu/history.h"

#include <gtest/gtest.h>

namespace {

using menu::HistoryRecord;

const std::string kBom = "\xEF\xBB\xBF";
const std::string kHeader = "Data e hora;Paciente;Exercício;Tempo;Segundos\r\n";  // a file of before sessions
const std::string kNewHeader = "Data e hora;Paciente;Exercício;Tempo;Segundos;Sessão;Tentativa;Gravação\r\n";

HistoryRecord record(const std::string& patient, int hundredths = 735, int day = 14) {
    return {{2026, 3, day, 9, 5, 0}, patient, "Abelha", hundredths};
}

TEST(MenuHistory, FieldsAreQuotedOnlyWhenTheyMustBe) {
    const struct {
        const char* value;
        const char* written;
    } cases[] = {
        {"Maria", "Maria"},
        {"Ana Júlia", "Ana Júlia"},
        {"Silva; Maria", "\"Silva; Maria\""},
        {"Maria \"Mia\"", "\"Maria \"\"Mia\"\"\""},
        {"Linha\r\nDois", "\"Linha\r\nDois\""},
        {"Só\nLF", "\"Só\nLF\""},
        {"vírgula, não", "vírgula, não"},
    };
    for (const auto& c : cases) EXPECT_EQ(menu::csvField(c.value), c.written) << c.value;
}

TEST(MenuHistory, AnAppendWritesOneRecordAndStartsANewFileWithMarkAndHeader) {
    const std::string line = "2026-03-14 09:05:00;Maria;Abelha;00:07:35;7,35\r\n";
    const struct {
        bool empty, endsWithBreak;
        std::string written;
    } cases[] = {
        {true, false, kBom + kNewHeader + line},
        {false, true, line},
        {false, false, "\r\n" + line},  // after a record cut short
    };
    for (const auto& c : cases)
        EXPECT_EQ(menu::appendText({record("Maria")}, c.empty, c.endsWithBreak), c.written) << c.empty << c.endsWithBreak;
}

TEST(MenuHistory, TimesAndSecondsAsTheSpreadsheetReadsThem) {
    const struct {
        int hundredths;
        const char* time;
        const char* seconds;
    } cases[] = {
        {0, "00:00:00", "0,00"}, {735, "00:07:35", "7,35"}, {205, "00:02:05", "2,05"},
        {6203, "01:02:03", "62,03"}, {599999, "99:59:99", "5999,99"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(menu::timeText(c.hundredths), c.time);
        EXPECT_EQ(menu::secondsText(c.hundredths), c.seconds);
        EXPECT_EQ(menu::parseTimeText(c.time), c.hundredths) << c.time;
    }
}

TEST(MenuHistory, OnlyWellFormedResultTextsAreTimes) {
    const struct {
        const char* text;
        int hundredths;
    } cases[] = {
        {"00:07:35", 735}, {"100:00:00", 600000}, {"00:60:00", -1}, {"0:07:35", -1},  {"00:07:3", -1},
        {"00:07:355", -1}, {"00-07-35", -1},      {"", -1},         {"ab:cd:ef", -1}, {"00:07:35\n", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(menu::parseTimeText(c.text), c.hundredths) << c.text;
}

TEST(MenuHistory, WhatWasWrittenReadsBack) {
    const std::vector<HistoryRecord> written = {record("Maria"), record("Silva; \"Zé\"\r\nJr", 6203, 15),
                                                record("(sem nome)", 205, 16)};
    std::string file;
    for (const auto& r : written) file += menu::appendText({r}, file.empty(), true);
    const auto parsed = menu::parseHistory(file);
    EXPECT_EQ(parsed.records, written);
    EXPECT_EQ(parsed.skipped, 0u);
}

TEST(MenuHistory, DamagedLinesAreSkippedAndTheOthersKept) {
    const std::string good1 = "2026-03-14 09:05:00;Maria;Abelha;00:07:35;7,35\r\n";
    const std::string good2 = "2026-03-15 10:00:00;João;Carro;00:03:00;3,00\r\n";
    const struct {
        const char* name;
        std::string file;
        std::size_t kept, skipped;
    } cases[] = {
        {"no mark", kHeader + good1 + good2, 2, 0},
        {"LF line ends", "2026-03-14 09:05:00;Maria;Abelha;00:07:35;7,35\n" + good2, 2, 0},
        {"partial last line", kBom + kHeader + good1 + good2 + "2026-03-16 11:00:00;Maria;Abel", 2, 1},
        {"last line cut in its seconds", kBom + kHeader + good1 + "2026-03-16 11:00:00;Maria;Abelha;00:07:35;7,3", 1, 1},
        {"whole last line without its end", kBom + kHeader + good1 + good2.substr(0, good2.size() - 2), 2, 0},
        {"too few fields", kBom + kHeader + "2026-03-14 09:05:00;Maria;Abelha;00:07:35\r\n" + good2, 1, 1},
        {"too many fields", kBom + kHeader + "2026-03-14 09:05:00;Maria;Abelha;00:07:35;7,35;x\r\n" + good2, 1, 1},
        {"bad date", kBom + kHeader + "2026-02-30 09:05:00;Maria;Abelha;00:07:35;7,35\r\n" + good2, 1, 1},
        {"unknown exercise", kBom + kHeader + "2026-03-14 09:05:00;Maria;Pato;00:07:35;7,35\r\n" + good2, 1, 1},
        {"empty name", kBom + kHeader + "2026-03-14 09:05:00;;Abelha;00:07:35;7,35\r\n" + good2, 1, 1},
        {"seconds disagree", kBom + kHeader + "2026-03-14 09:05:00;Maria;Abelha;00:07:35;9,35\r\n" + good2, 1, 1},
        {"quote never closed", kBom + kHeader + "2026-03-14 09:05:00;\"Maria;Abelha;00:07:35;7,35\r\n" + good1 + good2,
         2, 1},
        {"glued after a cut", kBom + kHeader + "2026-03-14 09:0" + good1 + good2, 1, 1},
        {"binary junk", kBom + std::string("\0\x01\xff;;\"\r\n", 8) + good1, 1, 1},
        {"empty lines", kBom + kHeader + "\r\n" + good1 + "\r\n\r\n" + good2, 2, 0},
        {"only the header", kBom + kHeader, 0, 0},
        {"nothing", "", 0, 0},
    };
    for (const auto& c : cases) {
        const auto parsed = menu::parseHistory(c.file);
        EXPECT_EQ(parsed.records.size(), c.kept) << c.name;
        EXPECT_EQ(parsed.skipped, c.skipped) << c.name;
    }
}

TEST(MenuHistory, EachPatientSeesOwnResultsNewestFirst) {
    const std::vector<HistoryRecord> all = {record("Maria", 300, 14), record("João", 400, 15),
                                            record("Maria", 500, 16), record("Maria", 600, 2)};
    EXPECT_EQ(menu::patientNames(all), (std::vector<std::string>{"Maria", "João"}));
    const auto maria = menu::recordsOf(all, "Maria");
    ASSERT_EQ(maria.size(), 3u);
    EXPECT_EQ(maria[0].hundredths, 500);
    EXPECT_EQ(maria[1].hundredths, 300);
    EXPECT_EQ(maria[2].hundredths, 600);
    EXPECT_EQ(menu::recordsOf(all, " MARIA ").size(), 3u) << "one patient whatever the case and blanks";
    EXPECT_EQ(menu::listLine(maria[0]), "16/03/2026 09:05\tAbelha\t00:05:00");
}

TEST(MenuHistory, PatientNamesAreTrimmedAndNoNameHasItsOwn) {
    const struct {
        const char* typed;
        const char* name;
    } cases[] = {{"Maria", "Maria"},       {"  Maria  ", "Maria"},        {"", "(sem nome)"},
                 {" \t ", "(sem nome)"},  {"Ana Júlia", "Ana Júlia"},    {"Ana   Júlia", "Ana Júlia"},
                 {"Ana\tJúlia ", "Ana Júlia"}};
    for (const auto& c : cases) EXPECT_EQ(menu::patientName(c.typed), c.name) << c.typed;
}

}  // namespace
