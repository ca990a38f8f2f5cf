#include "menu/sessions.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <tuple>

namespace menu {

Summary summarize(const std::vector<HistoryRecord>& trials) {
    Summary s;
    long long total = 0;
    for (const HistoryRecord& r : trials) {
        if (s.count == 0 || r.hundredths > s.best) {
            s.best = r.hundredths;
            s.bestTrial = r.trial;
        }
        ++s.count;
        total += r.hundredths;
    }
    if (s.count > 0) s.mean = static_cast<int>((total + s.count / 2) / s.count);
    return s;
}

const HistoryRecord& Session::bestRecord() const {
    for (const HistoryRecord& r : trials)
        if (r.trial == summary.bestTrial) return r;
    return trials.front();
}

std::vector<Session> sessionsOf(const std::vector<HistoryRecord>& records) {
    // A session is its patient, exercise and id; a record without an id is
    // a session of its own.
    std::map<std::tuple<std::string, std::string, std::string>, std::size_t> index;
    std::vector<Session> sessions;
    for (const HistoryRecord& r : records) {
        if (!r.session.empty()) {
            const auto key = std::make_tuple(identityKey(r.patient), r.exercise, r.session);
            if (const auto found = index.find(key); found != index.end()) {
                sessions[found->second].trials.push_back(r);
                continue;
            }
            index.emplace(key, sessions.size());
        }
        sessions.push_back({{r}, {}});
    }
    for (Session& s : sessions) {
        std::stable_sort(s.trials.begin(), s.trials.end(),
                         [](const HistoryRecord& a, const HistoryRecord& b) { return a.trial < b.trial; });
        s.summary = summarize(s.trials);
    }
    // Newest first, by when each started; sessions of one moment keep their
    // file order reversed, as the results list always had it.
    std::reverse(sessions.begin(), sessions.end());
    std::stable_sort(sessions.begin(), sessions.end(), [](const Session& a, const Session& b) {
        return secondsOf(a.first().when) > secondsOf(b.first().when);
    });
    return sessions;
}

std::vector<HistoryRecord> bestOfEachSession(const std::vector<Session>& sessions) {
    std::vector<HistoryRecord> best;
    for (const Session& s : sessions) best.push_back(s.bestRecord());
    return best;
}

std::string bestText(const Summary& s) {
    return "Melhor: " + timeText(s.best) + ", tentativa " + std::to_string(s.bestTrial);
}

std::string meanText(const Summary& s) { return "Média: " + timeText(s.mean); }

std::vector<ResultRow> resultRows(const std::vector<Session>& sessions) {
    std::vector<ResultRow> rows;
    for (const Session& s : sessions) {
        if (s.trials.size() == 1) {
            rows.push_back({listLine(s.first()), &s.first()});
            continue;
        }
        rows.push_back({brazilianText(s.first().when) + '\t' + s.first().exercise + '\t' + bestText(s.summary) +
                            " — " + meanText(s.summary),
                        nullptr});
        for (const HistoryRecord& r : s.trials)
            rows.push_back({std::string(r.trial == s.summary.bestTrial ? "  * " : "    ") + "tentativa " +
                                std::to_string(r.trial) + '\t' + timeText(r.hundredths),
                            &r});
    }
    return rows;
}

std::string recordingName(const HistoryRecord& r, int copy) {
    char when[32];
    std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d-%02d-%02d", r.when.year, r.when.month, r.when.day, r.when.hour,
                  r.when.minute, r.when.second);
    return std::string(when) + " " + r.exercise + " tentativa " + std::to_string(r.trial) +
           (copy > 1 ? " (" + std::to_string(copy) + ")" : "") + ".wav";
}

bool isPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("\\/:") == std::string::npos;
}

std::string sessionId(const LocalTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
    return text;
}

TrialSession::TrialSession(std::string id, std::string exercise, int planned)
    : id_(std::move(id)), exercise_(std::move(exercise)), planned_(std::clamp(planned, kFewestTrials, kMostTrials)) {}

std::string TrialSession::countedText() const {
    if (counted_.empty()) return {};
    return "Tentativa " + std::to_string(counted_.size()) + " de " + std::to_string(planned_) + ": " +
           timeText(counted_.back().hundredths);
}

std::string TrialSession::notCountedText() const {
    return "A tentativa " + std::to_string(trial()) + " de " + std::to_string(planned_) +
           " terminou sem tempo confirmado e não foi contada. Próxima tentativa a repete.";
}

std::string TrialSession::summaryText() const {
    if (counted_.empty()) return "Sessão de " + exercise_ + " encerrada sem tentativas contadas.";
    std::string text = "Sessão de " + exercise_ + ":";
    for (const HistoryRecord& r : counted_) text += "  " + std::to_string(r.trial) + ") " + timeText(r.hundredths);
    const Summary s = summarize(counted_);
    return text + "\n" + bestText(s) + " — " + meanText(s);
}

std::string TrialSession::runEnded(const RunEnd& run) {
    const bool single = planned_ == 1;
    std::string said;
    if (run.unreadable) {
        said = exercise_ + " terminou, mas " + run.resultFile + " não contém um tempo válido: nada foi registrado.";
    } else if (!run.record) {
        said = single ? exercise_ + " terminou sem tempo confirmado: nada foi registrado." : notCountedText();
    } else {
        const HistoryRecord& record = *run.record;
        const std::string time = timeText(record.hundredths);
        said = single ? exercise_ + ": " + time : exercise_ + ", tentativa " + std::to_string(record.trial) + ": " + time;
        switch (run.kept) {
            case Kept::inHistory: said += " — registrado no histórico de " + record.patient + "."; break;
            case Kept::pending:
                said += " — guardado neste computador para " + record.patient +
                        "; será gravado no histórico assim que ele puder ser gravado.";
                break;
            case Kept::lost: said += " — NÃO registrado: o histórico não pôde ser gravado."; break;
        }
        said += run.soundNote;
        count(record);
    }
    if (single) {
        end();
        return said;
    }
    if (!finished()) return run.record ? countedText() + "\n" + said : said;
    // The last trial's trouble stays in sight under the summary.
    const bool trouble = run.kept != Kept::inHistory || !run.soundNote.empty();
    return trouble ? summaryText() + "\n" + said : summaryText();
}

}  // namespace menu
