#include "driver_win.h"

#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "samples.h"

namespace uidriver {
namespace {

std::string narrow(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return {};
    std::string out(static_cast<size_t>(n - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    return out;
}

struct WindowSearch {
    DWORD process;
    std::function<bool(HWND)> match;
    HWND found = nullptr;
};

BOOL CALLBACK visitWindow(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<WindowSearch*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if ((search->process && owner != search->process) || !IsWindowVisible(hwnd) || !search->match(hwnd)) return TRUE;
    search->found = hwnd;
    return FALSE;
}

// A visible top-level window of `process` (of any process when 0).
HWND findWindow(DWORD process, std::function<bool(HWND)> match) {
    WindowSearch search{process, std::move(match)};
    EnumWindows(visitWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string className(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return narrow(name);
}

BOOL CALLBACK collectStatic(HWND child, LPARAM lp) {
    if (className(child) == "Static") {
        auto* text = reinterpret_cast<std::string*>(lp);
        const std::string part = windowTitle(child);
        if (!part.empty()) *text += (text->empty() ? "" : "\n") + part;
    }
    return TRUE;
}

double seconds(ULONGLONG hundredsOfNs) { return static_cast<double>(hundredsOfNs) / 1e7; }

ULONGLONG ticks(FILETIME t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

// What the system's process list says of process `id`: user plus kernel
// time (100 ns units), handles and committed private bytes; false when the
// list cannot be had or lacks the process.
struct ListedProcess {
    ULONGLONG cpuTime = 0;
    ULONG handles = 0;
    SIZE_T privateBytes = 0;
};
bool listedProcess(DWORD id, ListedProcess& found) {
    using Query = LONG(WINAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);
    // Through a function type without parameters, the sanctioned way to
    // turn a looked-up address into its real signature.
    const auto query = reinterpret_cast<Query>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return false;
    std::vector<unsigned char> buffer(1 << 16);
    LONG status = 0;
    for (int attempt = 0; attempt < 8; ++attempt) {
        ULONG needed = 0;
        status = query(SystemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status != static_cast<LONG>(0xC0000004L)) break;  // STATUS_INFO_LENGTH_MISMATCH: the list grew
        buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
    }
    if (status < 0) return false;
    for (size_t at = 0;;) {
        const auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.data() + at);
        if (reinterpret_cast<ULONG_PTR>(entry->UniqueProcessId) == id) {
            found.cpuTime = static_cast<ULONGLONG>(entry->UserTime.QuadPart + entry->KernelTime.QuadPart);
            found.handles = entry->HandleCount;
            found.privateBytes = entry->VirtualMemoryCounters.PagefileUsage;
            return true;
        }
        if (entry->NextEntryOffset == 0) return false;
        at += entry->NextEntryOffset;
    }
}

}  // namespace

bool waitFor(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

Program::Program(const std::wstring& exe, const std::wstring& workDir, const std::wstring& arguments) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + exe + L"\"";
    if (!arguments.empty()) command += L" " + arguments;
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, workDir.c_str(), &startup,
                        &process_))
        process_ = {};
}

Program::Program(HWND window) {
    DWORD id = 0;
    if (!window || !GetWindowThreadProcessId(window, &id)) return;
    process_.hProcess =
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, id);
    if (process_.hProcess) process_.dwProcessId = id;
}

Program::~Program() {
    if (!process_.hProcess) return;
    if (running()) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hProcess);
    if (process_.hThread) CloseHandle(process_.hThread);
}

bool Program::running() const {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

long Program::waitExit(DWORD timeoutMs) {
    if (!process_.hProcess || WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<long>(code);
}

double Program::cpuSeconds() const {
    if (!process_.hProcess) return -1.0;
    // The system's process list first: Wine answers GetProcessTimes about
    // another process with times that are not that process's (no user time
    // at all), while its process list carries the kernel's accounting.  On
    // Windows the two agree.
    ListedProcess listed;
    if (listedProcess(id(), listed)) return seconds(listed.cpuTime);
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process_.hProcess, &created, &exited, &kernel, &user)) return -1.0;
    return seconds(ticks(kernel) + ticks(user));
}

HWND Program::window(const std::wstring& title) const {
    const std::string wanted = narrow(title.c_str());
    return findWindow(id(), [&](HWND hwnd) { return windowTitle(hwnd) == wanted; });
}

HWND Program::dialogWithText(const std::string& text) const { return dialogOfProcessWithText(id(), text); }

HWND Program::mainWindow() const {
    return findWindow(id(), [](HWND hwnd) {
        const std::string name = className(hwnd);
        return name == "KeltumClass" || name == "RegistraClasse";
    });
}

HWND windowElsewhere(const std::wstring& title, DWORD exceptProcess) {
    const std::string wanted = narrow(title.c_str());
    return findWindow(0, [&](HWND hwnd) { return windowProcess(hwnd) != exceptProcess && windowTitle(hwnd) == wanted; });
}

DWORD windowProcess(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

HANDLE openProcessNamed(const wchar_t* exeName) {
    HANDLE list = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (list == INVALID_HANDLE_VALUE) return nullptr;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    HANDLE found = nullptr;
    for (BOOL more = Process32FirstW(list, &entry); more && !found; more = Process32NextW(list, &entry))
        if (_wcsicmp(entry.szExeFile, exeName) == 0)
            found = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                entry.th32ProcessID);
    CloseHandle(list);
    return found;
}

HWND dialogOfProcessWithText(DWORD process, const std::string& text) {
    return findWindow(process, [&](HWND hwnd) {
        if (className(hwnd) != "#32770") return false;
        if (windowTitle(hwnd).rfind(text, 0) == 0) return true;
        return dialogText(hwnd).rfind(text, 0) == 0;
    });
}

HWND anyWindowTitled(const std::wstring& title) {
    HWND found = FindWindowW(nullptr, title.c_str());
    return found && IsWindowVisible(found) ? found : nullptr;
}

void postClick(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (button) PostMessageW(button, BM_CLICK, 0, 0);
}

void clickButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (button) SendMessageW(button, BM_CLICK, 0, 0);
}

