// The calibration dialogs driven through their real controls under Wine,
// the microphone volume through Wine's mixer, and the external tools with
// a stand-in program.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "resources/common/dialog_ids.h"
#include "voice/calibration.h"
#include "voice/dialogs_win.h"
#include "winui/external_tools_win.h"
#include "voice/intensity.h"
#include "voice/trace.h"
#include "winui/user_message_win.h"
#include "voice/volume_win.h"
#include "voice/wave_recorder_win.h"
#include "win_test_support.h"

namespace {

using testing_win::clickButton;
using testing_win::MessageCapture;
using testing_win::PcmPlayer;
using testing_win::pumpUntil;
using testing_win::Script;
using testing_win::TestWindow;
using testing_win::windowText;

HINSTANCE instance() { return GetModuleHandleW(nullptr); }

// Owner of the dialogs, like the game window.
struct OwnerWindow : TestWindow {
    OwnerWindow() : TestWindow([](UINT, WPARAM, LPARAM) { return false; }) {}
};

class AudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testing_win::haveVirtualMicrophone()) GTEST_SKIP() << "needs the virtual microphone";
        voice::intensitySettings() = voice::IntensitySettings{};
    }
};

// --- noise dialog ----------------------------------------------------------------

TEST_F(AudioTest, NoiseDialogMeasuresThePlayedLevel) {
    MessageCapture boxes;
    OwnerWindow owner;
    std::unique_ptr<PcmPlayer> player;
    bool okDisabledAtFirst = false, okDisabledWhileMeasuring = false, startDisabledWhileMeasuring = false;
    int progressAtEnd = 0;

    Script script({
        [&](HWND d) {
            if (!d) return false;
            okDisabledAtFirst = !IsWindowEnabled(GetDlgItem(d, IDOK));
            player = std::make_unique<PcmPlayer>(testing_win::sineWave(440.0, 8000.0, 6000));
            return true;
        },
        Script::waitMs(700),
        [&](HWND d) {
            clickButton(d, IDC_NOISE_START);
            okDisabledWhileMeasuring = !IsWindowEnabled(GetDlgItem(d, IDOK));
            startDisabledWhileMeasuring = !IsWindowEnabled(GetDlgItem(d, IDC_NOISE_START));
            return true;
        },
        [&](HWND d) { return IsWindowEnabled(GetDlgItem(d, IDOK)) != FALSE; },
        [&](HWND d) {
            progressAtEnd = static_cast<int>(SendDlgItemMessageW(d, IDC_NOISE_PROGRESS, PBM_GETPOS, 0, 0));
            clickButton(d, IDOK);
            return true;
        },
    });
    const int result = voice::NoiseDialog(instance(), owner.hwnd());
    ASSERT_FALSE(script.timedOut());
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(okDisabledAtFirst);
    EXPECT_TRUE(okDisabledWhileMeasuring);
    EXPECT_TRUE(startDisabledWhileMeasuring);
    EXPECT_GE(progressAtEnd, 300);
    EXPECT_TRUE(voice::waveRecorder().deviceClosed());
    EXPECT_EQ(voice::waveRecorder().allocatedSlots(), 0);
    EXPECT_GE(voice::waveRecorder().bytesRecorded(), 3 * 22050);

    const float host = testing_win::hostLevelOfSine(440.0, 8000.0);
    const int expected = static_cast<int>(host + 4.0f);
    EXPECT_NEAR(voice::intensitySettings().noiseDb, expected, 1) << "host level " << host;
    EXPECT_TRUE(boxes.messages().empty());
}

