#pragma once
// The macro files of a family: the index file ("msMacro.ini" in the mouse folder, "kbMacro.ini" in the
// keyboard folder) that names the macros in macro-number order, and one file per macro (the name plus
// ".mac") holding its action lines. Cursor-path files (".cur") use the macro file format as well.
//
//   index:  [MACROCOUNT] count=n   [MACRONAME] 0=… n-1=…   (mouse only:) [CURSORCOUNT] count=4
//           [CURSORNAME] 0=name_1 … 3=name_4
//   macro:  [MACROACTIONCOUNT] count=m   (mouse only:) [MACROSELECTNAME] name=…   [MACROACTION] 0=… m-1=…
//
// Reads are bounded by what the file holds: a count is taken as at most the number of keys present in
// the section it counts, so a hostile count costs nothing beyond the keys that are actually there. Keys
// missing within that bound read as "0", as they always have (a line "0" parses as an empty action).
// Every write of a whole file (a macro file, the rewritten index) is one atomic replacement.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "macros/macro_action.h"

namespace zq::macros {

enum class MacroFamily { Mouse, Keyboard };

inline constexpr std::string_view kMouseMacroIndexFile = "msMacro.ini";
inline constexpr std::string_view kKeyboardMacroIndexFile = "kbMacro.ini";
inline constexpr std::string_view kMacroFileExtension = ".mac";

inline constexpr std::string_view kSectionMacroCount = "MACROCOUNT";
inline constexpr std::string_view kSectionMacroName = "MACRONAME";
inline constexpr std::string_view kSectionCursorCount = "CURSORCOUNT";
inline constexpr std::string_view kSectionCursorName = "CURSORNAME";
inline constexpr std::string_view kSectionActionCount = "MACROACTIONCOUNT";
inline constexpr std::string_view kSectionSelectName = "MACROSELECTNAME";
inline constexpr std::string_view kSectionAction = "MACROACTION";
inline constexpr std::string_view kKeyCount = "count";
inline constexpr std::string_view kKeyName = "name";

// At most this many macros are added per family (a longer index edited by hand is still read whole).
inline constexpr std::size_t kMaxMacrosPerFamily = 50;

std::string_view macroIndexFileName(MacroFamily family);
// The index file in folder, matched without regard to case ("KbMacro.ini" is "kbMacro.ini").
std::filesystem::path macroIndexPath(const std::filesystem::path& folder, MacroFamily family);

// A macro name becomes a file name: a name that is empty, holds '/' or a NUL, or is "." or "..", would
// leave the folder or name no file, and gives no path. Readers treat such a macro as having no file.
bool isUsableMacroName(std::string_view name);
std::optional<std::filesystem::path> macroFilePath(const std::filesystem::path& folder,
                                                   std::string_view name);

// A name the macro page accepts for a new or renamed macro: a usable file name with its ".mac" within
// the 255 bytes a file name may have, no blanks around it (reads drop them), no line break, and short
// enough to read back whole through the 259-character reads.
inline constexpr std::size_t kMaxMacroNameBytes = 200;
bool isStorableMacroName(std::string_view name);

// Renames a macro's file for a new macro name. Nothing is replaced: a file of the new name (in any letter
// case) makes the rename fail and leaves both files as they were. A macro that has no file yet has
// nothing to rename (NoFile).
enum class MacroRename { Renamed, NoFile, TargetExists, BadName, Failed };
MacroRename renameMacroFile(const std::filesystem::path& folder, std::string_view oldName,
                            std::string_view newName);

// Deletes a macro's file; true when no file of that name is left.
bool deleteMacroFile(const std::filesystem::path& folder, std::string_view name);

// The macro names in macro-number order; no index file or no MACROCOUNT gives none.
std::vector<std::string> readMacroIndex(const std::filesystem::path& folder, MacroFamily family);

// The single-key writes of the macro page: MACROCOUNT count, and MACRONAME index.
bool writeMacroCount(const std::filesystem::path& folder, MacroFamily family, std::size_t count);
bool writeMacroName(const std::filesystem::path& folder, MacroFamily family, std::size_t index,
                    std::string_view name);
// Both at once, in one atomic write, so the count never names a macro the index does not hold.
bool writeMacroIndexEntry(const std::filesystem::path& folder, MacroFamily family, std::size_t count,
                          std::size_t index, std::string_view name);

// Replaces the index with one listing these names (used when a macro is deleted): MACROCOUNT, then for
// the mouse CURSORCOUNT = 4 and CURSORNAME 0-3 = name_1 … name_4, then MACRONAME 0 … n-1. The old file is
// replaced in one step, so the list is never lost half way.
bool rewriteMacroIndex(const std::filesystem::path& folder, MacroFamily family,
                       std::span<const std::string> names);

// A macro or cursor-path file, by path. A missing file has no actions.
std::size_t readMacroActionCount(const std::filesystem::path& file);
std::vector<std::string> readMacroLines(const std::filesystem::path& file);
std::vector<MacroAction> readMacroActions(const std::filesystem::path& file);

// Writes MACROACTIONCOUNT, MACROSELECTNAME (when selectName is given: the mouse family) and MACROACTION
// 0 … m-1 in one atomic write. Keys beyond m left from a longer version stay, as readers ignore them.
// False when the file could not be written or a line cannot be stored (a line break in it).
bool writeMacroFile(const std::filesystem::path& file, std::span<const std::string> lines,
                    std::optional<std::string_view> selectName = std::nullopt);
bool writeMacroFile(const std::filesystem::path& file, std::span<const MacroAction> actions,
                    std::optional<std::string_view> selectName = std::nullopt);

// The macros of a family as the transfer needs them: each macro's actions in macro-number order.
std::vector<std::vector<MacroAction>> readFamilyMacros(const std::filesystem::path& folder,
                                                       MacroFamily family);

} // namespace zq::macros
