// The adult program's names, shared by its main window and its panel.
#pragma once

namespace adult {

inline constexpr char kResultFile[] = "adulto.dat";
inline constexpr char kTitle[] = "Tempo Expiratório";

}  // namespace adult
