#pragma once
// The number rules of the mouse page's edits: how an edit's text reads as a number, and the range each
// parameter edit of the button editor keeps its value in. Plain C++, no toolkit.
#include <optional>
#include <string_view>

namespace zq::settings::pages {

// The largest number an edit reads as; longer digit runs saturate here instead of overflowing.
inline constexpr long kEditNumberLimit = 1'000'000'000L;

// An edit's text as a number: leading blanks, an optional sign, then the digits up to the first other
// character. Letters or nothing read as 0.
constexpr long editNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kEditNumberLimit) value = kEditNumberLimit;
    }
    return negative ? -value : value;
}

struct EditRange {
    int edit; // the number after "ms_key_fct_edit_"
    long minimum;
    long maximum;
};

// Fire-key count and interval (at least 1; one byte each), move distances (0..127), move step nibbles
// (0..15), macro repeat count (1..255).
inline constexpr EditRange kFunctionEditRanges[] = {
    {11, 1, 255}, {12, 1, 255}, {15, 0, 127}, {16, 0, 127}, {17, 0, 15},
    {18, 0, 15},  {19, 0, 15},  {20, 0, 15},  {25, 1, 255},
};

constexpr std::optional<EditRange> functionEditRange(int edit) {
    for (const EditRange& r : kFunctionEditRanges)
        if (r.edit == edit) return r;
    return std::nullopt;
}

// What an edit is set back to when its number leaves the edit's range; nullopt when the text stays.
constexpr std::optional<long> functionEditCorrection(int edit, long value) {
    const auto range = functionEditRange(edit);
    if (!range) return std::nullopt;
    if (value < range->minimum) return range->minimum;
    if (value > range->maximum) return range->maximum;
    return std::nullopt;
}

// The number an edit stands for, within its range.
constexpr long functionEditValue(int edit, std::string_view text) {
    const long value = editNumber(text);
    return functionEditCorrection(edit, value).value_or(value);
}

} // namespace zq::settings::pages
