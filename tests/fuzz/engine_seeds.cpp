// Writes the seed corpus of engine_fuzz into the directory given:
//   engine_fuzz_seeds tests/fuzz/corpus/engine
#include <cstdio>
#include <cstring>
#include <string>

#include "host/engine_test_support.h"

namespace {

bool save(const std::string& dir, const char* name, const enginetest::Bytes& bytes) {
    const std::string path = dir + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

enginetest::Bytes text(const char* s) { return enginetest::Bytes(s, s + std::char_traits<char>::length(s)); }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];

    enginetest::Bytes spotted = enginetest::makeDib(5, 3, 8, 256, 7);
    enginetest::pixel8(spotted, 256, 5, 1, 2) = 255;
    const enginetest::Bytes small4 = enginetest::makeDib(3, 2, 4, 16, 0x12);
    const enginetest::Bytes deep = enginetest::makeDib(3, 2, 24, 0, 0xFF);

    enginetest::Bytes palette(24 + 64, 0);
    palette[0] = 'R', palette[1] = 'I', palette[2] = 'F', palette[3] = 'F';
    std::memcpy(&palette[8], "PAL data", 8);
    enginetest::putU16(palette, 20, 0x0300);
    enginetest::putU16(palette, 22, 16);

    const bool ok =
        save(dir, "archive", enginetest::buildArchive({{"051.BMP", enginetest::makeDib(4, 4, 8, 256, 3)},
                                                        {"ab0.bmp", spotted},
                                                        {"init.bmp", small4}})) &&
        save(dir, "archive-empty", enginetest::buildArchive({})) && save(dir, "picture-8bit", spotted) &&
        save(dir, "picture-4bit", small4) && save(dir, "picture-24bit", deep) && save(dir, "palette", palette) &&
        save(dir, "plane-list", text("51 52 x 53\r\n0 0 170\r\n"));
    return ok ? 0 : 1;
}
