// The car game: a car on a road through a town; while the voice is in the
// band the road, the hills and the town scroll by.  A blimp drifts left
// across the sky.
#include "scenes/scene_description.h"

namespace scenes {
namespace {

constexpr std::string_view kPictures[] = {"carro1.BMP", "carro2.BMP", "carro3.BMP", "dirig.bmp"};

constexpr FrameLayout kCarFrames[] = {
    {.picture = "carro1.BMP", .action = kIdle, .width = 120, .height = 47},
    {.picture = "carro2.BMP", .action = kVoiced, .width = 120, .height = 47},
    {.picture = "carro3.BMP", .action = kVoiced, .width = 120, .height = 47},
};
constexpr FrameLayout kBlimpFrames[] = {{.picture = "dirig.bmp", .width = 70, .height = 32}};

constexpr SpriteLayout kExtras[] = {
    {.name = "dirig", .capacity = 1, .x = 500, .y = 40, .randomX = true, .boxWidth = 70, .boxHeight = 32,
     .frames = kBlimpFrames, .speed = fixed(-4)},
};
constexpr int kDisplayOrder[] = {0};

constexpr SceneDescription kCar = {
    .artFile = "carro.ff",
    .artError = "Não Foi Possivel Carregar o Arquivo 'carro.ff'\nO Aplicativo será Finalizado!",
    .resultFile = "carro.dat",
    .resultError = "Erro Criando Arq. Temporário",
    .bitmapSlots = 200,
    .front = {.list = "FORELIST", .width = 30, .height = 15, .divisor = 1},
    .middle = {.list = "MIDLIST", .width = 26, .height = 20, .divisor = 3},
    .back = {.list = "BACKLIST", .width = 36, .height = 16, .divisor = 10},
    .drawOrder = {PlaneId::Back, PlaneId::Middle, PlaneId::Front},
    .spritePictures = kPictures,
    .mainSprite = {.name = "car", .capacity = 3, .x = 30, .y = 388, .boxWidth = 120, .boxHeight = 47,
                   .frames = kCarFrames, .animation = Animation::ByTime, .intervalMs = 200},
    .extras = kExtras,
    .displayOrder = kDisplayOrder,
    .inBand = {.middleSpeed = fixed(30), .backSpeed = fixed(40), .frontSpeed = fixed(15)},
    .outOfBand = {.middleSpeed = fixed(10), .backSpeed = 0, .frontSpeed = 0},
    .wrapX = 960,
    .wrapY = 480,
};
static_assert(sceneIsConsistent(kCar));

}  // namespace

const SceneDescription& carScene() { return kCar; }

}  // namespace scenes
