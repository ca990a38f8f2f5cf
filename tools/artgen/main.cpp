// artgen: draws the bee game's pictures and plane lists.
//
//   artgen [--pictures DIR] [--lists DIR] [--preview PNG [--steps N] [--idle]]
//
// --pictures writes every picture as an 8-bit BMP into DIR together with
// DIR/members.txt, the list of the files written, for "ffpack OUT @LIST".
// --lists writes BACKLIST.txt, MIDLIST.txt, FORELIST.txt and SURFLIST.txt.
// Output is the same, byte for byte, on every run.
#include "tools/artgen/art_set.h"
#include "tools/artgen/canvas.h"
#include "tools/artgen/preview.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using artgen::ArtError;

struct Options {
    std::optional<std::string> picturesDir, listsDir, previewPng;
    artgen::PreviewState preview;
};

constexpr const char* kUsage =
    "usage: artgen [--pictures DIR] [--lists DIR] [--preview PNG [--steps N] [--idle]]\n";

int parseSteps(const std::string& text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 0)
        throw ArtError("--steps needs a whole number of steps, not '" + text + "'");
    return value;
}

Options parseOptions(const std::vector<std::string>& args) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--idle") {
            o.preview.voiced = false;
            continue;
        }
        if (i + 1 == args.size()) throw ArtError("'" + a + "' needs a value\n" + kUsage);
        const std::string& value = args[++i];
        if (a == "--pictures") o.picturesDir = value;
        else if (a == "--lists") o.listsDir = value;
        else if (a == "--preview") o.previewPng = value;
        else if (a == "--steps") o.preview.steps = parseSteps(value);
        else throw ArtError("unknown option '" + a + "'\n" + kUsage);
    }
    if (!o.picturesDir && !o.listsDir && !o.previewPng) throw ArtError(std::string("nothing to do\n") + kUsage);
    return o;
}

void writeFile(const fs::path& path, const void* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out) throw ArtError("cannot write '" + path.string() + "'");
}

void makeDirectory(const fs::path& dir) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec || !fs::is_directory(dir)) throw ArtError("cannot create the directory '" + dir.string() + "'");
}

void writePictures(const artgen::ArtSet& art, const fs::path& dir) {
    makeDirectory(dir);
    std::string members;
    for (const auto& p : art.pictures) {
        const auto bytes = artgen::encodeBmp8(p.image, artgen::artPalette());
        writeFile(dir / p.name, bytes.data(), bytes.size());
        members += (dir / p.name).string() + "\n";
    }
    writeFile(dir / "members.txt", members.data(), members.size());
}

void writeLists(const artgen::ArtSet& art, const fs::path& dir) {
    makeDirectory(dir);
    for (const auto& list : artgen::planeLists(art)) writeFile(dir / list.fileName, list.text.data(), list.text.size());
}

void run(const Options& o) {
    const artgen::ArtSet art = artgen::generateArtSet();
    if (o.picturesDir) writePictures(art, *o.picturesDir);
    if (o.listsDir) writeLists(art, *o.listsDir);
    if (o.previewPng) artgen::writePreview(art, o.preview, *o.previewPng);
}

}  // namespace

int main(int argc, char** argv) {
    int status = 0;
    try {
        run(parseOptions(std::vector<std::string>(argv + 1, argv + argc)));
    } catch (const std::exception& e) {
        std::cerr << "artgen: " << e.what() << "\n";
        status = 1;
    }
    return status;
}
