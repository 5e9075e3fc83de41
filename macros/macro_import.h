#pragma once
// What the macro and cursor-path pages take in from the user's own files, and how they hand files out.
// An import is checked before anything changes: a file that is not a macro file, or that states more
// actions than the list it goes into may hold, is refused whole, so a bad file never replaces a good one.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace zq::macros {

// Macros imported on the macro pages hold at most as many actions as a cursor path.
inline constexpr std::size_t kMaxImportedMacroActions = 180;

struct ImportCheck {
    enum class Verdict {
        Accepted,
        Unreadable,     // the file cannot be opened or read
        NotMacroFile,   // no action count, a count that is no number, binary data, or too large a file
        TooManyActions, // the count is above the limit
    };
    Verdict verdict = Verdict::Unreadable;
    std::size_t actions = 0; // the stated count when accepted
    std::string bytes;       // the file as read, for the copy: what was checked is what is stored
};

// Reads and checks a file chosen for import. An empty file is what the export of a macro that was never
// saved gives: accepted as a macro without actions when `acceptEmpty`.
ImportCheck checkImportFile(const std::filesystem::path& file, std::size_t maxActions, bool acceptEmpty);

// The bytes of a stored macro or path file for an export: a missing file gives an empty text, a file
// that exists but cannot be read gives nullopt.
std::optional<std::string> readExportBytes(const std::filesystem::path& file);

// Writes the bytes to the chosen path in one atomic replacement. False when it could not be written.
bool writeExportFile(const std::filesystem::path& target, const std::string& bytes);

} // namespace zq::macros
