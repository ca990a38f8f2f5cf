#include "menu/menu_window_win.h"

#include <commctrl.h>
#include <mmsystem.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "menu/chart_win.h"
#include "menu/exercise_run_win.h"
#include "menu/exercises.h"
#include "menu/history.h"
#include "menu/history_file_win.h"
#include "menu/menu_ids.h"
#include "menu/report.h"
#include "menu/sessions.h"
#include "resources/gui_kx/menu_dialog_ids.h"
#include "winui/dialog_proc_win.h"
#include "winui/user_message_win.h"

namespace menu {
namespace {

constexpr int kClientWidth = 900, kClientHeight = 700;
constexpr int kMargin = 16;
constexpr int kButtonTop = 56, kButtonWidth = 164, kButtonHeight = 150, kButtonGap = 12;
constexpr int kPictureWidth = 128, kPictureHeight = 96;
constexpr int kStatusTop = 218, kSessionTop = 268, kListTop = 330, kListWidth = 300;
constexpr UINT_PTR kListenTimer = 1;
constexpr COLORREF kRunningFace = RGB(255, 240, 190);
// Posted when the patient list's choice has reached the edit field.
constexpr UINT WM_APP_PATIENT_CHOSEN = WM_APP + 1;
constexpr char kCaption[] = "Tavoral";
constexpr std::size_t kExerciseCount = 5;

// The menu's one window and what it shows.
struct MenuState {
    HINSTANCE instance = nullptr;
    HWND window = nullptr, patient = nullptr, status = nullptr, results = nullptr, chart = nullptr;
    std::array<HWND, kExerciseCount> buttons{};
    std::array<HBITMAP, kExerciseCount> pictures{};
    HFONT font = nullptr, bigFont = nullptr;
    std::wstring folder;  // the menu's own folder, where the exercises are
    HistoryPlace place;   // no path when there is nowhere to keep it
    std::vector<HistoryRecord> history;  // what the history file holds
    std::vector<HistoryRecord> pending;  // kept on this computer until the history can be written
    bool historyUnread = false;          // the file could not be read when the menu started
    CExerciseRun run;
    std::optional<std::size_t> running;  // the exercise being run
    std::string runningPatient;          // whom its result belongs to
    std::optional<TrialSession> session;  // the session of trials being run, until it ends
    std::size_t sessionExercise = 0;
    HWND trials = nullptr, nextTrial = nullptr, endSession = nullptr, listen = nullptr;
    std::vector<Session> shownSessions;  // the patient's, as the results list shows them
    std::vector<ResultRow> rows;         // the list's lines, pointing into shownSessions
    bool listening = false;              // a trial's sound is playing
};
MenuState g_menu;

std::wstring folderOfThisProgram() {
    wchar_t exe[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path(exe, n);
    return path.substr(0, path.find_last_of(L"\\/"));
}

HWND control(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id,
             DWORD exStyle = 0) {
    HWND hwnd = CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, g_menu.window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_menu.instance, nullptr);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(g_menu.font), FALSE);
    return hwnd;
}

void setStatus(const std::string& text) { SetWindowTextW(g_menu.status, ui::widen(text).c_str()); }

void message(const std::string& text, UINT flags = MB_OK | MB_ICONWARNING) {
    ui::showMessage(g_menu.window, text, kCaption, flags);
}

std::wstring fieldText(HWND field) {
    const int n = GetWindowTextLengthW(field);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    GetWindowTextW(field, text.data(), n + 1);
    text.resize(static_cast<size_t>(n));
    return text;
}

// Every result there is: the history's and those still waiting to be written.
std::vector<HistoryRecord> allRecords() {
    std::vector<HistoryRecord> all = g_menu.history;
    for (auto& r : recordsMissingFrom(g_menu.history, g_menu.pending)) all.push_back(std::move(r));
    return all;
}

// The patient whose name is in the field, under the spelling the history
// already has for that patient.
std::string typedPatient() { return canonicalPatient(allRecords(), ui::narrow(fieldText(g_menu.patient))); }

// The list of names, one per patient under the spelling first seen; the
// field keeps what was typed in it.
void fillPatientList() {
    const std::wstring typed = fieldText(g_menu.patient);
    SendMessageW(g_menu.patient, CB_RESETCONTENT, 0, 0);
    for (const auto& name : patientNames(allRecords()))
        SendMessageW(g_menu.patient, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ui::widen(name).c_str()));
    SetWindowTextW(g_menu.patient, typed.c_str());
}

// The list and the chart of the patient whose name is in the field.
void showPatient() {
    // Every spelling of the typed name is the same patient.
    const std::vector<HistoryRecord> mine = recordsOf(allRecords(), ui::narrow(fieldText(g_menu.patient)));
    g_menu.shownSessions = sessionsOf(mine);
    g_menu.rows = resultRows(g_menu.shownSessions);
    SendMessageW(g_menu.results, WM_SETREDRAW, FALSE, 0);
    SendMessageW(g_menu.results, LB_RESETCONTENT, 0, 0);
    for (const auto& row : g_menu.rows)
        SendMessageW(g_menu.results, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ui::widen(row.text).c_str()));
    SendMessageW(g_menu.results, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(g_menu.results, nullptr, TRUE);
    // Each session counts by its best trial.
    setChartRecords(g_menu.chart, bestOfEachSession(g_menu.shownSessions));
}

