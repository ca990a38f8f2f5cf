#include "tools/ffpack/ff_writer.h"

#include <algorithm>
#include <limits>

namespace ff {
namespace {

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    return !nameLess(a, b) && !nameLess(b, a);
}

void putUint32(std::vector<uint8_t>& out, std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// Offset and name; the name field is already zero, which terminates it.
void putRecord(std::vector<uint8_t>& out, std::size_t at, uint32_t offset, std::string_view name) {
    putUint32(out, at, offset);
    std::copy(name.begin(), name.end(), out.begin() + static_cast<std::ptrdiff_t>(at + 4));
}

std::string findDuplicate(const std::vector<Member>& sorted) {
    for (std::size_t i = 1; i < sorted.size(); ++i)
        if (sameNameIgnoringCase(sorted[i - 1].name, sorted[i].name))
            return "duplicate member name '" + sorted[i - 1].name + "' and '" + sorted[i].name +
                   "' (names are compared without regard to case)";
    return {};
}

}  // namespace

bool nameLess(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(lowerAscii(x)) < static_cast<unsigned char>(lowerAscii(y));
    });
}

std::string checkName(std::string_view name) {
    std::string quoted(1, '\'');
    quoted.append(name).push_back('\'');
    if (name.empty()) return "empty member name";
    if (name.size() > kMaxNameLength)
        return "member name " + quoted + " is longer than " + std::to_string(kMaxNameLength) +
               " characters";
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u >= 0x7F || c == '/' || c == '\\')
            return "member name " + quoted + " holds a character that is not a printable ASCII letter";
    }
    return {};
}

Archive buildArchive(std::vector<Member> members) {
    if (members.empty()) return {{}, "no members to pack"};
    for (const auto& m : members)
        if (auto why = checkName(m.name); !why.empty()) return {{}, why};

    std::stable_sort(members.begin(), members.end(),
                     [](const Member& a, const Member& b) { return nameLess(a.name, b.name); });
    if (auto why = findDuplicate(members); !why.empty()) return {{}, why};

    // The terminating record is written in full, its name all zeros.
    const std::size_t directoryEnd = 4 + kRecordSize * (members.size() + 1);
    std::size_t total = directoryEnd;
    for (const auto& m : members) total += m.bytes.size();
    if (total > std::numeric_limits<uint32_t>::max())
        return {{}, "archive would exceed 4 GiB, beyond its 32-bit offsets"};

    std::vector<uint8_t> out(total, 0);
    putUint32(out, 0, static_cast<uint32_t>(members.size()));
    std::size_t offset = directoryEnd;
    for (std::size_t i = 0; i < members.size(); ++i) {
        putRecord(out, 4 + kRecordSize * i, static_cast<uint32_t>(offset), members[i].name);
        std::copy(members[i].bytes.begin(), members[i].bytes.end(),
                  out.begin() + static_cast<std::ptrdiff_t>(offset));
        offset += members[i].bytes.size();
    }
    putRecord(out, 4 + kRecordSize * members.size(), static_cast<uint32_t>(offset), {});
    return {std::move(out), {}};
}

}  // namespace ff
