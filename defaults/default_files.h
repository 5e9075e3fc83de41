#pragma once
// The default files that come with the program: the profiles new profiles start from and the four
// default recoil paths, written into the application folder.
#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zq::defaults {

inline constexpr std::array<std::string_view, 13> kDefaultFileNames{
    "msdevicedefault.config",
    "msdevicedefault1.config",
    "msdevicedefault2.config",
    "msdengdefault.led",
    "mskeydefault.pro",
    "kbdevicedefault.config",
    "kbdengdefault.led",
    "kbkeydefault.pro",
    "mpdengdefault.led",
    "name_1.cur",
    "name_2.cur",
    "name_3.cur",
    "name_4.cur",
};

// Writes every default file into `folder` (created when missing), each atomically. Returns the names of
// the files that could not be written; empty on success.
std::vector<std::string> writeDefaultFiles(const std::filesystem::path& folder);

} // namespace zq::defaults
