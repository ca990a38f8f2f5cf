// Fuzzes everything the engine reads from files it did not write: the art
// archive (opening, lookups, data ranges), the pictures in it (checks, the
// uniform and white scans, the colour table), palette files and plane lists.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/art_archive.h"
#include "engine/bitmap.h"
#include "engine/dib.h"
#include "engine/plane.h"

namespace {

volatile uint32_t g_sink;

// Reads the first and last byte of every row a plan claims, so a row
// outside the input is an address-sanitizer report.
void usePicture(const engine::PicturePlan& plan) {
    if (plan.kind != engine::PicturePlan::Kind::surface) return;
    const engine::DibInfo& p = plan.picture;
    uint32_t sum = p.header[0];
    for (int32_t row = 0; row < p.height; ++row) {
        const uint8_t* bytes = p.pixels + static_cast<size_t>(row) * p.rowStride;
        sum += bytes[0] + bytes[p.rowStride - 1];
    }
    uint32_t table[256];
    engine::surfaceColorTable(p, table);
    g_sink = sum + table[255];
}

void tryEntry(const char* name) {
    engine::ArtEntryHandle* entry = engine::ArtEntryOpen(name);
    if (entry == nullptr) return;
    const auto size = static_cast<int32_t>(entry->size);
    const int32_t ranges[][2] = {{0, 0}, {0, size}, {size, 0}, {size / 2, size - size / 2},
                                 {0, size + 1}, {-1, 1}, {size, 1}};
    for (const auto& r : ranges) {
        if (const uint8_t* p = engine::ArtEntryData(entry, r[0], r[1]); p != nullptr && r[1] > 0)
            g_sink = p[0] + p[r[1] - 1];
    }
    const uint8_t* data = engine::ArtEntryData(entry, 0, 0);
    usePicture(engine::planPicture({data, entry->size}, name, false));
    usePicture(engine::planPicture({data, entry->size}, name, true));
    engine::ArtEntryClose(entry);
}

void fuzzArchive(const uint8_t* data, size_t size) {
    if (!engine::ArtArchiveOpenBytes(engine::viewBytes({data, size}), 3)) return;
    // The directory fits (the archive opened), so its names can be read
    // here; each is looked up as stored, 13 bytes or not.
    const uint32_t count = engine::ArtArchiveEntryCount();
    for (uint32_t i = 0; i < count && i < 64; ++i) {
        char name[engine::kArtNameSize + 1] = {};
        std::memcpy(name, data + 4 + 17 * static_cast<size_t>(i) + 4, engine::kArtNameSize);
        tryEntry(name);
    }
    usePicture(engine::gfxPlanPicture("init.bmp", false));
    tryEntry("051.BMP");
    engine::ArtArchiveClose();
    engine::ArtArchiveDataReleased();
    engine::ArtArchiveClose();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzArchive(data, size);
    usePicture(engine::planPicture({data, size}, "input", false));

    engine::PaletteEntry palette[256];
    if (engine::parseRiffPalette({data, size}, palette)) g_sink = palette[255].red;

    engine::Plane plane;
    const uint16_t width = size > 0 ? static_cast<uint16_t>(data[0] % 40 + 1) : 1;
    if (plane.create(width, 5, 3) &&
        plane.readList({reinterpret_cast<const char*>(data), size}, width, 5)) {
        engine::TileList* tiles = engine::CreateTiles({}, 170);
        plane.attachTiles(*tiles);
        plane.moveX(static_cast<int32_t>(size) * 40000, engine::kModeAdd);
        plane.draw();
        engine::DestroyTiles(tiles);
    }
    return 0;
}
