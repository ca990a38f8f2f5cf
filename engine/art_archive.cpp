#include "engine/art_archive.h"

#include <cstring>
#include <new>
#include <span>
#include <vector>

namespace engine {
namespace {

uint32_t readU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

unsigned char lowered(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// Lowered byte order over at most kArtNameSize bytes of each name, so a
// stored name without its NUL is compared without reading past the record.
int compareNames(const char* query, const uint8_t* stored) {
    for (uint32_t i = 0; i < kArtNameSize; ++i) {
        const unsigned char a = lowered(static_cast<unsigned char>(query[i]));
        const unsigned char b = lowered(stored[i]);
        if (a != b) return a < b ? -1 : 1;
        if (a == '\0') return 0;
    }
    return 0;
}

struct Archive {
    std::unique_ptr<MappedFile> file;
    std::span<const uint8_t> bytes;
    uint32_t entryCount = 0;
    uint64_t dataStart = 0;  // first byte after the directory and end offset
    std::unique_ptr<ArtEntryHandle[]> handles;
    int32_t handleCount = 0;
    int32_t outstanding = 0;
    bool closePutOff = false;
    std::vector<std::unique_ptr<MappedFile>> retired;

    const uint8_t* record(uint32_t index) const {
        return bytes.data() + 4 + static_cast<size_t>(index) * kArtRecordSize;
    }
    // Offset field of record `index`; index N is the end offset.
    uint32_t offsetOf(uint32_t index) const { return readU32(record(index)); }

    bool entryValid(uint32_t index) const {
        if (std::memchr(record(index) + 4, '\0', kArtNameSize) == nullptr) return false;
        const uint32_t begin = offsetOf(index);
        const uint32_t end = offsetOf(index + 1);
        return begin >= dataStart && begin <= end && end <= bytes.size();
    }

    void release() {
        file.reset();
        bytes = {};
        entryCount = 0;
        dataStart = 0;
        handles.reset();
        handleCount = 0;
        closePutOff = false;
    }

    bool owns(const ArtEntryHandle* handle) const {
        if (handle == nullptr || !handles) return false;
        for (int32_t i = 0; i < handleCount; ++i)
            if (&handles[i] == handle) return true;
        return false;
    }
};

Archive g_archive;

// The directory and the end offset must lie inside the file and the end
// offset may not point past it; entries are checked one by one on lookup.
bool directoryFits(std::span<const uint8_t> bytes, uint32_t& count, uint64_t& dataStart) {
    if (bytes.size() < 8) return false;
    count = readU32(bytes.data());
    dataStart = 4 + static_cast<uint64_t>(count) * kArtRecordSize + 4;
    if (dataStart > bytes.size()) return false;
    const uint32_t endOffset = readU32(bytes.data() + dataStart - 4);
    return endOffset <= bytes.size();
}

// Drops the open archive; its bytes are kept while pointers into them may
// still be in use.
void closeForReopen() {
    if (g_archive.outstanding > 0 && g_archive.file) g_archive.retired.push_back(std::move(g_archive.file));
    g_archive.outstanding = 0;
    g_archive.release();
}

int32_t findEntry(const char* name) {
    uint32_t low = 0;
    uint32_t high = g_archive.entryCount;
    while (low < high) {
        const uint32_t middle = low + (high - low) / 2;
        const int order = compareNames(name, g_archive.record(middle) + 4);
        if (order == 0) return static_cast<int32_t>(middle);
        if (order < 0) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return -1;
}

}  // namespace

bool ArtArchiveOpenBytes(std::unique_ptr<MappedFile> bytes, int32_t handleCount) {
    closeForReopen();
    if (!bytes || handleCount < 0) return false;
    uint32_t count = 0;
    uint64_t dataStart = 0;
    if (!directoryFits(bytes->bytes(), count, dataStart)) return false;
    if (handleCount > 0) {
        g_archive.handles.reset(new (std::nothrow) ArtEntryHandle[static_cast<size_t>(handleCount)]());
        if (!g_archive.handles) return false;
    }
    g_archive.handleCount = handleCount;
    g_archive.bytes = bytes->bytes();
    g_archive.file = std::move(bytes);
    g_archive.entryCount = count;
    g_archive.dataStart = dataStart;
    return true;
}

bool ArtArchiveOpen(const char* name, int32_t handleCount) {
    closeForReopen();
    if (name == nullptr || name[0] == '\0') return false;
    const auto resource = findResourceData(name);
    return ArtArchiveOpenBytes(resource.empty() ? mapFile(name) : viewBytes(resource), handleCount);
}

void ArtArchiveClose() {
    if (g_archive.outstanding != 0) {
        g_archive.closePutOff = true;
        return;
    }
    g_archive.release();
}

void ArtArchiveDataReleased() {
    g_archive.retired.clear();
    g_archive.outstanding = 0;
    if (g_archive.closePutOff) g_archive.release();
}

ArtEntryHandle* ArtEntryOpen(const char* name) {
    if (!g_archive.file || name == nullptr || name[0] == '\0') return nullptr;
    if (std::strlen(name) > kArtNameSize - 1) return nullptr;
    const int32_t index = findEntry(name);
    if (index < 0 || !g_archive.entryValid(static_cast<uint32_t>(index))) return nullptr;
    for (int32_t i = 0; i < g_archive.handleCount; ++i) {
        ArtEntryHandle& handle = g_archive.handles[i];
        if (handle.inUse != 0) continue;
        const auto entry = static_cast<uint32_t>(index);
        handle.inUse = 1;
        handle.offset = g_archive.offsetOf(entry);
        handle.size = g_archive.offsetOf(entry + 1) - handle.offset;
        handle.record = g_archive.record(entry);
        return &handle;
    }
    return nullptr;
}

bool ArtEntryClose(ArtEntryHandle* handle) {
    if (!g_archive.owns(handle) || handle->inUse != 1) return false;
    handle->inUse = 0;
    return true;
}

const uint8_t* ArtEntryData(ArtEntryHandle* handle, int32_t position, int32_t length) {
    if (!g_archive.owns(handle) || handle->inUse != 1) return nullptr;
    if (position < 0 || length < 0) return nullptr;
    if (static_cast<uint64_t>(position) + static_cast<uint64_t>(length) > handle->size) return nullptr;
    if (g_archive.outstanding < INT32_MAX) ++g_archive.outstanding;
    return g_archive.bytes.data() + handle->offset + static_cast<uint32_t>(position);
}

bool ArtArchiveIsOpen() { return static_cast<bool>(g_archive.file); }
uint32_t ArtArchiveEntryCount() { return g_archive.entryCount; }
int32_t ArtArchiveOutstanding() { return g_archive.outstanding; }
size_t ArtArchiveRetiredCount() { return g_archive.retired.size(); }

}  // namespace engine
