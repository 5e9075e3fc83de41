#include "settings/pages/mouse_default_files.h"

#include "platform/data_folders.h"
#include "settings/byte_order.h"

#include <algorithm>
#include <fstream>

namespace zq::settings::pages {

DefaultFileRead readDefaultFile(const std::filesystem::path& file, std::span<std::uint8_t> payload) {
    std::fill(payload.begin(), payload.end(), std::uint8_t{0});
    const std::filesystem::path path = platform::resolveCaseInsensitive(file);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return DefaultFileRead::Missing;
    std::ifstream in(path, std::ios::binary);
    if (!in) return DefaultFileRead::Missing;
    std::array<std::uint8_t, kDefaultFileHeaderSize> header{};
    in.read(reinterpret_cast<char*>(header.data()), static_cast<std::streamsize>(header.size()));
    if (in.gcount() < 2 || readLe16(header, 0) != kDefaultFileMagic) return DefaultFileRead::BadMagic;
    if (in.gcount() < static_cast<std::streamsize>(header.size())) return DefaultFileRead::Ok;
    in.read(reinterpret_cast<char*>(payload.data()), static_cast<std::streamsize>(payload.size()));
    return DefaultFileRead::Ok;
}

} // namespace zq::settings::pages
