#include "device/hid/path_ids.h"

#include <algorithm>
#include <cctype>

namespace zq::hid {

std::uint32_t hexNumberAfter(std::string_view path, std::string_view key) {
    const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    const auto it = std::search(path.begin(), path.end(), key.begin(), key.end(),
                                [&](char a, char b) { return lower(a) == lower(b); });
    if (it == path.end() || key.empty()) return 0;
    std::uint64_t value = 0;
    for (auto p = it + static_cast<std::ptrdiff_t>(key.size()); p != path.end(); ++p) {
        const char c = lower(*p);
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            break;
        value = std::min<std::uint64_t>(value * 16 + static_cast<unsigned>(digit), 0xFFFFFFFFu); // saturates
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace zq::hid
