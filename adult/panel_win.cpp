#include "adult/panel_win.h"

#include <optional>
#include <string>

#include "adult/adult_state.h"
#include "adult/adult_window_win.h"
#include "adult/graph.h"
#include "adult/graph_win.h"
#include "adult/measurement.h"
#include "phonation/capture_session.h"
#include "phonation/result_file.h"
#include "phonation/time_text.h"
#include "voice/capture_watch_win.h"
#include "voice/dialog_proc_win.h"
#include "voice/intensity.h"
#include "voice/user_message_win.h"
#include "voice/wave_recorder_win.h"

namespace adult {
namespace {

constexpr int kPanelResource = 131;
constexpr RECT kPanelPlace{40, 50, 40 + 290, 50 + 140};

HWND g_panel = nullptr;
HBRUSH g_brush = nullptr;
HRGN g_uncovered = nullptr;  // what a scroll uncovered, kept for the panel's life
std::optional<BarGraph> g_graph;
phonation::CaptureSession g_session;  // the phonation timer of the running recording

voice::CWaveRecorder& recorder() { return voice::waveRecorder(); }

struct PhonationEvents final : phonation::IPhonationEvents {
    void renderFrame() override {}  // the bars and the box are already up to date
    void requestStop() override { recorder().RequestStop(); }
};

// The box is drawn only when its text changes: while nobody phonates it
// stays at zero and costs nothing.  The main window repaints it from here.
std::string g_shownTime;

void showTime(const std::string& time) {
    HWND main = mainWindow();
    if (!main || time == g_shownTime) return;
    g_shownTime = time;
    HDC dc = GetDC(main);
    drawTimeBox(dc, timeFont(), time);
    ReleaseDC(main, dc);
}

// Scrolls when the panel is full and draws the new bar, all in one device
// context: only the strip the scroll uncovered is painted anew.
void addBar(HWND panel, int16_t amplitude) {
    if (!g_graph) return;
    const BarStep step = g_graph->add(amplitude);
    HDC dc = GetDC(panel);
    if (step.scrollBy) {
        RECT client;
        GetClientRect(panel, &client);
        // Whatever could not be scrolled (the panel was partly covered) is
        // repainted from the history, where the bars belong.
        if (!scrollLeft(dc, client, step.scrollBy, g_brush, g_uncovered)) InvalidateRgn(panel, g_uncovered, TRUE);
    }
    drawBars(dc, std::span(&step.bar, 1));
    ReleaseDC(panel, dc);
}

// The amplitude is read from the raw samples, before the intensity
// measurement filters them in place.
int16_t rawAmplitude(const WAVEHDR* header) {
    if (!recorder().ownsHeader(header) || (header->dwFlags & WHDR_DONE) == 0) return 0;
    DWORD bytes = header->dwBytesRecorded;
    if (bytes > header->dwBufferLength) bytes = header->dwBufferLength;
    const WAVEFORMATEX& format = recorder().format();
    return meanPositiveAmplitude(header->lpData, bytes, format.wBitsPerSample, format.nChannels);
}

// MM_WIM_DATA.  Phonations are timed on the recording's own clock, so a
// busy machine delays the picture, never the patient's time.  What a
// stopped device still hands back is released and measures nothing.
void OnCapturedBuffer(HWND panel, WAVEHDR* header) {
    const int16_t amplitude = rawAmplitude(header);
    voice::processCapturedBuffer(recorder(), header, true, [&](std::optional<float> level) {
        if (!level || !g_session.open() || recorder().stopRequested()) return;
        PhonationEvents events;
        const BufferOutcome outcome =
            measureBuffer(*level, g_session, voice::intensitySettings(), recorder().recordedMs(), events);
        if (outcome.inBand) addBar(panel, amplitude);
        if (outcome.timeBoxMs) showTime(phonation::timeText(*outcome.timeBoxMs));
    });
}

// MM_WIM_CLOSE: a phonation taken waits for the therapist's confirmation.
void OnCaptureClosed(HWND panel) {
    recorder().markDeviceClosed();
    const std::optional<float> elapsedMs = g_session.takeResult();
    if (!elapsedMs) return;  // stopped for a dialog or by the main window
    const std::string time = phonation::timeText(phonation::splitTime(*elapsedMs));
    showTime(time);
    if (ui::showMessage(panel, phonation::confirmationQuestion(time), "", MB_YESNO) == IDYES) {
        if (phonation::writeResultFile(kResultFile, time))
            adultState().resultSaved = true;
        else
            ui::showMessage(nullptr, "Erro Criando Arq. Temporário", "", MB_OK);
        DestroyWindow(panel);  // ends the program
        return;
    }
    startCapture();  // the graph stays; the next phonation is timed from its own start
}

// The microphone went away: the phonation being timed is dropped.
void OnCaptureWatch(HWND panel) {
    if (!voice::MicrophoneLost(panel)) return;
    endCapture();
    voice::ReportLostMicrophone(mainWindow(), "Tempo Expiratório");
}

BOOL OnEraseBackground(HWND, HDC dc) {
    RECT area;
    GetClipBox(dc, &area);
    FillRect(dc, &area, g_brush);
    return TRUE;
}

void OnPaint(HWND panel) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(panel, &paint);
    if (g_graph) {
        const std::vector<Bar> bars = g_graph->repaint();
        drawBars(dc, bars, &paint.rcPaint);
    }
    EndPaint(panel, &paint);
}

void OnDestroy(HWND) {
    g_graph.reset();
    if (g_brush) DeleteObject(g_brush);
    if (g_uncovered) DeleteObject(g_uncovered);
    g_brush = nullptr;
    g_uncovered = nullptr;
    g_panel = nullptr;
    // A result file is only ever one confirmed in this run.
    if (!adultState().resultSaved) phonation::removeResultFile(kResultFile);
    PostQuitMessage(0);
}

BOOL OnInitDialog(HWND panel, HWND, LPARAM) {
    g_brush = CreateSolidBrush(kPanelColour);
    g_uncovered = CreateRectRgn(0, 0, 0, 0);
    voice::StartCaptureWatch(panel);
    return FALSE;
}

void OnTimer(HWND panel, UINT id) {
    if (voice::IsCaptureWatch(id)) OnCaptureWatch(panel);
}

// The keys (Esc, the menu's) belong to the main window.
void OnSetFocus(HWND panel, HWND) { SetFocus(GetParent(panel)); }

void OnCommand(HWND panel, int id, HWND, UINT) {
    if (id == IDCANCEL) EndDialog(panel, 0);
}

INT_PTR CALLBACK PanelProc(HWND panel, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_DLG_MSG(panel, WM_INITDIALOG, OnInitDialog);
        HANDLE_DLG_MSG(panel, WM_TIMER, OnTimer);
        HANDLE_DLG_MSG(panel, WM_ERASEBKGND, OnEraseBackground);
        HANDLE_DLG_MSG(panel, WM_PAINT, OnPaint);
        HANDLE_DLG_MSG(panel, WM_SETFOCUS, OnSetFocus);
        HANDLE_DLG_MSG(panel, WM_COMMAND, OnCommand);
        HANDLE_DLG_MSG(panel, WM_DESTROY, OnDestroy);
    // The capture's notifications have no crackers of their own.
    case MM_WIM_DATA: OnCapturedBuffer(panel, reinterpret_cast<WAVEHDR*>(lParam)); return TRUE;
    case MM_WIM_CLOSE: OnCaptureClosed(panel); return TRUE;
    case MM_WIM_OPEN:
    case WM_LBUTTONDBLCLK: return TRUE;
    }
    return FALSE;
}

}  // namespace

HWND CreatePanel(HINSTANCE instance, HWND main) {
    g_panel = CreateDialogParamW(instance, MAKEINTRESOURCEW(kPanelResource), main, PanelProc, 0);
    if (!g_panel) return nullptr;
    MoveWindow(g_panel, kPanelPlace.left, kPanelPlace.top, kPanelPlace.right - kPanelPlace.left,
               kPanelPlace.bottom - kPanelPlace.top, FALSE);
    RECT client;
    GetClientRect(g_panel, &client);
    g_graph.emplace(client.right, client.bottom);
    ShowWindow(g_panel, SW_SHOWNORMAL);
    SetFocus(main);
    return g_panel;
}

bool startCapture() {
    g_session.begin();
    if (g_panel && recorder().Start(g_panel)) return true;
    g_session.close();
    return false;
}

void stopCapture() {
    g_session.close();
    recorder().RequestStop();
}

void endCapture() {
    g_session.close();
    recorder().WindDown();
}

const std::string& shownTime() { return g_shownTime; }

void restartTimer() { g_session.resetTimer(); }

}  // namespace adult
