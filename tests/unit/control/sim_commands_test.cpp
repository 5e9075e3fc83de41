// "sim ..." on the emulator: each command does to the device what it says, a dump shows the memories
// and the commands since the last dump, and every bad argument is a usage error that changes nothing.
#include "device/commands.h"
#include "shell/control/sim_commands.h"
#include "sim/descriptors.h"
#include "sim/sim_backend.h"
#include "unit/device/sim_link.h"

#include <QJsonArray>

#include <gtest/gtest.h>

namespace zq::control {
namespace {

using namespace zq::device;

class SimCommands : public ::testing::Test {
protected:
    Reply sim(std::vector<std::string> args) { return runSimCommand(backend, args); }
    QJsonObject dump(const char* device) {
        const Reply r = sim({"dump", device});
        EXPECT_TRUE(r.ok) << r.error;
        return r.fields;
    }
    bool openMouseLink() { return test::openOnVendorCollection(link, backend.mouse()); }

    platform::ManualClock clock; // the emulator's waits move it; nothing sleeps
    sim::SimBackend backend{clock};
    DeviceLink link{backend, clock};
};

TEST_F(SimCommands, PlugAndUnplugTheNamedDeviceOnly) {
    const std::pair<const char*, sim::DeviceKind> devices[] = {{"mouse", sim::DeviceKind::Mouse},
                                                               {"pad", sim::DeviceKind::Pad},
                                                               {"keyboard", sim::DeviceKind::Keyboard}};
    for (const auto& [name, kind] : devices) {
        SCOPED_TRACE(name);
        Reply r = sim({"unplug", name});
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.fields.value("plugged"), QJsonValue(false));
        for (const auto& [other, otherKind] : devices)
            EXPECT_EQ(backend.device(otherKind).plugged(), otherKind != kind) << other;
        r = sim({"plug", name});
        EXPECT_EQ(r.fields.value("plugged"), QJsonValue(true));
        EXPECT_TRUE(backend.device(kind).plugged());
    }
}

TEST_F(SimCommands, ReportReachesTheConsumerCollection) {
    sim::SimDevice& mouse = backend.mouse();
    const auto nodes = mouse.nodeNames();
    auto node =
        backend.open(nodes.at(static_cast<std::size_t>(mouse.model().consumerNode)), hid::kAccessRead, false);
    ASSERT_TRUE(node);
    for (const auto& [text, usage] : {std::pair{"0x401", 0x401}, {"0x0402", 0x402}, {"0x403", 0x403}}) {
        const Reply r = sim({"report", "mouse", text});
        ASSERT_TRUE(r.ok) << r.error;
        std::array<std::uint8_t, sim::kConsumerReportSize> press{}, release{};
        ASSERT_EQ(node->read(press, std::chrono::milliseconds(100)).status, hid::IoStatus::Ok);
        ASSERT_EQ(node->read(release, std::chrono::milliseconds(100)).status, hid::IoStatus::Ok);
        EXPECT_EQ(press[0], sim::kConsumerReportId);
        EXPECT_EQ(press[1] | (press[2] << 8), usage);
        EXPECT_EQ(release[1] | (release[2] << 8), 0);
    }
    EXPECT_EQ(mouse.currentSlot(), 0) << "a report alone changes nothing on the device";

    mouse.unplug();
    const Reply r = sim({"report", "mouse", "0x401"});
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.usage) << "an unplugged device is a state, not a bad command";
}

