#include "adult/panel_win.h"

#include <optional>
#include <string>

#include "adult/adult_window_win.h"
#include "adult/graph.h"
#include "adult/graph_win.h"
#include "adult/measurement.h"
#include "phonation/capture_session.h"
#include "phonation/time_text.h"
#include "winui/dialog_proc_win.h"
#include "voice/intensity.h"
#include "voice/wave_recorder_win.h"

namespace adult {
namespace {

constexpr int kPanelResource = 131;
constexpr RECT kPanelPlace{40, 50, 40 + 290, 50 + 140};

// Everything the panel keeps, for the program's only thread.
struct Panel {
    HWND window = nullptr;
    HBRUSH brush = nullptr;
    HRGN uncovered = nullptr;  // what a scroll uncovered, kept for the panel's life
    std::optional<BarGraph> graph;
    std::string shownTime;
    int16_t amplitude = 0;     // of the buffer being measured
    measure::Driver* driver = nullptr;
};
Panel p;

voice::CWaveRecorder& recorder() { return voice::waveRecorder(); }

struct PhonationEvents final : phonation::IPhonationEvents {
    void renderFrame() override {}  // the bars and the box are already up to date
    void requestStop() override { recorder().RequestStop(); }
};

// Scrolls when the panel is full and draws the new bar, all in one device
// context: only the strip the scroll uncovered is painted anew.
void addBar(HWND panel, int16_t amplitude) {
    if (!p.graph) return;
    const BarStep step = p.graph->add(amplitude);
    HDC dc = GetDC(panel);
    if (step.scrollBy) {
        RECT client;
        GetClientRect(panel, &client);
        // Whatever could not be scrolled (the panel was partly covered) is
        // repainted from the history, where the bars belong.
        if (!scrollLeft(dc, client, step.scrollBy, p.brush, p.uncovered)) InvalidateRgn(panel, p.uncovered, TRUE);
    }
    drawBars(dc, std::span(&step.bar, 1));
    ReleaseDC(panel, dc);
}

BOOL OnEraseBackground(HWND, HDC dc) {
    RECT area;
    GetClipBox(dc, &area);
    FillRect(dc, &area, p.brush);
    return TRUE;
}

void OnPaint(HWND panel) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(panel, &paint);
    if (p.graph) {
        const std::vector<Bar> bars = p.graph->repaint();
        drawBars(dc, bars, &paint.rcPaint);
    }
    EndPaint(panel, &paint);
}

void OnDestroy(HWND) {
    p.graph.reset();
    if (p.brush) DeleteObject(p.brush);
    if (p.uncovered) DeleteObject(p.uncovered);
    p.brush = nullptr;
    p.uncovered = nullptr;
    p.window = nullptr;
    PostQuitMessage(0);
}

BOOL OnInitDialog(HWND, HWND, LPARAM) {
    p.brush = CreateSolidBrush(kPanelColour);
    p.uncovered = CreateRectRgn(0, 0, 0, 0);
    return FALSE;
}

void OnTimer(HWND, UINT id) { p.driver->timer(id); }

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
    case MM_WIM_DATA: p.driver->captured(reinterpret_cast<WAVEHDR*>(lParam)); return TRUE;
    case MM_WIM_CLOSE: p.driver->captureClosed(); return TRUE;
    case MM_WIM_OPEN:
    case WM_LBUTTONDBLCLK: return TRUE;
    }
    return FALSE;
}

}  // namespace

HWND CreatePanel(HINSTANCE instance, HWND main, measure::Driver& driver) {
    p.driver = &driver;
    p.window = CreateDialogParamW(instance, MAKEINTRESOURCEW(kPanelResource), main, PanelProc, 0);
    if (!p.window) return nullptr;
    MoveWindow(p.window, kPanelPlace.left, kPanelPlace.top, kPanelPlace.right - kPanelPlace.left,
               kPanelPlace.bottom - kPanelPlace.top, FALSE);
    RECT client;
    GetClientRect(p.window, &client);
    p.graph.emplace(client.right, client.bottom);
    ShowWindow(p.window, SW_SHOWNORMAL);
    SetFocus(main);
    return p.window;
}

HWND panelWindow() { return p.window; }

// The amplitude is read from the raw samples, before the intensity
// measurement filters them in place.
void panelBeforeMeasure(const WAVEHDR* header) {
    p.amplitude = 0;
    if (!recorder().ownsHeader(header) || (header->dwFlags & WHDR_DONE) == 0) return;
    DWORD bytes = header->dwBytesRecorded;
    if (bytes > header->dwBufferLength) bytes = header->dwBufferLength;
    const WAVEFORMATEX& format = recorder().format();
    p.amplitude = meanPositiveAmplitude(header->lpData, bytes, format.wBitsPerSample, format.nChannels);
}

void panelMeasured(std::optional<float> level) {
    phonation::CaptureSession& session = p.driver->session();
    if (!level || !session.open() || recorder().stopRequested()) return;
    PhonationEvents events;
    const BufferOutcome outcome = measureBuffer(*level, session, voice::intensitySettings(), p.driver->clockMs(), events);
    if (outcome.inBand) addBar(p.window, p.amplitude);
    if (outcome.timeBoxMs) showTime(phonation::timeText(*outcome.timeBoxMs));
}

// The box is drawn only when its text changes: while nobody phonates it
// stays at zero and costs nothing.  The main window repaints it from here.
void showTime(const std::string& time) {
    HWND main = mainWindow();
    if (!main || time == p.shownTime) return;
    p.shownTime = time;
    HDC dc = GetDC(main);
    drawTimeBox(dc, timeFont(), time);
    ReleaseDC(main, dc);
}

const std::string& shownTime() { return p.shownTime; }

}  // namespace adult
