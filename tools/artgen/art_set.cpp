#include "tools/artgen/art_set.h"

#include "tools/artgen/sprites.h"
#include "tools/artgen/title.h"

#include <cstdio>

namespace artgen {
namespace {

void addTiles(std::vector<Picture>& pictures, const PlaneDesign& plane) {
    for (const auto& [number, tile] : plane.tiles) pictures.push_back({tileName(number), tile});
}

}  // namespace

std::string tileName(unsigned number) {
    char name[16];
    std::snprintf(name, sizeof name, "%03u.BMP", number);
    return name;
}

std::string beeName(int frame) { return "ab" + std::to_string(frame) + ".BMP"; }
std::string aeroplaneName(int frame) { return "aviao" + std::to_string(frame) + ".bmp"; }

const IndexedImage* ArtSet::find(const std::string& name) const {
    for (const auto& p : pictures)
        if (p.name == name) return &p.image;
    return nullptr;
}

ArtSet generateArtSet() {
    ArtSet art{designBackPlane(), designMiddlePlane(), designFrontPlane(), {}};
    for (const PlaneDesign* plane : {&art.back, &art.middle, &art.front}) addTiles(art.pictures, *plane);
    art.pictures.push_back({kTitleName, drawTitle()});
    for (int frame = 0; frame < kBeeFrames; ++frame) art.pictures.push_back({beeName(frame), drawBeeFrame(frame)});
    art.pictures.push_back({kFlyName, drawFly()});
    for (int frame = 0; frame < kAeroplaneFrames; ++frame)
        art.pictures.push_back({aeroplaneName(frame), drawAeroplane(frame)});
    return art;
}

std::vector<ListFile> planeLists(const ArtSet& art) {
    return {
        {art.back.listName + ".txt", listText(art.back)},
        {art.middle.listName + ".txt", listText(art.middle)},
        {art.front.listName + ".txt", listText(art.front)},
        {"SURFLIST.txt", surfaceListText(art.front)},
    };
}

}  // namespace artgen
