#pragma once
// Whole-file writes that never leave a half-written file: the bytes go to a temporary file in the same
// folder, are flushed to disk, and the temporary file then replaces the target in one rename. A file
// that is a symbolic link is replaced at the link's target, so the link stays.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <sys/stat.h>

namespace zq::platform {

// On success *written (when given) holds the status of the file as it was written, taken before the
// rename: a later replacement by someone else then shows as another file, however quickly it comes.
bool writeFileAtomically(const std::filesystem::path& file, std::span<const std::uint8_t> bytes,
                         struct ::stat* written = nullptr);
bool writeFileAtomically(const std::filesystem::path& file, std::string_view text,
                         struct ::stat* written = nullptr);

} // namespace zq::platform