void click(HWND window, int x, int y) {
    const LPARAM at = MAKELPARAM(x, y);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
}

void pressKey(HWND window, UINT key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

bool buttonEnabled(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    return button && IsWindowEnabled(button);
}

std::string dialogText(HWND dialog) {
    std::string text;
    EnumChildWindows(dialog, collectStatic, reinterpret_cast<LPARAM>(&text));
    return text;
}

std::string windowTitle(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return narrow(text);
}

std::string controlText(HWND control) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             5000, &copied))
        return {};
    text.resize(copied);
    return narrow(text.c_str());
}

std::vector<std::string> listBoxLines(HWND list) {
    std::vector<std::string> lines;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0) break;
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        lines.push_back(narrow(text.c_str()));
    }
    return lines;
}

void typeText(HWND edit, const std::string& text) {
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CHAR, VK_BACK, 1);
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    for (wchar_t c : wide) SendMessageW(edit, WM_CHAR, c, 1);
}

ScreenArea::ScreenArea(RECT area) : area_(area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    screen_ = GetDC(nullptr);
    memory_ = CreateCompatibleDC(screen_);
    bitmap_ = CreateDIBSection(screen_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    if (bitmap_) old_ = SelectObject(memory_, bitmap_);
    pixels_ = static_cast<size_t>(width) * static_cast<size_t>(height);
}

ScreenArea::~ScreenArea() {
    if (bitmap_) {
        SelectObject(memory_, old_);
        DeleteObject(bitmap_);
    }
    DeleteDC(memory_);
    ReleaseDC(nullptr, screen_);
}

int ScreenArea::count(COLORREF colour) {
    if (!bitmap_ || !BitBlt(memory_, 0, 0, area_.right - area_.left, area_.bottom - area_.top, screen_,
                            area_.left, area_.top, SRCCOPY))
        return -1;
    GdiFlush();
    const uint32_t wanted = (static_cast<uint32_t>(GetRValue(colour)) << 16) |
                            (static_cast<uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
    int n = 0;
    for (size_t i = 0; i < pixels_; ++i)
        if ((bits_[i] & 0xFFFFFF) == wanted) ++n;
    return n;
}

int countScreenColour(const RECT& area, COLORREF colour) { return ScreenArea(area).count(colour); }

ScreenGrab grabScreen() {
    ScreenGrab grab;
    grab.width = GetSystemMetrics(SM_CXSCREEN);
    grab.height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = grab.width;
    info.bmiHeader.biHeight = -grab.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, grab.width, grab.height, screen, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        const auto* quads = static_cast<const uint32_t*>(bits);  // 0x00RRGGBB
        grab.pixels.resize(static_cast<size_t>(grab.width) * static_cast<size_t>(grab.height));
        for (size_t i = 0; i < grab.pixels.size(); ++i)
            grab.pixels[i] = RGB(quads[i] >> 16 & 0xFF, quads[i] >> 8 & 0xFF, quads[i] & 0xFF);
        DeleteObject(bitmap);
    } else {
        grab.width = grab.height = 0;
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return grab;
}

COLORREF ScreenGrab::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
    return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
}

bool saveScreenshot(const std::wstring& path) {
    const ScreenGrab grab = grabScreen();
    if (grab.pixels.empty()) return false;
    // A 24-bit bottom-up BMP, rows padded to 4 bytes.
    const DWORD rowBytes = static_cast<DWORD>((grab.width * 3 + 3) & ~3);
    std::vector<uint8_t> image(static_cast<size_t>(rowBytes) * static_cast<size_t>(grab.height));
    for (int y = 0; y < grab.height; ++y)
        for (int x = 0; x < grab.width; ++x) {
            uint8_t* p = &image[static_cast<size_t>(grab.height - 1 - y) * rowBytes + static_cast<size_t>(x) * 3];
            const COLORREF c = grab.at(x, y);
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = grab.width;
    header.biHeight = grab.height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(image.size());
    bool ok = false;
    if (FILE* out = _wfopen(path.c_str(), L"wb")) {
        ok = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&header, sizeof header, 1, out) == 1 &&
             std::fwrite(image.data(), 1, image.size(), out) == image.size();
        ok = std::fclose(out) == 0 && ok;
    }
    return ok;
}

COLORREF screenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return c;
}

