#include "macros/macro_action.h"

#include <array>
#include <cstdint>
#include <limits>

namespace zq::macros {

namespace {

constexpr bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Field order of the line, left to right.
enum Field : std::size_t { kDelayLow, kDelayHigh, kType, kCode, kPressed, kNumberFields };

MacroAction fromNumbers(const std::array<std::int32_t, kNumberFields>& n, std::string_view name) {
    MacroAction a;
    a.delayLow = static_cast<std::uint8_t>(n[kDelayLow]);
    a.delayHigh = static_cast<std::uint8_t>(n[kDelayHigh]);
    a.type = static_cast<std::uint8_t>(n[kType]);
    a.code = static_cast<std::uint8_t>(n[kCode]);
    a.pressed = static_cast<std::uint16_t>(n[kPressed]);
    a.nameId.assign(name);
    return a;
}

} // namespace

std::int32_t parseDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Accumulate the magnitude in 64 bits and stop growing once it is past every int32 value.
    constexpr std::int64_t kCap = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (magnitude <= kCap) magnitude = magnitude * 10 + (text[i] - '0');
    }
    if (negative) {
        return magnitude >= kCap ? std::numeric_limits<std::int32_t>::min()
                                 : static_cast<std::int32_t>(-magnitude);
    }
    return magnitude >= kCap ? std::numeric_limits<std::int32_t>::max()
                             : static_cast<std::int32_t>(magnitude);
}

MacroAction parseActionLine(std::string_view line) {
    std::array<std::int32_t, kNumberFields> numbers{};
    std::size_t commas = 0;
    for (char c : line) commas += c == ',' ? 1 : 0;

    if (commas < kNumberFields) {
        // Cut short: read what is there from the left; the name is gone.
        std::size_t field = 0;
        std::string_view rest = line;
        while (field < kNumberFields) {
            const auto comma = rest.find(',');
            numbers[field++] = parseDecimal(rest.substr(0, comma));
            if (comma == std::string_view::npos) break;
            rest.remove_prefix(comma + 1);
        }
        return fromNumbers(numbers, {});
    }

    std::string_view rest = line;
    auto cutLast = [&rest]() {
        const auto comma = rest.rfind(',');
        std::string_view tail = rest.substr(comma + 1);
        rest = rest.substr(0, comma);
        return tail;
    };
    const std::string_view name = cutLast();
    for (std::size_t field = kPressed; field > kDelayLow; --field) numbers[field] = parseDecimal(cutLast());
    numbers[kDelayLow] = parseDecimal(rest);
    return fromNumbers(numbers, name);
}

std::string formatActionLine(const MacroAction& action) {
    std::string line;
    line.reserve(24 + action.nameId.size());
    for (unsigned v : {unsigned{action.delayLow}, unsigned{action.delayHigh}, unsigned{action.type},
                       unsigned{action.code}, unsigned{action.pressed}}) {
        line += std::to_string(v);
        line += ',';
    }
    line += action.nameId;
    return line;
}

} // namespace zq::macros
