// Where the history and its companions live, worked out from the folders
// Windows names, so the tests can find them the way the menu does.
#pragma once

#include <string>

namespace menu {

inline constexpr char kPendingFileName[] = "historico-pendente.csv";

// Results that could not be written to the history wait in a pending file
// on this computer: for the default history, beside it in the local
// folder; for a folder of the clinic's own choosing, in the local folder
// under a name of that history's own, so that a history elsewhere never
// takes another's pending results and two computers never merge one file.
// `historyPath` and `localFolder` are UTF-8; the result is a path.
std::string pendingPathFor(const std::string& historyPath, const std::string& localFolder, bool isDefaultHistory);

}  // namespace menu
