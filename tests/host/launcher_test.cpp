// The launcher's portable decisions: which display mode AcertaResolucao
// switches to, and where the runtime stand-in looks for its book.
#include <gtest/gtest.h>

#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "launcher/dllcontrolkx/display_mode.h"
#include "launcher/tb90run/book_path.h"

namespace {

using dllcontrolkx::chooseDisplayMode;
using dllcontrolkx::DisplayMode;

struct ModeCase {
    const char* name;
    DisplayMode current;
    std::vector<DisplayMode> offered;
    std::optional<DisplayMode> expected;
};

const std::vector<DisplayMode> kTypicalModes = {
    {640, 480, 8, 60},   {640, 480, 16, 60},  {800, 600, 8, 60},   {800, 600, 16, 60},  {800, 600, 16, 75},
    {800, 600, 32, 60},  {1024, 768, 8, 60},  {1024, 768, 16, 60}, {1024, 768, 32, 60}, {1280, 1024, 32, 60},
};

TEST(AcertaResolucao, ChoosesTheSmallestModeThatMeetsTheMinimum) {
    const ModeCase cases[] = {
        {"current 1024x768x32 already fits", {1024, 768, 32, 60}, kTypicalModes, std::nullopt},
        {"exactly 800x600x16 fits", {800, 600, 16, 60}, kTypicalModes, std::nullopt},
        {"a wide screen fits", {1920, 1080, 32, 60}, {}, std::nullopt},
        {"640x480 grows to 800x600x16", {640, 480, 16, 60}, kTypicalModes, DisplayMode{800, 600, 16, 60}},
        {"8-bit colour at 1024x768: the smallest fitting mode", {1024, 768, 8, 60}, kTypicalModes,
         DisplayMode{800, 600, 16, 60}},
        {"too narrow but tall enough", {720, 900, 32, 60}, kTypicalModes, DisplayMode{800, 600, 16, 60}},
        {"keeps the current refresh rate when the mode has it", {640, 480, 16, 75}, kTypicalModes,
         DisplayMode{800, 600, 16, 75}},
        {"otherwise the highest refresh rate", {640, 480, 16, 70},
         {{800, 600, 16, 56}, {800, 600, 16, 85}, {800, 600, 16, 60}}, DisplayMode{800, 600, 16, 85}},
        {"fewer pixels beat fewer colour bits", {640, 480, 8, 60}, {{1024, 768, 16, 60}, {800, 600, 32, 60}},
         DisplayMode{800, 600, 32, 60}},
        {"a wider mode with fewer pixels wins", {640, 480, 8, 60}, {{1024, 600, 16, 60}, {800, 800, 16, 60}},
         DisplayMode{1024, 600, 16, 60}},
        {"nothing offered fits: no change", {640, 480, 8, 60},
         {{640, 480, 8, 60}, {640, 480, 16, 60}, {800, 600, 8, 60}}, std::nullopt},
        {"no modes listed at all: no change", {640, 480, 8, 60}, {}, std::nullopt},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(chooseDisplayMode(c.current, c.offered), c.expected);
    }
}

TEST(TB90run, FindsTheBookOnlyBesideItself) {
    struct Case {
        const wchar_t* runtime;
        const wchar_t* book;
        std::wstring expected;
    } cases[] = {
        {L"C:\\Tavoral\\TB90run.exe", L"gui_kx.exe", L"C:\\Tavoral\\gui_kx.exe"},
        {L"C:/Tavoral/TB90run.exe", L"gui_kx.exe", L"C:/Tavoral/gui_kx.exe"},
        {L"\\\\server\\share\\TB90run.exe", L"livro.exe", L"\\\\server\\share\\livro.exe"},
        {L"C:\\Tavoral\\TB90run.exe", L"", L""},
        {L"C:\\Tavoral\\TB90run.exe", L"..", L""},
        {L"C:\\Tavoral\\TB90run.exe", L".", L""},
        {L"C:\\Tavoral\\TB90run.exe", L"..\\cmd.exe", L""},
        {L"C:\\Tavoral\\TB90run.exe", L"sub/gui_kx.exe", L""},
        {L"C:\\Tavoral\\TB90run.exe", L"D:gui_kx.exe", L""},
        {L"C:\\Tavoral\\TB90run.exe", L"gui_kx.exe:stream", L""},
        {L"TB90run.exe", L"gui_kx.exe", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tb90run::bookPathBeside(c.runtime, c.book), c.expected)
            << std::string(c.book, c.book + std::wcslen(c.book));
}

}  // namespace
