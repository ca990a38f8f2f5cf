// Everything the bee game's art file holds, plus the plane lists that go
// with its tiles.
#pragma once

#include "tools/artgen/bmp.h"
#include "tools/artgen/scenery.h"

#include <string>
#include <vector>

namespace artgen {

struct Picture {
    std::string name;  // the member name in the art file
    IndexedImage image;
};

struct ArtSet {
    PlaneDesign back, middle, front;
    std::vector<Picture> pictures;  // tiles, title, sprites
    const IndexedImage* find(const std::string& name) const;
};

ArtSet generateArtSet();

struct ListFile {
    std::string fileName;  // e.g. "BACKLIST.txt"
    std::string text;
};

// BACKLIST, MIDLIST, FORELIST and SURFLIST as committed beside the game.
std::vector<ListFile> planeLists(const ArtSet& art);

// The sprite pictures by the names the game asks for.
std::string beeName(int frame);        // "ab0.BMP"...
std::string aeroplaneName(int frame);  // "aviao0.bmp"...
inline constexpr const char* kFlyName = "mosca.bmp";
inline constexpr const char* kTitleName = "init.bmp";
std::string tileName(unsigned number);  // "051.BMP"...

}  // namespace artgen