// While an exercise runs nothing else can be started and the patient
// stays the one its result will belong to.
void enableChoices(bool enable) {
    for (HWND b : g_menu.buttons) EnableWindow(b, enable);
    for (int id : {kPatient, kRename, kRemove, kTrials}) EnableWindow(GetDlgItem(g_menu.window, id), enable);
}

// Between two trials of a session only its own buttons are there.
void showSessionButtons(bool waiting) {
    for (HWND b : {g_menu.nextTrial, g_menu.endSession}) {
        ShowWindow(b, waiting ? SW_SHOW : SW_HIDE);
        EnableWindow(b, waiting);
    }
}

int chosenTrials() {
    const LRESULT at = SendMessageW(g_menu.trials, CB_GETCURSEL, 0, 0);
    return at == CB_ERR ? kDefaultTrials : static_cast<int>(at) + kFewestTrials;
}

int storedTrials() {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, kTrialsValue, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
            ERROR_SUCCESS ||
        value < static_cast<DWORD>(kFewestTrials) || value > static_cast<DWORD>(kMostTrials))
        return kDefaultTrials;
    return static_cast<int>(value);
}

// Kept for the next start; a registry that cannot be written only loses the choice.
void storeTrials(int trials) {
    const DWORD value = static_cast<DWORD>(trials);
    RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, kTrialsValue, REG_DWORD, &value, sizeof value);
}

std::string historyPathText() { return ui::narrow(g_menu.place.path); }

// Writes the pending results and `more` into the history in one append.
// On success nothing is pending any more; otherwise nothing has changed.
bool writeIntoHistory(const std::vector<HistoryRecord>& more, std::string& error) {
    // A folder that was out of reach may have come back: what it holds is
    // read first, so nothing pending is written twice and all is shown.
    if (g_menu.historyUnread) {
        const HistoryRead read = readHistoryFile(g_menu.place.path);
        if (read.status == ReadStatus::ok) {
            g_menu.history = read.history.records;
            g_menu.historyUnread = false;
        }
    }
    std::vector<HistoryRecord> records = recordsMissingFrom(g_menu.history, g_menu.pending);
    records.insert(records.end(), more.begin(), more.end());
    if (!appendToHistoryFile(g_menu.place.path, records, error)) return false;
    g_menu.history.insert(g_menu.history.end(), records.begin(), records.end());
    // Were the pending file to stay, its records are already in the
    // history and are not written twice.
    if (!g_menu.pending.empty()) DeleteFileW(g_menu.place.pendingPath.c_str());
    g_menu.pending.clear();
    return true;
}

std::string unreachableText(const std::string& error) {
    return "A pasta do histórico " + ui::narrow(g_menu.place.folder) + " não está acessível (" + error +
           ").\n\nOs exercícios podem ser feitos: os resultados ficam guardados neste computador e serão gravados "
           "no histórico quando a pasta estiver acessível.";
}

void loadHistory() {
    g_menu.place = historyPlace();
    if (g_menu.place.path.empty()) {
        message("Não foi possível encontrar a pasta de dados do usuário: os resultados não serão guardados no "
                "histórico.");
        return;
    }
    restoreAfterInterruptedRewrite(g_menu.place.path);
    restoreAfterInterruptedRewrite(g_menu.place.pendingPath);
    const std::string moveError = moveRoamingHistory(g_menu.place);
    if (!moveError.empty())
        message("O histórico da pasta antiga (dados de aplicativos móveis do usuário) não pôde ser trazido para\n" +
                historyPathText() + "\n" + moveError + "\n\nEle continua na pasta antiga; nada foi perdido.");
    const HistoryRead pending = readHistoryFile(g_menu.place.pendingPath);
    g_menu.pending = pending.history.records;
    const HistoryRead read = readHistoryFile(g_menu.place.path);
    std::string status;
    g_menu.historyUnread = read.status != ReadStatus::ok;
    if (read.status == ReadStatus::unreachable) {
        message(unreachableText(read.error));
        status = "A pasta do histórico não está acessível.";
    } else if (read.status == ReadStatus::failed) {
        message("Não foi possível ler o histórico\n" + historyPathText() + "\n" + read.error +
                "\n\nOs exercícios podem ser feitos; os novos resultados serão acrescentados ao arquivo.");
    } else {
        g_menu.history = read.history.records;
        if (read.history.skipped > 0)
            status = std::to_string(read.history.skipped) +
                     " linha(s) danificada(s) do histórico foram ignoradas; as demais estão abaixo.";
        const std::size_t waiting = recordsMissingFrom(g_menu.history, g_menu.pending).size();
        std::string error;
        if (!g_menu.pending.empty() && writeIntoHistory({}, error))
            status += (status.empty() ? "" : "\n") + std::to_string(waiting) +
                      " resultado(s) guardado(s) neste computador foram gravados no histórico.";
    }
    if (!g_menu.pending.empty())
        status += (status.empty() ? "" : "\n") + std::to_string(g_menu.pending.size()) +
                  " resultado(s) guardado(s) neste computador aguardam gravação no histórico.";
    fillPatientList();
    if (!status.empty()) setStatus(status);
}

