#include "tests/uidriver/test_environment_win.h"

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "tests/uidriver/session_win.h"

namespace uidriver {
namespace {

// A file in the environment's request folder, as Wine sees it; empty
// outside the environment.
std::wstring requestPath(const std::wstring& name) {
    const char* dir = std::getenv("TE_AUDIO_CONTROL_DIR");
    if (!dir || !*dir) return {};
    std::wstring path = L"Z:" + std::wstring(dir, dir + std::strlen(dir)) + L"/" + name;
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

}  // namespace

bool audioServer(const char* request) {
    const std::wstring path = requestPath(std::wstring(request, request + std::strlen(request)));
    if (path.empty()) return false;
    { std::ofstream(path.c_str()) << request; }
    return waitFor([&] { return !fileExists(path); }, 20000);
}

ServerPlayer::ServerPlayer(const std::vector<int16_t>& samples) {
    static int count = 0;
    const std::wstring name = L"sound-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++count);
    const std::wstring written = requestPath(name + L".pcm");
    if (!written.empty()) {
        std::ofstream out(written.c_str(), std::ios::binary);
        out.write(reinterpret_cast<const char*>(samples.data()), static_cast<std::streamsize>(samples.size() * 2));
        // Named as a request only once whole, so the server never plays half of it.
        out.close();
        if (out && MoveFileW(written.c_str(), (requestPath(name) + L".play").c_str())) {
            request_ = requestPath(name);
            return;
        }
        DeleteFileW(written.c_str());
    }
    throughWine_ = std::make_unique<PcmPlayer>(samples);
}

ServerPlayer::~ServerPlayer() {
    if (request_.empty() || finished()) return;
    std::ofstream((request_ + L".stop").c_str()).close();
    waitFor([this] { return finished(); }, 2000);
}

// The environment renames the request while it plays it and removes it
// when done.
bool ServerPlayer::finished() const {
    if (throughWine_) return throughWine_->finished();
    return !fileExists(request_ + L".play") && !fileExists(request_ + L".playing");
}

}  // namespace uidriver
