#include "menu/exercises.h"

#include <array>

namespace menu {
namespace {
// Colours far apart from each other and dark enough to read on white.
constexpr std::array<Exercise, 5> kExercises{{
    {"abelha", "Abelha", 232, 150, 0},
    {"carro", "Carro", 214, 40, 40},
    {"barco", "Barco", 30, 100, 214},
    {"menina", "Menina", 190, 60, 170},
    {"adulto", "Adulto", 40, 150, 60},
}};
}  // namespace

std::span<const Exercise> exercises() { return kExercises; }

std::string programFile(const Exercise& exercise) { return std::string(exercise.program) + ".exe"; }

std::string resultFile(const Exercise& exercise) { return std::string(exercise.program) + ".dat"; }
std::string soundFile(const Exercise& exercise) { return std::string(exercise.program) + ".wav"; }

std::optional<std::size_t> exerciseNamed(const std::string& name) {
    for (std::size_t i = 0; i < kExercises.size(); ++i)
        if (name == kExercises[i].name) return i;
    return std::nullopt;
}

}  // namespace menu
