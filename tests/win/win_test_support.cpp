#include "win_test_support.h"

#include <cmath>
#include <cstdlib>

#include "voice/user_message_win.h"

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

PcmPlayer::PcmPlayer(std::vector<int16_t> samples) : samples_(std::move(samples)) {
    WAVEFORMATEX f{};
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = 1;
    f.nSamplesPerSec = 11025;
    f.wBitsPerSample = 16;
    f.nBlockAlign = 2;
    f.nAvgBytesPerSec = 22050;
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

std::vector<int16_t> sineWave(double frequency, double amplitude, int ms) {
    const size_t n = static_cast<size_t>(11025.0 * ms / 1000.0);
    std::vector<int16_t> s(n);
    for (size_t i = 0; i < n; ++i)
        s[i] = static_cast<int16_t>(std::lround(amplitude * std::sin(2.0 * 3.14159265358979323846 * frequency * double(i) / 11025.0)));
    return s;
}

}  // namespace testing_win
