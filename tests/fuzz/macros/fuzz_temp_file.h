#pragma once
// A private folder for the fuzz targets that read files: the input goes to a file there, and the
// reader under test is pointed at it.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include <fstream>

#include "platform/private_profile.h"

namespace zq::fuzz {

// Removed with what is left in it when the run ends (libFuzzer runs end through exit as well).
inline const std::filesystem::path& fuzzFolder() {
    struct Folder {
        std::filesystem::path path;
        ~Folder() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const Folder folder{[] {
        std::string templ = (std::filesystem::temp_directory_path() / "zq70-fuzz-XXXXXX").string();
        if (::mkdtemp(templ.data()) == nullptr) std::abort();
        return std::filesystem::path(templ);
    }()};
    return folder.path;
}

// Writes the input under a name of its own for each run (the INI module caches by path, and an
// overwritten file of the same size within one timestamp tick would look unchanged), without the
// fsync of an atomic write that would make 20000 runs take minutes. Remove it with dropFile.
inline std::filesystem::path putFile(std::string_view extension, const std::uint8_t* data, std::size_t size) {
    static std::uint64_t serial = 0;
    const std::filesystem::path file =
        fuzzFolder() / ("in" + std::to_string(serial++) + std::string(extension));
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out) std::abort();
    return file;
}

inline void dropFile(const std::filesystem::path& file) {
    (void)platform::removeProfileFile(file);
}

inline std::size_t countLines(const std::uint8_t* data, std::size_t size) {
    std::size_t lines = 1;
    for (std::size_t i = 0; i < size; ++i) lines += (data[i] == '\n' || data[i] == '\r') ? 1 : 0;
    return lines;
}

} // namespace zq::fuzz
