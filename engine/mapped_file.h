// Read-only bytes of a whole file or of a resource compiled into the program.
//
// The art archive hands out pointers straight into these bytes, so a
// MappedFile must stay alive for as long as any of them is in use.  The two
// platform implementations live in mapped_file_posix.cpp (host) and
// mapped_file_win.cpp (Windows).
#pragma once

#include <cstdint>
#include <memory>
#include <span>

namespace engine {

class MappedFile {
public:
    virtual ~MappedFile() = default;
    virtual std::span<const uint8_t> bytes() const = 0;
};

// The whole file, mapped read-only; nullptr when it cannot be opened or
// mapped.  An empty file gives an empty span.
std::unique_ptr<MappedFile> mapFile(const char* path);

// Bytes owned by someone else (a fuzzer's input, a test's buffer); the
// caller keeps them alive.
std::unique_ptr<MappedFile> viewBytes(std::span<const uint8_t> bytes);

// An RCDATA resource of the program, looked up the way the art archive does
// (FindResourceA); empty when there is none.  Resources live as long as the
// program, so no owner is needed.  The host has no resources.
std::span<const uint8_t> findResourceData(const char* name);

// The plane-list text resources: RCDATA in the neutral language
// (FindResourceExA).  The text is not NUL-terminated; its size bounds it.
std::span<const char> loadResourceText(const char* name);

}  // namespace engine
