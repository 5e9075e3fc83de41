#pragma once
// Private-profile (INI) files: the program's configuration, profile index and macro files.
//
// Reads give the default when the file, section or key is missing, and every result (the default too)
// is cut to kProfileStringMaxChars characters, as through the 260-character buffer the program always
// reads with. Characters are Unicode code points of the UTF-8 text; a cut never splits a sequence.
// Section and key names compare without regard to ASCII letter case; blanks around names and values are
// dropped when reading, and a default loses its trailing blanks (not its leading ones). A line ends at
// a line feed, a carriage return and line feed, or a carriage return alone. A write stores the value as
// given, blanks around it included; it creates the file, section or key as needed, replaces an existing
// value where it stands and keeps every other line in its order; it is atomic (temporary file, fsync,
// rename).
//
// Memory is bounded: a file of more than kMaxProfileFileBytes bytes or kMaxProfileFileLines lines is not
// read at all (reads give the default, writes to it fail and leave it as it is, a debug line says why).
// A file within both bounds costs at most its text twice plus 160 bytes a line while parsed, 12 MiB
// at the bounds (bench_ini_memory measures the worst shapes: 10.4 MiB), and the cache holds at most
// 16 MiB of such costs besides the file in use. The program's own files (index, macro and cursor-path
// files) are a few kilobytes.
//
// All access in the process goes through one lock. Parsed files are cached by path and checked against
// the file's inode, size and modification time on every call, so a file read key by key is parsed
// once, and a change made by another program is seen at the next call.
#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zq::platform {

inline constexpr std::size_t kProfileStringMaxChars = 259;
inline constexpr std::size_t kMaxProfileFileBytes = 1024 * 1024;
inline constexpr std::size_t kMaxProfileFileLines = 65536;

std::string readProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view defaultValue);

// The same look-up for many keys of one section, with one check of the file for all of them: the values
// in the order of the keys, each the default when its key is missing.
std::vector<std::string> readProfileStrings(const std::filesystem::path& file, std::string_view section,
                                            std::span<const std::string> keys, std::string_view defaultValue);

// False when the file could not be written (or is too large to be read), or when a name or the value
// cannot be stored in an INI line (a line break or NUL anywhere, ']' in the section, '=' in the key, an
// empty key).
bool writeProfileString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                        std::string_view value);

// Several keys of one file in one atomic replacement (a write costs a flush to disk, so a file of many
// keys written together is far quicker this way). Nothing is written when any entry is refused.
struct ProfileStringWrite {
    std::string_view section;
    std::string_view key;
    std::string_view value;
};
bool writeProfileStrings(const std::filesystem::path& file, std::span<const ProfileStringWrite> writes);

// The key names of a section in file order; empty when the file or section is missing.
std::vector<std::string> readProfileKeyNames(const std::filesystem::path& file, std::string_view section);

// Remove one key, or a whole section with its keys. True when the file no longer holds it.
bool deleteProfileKey(const std::filesystem::path& file, std::string_view section, std::string_view key);
bool deleteProfileSection(const std::filesystem::path& file, std::string_view section);

// Replace an INI file whole with these bytes, as they are (a copied file, an index rebuilt from
// scratch), under the same lock and in one atomic write.
bool replaceProfileFile(const std::filesystem::path& file, std::string_view bytes);

// Delete an INI file under the same lock (an index rewritten from scratch starts this way).
// True when no file is left at the path.
bool removeProfileFile(const std::filesystem::path& file);

} // namespace zq::platform
