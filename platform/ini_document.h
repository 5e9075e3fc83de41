#pragma once
// The text of a private-profile (INI) file as a list of lines, with the look-ups and edits that the
// private-profile functions make: sections and keys matched without regard to case (first one wins),
// blanks around names and values dropped, a changed key rewritten where it stands and every other
// line kept as it was, in its order.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zq::platform {

class IniDocument {
public:
    static IniDocument parse(std::string_view text);
    std::string serialize() const;

    // The value of key in section, or nullptr when either is missing.
    const std::string* find(std::string_view section, std::string_view key) const;
    // Names of the keys of the first matching section, in file order (duplicates included).
    std::vector<std::string> keyNames(std::string_view section) const;

    // Creates the section or key as needed; false when the value was already there unchanged.
    // Names and value must already be trimmed and free of line breaks (see isValidIniName).
    bool set(std::string_view section, std::string_view key, std::string_view value);
    bool removeKey(std::string_view section, std::string_view key);
    // Removes the section header and every line up to the next section.
    bool removeSection(std::string_view section);

    bool empty() const { return lines_.empty(); }

private:
    enum class Kind { Other, Section, Key };
    struct Line {
        std::string text;
        Kind kind = Kind::Other;
        std::string name;  // section or key name, trimmed
        std::string value; // key value, trimmed
    };
    struct SectionIndex {
        std::size_t header = 0;
        std::size_t end = 0; // one past the last line of the section
        std::unordered_map<std::string, std::size_t> keys;
    };

    static Line parseLine(std::string_view raw);
    void reindex();
    const SectionIndex* findSection(std::string_view section) const;

    std::vector<Line> lines_;
    std::string eol_ = "\n";
    bool bom_ = false;
    std::unordered_map<std::string, SectionIndex> sections_;
};

// A section name may not hold ']' and a key may not hold '=' or start with '[' or ';'; neither may be
// empty (a section may) nor hold a line break or NUL. Values may hold anything but line breaks and NUL.
bool isValidIniSection(std::string_view section);
bool isValidIniKey(std::string_view key);
bool isValidIniValue(std::string_view value);

} // namespace zq::platform