void createControls() {
    control(L"STATIC", L"Paciente:", SS_LEFT, kMargin, 18, 80, 24, kPatientLabel);
    g_menu.patient = control(WC_COMBOBOXW, L"", CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,
                             kMargin + 84, 14, 256, 300, kPatient);
    control(L"BUTTON", L"Corrigir nome", BS_PUSHBUTTON | WS_TABSTOP, kMargin + 348, 12, 112, 30, kRename);
    control(L"BUTTON", L"Excluir paciente", BS_PUSHBUTTON | WS_TABSTOP, kMargin + 466, 12, 126, 30, kRemove);
    control(L"BUTTON", L"Abrir planilha", BS_PUSHBUTTON | WS_TABSTOP, kClientWidth - kMargin - 150, 12, 150, 30,
            kOpenSheet);
    control(L"BUTTON", L"Ajuda", BS_PUSHBUTTON | WS_TABSTOP, kClientWidth - kMargin - 150 - 10 - 100, 12, 100, 30,
            kHelp);
    const auto all = exercises();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const int x = kMargin + static_cast<int>(i) * (kButtonWidth + kButtonGap);
        // The name is the button's own text, for screen readers and the keyboard.
        g_menu.buttons[i] = control(L"BUTTON", ui::widen(all[i].name).c_str(), BS_OWNERDRAW | WS_TABSTOP, x,
                                    kButtonTop, kButtonWidth, kButtonHeight, kFirstExercise + static_cast<int>(i));
        g_menu.pictures[i] = static_cast<HBITMAP>(LoadImageW(g_menu.instance, MAKEINTRESOURCEW(kFirstPicture + i),
                                                             IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    }
    g_menu.status = control(L"STATIC", L"Escolha o paciente e o exercício.", SS_LEFT, kMargin, kStatusTop,
                            kClientWidth - 2 * kMargin, 44, kStatus);
    SendMessageW(g_menu.status, WM_SETFONT, reinterpret_cast<WPARAM>(g_menu.bigFont), FALSE);
    control(L"STATIC", L"Tentativas:", SS_LEFT, kMargin, kSessionTop + 5, 84, 22, kTrialsLabel);
    g_menu.trials = control(WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kMargin + 86, kSessionTop, 56,
                            200, kTrials);
    for (int n = kFewestTrials; n <= kMostTrials; ++n)
        SendMessageW(g_menu.trials, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(n).c_str()));
    SendMessageW(g_menu.trials, CB_SETCURSEL, static_cast<WPARAM>(storedTrials() - kFewestTrials), 0);
    g_menu.nextTrial = control(L"BUTTON", L"Próxima tentativa", BS_PUSHBUTTON | WS_TABSTOP, kMargin + 160, kSessionTop,
                               150, 30, kNextTrial);
    g_menu.endSession = control(L"BUTTON", L"Encerrar sessão", BS_PUSHBUTTON | WS_TABSTOP, kMargin + 318, kSessionTop,
                                140, 30, kEndSession);
    showSessionButtons(false);
    g_menu.listen = control(L"BUTTON", L"Ouvir", BS_PUSHBUTTON | WS_TABSTOP, kClientWidth - kMargin - 120 - 8 - 110,
                            kSessionTop, 110, 30, kListen);
    control(L"BUTTON", L"Relatório", BS_PUSHBUTTON | WS_TABSTOP, kClientWidth - kMargin - 120, kSessionTop, 120, 30,
            kReport);
    control(L"STATIC", L"Resultados", SS_LEFT, kMargin, kListTop - 24, kListWidth, 22, kResultsLabel);
    g_menu.results = control(L"LISTBOX", L"", LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP,
                             kMargin, kListTop, kListWidth, kClientHeight - kListTop - kMargin, kResults,
                             WS_EX_CLIENTEDGE);
    const int tabs[] = {64, 92};  // dialog units: date, exercise, time
    SendMessageW(g_menu.results, LB_SETTABSTOPS, 2, reinterpret_cast<LPARAM>(tabs));
    const int chartLeft = kMargin + kListWidth + 12;
    control(L"STATIC", L"Evolução dos tempos", SS_LEFT, chartLeft, kListTop - 24, 300, 22, kResultsLabel);
    g_menu.chart = createChart(g_menu.window, kChart,
                               {chartLeft, kListTop, kClientWidth - kMargin, kClientHeight - kMargin});
    SendMessageW(g_menu.chart, WM_SETFONT, reinterpret_cast<WPARAM>(g_menu.font), FALSE);
}

// One run of the session's exercise: its next trial.
void runTrial() {
    if (g_menu.running || !g_menu.session) return;
    const std::size_t index = g_menu.sessionExercise;
    const Exercise& exercise = exercises()[index];
    std::string error;
    switch (g_menu.run.start(g_menu.folder, exercise, error)) {
        case CExerciseRun::Start::missing:
            message("O programa " + programFile(exercise) + " (" + exercise.name +
                    ") não foi encontrado na pasta do Tavoral:\n" + ui::narrow(g_menu.folder));
            return;
        case CExerciseRun::Start::failed:
            message("Não foi possível iniciar " + programFile(exercise) + ":\n" + error);
            return;
        case CExerciseRun::Start::started:
            break;
    }
    g_menu.running = index;
    enableChoices(false);
    showSessionButtons(false);
    const TrialSession& session = *g_menu.session;
    const std::string which = session.planned() == 1 ? std::string()
                                                      : ", tentativa " + std::to_string(session.trial()) + " de " +
                                                            std::to_string(session.planned());
    setStatus(std::string("Em andamento: ") + exercise.name + which + " — paciente " + g_menu.runningPatient +
              ".\nO resultado será registrado quando o exercício terminar.");
}

