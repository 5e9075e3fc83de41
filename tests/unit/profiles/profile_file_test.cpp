#include "platform/debug.h"
#include "profiles/profile_file.h"
#include "unit/platform/temp_folder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
using namespace zq::profiles;
using zq::test::TempFolder;

std::string bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list) s.push_back(static_cast<char>(b));
    return s;
}

std::string header(int type = 2) {
    return bytes({0xAA, 0x55, 0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
}

struct ReadCase {
    const char* what;
    std::string content; // "-" for no file
    ProfileReadResult result;
    std::vector<std::uint8_t> firstBytes;
};

class ProfileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, ChecksMagicAndZeroFills) {
    const ReadCase& c = GetParam();
    TempFolder dir;
    if (c.content != "-") dir.write("p.config", c.content);
    std::vector<std::uint8_t> payload(576, 0xEE); // dirty on purpose: the reader clears it
    EXPECT_EQ(readProfileFile(dir / "p.config", payload), c.result) << c.what;
    for (std::size_t i = 0; i < payload.size(); ++i) {
        const std::uint8_t want = i < c.firstBytes.size() ? c.firstBytes[i] : 0;
        ASSERT_EQ(payload[i], want) << c.what << " at " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileRead,
    ::testing::Values(
        ReadCase{"no file", "-", ProfileReadResult::Missing, {}},
        ReadCase{"20 bytes: 4 payload bytes then zeros",
                 header() + bytes({1, 2, 3, 4}),
                 ProfileReadResult::Ok,
                 {1, 2, 3, 4}},
        ReadCase{"big-endian magic",
                 bytes({0x55, 0xAA}) + header().substr(2) + "\x01",
                 ProfileReadResult::BadMagic,
                 {}},
        ReadCase{"empty file", "", ProfileReadResult::BadMagic, {}},
        ReadCase{"one byte", bytes({0xAA}), ProfileReadResult::BadMagic, {}},
        ReadCase{"magic only", bytes({0xAA, 0x55}), ProfileReadResult::Ok, {}},
        ReadCase{"keyboard type read as mouse", header(1) + bytes({9}), ProfileReadResult::Ok, {9}},
        ReadCase{"longer file: only the payload size is read", header() + std::string(576, '\x07') + "tail",
                 ProfileReadResult::Ok, std::vector<std::uint8_t>(576, 7)}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(ProfileFile, WritesHeaderAndPayloadAndRoundTrips) {
    TempFolder dir;
    std::vector<std::uint8_t> payload(64);
    for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>(i * 3);
    ASSERT_TRUE(writeProfileFile(dir / "p.led", DeviceType::Pad, payload));
    const std::string file = dir.read("p.led");
    ASSERT_EQ(file.size(), 16u + 64u);
    EXPECT_EQ(file.substr(0, 16), header(3));
    std::vector<std::uint8_t> back(64);
    EXPECT_EQ(readProfileFile(dir / "p.led", back), ProfileReadResult::Ok);
    EXPECT_EQ(back, payload);
}

TEST(ProfileFile, MatchesFileNamesWithoutRegardToCase) {
    TempFolder dir;
    dir.write("KbKeyDefault.PRO", header(1) + bytes({5}));
    std::vector<std::uint8_t> payload(512);
    EXPECT_EQ(readProfileFile(dir / "kbkeydefault.pro", payload), ProfileReadResult::Ok);
    EXPECT_EQ(payload[0], 5);
    ASSERT_TRUE(writeProfileFile(dir / "kbkeydefault.pro", DeviceType::Keyboard, payload));
    EXPECT_FALSE(std::filesystem::exists(dir / "kbkeydefault.pro")); // the existing file was rewritten
    EXPECT_EQ(dir.read("KbKeyDefault.PRO").size(), 16u + 512u);
}

TEST(ProfileFile, UncreatableFileIsReportedOnTheDebugChannel) {
    TempFolder dir;
    zq::platform::clearDebugLines();
    std::vector<std::uint8_t> payload(64);
    EXPECT_FALSE(writeProfileFile(dir / "missing-folder" / "p.led", DeviceType::Mouse, payload));
    EXPECT_TRUE(zq::platform::debugContains("文件打开失败"));
}

} // namespace
