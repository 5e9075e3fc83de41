#pragma once
// The identity pre-filter on collection path text: the hexadecimal number right after the first
// case-insensitive occurrence of "vid_" (or "pid_"), 0 when the key is absent or no digit follows.
// Lets a scan skip other vendors' collections without opening them.
#include <cstdint>
#include <string_view>

namespace zq::hid {

std::uint32_t hexNumberAfter(std::string_view path, std::string_view key);
inline std::uint32_t pathVendorId(std::string_view path) {
    return hexNumberAfter(path, "vid_");
}
inline std::uint32_t pathProductId(std::string_view path) {
    return hexNumberAfter(path, "pid_");
}

} // namespace zq::hid
