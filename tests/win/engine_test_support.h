// What the engine's Wine tests and the frame benchmark share: a game window
// like the shell's, the bee's bitmap set and planes as a small test scene,
// the pictures of the art file read independently of the engine's archive,
// and reading back what reached the screen.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/dib.h"
#include "engine/display_config.h"
#include "engine/game_hooks.h"
#include "engine/mapped_file.h"

namespace engine_test {

// ---- the window ------------------------------------------------------------

// A top-level window made the way the game shell makes its own (popup
// style, system menu, a one-item menu bar, size 0 x 0), whose procedure
// keeps presentRect current.  Destroyed with the object.
class GameWindow {
public:
    GameWindow();
    ~GameWindow();
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

// Dispatches the waiting messages for about `ms` milliseconds.
void pumpMessages(DWORD ms);

// ---- the test scene --------------------------------------------------------

// The bee's bitmap set (tiles 051-170 in slots 50-169, the bee, the fly and
// the aeroplane from slot 170) and its three planes, with counters for the
// HUD hooks.  sceneStep runs `frameDrawer`, if any.
struct SceneState {
    std::vector<const engine::GfxBitmap*> slots;
    bool loadSucceeds = true;
    bool playing = false;
    bool hudRestorable = true;
    int pauses = 0;
    int hudCreated = 0;
    int hudReleased = 0;
    int hudRestored = 0;
    int sceneSteps = 0;
    void (*frameDrawer)() = nullptr;
};
SceneState& scene();
const engine::GameHooks& beeHooks();  // artFile "abelha.ff"
inline constexpr int kSpriteSlot = 170;  // ab0..ab4, then mosca (175), aviao0/1 (176, 177)

// ---- pictures of the art file ---------------------------------------------

// Reads an art file on its own (not through the engine's archive, whose
// single instance the engine is using).
class ArtFile {
public:
    bool open(const char* path);
    // The named entry, checked; nullopt when missing or unreadable.
    std::optional<engine::DibInfo> picture(const char* name) const;

private:
    std::unique_ptr<engine::MappedFile> file_;
};

// What a correct blit of a picture puts on the screen: 0x00RRGGBB at each
// pixel of the picture, or nullopt where the colour key lets the pixel
// below show.  Solid pictures are their colour everywhere.  Pictures on
// bitmap surfaces have their near-white colours made visibly non-white;
// the splash is drawn with its own colours (`ownColors`).
class ExpectedPicture {
public:
    explicit ExpectedPicture(const engine::DibInfo& picture, bool ownColors = false);
    std::optional<uint32_t> at(int32_t x, int32_t y) const;
    int32_t width() const { return picture_.width; }
    int32_t height() const { return picture_.height; }
    bool transparent() const { return transparent_; }

private:
    engine::DibInfo picture_;
    uint32_t colors_[256]{};
    bool transparent_ = false;
    bool solid_ = false;
    uint32_t solidColor_ = 0;
};

// Tile numbers of a plane list resource, width x height, row-major (0 =
// empty cell).
std::vector<int> readPlaneList(const char* resource, int width, int height);

// ---- the screen ------------------------------------------------------------

struct Screenshot {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first
    uint32_t at(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The pixels of a rectangle of the screen as the display shows them.
Screenshot captureScreen(const engine::Rect& area);
// The window's client area.
Screenshot captureClient(HWND window);
// The client area once `shows` accepts it, dispatching messages between
// attempts; the last attempt when `timeoutMs` passes first.  The display
// shows a presented frame a little later than the call that presented it.
Screenshot captureClientWhen(HWND window, const std::function<bool(const Screenshot&)>& shows, DWORD timeoutMs);
// Saves a screenshot as a 32-bit BMP; false on a write error.
bool saveBmp(const Screenshot& shot, const std::string& path);

}  // namespace engine_test
