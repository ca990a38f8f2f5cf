#include "engine_test_support.h"

#include <cstdio>
#include <cstring>

#include "engine/art_archive.h"
#include "engine/bitmap_win.h"
#include "engine/ddraw_win.h"

namespace engine_test {
namespace {

constexpr wchar_t kClassName[] = L"TeEngineTestWindow";

LRESULT CALLBACK gameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOVE || message == WM_SIZE) engine::gfxUpdatePresentRect();
    return DefWindowProcW(window, message, wParam, lParam);
}

void registerClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = gameWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kClassName;
    registered = RegisterClassW(&wc) != 0;
}

HMENU makeMenu() {
    HMENU bar = CreateMenu();
    HMENU game = CreatePopupMenu();
    AppendMenuW(game, MF_STRING, 32771, L"&Sair");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(game), L"&Jogo");
    return bar;
}

// ---- the bee scene ----------------------------------------------------------

bool loadBeeSet() {
    SceneState& s = scene();
    if (!s.loadSucceeds || !engine::ArtArchiveOpen("abelha.ff", 5)) return false;
    s.slots.assign(200, nullptr);
    char name[16];
    for (unsigned n = 51; n <= 170; ++n) {
        std::snprintf(name, sizeof name, "%03u.BMP", n);
        s.slots[n - 1] = engine::gfxLoadBitmap(name);
    }
    for (int i = 0; i < 5; ++i) {
        std::snprintf(name, sizeof name, "ab%d.BMP", i);
        s.slots[static_cast<size_t>(kSpriteSlot + i)] = engine::gfxLoadBitmap(name);
    }
    s.slots[175] = engine::gfxLoadBitmap("mosca.bmp");
    s.slots[176] = engine::gfxLoadBitmap("aviao0.bmp");
    s.slots[177] = engine::gfxLoadBitmap("aviao1.bmp");
    engine::ArtArchiveClose();
    return true;
}

std::span<const engine::GfxBitmap* const> beeSet() { return scene().slots; }
void noSprites() {}
void stepScene() {
    ++scene().sceneSteps;
    if (scene().frameDrawer != nullptr) scene().frameDrawer();
}
bool isPlaying() { return scene().playing; }
void pauseDrawing() { ++scene().pauses; }
bool createHud() { return ++scene().hudCreated > 0; }
void releaseHud() { ++scene().hudReleased; }
bool restoreHud() {
    ++scene().hudRestored;
    return scene().hudRestorable;
}

uint32_t readU32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

}  // namespace

GameWindow::GameWindow() {
    registerClass();
    hwnd_ = CreateWindowExW(WS_EX_APPWINDOW, kClassName, L"Tempo Expiratório", WS_POPUP | WS_VISIBLE | WS_SYSMENU,
                            0, 0, 0, 0, nullptr, makeMenu(), GetModuleHandleW(nullptr), nullptr);
    if (hwnd_ != nullptr) {
        UpdateWindow(hwnd_);
        SetFocus(hwnd_);
    }
}

GameWindow::~GameWindow() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void pumpMessages(DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    } while (GetTickCount() - start < ms);
}

SceneState& scene() {
    static SceneState state;
    return state;
}

const engine::GameHooks& beeHooks() {
    static const engine::GameHooks hooks = [] {
        engine::GameHooks h;
        h.artFile = "abelha.ff";
        h.front = {"FORELIST", 30, 15, 1};
        h.middle = {"MIDLIST", 26, 20, 3};
        h.back = {"BACKLIST", 20, 16, 10};
        h.loadBitmapSet = loadBeeSet;
        h.bitmapSet = beeSet;
        h.createSprites = noSprites;
        h.sceneStep = stepScene;
        h.isPlaying = isPlaying;
        h.pauseDrawing = pauseDrawing;
        h.createHud = createHud;
        h.releaseHud = releaseHud;
        h.restoreHud = restoreHud;
        return h;
    }();
    return hooks;
}

// ---- pictures ---------------------------------------------------------------

bool ArtFile::open(const char* path) {
    file_ = engine::mapFile(path);
    return file_ != nullptr && file_->bytes().size() >= 8;
}

