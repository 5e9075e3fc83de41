#include "defaults/default_files.h"
#include "defaults/factory_settings.h"
#include "macros/cursor_path.h"
#include "macros/cursor_path_files.h"
#include "profiles/profile_category.h"
#include "profiles/profile_file.h"
#include "settings/default_key_tables.h"
#include "settings/dpi_step_table.h"
#include "settings/keyboard_keys.h"
#include "settings/keyboard_lighting_payload.h"
#include "settings/mouse_settings_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace zq::defaults {
namespace {

namespace fs = std::filesystem;

// All default files written once into a fresh folder.
class DefaultFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string templ = (fs::temp_directory_path() / "zq-defaults-XXXXXX").string();
        ASSERT_NE(::mkdtemp(templ.data()), nullptr);
        folder_ = templ;
        ASSERT_TRUE(writeDefaultFiles(folder_).empty());
    }
    static void TearDownTestSuite() { fs::remove_all(folder_); }

    static std::vector<std::uint8_t> read(std::string_view name, std::size_t payloadSize) {
        std::vector<std::uint8_t> payload(payloadSize);
        EXPECT_EQ(profiles::readProfileFile(folder_ / name, payload), profiles::ProfileReadResult::Ok)
            << name;
        EXPECT_EQ(fs::file_size(folder_ / name), profiles::kProfileHeaderSize + payloadSize) << name;
        return payload;
    }
    static settings::MouseSettingsRecord mouseRecordAt(const std::vector<std::uint8_t>& payload,
                                                       std::size_t at) {
        settings::MouseSettingsRecord r;
        std::copy_n(payload.begin() + static_cast<std::ptrdiff_t>(at), r.bytes.size(), r.bytes.begin());
        return r;
    }

    static inline fs::path folder_;
};

TEST_F(DefaultFiles, EveryFileIsWritten) {
    for (auto name : kDefaultFileNames) EXPECT_TRUE(fs::is_regular_file(folder_ / name)) << name;
}

TEST_F(DefaultFiles, ProfileFilesHaveTheirCategorySizeAndDeviceType) {
    for (const auto& category : profiles::kProfileCategories) {
        for (auto name : category.defaults) {
            if (name.empty()) continue;
            read(name, category.payloadSize);
            std::ifstream in(folder_ / name, std::ios::binary);
            std::array<char, 6> head{};
            in.read(head.data(), head.size());
            EXPECT_EQ(static_cast<std::uint8_t>(head[4]), static_cast<std::uint8_t>(category.deviceType))
                << name;
        }
    }
}

TEST_F(DefaultFiles, MouseDeviceDefaultsCarryTheirSlotAndKeyTable) {
    const std::string_view names[] = {"msdevicedefault.config", "msdevicedefault1.config",
                                      "msdevicedefault2.config"};
    for (std::uint8_t slot = 0; slot < 3; ++slot) {
        const auto payload = read(names[slot], profiles::kMouseDevicePayloadSize);
        EXPECT_TRUE(std::equal(payload.begin(), payload.begin() + 512,
                               settings::kDefaultKeyTables[slot].bytes.begin()))
            << int(slot);
        const auto record = mouseRecordAt(payload, 512);
        EXPECT_EQ(record.slot(), slot);
        const int dpis[] = {800, 1600, 2400, 3200, 6200};
        std::set<std::uint32_t> colours;
        for (std::size_t level = 0; level < 5; ++level) {
            EXPECT_EQ(settings::dpiOfIndex(settings::sliderIndexOfCode(record.dpiCode(level))), dpis[level]);
            colours.insert(settings::toArgb(record.dpiColour(level)));
        }
        EXPECT_EQ(colours.size(), 5u);
        EXPECT_EQ(record.lightMode(), 0);
        EXPECT_TRUE(record.sevenColour());
        EXPECT_EQ(record.brightness(), 4);
        EXPECT_EQ(record.pointerSpeed(), 10);
        EXPECT_EQ(record.wheelLines(), 3);
    }
}