TEST_F(AudioTest, EscapeDuringNoiseMeasurementLeavesTheRecorderReady) {
    MessageCapture boxes;
    OwnerWindow owner;
    voice::intensitySettings().noiseDb = 33;
    Script script({
        [&](HWND d) {
            if (!d) return false;
            clickButton(d, IDC_NOISE_START);
            return true;
        },
        Script::waitMs(800),
        [&](HWND d) {
            PostMessageW(d, WM_KEYDOWN, VK_ESCAPE, 0);
            return true;
        },
    });
    EXPECT_EQ(voice::NoiseDialog(instance(), owner.hwnd()), 0);
    ASSERT_FALSE(script.timedOut());
    voice::CWaveRecorder& recorder = voice::waveRecorder();
    EXPECT_TRUE(recorder.deviceClosed());
    EXPECT_EQ(recorder.device(), nullptr);
    EXPECT_EQ(recorder.allocatedSlots(), 0);
    EXPECT_EQ(voice::intensitySettings().noiseDb, 33) << "an interrupted measurement sets nothing";

    // The caller can start at once, and nothing of the old recording
    // reaches the new owner.
    int data = 0, closes = 0;
    TestWindow game([&](UINT msg, WPARAM, LPARAM lp) {
        if (msg == MM_WIM_DATA) {
            ++data;
            voice::processCapturedBuffer(recorder, reinterpret_cast<WAVEHDR*>(lp), true, [](auto) {});
            return true;
        }
        if (msg == MM_WIM_CLOSE) {
            ++closes;
            recorder.markDeviceClosed();
            return true;
        }
        return false;
    });
    ASSERT_EQ(recorder.Start(game.hwnd()), 1);
    ASSERT_TRUE(pumpUntil([&] { return data >= 3; }, 10000));
    recorder.RequestStop();
    ASSERT_TRUE(pumpUntil([&] { return closes == 1; }, 10000));
    EXPECT_TRUE(boxes.messages().empty());
}

// The program's recorder with a device that refuses its 104th buffer
// (after the first 100 and three more): the recording ends on its own.
int g_addCalls = 0;
MMRESULT WINAPI addRefusingTheFourthRequeue(HWAVEIN d, LPWAVEHDR h, UINT n) {
    if (++g_addCalls == 104) return MMSYSERR_NOMEM;
    return waveInAddBuffer(d, h, n);
}
struct RefusingDevice {
    voice::WaveInApi api = voice::realWaveInApi();
    RefusingDevice() {
        g_addCalls = 0;
        api.addBuffer = addRefusingTheFourthRequeue;
        voice::waveRecorder().useApi(api);
    }
    ~RefusingDevice() { voice::waveRecorder().useApi(voice::realWaveInApi()); }
};

TEST_F(AudioTest, EachDialogCanBeLeftWhenTheDeviceRefusesABuffer) {
    MessageCapture boxes;
    OwnerWindow owner;
    RefusingDevice device;
    voice::intensitySettings().noiseDb = 33;

    Script noise({
        [&](HWND d) {
            if (!d) return false;
            clickButton(d, IDC_NOISE_START);
            return true;
        },
        [&](HWND d) { return IsWindowEnabled(GetDlgItem(d, IDOK)) != FALSE; },
        [&](HWND d) {
            clickButton(d, IDOK);
            return true;
        },
    });
    EXPECT_EQ(voice::NoiseDialog(instance(), owner.hwnd()), 1);
    ASSERT_FALSE(noise.timedOut()) << "OK must come back once the recording ended";
    EXPECT_EQ(voice::intensitySettings().noiseDb, 33) << "a measurement cut short sets nothing";
    EXPECT_EQ(voice::waveRecorder().allocatedSlots(), 0);

    g_addCalls = 0;
    std::string labelAfterTheFailure;
    Script microphone({
        [&](HWND d) {
            if (!d) return false;
            clickButton(d, IDCANCEL);  // "Testar"
            return true;
        },
        [&](HWND) { return voice::waveRecorder().deviceClosed(); },
        [&](HWND d) {
            labelAfterTheFailure = windowText(GetDlgItem(d, IDCANCEL));
            clickButton(d, IDOK);
            return true;
        },
    });
    EXPECT_EQ(voice::MicrophoneDialog(instance(), owner.hwnd()), 0);
    ASSERT_FALSE(microphone.timedOut()) << "OK must end the dialog";
    EXPECT_EQ(labelAfterTheFailure, "Testar");
    EXPECT_TRUE(voice::waveRecorder().deviceClosed());

    ASSERT_EQ(boxes.messages().size(), 2u);
    for (const auto& m : boxes.messages()) EXPECT_EQ(m.caption, "Erro Adicionando Buffer");
}

