// The folders' dependency rules, checked on the sources themselves: the cores never include Qt or the
// toolkit facade, and no folder includes from a folder above it. A wrong include fails here, not in review.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Folder → the folders its sources may include from (its own always allowed). Longest prefix wins,
// so "settings/pages" has rules of its own apart from "settings".
const std::map<std::string, std::set<std::string>> kAllowed{
    {"platform", {}},
    {"device/hid", {"platform"}},
    {"device", {"platform", "device/hid"}},
    {"sim", {"platform", "device/hid", "device"}},
    {"settings", {"platform", "device/hid", "device"}},
    {"lighting", {"platform", "device/hid", "device", "settings"}},
    {"profiles", {"platform", "device/hid", "device", "settings"}},
    {"macros", {"platform", "device/hid", "device", "settings", "profiles"}},
    {"defaults", {"platform", "settings", "profiles", "macros"}},
    {"ui", {"platform"}},
    {"settings/pages", {"platform", "device/hid", "device", "settings", "ui"}},
    {"profiles/pages", {"platform", "device/hid", "device", "settings", "settings/pages", "profiles", "ui"}},
    {"macros/pages",
     {"platform", "device/hid", "device", "settings", "settings/pages", "profiles", "profiles/pages",
      "macros", "ui"}},
};

// The folders that build without Qt.
const std::set<std::string> kQtFree{"platform", "device/hid", "device", "sim",     "settings",
                                    "lighting", "profiles",   "macros", "defaults"};

// The folder an include or a source belongs to: the longest rule key that prefixes it.
std::string folderOf(const std::string& path) {
    std::string best;
    for (const auto& [folder, allowed] : kAllowed)
        if (path.rfind(folder + "/", 0) == 0 && folder.size() > best.size()) best = folder;
    return best;
}

struct Violation {
    std::string file;
    std::string include;
};

std::vector<Violation> violations() {
    const fs::path root(ZQ_SOURCE_DIR);
    static const std::regex quoted(R"(^\s*#\s*include\s*"([^"]+)\")");
    static const std::regex angled(R"(^\s*#\s*include\s*<(Q[A-Za-z]+|Qt[A-Za-z]*/[^>]+)>)");
    std::vector<Violation> out;
    for (const auto& [folder, allowed] : kAllowed) {
        if (!fs::exists(root / folder)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
            const auto ext = entry.path().extension();
            if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
            const std::string rel = fs::relative(entry.path(), root).generic_string();
            const std::string own = folderOf(rel);
            if (own != folder) continue; // a deeper folder with rules of its own
            std::ifstream in(entry.path());
            std::string line;
            while (std::getline(in, line)) {
                std::smatch m;
                if (std::regex_search(line, m, angled) && kQtFree.count(own)) out.push_back({rel, m[1]});
                if (!std::regex_search(line, m, quoted)) continue;
                const std::string target = folderOf(m[1]);
                if (target.empty() || target == own) continue;
                if (!allowed.count(target)) out.push_back({rel, m[1]});
            }
        }
    }
    return out;
}

TEST(IncludeRules, NoCoreIncludesQtAndNoFolderIncludesUpward) {
    const auto found = violations();
    for (const auto& v : found) ADD_FAILURE() << v.file << " includes " << v.include;
    EXPECT_TRUE(found.empty());
}

TEST(IncludeRules, TheRulesSeeTheTree) {
    // A moved source folder would make the check above pass on nothing.
    const fs::path root(ZQ_SOURCE_DIR);
    for (const char* folder : {"platform", "device", "settings", "lighting", "profiles", "macros", "ui",
                               "settings/pages", "profiles/pages", "macros/pages"})
        EXPECT_TRUE(fs::is_directory(root / folder)) << folder;
    EXPECT_EQ(folderOf("settings/pages/mouse_page.cpp"), "settings/pages");
    EXPECT_EQ(folderOf("settings/colour.h"), "settings");
    EXPECT_EQ(folderOf("device/hid/raw_node.h"), "device/hid");
}

} // namespace
