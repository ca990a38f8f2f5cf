#include "voice/wave_recorder_win.h"

#include <cstdio>
#include <new>
#include <string>

#include "winui/user_message_win.h"

namespace voice {
namespace {

constexpr UINT kHeaderSize = sizeof(WAVEHDR);
constexpr char kAddErrorCaption[] = "Erro Adicionando Buffer";

const WaveInApi kRealApi = {
    waveInOpen,  waveInPrepareHeader, waveInAddBuffer, waveInStart,          waveInStop,
    waveInReset, waveInUnprepareHeader, waveInClose,   waveInGetErrorTextW,
};

}  // namespace

const WaveInApi& realWaveInApi() { return kRealApi; }

WAVEFORMATEX monoPcm16Format(DWORD samplesPerSecond) {
    WAVEFORMATEX f{};
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = 1;
    f.nSamplesPerSec = samplesPerSecond;
    f.wBitsPerSample = 16;
    f.nBlockAlign = 2;
    f.nAvgBytesPerSec = samplesPerSecond * 2;
    f.cbSize = 0;
    return f;
}

CWaveRecorder& waveRecorder() {
    static CWaveRecorder recorder;
    return recorder;
}

void showRecorderFailure(const RecorderFailure& failure) { ui::showMessage(nullptr, failure.text, failure.caption.c_str()); }

CWaveRecorder::CWaveRecorder(const WaveInApi& api, FailureReport report)
    : api_(&api), report_(std::move(report)), format_(monoPcm16Format(kSampleRate)) {}

bool CWaveRecorder::useApi(const WaveInApi& api) {
    if (device_ != nullptr || allocatedSlots() > 0) return false;
    api_ = &api;
    return true;
}

CWaveRecorder::~CWaveRecorder() {
    if (device_ != nullptr || allocatedSlots() > 0) WindDown();
}

int CWaveRecorder::Start(HWND owner) {
    // A recording still draining (a dialog started before the close
    // notification of the last one arrived) is finished first: opening a
    // second device would orphan the first one's buffers.
    if (device_ != nullptr || allocatedSlots() > 0) WindDown();
    state_ = RecorderState::Recording;  // the buffers added while opening are queued again
    bytesRecorded_ = 0;
    lastReturnTick_ = GetTickCount();
    if (Open(owner)) return 1;
    state_ = RecorderState::Failed;
    return 0;
}

int CWaveRecorder::Open(HWND owner) {
    owner_ = owner;
    const MMRESULT opened = api_->open(&device_, WAVE_MAPPER, &format_, reinterpret_cast<DWORD_PTR>(owner), 0,
                                      CALLBACK_WINDOW);
    if (opened != MMSYSERR_NOERROR) {
        device_ = nullptr;
        char text[512];
        std::snprintf(text, sizeof text,
                      "wfe.cbSize = %d\nwfe.nAvgBytesPerSec = %d\nwfe.nBlockAlign %d\nwfe.nChannels %d\n"
                      "wfe.nSamplesPerSec %d\nwfe.wBitsPerSample %d\nwfe.wFormatTag %d\n",
                      format_.cbSize, static_cast<int>(format_.nAvgBytesPerSec), format_.nBlockAlign,
                      format_.nChannels, static_cast<int>(format_.nSamplesPerSec), format_.wBitsPerSample,
                      format_.wFormatTag);
        report(text, "Erro Abrindo Canal");
        reportDeviceError(opened, 256, "Erro Abrindo Canal");
        return 0;
    }

    if (!PrepareAllBuffers()) {
        report("ERRO PREPARANDO HEADER", " ");
        Close();
        return 0;
    }

    for (int slot = 0; slot < kBufferCount; ++slot) {
        const MMRESULT added = addToDevice(slot);
        if (added != MMSYSERR_NOERROR) {
            WindDown();
            reportDeviceError(added, 256, kAddErrorCaption);
            return 0;
        }
    }

    // Any failure to start counts: a device that never started would
    // otherwise look like a silent microphone to the owner.
    if (api_->start(device_) != MMSYSERR_NOERROR) {
        report("Não Foi Possível Inicializar a Gravação", "Gravador");
        WindDown();
        return 0;
    }
    return 1;
}

int CWaveRecorder::PrepareAllBuffers() {
    for (int slot = 0; slot < kBufferCount; ++slot) {
        if (!allocateSlot(slot)) {
            report("Não há memória livre Suficiente", "Gravação");
            unprepareAndFreeAll();
            return 0;
        }
        const MMRESULT prepared = api_->prepareHeader(device_, &slots_[slot]->header, kHeaderSize);
        if (prepared != MMSYSERR_NOERROR) {
            reportDeviceError(prepared, 256, "Erro preparando o Header");
            freeSlot(slot);  // never prepared: nothing to undo at the device
            unprepareAndFreeAll();
            return 0;
        }
    }
    return 1;
}

int CWaveRecorder::QueueFreshBuffer() {
    int slot = 0;
    while (slot < kBufferCount && slots_[slot] != nullptr) ++slot;
    if (slot == kBufferCount) {
        report("Erro", "Erro");
        return -1;
    }
    if (!allocateSlot(slot)) {
        report("Não há memória livre", "Gravação");
        return -1;
    }
    const MMRESULT prepared = api_->prepareHeader(device_, &slots_[slot]->header, kHeaderSize);
    if (prepared != MMSYSERR_NOERROR) {
        reportDeviceError(prepared, 256, "Erro preparando o Header");
        freeSlot(slot);
        return -1;
    }
    return slot;
}

void CWaveRecorder::QueueAndAddFreshBuffer() {
    const int slot = QueueFreshBuffer();
    if (slot < 0) return;
    const MMRESULT added = addToDevice(slot);
    if (added == MMSYSERR_NOERROR) return;
    // A device that refuses buffers (a microphone unplugged, a driver out of
    // memory) will not record on: stop, so the buffers still queued come
    // back and the close notification arrives.  When the refused buffer was
    // the last one, nothing is left to come back: close now.  The stop comes
    // before the message, whose box delivers the returning buffers.
    RequestStop();
    if (allocatedSlots() == 0) Close();
    reportDeviceError(added, 256, kAddErrorCaption);
}

// Hands a prepared buffer to the device.  A refused one is freed at once:
// the device closes only when every buffer has come back, so a buffer it
// will never return must not be counted as outstanding.
MMRESULT CWaveRecorder::addToDevice(int slot) {
    const MMRESULT added = api_->addBuffer(device_, &slots_[slot]->header, kHeaderSize);
    if (added != MMSYSERR_NOERROR) {
        api_->unprepareHeader(device_, &slots_[slot]->header, kHeaderSize);
        freeSlot(slot);
    }
    return added;
}

int CWaveRecorder::ReleaseBuffer(WAVEHDR* header) {
    // Look the header up before touching it: a header that is not ours may
    // point anywhere.
    const int slot = findSlot(header);
    if (slot < 0) {
        report("Erro Liberando Memória", "Quintor");
        return 0;
    }
    const MMRESULT unprepared = api_->unprepareHeader(device_, header, kHeaderSize);
    if (unprepared != MMSYSERR_NOERROR) {
        reportDeviceError(unprepared, 100, "Liberando o Header");
        return 0;
    }
    lastReturnTick_ = GetTickCount();
    const int heldData = header->dwBytesRecorded != 0 ? 1 : 0;
    bytesRecorded_ += header->dwBytesRecorded;
    freeSlot(slot);
    if (allocatedSlots() == 0) Close();
    return heldData;
}

void CWaveRecorder::RequestStop() {
    if (state_ == RecorderState::Recording) state_ = RecorderState::Draining;
    StopAndReset();
}

void CWaveRecorder::StopAndReset() {
    if (device_ == nullptr) return;
    const MMRESULT stopped = api_->stop(device_);
    if (stopped != MMSYSERR_NOERROR) reportDeviceError(stopped, 256, "Erro Parando Gravação");
    const MMRESULT reset = api_->reset(device_);
    if (reset != MMSYSERR_NOERROR) reportDeviceError(reset, 256, "Erro ao Parar Gravação Limpando Buffers");
}

void CWaveRecorder::Close() {
    if (device_ == nullptr) return;
    const MMRESULT closed = api_->close(device_);
    if (closed != MMSYSERR_NOERROR) {
        reportDeviceError(closed, 256, "Erro ao Parar Gravação - Fechando Canal!");
        return;
    }
    device_ = nullptr;
}

void CWaveRecorder::WindDown() {
    if (state_ == RecorderState::Recording) state_ = RecorderState::Draining;
    if (device_ != nullptr) {
        // Stopping is tricky: the device must give every buffer back
        // (reset marks them done) before they can be unprepared, and the
        // device can only close once no buffer is queued.
        api_->stop(device_);
        api_->reset(device_);
    }
    unprepareAndFreeAll();
    if (device_ != nullptr && api_->close(device_) == MMSYSERR_NOERROR) device_ = nullptr;
    discardOwnerNotifications();
    if (device_ == nullptr) state_ = RecorderState::Closed;
}

int CWaveRecorder::allocatedSlots() const {
    int n = 0;
    for (const std::unique_ptr<Slot>& slot : slots_)
        if (slot != nullptr) ++n;
    return n;
}

int CWaveRecorder::findSlot(const WAVEHDR* header) const {
    if (header == nullptr) return -1;
    for (int slot = 0; slot < kBufferCount; ++slot)
        if (slots_[slot] != nullptr && &slots_[slot]->header == header) return slot;
    return -1;
}

bool CWaveRecorder::allocateSlot(int slot) {
    std::unique_ptr<Slot> fresh(new (std::nothrow) Slot);
    if (fresh == nullptr) return false;
    fresh->header = WAVEHDR{};
    fresh->header.lpData = fresh->data.data();
    fresh->header.dwBufferLength = kBufferBytes;
    slots_[slot] = std::move(fresh);
    return true;
}

void CWaveRecorder::freeSlot(int slot) { slots_[slot].reset(); }

void CWaveRecorder::unprepareAndFreeAll() {
    for (int slot = 0; slot < kBufferCount; ++slot) {
        if (slots_[slot] == nullptr) continue;
        WAVEHDR& header = slots_[slot]->header;
        if (device_ != nullptr && (header.dwFlags & WHDR_PREPARED) != 0) api_->unprepareHeader(device_, &header, kHeaderSize);
        freeSlot(slot);
    }
}

void CWaveRecorder::discardOwnerNotifications() {
    if (owner_ == nullptr || !IsWindow(owner_)) return;
    MSG msg;
    while (PeekMessageW(&msg, owner_, MM_WIM_OPEN, MM_WIM_DATA, PM_REMOVE)) {
    }
}

void CWaveRecorder::report(const char* text, const char* caption) const {
    if (report_) report_({text, caption});
}

void CWaveRecorder::reportDeviceError(MMRESULT result, UINT maxChars, const char* caption) const {
    wchar_t text[257] = {};
    if (maxChars > 256) maxChars = 256;
    if (api_->getErrorText(result, text, maxChars) != MMSYSERR_NOERROR)
        std::swprintf(text, 257, L"MMRESULT %u", static_cast<unsigned>(result));
    report(ui::narrow(text).c_str(), caption);
}

}  // namespace voice
