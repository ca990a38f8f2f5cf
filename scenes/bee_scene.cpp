// The bee game: a bee that rises and flies while the voice is in the band,
// a fly crawling left along the bottom and an aeroplane crossing the sky.
#include "scenes/scene_description.h"

namespace scenes {
namespace {

constexpr std::string_view kPictures[] = {
    "ab0.BMP", "ab1.BMP", "ab2.BMP", "ab3.BMP", "ab4.BMP", "mosca.bmp", "aviao0.bmp", "aviao1.bmp",
};

constexpr FrameLayout kBeeFrames[] = {
    {.picture = "ab0.BMP", .action = kIdle, .width = 47, .height = 64},
    {.picture = "ab1.BMP", .action = kIdle, .width = 47, .height = 64},
    {.picture = "ab2.BMP", .action = kVoiced, .width = 55, .height = 64},
    {.picture = "ab3.BMP", .action = kVoiced, .width = 55, .height = 64},
    {.picture = "ab4.BMP", .action = kVoiced, .width = 55, .height = 64},
};
constexpr FrameLayout kFlyFrames[] = {{.picture = "mosca.bmp", .width = 38, .height = 38}};
constexpr FrameLayout kPlaneFrames[] = {
    {.picture = "aviao0.bmp", .width = 64, .height = 64},
    {.picture = "aviao1.bmp", .width = 64, .height = 64},
};

constexpr SpriteLayout kExtras[] = {
    {.name = "fly", .capacity = 1, .x = 500, .y = 440, .randomX = true, .boxWidth = 70, .boxHeight = 32,
     .frames = kFlyFrames, .speed = fixed(-4)},
    {.name = "aeroplane", .capacity = 2, .x = 500, .y = 10, .randomX = true, .boxWidth = 64, .boxHeight = 64,
     .frames = kPlaneFrames, .animation = Animation::ByTime, .intervalMs = 300, .speed = fixed(4)},
};
constexpr int kDisplayOrder[] = {0, 1};

constexpr SceneDescription kBee = {
    .artFile = "abelha.ff",
    .artError = "Não Foi Possivel Carregar o Arquivo 'abelha.ff'\nO Aplicativo será Finalizado!",
    .resultFile = "abelha.dat",
    .resultError = "Erro Criando Arquivo",
    .bitmapSlots = 200,
    .front = {.list = "FORELIST", .width = 30, .height = 15, .divisor = 1},
    .middle = {.list = "MIDLIST", .width = 26, .height = 20, .divisor = 3},
    .back = {.list = "BACKLIST", .width = 20, .height = 16, .divisor = 10},
    .drawOrder = {PlaneId::Back, PlaneId::Front, PlaneId::Middle},
    .spritePictures = kPictures,
    .mainSprite = {.name = "bee", .capacity = 5, .x = 30, .y = 350, .boxWidth = 55, .boxHeight = 64,
                   .frames = kBeeFrames, .animation = Animation::ByTime, .intervalMs = 200},
    .extras = kExtras,
    .displayOrder = kDisplayOrder,
    .inBand = {.middleSpeed = fixed(30), .backSpeed = fixed(40), .mainY = fixed(220)},
    .outOfBand = {.middleSpeed = fixed(10), .backSpeed = 0, .mainY = fixed(350)},
    .wrapX = 960,
    .wrapY = 480,
};
static_assert(sceneIsConsistent(kBee));

}  // namespace

const SceneDescription& beeScene() { return kBee; }

}  // namespace scenes