TEST(NoiseDialog, EscapeBeforeMeasuringReturnsZero) {
    MessageCapture boxes;
    OwnerWindow owner;
    Script script({[&](HWND d) {
        if (!d) return false;
        PostMessageW(d, WM_KEYDOWN, VK_ESCAPE, 0);
        return true;
    }});
    EXPECT_EQ(voice::NoiseDialog(instance(), owner.hwnd()), 0);
    EXPECT_FALSE(script.timedOut());
}

// --- intensity dialog --------------------------------------------------------------

struct BandCase {
    const char* minimum;
    const char* maximum;
    const char* complaint;  // nullptr: accepted
    float minDb, maxDb;     // stored afterwards
};

TEST(IntensityDialog, TypedValuesAreCheckedBeforeTheyAreStored) {
    const BandCase cases[] = {
        {"35", "90", nullptr, 35, 90},
        {"7x", "120", nullptr, 7, 120},
        {"0", "60", nullptr, 0, 60},
        {"", "100", "Valor Minimo: 0 a 50 dB", 10, 100},
        {" 5", "100", "Valor Minimo: 0 a 50 dB", 10, 100},
        {"-5", "100", "Valor Minimo: 0 a 50 dB", 10, 100},
        {"51", "100", "Valor Minimo: 0 a 50 dB", 10, 100},
        {"x5", "100", "Valor Minimo: 0 a 50 dB", 10, 100},
        {"99999999999999999999", "100", "Valor Minimo: 0 a 50 dB", 10, 100},
        {"20", "59", "Valor Máximo: 60 a 120 dB", 10, 100},
        {"20", "121", "Valor Máximo: 60 a 120 dB", 10, 100},
        {"20", "1e2", "Valor Máximo: 60 a 120 dB", 10, 100},
    };
    for (const auto& c : cases) {
        voice::intensitySettings() = voice::IntensitySettings{};
        MessageCapture boxes;
        OwnerWindow owner;
        std::string shownMin, shownMax;
        HWND focusAfter = nullptr, expectedFocus = nullptr;
        Script script({
            [&](HWND d) {
                if (!d) return false;
                shownMin = windowText(GetDlgItem(d, IDC_MINIMUM));
                shownMax = windowText(GetDlgItem(d, IDC_MAXIMUM));
                SetDlgItemTextW(d, IDC_MINIMUM, ui::widen(c.minimum).c_str());
                SetDlgItemTextW(d, IDC_MAXIMUM, ui::widen(c.maximum).c_str());
                clickButton(d, IDOK);
                return true;
            },
            [&](HWND d) {
                if (d == nullptr) return true;  // accepted and closed
                HWND focus = GetFocus();
                expectedFocus = GetDlgItem(d, c.complaint && c.complaint[6] == 'M' && c.complaint[7] == 'i'
                                                  ? IDC_MINIMUM
                                                  : IDC_MAXIMUM);
                focusAfter = (focus == expectedFocus || IsChild(expectedFocus, focus)) ? expectedFocus : focus;
                clickButton(d, IDCANCEL);
                return true;
            },
        });
        const int result = voice::IntensityDialog(instance(), owner.hwnd());
        ASSERT_FALSE(script.timedOut()) << c.minimum << " / " << c.maximum;
        EXPECT_EQ(shownMin, "10");
        EXPECT_EQ(shownMax, "100");
        EXPECT_EQ(voice::intensitySettings().minDb, c.minDb) << c.minimum;
        EXPECT_EQ(voice::intensitySettings().maxDb, c.maxDb) << c.maximum;
        if (c.complaint == nullptr) {
            EXPECT_EQ(result, 1) << c.minimum << " / " << c.maximum;
            EXPECT_TRUE(boxes.messages().empty());
        } else {
            EXPECT_EQ(result, 0);
            ASSERT_EQ(boxes.messages().size(), 1u) << c.minimum << " / " << c.maximum;
            EXPECT_EQ(boxes.messages()[0].text, c.complaint);
            EXPECT_EQ(boxes.messages()[0].caption, "Tempo Expiratório");
            EXPECT_NE(boxes.messages()[0].owner, nullptr) << "owned by the dialog";
            EXPECT_EQ(focusAfter, expectedFocus) << "focus goes to the rejected box";
        }
    }
}

