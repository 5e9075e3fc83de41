#pragma once
// The profile file: a 16-byte header (magic 0x55AA and the device type, little-endian, the rest zero)
// followed by the category's payload. Readers look only at the magic, so a file of one category reads
// as another when its magic is right.
#include "profiles/profile_category.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

namespace zq::profiles {

inline constexpr std::size_t kProfileHeaderSize = 16;
inline constexpr std::size_t kHeaderMagicOffset = 0;      // 2 bytes
inline constexpr std::size_t kHeaderDeviceTypeOffset = 4; // 2 bytes
inline constexpr std::uint16_t kProfileMagic = 0x55AA;

using ProfileFileHeader = std::array<std::uint8_t, kProfileHeaderSize>;

ProfileFileHeader makeProfileHeader(DeviceType type);

enum class ProfileReadResult : int { Ok = 0, Missing = 1, BadMagic = -1 };

// Reads payload.size() bytes of payload. The buffer is cleared first, so the part a short file does not
// cover reads as zeros. A file whose name differs only in letter case is found too. Never reads more
// than the header and the payload, whatever the file's size.
ProfileReadResult readProfileFile(const std::filesystem::path& file, std::span<std::uint8_t> payload);

// Writes the header and the payload atomically, over an existing file of the same name in any letter
// case. On failure "文件打开失败" goes to the debug channel and false is returned.
bool writeProfileFile(const std::filesystem::path& file, DeviceType type,
                      std::span<const std::uint8_t> payload);

// The debug line of a profile file that cannot be created.
inline constexpr std::string_view kFileOpenFailed = "文件打开失败";

} // namespace zq::profiles
