// The colours the pictures are drawn with, shared so that the scenery, the
// sprites and the title picture agree.  Every one of them is an entry of
// the palette, so flat areas come out exactly as chosen.
#pragma once

#include "tools/artgen/palette.h"

namespace artgen::colours {

inline constexpr Rgb kOutline{24, 22, 30};
inline constexpr Rgb kNavy{36, 48, 112};

inline constexpr Rgb kSkyTop{58, 124, 220};
inline constexpr Rgb kSkyHorizon{188, 224, 248};
inline constexpr Rgb kCloud{220, 236, 252};  // the palette's whites stay clear of the key
inline constexpr Rgb kCloudShade{210, 222, 240};
inline constexpr Rgb kMountain{128, 134, 200};
inline constexpr Rgb kMountainHaze{168, 176, 222};
inline constexpr Rgb kMountainCap{196, 198, 236};

inline constexpr Rgb kHill{104, 192, 74};
inline constexpr Rgb kHillShade{70, 150, 54};
inline constexpr Rgb kMeadowDeep{70, 150, 50};
inline constexpr Rgb kGrassDark{44, 122, 44};
inline constexpr Rgb kGrassLight{168, 224, 96};
inline constexpr Rgb kSoil{168, 114, 64};
inline constexpr Rgb kSoilDeep{140, 92, 48};
inline constexpr Rgb kSoilDark{112, 70, 36};
inline constexpr Rgb kStone{150, 146, 150};
inline constexpr Rgb kStoneLight{196, 192, 196};
inline constexpr Rgb kMushroomStem{246, 232, 180};
inline constexpr Rgb kSnailBody{230, 190, 120};

inline constexpr Rgb kBeeYellow{255, 208, 32};
inline constexpr Rgb kBeeLight{255, 234, 110};
inline constexpr Rgb kWing{200, 230, 252};
inline constexpr Rgb kWingBack{184, 216, 244};
inline constexpr Rgb kWingEdge{70, 110, 180};
inline constexpr Rgb kEyeWhite{218, 232, 240};
inline constexpr Rgb kCheek{255, 150, 150};
inline constexpr Rgb kSkin{255, 214, 176};

inline constexpr Rgb kFlyBody{70, 74, 84};
inline constexpr Rgb kFlyHead{60, 64, 74};
inline constexpr Rgb kFlyStripe{40, 42, 50};
inline constexpr Rgb kFlyEye{214, 40, 40};

inline constexpr Rgb kPlaneRed{226, 40, 40};
inline constexpr Rgb kPlaneDarkRed{190, 26, 30};
inline constexpr Rgb kCanopy{170, 214, 246};
inline constexpr Rgb kPropeller{120, 122, 130};
inline constexpr Rgb kPropellerBlur{150, 152, 160};
inline constexpr Rgb kTyre{60, 60, 66};

inline constexpr Rgb kPetalWhite = kEyeWhite;
inline constexpr Rgb kFlowerCentre{250, 180, 30};
inline constexpr Rgb kRed{226, 40, 40};
inline constexpr Rgb kPink{244, 120, 190};
inline constexpr Rgb kPurple{150, 100, 220};
inline constexpr Rgb kOrange{250, 150, 40};

// The adult program's panels, behind its graph and its time box.
inline constexpr Rgb kPanel{31, 87, 111};

inline constexpr Rgb kAll[] = {
    kOutline, kNavy, kSkyTop, kSkyHorizon, kCloud, kCloudShade, kMountain, kMountainHaze, kMountainCap,
    kHill, kHillShade, kMeadowDeep, kGrassDark, kGrassLight, kSoil, kSoilDeep, kSoilDark, kStone,
    kStoneLight, kMushroomStem, kSnailBody, kBeeYellow, kBeeLight, kWing, kWingBack, kWingEdge, kEyeWhite,
    kCheek, kSkin, kFlyBody, kFlyHead, kFlyStripe, kFlyEye, kPlaneRed, kPlaneDarkRed, kCanopy, kPropeller,
    kPropellerBlur, kTyre, kFlowerCentre, kRed, kPink, kPurple, kOrange, kPanel,
};

}  // namespace artgen::colours