// An exercise's button: a new session of it for the patient in the field.
void startSession(std::size_t index) {
    if (g_menu.running) return;
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const LocalTime start{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
    const int planned = chosenTrials();
    storeTrials(planned);
    g_menu.session.emplace(sessionId(start), exercises()[index].name, planned);
    g_menu.sessionExercise = index;
    g_menu.runningPatient = typedPatient();
    runTrial();
    if (!g_menu.running) g_menu.session.reset();  // it could not start
}

void endSession() {
    if (!g_menu.session || g_menu.running) return;
    g_menu.session->end();
    const bool several = g_menu.session->planned() > 1;
    const std::string summary = g_menu.session->summaryText();
    g_menu.session.reset();
    showSessionButtons(false);
    enableChoices(true);
    if (several) setStatus(summary);
}

// Asks whether to try again a change of the history that failed; true for Retry.
bool askRetry(const std::string& what, const std::string& error, const std::string& onCancel) {
    return ui::showMessage(g_menu.window,
                           "Não foi possível gravar " + what + " no histórico\n" + historyPathText() + "\n" + error +
                               "\n\nSe a planilha estiver aberta, feche-a e tente novamente." + onCancel,
                           kCaption, MB_RETRYCANCEL | MB_ICONWARNING) == IDRETRY;
}

// Keeps the result: in the history, or, when the therapist gives up
// retrying, on this computer until the history can be written.  A
// confirmed time never lives in the status line alone.
Kept recordResult(const HistoryRecord& record) {
    if (g_menu.place.path.empty()) return Kept::lost;
    for (;;) {
        std::string error;
        if (writeIntoHistory({record}, error)) return Kept::inHistory;
        if (!askRetry("o resultado (" + record.exercise + ", " + timeText(record.hundredths) + ")", error,
                      "\nSe cancelar, o resultado fica guardado neste computador e será gravado no histórico depois."))
            break;
    }
    std::string error;
    if (appendToHistoryFile(g_menu.place.pendingPath, {record}, error)) {
        g_menu.pending.push_back(record);
        return Kept::pending;
    }
    message("Também não foi possível guardar o resultado neste computador\n" + ui::narrow(g_menu.place.pendingPath) +
                "\n" + error + "\n\nAnote-o: " + record.patient + ", " + record.exercise + ", " +
                timeText(record.hundredths) + ".",
            MB_OK | MB_ICONERROR);
    return Kept::lost;
}

HistoryRecord recordNow(const Exercise& exercise, int hundredths) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond},
            g_menu.runningPatient,
            exercise.name,
            hundredths,
            g_menu.session->id(),
            g_menu.session->trial(),
            ""};
}

std::wstring recordingsFolder() { return g_menu.place.folder + L"\\" + ui::widen(kRecordingsFolder); }

// A folder beside the history.  As for the history itself, only the last
// two folders are ever made: a network folder out of reach is never made
// again on this computer.
void makeFolderBesideHistory(const std::wstring& folder) {
    CreateDirectoryW(g_menu.place.folder.c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
}

// The trial's sound goes beside the history, named from its record; what
// cannot be moved there is said, and the time is kept without it.
std::string keepRecording(const std::wstring& sound, HistoryRecord& record) {
    if (sound.empty()) return " (o exercício não gravou o som desta tentativa)";
    if (g_menu.place.folder.empty()) return " (o som não foi guardado: não há pasta do histórico)";
    const std::wstring folder = recordingsFolder();
    makeFolderBesideHistory(folder);
    // Never over another trial's sound: another computer sharing the
    // history may have kept one under this name in the same second.
    DWORD error = ERROR_FILE_EXISTS;
    for (int copy = 1; copy <= 9 && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS); ++copy) {
        const std::string name = recordingName(record, copy);
        if (MoveFileExW(sound.c_str(), (folder + L"\\" + ui::widen(name)).c_str(),
                        MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH)) {
            record.recording = name;
            return "";
        }
        error = GetLastError();
    }
    return " (o som não pôde ser guardado em " + ui::narrow(folder) + ": " + systemErrorText(error) + ")";
}

void finishExercise() {
    const Exercise& exercise = exercises()[*g_menu.running];
    const CExerciseRun::Outcome outcome = g_menu.run.finish();
    g_menu.running.reset();
    InvalidateRect(g_menu.window, nullptr, FALSE);
    TrialSession& session = *g_menu.session;
    RunEnd end{resultFile(exercise), outcome.unreadable};
    HistoryRecord record;
    if (!outcome.unreadable && outcome.hundredths >= 0) {
        record = recordNow(exercise, outcome.hundredths);
        end.soundNote = keepRecording(outcome.sound, record);
        end.kept = recordResult(record);
        end.record = &record;
    }
    const std::string said = session.runEnded(end);
    if (end.record) fillPatientList();
    if (session.finished()) {
        g_menu.session.reset();
        enableChoices(true);
    } else {
        // The patient rests; the therapist starts the next trial or ends here.
        showSessionButtons(true);
        SetFocus(g_menu.nextTrial);
    }
    showPatient();
    // Said last: once the status no longer says the exercise runs, the
    // buttons and the list already are what the therapist acts on next.
    setStatus(said);
    SetForegroundWindow(g_menu.window);
}