std::optional<engine::DibInfo> ArtFile::picture(const char* name) const {
    if (!file_) return std::nullopt;
    const auto bytes = file_->bytes();
    const uint32_t count = readU32(bytes.data());
    const size_t directoryEnd = 4 + (static_cast<size_t>(count) + 1) * engine::kArtRecordSize;
    if (directoryEnd > bytes.size()) return std::nullopt;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* record = bytes.data() + 4 + static_cast<size_t>(i) * engine::kArtRecordSize;
        if (_strnicmp(reinterpret_cast<const char*>(record + 4), name, engine::kArtNameSize) != 0) continue;
        const uint32_t begin = readU32(record);
        const uint32_t end = readU32(record + engine::kArtRecordSize);
        if (begin > end || end > bytes.size()) return std::nullopt;
        engine::DibInfo info;
        if (engine::checkDib(bytes.subspan(begin, end - begin), info) != engine::DibCheck::ok) return std::nullopt;
        return info;
    }
    return std::nullopt;
}

ExpectedPicture::ExpectedPicture(const engine::DibInfo& picture, bool ownColors) : picture_(picture) {
    engine::surfaceColorTable(picture, colors_);
    if (ownColors) {
        for (uint32_t i = 0; i < picture.colorCount && i < 256; ++i)
            colors_[i] = readU32(picture.colorTable + 4 * static_cast<size_t>(i));
    }
    transparent_ = engine::hasWhitePixel(picture);
    uint32_t colorRef = 0;
    solid_ = engine::isUniform8(picture, colorRef);
    solidColor_ = (colorRef & 0xFF) << 16 | (colorRef & 0xFF00) | (colorRef >> 16 & 0xFF);
}

std::optional<uint32_t> ExpectedPicture::at(int32_t x, int32_t y) const {
    if (solid_) return solidColor_;
    const uint8_t index =
        picture_.pixels[static_cast<size_t>(picture_.height - 1 - y) * picture_.rowStride + static_cast<size_t>(x)];
    const uint32_t color = colors_[index] & 0xFFFFFF;
    if (transparent_ && color == 0xFFFFFF) return std::nullopt;
    return color;
}

std::vector<int> readPlaneList(const char* resource, int width, int height) {
    std::vector<int> cells(static_cast<size_t>(width) * height, 0);
    const auto text = engine::loadResourceText(resource);
    const std::string copy(text.data(), text.size());
    const char* at = copy.c_str();
    for (int& cell : cells) {
        char* end = nullptr;
        const long value = std::strtol(at, &end, 10);
        if (end == at) break;
        cell = static_cast<int>(value);
        at = end;
    }
    return cells;
}

// ---- the screen -------------------------------------------------------------

Screenshot captureScreen(const engine::Rect& area) {
    Screenshot shot;
    shot.width = area.width();
    shot.height = area.height();
    if (shot.width <= 0 || shot.height <= 0) return shot;
    shot.pixels.assign(static_cast<size_t>(shot.width) * shot.height, 0);

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr && bits != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, shot.width, shot.height, screen, area.left, area.top, SRCCOPY);
        GdiFlush();
        const auto* source = static_cast<const uint32_t*>(bits);
        for (size_t i = 0; i < shot.pixels.size(); ++i) shot.pixels[i] = source[i] & 0xFFFFFF;
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

Screenshot captureClient(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT topLeft{0, 0};
    ClientToScreen(window, &topLeft);
    return captureScreen(engine::Rect{topLeft.x, topLeft.y, topLeft.x + client.right, topLeft.y + client.bottom});
}

Screenshot captureClientWhen(HWND window, const std::function<bool(const Screenshot&)>& shows, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        Screenshot shot = captureClient(window);
        if (shows(shot) || GetTickCount() - start >= timeoutMs) return shot;
        pumpMessages(20);
    }
}

bool saveBmp(const Screenshot& shot, const std::string& path) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = shot.width;
    header.biHeight = -shot.height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    const DWORD pixelBytes = static_cast<DWORD>(shot.pixels.size() * 4);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + pixelBytes;
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return false;
    bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&header, sizeof header, 1, out) == 1 &&
              std::fwrite(shot.pixels.data(), 4, shot.pixels.size(), out) == shot.pixels.size();
    ok = std::fclose(out) == 0 && ok;
    return ok;
}

}  // namespace engine_test
