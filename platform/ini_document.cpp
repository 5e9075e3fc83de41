#include "platform/ini_document.h"

#include "platform/utf8.h"

namespace zq::platform {

namespace {
constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool hasLineBreakOrNul(std::string_view s) {
    return s.find_first_of(std::string_view("\r\n\0", 3)) != s.npos;
}
} // namespace

IniDocument::Line IniDocument::parseLine(std::string_view raw) {
    Line line;
    line.text = std::string(raw);
    const std::string_view t = trimBlanks(raw);
    if (t.empty() || t.front() == ';') return line;
    if (t.front() == '[') {
        const auto close = t.find(']');
        line.kind = Kind::Section;
        line.name = std::string(trimBlanks(t.substr(1, close == t.npos ? t.npos : close - 1)));
        return line;
    }
    const auto eq = t.find('=');
    if (eq == t.npos) return line;
    const std::string_view key = trimBlanks(t.substr(0, eq));
    if (key.empty()) return line;
    line.kind = Kind::Key;
    line.name = std::string(key);
    line.value = std::string(trimBlanks(t.substr(eq + 1)));
    return line;
}

IniDocument IniDocument::parse(std::string_view text) {
    IniDocument doc;
    if (text.starts_with(kBom)) {
        doc.bom_ = true;
        text.remove_prefix(kBom.size());
    }
    const auto firstNl = text.find('\n');
    if (firstNl != text.npos && firstNl > 0 && text[firstNl - 1] == '\r') doc.eol_ = "\r\n";
    while (!text.empty()) {
        const auto nl = text.find('\n');
        std::string_view raw = text.substr(0, nl);
        text.remove_prefix(nl == text.npos ? text.size() : nl + 1);
        if (raw.ends_with('\r')) raw.remove_suffix(1);
        doc.lines_.push_back(parseLine(raw));
    }
    doc.reindex();
    return doc;
}

std::string IniDocument::serialize() const {
    std::string out;
    if (bom_) out += kBom;
    for (const auto& l : lines_) {
        out += l.text;
        out += eol_;
    }
    return out;
}

void IniDocument::reindex() {
    sections_.clear();
    SectionIndex* current = nullptr;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& l = lines_[i];
        if (l.kind == Kind::Section) {
            if (current) current->end = i;
            auto [it, fresh] = sections_.try_emplace(asciiLower(l.name));
            // A repeated section is never looked at: the first one with that name wins.
            current = fresh ? &it->second : nullptr;
            if (current) current->header = i;
        } else if (l.kind == Kind::Key && current) {
            current->keys.try_emplace(asciiLower(l.name), i);
        }
    }
    if (current) current->end = lines_.size();
}

const IniDocument::SectionIndex* IniDocument::findSection(std::string_view section) const {
    const auto it = sections_.find(asciiLower(section));
    return it == sections_.end() ? nullptr : &it->second;
}

const std::string* IniDocument::find(std::string_view section, std::string_view key) const {
    const SectionIndex* s = findSection(section);
    if (!s) return nullptr;
    const auto it = s->keys.find(asciiLower(key));
    return it == s->keys.end() ? nullptr : &lines_[it->second].value;
}

std::vector<std::string> IniDocument::keyNames(std::string_view section) const {
    std::vector<std::string> names;
    const SectionIndex* s = findSection(section);
    if (!s) return names;
    for (std::size_t i = s->header + 1; i < s->end; ++i)
        if (lines_[i].kind == Kind::Key) names.push_back(lines_[i].name);
    return names;
}

bool IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    const SectionIndex* s = findSection(section);
    if (s) {
        const auto it = s->keys.find(asciiLower(key));
        if (it != s->keys.end()) {
            Line& l = lines_[it->second];
            if (l.value == value) return false;
            // Keep the spelling of the key as it stands in the file.
            l.text = l.name + "=" + std::string(value);
            l.value = std::string(value);
            return true;
        }
        // A new key goes after the last non-blank line of its section.
        std::size_t at = s->end;
        while (at > s->header + 1 && trimBlanks(lines_[at - 1].text).empty()) --at;
        Line l = parseLine(std::string(key) + "=" + std::string(value));
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(l));
    } else {
        lines_.push_back(parseLine("[" + std::string(section) + "]"));
        lines_.push_back(parseLine(std::string(key) + "=" + std::string(value)));
    }
    reindex();
    return true;
}

bool IniDocument::removeKey(std::string_view section, std::string_view key) {
    const SectionIndex* s = findSection(section);
    if (!s) return false;
    const auto it = s->keys.find(asciiLower(key));
    if (it == s->keys.end()) return false;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(it->second));
    reindex();
    return true;
}

bool IniDocument::removeSection(std::string_view section) {
    const SectionIndex* s = findSection(section);
    if (!s) return false;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(s->header),
                 lines_.begin() + static_cast<std::ptrdiff_t>(s->end));
    reindex();
    return true;
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
