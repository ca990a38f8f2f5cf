#include "menu/history_place.h"

#include <cstdint>
#include <cstdio>

#include "menu/text.h"

namespace menu {

std::string pendingPathFor(const std::string& historyPath, const std::string& localFolder, bool isDefaultHistory) {
    if (isDefaultHistory) return localFolder + "\\" + kPendingFileName;
    // Windows paths ignore case: "Z:\Clinica" and "z:\clinica" are one history.
    uint32_t hash = 2166136261u;  // FNV-1a
    for (unsigned char c : foldCase(asUtf8(historyPath))) {
        hash ^= c == '/' ? '\\' : c;
        hash *= 16777619u;
    }
    char name[64];
    std::snprintf(name, sizeof name, "historico-pendente-%08x.csv", static_cast<unsigned>(hash));
    return localFolder + "\\" + name;
}

}  // namespace menu
