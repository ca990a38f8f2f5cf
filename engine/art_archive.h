// The art archive: one file of named BMP pictures, mapped read-only, from
// which the engine takes pointers straight into the mapping.
//
// Layout (little-endian): entry count N (uint32); N directory records of
// 17 bytes (uint32 data offset, 13-byte NUL-terminated name), sorted by the
// lowered names; the end offset of the last entry's data (the offset field
// of one more record); the entries' bytes.  Entry i runs from its offset to
// the next record's offset.
//
// Nothing in the file is trusted: the directory must fit in the file and
// end inside it, or the archive does not open; an entry whose offsets fall
// outside the data area or run backwards, or whose name has no NUL within
// its 13 bytes, is never found.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/mapped_file.h"

namespace engine {

struct ArtEntryHandle {
    int32_t inUse = 0;               // 1 while taken
    uint32_t offset = 0;             // of the entry's data in the archive
    uint32_t size = 0;               // of the entry's data
    const uint8_t* record = nullptr; // the entry's directory record
};

inline constexpr uint32_t kArtRecordSize = 17;
inline constexpr uint32_t kArtNameSize = 13;  // 12 characters and the NUL

// Opens the archive `name`: an RCDATA resource of that name if the program
// has one, else the file.  Replaces any archive that is open.  Pointers
// handed out by ArtEntryData from an earlier opening stay valid: that
// mapping is kept (retired) until ArtArchiveDataReleased.
bool ArtArchiveOpen(const char* name, int32_t handleCount);

// The same over bytes already in memory (tests, the fuzzer).
bool ArtArchiveOpenBytes(std::unique_ptr<MappedFile> bytes, int32_t handleCount);

// Closes the archive, unless data pointers are outstanding: then it stays
// open (and entries can still be looked up) until the next opening or
// until ArtArchiveDataReleased.
void ArtArchiveClose();

// Finds an entry by name (case-insensitive, at most 12 characters) and
// takes a free handle for it; nullptr when absent, damaged or out of handles.
ArtEntryHandle* ArtEntryOpen(const char* name);

// Gives the handle back; false when it is not a taken handle of the open
// archive.
bool ArtEntryClose(ArtEntryHandle* handle);

// Address of byte `position` of the entry, with `length` bytes readable
// from there; nullptr when the range leaves the entry.  (0, 0) always
// succeeds on a taken handle.  The pointer stays valid until
// ArtArchiveDataReleased.
const uint8_t* ArtEntryData(ArtEntryHandle* handle, int32_t position, int32_t length);

// Every pointer from ArtEntryData has been dropped (gfxEnd freed the
// bitmaps that held them): retired mappings are unmapped, and an archive
// whose close was put off is closed.
void ArtArchiveDataReleased();

// State for tests and the fuzzer.
bool ArtArchiveIsOpen();
uint32_t ArtArchiveEntryCount();
int32_t ArtArchiveOutstanding();
size_t ArtArchiveRetiredCount();

}  // namespace engine
