#include "tools/artgen/artgen_command.h"

#include <iostream>

int main(int argc, char** argv) {
    return artgen::runArtgen(std::vector<std::string>(argv + 1, argv + argc), std::cerr);
}
