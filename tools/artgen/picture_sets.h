// The suite's pictures other than the games' art, one set per folder the
// build writes them into (artgen splash|adult|menu|dialog DIR):
//   splash  the launcher's splash and icon
//   adult   the adult program's two screens and icon
//   menu    the main menu's exercise pictures
//   dialog  the calibration dialogs' picture and icons
#pragma once

#include <vector>

#include "tools/artgen/image_files.h"

namespace artgen {

std::vector<tools::ImageFile> splashPictures();
std::vector<tools::ImageFile> adultPictures();
std::vector<tools::ImageFile> menuPictures();
std::vector<tools::ImageFile> dialogPictures();

}  // namespace artgen