TEST(IntensityDialog, CancelarKeepsTheOldValues) {
    voice::intensitySettings() = voice::IntensitySettings{};
    voice::intensitySettings().minDb = 20;
    voice::intensitySettings().maxDb = 80;
    MessageCapture boxes;
    OwnerWindow owner;
    std::string shownMin;
    Script script({[&](HWND d) {
        if (!d) return false;
        shownMin = windowText(GetDlgItem(d, IDC_MINIMUM));
        SetDlgItemTextW(d, IDC_MINIMUM, L"40");
        SetDlgItemTextW(d, IDC_MAXIMUM, L"110");
        clickButton(d, IDCANCEL);
        return true;
    }});
    EXPECT_EQ(voice::IntensityDialog(instance(), owner.hwnd()), 0);
    EXPECT_EQ(shownMin, "20");
    EXPECT_EQ(voice::intensitySettings().minDb, 20);
    EXPECT_EQ(voice::intensitySettings().maxDb, 80);
}

// --- microphone volume and dialog ------------------------------------------------------

// The microphone's volume control, set up as at program start; answering
// No to "go on without a volume control?" keeps the object, so a missing
// control shows as a failure here instead of a crash.
class VolumeTest : public AudioTest {
protected:
    void SetUp() override {
        AudioTest::SetUp();
        if (IsSkipped()) return;
        {
            MessageCapture answerNo(IDNO);
            ASSERT_EQ(voice::InitMicrophoneVolume(), 1);
        }
        volume = voice::volumeControl();
        ASSERT_NE(volume, nullptr);
    }
    void TearDown() override { voice::freeVolumeControl(); }
    voice::IVolume* volume = nullptr;
};

TEST_F(VolumeTest, MicrophoneLineIsFoundAndItsVolumeRoundTrips) {
    MessageCapture boxes;
    ASSERT_TRUE(volume->IsAvailable());
    auto* mixer = dynamic_cast<voice::CVolumeInXXX*>(volume);
    ASSERT_NE(mixer, nullptr);
    EXPECT_EQ(windowText(mixer->window()), "Input Volume Msg Wnd") << "the hidden window's title, read back whole";
    EXPECT_EQ(volume->GetMinVolume(), 0);
    EXPECT_EQ(volume->GetMaxVolume(), 65535);
    const int32_t original = volume->GetVolume();
    for (uint32_t v : {0u, 12345u, 65535u, 40000u}) {
        volume->SetVolume(v);
        EXPECT_EQ(volume->GetVolume(), static_cast<int32_t>(v));
    }
    volume->SetVolume(70000u);  // out of range: nothing happens
    EXPECT_EQ(volume->GetVolume(), 40000);
    volume->SetVolume(static_cast<uint32_t>(original));
    EXPECT_TRUE(boxes.messages().empty());
}

