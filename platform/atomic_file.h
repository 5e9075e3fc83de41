#pragma once
// Whole-file writes that never leave a half-written file: the bytes go to a temporary file in the same
// folder, are flushed to disk, and the temporary file then replaces the target in one rename. A file
// that is a symbolic link is replaced at the link's target, so the link stays.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace zq::platform {

bool writeFileAtomically(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);
bool writeFileAtomically(const std::filesystem::path& file, std::string_view text);

} // namespace zq::platform
