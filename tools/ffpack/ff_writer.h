// Art archives (".ff"): every picture of a game in one file, found by name.
//
//   uint32 count N
//   N records of 17 bytes: uint32 offset of the member's data, 13-byte
//     NUL-terminated name (at most 12 characters)
//   one more record whose offset is where the last member ends
//   the members' bytes, in directory order
//
// All integers little-endian.  The games look names up by bisection without
// regard to case, so the directory is sorted by the lower-cased names; two
// names that differ only in case could never both be found and are refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ff {

inline constexpr std::size_t kMaxNameLength = 12;
inline constexpr std::size_t kRecordSize = 17;

struct Member {
    std::string name;
    std::vector<uint8_t> bytes;
};

struct Archive {
    std::vector<uint8_t> bytes;  // empty when the archive could not be built
    std::string error;           // why not, for the user
    bool ok() const { return error.empty(); }
};

// The directory order: both names lower-cased (ASCII), then byte order.
bool nameLess(std::string_view a, std::string_view b);

// Empty when the name can be stored; otherwise what is wrong with it.
std::string checkName(std::string_view name);

// Builds the whole archive in memory.  Refuses an empty member list, bad or
// duplicate names and archives too large for 32-bit offsets.
Archive buildArchive(std::vector<Member> members);

}  // namespace ff