TEST_F(VolumeTest, MicrophoneDialogTestsLevelsAndMovesTheVolume) {
    MessageCapture boxes;
    volume->SetVolume(65535);
    OwnerWindow owner;
    std::unique_ptr<PcmPlayer> player;
    int initialPosition = -1, levelSeen = 0, volumeAfterMove = -1;
    std::string labelWhileTesting;
    bool stillOpenAfterOk = false;
    const int expectedLevel = static_cast<int>(testing_win::hostLevelOfSine(440.0, 8000.0));

    Script script({
        [&](HWND d) {
            if (!d) return false;
            initialPosition = static_cast<int>(SendDlgItemMessageW(d, IDC_MIC_TRACKBAR, TBM_GETPOS, 0, 0));
            player = std::make_unique<PcmPlayer>(testing_win::sineWave(440.0, 8000.0, 8000));
            clickButton(d, IDCANCEL);  // "Testar"
            labelWhileTesting = windowText(GetDlgItem(d, IDCANCEL));
            return true;
        },
        [&](HWND d) {
            levelSeen = static_cast<int>(SendDlgItemMessageW(d, IDC_MIC_LEVEL, PBM_GETPOS, 0, 0));
            return std::abs(levelSeen - expectedLevel) <= 1;
        },
        [&](HWND d) {
            HWND bar = GetDlgItem(d, IDC_MIC_TRACKBAR);
            SendMessageW(bar, TBM_SETPOS, TRUE, 250);
            SendMessageW(d, WM_VSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 250), reinterpret_cast<LPARAM>(bar));
            volumeAfterMove = volume->GetVolume();
            SendMessageW(bar, TBM_SETPOS, TRUE, 0);
            SendMessageW(d, WM_VSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 0), reinterpret_cast<LPARAM>(bar));
            clickButton(d, IDOK);  // during the test: waits for the device
            stillOpenAfterOk = IsWindow(d) && IsWindowVisible(d);
            return true;
        },
    });
    const int result = voice::MicrophoneDialog(instance(), owner.hwnd());
    ASSERT_FALSE(script.timedOut()) << "level seen " << levelSeen << ", expected " << expectedLevel;
    EXPECT_EQ(result, 1) << "the slider was moved (and moved back)";
    EXPECT_EQ(initialPosition, 0) << "full volume sits at the top";
    EXPECT_EQ(labelWhileTesting, "Parar");
    EXPECT_EQ(volumeAfterMove, 49152);
    EXPECT_EQ(volume->GetVolume(), 65535);
    EXPECT_TRUE(stillOpenAfterOk);
    EXPECT_TRUE(voice::waveRecorder().deviceClosed()) << "the dialog ends only once the device has closed";
    EXPECT_EQ(voice::waveRecorder().allocatedSlots(), 0);
    EXPECT_TRUE(boxes.messages().empty());
}

TEST_F(VolumeTest, MicrophoneDialogWithoutMovingReturnsZeroAndFollowsOutsideChanges) {
    MessageCapture boxes;
    volume->SetVolume(0);
    OwnerWindow owner;
    int initialPosition = -1;
    int positionAfterOutsideChange = -1;
    std::unique_ptr<voice::CVolumeInXXX> outsider;
    Script script({
        [&](HWND d) {
            if (!d) return false;
            initialPosition = static_cast<int>(SendDlgItemMessageW(d, IDC_MIC_TRACKBAR, TBM_GETPOS, 0, 0));
            // Someone else (the system's panel) changes the volume; the
            // mixer tells the hidden window (Wine's mixer sends nothing, so
            // the test delivers the mixer's message itself).
            volume->SetVolume(32768);
            auto* control = dynamic_cast<voice::CVolumeInXXX*>(volume);
            HWND hidden = control ? control->window() : nullptr;
            if (hidden && control)
                SendMessageW(hidden, MM_MIXM_CONTROL_CHANGE, 0, static_cast<LPARAM>(control->volumeControlId()));
            positionAfterOutsideChange =
                static_cast<int>(SendDlgItemMessageW(d, IDC_MIC_TRACKBAR, TBM_GETPOS, 0, 0));
            clickButton(d, IDOK);
            return true;
        },
    });
    EXPECT_EQ(voice::MicrophoneDialog(instance(), owner.hwnd()), 0);
    ASSERT_FALSE(script.timedOut());
    EXPECT_EQ(initialPosition, 1000) << "volume 0 sits at the bottom";
    EXPECT_EQ(positionAfterOutsideChange, 500);
    volume->SetVolume(65535);
}

TEST(MicrophoneDialog, WithoutVolumeObjectMovingStillCounts) {
    voice::freeVolumeControl();
    MessageCapture boxes;
    OwnerWindow owner;
    Script script({[&](HWND d) {
        if (!d) return false;
        HWND bar = GetDlgItem(d, IDC_MIC_TRACKBAR);
        SendMessageW(bar, TBM_SETPOS, TRUE, 600);
        SendMessageW(d, WM_VSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 600), reinterpret_cast<LPARAM>(bar));
        clickButton(d, IDOK);
        return true;
    }});
    EXPECT_EQ(voice::MicrophoneDialog(instance(), owner.hwnd()), 1);
    EXPECT_TRUE(boxes.messages().empty());
}