// --- listening to a trial, the report ---------------------------------------

void stopListening() {
    if (!g_menu.listening) return;
    PlaySoundW(nullptr, nullptr, 0);
    KillTimer(g_menu.window, kListenTimer);
    g_menu.listening = false;
    SetWindowTextW(g_menu.listen, L"Ouvir");
}

// The chosen trial's sound, played while the menu goes on; pressed again,
// or another line chosen, it stops.
void listen() {
    if (g_menu.listening) {
        stopListening();
        return;
    }
    const LRESULT at = SendMessageW(g_menu.results, LB_GETCURSEL, 0, 0);
    const HistoryRecord* record =
        at == LB_ERR || static_cast<std::size_t>(at) >= g_menu.rows.size() ? nullptr : g_menu.rows[static_cast<std::size_t>(at)].record;
    if (!record) {
        message("Escolha na lista de resultados a tentativa que quer ouvir.", MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (!isPlainFileName(record->recording)) {
        message("Esta tentativa não tem gravação.", MB_OK | MB_ICONINFORMATION);
        return;
    }
    const std::wstring path = recordingsFolder() + L"\\" + ui::widen(record->recording);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        message("A gravação desta tentativa não foi encontrada:\n" + ui::narrow(path));
        return;
    }
    if (!PlaySoundW(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT)) {
        message("A gravação desta tentativa não pôde ser tocada:\n" + ui::narrow(path));
        return;
    }
    // The button turns back when the sound is over: its length is its size.
    const uint64_t bytes = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    const UINT ms = static_cast<UINT>(std::min<uint64_t>(bytes > 44 ? (bytes - 44) * 1000 / (2 * 11025) : 0, 11 * 60 * 1000));
    g_menu.listening = true;
    SetWindowTextW(g_menu.listen, L"Parar");
    SetTimer(g_menu.window, kListenTimer, ms + 300, nullptr);
}

bool writeWholeFile(const std::wstring& path, const std::string& bytes, std::string& error) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = systemErrorText(GetLastError());
        return false;
    }
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size() && FlushFileBuffers(file);
    if (!ok) error = systemErrorText(GetLastError());
    CloseHandle(file);
    if (!ok) DeleteFileW(path.c_str());
    return ok;
}

