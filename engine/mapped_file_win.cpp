// Windows implementation: a read-only file mapping, and RCDATA resources of
// the program itself.
#include <windows.h>

#include <new>
#include <string>

#include "engine/mapped_file.h"

namespace engine {
namespace {

// Owns a kernel handle; INVALID_HANDLE_VALUE and null both mean none.
class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE handle = nullptr) : handle_(handle) {}
    ~ScopedHandle() { reset(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    void reset() {
        if (valid()) CloseHandle(handle_);
        handle_ = nullptr;
    }

private:
    HANDLE handle_;
};

class Win32MappedFile final : public MappedFile {
public:
    Win32MappedFile(const void* view, size_t size) : view_(view), size_(size) {}
    ~Win32MappedFile() override {
        if (view_ != nullptr) UnmapViewOfFile(view_);
    }
    Win32MappedFile(const Win32MappedFile&) = delete;
    Win32MappedFile& operator=(const Win32MappedFile&) = delete;

    std::span<const uint8_t> bytes() const override {
        return {static_cast<const uint8_t*>(view_), size_};
    }

private:
    const void* view_;
    size_t size_;
};

// Art file names are ASCII in practice, but the current directory may not
// be: open through the wide API with the name taken as the ANSI code page.
std::wstring widen(const char* text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

std::span<const uint8_t> lockResource(HMODULE module, HRSRC found) {
    if (found == nullptr) return {};
    HGLOBAL loaded = LoadResource(module, found);
    if (loaded == nullptr) return {};
    const void* data = LockResource(loaded);
    const DWORD size = SizeofResource(module, found);
    if (data == nullptr) return {};
    return {static_cast<const uint8_t*>(data), static_cast<size_t>(size)};
}

}  // namespace

std::unique_ptr<MappedFile> mapFile(const char* path) {
    if (path == nullptr || path[0] == '\0') return nullptr;
    const std::wstring name = widen(path);
    if (name.empty()) return nullptr;

    ScopedHandle file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_RANDOM_ACCESS, nullptr));
    if (!file.valid()) return nullptr;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return nullptr;
    // CreateFileMapping refuses an empty file; it holds no bytes anyway.
    if (size.QuadPart == 0) return std::unique_ptr<MappedFile>(new (std::nothrow) Win32MappedFile(nullptr, 0));

    // The view keeps the mapping object alive; both handles can go now.
    ScopedHandle mapping(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping.valid()) return nullptr;
    const void* view = MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0);
    if (view == nullptr) return nullptr;
    auto mapped = std::unique_ptr<MappedFile>(
        new (std::nothrow) Win32MappedFile(view, static_cast<size_t>(size.QuadPart)));
    if (!mapped) UnmapViewOfFile(view);
    return mapped;
}

std::span<const uint8_t> findResourceData(const char* name) {
    if (name == nullptr || name[0] == '\0') return {};
    HMODULE module = GetModuleHandleW(nullptr);
    return lockResource(module, FindResourceA(module, name, MAKEINTRESOURCEA(10) /* RT_RCDATA */));
}

std::span<const char> loadResourceText(const char* name) {
    if (name == nullptr || name[0] == '\0') return {};
    HMODULE module = GetModuleHandleW(nullptr);
    const auto bytes = lockResource(
        module, FindResourceExA(module, MAKEINTRESOURCEA(10) /* RT_RCDATA */, name,
                                MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)));
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace engine
