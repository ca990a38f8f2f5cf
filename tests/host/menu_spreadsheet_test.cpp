// What the history keeps through a spreadsheet, a typing therapist and a
// result that could not be written at once: a file re-saved the ways a
// spreadsheet saves it, one patient under several spellings, the pending
// records merged once.
#include "menu/history.h"
#include "menu/history_place.h"
#include "menu/text.h"

#include <gtest/gtest.h>

namespace {

using menu::HistoryRecord;

const std::string kBom = "\xEF\xBB\xBF";
const std::string kHeader = "Data e hora;Paciente;Exercício;Tempo;Segundos\r\n";

HistoryRecord record(const std::string& patient, int hundredths, menu::LocalTime when = {2026, 3, 14, 9, 5, 0}) {
    return {when, patient, "Abelha", hundredths};
}

TEST(MenuSpreadsheet, AHistoryResavedByASpreadsheetReadsBackEveryRecord) {
    const menu::LocalTime at0905{2026, 3, 14, 9, 5, 0}, at090512{2026, 3, 14, 9, 5, 12};
    const struct {
        const char* name;
        std::string file;
        HistoryRecord expected;
    } cases[] = {
        {"as the menu writes it", kBom + kHeader + "2026-03-14 09:05:12;Maria;Abelha;00:07:35;7,35\r\n",
         record("Maria", 735, at090512)},
        {"dd/mm without seconds", kHeader + "14/03/2026 09:05;Maria;Abelha;00:07:35;7,35\r\n", record("Maria", 735, at0905)},
        {"dd/mm with seconds", kHeader + "14/03/2026 09:05:12;Maria;Abelha;00:07:35;7,35\r\n",
         record("Maria", 735, at090512)},
        {"leading zeros dropped", kHeader + "4/3/2026 9:05;Maria;Abelha;0:07:35;7,35\r\n",
         record("Maria", 735, {2026, 3, 4, 9, 5, 0})},
        {"seconds saved as a whole number", kHeader + "14/03/2026 09:05;Maria;Abelha;00:03:00;3\r\n",
         record("Maria", 300, at0905)},
        {"seconds saved with one decimal", kHeader + "14/03/2026 09:05;Maria;Abelha;00:07:30;7,3\r\n",
         record("Maria", 730, at0905)},
        {"Windows-1252 without a mark", "Data e hora;Paciente;Exerc\xED" "cio;Tempo;Segundos\r\n"
                                        "14/03/2026 09:05;Jo\xE3o Ara\xFAjo;Abelha;00:07:35;7,35\r\n",
         record("João Araújo", 735, at0905)},
        {"Windows-1252 punctuation", kHeader + "14/03/2026 09:05;Ana \x96 D\x92\xC1vila;Abelha;00:07:35;7,35\r\n",
         record("Ana – D’Ávila", 735, at0905)},
        {"a formula kept as text", kBom + kHeader + "2026-03-14 09:05:00;'=SOMA(A1);Abelha;00:07:35;7,35\r\n",
         record("=SOMA(A1)", 735, at0905)},
        {"an apostrophe that guards nothing stays", kHeader + "14/03/2026 09:05;'Ana;Abelha;00:07:35;7,35\r\n",
         record("'Ana", 735, at0905)},
        {"quoted by the spreadsheet", kHeader + "\"14/03/2026 09:05\";\"Maria\";\"Abelha\";\"0:07:35\";\"7,35\"\r\n",
         record("Maria", 735, at0905)},
    };
    for (const auto& c : cases) {
        const auto parsed = menu::parseHistory(c.file);
        EXPECT_EQ(parsed.skipped, 0u) << c.name;
        ASSERT_EQ(parsed.records.size(), 1u) << c.name;
        EXPECT_EQ(parsed.records[0], c.expected) << c.name << ": " << parsed.records[0].patient;
    }
}

// A file re-saved in Windows-1252 and appended to by the menu afterwards
// holds both code pages: each line is read in its own.
TEST(MenuSpreadsheet, LinesOfBothCodePagesInOneFileAreOnePatient) {
    const std::string file = "Data e hora;Paciente;Exerc\xED" "cio;Tempo;Segundos\r\n"
                             "14/03/2026 09:05;Jo\xE3o;Abelha;00:07:35;7,35\r\n"
                             "2026-03-15 10:00:00;João;Carro;00:03:00;3,00\r\n";
    const auto parsed = menu::parseHistory(file);
    ASSERT_EQ(parsed.records.size(), 2u);
    EXPECT_EQ(menu::patientNames(parsed.records), std::vector<std::string>{"João"});
}

TEST(MenuSpreadsheet, NamesASpreadsheetWouldRunAsFormulasAreWrittenAsTextAndReadBack) {
    const struct {
        const char* name;
        const char* field;
    } cases[] = {
        {"=1+1", "'=1+1"}, {"+55 11", "'+55 11"}, {"-Ana", "'-Ana"}, {"@Ana", "'@Ana"},
        {"=A;B", "\"'=A;B\""}, {"Ana-Maria", "Ana-Maria"}, {"'Ana", "'Ana"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(menu::csvField(c.name), c.field) << c.name;
        const auto parsed = menu::parseHistory(menu::appendText({record(c.name, 735)}, true, false));
        ASSERT_EQ(parsed.records.size(), 1u) << c.name;
        EXPECT_EQ(parsed.records[0].patient, c.name);
    }
}

TEST(MenuSpreadsheet, WindowsCodePageAndUtf8AreToldApart) {
    const struct {
        std::string bytes;
        bool utf8;
        std::string asUtf8;
    } cases[] = {
        {"Maria", true, "Maria"},
        {"Jo\xC3\xA3o", true, "João"},
        {"Jo\xE3o", false, "João"},
        {"\x80 \x9F", false, "€ Ÿ"},
        {"\x81", false, "\xC2\x81"},                 // unassigned: the C1 control
        {"\xC0\xAF", false, "\xC3\x80\xC2\xAF"},     // an overlong slash is no UTF-8
        {"\xED\xA0\x80", false, "í\xC2\xA0€"},  // nor is a surrogate
        {"\xE2\x82", false, "â‚"},  // cut short
    };
    for (const auto& c : cases) {
        EXPECT_EQ(menu::isValidUtf8(c.bytes), c.utf8) << c.asUtf8;
        EXPECT_EQ(menu::asUtf8(c.bytes), c.asUtf8);
    }
}

TEST(MenuPatients, OneIdentityWhateverTheCaseAndBlanksAccentsKept) {
    const struct {
        const char* a;
        const char* b;
        bool same;
    } cases[] = {
        {"Ana Souza", "ana souza", true},       {"Ana Souza", "  Ana   Souza ", true},
        {"JOÃO ÇÁ", "joão çá", true},           {"Ana\tSouza", "ana souza", true},
        {"Łukasz Żółć", "łukasz żÓŁĆ", true},   {"João", "Joao", false},
        {"Ana Souza", "Ana Sousa", false},      {"Ana Souza", "AnaSouza", false},
        {"", "(sem nome)", true},               {"Jo\xE3o", "JOÃO", true},  // a spreadsheet's code page
    };
    for (const auto& c : cases) EXPECT_EQ(menu::samePatient(c.a, c.b), c.same) << c.a << " / " << c.b;
}

TEST(MenuPatients, TheListShowsTheFirstSpellingAndAPatientHasEveryRecordOfTheIdentity) {
    const std::vector<HistoryRecord> all = {
        record("Ana Souza", 300, {2026, 3, 1, 9, 0, 0}), record("Bruno", 400, {2026, 3, 2, 9, 0, 0}),
        record("ana souza", 500, {2026, 3, 3, 9, 0, 0}), record("ANA  SOUZA ", 600, {2026, 3, 4, 9, 0, 0})};
    EXPECT_EQ(menu::patientNames(all), (std::vector<std::string>{"Ana Souza", "Bruno"}));
    const auto ana = menu::recordsOf(all, "ana souza");
    ASSERT_EQ(ana.size(), 3u);
    EXPECT_EQ(ana[0].hundredths, 600);
    EXPECT_EQ(ana[2].hundredths, 300);
    const struct {
        const char* typed;
        const char* keptAs;
    } cases[] = {{"ana souza", "Ana Souza"}, {" ANA   SOUZA", "Ana Souza"}, {"bruno", "Bruno"},
                 {"  Carla   Dias ", "Carla Dias"}, {"", "(sem nome)"}};
    for (const auto& c : cases) EXPECT_EQ(menu::canonicalPatient(all, c.typed), c.keptAs) << c.typed;
}

TEST(MenuPending, PendingRecordsAreMergedOnceAndOnlyWhatIsMissing) {
    const HistoryRecord a = record("Ana", 300), b = record("Ana", 400), c = record("Bruno", 500);
    const struct {
        const char* name;
        std::vector<HistoryRecord> history, pending, merged;
    } cases[] = {
        {"into an empty history", {}, {a, b}, {a, b}},
        {"beside other records", {c}, {a}, {a}},
        {"a merge cut short after the append", {c, a, b}, {a, b}, {}},
        {"half of it already there", {a}, {a, b}, {b}},
        {"a record kept pending twice", {}, {a, a, b}, {a, b}},
        {"nothing pending", {a}, {}, {}},
    };
    for (const auto& t : cases) EXPECT_EQ(menu::recordsMissingFrom(t.history, t.pending), t.merged) << t.name;

    // What one merge appends reads back as the history plus the pending
    // records, and a second merge of the same file appends nothing.
    std::string file = menu::appendText({c}, true, false);
    const std::vector<HistoryRecord> pending = {a, b};
    file += menu::appendText(menu::recordsMissingFrom(menu::parseHistory(file).records, pending), false, true);
    EXPECT_EQ(menu::parseHistory(file).records, (std::vector<HistoryRecord>{c, a, b}));
    EXPECT_TRUE(menu::recordsMissingFrom(menu::parseHistory(file).records, pending).empty());
}

TEST(MenuPending, EachHistoryHasItsOwnPendingFileOnThisComputer) {
    const std::string local = "C:\\Users\\ana\\AppData\\Local\\Tavoral";
    EXPECT_EQ(menu::pendingPathFor(local + "\\historico.csv", local, true), local + "\\historico-pendente.csv");
    const std::string shared = menu::pendingPathFor("\\\\servidor\\clinica\\historico.csv", local, false);
    EXPECT_EQ(shared.rfind(local + "\\historico-pendente-", 0), 0u) << shared;
    const struct {
        const char* other;
        bool same;
    } cases[] = {
        {"\\\\SERVIDOR\\Clinica\\historico.csv", true},  // Windows ignores case
        {"//servidor/clinica/historico.csv", true},
        {"\\\\servidor\\clinica2\\historico.csv", false},
        {"Z:\\clinica\\historico.csv", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(menu::pendingPathFor(c.other, local, false) == shared, c.same) << c.other;
}

}  // namespace
