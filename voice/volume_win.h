// The microphone's input volume, through the sound card's mixer.
//
// At program start the microphone is looked up among the recording
// sources of the wave-input destination; the volume object then reads and
// sets that source's volume and reports changes made by anyone (the
// microphone dialog, the system's volume panel).
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

namespace voice {

// Which of the volume control's messages a program shows.  The bee and
// adult programs report a missing microphone and a volume that cannot be
// set; the car, boat and girl programs stay silent and trace nothing.
struct VolumeMessages {
    bool reportMissingMicrophone = true;
    bool reportSetFailure = true;
    bool trace = true;
};
void setVolumeMessages(const VolumeMessages& messages);

class IVolume {
public:
    using Callback = int32_t (*)(int32_t volume, int32_t user);

    virtual bool IsAvailable() = 0;
    virtual void EnableLine() = 0;
    virtual void DisableLine() = 0;
    virtual int32_t GetVolumeSteps() = 0;
    virtual int32_t GetMinVolume() = 0;
    virtual int32_t GetMaxVolume() = 0;
    virtual int32_t GetVolume() = 0;
    virtual void SetVolume(uint32_t value) = 0;
    virtual void SetNotify(Callback callback, int32_t user) = 0;
    // Deleting through the interface must reach the mixer's clean-up.
    virtual ~IVolume() = default;
};

class CVolumeInXXX final : public IVolume {
public:
    explicit CVolumeInXXX(uint32_t sourceIndex);
    ~CVolumeInXXX() override;
    CVolumeInXXX(const CVolumeInXXX&) = delete;
    CVolumeInXXX& operator=(const CVolumeInXXX&) = delete;

    bool IsAvailable() override;
    void EnableLine() override;
    void DisableLine() override;
    int32_t GetVolumeSteps() override;
    int32_t GetMinVolume() override;
    int32_t GetMaxVolume() override;
    int32_t GetVolume() override;
    void SetVolume(uint32_t value) override;
    void SetNotify(Callback callback, int32_t user) override;

    // The mixer reported a change of one of its controls.
    void onControlChange(uint32_t controlId);
    bool lineAdopted() const { return lineAdopted_; }
    uint32_t volumeControlId() const { return volumeControlId_; }
    HWND window() const { return window_; }

private:
    bool openMixer();
    bool adoptSourceLine(uint32_t source);
    bool adoptVolumeControl(DWORD lineId, DWORD channels);
    bool controlKeepsValues();
    void closeMixer();

    bool mixerOpen_ = false;
    bool lineAdopted_ = false;
    bool volumeUsable_ = false;
    UINT mixerId_ = 0;
    HMIXER mixer_ = nullptr;
    DWORD lineId_ = 0;
    DWORD volumeControlId_ = 0;
    DWORD channels_ = 0;
    uint32_t sourceIndex_ = 0;
    HWND window_ = nullptr;
    uint32_t minimum_ = 0xFFFFFFFFu;
    uint32_t maximum_ = 0xFFFFFFFFu;
    uint32_t steps_ = 0;
    Callback callback_ = nullptr;
    int32_t user_ = 0;
};

// The program's volume object, or none.
IVolume* volumeControl();
// Frees the volume object (the game window does this when it is destroyed).
void freeVolumeControl();

// Finds the microphone and creates the volume object: 1 ready (or the
// user chose to go on without a volume control), 0 no microphone line,
// -1 the user answered No to going on without one.
int InitMicrophoneVolume();

// Walks the source lines of the wave-input destination, calling
// picker(index, line, user) until it returns false.
using SourcePicker = bool (*)(uint32_t index, const MIXERLINEA& line, void* user);
bool EnumerateSourceLines(SourcePicker picker, void* user);
// Picker: stores (in *(int32_t*)user) the index of the first microphone.
bool PickMicrophone(uint32_t index, const MIXERLINEA& line, void* user);

// The mixer identifier of the wave-input device the capture records from.
bool waveInMixerId(UINT* id);

}  // namespace voice
