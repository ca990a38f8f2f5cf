#include "shell/hud_win.h"

#include <windows.h>
#include <ddraw.h>

#include <array>
#include <cstdio>
#include <string>

#include "engine/ddraw_win.h"
#include "engine/display_config.h"
#include "shell/hud_layout.h"
#include "voice/intensity.h"
#include "winui/user_message_win.h"

namespace shell {
namespace {

constexpr COLORREF kHudKeyColour = RGB(128, 64, 255);

struct Hud {
    HFONT timeFont = nullptr;
    HFONT labelFont = nullptr;
    HBRUSH redBrush = nullptr;
    HBRUSH greenBrush = nullptr;
    IDirectDrawSurface* timeSurface = nullptr;
    IDirectDrawSurface* meterSurface = nullptr;
    SIZE timeSize{};
    LONG meterWidth = 0;
    // What the panels show now.  Drawing text into a DirectDraw surface
    // (GetDC, GDI, ReleaseDC) costs more than the whole frame's blits, so a
    // panel is drawn again only when what it shows has changed.
    std::wstring shownTime;
    std::array<SegmentColour, kMeterSegments> shownSegments{};
    float shownMinDb = 0, shownMaxDb = 0;
    bool panelsValid = false;
};
Hud g_hud;

bool largeScreen() { return engine::displayConfig().screenWidth > 320; }

void deleteFonts() {
    if (g_hud.timeFont) DeleteObject(g_hud.timeFont);
    if (g_hud.labelFont) DeleteObject(g_hud.labelFont);
    g_hud.timeFont = g_hud.labelFont = nullptr;
}

void createFontsAndBrushes() {
    deleteFonts();
    g_hud.timeFont = CreateFontW(largeScreen() ? 22 : 12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, VARIABLE_PITCH,
                                 L"Arial");
    g_hud.labelFont = CreateFontW(largeScreen() ? 10 : 6, 0, 900, 900, FW_NORMAL, FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_CHARACTER_PRECIS, CLIP_LH_ANGLES, NONANTIALIASED_QUALITY,
                                  VARIABLE_PITCH, L"Arial");
    if (!g_hud.redBrush) g_hud.redBrush = CreateSolidBrush(RGB(255, 0, 0));
    if (!g_hud.greenBrush) g_hud.greenBrush = CreateSolidBrush(RGB(0, 255, 0));
}

void measurePanels() {
    HDC screen = GetDC(nullptr);
    // Sized for the widest time: a space in place of the last digit (the
    // old sizing text) cut the last digit off.
    const std::wstring timeText = L"Tempo 00:00:00";
    const std::wstring meterText = L"Min: 000  dB                   ";
    HGDIOBJ old = SelectObject(screen, g_hud.timeFont);
    GetTextExtentPoint32W(screen, timeText.c_str(), static_cast<int>(timeText.size()), &g_hud.timeSize);
    SelectObject(screen, g_hud.labelFont);
    SIZE meter{};
    GetTextExtentPoint32W(screen, meterText.c_str(), static_cast<int>(meterText.size()), &meter);
    g_hud.meterWidth = meter.cx;
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
}

void setKey(IDirectDrawSurface* surface) {
    const uint32_t key = engine::gfxColorMatch(surface, kHudKeyColour);
    DDCOLORKEY colorKey{key, key};
    surface->SetColorKey(DDCKEY_SRCBLT, &colorKey);
}

void fillKey(HDC dc, int width, int height) {
    HBRUSH key = CreateSolidBrush(kHudKeyColour);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, key);
    DeleteObject(key);
}

bool drawTimePanel(const std::wstring& text) {
    HDC dc = nullptr;
    if (!g_hud.timeSurface || g_hud.timeSurface->GetDC(&dc) != DD_OK) return false;
    fillKey(dc, 300, 500);
    HGDIOBJ old = SelectObject(dc, g_hud.timeFont);
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, kHudKeyColour);
    SetBkMode(dc, OPAQUE);
    TextOutW(dc, 0, 0, text.c_str(), static_cast<int>(text.size()));
    SelectObject(dc, old);
    g_hud.timeSurface->ReleaseDC(dc);
    return true;
}

void drawLabel(HDC dc, float limit) {
    const std::wstring text = ui::widen(bandLabelText(limit));
    TextOutW(dc, bandLabelX(limit), kLabelY, text.c_str(), static_cast<int>(text.size()));
}

