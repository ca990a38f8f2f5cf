// The bee game: a bee that rises and flies while the voice is in the band,
// a fly crawling left along the bottom and an aeroplane crossing the sky.
#include "scenes/scene_description.h"

namespace scenes {
namespace {

constexpr const char* kPictures[] = {
    "ab0.BMP", "ab1.BMP", "ab2.BMP", "ab3.BMP", "ab4.BMP",  // 170-174 the bee
    "mosca.bmp",                                             // 175 the fly
    "aviao0.bmp", "aviao1.bmp",                              // 176-177 the aeroplane
};

constexpr FrameLayout kBeeFrames[] = {
    {170, kIdle, 47, 64},   {171, kIdle, 47, 64},
    {172, kVoiced, 55, 64}, {173, kVoiced, 55, 64}, {174, kVoiced, 55, 64},
};
constexpr FrameLayout kFlyFrames[] = {{175, kDrift, 38, 38}};
constexpr FrameLayout kPlaneFrames[] = {{176, kDrift, 64, 64}, {177, kDrift, 64, 64}};

constexpr SpriteLayout kExtras[] = {
    {"fly", 1, 500, 440, true, 70, 32, 2, kDrift, kFlyFrames, 0, 0, 0, fixed(-4), true, false},
    {"aeroplane", 2, 500, 10, true, 64, 64, 2, kDrift, kPlaneFrames, 2, 300, 0, fixed(4), true, false},
};
constexpr int kDisplayOrder[] = {0, 1};

const SceneDescription kBee = {
    "abelha.ff",
    "Não Foi Possivel Carregar o Arquivo 'abelha.ff'\nO Aplicativo será Finalizado!",
    "abelha.dat",
    "Erro Criando Arquivo",
    200,
    {"FORELIST", 30, 15, 1},
    {"MIDLIST", 26, 20, 3},
    {"BACKLIST", 20, 16, 10},
    {PlaneId::Back, PlaneId::Front, PlaneId::Middle},
    kPictures,
    {"bee", 5, 30, 350, false, 55, 64, 1, kIdle, kBeeFrames, 2, 200, 0, 0, true, false},
    kExtras,
    kDisplayOrder,
    {fixed(30), fixed(40), false, 0, true, fixed(220)},
    {fixed(10), 0, false, 0, true, fixed(350)},
    960,
    480,
};

}  // namespace

const SceneDescription& beeScene() { return kBee; }

}  // namespace scenes
