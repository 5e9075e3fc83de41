// zq70-defaults FOLDER: writes the default profile and recoil-path files into FOLDER. The build runs it
// to fill the application folder; packagers can run it into any staging folder.
#include "defaults/default_files.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argc > 0 ? argv[0] : "zq70-defaults");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const auto failed = zq::defaults::writeDefaultFiles(folder);
    for (const auto& name : failed)
        std::fprintf(stderr, "zq70-defaults: cannot write %s\n", (folder / name).string().c_str());
    return failed.empty() ? 0 : 1;
}
