#pragma once
// The soak's check of a data folder after the program has worked on it for a while: every profile,
// index, macro and cursor-path file reads through the program's own readers and holds together, and no
// write was left half done. Each fault is one line naming the file and what is wrong with it.
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace zq::tools {

struct DataFolderCheck {
    std::size_t profiles = 0;    // .config, .led, .pro
    std::size_t indexes = 0;     // msProfile.ini, kbProfile.ini, mpProfile.ini, msMacro.ini, kbMacro.ini
    std::size_t macros = 0;      // .mac
    std::size_t cursorPaths = 0; // .cur
    std::size_t otherIni = 0;    // main.ini and any other INI text
    std::vector<std::string> faults;
};

// dataFolder is what ZQ70_DATA_DIR names: the folder holding ms/, kb/ and mp/.
DataFolderCheck checkDataFolder(const std::filesystem::path& dataFolder);

// The command line: zq70-soak-check DATA_FOLDER. Prints the counts, or the faults; exit 0 when none,
// 1 with faults, 2 on a usage error.
int runSoakCheck(const std::vector<std::string>& args, std::string& out, std::string& err);

} // namespace zq::tools
