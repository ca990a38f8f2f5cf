// What the menu's window is made of, shared with the end-to-end tests that
// find its controls.
#pragma once

namespace menu {

inline constexpr wchar_t kWindowClass[] = L"TavoralMenu";
inline constexpr wchar_t kChartClass[] = L"TavoralChart";
inline constexpr char kWindowTitle[] = "Tavoral";

// Where the history file lives when set (a folder, a clinic's shared one
// for instance); otherwise %LOCALAPPDATA%\Tavoral.  The tests and
// `make run` point it at a folder of their own so a real user's history is
// never touched.
inline constexpr wchar_t kHistoryFolderVariable[] = L"TAVORAL_HISTORICO";
inline constexpr char kHistoryFileName[] = "historico.csv";

enum ControlId : int {
    kPatientLabel = 100,
    kPatient = 101,
    kOpenSheet = 102,
    kStatus = 103,
    kResultsLabel = 104,
    kResults = 105,
    kChart = 106,
    kHelp = 107,
    kRename = 108,
    kRemove = 109,
    kFirstExercise = 110,  // one button per exercise, in the order of exercises()
    kTrialsLabel = 120,
    kTrials = 121,       // how many trials a session has, 1 to 5
    kNextTrial = 122,    // "Próxima tentativa"
    kEndSession = 123,   // "Encerrar sessão"
    kListen = 124,       // "Ouvir": the chosen trial's sound
    kReport = 125,       // "Relatório"
};

// The number of trials is kept for the Windows user between runs.
inline constexpr wchar_t kSettingsKey[] = L"Software\\Tavoral";
inline constexpr wchar_t kTrialsValue[] = L"Tentativas";

// One menu per Windows session: a second start brings this one forward.
inline constexpr wchar_t kOneMenuMutex[] = L"Local\\TavoralMenu";

// Resource numbers of the exercise pictures, in the same order.
inline constexpr int kFirstPicture = 200;

}  // namespace menu
