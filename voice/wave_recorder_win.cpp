#include "voice/wave_recorder_win.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "voice/user_message_win.h"

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

CWaveRecorder::CWaveRecorder(const WaveInApi& api) : api_(&api), format_(monoPcm16Format(kSampleRate)) {}

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
    stopRequested_ = 0;
    bytesRecorded_ = 0;
    lastReturnTick_ = GetTickCount();
    if (Open(owner)) {
        deviceClosed_ = 0;
        return 1;
    }
    stopRequested_ = 1;
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
        ui::showMessage(nullptr, text, "Erro Abrindo Canal");
        showDeviceError(opened, 256, "Erro Abrindo Canal");
        return 0;
    }

    if (!PrepareAllBuffers()) {
        ui::showMessage(nullptr, "ERRO PREPARANDO HEADER", " ");
        Close();
        return 0;
    }

    for (int slot = 0; slot < kBufferCount; ++slot) {
        const MMRESULT added = addToDevice(slot);
        if (added != MMSYSERR_NOERROR) {
            WindDown();
            showDeviceError(added, 256, kAddErrorCaption);
            return 0;
        }
    }

    // Any failure to start counts: a device that never started would
    // otherwise look like a silent microphone to the owner.
    if (api_->start(device_) != MMSYSERR_NOERROR) {
        ui::showMessage(nullptr, "Não Foi Possível Inicializar a Gravação", "Gravador");
        WindDown();
        return 0;
    }
    return 1;
}

int CWaveRecorder::PrepareAllBuffers() {
    for (int slot = 0; slot < kBufferCount; ++slot) {
        if (!allocateSlot(slot)) {
            ui::showMessage(nullptr, "Não há memória livre Suficiente", "Gravação");
            unprepareAndFreeAll();
            return 0;
        }
        const MMRESULT prepared = api_->prepareHeader(device_, headers_[slot], kHeaderSize);
        if (prepared != MMSYSERR_NOERROR) {
            showDeviceError(prepared, 256, "Erro preparando o Header");
            freeSlot(slot);  // never prepared: nothing to undo at the device
            unprepareAndFreeAll();
            return 0;
        }
    }
    return 1;
}

int CWaveRecorder::QueueFreshBuffer() {
    int slot = 0;
    while (slot < kBufferCount && buffers_[slot] != nullptr) ++slot;
    if (slot == kBufferCount) {
        ui::showMessage(nullptr, "Erro", "Erro");
        return -1;
    }
    if (!allocateSlot(slot)) {
        ui::showMessage(nullptr, "Não há memória livre", "Gravação");
        return -1;
    }
    const MMRESULT prepared = api_->prepareHeader(device_, headers_[slot], kHeaderSize);
    if (prepared != MMSYSERR_NOERROR) {
        showDeviceError(prepared, 256, "Erro preparando o Header");
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
    showDeviceError(added, 256, kAddErrorCaption);
}

// Hands a prepared buffer to the device.  A refused one is freed at once:
// the device closes only when every buffer has come back, so a buffer it
// will never return must not be counted as outstanding.
MMRESULT CWaveRecorder::addToDevice(int slot) {
    const MMRESULT added = api_->addBuffer(device_, headers_[slot], kHeaderSize);
    if (added != MMSYSERR_NOERROR) {
        api_->unprepareHeader(device_, headers_[slot], kHeaderSize);
        freeSlot(slot);
    }
    return added;
}

int CWaveRecorder::ReleaseBuffer(WAVEHDR* header) {
    // Look the header up before touching it: a header that is not ours may
    // point anywhere.
    const int slot = findSlot(header);
    if (slot < 0) {
        ui::showMessage(nullptr, "Erro Liberando Memória", "Quintor");
        return 0;
    }
    const MMRESULT unprepared = api_->unprepareHeader(device_, header, kHeaderSize);
    if (unprepared != MMSYSERR_NOERROR) {
        showDeviceError(unprepared, 100, "Liberando o Header");
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
    stopRequested_ = 1;
    StopAndReset();
}

void CWaveRecorder::StopAndReset() {
    if (device_ == nullptr) return;
    const MMRESULT stopped = api_->stop(device_);
    if (stopped != MMSYSERR_NOERROR) showDeviceError(stopped, 256, "Erro Parando Gravação");
    const MMRESULT reset = api_->reset(device_);
    if (reset != MMSYSERR_NOERROR) showDeviceError(reset, 256, "Erro ao Parar Gravação Limpando Buffers");
}

void CWaveRecorder::Close() {
    if (device_ == nullptr) return;
    const MMRESULT closed = api_->close(device_);
    if (closed != MMSYSERR_NOERROR) {
        showDeviceError(closed, 256, "Erro ao Parar Gravação - Fechando Canal!");
        return;
    }
    device_ = nullptr;
}

void CWaveRecorder::WindDown() {
    stopRequested_ = 1;
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
    deviceClosed_ = device_ == nullptr ? 1 : 0;
}

int CWaveRecorder::allocatedSlots() const {
    int n = 0;
    for (const WAVEHDR* h : headers_)
        if (h != nullptr) ++n;
    return n;
}

int CWaveRecorder::findSlot(const WAVEHDR* header) const {
    if (header == nullptr) return -1;
    for (int slot = 0; slot < kBufferCount; ++slot)
        if (headers_[slot] == header) return slot;
    return -1;
}

bool CWaveRecorder::allocateSlot(int slot) {
    auto* header = static_cast<WAVEHDR*>(std::calloc(1, sizeof(WAVEHDR)));
    auto* data = static_cast<char*>(std::malloc(kBufferBytes));
    if (header == nullptr || data == nullptr) {
        std::free(header);
        std::free(data);
        return false;
    }
    header->lpData = data;
    header->dwBufferLength = kBufferBytes;
    headers_[slot] = header;
    buffers_[slot] = data;
    return true;
}

void CWaveRecorder::freeSlot(int slot) {
    std::free(buffers_[slot]);
    std::free(headers_[slot]);
    buffers_[slot] = nullptr;
    headers_[slot] = nullptr;
}

void CWaveRecorder::unprepareAndFreeAll() {
    for (int slot = 0; slot < kBufferCount; ++slot) {
        if (headers_[slot] == nullptr) continue;
        if (device_ != nullptr && (headers_[slot]->dwFlags & WHDR_PREPARED) != 0)
            api_->unprepareHeader(device_, headers_[slot], kHeaderSize);
        freeSlot(slot);
    }
}

void CWaveRecorder::discardOwnerNotifications() {
    if (owner_ == nullptr || !IsWindow(owner_)) return;
    MSG msg;
    while (PeekMessageW(&msg, owner_, MM_WIM_OPEN, MM_WIM_DATA, PM_REMOVE)) {
    }
}

void CWaveRecorder::showDeviceError(MMRESULT result, UINT maxChars, const char* caption) const {
    wchar_t text[257] = {};
    if (maxChars > 256) maxChars = 256;
    if (api_->getErrorText(result, text, maxChars) != MMSYSERR_NOERROR)
        std::swprintf(text, 257, L"MMRESULT %u", static_cast<unsigned>(result));
    ui::showMessage(nullptr, ui::narrow(text), caption);
}

}  // namespace voice
