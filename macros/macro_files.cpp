#include "macros/macro_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include <unistd.h>

#include "macros/cursor_path.h"
#include "platform/data_folders.h"
#include "platform/debug.h"
#include "platform/ini_document.h"
#include "platform/private_profile.h"
#include "platform/utf8.h"

namespace zq::macros {

namespace fs = std::filesystem;
using platform::ProfileStringWrite;

namespace {

constexpr std::string_view kMissing = "0";

// A count as the files store it, bounded by the keys the counted section really holds.
std::size_t boundedCount(const fs::path& file, std::string_view countSection,
                         std::string_view countedSection) {
    const std::int32_t stated =
        parseDecimal(platform::readProfileString(file, countSection, kKeyCount, kMissing));
    if (stated <= 0) return 0;
    const std::size_t present = platform::readProfileKeyNames(file, countedSection).size();
    return std::min(static_cast<std::size_t>(stated), present);
}

std::vector<std::string> readCountedValues(const fs::path& file, std::string_view countSection,
                                           std::string_view valueSection) {
    const std::size_t n = boundedCount(file, countSection, valueSection);
    std::vector<std::string> keys;
    keys.reserve(n);
    for (std::size_t i = 0; i < n; ++i) keys.push_back(std::to_string(i));
    return platform::readProfileStrings(file, valueSection, keys, kMissing);
}

} // namespace

std::string_view macroIndexFileName(MacroFamily family) {
    return family == MacroFamily::Mouse ? kMouseMacroIndexFile : kKeyboardMacroIndexFile;
}

fs::path macroIndexPath(const fs::path& folder, MacroFamily family) {
    return platform::resolveCaseInsensitive(folder, macroIndexFileName(family));
}

bool isUsableMacroName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

std::optional<fs::path> macroFilePath(const fs::path& folder, std::string_view name) {
    if (!isUsableMacroName(name)) return std::nullopt;
    std::string fileName(name);
    fileName += kMacroFileExtension;
    return platform::resolveCaseInsensitive(folder, fileName);
}

bool isStorableMacroName(std::string_view name) {
    if (!isUsableMacroName(name) || name.size() > kMaxMacroNameBytes) return false;
    if (platform::trimBlanks(name).size() != name.size()) return false;
    return platform::isValidIniValue(name) && platform::isValidUtf8(name);
}

MacroRename renameMacroFile(const fs::path& folder, std::string_view oldName, std::string_view newName) {
    if (!isStorableMacroName(newName)) return MacroRename::BadName;
    const auto from = macroFilePath(folder, oldName);
    const auto to = macroFilePath(folder, newName);
    if (!to) return MacroRename::BadName;
    std::error_code ec;
    if (fs::exists(*to, ec) || fs::is_symlink(*to, ec)) return MacroRename::TargetExists;
    if (!from || !fs::exists(*from, ec)) return MacroRename::NoFile;
    // A hard link refuses an existing target atomically, where a rename would replace it; file systems
    // without hard links get the plain rename after the check above.
    if (::link(from->c_str(), to->c_str()) == 0) {
        if (::unlink(from->c_str()) != 0) {
            ::unlink(to->c_str());
            return MacroRename::Failed;
        }
    } else if (errno == EEXIST) {
        return MacroRename::TargetExists;
    } else if (::rename(from->c_str(), to->c_str()) != 0) {
        return MacroRename::Failed;
    }
    // The INI module sees the change by the file's identity at its next read.
    return MacroRename::Renamed;
}

bool deleteMacroFile(const fs::path& folder, std::string_view name) {
    const auto file = macroFilePath(folder, name);
    return !file || platform::removeProfileFile(*file);
}

bool writeMacroIndexEntry(const fs::path& folder, MacroFamily family, std::size_t count, std::size_t index,
                          std::string_view name) {
    const std::string countText = std::to_string(count);
    const std::string key = std::to_string(index);
    const ProfileStringWrite writes[] = {{kSectionMacroCount, kKeyCount, countText},
                                         {kSectionMacroName, key, name}};
    return platform::writeProfileStrings(macroIndexPath(folder, family), writes);
}

std::vector<std::string> readMacroIndex(const fs::path& folder, MacroFamily family) {
    return readCountedValues(macroIndexPath(folder, family), kSectionMacroCount, kSectionMacroName);
}

bool writeMacroCount(const fs::path& folder, MacroFamily family, std::size_t count) {
    return platform::writeProfileString(macroIndexPath(folder, family), kSectionMacroCount, kKeyCount,
                                        std::to_string(count));
}

bool writeMacroName(const fs::path& folder, MacroFamily family, std::size_t index, std::string_view name) {
    return platform::writeProfileString(macroIndexPath(folder, family), kSectionMacroName,
                                        std::to_string(index), name);
}

bool rewriteMacroIndex(const fs::path& folder, MacroFamily family, std::span<const std::string> names) {
    platform::IniDocument doc;
    doc.set(kSectionMacroCount, kKeyCount, std::to_string(names.size()));
    if (family == MacroFamily::Mouse) {
        doc.set(kSectionCursorCount, kKeyCount, std::to_string(kCursorPathSlots));
        for (std::size_t g = 0; g < kCursorPathSlots; ++g)
            doc.set(kSectionCursorName, std::to_string(g), kCursorPathNames[g]);
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string_view name = platform::trimBlanks(names[i]);
        if (!platform::isValidIniValue(name)) {
            platform::debugString("macro index not rewritten: a name cannot be stored");
            return false;
        }
        doc.set(kSectionMacroName, std::to_string(i), name);
    }
    // The old index is replaced in one rename instead of being deleted first.
    return platform::replaceProfileFile(macroIndexPath(folder, family), doc.serialize());
}

std::size_t readMacroActionCount(const fs::path& file) {
    return boundedCount(file, kSectionActionCount, kSectionAction);
}

std::vector<std::string> readMacroLines(const fs::path& file) {
    return readCountedValues(file, kSectionActionCount, kSectionAction);
}

std::vector<MacroAction> readMacroActions(const fs::path& file) {
    std::vector<MacroAction> actions;
    for (const std::string& line : readMacroLines(file)) actions.push_back(parseActionLine(line));
    return actions;
}

bool writeMacroFile(const fs::path& file, std::span<const std::string> lines,
                    std::optional<std::string_view> selectName) {
    // Keys are numbers, so their texts must outlive the write list.
    std::vector<std::string> keys;
    keys.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) keys.push_back(std::to_string(i));
    const std::string count = std::to_string(lines.size());

    std::vector<ProfileStringWrite> writes;
    writes.reserve(lines.size() + 2);
    writes.push_back({kSectionActionCount, kKeyCount, count});
    if (selectName) writes.push_back({kSectionSelectName, kKeyName, *selectName});
    for (std::size_t i = 0; i < lines.size(); ++i) writes.push_back({kSectionAction, keys[i], lines[i]});
    return platform::writeProfileStrings(file, writes);
}

bool writeMacroFile(const fs::path& file, std::span<const MacroAction> actions,
                    std::optional<std::string_view> selectName) {
    std::vector<std::string> lines;
    lines.reserve(actions.size());
    for (const MacroAction& a : actions) lines.push_back(formatActionLine(a));
    return writeMacroFile(file, lines, selectName);
}

std::vector<std::vector<MacroAction>> readFamilyMacros(const fs::path& folder, MacroFamily family) {
    std::vector<std::vector<MacroAction>> macros;
    for (const std::string& name : readMacroIndex(folder, family)) {
        const auto file = macroFilePath(folder, name);
        macros.push_back(file ? readMacroActions(*file) : std::vector<MacroAction>{});
    }
    return macros;
}

} // namespace zq::macros