// The patient's report, written beside the history and opened in the
// program Windows has for web pages, from which it is printed.
void writeReport() {
    const std::string patient = typedPatient();
    if (patient == kNoName && fieldText(g_menu.patient).find_first_not_of(L" \t") == std::wstring::npos) {
        message("Escolha ou digite o paciente do relatório.", MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (g_menu.place.folder.empty()) {
        message("Não há pasta do histórico onde guardar o relatório.");
        return;
    }
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const LocalTime today{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
    const std::wstring folder = g_menu.place.folder + L"\\" + ui::widen(kReportsFolder);
    makeFolderBesideHistory(folder);
    const std::wstring path = folder + L"\\" + ui::widen(reportFileName(patient, today));
    std::string error;
    if (!writeWholeFile(path, reportHtml(patient, today, recordsOf(allRecords(), patient)), error)) {
        message("Não foi possível gravar o relatório\n" + ui::narrow(path) + "\n" + error);
        return;
    }
    setStatus("Relatório de " + patient + " gravado em\n" + ui::narrow(path));
    const auto opened = reinterpret_cast<INT_PTR>(ShellExecuteW(g_menu.window, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (opened <= 32)
        message("Nenhum programa deste computador abre páginas (.html). O relatório está em\n" + ui::narrow(path),
                MB_OK | MB_ICONINFORMATION);
}

// The spreadsheet gets a copy: holding the live file open would make every
// append fail, and saving it back would change what the menu reads.
void openSheet() {
    std::string error;
    const std::wstring copy = g_menu.place.path.empty()
                                  ? std::wstring()
                                  : writeSpreadsheetCopy(g_menu.place.path, recordsMissingFrom(g_menu.history, g_menu.pending), error);
    if (copy.empty()) {
        if (error.empty()) message("Ainda não há resultados no histórico.", MB_OK | MB_ICONINFORMATION);
        else message("Não foi possível preparar a cópia do histórico para a planilha:\n" + error);
        return;
    }
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(g_menu.window, L"open", copy.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32)
        message("Nenhum programa deste computador abre planilhas (.csv). A cópia do histórico está em\n" +
                ui::narrow(copy));
}

// --- correcting a name, removing a patient ----------------------------------

struct RenameBox {
    std::string current;
    std::string typed;
};

void OnRenameCommand(HWND dialog, int id, HWND, UINT) {
    if (id != IDOK && id != IDCANCEL) return;
    if (id == IDOK) {
        auto* box = reinterpret_cast<RenameBox*>(GetWindowLongPtrW(dialog, DWLP_USER));
        box->typed = ui::narrow(fieldText(GetDlgItem(dialog, IDC_RENAME_NEW)));
    }
    EndDialog(dialog, id);
}

BOOL OnRenameInitDialog(HWND dialog, HWND, LPARAM param) {
    SetWindowLongPtrW(dialog, DWLP_USER, param);
    const auto* box = reinterpret_cast<const RenameBox*>(param);
    SetDlgItemTextW(dialog, IDC_RENAME_CURRENT, ui::widen("Nome atual: " + box->current).c_str());
    SetDlgItemTextW(dialog, IDC_RENAME_NEW, ui::widen(box->current).c_str());
    SendDlgItemMessageW(dialog, IDC_RENAME_NEW, EM_SETSEL, 0, -1);
    return TRUE;
}

INT_PTR CALLBACK renameProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_DLG_MSG(dialog, WM_INITDIALOG, OnRenameInitDialog);
        HANDLE_DLG_MSG(dialog, WM_COMMAND, OnRenameCommand);
    }
    return FALSE;
}

// The patient in the field, when the history has one of that name.
std::optional<std::string> chosenPatient(const char* action) {
    const std::string patient = typedPatient();
    if (recordsOf(allRecords(), patient).empty()) {
        message(std::string("Para ") + action + ", escolha na lista um paciente do histórico.",
                MB_OK | MB_ICONINFORMATION);
        return std::nullopt;
    }
    return patient;
}

std::string resultsText(std::size_t n) { return std::to_string(n) + (n == 1 ? " resultado" : " resultados"); }

// Rewrites the history and the pending file with `edit`, retrying while
// another program holds the history.  True when both are done.
bool rewriteBoth(const HistoryEdit& edit, const std::string& what) {
    CHistoryDisk disk;
    for (;;) {
        const RewriteOutcome outcome = rewriteHistory(disk, historyPathText(), edit);
        if (outcome.status == DiskStatus::ok) {
            if (outcome.backupLeft)
                message("A alteração foi feita, mas a cópia de segurança " +
                        backupFileFor(historyPathText()) + " não pôde ser apagada; apague-a.");
            break;
        }
        if (!outcome.oldFileAt.empty()) {
            message("Não foi possível " + what + ": " + outcome.error + "\nO histórico está inteiro em\n" +
                        outcome.oldFileAt + "\nO Tavoral o recolocará no lugar quando for aberto de novo.",
                    MB_OK | MB_ICONERROR);
            return false;
        }
        if (outcome.status != DiskStatus::busy) {
            message("Não foi possível " + what + ": " + outcome.error + "\nO histórico não foi alterado.");
            return false;
        }
        if (!askRetry("a alteração", outcome.error, "\nSe cancelar, nada será alterado.")) return false;
    }
    const RewriteOutcome pending = rewriteHistory(disk, ui::narrow(g_menu.place.pendingPath), edit);
    if (pending.status != DiskStatus::ok)
        message("O histórico foi alterado, mas os resultados guardados neste computador\n" +
                ui::narrow(g_menu.place.pendingPath) + "\nnão: " + pending.error);
    return pending.status == DiskStatus::ok;
}

// What the files hold after a rewrite, shown again.
void reloadHistory() {
    const HistoryRead read = readHistoryFile(g_menu.place.path);
    if (read.status == ReadStatus::ok) g_menu.history = read.history.records;
    g_menu.pending = readHistoryFile(g_menu.place.pendingPath).history.records;
    fillPatientList();
}

void renamePatient() {
    const auto patient = chosenPatient("corrigir um nome");
    if (!patient) return;
    RenameBox box{*patient, {}};
    if (DialogBoxParamW(g_menu.instance, MAKEINTRESOURCEW(IDD_RENAME), g_menu.window, renameProc,
                        reinterpret_cast<LPARAM>(&box)) != IDOK)
        return;
    const std::string newName = patientName(box.typed);
    if (newName == kNoName && box.typed.find_first_not_of(" \t") == std::string::npos) {
        message("Digite o novo nome.", MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (newName == *patient) return;
    const std::vector<HistoryRecord> all = allRecords();
    const std::size_t mine = recordsOf(all, *patient).size();
    if (!samePatient(newName, *patient)) {
        const std::string other = canonicalPatient(all, newName);
        if (const std::size_t theirs = recordsOf(all, other).size(); theirs > 0 &&
            ui::showMessage(g_menu.window,
                            "Já existe no histórico o paciente " + other + " (" + resultsText(theirs) + ").\n\nOs " +
                                resultsText(mine) + " de " + *patient + " passarão a ser de " + other +
                                ". Continuar?",
                            kCaption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
            return;
    }
    const bool done = rewriteBoth({*patient, newName}, "corrigir o nome");
    reloadHistory();
    if (done) {
        const std::string kept = canonicalPatient(allRecords(), newName);
        SetWindowTextW(g_menu.patient, ui::widen(kept).c_str());
        setStatus("O nome " + *patient + " foi corrigido para " + kept + " em " + resultsText(mine) + ".");
    }
    showPatient();
}

// What the menu keeps of a patient beside the history, each trial's sound
// and the reports, goes with the patient; what cannot be erased is named,
// never said to be gone.  Returns how many files were erased.
int eraseFilesOf(const std::string& patient, const std::vector<HistoryRecord>& theirs) {
    if (g_menu.place.folder.empty()) return 0;
    int erased = 0;
    std::string left;
    const auto erase = [&](const std::wstring& path) {
        if (DeleteFileW(path.c_str())) {
            ++erased;
            return;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
            left += "\n" + ui::narrow(path) + " (" + systemErrorText(error) + ")";
    };
    // A sound the history still names is another patient's.
    const std::vector<HistoryRecord> others = allRecords();
    for (const HistoryRecord& r : theirs)
        if (isPlainFileName(r.recording) &&
            std::none_of(others.begin(), others.end(), [&](const HistoryRecord& o) { return o.recording == r.recording; }))
            erase(recordingsFolder() + L"\\" + ui::widen(r.recording));
    const std::wstring reports = g_menu.place.folder + L"\\" + ui::widen(kReportsFolder);
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    if (HANDLE search = FindFirstFileW((reports + L"\\*.html").c_str(), &found); search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && isReportOf(ui::narrow(found.cFileName), patient))
                names.push_back(found.cFileName);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    for (const std::wstring& name : names) erase(reports + L"\\" + name);
    if (!left.empty())
        message("O paciente " + patient + " foi excluído do histórico, mas estes arquivos dele não puderam ser apagados; "
                "apague-os à mão:" + left);
    return erased;
}

void removePatient() {
    const auto patient = chosenPatient("excluir um paciente");
    if (!patient) return;
    const std::vector<HistoryRecord> theirs = recordsOf(allRecords(), *patient);
    const std::size_t mine = theirs.size();
    if (ui::showMessage(g_menu.window,
                        "Excluir o paciente " + *patient + " e seus " + resultsText(mine) +
                            " do histórico?\n\nOs resultados, as gravações e os relatórios do paciente são apagados "
                            "para sempre; isto não pode ser desfeito.",
                        kCaption, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
        return;
    const bool done = rewriteBoth({*patient, std::nullopt}, "excluir o paciente");
    reloadHistory();
    if (done) {
        const int files = eraseFilesOf(*patient, theirs);
        SetWindowTextW(g_menu.patient, L"");
        setStatus("O paciente " + *patient + " foi excluído do histórico (" + resultsText(mine) + ")." +
                  (files > 0 ? " Também foram apagados " + std::to_string(files) + " arquivo(s) de gravação e relatório."
                             : ""));
    }
    showPatient();
}

// The suite's help, in its own viewer beside the menu (the one F1 opens in
// the games); the menu goes on meanwhile.
void openHelp() {
    std::wstring command = L"\"" + g_menu.folder + L"\\winhlp32.exe\" " + g_menu.folder + L"\\hlp\\brisalto";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, g_menu.folder.c_str(), &startup,
                        &process)) {
        message("A ajuda (winhlp32.exe) não foi encontrada na pasta do Tavoral:\n" + ui::narrow(g_menu.folder));
        return;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// --- the window's messages ---------------------------------------------------

BOOL OnCreate(HWND hwnd, LPCREATESTRUCT) {
    g_menu.window = hwnd;
    createControls();
    return TRUE;
}

void OnCommand(HWND, int id, HWND, UINT code) {
    if (id >= kFirstExercise && id < kFirstExercise + static_cast<int>(kExerciseCount) && code == BN_CLICKED) {
        startSession(static_cast<std::size_t>(id - kFirstExercise));
    } else if (id == kNextTrial && code == BN_CLICKED) {
        runTrial();
    } else if (id == kEndSession && code == BN_CLICKED) {
        endSession();
    } else if (id == kListen && code == BN_CLICKED) {
        listen();
    } else if (id == kReport && code == BN_CLICKED) {
        writeReport();
    } else if (id == kResults && code == LBN_SELCHANGE) {
        stopListening();
    } else if (id == kOpenSheet && code == BN_CLICKED) {
        openSheet();
    } else if (id == kHelp && code == BN_CLICKED) {
        openHelp();
    } else if (id == kRename && code == BN_CLICKED) {
        renamePatient();
    } else if (id == kRemove && code == BN_CLICKED) {
        removePatient();
    } else if (id == kPatient && code == CBN_EDITCHANGE) {
        stopListening();
        showPatient();
    } else if (id == kPatient && code == CBN_SELCHANGE) {
        // The field shows the chosen name only after this notification.
        PostMessageW(g_menu.window, WM_APP_PATIENT_CHOSEN, 0, 0);
    }
}

void drawExerciseButton(const DRAWITEMSTRUCT& item) {
    const std::size_t index = item.CtlID - kFirstExercise;
    const bool pressed = item.itemState & ODS_SELECTED, disabled = item.itemState & ODS_DISABLED;
    const bool running = g_menu.running == index;
    RECT box = item.rcItem;
    HBRUSH face = CreateSolidBrush(running ? kRunningFace : GetSysColor(COLOR_BTNFACE));
    FillRect(item.hDC, &box, face);
    DeleteObject(face);
    DrawEdge(item.hDC, &box, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    const int shift = pressed ? 1 : 0;
    if (HBITMAP picture = g_menu.pictures[index]) {
        HDC memory = CreateCompatibleDC(item.hDC);
        HGDIOBJ old = SelectObject(memory, picture);
        const int x = box.left + (box.right - box.left - kPictureWidth) / 2 + shift;
        BitBlt(item.hDC, x, box.top + 10 + shift, kPictureWidth, kPictureHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    wchar_t text[32];
    GetWindowTextW(item.hwndItem, text, 32);
    RECT label{box.left + shift, box.top + 10 + kPictureHeight + shift, box.right + shift, box.bottom - 4 + shift};
    HGDIOBJ oldFont = SelectObject(item.hDC, g_menu.bigFont);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, disabled && !running ? GetSysColor(COLOR_GRAYTEXT) : GetSysColor(COLOR_BTNTEXT));
    DrawTextW(item.hDC, text, -1, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(item.hDC, oldFont);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = box;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(item.hDC, &focus);
    }
}

void OnDrawItem(HWND, const DRAWITEMSTRUCT* item) {
    if (item->CtlType == ODT_BUTTON && item->CtlID >= kFirstExercise &&
        item->CtlID < kFirstExercise + kExerciseCount)
        drawExerciseButton(*item);
}

void OnClose(HWND hwnd) {
    if (g_menu.running) {
        message(std::string("O exercício ") + exercises()[*g_menu.running].name +
                    " ainda está aberto. Termine-o antes de fechar o Tavoral.",
                MB_OK | MB_ICONINFORMATION);
        return;
    }
    DestroyWindow(hwnd);
}

void OnTimer(HWND, UINT id) {
    if (id == kListenTimer) stopListening();
}

void OnDestroy(HWND) {
    stopListening();
    for (HBITMAP& picture : g_menu.pictures)
        if (picture) DeleteObject(picture);
    PostQuitMessage(0);
}

LRESULT CALLBACK menuProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(hwnd, WM_CREATE, OnCreate);
        HANDLE_MSG(hwnd, WM_COMMAND, OnCommand);
        HANDLE_MSG(hwnd, WM_DRAWITEM, OnDrawItem);
        HANDLE_MSG(hwnd, WM_CLOSE, OnClose);
        HANDLE_MSG(hwnd, WM_TIMER, OnTimer);
        HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
        case WM_APP_PATIENT_CHOSEN:
            showPatient();
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HFONT makeFont(int height, int weight) {
    return CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
}

HWND createMenuWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = menuProc;
    wc.hInstance = g_menu.instance;
    wc.hIcon = LoadIconW(g_menu.instance, MAKEINTRESOURCEW(101));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    if (!RegisterClassW(&wc) || !registerChartClass(g_menu.instance)) return nullptr;
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRect(&frame, style, FALSE);
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    const int x = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - w) / 2);
    const int y = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - h) / 2);
    return CreateWindowExW(0, kWindowClass, ui::widen(kWindowTitle).c_str(), style, x, y, w, h, nullptr, nullptr,
                           g_menu.instance, nullptr);
}

// Waits for messages and, while an exercise runs, for its end: the menu
// stays responsive and uses no processor while it waits.
int runMessageLoop() {
    for (;;) {
        HANDLE process = g_menu.run.process();
        const DWORD woke = MsgWaitForMultipleObjects(process ? 1 : 0, process ? &process : nullptr, FALSE,
                                                     INFINITE, QS_ALLINPUT);
        if (process && woke == WAIT_OBJECT_0) {
            finishExercise();
            continue;
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
            if (!IsDialogMessageW(g_menu.window, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
}

}  // namespace

namespace {

// Two menus would each take an exercise's result file for their own: the
// second start only brings the first forward.
bool bringTheFirstMenuForward() {
    HWND first = nullptr;
    // The first may be starting still: its window comes within moments.
    for (int i = 0; i < 100 && !(first = FindWindowW(kWindowClass, nullptr)); ++i) Sleep(100);
    if (!first) return false;
    if (IsIconic(first)) ShowWindow(first, SW_RESTORE);
    SetForegroundWindow(first);
    return true;
}

}  // namespace

int RunMenu(HINSTANCE instance) {
    HANDLE oneMenu = CreateMutexW(nullptr, FALSE, kOneMenuMutex);
    if (oneMenu && GetLastError() == ERROR_ALREADY_EXISTS) {
        bringTheFirstMenuForward();
        CloseHandle(oneMenu);
        return 0;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    g_menu.instance = instance;
    g_menu.folder = folderOfThisProgram();
    g_menu.font = makeFont(15, FW_NORMAL);
    g_menu.bigFont = makeFont(18, FW_BOLD);
    HWND window = createMenuWindow();
    if (!window) {
        ui::showMessage(nullptr, "Não foi possível criar a janela do Tavoral.", kCaption, MB_OK | MB_ICONERROR);
        return 1;
    }
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    // The history is read once the window shows, so that what it has to
    // say (a folder out of reach) appears over the menu.
    loadHistory();
    showPatient();
    const int code = runMessageLoop();
    DeleteObject(g_menu.font);
    DeleteObject(g_menu.bigFont);
    if (oneMenu) CloseHandle(oneMenu);
    return code;
}

}  // namespace menu
