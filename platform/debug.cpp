#include "platform/debug.h"

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>

namespace zq::platform {

namespace {
struct Channel {
    std::mutex mutex;
    std::deque<std::string> lines;
    bool toStderr = [] {
        const char* v = std::getenv("ZQ70_DEBUG");
        return v != nullptr && std::string_view(v) == "1";
    }();
};

Channel& channel() {
    static Channel* c = new Channel; // never destroyed: threads may still log during shutdown
    return *c;
}
} // namespace

void debugString(std::string_view text) {
    auto& c = channel();
    std::lock_guard lock(c.mutex);
    if (c.lines.size() == kDebugRingSize) c.lines.pop_front();
    c.lines.emplace_back(text);
    if (c.toStderr) std::fprintf(stderr, "zq70: %.*s\n", static_cast<int>(text.size()), text.data());
}

std::vector<std::string> debugLines() {
    auto& c = channel();
    std::lock_guard lock(c.mutex);
    return {c.lines.begin(), c.lines.end()};
}

bool debugContains(std::string_view text) {
    auto& c = channel();
    std::lock_guard lock(c.mutex);
    for (const auto& l : c.lines)
        if (l.find(text) != std::string::npos) return true;
    return false;
}

void clearDebugLines() {
    auto& c = channel();
    std::lock_guard lock(c.mutex);
    c.lines.clear();
}

std::string hexDump(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i) out.push_back(' ');
        out.push_back(kDigits[bytes[i] >> 4]);
        out.push_back(kDigits[bytes[i] & 0xF]);
    }
    return out;
}

} // namespace zq::platform
