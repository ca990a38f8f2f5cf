#include "tools/ffpack/ffpack_command.h"

#include <iostream>

int main(int argc, char** argv) {
    return ff::runFfpack(std::vector<std::string>(argv + 1, argv + argc), std::cerr);
}
