// A fresh game window and engine state for each test of the DirectDraw
// layer; everything the test started is released afterwards.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "engine/ddraw_win.h"
#include "engine/frame_win.h"
#include "engine_test_support.h"

namespace engine_test {

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = std::make_unique<GameWindow>();
        ASSERT_NE(window_->hwnd(), nullptr);
        engine::displayObjects().window = window_->hwnd();
        engine::DisplayConfig& config = engine::displayConfig();
        config.fullScreen = false;
        config.borderless = false;
        config.halfView = false;
        config.requestedWidth = 640;
        config.requestedHeight = 480;
        config.bitsPerPixel = 16;  // what the game programs ask for
        scene() = SceneState{};
        engine::gfxSetGameHooks(&beeHooks());
        engine::gfxEnumDevices();
    }

    void TearDown() override {
        engine::gfxSetSurfaceLossProbe(nullptr);
        engine::ReleaseGraphics();
        engine::gfxReleaseSurfaces(true);
        engine::displayObjects().window = nullptr;
        engine::gfxSetGameHooks(nullptr);
        window_.reset();
    }

    HWND hwnd() const { return window_->hwnd(); }

private:
    std::unique_ptr<GameWindow> window_;
};

// The pixels of a 32-bit surface as 0x00RRGGBB; empty when it cannot be
// locked or has another depth.
inline Screenshot readSurface(IDirectDrawSurface* surface) {
    Screenshot shot;
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    if (surface == nullptr || FAILED(surface->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr)))
        return shot;
    if (desc.ddpfPixelFormat.dwRGBBitCount == 32) {
        shot.width = static_cast<int32_t>(desc.dwWidth);
        shot.height = static_cast<int32_t>(desc.dwHeight);
        shot.pixels.resize(static_cast<size_t>(shot.width) * shot.height);
        for (int32_t y = 0; y < shot.height; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(desc.lpSurface) +
                                                               static_cast<ptrdiff_t>(y) * desc.lPitch);
            for (int32_t x = 0; x < shot.width; ++x) shot.pixels[static_cast<size_t>(y) * shot.width + x] = row[x] & 0xFFFFFF;
        }
    }
    surface->Unlock(nullptr);
    return shot;
}

}  // namespace engine_test
