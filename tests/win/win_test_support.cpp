#include "win_test_support.h"

#include <cmath>
#include <cstdlib>
#include <memory>

#include "voice/intensity.h"
#include "winui/user_message_win.h"

namespace testing_win {

bool haveVirtualMicrophone() {
    const char* sink = std::getenv("TE_SINK");
    return sink != nullptr && *sink != '\0';
}

bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done()) return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    }
}

void pumpFor(DWORD ms) {
    pumpUntil([] { return false; }, ms);
}

TestWindow::TestWindow(Handler handler) : handler_(std::move(handler)) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TeTestWindow";
        RegisterClassW(&wc);
        registered = true;
    }
    hwnd_ = CreateWindowExW(0, L"TeTestWindow", L"test", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                            GetModuleHandleW(nullptr), this);
}

TestWindow::~TestWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT CALLBACK TestWindow::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && self->handler_ && self->handler_(msg, wp, lp)) return 1;
    return DefWindowProcW(hwnd, msg, wp, lp);
}

namespace {
std::vector<ShownMessage> g_messages;
int g_answer = IDOK;

int recordMessage(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
    g_messages.push_back({owner, text, caption, flags});
    return g_answer;
}
}  // namespace

MessageCapture::MessageCapture(int answer) {
    g_messages.clear();
    g_answer = answer;
    ui::setMessageFunction(recordMessage);
}
MessageCapture::~MessageCapture() { ui::setMessageFunction(nullptr); }
const std::vector<ShownMessage>& MessageCapture::messages() const { return g_messages; }
void MessageCapture::clear() { g_messages.clear(); }
void MessageCapture::setAnswer(int answer) { g_answer = answer; }

std::vector<int16_t> sineWave(double frequency, double amplitude, int ms) {
    const size_t n = static_cast<size_t>(11025.0 * ms / 1000.0);
    std::vector<int16_t> s(n);
    for (size_t i = 0; i < n; ++i)
        s[i] = static_cast<int16_t>(std::lround(amplitude * std::sin(2.0 * 3.14159265358979323846 * frequency * double(i) / 11025.0)));
    return s;
}

}  // namespace testing_win

namespace testing_win {
namespace {
Script* g_script = nullptr;

BOOL CALLBACK findDialogProc(HWND hwnd, LPARAM lp) {
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    if (std::wstring(cls) == L"#32770" && IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND*>(lp) = hwnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND findThreadDialog() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findDialogProc, reinterpret_cast<LPARAM>(&found));
    return found;
}

void clickButton(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

std::string windowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return ui::narrow(text);
}

Script::Script(std::vector<Step> steps, DWORD timeoutMs)
    : steps_(std::move(steps)), deadline_(GetTickCount() + timeoutMs) {
    g_script = this;
    timer_ = SetTimer(nullptr, 0, 25, tick);
}

Script::~Script() {
    KillTimer(nullptr, timer_);
    if (g_script == this) g_script = nullptr;
}

void CALLBACK Script::tick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_script) g_script->run();
}

void Script::run() {
    if (running_) return;  // a step may itself pump messages
    running_ = true;
    // The dialog is looked up afresh each time: an ended dialog is hidden
    // at once, and a later step must not act on it.
    HWND dialog = findThreadDialog();
    if (static_cast<LONG>(GetTickCount() - deadline_) > 0 && !finished()) {
        timedOut_ = true;
        next_ = steps_.size();
        if (dialog) EndDialog(dialog, -2);
    }
    if (!finished() && steps_[next_](dialog)) ++next_;
    running_ = false;
}

Script::Step Script::waitMs(DWORD ms) {
    auto started = std::make_shared<DWORD>(0);
    return [started, ms](HWND) {
        if (*started == 0) *started = GetTickCount() | 1;
        return GetTickCount() - *started >= ms;
    };
}

}  // namespace testing_win

namespace testing_win {

float hostLevelOfSine(double frequency, double amplitude) {
    auto tone = sineWave(frequency, amplitude, 1000);
    const int16_t saved = voice::preEmphasisMemory();
    voice::setPreEmphasisMemory(0);
    voice::preEmphasize(tone.data(), voice::kBufferSamples);  // settles the filter
    float sum = 0.0f;
    int buffers = 0;
    for (size_t at = voice::kBufferSamples; at + voice::kBufferSamples <= tone.size(); at += voice::kBufferSamples) {
        sum += *voice::measureBuffer(tone.data() + at, voice::kBufferSamples);
        ++buffers;
    }
    voice::setPreEmphasisMemory(saved);
    return sum / static_cast<float>(buffers);
}

}  // namespace testing_win