TEST_F(SimCommands, FaultsShowInTheHostsResults) {
    ASSERT_TRUE(openMouseLink());
    std::array<std::uint8_t, 16> out{};
    const struct {
        std::vector<std::string> fault;
        int result;
    } cases[] = {
        {{"noreply"}, kResultNoReply},
        {{"status-ff"}, kResultStatusFF},
        {{"status-fe"}, kResultStatusFE},
        {{"write-fail"}, kResultWriteFailed},
        {{"none"}, kResultOk},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault[0]);
        std::vector<std::string> args{"fault", "mouse"};
        args.insert(args.end(), c.fault.begin(), c.fault.end());
        const Reply r = sim(args);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(ReadProfileRecord(link, 64, out), c.result);
    }
    // Each fault replaces the one before: no reply, then a refusal, answers with the refusal.
    ASSERT_TRUE(sim({"fault", "mouse", "noreply"}).ok);
    ASSERT_TRUE(sim({"fault", "mouse", "status-fe"}).ok);
    EXPECT_EQ(ReadProfileRecord(link, 64, out), kResultStatusFE);

    ASSERT_TRUE(sim({"fault", "mouse", "late", "400"}).ok);
    EXPECT_EQ(ReadProfileRecord(link, 64, out), kResultOk) << "a late reply is still taken by a retry";

    const Reply after = sim({"fault", "mouse", "unplug-after", "1"});
    ASSERT_TRUE(after.ok) << after.error;
    EXPECT_EQ(after.fields.value("value"), QJsonValue(1));
    EXPECT_EQ(ReadProfileRecord(link, 64, out), kResultOk);
    EXPECT_EQ(ReadProfileRecord(link, 64, out), kResultWriteFailed);
    EXPECT_FALSE(backend.mouse().plugged());
}

TEST_F(SimCommands, SetChangesTheRecordsAsTheDeviceWould) {
    ASSERT_TRUE(sim({"set", "mouse", "0x45", "0a0B0c"}).ok);
    ASSERT_TRUE(sim({"set", "mouse", "0", "02"}).ok); // the current-slot register
    const auto records = backend.mouse().records();
    EXPECT_EQ(records[0x45], 0x0A);
    EXPECT_EQ(records[0x46], 0x0B);
    EXPECT_EQ(records[0x47], 0x0C);
    EXPECT_EQ(backend.mouse().currentSlot(), 2);
    const std::size_t size = sim::recordAreaSize(backend.mouse().model());
    EXPECT_TRUE(sim({"set", "mouse", std::to_string(size - 1), "ff"}).ok) << "the last byte";

    // Host reads see it: the device changed it, not the host.
    ASSERT_TRUE(openMouseLink());
    std::array<std::uint8_t, 3> read{};
    ASSERT_EQ(ReadProfileRecord(link, 0x45, read), kResultOk);
    EXPECT_EQ(read, (std::array<std::uint8_t, 3>{0x0A, 0x0B, 0x0C}));
}

TEST_F(SimCommands, DumpShowsMemoriesInHexAndTheCommandsSinceTheLastDump) {
    ASSERT_TRUE(openMouseLink());
    dump("mouse"); // the opening's traffic, if any
    std::array<std::uint8_t, 10> out{};
    ASSERT_EQ(ReadProfileRecord(link, 70, out), kResultOk);
    const std::vector<std::uint8_t> light(60, 0x11);
    ASSERT_EQ(WriteLightFrame(link, light), kResultOk);
    const std::array<std::uint8_t, 2> two{1, 2};
    ASSERT_EQ(WriteProfileRecord(link, 300, two), kResultOk);

    const QJsonObject d = dump("mouse");
    EXPECT_EQ(d.value("log"), QJsonValue(QJsonArray{QJsonArray{0x05, 70, 10}, QJsonArray{0x06, 300, 2}}))
        << "light frames are left out";
    const auto hex = [](const std::vector<std::uint8_t>& v) { return QString::fromStdString(hexString(v)); };
    EXPECT_EQ(d.value("records").toString(), hex(backend.mouse().records()));
    EXPECT_EQ(d.value("records").toString().mid(600, 4), "0102");
    EXPECT_EQ(d.value("keys").toString(), hex(backend.mouse().keyArea()));
    EXPECT_EQ(d.value("macro").toString(), hex(backend.mouse().macroArea()));
    EXPECT_EQ(d.value("cursor").toString(), hex(backend.mouse().cursorArea()));
    EXPECT_EQ(d.value("frame").toString(), QString(120, '1'));
    const auto info = backend.mouse().deviceInfo();
    EXPECT_EQ(d.value("info").toString(), QString::fromStdString(hexString(info)));
    for (const char* field : {"info", "records", "keys", "macro", "frame"}) {
        const QString v = d.value(field).toString();
        EXPECT_EQ(v, v.toLower()) << field;
        EXPECT_FALSE(v.contains(' ')) << field;
    }
    EXPECT_EQ(dump("mouse").value("log"), QJsonValue(QJsonArray{})) << "each dump starts a new log";
    EXPECT_EQ(dump("keyboard").value("log"), QJsonValue(QJsonArray{})) << "logs are per device";
}

