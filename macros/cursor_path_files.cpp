#include "macros/cursor_path_files.h"

#include <fstream>
#include <iterator>

#include "macros/macro_files.h"
#include "platform/data_folders.h"
#include "platform/private_profile.h"

namespace zq::macros {

namespace fs = std::filesystem;

namespace {

constexpr std::array<StepPart, 3> kStepParts{StepPart::Pause, StepPart::MoveX, StepPart::MoveY};

// Copies a file with an atomic write at the target, so a reset never leaves half a path behind; the
// target is an INI file, so the write goes through the INI module's lock.
bool copyFileReplacing(const fs::path& from, const fs::path& to) {
    std::ifstream in(from, std::ios::binary);
    if (!in) return false;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return false;
    return platform::replaceProfileFile(to, bytes);
}

std::vector<std::string> readNames(const fs::path& index) {
    const std::int32_t stated =
        parseDecimal(platform::readProfileString(index, kSectionCursorCount, kKeyCount, "0"));
    if (stated <= 0) return {};
    const std::size_t n = std::min(static_cast<std::size_t>(stated),
                                   platform::readProfileKeyNames(index, kSectionCursorName).size());
    std::vector<std::string> names;
    for (std::size_t i = 0; i < n; ++i)
        names.push_back(platform::readProfileString(index, kSectionCursorName, std::to_string(i), "0"));
    return names;
}

} // namespace

std::string cursorPathFileName(std::size_t slot) {
    std::string name(slot < kCursorPathSlots ? kCursorPathNames[slot] : std::string_view{});
    return name + std::string(kCursorPathExtension);
}

std::vector<std::string> readCursorPathNames(const fs::path& mouseFolder) {
    return readNames(macroIndexPath(mouseFolder, MacroFamily::Mouse));
}

std::vector<std::optional<fs::path>> cursorPathFiles(const fs::path& mouseFolder) {
    std::vector<std::optional<fs::path>> files;
    for (const std::string& name : readCursorPathNames(mouseFolder)) {
        if (!isUsableMacroName(name)) {
            files.emplace_back();
            continue;
        }
        files.emplace_back(
            platform::resolveCaseInsensitive(mouseFolder, name + std::string(kCursorPathExtension)));
    }
    return files;
}

std::optional<fs::path> cursorPathFile(const fs::path& mouseFolder, std::size_t slot) {
    auto files = cursorPathFiles(mouseFolder);
    if (slot >= files.size()) return std::nullopt;
    return files[slot];
}

bool writeCursorPathFile(const fs::path& file, std::span<const MacroAction> actions) {
    if (actions.size() > kCursorPathMaxActions) return false;
    return writeMacroFile(file, actions);
}

std::vector<MacroAction> readCursorPathFile(const fs::path& file) {
    return readMacroActions(file);
}

std::optional<CursorStep> loadCursorStep(const fs::path& file, std::size_t step) {
    if (step >= kCursorPathSteps) return std::nullopt;
    std::array<MacroAction, 3> a;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const std::string key = std::to_string(stepActionIndex(step, kStepParts[i]));
        a[i] = parseActionLine(platform::readProfileString(file, kSectionAction, key, "0"));
    }
    return cursorStepFrom(a[0], a[1], a[2]);
}

bool saveCursorStep(const fs::path& file, std::size_t step, const CursorStep& values) {
    if (step >= kCursorPathSteps) return false;
    std::array<std::string, 3> keys;
    std::array<MacroAction, 3> a;
    for (std::size_t i = 0; i < a.size(); ++i) {
        keys[i] = std::to_string(stepActionIndex(step, kStepParts[i]));
        a[i] = parseActionLine(platform::readProfileString(file, kSectionAction, keys[i], "0"));
    }
    applyCursorStep(values, a[0], a[1], a[2]);
    std::array<std::string, 3> lines;
    std::array<platform::ProfileStringWrite, 3> writes;
    for (std::size_t i = 0; i < a.size(); ++i) {
        lines[i] = formatActionLine(a[i]);
        writes[i] = {kSectionAction, keys[i], lines[i]};
    }
    return platform::writeProfileStrings(file, writes);
}

bool isImportableCursorPath(const fs::path& file) {
    const std::int32_t stated =
        parseDecimal(platform::readProfileString(file, kSectionActionCount, kKeyCount, "0"));
    return stated <= static_cast<std::int32_t>(kCursorPathMaxActions);
}

bool ensureCursorPaths(const fs::path& mouseFolder, const fs::path& defaultsFolder) {
    const fs::path index = macroIndexPath(mouseFolder, MacroFamily::Mouse);
    if (parseDecimal(platform::readProfileString(index, kSectionCursorCount, kKeyCount, "0")) != 0)
        return true;

    // The files first: an index that named paths whose files never arrived would keep every later start
    // from copying them, so CURSORCOUNT is written only once all four are there.
    bool copied = true;
    std::error_code ec;
    for (std::size_t g = 0; g < kCursorPathSlots; ++g) {
        const std::string name = cursorPathFileName(g);
        const fs::path target = platform::resolveCaseInsensitive(mouseFolder, name);
        if (fs::exists(target, ec)) continue;
        copied = copyFileReplacing(platform::resolveCaseInsensitive(defaultsFolder, name), target) && copied;
    }
    if (!copied) return false;

    std::vector<std::string> keys;
    for (std::size_t g = 0; g < kCursorPathSlots; ++g) keys.push_back(std::to_string(g));
    const std::string count = std::to_string(kCursorPathSlots);
    std::vector<platform::ProfileStringWrite> writes{{kSectionCursorCount, kKeyCount, count}};
    for (std::size_t g = 0; g < kCursorPathSlots; ++g)
        writes.push_back({kSectionCursorName, keys[g], kCursorPathNames[g]});
    return platform::writeProfileStrings(index, writes);
}

bool resetCursorPath(const fs::path& mouseFolder, const fs::path& defaultsFolder, std::size_t slot) {
    if (slot >= kCursorPathSlots) return false;
    const std::string name = cursorPathFileName(slot);
    return copyFileReplacing(platform::resolveCaseInsensitive(defaultsFolder, name),
                             platform::resolveCaseInsensitive(mouseFolder, name));
}

} // namespace zq::macros
