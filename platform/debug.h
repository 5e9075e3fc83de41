#pragma once
// The debug-string channel: fixed strings that say what went wrong where nobody is shown a message.
// Lines are kept in a bounded in-memory ring that tests read, and go to stderr when ZQ70_DEBUG=1.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zq::platform {

void debugString(std::string_view text);

// The lines written since the last clear, oldest first (at most the last kDebugRingSize).
std::vector<std::string> debugLines();
bool debugContains(std::string_view text);
void clearDebugLines();
inline constexpr std::size_t kDebugRingSize = 4096;

// "04 01 00 03 ..." for frames in debug lines.
std::string hexDump(std::span<const std::uint8_t> bytes);

} // namespace zq::platform
