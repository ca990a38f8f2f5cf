#include "phonation/result_file.h"

#include <filesystem>
#include <system_error>

namespace phonation {
namespace {

bool isRegularFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::path(path), error);
}

bool writeFileAs(const std::string& path, const std::string& text, const char* mode, ResultWriter write) {
    std::FILE* file = std::fopen(path.c_str(), mode);
    if (file == nullptr) return false;
    // Opening truncated it: from here on a regular file holds nothing of
    // an earlier result, and a partial one must not stay behind.
    const bool regular = isRegularFile(path);
    const bool written = write(text.data(), 1, text.size(), file) == text.size();
    const bool flushed = std::fflush(file) == 0;
    const bool closed = std::fclose(file) == 0;
    if (written && flushed && closed) return true;
    if (regular) std::remove(path.c_str());
    return false;
}

}  // namespace

bool writeResultFile(const std::string& path, const std::string& text, ResultWriter write) {
    return writeFileAs(path, text, "w+t", write);
}

bool writeSoundFile(const std::string& path, const std::string& bytes, ResultWriter write) {
    return writeFileAs(path, bytes, "wb", write);
}

std::string soundFileFor(const std::string& resultFile) {
    const std::size_t dot = resultFile.rfind('.');
    return (dot == std::string::npos ? resultFile : resultFile.substr(0, dot)) + ".wav";
}

void removeResultFile(const std::string& path) {
    if (isRegularFile(path)) std::remove(path.c_str());
}

}  // namespace phonation
