// Text as the history meets it: what the menu writes is UTF-8, but a
// spreadsheet that saves the file back as plain CSV writes Windows-1252,
// and a name typed in capitals is the same patient as in small letters.
#pragma once

#include <string>

namespace menu {

bool isValidUtf8(const std::string& bytes);
// Windows-1252 bytes as UTF-8.  Its five unassigned bytes become the C1
// controls of the same number, as Windows itself converts them.
std::string utf8FromWindows1252(const std::string& bytes);
// Valid UTF-8 as it is; anything else taken as Windows-1252.
std::string asUtf8(const std::string& bytes);

// Small letters for the Latin letters of ASCII, Latin-1 and Latin
// Extended-A, accents kept ("JOÃO" -> "joão"); every other character as it
// is.  Expects valid UTF-8.
std::string foldCase(const std::string& utf8);

}  // namespace menu
