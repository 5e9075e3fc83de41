#include "platform/ini_document.h"

#include "platform/utf8.h"

#include <cstring>
#include <limits>

namespace zq::platform {

namespace {
constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kLineBreaks = "\r\n";

bool hasLineBreakOrNul(std::string_view s) {
    return s.find_first_of(std::string_view("\r\n\0", 3)) != s.npos;
}

// Where the line break at text[at] ends: "\r\n" is one break, a lone '\r' or '\n' another.
std::size_t breakLength(std::string_view text, std::size_t at) {
    return text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
}

std::string keyLine(std::string_view key, std::string_view value) {
    std::string text;
    text.reserve(key.size() + 1 + value.size());
    text.append(key);
    text.push_back('=');
    text.append(value);
    return text;
}
} // namespace

std::string_view IniDocument::Line::rawValue() const {
    const std::string_view t(text);
    const auto eq = t.find('=', nameAt + nameSize);
    return eq == t.npos ? std::string_view() : t.substr(eq + 1);
}

IniDocument::Line IniDocument::parseLine(std::string text) {
    Line line;
    line.text = std::move(text);
    const std::string_view raw(line.text);
    // Offsets are 32-bit; no line of a file this program reads comes near that.
    if (raw.size() > std::numeric_limits<std::uint32_t>::max()) return line;
    const auto at = [&](std::string_view part) {
        return static_cast<std::uint32_t>(part.data() - raw.data());
    };
    const auto size = [](std::string_view part) { return static_cast<std::uint32_t>(part.size()); };
    const std::string_view t = trimBlanks(raw);
    if (t.empty() || t.front() == ';') return line;
    if (t.front() == '[') {
        const auto close = t.find(']');
        const std::string_view name = trimBlanks(t.substr(1, close == t.npos ? t.npos : close - 1));
        line.kind = Kind::Section;
        line.nameAt = name.empty() ? 0 : at(name);
        line.nameSize = size(name);
        return line;
    }
    const auto eq = t.find('=');
    if (eq == t.npos) return line;
    const std::string_view key = trimBlanks(t.substr(0, eq));
    if (key.empty()) return line;
    const std::string_view value = trimBlanks(t.substr(eq + 1));
    line.kind = Kind::Key;
    line.nameAt = at(key);
    line.nameSize = size(key);
    line.valueAt = value.empty() ? at(t.substr(eq + 1)) : at(value);
    line.valueSize = size(value);
    return line;
}

IniDocument IniDocument::parse(std::string_view text) {
    IniDocument doc;
    if (text.starts_with(kBom)) {
        doc.bom_ = true;
        text.remove_prefix(kBom.size());
    }
    doc.lines_.reserve(countIniLines(text));
    bool eolKnown = false;
    while (!text.empty()) {
        const auto end = text.find_first_of(kLineBreaks);
        std::size_t next = text.size();
        if (end != text.npos) {
            const std::size_t length = breakLength(text, end);
            if (!eolKnown) doc.eol_ = std::string(text.substr(end, length));
            eolKnown = true;
            next = end + length;
        }
        doc.lines_.push_back(parseLine(std::string(text.substr(0, end))));
        text.remove_prefix(next);
    }
    doc.reindex();
    return doc;
}

std::string IniDocument::serialize() const {
    std::size_t size = bom_ ? kBom.size() : 0;
    for (const auto& l : lines_) size += l.text.size() + eol_.size();
    std::string out;
    out.reserve(size);
    if (bom_) out += kBom;
    for (const auto& l : lines_) {
        out += l.text;
        out += eol_;
    }
    return out;
}

std::string IniDocument::keyIndexName(std::uint32_t sectionId, std::string_view key) {
    std::string name(sizeof sectionId, '\0');
    std::memcpy(name.data(), &sectionId, sizeof sectionId);
    name += asciiLower(key);
    return name;
}

void IniDocument::indexKey(std::uint32_t sectionId, std::uint32_t i) {
    keys_.try_emplace(keyIndexName(sectionId, lines_[i].name()), i);
}

void IniDocument::reindex() {
    sections_.clear();
    sectionIds_.clear();
    keys_.clear();
    constexpr auto kNone = std::numeric_limits<std::uint32_t>::max();
    std::uint32_t current = kNone; // the section the lines belong to, when it is indexed
    const auto count = static_cast<std::uint32_t>(lines_.size());
    for (std::uint32_t i = 0; i < count; ++i) {
        const Line& l = lines_[i];
        if (l.kind == Kind::Section) {
            if (current != kNone) sections_[current].end = i;
            const auto id = static_cast<std::uint32_t>(sections_.size());
            // A repeated section is never looked at: the first one with that name wins.
            current = kNone;
            if (sectionIds_.try_emplace(asciiLower(l.name()), id).second) {
                sections_.push_back({i, count});
                current = id;
            }
        } else if (l.kind == Kind::Key && current != kNone) {
            indexKey(current, i);
        }
    }
}

std::optional<std::uint32_t> IniDocument::findSection(std::string_view section) const {
    const auto it = sectionIds_.find(asciiLower(section));
    if (it == sectionIds_.end()) return std::nullopt;
    return it->second;
}

std::optional<std::uint32_t> IniDocument::findKey(std::uint32_t sectionId, std::string_view key) const {
    const auto it = keys_.find(keyIndexName(sectionId, key));
    if (it == keys_.end()) return std::nullopt;
    return it->second;
}

std::optional<std::string_view> IniDocument::find(std::string_view section, std::string_view key) const {
    const auto s = findSection(section);
    if (!s) return std::nullopt;
    const auto k = findKey(*s, key);
    if (!k) return std::nullopt;
    return lines_[*k].value();
}

std::vector<std::string> IniDocument::keyNames(std::string_view section) const {
    std::vector<std::string> names;
    const auto s = findSection(section);
    if (!s) return names;
    const Section& sec = sections_[*s];
    for (std::size_t i = sec.header + 1; i < sec.end; ++i)
        if (lines_[i].kind == Kind::Key) names.emplace_back(lines_[i].name());
    return names;
}

bool IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    const auto s = findSection(section);
    if (!s) {
        // A new section goes at the end, and so changes nothing that is already indexed.
        const auto header = static_cast<std::uint32_t>(lines_.size());
        // Appended piece by piece: GCC 12 at -O3 takes "[" + std::string(...) for an overlapping copy.
        std::string text = "[";
        text += section;
        text += ']';
        lines_.push_back(parseLine(std::move(text)));
        lines_.push_back(parseLine(keyLine(key, value)));
        const auto id = static_cast<std::uint32_t>(sections_.size());
        if (sectionIds_.try_emplace(asciiLower(lines_[header].name()), id).second) {
            sections_.push_back({header, header + 2});
            indexKey(id, header + 1);
        }
        return true;
    }
    if (const auto k = findKey(*s, key)) {
        Line& l = lines_[*k];
        if (l.rawValue() == value || (l.value() == value && trimBlanks(value).size() == value.size()))
            return false;
        // Keep the spelling of the key as it stands in the file.
        l = parseLine(keyLine(l.name(), value));
        return true;
    }
    // A new key goes after the last non-blank line of its section.
    Section& sec = sections_[*s];
    std::size_t at = sec.end;
    while (at > sec.header + 1 && trimBlanks(lines_[at - 1].text).empty()) --at;
    const bool last = at == lines_.size();
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), parseLine(keyLine(key, value)));
    if (last) {
        // Appended to the last section (a file written key by key): nothing before it moved.
        sec.end = static_cast<std::uint32_t>(lines_.size());
        indexKey(*s, static_cast<std::uint32_t>(at));
    } else {
        reindex();
    }
    return true;
}

