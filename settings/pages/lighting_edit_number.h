#pragma once
// What a number edit of the settings pages reads as: its leading decimal number, as the pages have
// always read them ("12ab" is 12; letters or nothing read 0). Values too large for the pages' fields
// saturate instead of wrapping, so "99999999999" is above every limit rather than some small number.
#include <cstddef>
#include <string_view>

namespace zq::settings::pages {

inline constexpr long kEditNumberCeiling = 1'000'000'000L;

constexpr long readEditNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kEditNumberCeiling) value = kEditNumberCeiling;
    }
    return negative ? -value : value;
}

} // namespace zq::settings::pages
