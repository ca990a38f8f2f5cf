#include "engine/display_config.h"

#include "engine/trace.h"

namespace engine {

DisplayConfig& displayConfig() {
    static DisplayConfig config;
    return config;
}

void probeCapabilities(const DeviceCaps& caps, DisplayConfig& config) {
    if (caps.caps & kCapsNoHardware) gfxTrace("No hardware support at all");

    config.colorFillSupported = (caps.caps & kCapsBltColorFill) != 0;
    gfxTrace(config.colorFillSupported ? "Device supports color fill" : "Device does not support color fill");

    const uint64_t bytesPerPixel = static_cast<uint64_t>(config.bitsPerPixel > 0 ? config.bitsPerPixel / 8 : 0);
    if (caps.videoMemory > bytesPerPixel * 1048576u && config.requestedWidth <= 640) {
        config.bufferCount = 3;
        gfxTrace("triple buffering");
    } else {
        config.bufferCount = 2;
        gfxTrace("double buffering (not enough memory)");
    }

    if (!(caps.caps & kCapsColorKey)) {
        gfxTrace("Can't do color key in hardware!");
        return;
    }
    const bool source = (caps.colorKeyCaps & kColorKeyCapsSrcBlt) != 0;
    if (source) gfxTrace("Can do Src colorkey in hardware");
    if (caps.colorKeyCaps & kColorKeyCapsDestBlt) {
        gfxTrace("Can do Dest colorkey in hardware");
        if (!source && caps.videoMemory >= bytesPerPixel * 2097152u) {
            gfxTrace("Using destination color key");
            config.useDestColorKey = true;
        }
    }
}

bool setModeWithFallback(DisplayConfig& config, IDisplayModeSetter& setter) {
    gfxTrace("SetDisplayMode %d %d %d", config.requestedWidth, config.requestedHeight, config.bitsPerPixel);
    const bool standardVga =
        config.requestedWidth == 320 && config.requestedHeight == 200 && config.bitsPerPixel == 8;
    int32_t result =
        setter.setDisplayMode(config.requestedWidth, config.requestedHeight, config.bitsPerPixel, standardVga);
    if (result == 0) return true;

    if (config.requestedWidth != 640 || config.requestedHeight != 480) {
        gfxTrace("cant set mode trying 640x480");
        config.requestedWidth = config.screenWidth = 640;
        config.requestedHeight = config.screenHeight = 480;
        result = setter.setDisplayMode(640, 480, config.bitsPerPixel, false);
        if (result == 0) return true;
    }
    if (config.bitsPerPixel != 8) {
        gfxTrace("cant set mode trying 640x480x8");
        config.bitsPerPixel = 8;
        result = setter.setDisplayMode(config.requestedWidth, config.requestedHeight, 8, false);
        if (result == 0) return true;
    }
    if (config.bitsPerPixel != 16) {
        gfxTrace("cant set mode trying 640x480x16");
        config.bitsPerPixel = 16;
        result = setter.setDisplayMode(config.requestedWidth, config.requestedHeight, 16, false);
        if (result == 0) return true;
    }
    gfxTrace("SetMode failed err=%d", result);
    return false;
}

uint32_t windowedStyle(uint32_t style) { return (style & 0x7F39FFFFu) | 0x00C60000u; }

Rect windowedClientRect(const DisplayConfig& config) {
    const int32_t factor = config.halfView ? 2 : 1;
    return Rect{0, 0, config.requestedWidth * factor, config.requestedHeight * factor};
}

Point centredWindowOrigin(int32_t outerWidth, int32_t outerHeight, int32_t screenWidth, int32_t screenHeight) {
    return Point{screenWidth / 2 - outerWidth / 2, screenHeight / 2 - outerHeight / 2};
}

Rect letterboxedRect(const Rect& area, int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 || area.width() <= 0 || area.height() <= 0) return area;
    // Whichever side fills the area first decides the scale; 64-bit
    // products, so no monitor size can overflow.
    int64_t w = area.width(), h = int64_t{area.width()} * height / width;
    if (h > area.height()) {
        h = area.height();
        w = int64_t{area.height()} * width / height;
    }
    const int32_t left = area.left + static_cast<int32_t>((area.width() - w) / 2);
    const int32_t top = area.top + static_cast<int32_t>((area.height() - h) / 2);
    return Rect{left, top, left + static_cast<int32_t>(w), top + static_cast<int32_t>(h)};
}

uint32_t colorKeyFromFormat(int32_t bitsPerPixel, uint32_t redMask, uint32_t greenMask, uint32_t blueMask) {
    const uint32_t key = bitsPerPixel == 8 ? 255u : (redMask | greenMask | blueMask);
    gfxTrace("dwColorKey = 0x%08lX", static_cast<unsigned long>(key));
    return key;
}

}  // namespace engine