int countColour(RECT area, COLORREF colour) {
    int n = 0;
    HDC screen = GetDC(nullptr);
    for (LONG y = area.top; y < area.bottom; y += 2)
        for (LONG x = area.left; x < area.right; x += 2)
            if (GetPixel(screen, x, y) == colour) ++n;
    ReleaseDC(nullptr, screen);
    return n;
}

RECT clientRectOnScreen(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    POINT topLeft{r.left, r.top}, bottomRight{r.right, r.bottom};
    ClientToScreen(window, &topLeft);
    ClientToScreen(window, &bottomRight);
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

double nowMs() {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER t{};
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency);
}

WAVEFORMATEX monoPcm16() {
    WAVEFORMATEX f{};
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = 1;
    f.nSamplesPerSec = kSampleRate;
    f.wBitsPerSample = 16;
    f.nBlockAlign = 2;
    f.nAvgBytesPerSec = kSampleRate * 2;
    return f;
}

PcmPlayer::PcmPlayer(std::vector<int16_t> samples) : samples_(std::move(samples)) {
    const WAVEFORMATEX f = monoPcm16();
    if (waveOutOpen(&device_, WAVE_MAPPER, &f, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
        device_ = nullptr;
        return;
    }
    header_.lpData = reinterpret_cast<LPSTR>(samples_.data());
    header_.dwBufferLength = static_cast<DWORD>(samples_.size() * 2);
    if (waveOutPrepareHeader(device_, &header_, sizeof header_) != MMSYSERR_NOERROR) return;
    started_ = waveOutWrite(device_, &header_, sizeof header_) == MMSYSERR_NOERROR;
}

PcmPlayer::~PcmPlayer() {
    if (!device_) return;
    waveOutReset(device_);
    waveOutUnprepareHeader(device_, &header_, sizeof header_);
    waveOutClose(device_);
}

bool PcmPlayer::finished() const { return !started_ || (header_.dwFlags & WHDR_DONE) != 0; }

ProcessSample Program::sample() const {
    ProcessSample sample;
    if (!running()) return sample;
    sample.cpuSeconds = cpuSeconds();
    ListedProcess listed;
    if (listedProcess(id(), listed)) {
        sample.handles = listed.handles;
        sample.privateBytes = static_cast<int64_t>(listed.privateBytes);
    }
    PROCESS_MEMORY_COUNTERS_EX memory{};
    if (GetProcessMemoryInfo(process_.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory) &&
        memory.PrivateUsage > 0)
        sample.privateBytes = static_cast<int64_t>(memory.PrivateUsage);
    DWORD handles = 0;
    if (GetProcessHandleCount(process_.hProcess, &handles) && handles > 0) sample.handles = handles;
    const DWORD gdi = GetGuiResources(process_.hProcess, GR_GDIOBJECTS);
    if (gdi > 0) sample.gdiObjects = gdi;
    return sample;
}

bool nearColour(COLORREF a, COLORREF b, int tolerance) {
    return a != CLR_INVALID && b != CLR_INVALID && std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance && std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

}  // namespace uidriver
