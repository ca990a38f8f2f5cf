#include "menu/chart_win.h"

#include <windowsx.h>

#include <algorithm>

#include "menu/chart_scale.h"
#include "menu/exercises.h"
#include "menu/menu_ids.h"
#include "winui/user_message_win.h"

namespace menu {
namespace {

constexpr COLORREF kBackground = RGB(252, 252, 246);
constexpr COLORREF kGrid = RGB(214, 218, 228);
constexpr COLORREF kAxis = RGB(60, 64, 80);
constexpr COLORREF kLabel = RGB(50, 50, 60);
constexpr int kMarkerRadius = 5;
constexpr int kDateLabelWidth = 70;

struct ChartData {
    std::vector<HistoryRecord> records;
    HFONT font = nullptr;  // the parent's, not owned
};

ChartData* dataOf(HWND chart) { return reinterpret_cast<ChartData*>(GetWindowLongPtrW(chart, GWLP_USERDATA)); }

COLORREF colourOf(const Exercise& e) { return RGB(e.red, e.green, e.blue); }

void drawText(HDC dc, const std::string& utf8, RECT box, UINT format) {
    const std::wstring text = ui::widen(utf8);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format | DT_SINGLELINE | DT_NOPREFIX);
}

void line(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

void drawGrid(HDC dc, const ChartScale& scale, const PlotArea& area) {
    HPEN grid = CreatePen(PS_SOLID, 1, kGrid);
    HGDIOBJ old = SelectObject(dc, grid);
    for (const auto& tick : scale.valueTicks()) {
        line(dc, area.left, tick.y, area.right, tick.y);
        drawText(dc, tick.label, {0, tick.y - 9, area.left - 6, tick.y + 9}, DT_RIGHT | DT_VCENTER);
    }
    for (const auto& tick : scale.dateTicks(std::max(1, (area.right - area.left) / kDateLabelWidth))) {
        line(dc, tick.x, area.bottom, tick.x, area.bottom + 5);
        drawText(dc, tick.label, {tick.x - kDateLabelWidth / 2, area.bottom + 6, tick.x + kDateLabelWidth / 2,
                                  area.bottom + 26},
                 DT_CENTER | DT_TOP);
    }
    SelectObject(dc, old);
    DeleteObject(grid);
    HPEN axis = CreatePen(PS_SOLID, 2, kAxis);
    old = SelectObject(dc, axis);
    line(dc, area.left, area.top, area.left, area.bottom);
    line(dc, area.left, area.bottom, area.right, area.bottom);
    SelectObject(dc, old);
    DeleteObject(axis);
}

void drawExerciseLine(HDC dc, const Exercise& exercise, const std::vector<POINT>& points) {
    HPEN pen = CreatePen(PS_SOLID, 3, colourOf(exercise));
    HBRUSH brush = CreateSolidBrush(colourOf(exercise));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    if (points.size() > 1) Polyline(dc, points.data(), static_cast<int>(points.size()));
    for (const POINT& p : points)
        Ellipse(dc, p.x - kMarkerRadius, p.y - kMarkerRadius, p.x + kMarkerRadius + 1, p.y + kMarkerRadius + 1);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

// A square of each exercise's colour and its name, for the exercises shown.
void drawLegend(HDC dc, const std::vector<const Exercise*>& shown) {
    constexpr int kEntryWidth = 96;  // five entries fit the narrowest chart
    int x = 12;
    for (const Exercise* e : shown) {
        RECT square{x, 8, x + 14, 22};
        HBRUSH brush = CreateSolidBrush(colourOf(*e));
        FillRect(dc, &square, brush);
        DeleteObject(brush);
        drawText(dc, e->name, {x + 20, 4, x + kEntryWidth, kLegendHeight}, DT_LEFT | DT_VCENTER);
        x += kEntryWidth;
    }
}

void paintChart(HDC dc, const RECT& client, const std::vector<HistoryRecord>& records) {
    HBRUSH background = CreateSolidBrush(kBackground);
    FillRect(dc, &client, background);
    DeleteObject(background);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kLabel);
    if (records.empty()) {
        drawText(dc, "Nenhum resultado deste paciente ainda.", client, DT_CENTER | DT_VCENTER);
        return;
    }
    const PlotArea area = chartPlotArea(client.right, client.bottom);
    const ChartScale scale = chartScaleFor(area, records);
    drawGrid(dc, scale, area);

    std::vector<const Exercise*> shown;
    for (const Exercise& e : exercises()) {
        const auto times = exerciseLine(records, e);
        if (times.empty()) continue;
        std::vector<POINT> points;
        for (const auto& [when, hundredths] : times) points.push_back({scale.x(when), scale.y(hundredths)});
        drawExerciseLine(dc, e, points);
        shown.push_back(&e);
    }
    drawLegend(dc, shown);
}

void OnPaint(HWND chart) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(chart, &ps);
    RECT client;
    GetClientRect(chart, &client);
    // Drawn off screen first so the chart never flickers while it is redrawn.
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    static const std::vector<HistoryRecord> kNone;
    const ChartData* data = dataOf(chart);
    HGDIOBJ oldFont = SelectObject(memory, data && data->font ? data->font : GetStockObject(DEFAULT_GUI_FONT));
    paintChart(memory, client, data ? data->records : kNone);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, oldFont);
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    EndPaint(chart, &ps);
}

void OnSetFont(HWND chart, HFONT font, BOOL redraw) {
    if (ChartData* data = dataOf(chart)) data->font = font;
    if (redraw) InvalidateRect(chart, nullptr, FALSE);
}

void OnDestroy(HWND chart) {
    delete dataOf(chart);
    SetWindowLongPtrW(chart, GWLP_USERDATA, 0);
}

BOOL OnEraseBackground(HWND, HDC) { return TRUE; }  // the paint covers every pixel

LRESULT CALLBACK chartProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        HANDLE_MSG(hwnd, WM_PAINT, OnPaint);
        HANDLE_MSG(hwnd, WM_SETFONT, OnSetFont);
        HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
        HANDLE_MSG(hwnd, WM_ERASEBKGND, OnEraseBackground);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

bool registerChartClass(HINSTANCE instance) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = chartProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kChartClass;
    return RegisterClassW(&wc) != 0;
}

HWND createChart(HWND parent, int id, const RECT& where) {
    HWND chart = CreateWindowExW(WS_EX_CLIENTEDGE, kChartClass, L"", WS_CHILD | WS_VISIBLE, where.left, where.top,
                                 where.right - where.left, where.bottom - where.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    if (chart) SetWindowLongPtrW(chart, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new ChartData));
    return chart;
}

void setChartRecords(HWND chart, std::vector<HistoryRecord> records) {
    if (ChartData* data = dataOf(chart)) data->records = std::move(records);
    InvalidateRect(chart, nullptr, FALSE);
}

}  // namespace menu
