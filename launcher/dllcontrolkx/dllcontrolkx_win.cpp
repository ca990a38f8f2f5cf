// dllcontrolkx.dll: the display adjustment before the suite starts.
#define DLLCONTROLKX_BUILDING
#include "launcher/dllcontrolkx/dllcontrolkx.h"

#include <string>
#include <vector>

#include "launcher/dllcontrolkx/display_mode.h"

namespace {

using dllcontrolkx::DisplayMode;

DisplayMode fromDevMode(const DEVMODEW& dm) {
    return {static_cast<int>(dm.dmPelsWidth), static_cast<int>(dm.dmPelsHeight), static_cast<int>(dm.dmBitsPerPel),
            static_cast<int>(dm.dmDisplayFrequency)};
}

std::vector<DisplayMode> offeredModes() {
    std::vector<DisplayMode> modes;
    DEVMODEW dm{};
    dm.dmSize = sizeof dm;
    for (DWORD i = 0; EnumDisplaySettingsW(nullptr, i, &dm); ++i) modes.push_back(fromDevMode(dm));
    return modes;
}

void trace(const std::wstring& text) { OutputDebugStringW((L"dllcontrolkx: " + text + L"\n").c_str()); }

std::wstring describe(const DisplayMode& m) {
    return std::to_wstring(m.width) + L"x" + std::to_wstring(m.height) + L"x" + std::to_wstring(m.bitsPerPixel) +
           L" " + std::to_wstring(m.frequency) + L" Hz";
}

}  // namespace

BOOL WINAPI AcertaResolucao(void) {
    DEVMODEW current{};
    current.dmSize = sizeof current;
    if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &current)) {
        trace(L"the current display mode cannot be read; nothing changed");
        return FALSE;
    }
    if (dllcontrolkx::meetsMinimum(fromDevMode(current))) return TRUE;

    const std::vector<DisplayMode> modes = offeredModes();
    const auto choice = dllcontrolkx::chooseDisplayMode(fromDevMode(current), modes);
    if (!choice) {
        trace(L"no display mode offers 800x600 with 16-bit colour; staying at " + describe(fromDevMode(current)));
        return FALSE;
    }
    DEVMODEW wanted{};
    wanted.dmSize = sizeof wanted;
    wanted.dmPelsWidth = static_cast<DWORD>(choice->width);
    wanted.dmPelsHeight = static_cast<DWORD>(choice->height);
    wanted.dmBitsPerPel = static_cast<DWORD>(choice->bitsPerPixel);
    wanted.dmDisplayFrequency = static_cast<DWORD>(choice->frequency);
    wanted.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL | DM_DISPLAYFREQUENCY;
    // No CDS_UPDATEREGISTRY: the user's own mode comes back at the next
    // log-on.  No CDS_FULLSCREEN either: Windows restores the registry's mode
    // when the process that asked for a full-screen mode ends, and the
    // launcher that calls us ends long before the suite does.
    const LONG result = ChangeDisplaySettingsW(&wanted, 0);
    if (result != DISP_CHANGE_SUCCESSFUL) {
        trace(L"switching to " + describe(*choice) + L" failed with " + std::to_wstring(result));
        return FALSE;
    }
    trace(L"switched to " + describe(*choice));
    return TRUE;
}