// --- no audio server ---------------------------------------------------------------------

TEST(NoAudioServer, NoMicrophoneControlAndNoMeasurement) {
    if (testing_win::haveVirtualMicrophone()) GTEST_SKIP() << "an audio server is running";
    MessageCapture boxes;
    EXPECT_EQ(voice::InitMicrophoneVolume(), 0);
    EXPECT_EQ(voice::volumeControl(), nullptr);
    EXPECT_TRUE(boxes.messages().empty()) << "the program entry reports it";

    // The noise dialog cannot start the recorder: it closes with 0.
    OwnerWindow owner;
    Script script({[&](HWND d) {
        if (!d) return false;
        clickButton(d, IDC_NOISE_START);
        return true;
    }});
    EXPECT_EQ(voice::NoiseDialog(instance(), owner.hwnd()), 0);
    ASSERT_FALSE(script.timedOut());
    ASSERT_EQ(boxes.messages().size(), 2u);
    EXPECT_EQ(boxes.messages()[0].caption, "Erro Abrindo Canal");
}

// --- the system's own texts -------------------------------------------------------------

// Wine shows the system's texts in the locale it runs in; on a Brazilian
// therapist's machine the confirmation answers "Sim" and "Não".
TEST(SystemTexts, MessageBoxButtonsReadSimAndNao) {
    OwnerWindow owner;
    std::string yes, no;
    Script script({[&](HWND d) {
        if (!d) return false;
        yes = windowText(GetDlgItem(d, IDYES));
        no = windowText(GetDlgItem(d, IDNO));
        wchar_t exe[MAX_PATH];
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        const std::wstring folder = std::wstring(exe).substr(0, std::wstring(exe).find_last_of(L"\\/") + 1);
        uidriver::saveScreenshot(folder + L"messagebox-pt-BR.bmp");
        clickButton(d, IDNO);
        return true;
    }});
    EXPECT_EQ(MessageBoxW(owner.hwnd(), L"Tempo Obtido: 00:07:35\nConfirma este Tempo?", L"", MB_YESNO), IDNO);
    ASSERT_FALSE(script.timedOut());
    std::erase(yes, '&');
    std::erase(no, '&');
    EXPECT_EQ(yes, "Sim");
    EXPECT_EQ(no, "Não");
}

// --- external tools ------------------------------------------------------------------------

const wchar_t kRetitled[] = L"Controle de Volume - (Feche esta Janela para Voltar ao Jogo)";

class ExternalToolTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The stand-in takes the volume control's place in the test prefix.
        wchar_t exe[MAX_PATH], windows[MAX_PATH];
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        std::wstring tool = exe;
        tool = tool.substr(0, tool.find_last_of(L"\\/") + 1) + L"te_fake_tool.exe";
        GetWindowsDirectoryW(windows, MAX_PATH);
        ASSERT_TRUE(CopyFileW(tool.c_str(), (std::wstring(windows) + L"\\sndVol32.exe").c_str(), FALSE));
    }
};

struct GameWindow {
    HWND hwnd;
    GameWindow() {
        hwnd = CreateWindowExW(0, L"STATIC", L"Tempo Expiratório", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320, 240,
                               nullptr, nullptr, instance(), nullptr);
    }
    ~GameWindow() { DestroyWindow(hwnd); }
};

void waitForToolToEnd(const wchar_t* title) {
    pumpUntil([&] { return FindWindowW(nullptr, title) == nullptr; }, 5000);
}

