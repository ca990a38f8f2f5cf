// The boat game: a sailing boat on the sea.  The waves run against the
// sky while the voice is in the band; a shark's fin, a floating bottle,
// three dolphins and a pelican pass by.
#include "scenes/scene_description.h"

namespace scenes {
namespace {

constexpr std::string_view kPictures[] = {
    "b0.BMP",       "b1.BMP",       "b2.BMP",       "b3.BMP",       "b4.BMP",       "tuba.bmp",
    "garrafa.bmp",  "dolphin0.BMP", "dolphin1.BMP", "dolphin2.BMP", "dolphin3.BMP", "dolphin4.BMP",
    "dolphin5.BMP", "pelica0.BMP",  "pelica1.BMP",  "pelica2.BMP",
};

constexpr FrameLayout kBoatFrames[] = {
    {.picture = "b0.BMP", .action = kIdle, .width = 100, .height = 91},
    {.picture = "b1.BMP", .action = kIdle, .width = 100, .height = 91},
    {.picture = "b2.BMP", .action = kVoiced, .width = 100, .height = 91},
    {.picture = "b3.BMP", .action = kVoiced, .width = 100, .height = 91},
    {.picture = "b4.BMP", .action = kVoiced, .width = 100, .height = 91},
    {.picture = "b4.BMP", .action = kVoiced, .width = 100, .height = 91},
    {.picture = "b3.BMP", .action = kVoiced, .width = 100, .height = 91},
};
constexpr FrameLayout kFinFrames[] = {{.picture = "tuba.bmp", .width = 26, .height = 23}};
constexpr FrameLayout kBottleFrames[] = {{.picture = "garrafa.bmp", .width = 51, .height = 19}};
// The jump ends on its last picture held for two more steps.
constexpr FrameLayout kDolphinFrames[] = {
    {.picture = "dolphin0.BMP", .width = 60, .height = 35}, {.picture = "dolphin1.BMP", .width = 60, .height = 35},
    {.picture = "dolphin2.BMP", .width = 60, .height = 35}, {.picture = "dolphin3.BMP", .width = 60, .height = 35},
    {.picture = "dolphin4.BMP", .width = 60, .height = 35}, {.picture = "dolphin5.BMP", .width = 60, .height = 35},
    {.picture = "dolphin5.BMP", .width = 60, .height = 35}, {.picture = "dolphin5.BMP", .width = 60, .height = 35},
};
constexpr FrameLayout kPelicanFrames[] = {
    {.picture = "pelica0.BMP", .width = 90, .height = 50},
    {.picture = "pelica1.BMP", .width = 90, .height = 50},
    {.picture = "pelica2.BMP", .width = 90, .height = 50},
};

constexpr SpriteLayout dolphin(std::string_view name, int32_t x, int32_t y, int32_t thresholdPixels) {
    return {.name = name, .capacity = 8, .x = x, .y = y, .boxWidth = 60, .boxHeight = 35, .frames = kDolphinFrames,
            .animation = Animation::ByDistance, .thresholdPixels = thresholdPixels, .speed = fixed(-2)};
}

constexpr SpriteLayout kExtras[] = {
    {.name = "tuba", .capacity = 1, .x = 500, .y = 420, .randomX = true, .boxWidth = 70, .boxHeight = 32,
     .frames = kFinFrames, .speed = fixed(-1)},
    {.name = "bottle", .capacity = 1, .x = 500, .y = 461, .randomX = true, .boxWidth = 51, .boxHeight = 19,
     .frames = kBottleFrames, .speed = fixed(-2)},
    dolphin("dolphin 1", 500, 300, 10),
    dolphin("dolphin 2", 600, 300, 5),
    dolphin("dolphin 3", 580, 320, 7),
    {.name = "pelican", .capacity = 3, .x = 500, .y = 180, .boxWidth = 90, .boxHeight = 50,
     .frames = kPelicanFrames, .animation = Animation::ByDistance, .thresholdPixels = 10, .speed = fixed(2)},
};
constexpr int kDisplayOrder[] = {0, 1, 2, 3, 4, 5};

constexpr SceneDescription kBoat = {
    .artFile = "barco.ff",
    .artError = "Não Foi Possivel Carregar o Arquivo 'barco.ff'\nO Aplicativo será Finalizado!",
    .resultFile = "barco.dat",
    .resultError = "Erro criando Arq. Temporário",
    .bitmapSlots = 210,
    .front = {.list = "FORELIST", .width = 30, .height = 15, .divisor = 1},
    .middle = {.list = "MIDLIST", .width = 26, .height = 20, .divisor = 3},
    .back = {.list = "BACKLIST", .width = 30, .height = 16, .divisor = 10},
    .drawOrder = {PlaneId::Back, PlaneId::Front, PlaneId::Middle},
    .spritePictures = kPictures,
    .mainSprite = {.name = "boat", .capacity = 7, .x = 30, .y = 300, .boxWidth = 100, .boxHeight = 91,
                   .frames = kBoatFrames, .animation = Animation::ByTime, .intervalMs = 150},
    .extras = kExtras,
    .displayOrder = kDisplayOrder,
    // The waves run the other way from the sky.
    .inBand = {.middleSpeed = fixed(-30), .backSpeed = fixed(40)},
    .outOfBand = {.middleSpeed = fixed(-10), .backSpeed = 0},
    .wrapX = 960,
    .wrapY = 480,
};
static_assert(sceneIsConsistent(kBoat));

}  // namespace

const SceneDescription& boatScene() { return kBoat; }

}  // namespace scenes
