// The arguments of the user commands: what each accepts, and that every refusal names the allowed values.
#include "shell/control/user_arguments.h"

#include <gtest/gtest.h>

namespace zq::control {
namespace {

struct Case {
    UserArgs args;
    std::string problem; // a part of the refusal; empty: accepted
};

void expectRefusal(const std::string& problem, const Case& c) {
    std::string shown;
    for (const auto& a : c.args) shown += "'" + a + "' ";
    if (c.problem.empty()) {
        EXPECT_EQ(problem, "") << shown;
    } else {
        EXPECT_NE(problem.find(c.problem), std::string::npos) << shown << "gave: " << problem;
    }
}

TEST(UserArguments, DpiTakesLevelsOneToFiveAndHundredsFrom200To6200) {
    const Case cases[] = {
        {{"3", "1500"}, ""},
        {{"1", "200"}, ""},
        {{"5", "6200"}, ""},
        {{"0", "800"}, "level is 1 to 5"},
        {{"6", "800"}, "level is 1 to 5"},
        {{"2", "6300"}, "200 to 6200 in steps of 100"},
        {{"2", "100"}, "200 to 6200 in steps of 100"},
        {{"2", "850"}, "200 to 6200 in steps of 100"},
        {{"2", "-800"}, "200 to 6200"},
        {{"2", "+800"}, "200 to 6200"},
        {{"2", "0x320"}, "200 to 6200"},
        {{"2", "800 "}, "200 to 6200"},
        {{"2"}, "usage: dpi LEVEL VALUE"},
        {{"2", "800", "3"}, "usage: dpi LEVEL VALUE"},
    };
    for (const Case& c : cases) {
        DpiRequest r;
        expectRefusal(parseDpi(c.args, r), c);
    }
    DpiRequest r;
    ASSERT_EQ(parseDpi({"3", "1500"}, r), "");
    EXPECT_EQ(r.level, 3);
    EXPECT_EQ(r.sliderPosition(), 13);
    ASSERT_EQ(parseDpi({"5", "6200"}, r), "");
    EXPECT_EQ(r.sliderPosition(), 60);
    ASSERT_EQ(parseDpi({"1", "200"}, r), "");
    EXPECT_EQ(r.sliderPosition(), 0);
}

TEST(UserArguments, SlotIsZeroToFive) {
    for (const Case& c : {Case{{"0"}, ""}, Case{{"5"}, ""}, Case{{"6"}, "0 to 5"}, Case{{"-1"}, "0 to 5"},
                          Case{{}, "0 to 5"}, Case{{"1", "2"}, "0 to 5"}}) {
        int slot = -1;
        expectRefusal(parseSlot(c.args, slot), c);
    }
}

TEST(UserArguments, LightingOptionsAndTheirRanges) {
    const Case cases[] = {
        {{"pad"}, ""},
        {{"keyboard", "--mode", "16"}, ""},
        {{"mouse", "--colour", "#a0B1c2", "--color", "000000"}, ""},
        {{"toaster"}, "mouse, pad or keyboard"},
        {{}, "usage: lighting"},
        {{"pad", "--mode", "-1"}, "--mode takes an effect number"},
        {{"pad", "--mode", "256"}, "--mode takes an effect number"},
        {{"pad", "--colour", "12345"}, "RRGGBB"},
        {{"pad", "--colour", "12345G"}, "RRGGBB"},
        {{"pad", "--colour", "1234567"}, "RRGGBB"},
        {{"pad", "--brightness", "5"}, "--brightness takes 0 to 4"},
        {{"pad", "--speed", "5"}, "--speed takes 0 to 4"},
        {{"pad", "--speed", "-0"}, "--speed takes 0 to 4"},
        {{"pad", "--direction", "up"}, "left or right"},
        {{"pad", "--cycle", "yes"}, "on or off"},
        {{"pad", "--speed"}, "--speed needs a value"},
        {{"pad", "--fast", "1"}, "unknown option --fast"},
        {{"pad", "2"}, "unknown option 2"},
    };
    for (const Case& c : cases) {
        LightingRequest r;
        expectRefusal(parseLighting(c.args, r), c);
    }

    LightingRequest r;
    ASSERT_EQ(parseLighting({"keyboard", "--mode", "8", "--colour", "FF8800", "--brightness", "0", "--speed",
                             "4", "--direction", "right", "--cycle", "on"},
                            r),
              "");
    EXPECT_EQ(r.device, device::DeviceClass::Keyboard);
    EXPECT_EQ(r.mode, 8);
    EXPECT_EQ(r.colour, 0xFF8800u);
    EXPECT_EQ(r.brightness, 0);
    EXPECT_EQ(r.speed, 4);
    EXPECT_EQ(r.left, false);
    EXPECT_EQ(r.cycle, true);
    // What is not asked for stays unset, so the page keeps it.
    ASSERT_EQ(parseLighting({"pad", "--direction", "left"}, r), "");
    EXPECT_EQ(r.device, device::DeviceClass::Pad);
    EXPECT_EQ(r.left, true);
    EXPECT_FALSE(r.mode || r.colour || r.brightness || r.speed || r.cycle);
}

TEST(UserArguments, ProfileActionsCategoriesAndFiles) {
    const Case cases[] = {
        {{"list"}, ""},
        {{"list", "mp_deng"}, ""},
        {{"select", "kb_key", "profile1"}, ""},
        {{"export", "ms_device", "0", "/tmp/a.config"}, ""},
        {{"import", "kb_deng", "/tmp/b.led"}, ""},
        {{"list", "ms_dev"}, "ms_device, ms_deng, ms_key, kb_device, kb_deng, kb_key or mp_deng"},
        {{"select", "MS_DEVICE", "0"}, "the category is"},
        {{"list", "ms_device", "x"}, "usage: profile"},
        {{"select", "ms_device"}, "usage: profile"},
        {{"export", "ms_device", "0"}, "usage: profile"},
        {{"import", "ms_device", "a", "b"}, "usage: profile"},
        {{"import", "ms_device", ""}, "file name is empty"},
        {{"rename", "ms_device", "0"}, "usage: profile"},
        {{}, "usage: profile"},
    };
    for (const Case& c : cases) {
        ProfileRequest r;
        expectRefusal(parseProfile(c.args, r), c);
    }
    ProfileRequest r;
    ASSERT_EQ(parseProfile({"export", "mp_deng", "Evening", "/tmp/e.led"}, r), "");
    EXPECT_EQ(r.action, ProfileRequest::Action::Export);
    EXPECT_EQ(r.category, profiles::ProfileCategory::PadLighting);
    EXPECT_EQ(r.profile, "Evening");
    EXPECT_EQ(r.file, "/tmp/e.led");
    ASSERT_EQ(parseProfile({"list"}, r), "");
    EXPECT_FALSE(r.category) << "every category";
}

TEST(UserArguments, AProfileIsNamedByItsPositionOrItsName) {
    const std::vector<std::string> names{"profile1", "Game", "7", "profile4"};
    EXPECT_EQ(profilePosition(names, "0"), 0);
    EXPECT_EQ(profilePosition(names, "3"), 3);
    EXPECT_EQ(profilePosition(names, "gAME"), 1);
    EXPECT_EQ(profilePosition(names, "7"), 2) << "past the list, a number is a name";
    EXPECT_EQ(profilePosition(names, "PROFILE4"), 3);
    EXPECT_EQ(profilePosition(names, "4"), std::nullopt);
    EXPECT_EQ(profilePosition(names, "Gam"), std::nullopt);
    EXPECT_EQ(profilePosition(names, ""), std::nullopt);
    EXPECT_EQ(profilePosition({}, "0"), std::nullopt);
}

} // namespace
} // namespace zq::control