TEST_F(ExternalToolTest, VolumeControlIsRetitledWaitedForAndEnded) {
    for (const bool minimise : {true, false}) {
        SetEnvironmentVariableW(L"TE_FAKE_TOOL_TITLE", L"Volume Control");
        GameWindow game;
        bool gameHidden = false, toolOnTop = false;
        Script script({
            [&](HWND) {
                HWND tool = FindWindowW(nullptr, kRetitled);
                if (!tool) return false;
                gameHidden = !IsWindowVisible(game.hwnd);
                toolOnTop = (GetWindowLongW(tool, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
                if (minimise)
                    PostMessageW(tool, WM_SYSCOMMAND, SC_MINIMIZE, 0);
                else
                    PostMessageW(tool, WM_CLOSE, 0, 0);
                return true;
            },
        });
        ui::ShowVolumeControl(game.hwnd);
        ASSERT_TRUE(script.finished()) << "the tool window never appeared";
        EXPECT_TRUE(gameHidden) << minimise;
        EXPECT_TRUE(toolOnTop) << minimise;
        EXPECT_TRUE(IsWindowVisible(game.hwnd));
        EXPECT_TRUE(IsZoomed(game.hwnd)) << "the game comes back maximised";
        waitForToolToEnd(kRetitled);
        EXPECT_EQ(FindWindowW(nullptr, kRetitled), nullptr) << "the started tool is ended";
    }
}

// Current Windows has no sndVol32.exe: F12 opens the recording page of the
// Sound panel instead, found by its title, waited for and ended the same
// way.  Here a stand-in named rundll32.exe beside the program answers, as
// a program beside the caller is found before the Windows folders.
TEST_F(ExternalToolTest, SoundPanelStandsInWhenTheVolumeControlIsMissing) {
    wchar_t exe[MAX_PATH], windows[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring folder = std::wstring(exe).substr(0, std::wstring(exe).find_last_of(L"\\/") + 1);
    const std::wstring volumeControl = std::wstring(windows) + L"\\sndVol32.exe";
    const std::wstring panel = folder + L"rundll32.exe";
    ASSERT_TRUE(DeleteFileW(volumeControl.c_str()));
    ASSERT_TRUE(CopyFileW((folder + L"te_fake_tool.exe").c_str(), panel.c_str(), FALSE));

    for (const wchar_t* title : {L"Som", L"Sound"}) {
        SetEnvironmentVariableW(L"TE_FAKE_TOOL_TITLE", title);
        GameWindow game;
        bool gameHidden = false;
        Script script({
            [&](HWND) {
                HWND tool = FindWindowW(nullptr, kRetitled);
                if (!tool) return false;
                gameHidden = !IsWindowVisible(game.hwnd);
                PostMessageW(tool, WM_CLOSE, 0, 0);
                return true;
            },
        });
        ui::ShowVolumeControl(game.hwnd);
        EXPECT_TRUE(script.finished()) << "the panel's window was not found";
        EXPECT_TRUE(gameHidden);
        EXPECT_TRUE(IsWindowVisible(game.hwnd)) << "the game comes back";
        waitForToolToEnd(kRetitled);
    }

    DeleteFileW(panel.c_str());
    CopyFileW((folder + L"te_fake_tool.exe").c_str(), volumeControl.c_str(), FALSE);
}

TEST_F(ExternalToolTest, ToolWithAnUnknownTitleIsEndedAtOnce) {
    SetEnvironmentVariableW(L"TE_FAKE_TOOL_TITLE", L"Something Else");
    GameWindow game;
    const DWORD started = GetTickCount();
    ui::ShowVolumeControl(game.hwnd);
    EXPECT_LT(GetTickCount() - started, 20000u) << "no wait for a window that was not found";
    waitForToolToEnd(L"Something Else");
    EXPECT_EQ(FindWindowW(nullptr, L"Something Else"), nullptr);
    EXPECT_TRUE(IsWindowVisible(game.hwnd));
}

TEST_F(ExternalToolTest, QuitMessageEndsTheWait) {
    SetEnvironmentVariableW(L"TE_FAKE_TOOL_TITLE", L"Volume Control");
    GameWindow game;
    Script script({[&](HWND) {
        if (!FindWindowW(nullptr, kRetitled)) return false;
        PostQuitMessage(7);
        return true;
    }});
    ui::ShowVolumeControl(game.hwnd);
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the program's own loop still sees the quit";
    EXPECT_TRUE(script.finished());
    EXPECT_TRUE(IsWindowVisible(game.hwnd));
    waitForToolToEnd(kRetitled);
    EXPECT_EQ(FindWindowW(nullptr, kRetitled), nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
