#include "device/hid/descriptor_text.h"
#include "device/hid/path_ids.h"
#include "sim/sim_backend.h"
#include "tools/hid_tool.h"
#include "unit/hid/boot_descriptors.h"
#include "unit/hid/fake_backend.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace zq::tools {
namespace {

namespace test = hid::test;

struct Run {
    int code;
    std::string out, err;
};

Run describe(const std::string& content) {
    std::ostringstream out, err;
    const int code = describeContent(content, "desc", out, err);
    return {code, out.str(), err.str()};
}

Run tool(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int code = runHidTool(args, out, err);
    return {code, out.str(), err.str()};
}

const std::string kMouseJson = "{\"collections\":[{\"usage_page\":1,\"usage\":2,\"report_ids\":[],"
                               "\"input_report_length\":4,\"output_report_length\":0,"
                               "\"feature_report_length\":0}]}\n";

TEST(HidToolDescribe, SameJsonForBinaryAndEveryHexSpelling) {
    const std::string binary(test::kBootMouse.begin(), test::kBootMouse.end());
    std::string spaced, commas, lines, runs;
    for (auto b : test::kBootMouse) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%02x", b);
        spaced += std::string(buf) + " ";
        commas += "0x" + std::string(buf) + ", ";
        lines += "0X" + std::string(buf) + "\r\n";
        runs += buf;
    }
    for (const std::string& content : {binary, spaced, commas, lines, runs, "\n" + spaced + "\n"}) {
        const auto r = describe(content);
        EXPECT_EQ(r.code, kExitOk) << r.err;
        EXPECT_EQ(r.out, kMouseJson);
    }
}

TEST(HidToolDescribe, CollectionsInOrderWithReportIds) {
    const auto r = describe(std::string(test::kVendorAndConsumer.begin(), test::kVendorAndConsumer.end()));
    ASSERT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(r.out, "{\"collections\":["
                     "{\"usage_page\":65280,\"usage\":1,\"report_ids\":[5],\"input_report_length\":2,"
                     "\"output_report_length\":63,\"feature_report_length\":0},"
                     "{\"usage_page\":12,\"usage\":1,\"report_ids\":[6],\"input_report_length\":5,"
                     "\"output_report_length\":0,\"feature_report_length\":0}]}\n");
}

TEST(HidToolDescribe, BadInputGoesToStderrWithExitOne) {
    const struct {
        const char* name;
        std::string content;
        const char* message;
    } cases[] = {
        {"malformed descriptor", "05 01 09 02 a1 01", "collection not closed"},
        {"truncated item", "05", "truncated item"},
        {"prefixed wide number", "0x0501 0x09", "is not a hex byte"},
        {"odd run of digits", "050", "is not a hex byte"},
        {"lonely x", "05 x 01", "is not a hex byte"},
        {"empty file", "", "no descriptor bytes"},
        {"only separators", " ,\n", "no descriptor bytes"},
    };
    for (const auto& c : cases) {
        const auto r = describe(c.content);
        EXPECT_EQ(r.code, kExitFailure) << c.name;
        EXPECT_TRUE(r.out.empty()) << c.name;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.name << ": " << r.err;
    }
}

TEST(HidToolDescribe, ReadsTheFileAndReportsAMissingOne) {
    const auto file =
        std::filesystem::temp_directory_path() / ("zq70-hid-describe-" + std::to_string(::getpid()));
    {
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(test::kBootMouse.data()), test::kBootMouse.size());
    }
    auto r = tool({"describe", file.string()});
    EXPECT_EQ(r.code, kExitOk);
    EXPECT_EQ(r.out, kMouseJson);
    std::filesystem::remove(file);
    r = tool({"describe", file.string()});
    EXPECT_EQ(r.code, kExitFailure);
    EXPECT_NE(r.err.find("cannot open"), std::string::npos);
}

