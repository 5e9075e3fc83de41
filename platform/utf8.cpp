#include "platform/utf8.h"

namespace zq::platform {

std::size_t utf8SequenceLength(std::string_view text) {
    if (text.empty()) return 0;
    const auto b0 = static_cast<unsigned char>(text[0]);
    if (b0 < 0x80) return 1;
    std::size_t len = 0;
    char32_t cp = 0;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (text.size() < len) return 0;
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMinForLength[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMinForLength[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

bool isValidUtf8(std::string_view text) {
    while (!text.empty()) {
        const std::size_t n = utf8SequenceLength(text);
        if (n == 0) return false;
        text.remove_prefix(n);
    }
    return true;
}

std::string_view cutToCharacters(std::string_view text, std::size_t maxChars) {
    std::size_t pos = 0;
    for (std::size_t chars = 0; chars < maxChars && pos < text.size(); ++chars) {
        const std::size_t n = utf8SequenceLength(text.substr(pos));
        pos += n == 0 ? 1 : n;
    }
    return text.substr(0, pos);
}

namespace {
char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = lowerAscii(c);
    return out;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

} // namespace zq::platform
