#include "adult/graph_win.h"

#include "winui/user_message_win.h"

namespace adult {
namespace {
constexpr RECT kTimeBox{430, 110, 590, 160};
// One step off the panel colour, so the box stands apart from the
// picture's panel on a display that can tell them apart.
constexpr COLORREF kTimeBoxColour = RGB(31, 88, 111);
GraphDrawCounts g_counts;
}  // namespace

const GraphDrawCounts& graphDrawCounts() { return g_counts; }

bool scrollLeft(HDC dc, const RECT& client, int by, HBRUSH background, HRGN uncovered) {
    ++g_counts.scrolls;
    ScrollDC(dc, -by, 0, &client, &client, uncovered, nullptr);
    const RECT strip{client.right - by, client.top, client.right, client.bottom};
    FillRect(dc, &strip, background);
    RECT box;
    const int kind = GetRgnBox(uncovered, &box);
    return kind == NULLREGION || (kind == SIMPLEREGION && box.left >= strip.left && box.top >= strip.top &&
                                  box.right <= strip.right && box.bottom <= strip.bottom);
}

void drawBars(HDC dc, std::span<const Bar> bars, const RECT* only) {
    HPEN pen = CreatePen(PS_SOLID, 2, kBarColour);
    HGDIOBJ old = SelectObject(dc, pen);
    g_counts.bars += static_cast<int>(bars.size());
    for (const Bar& bar : bars) {
        if (only && (bar.x + 1 < only->left || bar.x - 1 >= only->right)) continue;
        MoveToEx(dc, bar.x, bar.from, nullptr);
        LineTo(dc, bar.x, bar.top);
        if (bar.extends) LineTo(dc, bar.x, bar.bottom);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

void drawTimeBox(HDC dc, HFONT font, const std::string& time) {
    HBRUSH brush = CreateSolidBrush(kTimeBoxColour);
    FillRect(dc, &kTimeBox, brush);
    DeleteObject(brush);
    const std::wstring text = ui::widen(time);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, kBarColour);
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    TextOutW(dc, kTimeBox.left, kTimeBox.top, text.c_str(), static_cast<int>(text.size()));
    if (oldFont) SelectObject(dc, oldFont);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

}  // namespace adult
