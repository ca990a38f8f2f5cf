// Everything a game's art file holds, plus the plane lists that go with
// its tiles.
#pragma once

#include "scenes/scene_description.h"
#include "tools/artgen/bmp.h"
#include "tools/artgen/scenery.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace artgen {

enum class Game { Abelha, Carro, Barco, Menina };
inline constexpr Game kGames[] = {Game::Abelha, Game::Carro, Game::Barco, Game::Menina};

// "abelha", "carro", "barco", "menina": the program's name.
const char* gameName(Game game);
std::optional<Game> gameNamed(std::string_view name);
// The game's scene description: the pictures it loads, where it draws them.
const scenes::SceneDescription& sceneOf(Game game);

struct Picture {
    std::string name;  // the member name in the art file
    IndexedImage image;
};

struct ArtSet {
    Game game = Game::Abelha;
    PlaneDesign back, middle, front;
    std::vector<Picture> pictures;  // tiles, title, sprites
    const IndexedImage* find(const std::string& name) const;
};

ArtSet generateArtSet(Game game = Game::Abelha);

struct ListFile {
    std::string fileName;  // e.g. "BACKLIST.txt"
    std::string text;
};

// BACKLIST, MIDLIST, FORELIST and SURFLIST of the game.  SURFLIST is the
// same in every game: the bee's ground rows.
std::vector<ListFile> planeLists(const ArtSet& art);

// The picture names the games ask for.
std::string numbered(std::string_view stem, int n, std::string_view extension);  // ("ab", 0, ".BMP") -> "ab0.BMP"
inline constexpr const char* kTitleName = "init.bmp";
std::string tileName(unsigned number);  // "051.BMP"...

}  // namespace artgen