TEST_F(DefaultFiles, LightingAndKeyDefaults) {
    const auto led = read("msdengdefault.led", profiles::kMouseLightingPayloadSize);
    EXPECT_EQ(mouseRecordAt(led, 0).slot(), 0);
    EXPECT_EQ(mouseRecordAt(led, 0).dpiCode(4), 140);

    const auto keys = read("mskeydefault.pro", profiles::kKeyTablePayloadSize);
    EXPECT_TRUE(std::equal(keys.begin(), keys.end(), settings::kDefaultKeyTables[0].bytes.begin()));

    const auto kbKeys = read("kbkeydefault.pro", profiles::kKeyTablePayloadSize);
    EXPECT_TRUE(std::equal(kbKeys.begin(), kbKeys.end(), settings::kKeyboardDefaultKeyTable.bytes.begin()));

    settings::KeyboardLightingPayload kb;
    const auto kbLed = read("kbdengdefault.led", profiles::kKeyboardLightingPayloadSize);
    std::copy(kbLed.begin(), kbLed.end(), kb.bytes.begin());
    EXPECT_TRUE(kb.record().lighting().sevenColour());
    EXPECT_EQ(kb.record().lighting().brightness(), 4);
    EXPECT_EQ(kb.selectedCustomMap(), 0u);
    EXPECT_NE(kb.customColour(0, 0), kb.customColour(0, 10)); // a rainbow, not one colour
    EXPECT_EQ(kb.customColour(2, 50), (settings::Rgb{255, 0, 0}));

    const auto kbDevice = read("kbdevicedefault.config", profiles::kKeyboardDevicePayloadSize);
    EXPECT_TRUE(std::equal(kbDevice.begin(), kbDevice.begin() + 512, kbKeys.begin()));
    EXPECT_TRUE(std::equal(kbDevice.begin() + 512, kbDevice.end(), kbLed.begin()));

    const auto pad = read("mpdengdefault.led", profiles::kPadLightingPayloadSize);
    EXPECT_EQ(pad[0], 0); // slot
    EXPECT_EQ((std::array{pad[1], pad[2], pad[5]}),
              (std::array<std::uint8_t, 3>{0, 4, 1})); // wave, full, cycling
}

TEST_F(DefaultFiles, RecoilPathsFillTheStepLayoutWithFourPatterns) {
    std::set<std::string> patterns; // as text: GCC 12 at -O3 misreads the comparison of byte vectors
    for (std::size_t slot = 0; slot < 4; ++slot) {
        const auto actions = macros::readCursorPathFile(folder_ / macros::cursorPathFileName(slot));
        ASSERT_EQ(actions.size(), 180u) << slot;
        std::vector<std::uint8_t> shape;
        for (std::size_t b = 0; b < macros::kCursorPathSteps; ++b) {
            const auto& pause = actions[macros::stepActionIndex(b, macros::StepPart::Pause)];
            const auto& x = actions[macros::stepActionIndex(b, macros::StepPart::MoveX)];
            const auto& y = actions[macros::stepActionIndex(b, macros::StepPart::MoveY)];
            EXPECT_TRUE(x.hasKind(macros::ActionKind::MoveX)) << slot << "/" << b;
            EXPECT_TRUE(y.hasKind(macros::ActionKind::MoveY)) << slot << "/" << b;
            EXPECT_GT(pause.delay(), 0) << slot << "/" << b;
            EXPECT_GT(y.code, 0) << slot << "/" << b; // every step pulls down
            EXPECT_FALSE(y.pressBit());
            const auto step = macros::cursorStepFrom(pause, x, y);
            shape.insert(shape.end(), {step.x.distance, std::uint8_t(step.x.negative), step.y.distance,
                                       std::uint8_t(pause.delay())});
        }
        // Actions outside the steps move nothing and wait for nothing.
        for (std::size_t i : {0u, 1u, 2u, 6u, 7u, 8u, 176u}) {
            EXPECT_TRUE(actions[i].isMove()) << i;
            EXPECT_EQ(actions[i].code, 0) << i;
            EXPECT_EQ(actions[i].delay(), 0) << i;
        }
        patterns.emplace(shape.begin(), shape.end());
    }
    EXPECT_EQ(patterns.size(), 4u);
}

} // namespace
} // namespace zq::defaults
