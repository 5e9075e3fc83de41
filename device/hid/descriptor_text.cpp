#include "device/hid/descriptor_text.h"

#include <cctype>

namespace zq::hid {
namespace {

bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

DescriptorBytes parseHexText(std::string_view text) {
    DescriptorBytes out;
    out.wasText = true;
    std::size_t line = 1;
    std::size_t i = 0;
    while (i < text.size()) {
        if (isSeparator(text[i])) {
            if (text[i] == '\n') ++line;
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && !isSeparator(text[end])) ++end;
        const std::string_view token = text.substr(i, end - i);
        i = end;
        const bool prefixed = token.size() > 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X');
        const std::string_view digits = prefixed ? token.substr(2) : token;
        bool good = !digits.empty();
        for (char c : digits) good = good && hexValue(c) >= 0;
        // "0x5" is one byte; a prefixed token of more than two digits would be a wider number, which
        // a byte list cannot hold; bare runs must pair up into whole bytes.
        if (good && prefixed)
            good = digits.size() <= 2;
        else if (good && digits.size() > 2)
            good = digits.size() % 2 == 0;
        if (!good) {
            out.bytes.clear();
            out.error = "line " + std::to_string(line) + ": \"" + std::string(token.substr(0, 32)) +
                        "\" is not a hex byte";
            return out;
        }
        if (digits.size() <= 2) {
            int v = 0;
            for (char c : digits) v = v * 16 + hexValue(c);
            out.bytes.push_back(static_cast<std::uint8_t>(v));
        } else {
            for (std::size_t k = 0; k < digits.size(); k += 2)
                out.bytes.push_back(
                    static_cast<std::uint8_t>(hexValue(digits[k]) * 16 + hexValue(digits[k + 1])));
        }
    }
    return out;
}

DescriptorBytes readDescriptorContent(std::string_view content) {
    bool anyDigit = false;
    bool anyX = false;
    bool textual = true;
    for (char c : content) {
        if (std::isxdigit(static_cast<unsigned char>(c)))
            anyDigit = true;
        else if (c == 'x' || c == 'X')
            anyX = true;
        else if (!isSeparator(c))
            textual = false;
        if (!textual) break;
    }
    // Nothing but white space and commas is an empty text file, not three bytes of descriptor.
    if (textual && (anyDigit || !anyX)) return parseHexText(content);
    DescriptorBytes out;
    out.bytes.assign(content.begin(), content.end());
    return out;
}

} // namespace zq::hid
