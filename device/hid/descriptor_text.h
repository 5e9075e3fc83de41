#pragma once
// Reading a report descriptor that a user hands us: either the raw bytes or hex text as tools print it
// ("05 01 09 02", "0x05, 0x01", one byte per line, or plain runs like "05010902").
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zq::hid {

struct DescriptorBytes {
    std::vector<std::uint8_t> bytes;
    bool wasText = false;
    std::string error; // set when hex text could not be read
    bool ok() const { return error.empty(); }
};

// Hex text: bytes separated by spaces, tabs, commas or newlines, each with an optional 0x prefix.
// A token without prefix may hold several bytes written together (an even number of digits).
DescriptorBytes parseHexText(std::string_view text);

// Decides between hex text and binary: content made only of hex digits, "x"/"X", commas and white
// space is text (when it holds a digit, or no "x" at all); anything else is taken as the raw bytes. A
// real descriptor starts with a non-printable item prefix, so its bytes never pass for text.
DescriptorBytes readDescriptorContent(std::string_view content);

} // namespace zq::hid
