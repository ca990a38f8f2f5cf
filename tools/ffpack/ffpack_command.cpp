#include "tools/ffpack/ffpack_command.h"

#include "tools/ffpack/ff_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace ff {
namespace {

namespace fs = std::filesystem;

struct Failure {
    std::string message;
};

std::optional<std::vector<uint8_t>> readFile(const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

// Expands "@LIST" arguments; blank lines and a trailing CR are ignored.
std::optional<Failure> collectInputs(const std::vector<std::string>& args, std::vector<std::string>& paths) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i].size() < 2 || args[i][0] != '@') {
            paths.push_back(args[i]);
            continue;
        }
        const std::string list = args[i].substr(1);
        std::ifstream in(list);
        if (!in) return Failure{"cannot read the file list '" + list + "'"};
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty()) paths.push_back(line);
        }
    }
    if (paths.empty()) return Failure{"no input files given"};
    return std::nullopt;
}

std::optional<Failure> readMembers(const std::vector<std::string>& paths, std::vector<Member>& members) {
    for (const auto& path : paths) {
        auto bytes = readFile(path);
        if (!bytes) return Failure{"cannot read input file '" + path + "'"};
        members.push_back({fs::path(path).filename().string(), std::move(*bytes)});
    }
    return std::nullopt;
}

// Written beside the target and renamed over it, so that an interrupted or
// failed write cannot leave a truncated archive that looks up to date.
std::optional<Failure> writeAtomically(const std::string& out, const std::vector<uint8_t>& bytes) {
    const std::string temp = out + ".tmp";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return Failure{"cannot write '" + out + "': " + std::strerror(errno)};
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const int writeErrno = errno;
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) {
        std::remove(temp.c_str());
        return Failure{"cannot write '" + out + "': " + std::strerror(written ? errno : writeErrno)};
    }
    std::error_code ec;
    fs::rename(temp, out, ec);
    if (ec) {
        std::remove(temp.c_str());
        return Failure{"cannot write '" + out + "': " + ec.message()};
    }
    return std::nullopt;
}

std::optional<Failure> pack(const std::vector<std::string>& args) {
    std::vector<std::string> paths;
    if (auto f = collectInputs(args, paths)) return f;
    std::vector<Member> members;
    if (auto f = readMembers(paths, members)) return f;
    const Archive archive = buildArchive(std::move(members));
    if (!archive.ok()) return Failure{archive.error};
    return writeAtomically(args[0], archive.bytes);
}

}  // namespace

int runFfpack(const std::vector<std::string>& args, std::ostream& err) {
    if (args.size() < 2 || args[0].empty()) {
        err << "usage: ffpack OUT.ff FILE... (or @LIST: a file naming one input per line)\n";
        return 1;
    }
    if (auto failure = pack(args)) {
        err << "ffpack: " << failure->message << "\n";
        return 1;
    }
    return 0;
}

}  // namespace ff