TEST_F(SimCommands, ALongLogKeepsTheNewestAndSaysHowManyWereLost) {
    ASSERT_TRUE(openMouseLink());
    dump("mouse");
    std::array<std::uint8_t, 1> out{};
    const std::size_t total = sim::SimDevice::kCommandLogSize + 3;
    for (std::size_t i = 0; i < total; ++i)
        ASSERT_EQ(ReadProfileRecord(link, static_cast<std::uint16_t>(i % 300), out), kResultOk);
    const QJsonObject d = dump("mouse");
    const QJsonArray log = d.value("log").toArray();
    ASSERT_EQ(static_cast<std::size_t>(log.size()), sim::SimDevice::kCommandLogSize);
    EXPECT_EQ(d.value("log_dropped"), QJsonValue(3));
    EXPECT_EQ(log.last(), QJsonValue(QJsonArray{0x05, static_cast<int>((total - 1) % 300), 1}));
    EXPECT_FALSE(dump("mouse").contains("log_dropped"));
}

TEST_F(SimCommands, BadArgumentsAreUsageErrorsAndChangeNothing) {
    const auto recordsBefore = backend.mouse().records();
    const std::size_t size = sim::recordAreaSize(backend.mouse().model());
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"fly"},
        {"plug"},
        {"plug", "mouse", "now"},
        {"plug", "trackball"},
        {"plug", "Mouse"},
        {"report", "pad", "0x401"},
        {"report", "mouse", "0x404"},
        {"report", "mouse", "401"},
        {"report", "mouse", "click"},
        {"fault", "mouse"},
        {"fault", "mouse", "smoke"},
        {"fault", "mouse", "noreply", "3"},
        {"fault", "mouse", "unplug-after"},
        {"fault", "mouse", "unplug-after", "-1"},
        {"fault", "mouse", "unplug-after", "two"},
        {"fault", "mouse", "late", "99999999"},
        {"set", "mouse", "0x10"},
        {"set", "mouse", "16", "abc"},
        {"set", "mouse", "16", "zz"},
        {"set", "mouse", "16", ""},
        {"set", "mouse", "-1", "00"},
        {"set", "mouse", std::to_string(size), "00"},
        {"set", "mouse", std::to_string(size - 1), "0000"},
        {"set", "mouse", "0", "05"}, // slot 5 of a five-slot device
        {"set", "mouse", "12x", "00"},
        {"dump"},
        {"dump", "mouse", "extra"},
    };
    for (const auto& args : bad) {
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        SCOPED_TRACE(joined);
        const Reply r = sim(args);
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.usage) << r.error;
        EXPECT_FALSE(r.error.empty());
    }
    EXPECT_EQ(backend.mouse().records(), recordsBefore);
    EXPECT_TRUE(backend.mouse().plugged());
}

TEST_F(SimCommands, OnlyASimulatedRunTakesThem) {
    for (const bool simulate : {false, true}) {
        CommandTable table({simulate, true});
        registerSimCommands(table, backend);
        const Reply r = table.run({"sim", "unplug", "pad"});
        EXPECT_EQ(r.ok, simulate) << r.error;
        EXPECT_EQ(backend.pad().plugged(), !simulate);
    }
}

} // namespace
} // namespace zq::control