bool drawMeterPanel(const std::array<SegmentColour, kMeterSegments>& segments) {
    HDC dc = nullptr;
    if (!g_hud.meterSurface || g_hud.meterSurface->GetDC(&dc) != DD_OK) return false;
    const voice::IntensitySettings& settings = voice::intensitySettings();
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, kHudKeyColour);
    fillKey(dc, 200, 500);
    HGDIOBJ oldFont = SelectObject(dc, g_hud.labelFont);
    drawLabel(dc, settings.minDb);
    drawLabel(dc, settings.maxDb);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(GRAY_BRUSH));
    for (int i = 0; i < kMeterSegments; ++i) {
        switch (segments[static_cast<size_t>(i)]) {
        case SegmentColour::Red: SelectObject(dc, g_hud.redBrush); break;
        case SegmentColour::Green: SelectObject(dc, g_hud.greenBrush); break;
        case SegmentColour::Gray: SelectObject(dc, GetStockObject(GRAY_BRUSH)); break;
        }
        Rectangle(dc, kSegmentPitch * i, kSegmentTop, kSegmentPitch * i + kSegmentWidth, kSegmentBottom);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldFont);
    g_hud.meterSurface->ReleaseDC(dc);
    return true;
}

void copyPanel(IDirectDrawSurface* panel, int x, int y, LONG width, LONG height) {
    IDirectDrawSurface* back = engine::displayObjects().backBuffer;
    if (!panel || !back) return;
    RECT source{0, 0, width, height};
    back->BltFast(static_cast<DWORD>(x), static_cast<DWORD>(y), panel, &source,
                  DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
}

void releaseSurface(IDirectDrawSurface*& surface) {
    if (surface) surface->Release();
    surface = nullptr;
}

}  // namespace

bool CreateHud() {
    createFontsAndBrushes();
    measurePanels();
    releaseSurface(g_hud.timeSurface);
    releaseSurface(g_hud.meterSurface);
    g_hud.timeSurface = engine::gfxCreateOffscreen(g_hud.timeSize.cx, g_hud.timeSize.cy, false, true);
    g_hud.meterSurface = engine::gfxCreateOffscreen(g_hud.meterWidth, kMeterHeight, false, true);
    g_hud.panelsValid = false;
    if (!g_hud.timeSurface || !g_hud.meterSurface) return false;
    setKey(g_hud.timeSurface);
    setKey(g_hud.meterSurface);
    return true;
}

void DrawHud(int32_t elapsedMs, float levelDb) {
    const std::wstring time = ui::widen(hudTimeText(static_cast<uint32_t>(elapsedMs < 0 ? 0 : elapsedMs)));
    const voice::IntensitySettings& settings = voice::intensitySettings();
    const auto segments = meterSegments(levelDb, settings);
    const bool redrawAll = !g_hud.panelsValid;
    bool drawn = true;
    if (redrawAll || time != g_hud.shownTime) {
        drawn = drawTimePanel(time) && drawn;
        g_hud.shownTime = time;
    }
    if (redrawAll || segments != g_hud.shownSegments || settings.minDb != g_hud.shownMinDb ||
        settings.maxDb != g_hud.shownMaxDb) {
        drawn = drawMeterPanel(segments) && drawn;
        g_hud.shownSegments = segments;
        g_hud.shownMinDb = settings.minDb;
        g_hud.shownMaxDb = settings.maxDb;
    }
    // A panel that could not be drawn is drawn again, with the other, next time.
    g_hud.panelsValid = drawn;
    const engine::Rect& view = engine::displayConfig().viewport;
    copyPanel(g_hud.meterSurface, view.left + 520, view.bottom - kMeterHeight - 4, g_hud.meterWidth, kMeterHeight);
    copyPanel(g_hud.timeSurface, view.left + 10, 4, g_hud.timeSize.cx, g_hud.timeSize.cy);
}

void ReleaseHudSurfaces() {
    g_hud.panelsValid = false;
    releaseSurface(g_hud.timeSurface);
    releaseSurface(g_hud.meterSurface);
}

bool RestoreHudSurfaces() {
    g_hud.panelsValid = false;  // a restored surface holds nothing
    if (!g_hud.timeSurface || !g_hud.meterSurface) return false;
    return g_hud.timeSurface->Restore() == DD_OK && g_hud.meterSurface->Restore() == DD_OK;
}

void DeleteHudObjects() {
    deleteFonts();
    if (g_hud.redBrush) DeleteObject(g_hud.redBrush);
    if (g_hud.greenBrush) DeleteObject(g_hud.greenBrush);
    g_hud.redBrush = g_hud.greenBrush = nullptr;
}

}  // namespace shell
