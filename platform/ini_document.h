#pragma once
// The text of a private-profile (INI) file as a list of lines, with the look-ups and edits that the
// private-profile functions make: sections and keys matched without regard to case (first one wins),
// blanks around names and values dropped, a changed key rewritten where it stands and every other
// line kept as it was, in its order.
//
// A line ends at a line feed, a carriage return and line feed, or a carriage return alone. A rewrite
// ends every line the way the file's first line ended (a line feed when the file has a single line).
//
// Memory: the lines' text once, plus a fixed amount for each line and each distinct section and key
// (about 150 bytes at most); names and values are views into the line, never copies of their own.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zq::platform {

class IniDocument {
public:
    static IniDocument parse(std::string_view text);
    std::string serialize() const;

    // The value of key in section (blanks around it dropped), or nothing when either is missing. The
    // view lives until the document is next changed.
    std::optional<std::string_view> find(std::string_view section, std::string_view key) const;
    // Names of the keys of the first matching section, in file order (duplicates included).
    std::vector<std::string> keyNames(std::string_view section) const;

    // Creates the section or key as needed. Names must already be trimmed; the value is written as
    // given, blanks around it included (a read drops them again). None may hold a line break (see
    // isValidIniKey). False when nothing changed: the key's line already holds this value after its
    // '=', or the value has no blanks around it and the line reads as it (" k = 1 " stays for "1").
    bool set(std::string_view section, std::string_view key, std::string_view value);
    bool removeKey(std::string_view section, std::string_view key);
    // Removes the section header and every line up to the next section.
    bool removeSection(std::string_view section);

    bool empty() const { return lines_.empty(); }
    std::size_t lineCount() const { return lines_.size(); }

private:
    enum class Kind : std::uint8_t { Other, Section, Key };
    struct Line {
        std::string text;
        Kind kind = Kind::Other;
        // The name (section or key) and a key's value, trimmed, as places in text.
        std::uint32_t nameAt = 0, nameSize = 0, valueAt = 0, valueSize = 0;
        std::string_view name() const { return std::string_view(text).substr(nameAt, nameSize); }
        std::string_view value() const { return std::string_view(text).substr(valueAt, valueSize); }
        // Everything after the '=' of a key line, as it stands.
        std::string_view rawValue() const;
    };
    struct Section {
        std::uint32_t header = 0;
        std::uint32_t end = 0; // one past the last line of the section
    };

    static Line parseLine(std::string text);
    void reindex();
    // Files the line at index i (a key of section id, or a section header) in the index.
    void indexKey(std::uint32_t sectionId, std::uint32_t i);
    std::optional<std::uint32_t> findSection(std::string_view section) const;
    std::optional<std::uint32_t> findKey(std::uint32_t sectionId, std::string_view key) const;
    static std::string keyIndexName(std::uint32_t sectionId, std::string_view key);

    std::vector<Line> lines_;
    std::string eol_ = "\n";
    bool bom_ = false;
    // Only the first section of a name and the first key of a name in it are indexed: later ones are
    // never looked at.
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::uint32_t> sectionIds_; // lower-case name → sections_ index
    std::unordered_map<std::string, std::uint32_t> keys_;       // keyIndexName → line index
};

// The number of lines of the text as IniDocument::parse splits it (a final line without a line break
// counts), so a caller can refuse a text before it costs the memory of its lines.
std::size_t countIniLines(std::string_view text);

// A section name may not hold ']' and a key may not hold '=' or start with '[' or ';'; neither may be
// empty (a section may) nor hold a line break or NUL. Values may hold anything but line breaks and NUL.
bool isValidIniSection(std::string_view section);
bool isValidIniKey(std::string_view key);
bool isValidIniValue(std::string_view value);

} // namespace zq::platform
