// Host implementation: mmap for files; no program resources exist here.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <new>

#include "engine/mapped_file.h"

namespace engine {
namespace {

class PosixMappedFile final : public MappedFile {
public:
    PosixMappedFile(void* address, size_t size) : address_(address), size_(size) {}
    ~PosixMappedFile() override {
        if (address_ != nullptr) munmap(address_, size_);
    }
    PosixMappedFile(const PosixMappedFile&) = delete;
    PosixMappedFile& operator=(const PosixMappedFile&) = delete;

    std::span<const uint8_t> bytes() const override {
        return {static_cast<const uint8_t*>(address_), size_};
    }

private:
    void* address_;
    size_t size_;
};

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

std::unique_ptr<MappedFile> mapFile(const char* path) {
    if (path == nullptr) return nullptr;
    const FileDescriptor fd(open(path, O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return nullptr;
    struct stat info {};
    if (fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
    const auto size = static_cast<size_t>(info.st_size);
    void* address = nullptr;
    // mmap refuses a zero length; an empty file is simply no bytes.
    if (size > 0) {
        address = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd.get(), 0);
        if (address == MAP_FAILED) return nullptr;
    }
    auto file = std::unique_ptr<MappedFile>(new (std::nothrow) PosixMappedFile(address, size));
    if (!file && address != nullptr) munmap(address, size);
    return file;
}

std::span<const uint8_t> findResourceData(const char*) { return {}; }
std::span<const char> loadResourceText(const char*) { return {}; }

}  // namespace engine
