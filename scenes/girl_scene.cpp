// The girl game: a girl walking through a park.  A dog trots past, a cat
// sits on the far lawn and scrolls with it, and a blimp crosses the sky.
#include "scenes/scene_description.h"

namespace scenes {
namespace {

// The fourth girl and the fifth cat are loaded but never shown.
constexpr std::string_view kPictures[] = {
    "girl0.BMP", "girl1.BMP", "girl2.BMP", "girl3.BMP", "cao1.BMP",  "cao2.BMP",  "cao3.BMP",
    "dirig.bmp", "gato1.BMP", "gato2.BMP", "gato3.BMP", "gato4.BMP", "gato5.BMP",
};

constexpr FrameLayout kGirlFrames[] = {
    {.picture = "girl0.BMP", .action = kIdle, .width = 92, .height = 120},
    {.picture = "girl1.BMP", .action = kVoiced, .width = 92, .height = 120},
    {.picture = "girl2.BMP", .action = kVoiced, .width = 92, .height = 120},
};
constexpr FrameLayout kDogFrames[] = {
    {.picture = "cao1.BMP", .width = 73, .height = 52},
    {.picture = "cao2.BMP", .width = 73, .height = 52},
    {.picture = "cao3.BMP", .width = 73, .height = 52},
};
constexpr FrameLayout kCatFrames[] = {
    {.picture = "gato1.BMP", .width = 73, .height = 47},
    {.picture = "gato2.BMP", .width = 73, .height = 47},
    {.picture = "gato3.BMP", .width = 73, .height = 47},
    {.picture = "gato4.BMP", .width = 73, .height = 47},
};
constexpr FrameLayout kBlimpFrames[] = {{.picture = "dirig.bmp", .width = 70, .height = 32}};

enum Extra { kDog, kCat, kBlimp };  // creation order
constexpr SpriteLayout kExtras[] = {
    {.name = "dog", .capacity = 3, .x = 500, .y = 364, .randomX = true, .boxWidth = 73, .boxHeight = 52,
     .frames = kDogFrames, .animation = Animation::ByDistance, .thresholdPixels = 12, .speed = fixed(-4)},
    // Painted on the far lawn: it scrolls with the back plane, never by itself.
    {.name = "cat", .capacity = 4, .x = 170, .y = 345, .boxWidth = 73, .boxHeight = 47,
     .frames = kCatFrames, .animation = Animation::ByTime, .intervalMs = 100, .moves = false,
     .scrollsWithBackPlane = true},
    {.name = "dirig", .capacity = 1, .x = 500, .y = 50, .randomX = true, .boxWidth = 70,
     .boxHeight = 32, .frames = kBlimpFrames, .animation = Animation::ByTime, .intervalMs = 300,
     .speed = fixed(4)},
};
constexpr int kDisplayOrder[] = {kCat, kDog, kBlimp};

constexpr SceneDescription kGirl = {
    .artFile = "menina.ff",
    .artError = "Não Foi Possivel Carregar o Arquivo 'menina.ff'\nO Aplicativo será Finalizado!",
    .resultFile = "menina.dat",
    .resultError = "Erro Criando Arquivo Temporário",
    .bitmapSlots = 215,
    .front = {.list = "FORELIST", .width = 26, .height = 15, .divisor = 1},
    .middle = {.list = "MIDLIST", .width = 26, .height = 20, .divisor = 3},
    .back = {.list = "BACKLIST", .width = 26, .height = 16, .divisor = 10},
    .drawOrder = {PlaneId::Back, PlaneId::Front, PlaneId::Middle},
    .spritePictures = kPictures,
    .mainSprite = {.name = "girl", .capacity = 5, .x = 30, .y = 320, .boxWidth = 120, .boxHeight = 156,
                   .frames = kGirlFrames, .animation = Animation::ByTime, .intervalMs = 200},
    .extras = kExtras,
    .displayOrder = kDisplayOrder,
    .inBand = {.middleSpeed = fixed(30), .backSpeed = fixed(40)},
    .outOfBand = {.middleSpeed = fixed(10), .backSpeed = 0},
    // The back plane's width: the cat comes round with the far lawn.
    .wrapX = 832,
    .wrapY = 480,
};
static_assert(sceneIsConsistent(kGirl));

}  // namespace

const SceneDescription& girlScene() { return kGirl; }

}  // namespace scenes
