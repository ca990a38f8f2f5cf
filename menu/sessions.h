// Clinical sessions: several trials of one exercise in a row, of which the
// longest is the patient's result, with the mean beside it.  Sessions are
// read from the history's records (each trial is one record); a record of
// before sessions is a session of one trial.
#pragma once

#include <string>
#include <vector>

#include "menu/history.h"

namespace menu {

inline constexpr int kFewestTrials = 1, kMostTrials = 5, kDefaultTrials = 3;

struct Summary {
    int count = 0;      // trials counted
    int best = 0;       // hundredths
    int bestTrial = 0;  // the trial that gave it (the first of equal ones)
    int mean = 0;       // hundredths, rounded to the nearest
};

// Of trials given as (trial number, hundredths).
Summary summarize(const std::vector<HistoryRecord>& trials);

struct Session {
    std::vector<HistoryRecord> trials;  // by trial number
    Summary summary;
    const HistoryRecord& first() const { return trials.front(); }
    const HistoryRecord& bestRecord() const;
};

// The records of one patient grouped into sessions, the newest first.
std::vector<Session> sessionsOf(const std::vector<HistoryRecord>& records);

// Each session's best trial, newest first: what the chart draws.
std::vector<HistoryRecord> bestOfEachSession(const std::vector<Session>& sessions);

// "Melhor: 00:09:10, tentativa 2" and "Média: 00:08:02".
std::string bestText(const Summary& summary);
std::string meanText(const Summary& summary);

// The results list: one line per session of one trial (as before
// sessions), else a line for the session and one per trial, the best
// marked.  `record` is the trial a line stands for, null for a session's line.
struct ResultRow {
    std::string text;
    const HistoryRecord* record = nullptr;
};
std::vector<ResultRow> resultRows(const std::vector<Session>& sessions);

// The name a trial's sound is kept under in the history's "gravacoes"
// folder: "2026-12-09 10-53-12 Abelha tentativa 2.wav".  Two computers
// sharing a history may keep a trial in the same second: the later one is
// kept as its copy 2 ("... tentativa 2 (2).wav"), and so on.
std::string recordingName(const HistoryRecord& record, int copy = 1);
inline constexpr char kRecordingsFolder[] = "gravacoes";
inline constexpr char kReportsFolder[] = "relatorios";
// A recording's name as the history holds it, when it is one the menu can
// play: a plain file name, nothing that leads out of the folder.
bool isPlainFileName(const std::string& name);

// A session's id: when it started, to the second, which no two sessions of
// one menu share.
std::string sessionId(const LocalTime& start);

// Where a confirmed trial's record was kept: in the history, on this
// computer until the history can be written, or nowhere.
enum class Kept { inHistory, pending, lost };

// How one run of an exercise ended, as the menu found it.
struct RunEnd {
    std::string resultFile;                 // "abelha.dat"
    bool unreadable = false;                // it held no valid time
    const HistoryRecord* record = nullptr;  // the confirmed trial, when there was one
    Kept kept = Kept::inHistory;
    std::string soundNote;  // what became of its sound, when it was not kept
};

// The session the menu is running: which trial comes next, what has been
// counted, and what the therapist is told.
class TrialSession {
public:
    TrialSession(std::string id, std::string exercise, int planned);

    const std::string& id() const { return id_; }
    const std::string& exercise() const { return exercise_; }
    int planned() const { return planned_; }
    int trial() const { return static_cast<int>(counted_.size()) + 1; }  // the next one
    bool finished() const { return ended_ || trial() > planned_; }
    const std::vector<HistoryRecord>& counted() const { return counted_; }

    void count(const HistoryRecord& record) { counted_.push_back(record); }
    void end() { ended_ = true; }

    // "Tentativa 2 de 3: 00:09:10", after a trial was counted.
    std::string countedText() const;
    // A trial without a confirmed time: it is offered again.
    std::string notCountedText() const;
    // Every trial's time, the best and the mean.
    std::string summaryText() const;

    // A run of the exercise ended: its confirmed trial is counted, and the
    // therapist is told what became of it; once the session is over, the
    // whole session.  A session of one trial is over after its one run.
    std::string runEnded(const RunEnd& run);

private:
    std::string id_, exercise_;
    int planned_;
    std::vector<HistoryRecord> counted_;
    bool ended_ = false;
};

}  // namespace menu
