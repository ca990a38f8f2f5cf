// The five exercises the menu starts: their programs, the names the
// therapist reads, their result files and the colour of their line in the
// progress chart.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace menu {

struct Exercise {
    const char* program;  // "abelha": abelha.exe writes abelha.dat
    const char* name;     // "Abelha": the button's text and the history's column
    uint8_t red, green, blue;
};

std::span<const Exercise> exercises();

std::string programFile(const Exercise& exercise);  // "abelha.exe"
std::string resultFile(const Exercise& exercise);   // "abelha.dat"
std::string soundFile(const Exercise& exercise);    // "abelha.wav", the confirmed phonation's sound

// The exercise whose name is `name` exactly; none for any other text.
std::optional<std::size_t> exerciseNamed(const std::string& name);

}  // namespace menu
