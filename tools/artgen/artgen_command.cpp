#include "tools/artgen/artgen_command.h"

#include "tools/artgen/art_set.h"
#include "tools/artgen/canvas.h"
#include "tools/artgen/picture_sets.h"
#include "tools/artgen/preview.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <optional>

namespace artgen {
namespace {

namespace fs = std::filesystem;

struct Options {
    Game game = Game::Abelha;
    std::optional<std::string> picturesDir, listsDir, previewPng;
    PreviewState preview;
};

constexpr const char* kUsage =
    "usage: artgen [--game abelha|carro|barco|menina] [--pictures DIR] [--lists DIR] [--preview PNG [--steps N] "
    "[--idle]]\n       artgen splash|adult|menu|dialog DIR";

// The picture sets that are not a game's art.
using PictureSet = std::vector<tools::ImageFile> (*)();
std::optional<PictureSet> pictureSetNamed(const std::string& name) {
    if (name == "splash") return splashPictures;
    if (name == "adult") return adultPictures;
    if (name == "menu") return menuPictures;
    if (name == "dialog") return dialogPictures;
    return std::nullopt;
}

Game parseGame(const std::string& name) {
    if (auto game = gameNamed(name)) return *game;
    throw ArtError("no game called '" + name + "'\n" + kUsage);
}

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
        if (a == "--game") o.game = parseGame(value);
        else if (a == "--pictures") o.picturesDir = value;
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
    if (!fs::is_directory(dir, ec)) throw ArtError("cannot create the directory '" + dir.string() + "'");
}

// The member list comes last, so an interrupted run leaves no list that
// names a picture not fully written.
void writePictures(const ArtSet& art, const fs::path& dir) {
    makeDirectory(dir);
    std::string members;
    for (const auto& p : art.pictures) {
        const auto bytes = encodeBmp8(p.image, artPalette());
        writeFile(dir / p.name, bytes.data(), bytes.size());
        members += (dir / p.name).string() + "\n";
    }
    writeFile(dir / "members.txt", members.data(), members.size());
}

void writeLists(const ArtSet& art, const fs::path& dir) {
    makeDirectory(dir);
    for (const auto& list : planeLists(art)) writeFile(dir / list.fileName, list.text.data(), list.text.size());
}

void writePictureSet(PictureSet set, const std::vector<std::string>& args) {
    if (args.size() != 2) throw ArtError("'" + args[0] + "' needs one folder and nothing else\n" + kUsage);
    const fs::path dir = args[1];
    makeDirectory(dir);
    for (const tools::ImageFile& file : set()) writeFile(dir / file.name, file.bytes.data(), file.bytes.size());
}

}  // namespace

int runArtgen(const std::vector<std::string>& args, std::ostream& err) {
    try {
        if (!args.empty()) {
            if (const std::optional<PictureSet> set = pictureSetNamed(args[0])) {
                writePictureSet(*set, args);
                return 0;
            }
        }
        const Options o = parseOptions(args);
        const ArtSet art = generateArtSet(o.game);
        if (o.picturesDir) writePictures(art, *o.picturesDir);
        if (o.listsDir) writeLists(art, *o.listsDir);
        if (o.previewPng) writePreview(art, o.preview, *o.previewPng);
        return 0;
    } catch (const std::exception& e) {
        err << "artgen: " << e.what() << "\n";
        return 1;
    }
}

}  // namespace artgen
