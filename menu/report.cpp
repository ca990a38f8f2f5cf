#include "menu/report.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "menu/chart_scale.h"
#include "menu/exercises.h"
#include "menu/sessions.h"

namespace menu {
namespace {

constexpr int kChartWidth = 680, kChartHeight = 300;

std::string dateText(const LocalTime& t) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", t.day, t.month, t.year);
    return text;
}

std::string colourText(const Exercise& e) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", e.red, e.green, e.blue);
    return text;
}

constexpr char kStyle[] = R"(<style>
@page { size: A4; margin: 16mm 15mm; }
body { font-family: "DejaVu Sans", Arial, sans-serif; font-size: 10.5pt; color: #000; margin: 0; }
@media screen { body { max-width: 190mm; margin: 10mm auto; } }
.suite { font-size: 9pt; color: #444; margin: 0; }
h1 { font-size: 17pt; margin: 2mm 0 3mm; }
h2 { font-size: 12.5pt; margin: 6mm 0 2mm; }
.who p { margin: 0.8mm 0; }
table { border-collapse: collapse; width: 100%; }
th, td { border: 0.3mm solid #777; padding: 1.2mm 2mm; text-align: left; vertical-align: top; }
th { background: #eee; }
tr { page-break-inside: avoid; }
.best { font-weight: bold; }
.none { font-style: italic; }
figure { margin: 0; page-break-inside: avoid; }
svg { width: 100%; height: auto; }
.notes { border: 0.4mm solid #000; height: 45mm; margin-top: 2mm; page-break-inside: avoid; }
.signature { margin-top: 14mm; border-top: 0.3mm solid #000; width: 80mm; padding-top: 1mm; font-size: 9.5pt; }
</style>)";

std::string trialsCell(const Session& s) {
    std::string cell;
    for (const HistoryRecord& r : s.trials) {
        if (!cell.empty()) cell += " · ";
        const std::string time = timeText(r.hundredths);
        cell += std::to_string(r.trial) + ") " +
                (r.trial == s.summary.bestTrial && s.trials.size() > 1 ? "<span class=\"best\">" + time + "</span>" : time);
    }
    return cell;
}

std::string sessionsTable(const std::vector<Session>& oldestFirst) {
    std::string html =
        "<table>\n<thead><tr><th>Data</th><th>Exercício</th><th>Tentativas</th><th>Melhor</th><th>Média</th></tr>"
        "</thead>\n<tbody>\n";
    for (const Session& s : oldestFirst) {
        html += "<tr><td>" + htmlEscaped(brazilianText(s.first().when)) + "</td><td>" +
                htmlEscaped(s.first().exercise) + "</td><td>" + trialsCell(s) + "</td><td class=\"best\">" +
                timeText(s.summary.best) +
                (s.trials.size() > 1 ? " (tentativa " + std::to_string(s.summary.bestTrial) + ")" : "") +
                "</td><td>" + timeText(s.summary.mean) + "</td></tr>\n";
    }
    return html + "</tbody>\n</table>\n";
}

// Each session's best, one line per exercise, as on the menu's chart.
std::string chartSvg(const std::vector<HistoryRecord>& bests) {
    const PlotArea area = chartPlotArea(kChartWidth, kChartHeight);
    const ChartScale scale = chartScaleFor(area, bests);
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + std::to_string(kChartWidth) + " " +
                      std::to_string(kChartHeight) + "\" role=\"img\" aria-label=\"Evolução do melhor tempo\">\n";
    svg += "<rect x=\"0\" y=\"0\" width=\"" + std::to_string(kChartWidth) + "\" height=\"" +
           std::to_string(kChartHeight) + "\" fill=\"#ffffff\"/>\n";
    for (const ValueTick& tick : scale.valueTicks()) {
        const std::string y = std::to_string(tick.y);
        svg += "<line x1=\"" + std::to_string(area.left) + "\" y1=\"" + y + "\" x2=\"" + std::to_string(area.right) +
               "\" y2=\"" + y + "\" stroke=\"#d0d0d0\" stroke-width=\"1\"/>\n";
        svg += "<text x=\"" + std::to_string(area.left - 6) + "\" y=\"" + std::to_string(tick.y + 4) +
               "\" font-size=\"11\" text-anchor=\"end\">" + htmlEscaped(tick.label) + "</text>\n";
    }
    for (const DateTick& tick : scale.dateTicks(6))
        svg += "<text x=\"" + std::to_string(tick.x) + "\" y=\"" + std::to_string(area.bottom + 18) +
               "\" font-size=\"11\" text-anchor=\"middle\">" + htmlEscaped(tick.label) + "</text>\n";
    svg += "<line x1=\"" + std::to_string(area.left) + "\" y1=\"" + std::to_string(area.bottom) + "\" x2=\"" +
           std::to_string(area.right) + "\" y2=\"" + std::to_string(area.bottom) + "\" stroke=\"#000\"/>\n";
    svg += "<line x1=\"" + std::to_string(area.left) + "\" y1=\"" + std::to_string(area.top) + "\" x2=\"" +
           std::to_string(area.left) + "\" y2=\"" + std::to_string(area.bottom) + "\" stroke=\"#000\"/>\n";
    int legendX = area.left;
    for (const Exercise& e : exercises()) {
        const auto mine = exerciseLine(bests, e);
        if (mine.empty()) continue;
        std::string points;
        for (const auto& [when, hundredths] : mine) {
            const std::string x = std::to_string(scale.x(when)), y = std::to_string(scale.y(hundredths));
            points += x + "," + y + " ";
            svg += "<circle cx=\"" + x + "\" cy=\"" + y + "\" r=\"4\" fill=\"" + colourText(e) + "\"/>\n";
        }
        if (mine.size() > 1)
            svg += "<polyline points=\"" + points + "\" fill=\"none\" stroke=\"" + colourText(e) +
                   "\" stroke-width=\"3\"/>\n";
        svg += "<rect x=\"" + std::to_string(legendX) + "\" y=\"6\" width=\"12\" height=\"12\" fill=\"" +
               colourText(e) + "\"/><text x=\"" + std::to_string(legendX + 16) + "\" y=\"16\" font-size=\"12\">" +
               htmlEscaped(e.name) + "</text>\n";
        legendX += 100;
    }
    return svg + "</svg>\n";
}

}  // namespace

std::string htmlEscaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string reportHtml(const std::string& patient, const LocalTime& today, const std::vector<HistoryRecord>& records) {
    std::vector<Session> sessions = sessionsOf(records);
    std::reverse(sessions.begin(), sessions.end());  // a report reads from the first session on
    std::string html = "<!DOCTYPE html>\n<html lang=\"pt-BR\">\n<head>\n<meta charset=\"utf-8\">\n<title>Relatório — " +
                       htmlEscaped(patient) + "</title>\n" + kStyle + "\n</head>\n<body>\n";
    html += "<p class=\"suite\">Tavoral — Tempo Expiratório</p>\n<h1>Relatório de evolução</h1>\n<div class=\"who\">\n";
    html += "<p>Paciente: <strong>" + htmlEscaped(patient) + "</strong></p>\n";
    html += "<p>Data do relatório: " + dateText(today) + "</p>\n";
    if (sessions.empty()) {
        html += "</div>\n<p class=\"none\">Nenhum resultado registrado para este paciente.</p>\n";
    } else {
        html += "<p>Período: " + dateText(sessions.front().first().when) + " a " +
                dateText(sessions.back().first().when) + " (" + std::to_string(sessions.size()) +
                (sessions.size() == 1 ? " sessão" : " sessões") + ")</p>\n</div>\n";
        html += "<h2>Sessões</h2>\n" + sessionsTable(sessions);
        html += "<h2>Evolução do melhor tempo de cada sessão</h2>\n<figure>\n" + chartSvg(bestOfEachSession(sessions)) +
                "</figure>\n";
    }
    html += "<h2>Observações</h2>\n<div class=\"notes\"></div>\n";
    html += "<p class=\"signature\">Assinatura e carimbo do(a) fonoaudiólogo(a)</p>\n</body>\n</html>\n";
    return html;
}

namespace {

// The patient's part of a report's file name.
std::string reportStem(const std::string& patient) {
    std::string name;
    for (const char c : patientName(patient)) {
        const bool forbidden = static_cast<unsigned char>(c) < 32 || std::string("\\/:*?\"<>|").find(c) != std::string::npos;
        name += forbidden ? '_' : c;
    }
    // Windows drops a name's trailing dots and blanks, and a name that is
    // only those would be no name at all.
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
    if (name.empty()) name.push_back('_');
    return name;
}

constexpr std::size_t kDateAndExtension = sizeof " 2026-12-09.html" - 1;

}  // namespace

std::string reportFileName(const std::string& patient, const LocalTime& today) {
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", today.year, today.month, today.day);
    return reportStem(patient) + " " + date + ".html";
}

bool isReportOf(const std::string& fileName, const std::string& patient) {
    if (fileName.size() <= kDateAndExtension) return false;
    const std::string tail = fileName.substr(fileName.size() - kDateAndExtension);
    // " dddd-dd-dd.html", the extension in any case, as Windows matches it.
    for (std::size_t i = 0; i < 11; ++i) {
        const bool digit = tail[i] >= '0' && tail[i] <= '9';
        const char expected = i == 0 ? ' ' : i == 5 || i == 8 ? '-' : '0';
        if (expected == '0' ? !digit : tail[i] != expected) return false;
    }
    std::string extension = tail.substr(11);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension != ".html") return false;
    return identityKey(fileName.substr(0, fileName.size() - kDateAndExtension)) == identityKey(reportStem(patient));
}

}  // namespace menu
