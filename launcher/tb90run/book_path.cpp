#include "launcher/tb90run/book_path.h"

namespace tb90run {

std::wstring bookPathBeside(std::wstring_view runtimePath, std::wstring_view book) {
    if (book.empty() || book == L"." || book == L".." || book.find_first_of(L"\\/:") != std::wstring_view::npos)
        return {};
    const size_t slash = runtimePath.find_last_of(L"\\/");
    if (slash == std::wstring_view::npos) return {};
    return std::wstring(runtimePath.substr(0, slash + 1)) + std::wstring(book);
}

}  // namespace tb90run
