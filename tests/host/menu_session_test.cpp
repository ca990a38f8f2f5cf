// Sessions of several trials read from the history, their best and mean,
// the texts the menu shows during one, and the patient's report.
#include "menu/report.h"
#include "menu/sessions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace menu {
namespace {

HistoryRecord trial(const char* patient, const char* exercise, int day, int minute, int hundredths,
                    const char* session = "", int number = 1) {
    return {{2026, 12, day, 10, minute, 0}, patient, exercise, hundredths, session, number, ""};
}

std::string shape(const std::vector<Session>& sessions) {
    std::string text;
    for (const Session& s : sessions) {
        text += s.first().exercise + "[";
        for (const HistoryRecord& r : s.trials) text += std::to_string(r.trial) + ":" + std::to_string(r.hundredths) + " ";
        text += "best " + std::to_string(s.summary.bestTrial) + " mean " + std::to_string(s.summary.mean) + "] ";
    }
    return text;
}

TEST(MenuSessions, RecordsAreGroupedIntoSessionsNewestFirst) {
    const struct {
        const char* what;
        std::vector<HistoryRecord> records;
        std::string sessions;
    } cases[] = {
        {"records of before sessions are one session each",
         {trial("Ana", "Abelha", 1, 0, 700), trial("Ana", "Abelha", 2, 0, 800)},
         "Abelha[1:800 best 1 mean 800] Abelha[1:700 best 1 mean 700] "},
        {"the trials of one session, in any order, best and mean",
         {trial("Ana", "Abelha", 3, 2, 910, "s1", 2), trial("Ana", "Abelha", 3, 1, 735, "s1", 1),
          trial("Ana", "Abelha", 3, 3, 800, "s1", 3)},
         "Abelha[1:735 2:910 3:800 best 2 mean 815] "},
        {"a session cut short keeps its trials", {trial("Ana", "Barco", 3, 1, 500, "s2", 1), trial("Ana", "Barco", 3, 2, 601, "s2", 2)},
         "Barco[1:500 2:601 best 2 mean 551] "},
        {"equal times: the earlier trial is the best",
         {trial("Ana", "Carro", 4, 1, 600, "s3", 1), trial("Ana", "Carro", 4, 2, 600, "s3", 2)},
         "Carro[1:600 2:600 best 1 mean 600] "},
        {"one id, two exercises or two spellings of one patient",
         {trial("Ana", "Abelha", 5, 1, 300, "s4", 1), trial("ANA", "Abelha", 5, 2, 500, "s4", 2),
          trial("Ana", "Menina", 5, 3, 400, "s4", 1)},
         "Menina[1:400 best 1 mean 400] Abelha[1:300 2:500 best 2 mean 400] "},
        {"old and new records side by side",
         {trial("Ana", "Abelha", 1, 0, 700), trial("Ana", "Abelha", 6, 1, 900, "s5", 1),
          trial("Ana", "Abelha", 6, 2, 1000, "s5", 2)},
         "Abelha[1:900 2:1000 best 2 mean 950] Abelha[1:700 best 1 mean 700] "},
    };
    for (const auto& c : cases) EXPECT_EQ(shape(sessionsOf(c.records)), c.sessions) << c.what;
}

TEST(MenuSessions, TheNewColumnsReadBackAndOldFilesStillRead) {
    const std::string file =
        "\xEF\xBB\xBF" "Data e hora;Paciente;Exercício;Tempo;Segundos\r\n"
        "2026-12-01 10:00:00;Ana;Abelha;00:07:00;7,00\r\n"
        "2026-12-03 10:01:00;Ana;Abelha;00:09:10;9,10;20261203-100100;2;2026-12-03 10-01-00 Abelha tentativa 2.wav\r\n"
        "2026-12-03 10:02:00;Ana;Abelha;00:08:00;8,00;20261203-100100;0;\r\n"    // no trial 0
        "2026-12-03 10:03:00;Ana;Abelha;00:08:00;8,00;20261203-100100;3\r\n";     // a column short
    const ParsedHistory parsed = parseHistory(file);
    ASSERT_EQ(parsed.records.size(), 2u);
    EXPECT_EQ(parsed.skipped, 2u);
    EXPECT_EQ(parsed.records[0].session, "");
    EXPECT_EQ(parsed.records[0].trial, 1);
    EXPECT_EQ(parsed.records[1].session, "20261203-100100");
    EXPECT_EQ(parsed.records[1].trial, 2);
    EXPECT_EQ(parsed.records[1].recording, "2026-12-03 10-01-00 Abelha tentativa 2.wav");
    // What is written reads back the same, old records in their five columns.
    for (const HistoryRecord& r : parsed.records) EXPECT_EQ(parseHistory(csvLine(r)).records.at(0), r);
    EXPECT_EQ(csvLine(parsed.records[0]), "2026-12-01 10:00:00;Ana;Abelha;00:07:00;7,00\r\n");
}

// Runs of a session as the menu finds them ending: a confirmed time in
// hundredths, none (-1) or a result file without a valid time (-2); what
// the therapist is told after each, and whether the session is over.
TEST(MenuSessions, WhatTheMenuSaysAsTheRunsOfASessionEnd) {
    struct Run {
        int hundredths;
        Kept kept = Kept::inHistory;
        std::string sound = "";
    };
    struct Said {
        std::string text;
        bool over;
    };
    const std::string noSound = " (o exercício não gravou o som desta tentativa)";
    const struct {
        const char* what;
        int planned;
        std::vector<Run> runs;
        std::vector<Said> said;
    } cases[] = {
        {"one trial, as before sessions", 1, {{735}}, {{"Abelha: 00:07:35 — registrado no histórico de Ana.", true}}},
        {"one trial without a confirmed time", 1, {{-1}},
         {{"Abelha terminou sem tempo confirmado: nada foi registrado.", true}}},
        {"a result file without a valid time", 3, {{-2}},
         {{"Abelha terminou, mas abelha.dat não contém um tempo válido: nada foi registrado.", false}}},
        {"three trials, one declined and offered again",
         3,
         {{735}, {-1}, {910}, {761}},
         {{"Tentativa 1 de 3: 00:07:35\nAbelha, tentativa 1: 00:07:35 — registrado no histórico de Ana.", false},
          {"A tentativa 2 de 3 terminou sem tempo confirmado e não foi contada. Próxima tentativa a repete.", false},
          {"Tentativa 2 de 3: 00:09:10\nAbelha, tentativa 2: 00:09:10 — registrado no histórico de Ana.", false},
          {"Sessão de Abelha:  1) 00:07:35  2) 00:09:10  3) 00:07:61\nMelhor: 00:09:10, tentativa 2 — Média: 00:08:02",
           true}}},
        {"kept on this computer, then a trial without its sound",
         2,
         {{500, Kept::pending}, {600, Kept::inHistory, noSound}},
         {{"Tentativa 1 de 2: 00:05:00\nAbelha, tentativa 1: 00:05:00 — guardado neste computador para Ana; será "
           "gravado no histórico assim que ele puder ser gravado.",
           false},
          {"Sessão de Abelha:  1) 00:05:00  2) 00:06:00\nMelhor: 00:06:00, tentativa 2 — Média: 00:05:50\n"
           "Abelha, tentativa 2: 00:06:00 — registrado no histórico de Ana." + noSound,
           true}}},
        {"the last trial not recorded stays in sight under the summary",
         2,
         {{500}, {400, Kept::lost}},
         {{"Tentativa 1 de 2: 00:05:00\nAbelha, tentativa 1: 00:05:00 — registrado no histórico de Ana.", false},
          {"Sessão de Abelha:  1) 00:05:00  2) 00:04:00\nMelhor: 00:05:00, tentativa 1 — Média: 00:04:50\n"
           "Abelha, tentativa 2: 00:04:00 — NÃO registrado: o histórico não pôde ser gravado.",
           true}}},
    };
    for (const auto& c : cases) {
        TrialSession session("20261209-105300", "Abelha", c.planned);
        ASSERT_EQ(c.runs.size(), c.said.size()) << c.what;
        for (size_t i = 0; i < c.runs.size(); ++i) {
            const Run& run = c.runs[i];
            const HistoryRecord record = trial("Ana", "Abelha", 9, 1, run.hundredths, "20261209-105300", session.trial());
            const RunEnd end{"abelha.dat", run.hundredths == -2, run.hundredths >= 0 ? &record : nullptr, run.kept,
                             run.sound};
            EXPECT_EQ(session.runEnded(end), c.said[i].text) << c.what << ", run " << i + 1;
            EXPECT_EQ(session.finished(), c.said[i].over) << c.what << ", run " << i + 1;
        }
    }

    TrialSession ended("x", "Barco", 9);
    EXPECT_EQ(ended.planned(), kMostTrials);
    ended.end();
    EXPECT_TRUE(ended.finished());
    EXPECT_EQ(ended.summaryText(), "Sessão de Barco encerrada sem tentativas contadas.");
}

TEST(MenuSessions, ARecordingIsNamedFromItsTrialAndOnlyPlainNamesArePlayed) {
    EXPECT_EQ(recordingName(trial("Ana", "Abelha", 9, 53, 735, "s", 2)), "2026-12-09 10-53-00 Abelha tentativa 2.wav");
    EXPECT_EQ(recordingName(trial("Ana", "Abelha", 9, 53, 735, "s", 2), 2),
              "2026-12-09 10-53-00 Abelha tentativa 2 (2).wav");
    const struct {
        const char* name;
        bool plain;
    } cases[] = {
        {"2026-12-09 10-53-00 Abelha tentativa 2.wav", true},
        {"", false},
        {"..", false},
        {"..\\..\\Windows\\win.ini", false},
        {"../x.wav", false},
        {"C:x.wav", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isPlainFileName(c.name), c.plain) << c.name;
}

TEST(MenuReport, HoldsThePatientEverySessionAndTheChart) {
    const std::vector<HistoryRecord> records = {
        trial("Ana <b>&", "Abelha", 1, 0, 700),
        trial("Ana <b>&", "Abelha", 3, 1, 735, "s1", 1), trial("Ana <b>&", "Abelha", 3, 2, 910, "s1", 2),
        trial("Ana <b>&", "Barco", 4, 1, 1200, "s2", 1),
    };
    const std::string html = reportHtml("Ana <b>&", {2026, 12, 9, 11, 0, 0}, records);
    for (const char* part : {"Tavoral", "Ana &lt;b&gt;&amp;", "Data do relatório: 09/12/2026",
                             "Período: 01/12/2026 a 04/12/2026 (3 sessões)", "00:07:00", "00:07:35", "00:09:10",
                             "(tentativa 2)", "00:08:23", "00:12:00", "Observações", "Assinatura", "<svg",
                             "<polyline", "Abelha", "Barco"})
        EXPECT_NE(html.find(part), std::string::npos) << part;
    EXPECT_EQ(html.find("Ana <b>"), std::string::npos) << "the name is escaped";
    // One line for the bee's two sessions; the boat's one session is a point.
    EXPECT_EQ(html.find("<polyline"), html.rfind("<polyline"));
    for (const char* outside : {"<script", "src=", "href=", "@import", "url("})
        EXPECT_EQ(html.find(outside), std::string::npos) << outside;

    const std::string none = reportHtml("Bruno", {2026, 12, 9, 11, 0, 0}, {});
    EXPECT_NE(none.find("Nenhum resultado registrado para este paciente."), std::string::npos);
    EXPECT_EQ(none.find("<svg"), std::string::npos);
}

TEST(MenuReport, FileNamesHoldWhatWindowsAllows) {
    const struct {
        const char* patient;
        const char* file;
    } cases[] = {
        {"Maria da Silva", "Maria da Silva 2026-12-09.html"},
        {"  João   Pedro ", "João Pedro 2026-12-09.html"},
        {"a/b\\c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j 2026-12-09.html"},
        {"Ana...", "Ana 2026-12-09.html"},
        {"...", "_ 2026-12-09.html"},
    };
    for (const auto& c : cases) EXPECT_EQ(reportFileName(c.patient, {2026, 12, 9, 0, 0, 0}), c.file) << c.patient;
}

// Erasing a patient erases the reports written for any spelling of the
// name, and no other patient's.
TEST(MenuReport, APatientsReportsAreKnownByTheirNames) {
    const struct {
        const char* file;
        const char* patient;
        bool theirs;
    } cases[] = {
        {"Ana Souza 2026-12-09.html", "Ana Souza", true},
        {"ana  souza 2026-01-31.HTML", "ANA SOUZA", true},
        {"a_b 2026-12-09.html", "a/b", true},
        {"_ 2026-12-09.html", "...", true},
        {"Ana Souza Lima 2026-12-09.html", "Ana Souza", false},
        {"Ana 2026-12-09.html", "Ana Souza", false},
        {"Joao 2026-12-09.html", "João", false},
        {"Ana Souza 2026-12-9.html", "Ana Souza", false},
        {"Ana Souza 2026-12-09.htm", "Ana Souza", false},
        {"Ana Souza.html", "Ana Souza", false},
        {" 2026-12-09.html", "", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isReportOf(c.file, c.patient), c.theirs) << c.file << " / " << c.patient;
}

}  // namespace
}  // namespace menu
