#pragma once
// The mouse's default profile files that come with the program, as the two resets of the mouse page read
// them: the 16-byte header (magic 0x55AA, little-endian, at its start) and the payload behind it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace zq::settings::pages {

inline constexpr std::size_t kDefaultFileHeaderSize = 16;
inline constexpr std::uint16_t kDefaultFileMagic = 0x55AA;
// A device profile: the 512-byte key table, then the 64-byte settings record.
inline constexpr std::size_t kMouseDevicePayloadSize = 576;
// The lighting default is read only as far as one command payload reaches.
inline constexpr std::size_t kMouseLightingResetBytes = 56;

inline constexpr std::array<std::string_view, 3> kMouseDeviceDefaultNames{
    "msdevicedefault.config", "msdevicedefault1.config", "msdevicedefault2.config"};
inline constexpr std::string_view kMouseLightingDefaultName = "msdengdefault.led";

// The device-profile default for a position in the device profile list: the first two positions have
// their own, every other position (and no selection at all) takes the third.
constexpr std::string_view mouseDeviceDefaultName(int listPosition) {
    return listPosition == 0   ? kMouseDeviceDefaultNames[0]
           : listPosition == 1 ? kMouseDeviceDefaultNames[1]
                               : kMouseDeviceDefaultNames[2];
}

enum class DefaultFileRead { Ok, Missing, BadMagic };

// Reads payload.size() bytes behind the header; the buffer is cleared first, so whatever a short file
// does not cover reads as zeros. The name is matched without regard to letter case. Never reads more
// than the header and the payload.
DefaultFileRead readDefaultFile(const std::filesystem::path& file, std::span<std::uint8_t> payload);

} // namespace zq::settings::pages
