#include "profiles/profile_file.h"

#include "platform/atomic_file.h"
#include "platform/data_folders.h"
#include "platform/debug.h"
#include "settings/byte_order.h"

#include <algorithm>
#include <fstream>
#include <vector>

namespace zq::profiles {

namespace fs = std::filesystem;

ProfileFileHeader makeProfileHeader(DeviceType type) {
    ProfileFileHeader h{};
    settings::writeLe16(h, kHeaderMagicOffset, kProfileMagic);
    settings::writeLe16(h, kHeaderDeviceTypeOffset, static_cast<std::uint16_t>(type));
    return h;
}

ProfileReadResult readProfileFile(const fs::path& file, std::span<std::uint8_t> payload) {
    std::fill(payload.begin(), payload.end(), std::uint8_t{0});
    const fs::path path = platform::resolveCaseInsensitive(file);
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return ProfileReadResult::Missing;
    std::ifstream in(path, std::ios::binary);
    if (!in) return ProfileReadResult::Missing;

    ProfileFileHeader header{};
    in.read(reinterpret_cast<char*>(header.data()), header.size());
    if (in.gcount() < 2 || settings::readLe16(header, kHeaderMagicOffset) != kProfileMagic)
        return ProfileReadResult::BadMagic;
    if (in.gcount() < static_cast<std::streamsize>(kProfileHeaderSize)) return ProfileReadResult::Ok;
    in.read(reinterpret_cast<char*>(payload.data()), static_cast<std::streamsize>(payload.size()));
    return ProfileReadResult::Ok;
}

bool writeProfileFile(const fs::path& file, DeviceType type, std::span<const std::uint8_t> payload) {
    const ProfileFileHeader header = makeProfileHeader(type);
    std::vector<std::uint8_t> bytes(header.begin(), header.end());
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    if (!platform::writeFileAtomically(platform::resolveCaseInsensitive(file), bytes)) {
        platform::debugString(kFileOpenFailed);
        return false;
    }
    return true;
}

} // namespace zq::profiles
