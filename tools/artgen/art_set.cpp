#include "tools/artgen/art_set.h"

#include "tools/artgen/game_sprites.h"
#include "tools/artgen/sprites.h"
#include "tools/artgen/title.h"

#include <cstdio>

namespace artgen {
namespace {

void addTiles(std::vector<Picture>& pictures, const PlaneDesign& plane) {
    for (const auto& [number, tile] : plane.tiles) pictures.push_back({tileName(number), tile});
}

// `count` pictures stem<first>.ext, stem<first+1>.ext, ...
template <typename Draw>
void addNumbered(std::vector<Picture>& pictures, std::string_view stem, int first, int count,
                 std::string_view extension, Draw draw) {
    for (int i = 0; i < count; ++i) pictures.push_back({numbered(stem, first + i, extension), draw(i)});
}

ArtSet beeArt() {
    ArtSet art{Game::Abelha, designBackPlane(), designMiddlePlane(), designFrontPlane(), {}};
    addNumbered(art.pictures, "ab", 0, kBeeFrames, ".BMP", drawBeeFrame);
    art.pictures.push_back({"mosca.bmp", drawFly()});
    addNumbered(art.pictures, "aviao", 0, kAeroplaneFrames, ".bmp", drawAeroplane);
    return art;
}

ArtSet carArt() {
    ArtSet art{Game::Carro, designTownPlane(), designMiddlePlane(), designRoadPlane(), {}};
    addNumbered(art.pictures, "carro", 1, kCarFrames, ".BMP", drawCar);
    art.pictures.push_back({"dirig.bmp", drawBlimp()});
    return art;
}

ArtSet boatArt() {
    ArtSet art{Game::Barco, designSeaSkyPlane(), designWavePlane(), designNearSeaPlane(), {}};
    addNumbered(art.pictures, "b", 0, kBoatFrames, ".BMP", drawBoat);
    art.pictures.push_back({"tuba.bmp", drawFin()});
    art.pictures.push_back({"garrafa.bmp", drawBottle()});
    addNumbered(art.pictures, "dolphin", 0, kDolphinFrames, ".BMP", drawDolphin);
    addNumbered(art.pictures, "pelica", 0, kPelicanFrames, ".BMP", drawPelican);
    return art;
}

ArtSet girlArt() {
    ArtSet art{Game::Menina, designParkPlane(), designHedgePlane(), designLawnPlane(), {}};
    addNumbered(art.pictures, "girl", 0, kGirlFrames, ".BMP", drawGirl);
    addNumbered(art.pictures, "cao", 1, kDogFrames, ".BMP", drawDog);
    art.pictures.push_back({"dirig.bmp", drawBlimp()});
    addNumbered(art.pictures, "gato", 1, kCatFrames, ".BMP", drawCat);
    return art;
}

}  // namespace

const char* gameName(Game game) {
    switch (game) {
    case Game::Abelha: return "abelha";
    case Game::Carro: return "carro";
    case Game::Barco: return "barco";
    case Game::Menina: break;
    }
    return "menina";
}

std::optional<Game> gameNamed(std::string_view name) {
    for (Game game : kGames)
        if (name == gameName(game)) return game;
    return std::nullopt;
}

const scenes::SceneDescription& sceneOf(Game game) {
    switch (game) {
    case Game::Abelha: return scenes::beeScene();
    case Game::Carro: return scenes::carScene();
    case Game::Barco: return scenes::boatScene();
    case Game::Menina: break;
    }
    return scenes::girlScene();
}

std::string tileName(unsigned number) {
    char name[16];
    std::snprintf(name, sizeof name, "%03u.BMP", number);
    return name;
}

std::string numbered(std::string_view stem, int n, std::string_view extension) {
    return std::string(stem) + std::to_string(n) + std::string(extension);
}

const IndexedImage* ArtSet::find(const std::string& name) const {
    for (const auto& p : pictures)
        if (p.name == name) return &p.image;
    return nullptr;
}

ArtSet generateArtSet(Game game) {
    ArtSet art;
    switch (game) {
    case Game::Abelha: art = beeArt(); break;
    case Game::Carro: art = carArt(); break;
    case Game::Barco: art = boatArt(); break;
    case Game::Menina: art = girlArt(); break;
    }
    std::vector<Picture> sprites = std::move(art.pictures);
    art.pictures.clear();
    for (const PlaneDesign* plane : {&art.back, &art.middle, &art.front}) addTiles(art.pictures, *plane);
    art.pictures.push_back({kTitleName, drawTitle(game)});
    for (auto& sprite : sprites) art.pictures.push_back(std::move(sprite));
    return art;
}

std::vector<ListFile> planeLists(const ArtSet& art) {
    return {
        {art.back.listName + ".txt", listText(art.back)},
        {art.middle.listName + ".txt", listText(art.middle)},
        {art.front.listName + ".txt", listText(art.front)},
        {"SURFLIST.txt", surfaceListText(designFrontPlane())},
    };
}

}  // namespace artgen
