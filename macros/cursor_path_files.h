#pragma once
// The cursor-path files of the mouse: "name_1.cur" … "name_4.cur" in the mouse data folder, named by
// CURSORCOUNT/CURSORNAME of "msMacro.ini", in the macro file format. The program's own folder holds
// default files of the same names; they are copied in at start-up and on reset.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "macros/cursor_path.h"
#include "macros/macro_action.h"

namespace zq::macros {

// CURSORNAME 0 … CURSORCOUNT-1 of the mouse index, bounded like every count.
std::vector<std::string> readCursorPathNames(const std::filesystem::path& mouseFolder);
// The file of each named path (name + ".cur"); a name that is no usable file name gives nullopt.
std::vector<std::optional<std::filesystem::path>> cursorPathFiles(const std::filesystem::path& mouseFolder);
std::optional<std::filesystem::path> cursorPathFile(const std::filesystem::path& mouseFolder,
                                                    std::size_t slot);
// The fixed file name of a slot, "name_1.cur" … "name_4.cur", used by reset, import and export.
std::string cursorPathFileName(std::size_t slot);

// Whole files. The writer refuses more than 180 actions, the most a path may hold; the defaults
// generator and the tests write paths with it.
bool writeCursorPathFile(const std::filesystem::path& file, std::span<const MacroAction> actions);
std::vector<MacroAction> readCursorPathFile(const std::filesystem::path& file);

// One step of a path file. Loading reads actions 6b+3 … 6b+5 (missing ones as "0"); saving rewrites
// those three keys from the step (pause keeps all but its delay) in one atomic write and leaves the
// count and every other key alone. Steps outside 0-29 give nullopt / false.
std::optional<CursorStep> loadCursorStep(const std::filesystem::path& file, std::size_t step);
bool saveCursorStep(const std::filesystem::path& file, std::size_t step, const CursorStep& values);

// An imported path is taken when its file states at most 180 actions.
bool isImportableCursorPath(const std::filesystem::path& file);

// Start-up: when the mouse index has no CURSORCOUNT, write CURSORCOUNT = 4 and CURSORNAME 0-3 and copy
// each default file into the data folder unless a file of that name is there already. An index that
// has CURSORCOUNT is left as it is and nothing is copied. The index is written only after every file is
// in place, so a start whose copies failed is tried again at the next start. False when a write or copy
// failed.
bool ensureCursorPaths(const std::filesystem::path& mouseFolder, const std::filesystem::path& defaultsFolder);

// Reset: the slot's default file replaces the one in the data folder.
bool resetCursorPath(const std::filesystem::path& mouseFolder, const std::filesystem::path& defaultsFolder,
                     std::size_t slot);

} // namespace zq::macros
