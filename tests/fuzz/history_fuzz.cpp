// Fuzzes the reading of the menu's history file, which a spreadsheet, a
// crash or a full disk may have left in any state: reading must never
// fail, and every record it keeps must write and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "menu/history.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string contents(reinterpret_cast<const char*>(data), size);
    const menu::ParsedHistory parsed = menu::parseHistory(contents);
    std::string rewritten;
    for (const auto& record : parsed.records) rewritten += menu::appendText({record}, rewritten.empty(), true);
    const menu::ParsedHistory again = menu::parseHistory(rewritten);
    if (again.records != parsed.records || again.skipped != 0) std::abort();
    return 0;
}
