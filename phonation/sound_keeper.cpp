#include "phonation/sound_keeper.h"

#include <algorithm>

namespace phonation {

SoundKeeper::SoundKeeper(int sampleRate, uint32_t keptMs)
    : sampleRate_(sampleRate), ring_(static_cast<std::size_t>(uint64_t{keptMs} * static_cast<uint64_t>(sampleRate) / 1000)) {}

void SoundKeeper::begin() { total_ = 0; }

void SoundKeeper::add(const int16_t* samples, std::size_t count) {
    if (ring_.empty()) return;
    // Only the last ring's worth of a very long delivery can be kept.
    if (count > ring_.size()) {
        total_ += count - ring_.size();
        samples += count - ring_.size();
        count = ring_.size();
    }
    // At most two runs: up to the ring's end, then from its start.
    const std::size_t at = static_cast<std::size_t>(total_ % ring_.size());
    const std::size_t first = std::min(count, ring_.size() - at);
    std::copy_n(samples, first, ring_.begin() + static_cast<std::ptrdiff_t>(at));
    std::copy_n(samples + first, count - first, ring_.begin());
    total_ += count;
}

uint64_t SoundKeeper::sampleAt(uint32_t ms) const { return uint64_t{ms} * static_cast<uint64_t>(sampleRate_) / 1000; }

std::vector<int16_t> SoundKeeper::span(uint32_t fromMs, uint32_t toMs) const {
    const uint64_t oldest = total_ > ring_.size() ? total_ - ring_.size() : 0;
    const uint64_t from = std::max(sampleAt(fromMs), oldest);
    const uint64_t to = std::min(sampleAt(toMs), total_);
    std::vector<int16_t> out;
    if (from >= to) return out;
    const auto count = static_cast<std::size_t>(to - from);
    const std::size_t at = static_cast<std::size_t>(from % ring_.size());
    const std::size_t first = std::min(count, ring_.size() - at);
    out.reserve(count);
    out.insert(out.end(), ring_.begin() + static_cast<std::ptrdiff_t>(at),
               ring_.begin() + static_cast<std::ptrdiff_t>(at + first));
    out.insert(out.end(), ring_.begin(), ring_.begin() + static_cast<std::ptrdiff_t>(count - first));
    return out;
}

namespace {

void put16(std::string& out, uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

}  // namespace

std::string wavFile(const std::vector<int16_t>& samples, int sampleRate) {
    const auto rate = static_cast<uint32_t>(sampleRate);
    const auto dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    put32(out, 16);        // the format chunk's size
    put16(out, 1);         // PCM
    put16(out, 1);         // mono
    put32(out, rate);
    put32(out, rate * 2);  // bytes per second
    put16(out, 2);         // bytes per sample frame
    put16(out, 16);        // bits per sample
    out += "data";
    put32(out, dataBytes);
    for (const int16_t s : samples) put16(out, static_cast<uint16_t>(s));
    return out;
}

}  // namespace phonation
