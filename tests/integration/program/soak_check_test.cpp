// The soak's data-folder check: a folder written by the program's own writers passes, and each way a
// file can be left broken is found and names its file.
#include "macros/cursor_path_files.h"
#include "macros/macro_action.h"
#include "macros/macro_files.h"
#include "platform/private_profile.h"
#include "profiles/profile_category.h"
#include "profiles/profile_file.h"
#include "profiles/profile_index.h"
#include "tools/soak_check.h"
#include "unit/platform/temp_folder.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace zq::tools {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

// Every category with one profile "Default", a mouse macro with two actions, the four cursor paths.
void writeGoodFolder(const fs::path& data) {
    for (const auto& c : profiles::kProfileCategories) {
        const fs::path folder = data / std::string(platform::categoryFolderName(c.folder));
        fs::create_directories(folder);
        ASSERT_TRUE(profiles::ProfileIndex(c.category, folder / std::string(c.indexFile))
                        .writeFreshList({"Default"}));
        const std::vector<std::uint8_t> payload(c.payloadSize, 0x11);
        ASSERT_TRUE(profiles::writeProfileFile(folder / ("Default" + std::string(c.extension)), c.deviceType,
                                               payload));
    }
    const fs::path mouse = data / "ms";
    const std::vector<std::string> names{"m1"};
    ASSERT_TRUE(macros::rewriteMacroIndex(mouse, macros::MacroFamily::Mouse, names));
    const std::vector<std::string> lines{"120,0,138,4,1,keyboard_key_A", "0,0,10,4,0,keyboard_key_A"};
    ASSERT_TRUE(macros::writeMacroFile(mouse / "m1.mac", lines, "name_1"));
    for (std::size_t slot = 0; slot < 4; ++slot)
        ASSERT_TRUE(macros::writeCursorPathFile(mouse / macros::cursorPathFileName(slot),
                                                std::vector<macros::MacroAction>{}));
}

TEST(SoakCheck, AFolderTheProgramWroteReadsBack) {
    TempFolder data;
    writeGoodFolder(data.path());
    const DataFolderCheck r = checkDataFolder(data.path());
    EXPECT_TRUE(r.faults.empty()) << r.faults.front();
    EXPECT_EQ(r.profiles, profiles::kProfileCategoryCount);
    EXPECT_EQ(r.indexes, 4u) << "three profile indexes and the mouse's macro index";
    EXPECT_EQ(r.macros, 1u);
    EXPECT_EQ(r.cursorPaths, 4u);

    std::string out, err;
    EXPECT_EQ(runSoakCheck({data.path().string()}, out, err), 0) << err;
    EXPECT_NE(out.find("7 profile files"), std::string::npos) << out;
    EXPECT_EQ(runSoakCheck({}, out, err), 2);
    EXPECT_EQ(runSoakCheck({(data / "nothing").string()}, out, err), 1);
}

TEST(SoakCheck, EachBrokenFileIsNamed) {
    struct Case {
        const char* what;
        std::function<void(const TempFolder&)> breakIt;
        const char* file; // the start of the fault line
    };
    const std::vector<Case> cases{
        {"short profile", [](const TempFolder& d) { d.write("ms/Default.led", std::string(20, '\0')); },
         "ms/Default.led: has 20 bytes"},
        {"no magic", [](const TempFolder& d) { d.write("mp/Default.led", std::string(16 + 64, 'x')); },
         "mp/Default.led: has no profile header"},
        {"wrong device type",
         [](const TempFolder& d) {
             std::string bytes = d.read("kb/Default.pro");
             bytes[profiles::kHeaderDeviceTypeOffset] = 2;
             d.write("kb/Default.pro", bytes);
         },
         "kb/Default.pro: says device type 2"},
        {"listed file missing", [](const TempFolder& d) { fs::remove(d / "kb/Default.config"); },
         "kb/kbProfile.ini: PROFILEDEVICENAME 0 names Default.config"},
        {"selection outside the list",
         [](const TempFolder& d) {
             profiles::ProfileIndex(profiles::ProfileCategory::PadLighting, d / "mp/mpProfile.ini")
                 .setSelect(3);
         },
         "mp/mpProfile.ini: PROFILEDENGNAME selects 3 of 1"},
        {"count beyond the names",
         [](const TempFolder& d) {
             profiles::ProfileIndex(profiles::ProfileCategory::MouseKeys, d / "ms/msProfile.ini").setCount(2);
         },
         "ms/msProfile.ini: PROFILENAME count 2 with 1 names"},
        {"macro short of its count",
         [](const TempFolder& d) {
             platform::writeProfileString(d / "ms/m1.mac", "MACROACTIONCOUNT", "count", "3");
         },
         "ms/m1.mac: states 3 actions and lacks action 2"},
        {"cursor path without a count",
         [](const TempFolder& d) { d.write("ms/name_2.cur", "[MACROACTION]\n"); },
         "ms/name_2.cur: has no action count"},
        {"half-written file", [](const TempFolder& d) { d.write("kb/.zq70-77-0.tmp", "[PROFILE"); },
         "kb/.zq70-77-0.tmp: a temporary file left behind"},
        {"INI text that changes when written back",
         [](const TempFolder& d) { d.write("main.ini", "[LIGHTING]\r\nSKIPSAME=1\n\r\r\n"); },
         "main.ini: does not read back"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder data;
        writeGoodFolder(data.path());
        c.breakIt(data);
        const DataFolderCheck r = checkDataFolder(data.path());
        ASSERT_EQ(r.faults.size(), 1u) << (r.faults.empty() ? "no fault found" : r.faults.front());
        EXPECT_EQ(r.faults.front().rfind(c.file, 0), 0u) << r.faults.front();
    }
}

} // namespace
} // namespace zq::tools