TEST(HidToolCommandLine, UsageErrors) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"describe"}, {"describe", "a", "b"}, {"frobnicate"}, {"list", "--fast"}}) {
        const auto r = tool(args);
        EXPECT_EQ(r.code, kExitUsage);
        EXPECT_NE(r.err.find("usage: zq70-hid"), std::string::npos);
    }
}

TEST(HidToolList, ShowsEveryCollectionOfTheEmulatedDevices) {
    const auto r = tool({"list", "--simulate"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    EXPECT_NE(r.out.find("#vid_0c45&pid_7684&col02  0c45   7684    ff1c 0092      64     64       0"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("pid_5004"), std::string::npos);
    EXPECT_NE(r.out.find("pid_7122"), std::string::npos);
}

TEST(HidToolList, NoDevicesAndUnreadableDescriptors) {
    hid::test::FakeBackend none;
    std::ostringstream out, err;
    EXPECT_EQ(listCollections(none, out, err), kExitOk);
    EXPECT_NE(out.str().find("No HID devices found"), std::string::npos);

    hid::test::FakeBackend odd;
    odd.addNode("/dev/hidraw5", 0x1234, 0x0001, std::vector<std::uint8_t>{0xC0});
    std::ostringstream out2;
    EXPECT_EQ(listCollections(odd, out2, err), kExitOk);
    EXPECT_NE(out2.str().find("/dev/hidraw5#vid_1234&pid_0001"), std::string::npos);
    EXPECT_NE(out2.str().find("unreadable descriptor"), std::string::npos);

    odd.failEnumerate = true;
    std::ostringstream err3;
    EXPECT_EQ(listCollections(odd, out2, err3), kExitFailure);
    EXPECT_FALSE(err3.str().empty());
}

TEST(HidToolProbe, ShowsDeviceInformationAndTheCurrentRecord) {
    sim::SimBackend backend;
    std::ostringstream out, err;
    ASSERT_EQ(probeMouse(backend, out, err), kExitOk) << err.str();
    const std::string text = out.str();
    EXPECT_NE(text.find("&col02"), std::string::npos) << text; // the vendor collection, not the consumer one
    EXPECT_NE(text.find("key count (byte 5):     9"), std::string::npos) << text;
    EXPECT_NE(text.find("32640 bytes"), std::string::npos) << text;
    EXPECT_NE(text.find("Current onboard slot: 0"), std::string::npos) << text;
    EXPECT_NE(text.find("Profile record of slot 0"), std::string::npos) << text;
}

TEST(HidToolProbe, FailsClearlyWhenTheMouseIsAbsentOrSilent) {
    {
        sim::SimBackend backend;
        backend.mouse().unplug();
        std::ostringstream out, err;
        EXPECT_EQ(probeMouse(backend, out, err), kExitFailure);
        EXPECT_NE(err.str().find("no mouse found"), std::string::npos);
    }
    {
        sim::SimBackend backend;
        backend.mouse().setStatusFault(0xFF);
        std::ostringstream out, err;
        EXPECT_EQ(probeMouse(backend, out, err), kExitFailure);
        EXPECT_NE(err.str().find("status 0xFF"), std::string::npos) << err.str();
    }
}

TEST(PathIds, HexNumberAfterTheFirstKey) {
    const struct {
        const char* path;
        const char* key;
        std::uint32_t want;
    } cases[] = {
        {"/dev/hidraw1#vid_0c45&pid_7684&col02", "vid_", 0x0C45},
        {"/dev/hidraw1#vid_0c45&pid_7684&col02", "pid_", 0x7684},
        {"\\\\?\\HID#VID_0C45&PID_7684&MI_01", "vid_", 0x0C45},
        {"x#vid_0c45#vid_1234", "vid_", 0x0C45},
        {"/dev/hidraw1", "vid_", 0},
        {"#vid_&pid_1", "vid_", 0},
        {"#vid_fffffffffff", "vid_", 0xFFFFFFFF},
    };
    for (const auto& c : cases) EXPECT_EQ(hid::hexNumberAfter(c.path, c.key), c.want) << c.path;
}

} // namespace
} // namespace zq::tools
