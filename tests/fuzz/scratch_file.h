#pragma once
// Puts a fuzz input into a file of its own for readers that take a path: in memory where /dev/shm
// exists, under a new name each run (no truncation of a file just read, which some file systems answer
// with a flush to disk), removed again when the run ends.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace zq::fuzz {

class ScratchFile {
public:
    ScratchFile(std::string_view extension, const std::uint8_t* data, std::size_t size) {
        static std::uint64_t serial = 0;
        static const std::filesystem::path folder = std::filesystem::is_directory("/dev/shm")
                                                        ? std::filesystem::path("/dev/shm")
                                                        : std::filesystem::temp_directory_path();
        path_ = folder / ("zq70-fuzz-" + std::to_string(::getpid()) + "-" + std::to_string(serial++) +
                          std::string(extension));
        std::ofstream out(path_, std::ios::binary);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!out) std::abort();
    }
    ~ScratchFile() { ::unlink(path_.c_str()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace zq::fuzz
