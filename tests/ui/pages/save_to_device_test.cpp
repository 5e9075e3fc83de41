// The save button of the mouse and keyboard pages on the emulator: the macro block built from the stored
// macro files, the device's memory limit, and the key block that follows the macros.
#include "device/frame.h"
#include "macros/macro_files.h"
#include "page_fixture.h"
#include "shell/save_to_device.h"

#include <algorithm>
#include <string>
#include <vector>

namespace zq::test {
namespace {

using device::DeviceClass;
using macros::MacroFamily;
namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const char* const kPressA = "120,0,138,4,1,keyboard_key_A";
const char* const kReleaseA = "0,0,10,4,0,keyboard_key_A";
const char* const kLeftPress = "50,0,129,1,1,mouse_key_left";

constexpr std::size_t kMacroMemoryByte = 6; // device information: macro memory in 128-byte units

class SaveToDeviceTest : public PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        save = std::make_unique<shell::SaveToDevice>(*window, *sync);
    }
    void TearDown() override { save.reset(); }

    void seed(MacroFamily f, const std::vector<std::pair<std::string, Lines>>& macros) {
        const fs::path folder = dataFolder() / (f == MacroFamily::Mouse ? "ms" : "kb");
        fs::create_directories(folder);
        std::vector<std::string> names;
        for (const auto& [name, lines] : macros) {
            names.push_back(name);
            ASSERT_TRUE(macros::writeMacroFile(folder / (name + ".mac"), lines));
        }
        ASSERT_TRUE(macros::rewriteMacroIndex(folder, f, names));
        macroPages().start();
    }
    // Presses the page's save button and waits until the transfer has ended.
    void saveToDevice(DeviceClass d) {
        page().click(d == DeviceClass::Mouse ? "ms_key_butt_prosave" : "kb_key_butt_prosave");
        ASSERT_TRUE(eventually([&] {
            QCoreApplication::processEvents();
            return !save->running();
        }));
        settle();
    }
    // The commands the device received, by id, in order.
    std::vector<std::uint8_t> commands(DeviceClass d) {
        std::vector<std::uint8_t> out;
        for (const auto& c : device(d).takeCommandLog()) out.push_back(c.command);
        return out;
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& r : messages.shown()) out.push_back(r.text);
        return out;
    }

    std::unique_ptr<shell::SaveToDevice> save;
};

TEST_F(SaveToDeviceTest, TheStoredMacrosReachTheMacroAreaAndTheKeyBlockFollows) {
    seed(MacroFamily::Mouse, {{"m0", {kPressA, kReleaseA}}, {"m1", {kLeftPress}}});
    device(DeviceClass::Mouse).takeCommandLog();
    saveToDevice(DeviceClass::Mouse);

    const std::vector<std::uint8_t> expected{
        0xAA, 0x55, 0x28, 0x00, 0x02, 0x00, 0,    0,    0,    0,    0,    0,    0, 0, 0, 0, // header
        0x14, 0x00, 0x20, 0x00,                                                             // offsets
        0x02, 0x00, 0,    0,    0x78, 0x00, 0x8A, 0x04, 0x00, 0x00, 0x0A, 0x04,             // macro 0
        0x01, 0x00, 0,    0,    0x32, 0x00, 0x81, 0x01};                                    // macro 1
    const std::vector<std::uint8_t> area = device(DeviceClass::Mouse).macroArea();
    ASSERT_GE(area.size(), expected.size());
    EXPECT_EQ(std::vector<std::uint8_t>(area.begin(), area.begin() + 40), expected);

    // One macro frame (40 bytes fit one chunk), then the key block; the cursor paths went first.
    const auto log = commands(DeviceClass::Mouse);
    const auto macro = std::find(log.begin(), log.end(), device::cmd::kWriteMacroBlock);
    ASSERT_NE(macro, log.end());
    EXPECT_EQ(std::count(log.begin(), log.end(), device::cmd::kWriteMacroBlock), 1);
    EXPECT_NE(std::find(log.begin(), macro, device::cmd::kWriteCursorPathBlock), macro);
    EXPECT_NE(std::find(macro, log.end(), device::cmd::kWriteKeyBlockPage), log.end());
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(SaveToDeviceTest, AFullMemoryIsAcceptedAndOneActionMoreIsRefusedWithTheCount) {
    // One 128-byte unit: 16 + 6 × 2 + 4 × 25 = 128 exactly.
    state.mouse.info[kMacroMemoryByte] = 1;
    seed(MacroFamily::Mouse, {{"a", Lines(12, kPressA)}, {"b", Lines(13, kReleaseA)}});
    device(DeviceClass::Mouse).takeCommandLog();
    saveToDevice(DeviceClass::Mouse);
    EXPECT_TRUE(messages.shown().empty()) << texts().front();
    EXPECT_EQ(device(DeviceClass::Mouse).macroArea()[2], 128);
    EXPECT_TRUE(save->lastOutcome().completed);
    EXPECT_EQ(save->lastOutcome().message, "");

    // 132 bytes: k = ((132 − 128) >> 2) + 1 = 2; nothing goes out, not even the key block.
    seed(MacroFamily::Mouse, {{"a", Lines(13, kPressA)}, {"b", Lines(13, kReleaseA)}});
    device(DeviceClass::Mouse).takeCommandLog();
    saveToDevice(DeviceClass::Mouse);
    ASSERT_EQ(messages.shown().size(), 1u);
    const std::string said = messages.shown().front().text;
    EXPECT_NE(said.find('2'), std::string::npos) << said;
    // What the command line reports: not done, with the window's message.
    EXPECT_FALSE(save->lastOutcome().completed);
    EXPECT_EQ(save->lastOutcome().message, said);
    const auto log = commands(DeviceClass::Mouse);
    for (std::uint8_t written : {device::cmd::kWriteMacroBlock, device::cmd::kWriteKeyBlockPage})
        EXPECT_EQ(std::count(log.begin(), log.end(), written), 0) << int(written);
}

TEST_F(SaveToDeviceTest, TheKeyboardSendsItsMacrosAndItsKeyPageAtTheLinksBlockLength) {
    seed(MacroFamily::Keyboard, {{"k", {kPressA, kReleaseA}}});
    device(DeviceClass::Keyboard).takeCommandLog();
    saveToDevice(DeviceClass::Keyboard);
    const auto area = device(DeviceClass::Keyboard).macroArea();
    ASSERT_GE(area.size(), 4u);
    EXPECT_EQ(area[0], 0xAA);
    EXPECT_EQ(area[2], 16 + 6 + 8);
    const auto log = commands(DeviceClass::Keyboard);
    EXPECT_EQ(std::count(log.begin(), log.end(), device::cmd::kWriteCursorPathBlock), 0);
    EXPECT_GE(std::count(log.begin(), log.end(), device::cmd::kWriteKeyBlockPage), 1);
    EXPECT_TRUE(messages.shown().empty());
}

} // namespace
} // namespace zq::test
