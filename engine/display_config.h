// The engine's display state, and the decisions of the display set-up that
// need no DirectDraw: capability probing, the full-screen mode fallback,
// the windowed layout and the transparent colour key.  The DirectDraw layer
// asks the device, calls these, and acts on the answers.
#pragma once

#include <cstdint>

namespace engine {

// Same layout as a Windows RECT.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct DisplayConfig {
    bool fullScreen = false;
    bool halfView = false;
    int32_t requestedWidth = 640;   // display mode or client size
    int32_t requestedHeight = 480;
    int32_t bitsPerPixel = 16;
    int32_t screenWidth = 640;      // logical drawing size the scaling compares with 640 x 480
    int32_t screenHeight = 480;
    Rect viewport{0, 0, 640, 480};  // the logical area inside the back buffer
    Rect presentRect{};             // client area on screen, or the whole screen
    // A window covering its monitor without frame or menu (F11 in the
    // games): the frame is scaled into it, its proportions kept.  The
    // display mode is never changed for it.
    bool borderless = false;
    int32_t bufferCount = 0;        // 2 or 3 in full-screen
    bool colorFillSupported = false;
    bool useDestColorKey = false;   // only ever turned on, by the probing
    uint32_t colorKey = 0;          // white in the front buffer's pixel format
};

// The one engine-wide instance.
DisplayConfig& displayConfig();

// DirectDraw's capability bits that the probing reads (DDCAPS_*,
// DDCKEYCAPS_*).
inline constexpr uint32_t kCapsColorKey = 0x00400000;
inline constexpr uint32_t kCapsNoHardware = 0x02000000;
inline constexpr uint32_t kCapsBltColorFill = 0x04000000;
inline constexpr uint32_t kCapsBankSwitched = 0x08000000;
inline constexpr uint32_t kColorKeyCapsDestBlt = 0x00000001;
inline constexpr uint32_t kColorKeyCapsSrcBlt = 0x00000200;

struct DeviceCaps {
    uint32_t caps = 0;         // dwCaps
    uint32_t colorKeyCaps = 0; // dwCKeyCaps
    uint32_t videoMemory = 0;  // dwVidMemTotal
};

// Sets colorFillSupported, bufferCount (3 when the video memory exceeds
// one MiB per byte of pixel and the width is at most 640, else 2) and
// turns useDestColorKey on for a device that keys only destinations and
// has at least two MiB per byte of pixel; traces each finding.
void probeCapabilities(const DeviceCaps& caps, DisplayConfig& config);

// Sets a display mode; returns the DirectDraw result (0 = success).
// `standardVga` asks for the standard VGA 320x200x8 mode.
class IDisplayModeSetter {
public:
    virtual int32_t setDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel, bool standardVga) = 0;

protected:
    ~IDisplayModeSetter() = default;
};

// The full-screen mode chain: the requested mode, then 640x480 at the
// current depth (when another size was asked), then 8 bits, then 16 bits;
// each step changes the configuration as it goes.  False when every step
// failed.
bool setModeWithFallback(DisplayConfig& config, IDisplayModeSetter& setter);

// Windowed layout: the style with a caption, sizing frame and minimise box
// and without WS_POPUP; the client rectangle (twice the size with
// halfView); the outer window's top-left corner centred on the screen.
uint32_t windowedStyle(uint32_t style);
Rect windowedClientRect(const DisplayConfig& config);
struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};
Point centredWindowOrigin(int32_t outerWidth, int32_t outerHeight, int32_t screenWidth, int32_t screenHeight);

// A frame of `width` x `height` scaled as large as fits inside `area`, its
// proportions kept, centred: what is left over on two sides shows as bars.
Rect letterboxedRect(const Rect& area, int32_t width, int32_t height);

// White in the front buffer's format: the last palette entry at 8 bits,
// else all three colour masks; traced.
uint32_t colorKeyFromFormat(int32_t bitsPerPixel, uint32_t redMask, uint32_t greenMask, uint32_t blueMask);

}  // namespace engine
