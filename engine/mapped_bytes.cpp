// Borrowed bytes behind the MappedFile interface (both platforms).
#include <new>

#include "engine/mapped_file.h"

namespace engine {
namespace {

class BorrowedBytes final : public MappedFile {
public:
    explicit BorrowedBytes(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    std::span<const uint8_t> bytes() const override { return bytes_; }

private:
    std::span<const uint8_t> bytes_;
};

}  // namespace

std::unique_ptr<MappedFile> viewBytes(std::span<const uint8_t> bytes) {
    return std::unique_ptr<MappedFile>(new (std::nothrow) BorrowedBytes(bytes));
}

}  // namespace engine
