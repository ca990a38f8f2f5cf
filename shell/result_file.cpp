#include "shell/result_file.h"

#include <cstdio>

namespace shell {

bool writeResultFile(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "w+t");
    if (file == nullptr) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const bool flushed = std::fflush(file) == 0;
    const bool closed = std::fclose(file) == 0;
    if (written && flushed && closed) return true;
    std::remove(path.c_str());
    return false;
}

void removeResultFile(const std::string& path) { std::remove(path.c_str()); }

}  // namespace shell