bool IniDocument::removeKey(std::string_view section, std::string_view key) {
    const auto s = findSection(section);
    if (!s) return false;
    const auto k = findKey(*s, key);
    if (!k) return false;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*k));
    reindex();
    return true;
}

bool IniDocument::removeSection(std::string_view section) {
    const auto s = findSection(section);
    if (!s) return false;
    const Section sec = sections_[*s];
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(sec.header),
                 lines_.begin() + static_cast<std::ptrdiff_t>(sec.end));
    reindex();
    return true;
}

std::size_t countIniLines(std::string_view text) {
    std::size_t lines = 0;
    std::size_t i = 0;
    for (auto end = text.find_first_of(kLineBreaks); end != text.npos;
         end = text.find_first_of(kLineBreaks, i)) {
        ++lines;
        i = end + breakLength(text, end);
    }
    return i < text.size() ? lines + 1 : lines;
}

bool isValidIniSection(std::string_view section) {
    return !hasLineBreakOrNul(section) && section.find(']') == section.npos;
}

bool isValidIniKey(std::string_view key) {
    return !key.empty() && !hasLineBreakOrNul(key) && key.find('=') == key.npos && key.front() != '[' &&
           key.front() != ';';
}

bool isValidIniValue(std::string_view value) {
    return !hasLineBreakOrNul(value);
}

} // namespace zq::platform
