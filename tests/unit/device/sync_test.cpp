// The synchronisation sequences against the emulator, on a manual clock: the commands each sends (from
// the emulator's request log), what lands in the host's copy, and the fault matrix.
#include "device/commands.h"
#include "device/sync.h"
#include "platform/debug.h"
#include "sim/sim_backend.h"
#include "unit/device/sim_link.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace zq::device {
namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

const char* commandName(std::uint8_t c) {
    switch (c) {
    case cmd::kBeginTransfer:
        return "BeginTransfer";
    case cmd::kEndTransfer:
        return "EndTransfer";
    case cmd::kReadDeviceInfo:
        return "ReadDeviceInfo";
    case cmd::kReadProfileRecord:
        return "ReadProfileRecord";
    case cmd::kWriteProfileRecord:
        return "WriteProfileRecord";
    case cmd::kReadKeyBlock:
        return "ReadKeyBlock";
    case cmd::kReadKeyBlockPage:
        return "ReadKeyBlockPage";
    case cmd::kWriteKeyBlockPage:
        return "WriteKeyBlockPage";
    case cmd::kFactoryReset:
        return "FactoryReset";
    default:
        return "other";
    }
}

// The frames a device received, one entry per command: "ReadKeyBlockPage@126:512" for the chunks of one
// transfer (base offset, total length).
Strings steps(const sim::SimDevice& dev) {
    Strings out;
    std::uint8_t lastCmd = 0;
    std::size_t base = 0, total = 0, next = 0;
    auto flush = [&] {
        if (lastCmd != 0)
            out.push_back(std::string(commandName(lastCmd)) + "@" + std::to_string(base) + ":" +
                          std::to_string(total));
    };
    for (const Frame& f : dev.requestLog()) {
        const std::uint8_t c = frameCommand(f);
        const std::size_t offset = frameAddress(f), length = frameLength(f);
        const bool chunked =
            c == cmd::kReadKeyBlock || c == cmd::kReadKeyBlockPage || c == cmd::kWriteKeyBlockPage;
        if (chunked && c == lastCmd && offset == next && offset != base) {
            total += length;
        } else {
            flush();
            lastCmd = c;
            base = offset;
            total = length;
        }
        next = offset + length;
    }
    flush();
    return out;
}

std::vector<std::uint8_t> slice(const std::vector<std::uint8_t>& v, std::size_t at, std::size_t n) {
    return {v.begin() + static_cast<long>(at), v.begin() + static_cast<long>(at + n)};
}
template <std::size_t N> std::vector<std::uint8_t> head(const std::array<std::uint8_t, N>& a, std::size_t n) {
    return {a.begin(), a.begin() + static_cast<long>(n)};
}

bool sameState(const DeviceState& a, const DeviceState& b) {
    return a.info == b.info && a.records == b.records && a.current == b.current && a.keyPages == b.keyPages &&
           a.wholeKeyBlock == b.wholeKeyBlock && a.dirty == b.dirty;
}

// A host copy full of recognisable bytes, consistent in itself: the current record is what the table
// holds for its slot, so a sequence that stores the current record back changes nothing.
DeviceState patterned(DeviceClass device, std::uint8_t slot) {
    DeviceState s;
    for (std::size_t i = 0; i < s.info.size(); ++i) s.info[i] = static_cast<std::uint8_t>(0xA0 + i);
    for (std::size_t k = 0; k < kRecordSlots; ++k)
        for (std::size_t i = 0; i < kRecordBytes; ++i)
            s.records[k][i] = static_cast<std::uint8_t>(0x10 * k + i);
    for (std::size_t p = 0; p < kKeyPages; ++p)
        for (std::size_t i = 0; i < kKeyPageBytes; ++i)
            s.keyPages[p][i] = static_cast<std::uint8_t>(p * 7 + i);
    for (std::size_t i = 0; i < kKeyPageBytes; ++i) s.wholeKeyBlock[i] = static_cast<std::uint8_t>(i * 3);
    std::copy_n(s.records[slot].begin(), currentBytes(device), s.current.begin());
    s.current[0] = slot;
    s.records[slot][0] = slot;
    return s;
}

struct SyncTest : ::testing::Test {
    platform::ManualClock clock;
    std::unique_ptr<sim::SimBackend> sim;
    std::unique_ptr<AppState> app;
    platform::Event stop;

    void SetUp() override { build(sim::defaultModels()); }
    void build(const std::vector<sim::DeviceModel>& models) {
        app.reset();
        sim = std::make_unique<sim::SimBackend>(clock, models);
        app = std::make_unique<AppState>(*sim, clock);
        for (auto [c, kind] : {std::pair{DeviceClass::Mouse, sim::DeviceKind::Mouse},
                               std::pair{DeviceClass::Pad, sim::DeviceKind::Pad},
                               std::pair{DeviceClass::Keyboard, sim::DeviceKind::Keyboard}})
            if (sim::SimDevice* d = sim->find(kind)) {
                ASSERT_TRUE(test::openOnVendorCollection(app->link(c), *d));
            }
        for (auto* d : {&sim->mouse(), &sim->pad(), &sim->keyboard()}) d->clearRequestLog();
        platform::clearDebugLines();
    }
    DeviceLink& link(DeviceClass c) { return app->link(c); }
    // Writes bytes into the device's record memory the way the host does, then forgets the frames.
    void deviceRecords(sim::SimDevice& d, DeviceLink& l, std::uint16_t offset,
                       std::vector<std::uint8_t> bytes) {
        ASSERT_EQ(WriteProfileRecord(l, offset, bytes), kResultOk);
        d.clearRequestLog();
    }
};

TEST_F(SyncTest, MouseFullReadBackReadsTheKeyPagesAndStartsFromSlotZero) {
    DeviceState& mouse = app->mouse;
    mouse = patterned(DeviceClass::Mouse, 3);
    const DeviceState before = mouse;
    const SyncResult r = mouseFullReadBack(link(DeviceClass::Mouse), mouse, stop);

    EXPECT_EQ(r.status, SyncStatus::Done);
    EXPECT_EQ(steps(sim->mouse()),
              (Strings{"BeginTransfer@0:0", "ReadDeviceInfo@0:33", "ReadKeyBlock@0:512",
                       "ReadKeyBlockPage@0:512", "ReadKeyBlockPage@126:512", "ReadKeyBlockPage@252:512",
                       "ReadKeyBlockPage@378:512", "ReadKeyBlockPage@504:512", "EndTransfer@0:0"}));
    const auto keys = sim->mouse().keyArea();
    for (unsigned p = 0; p < kKeyPages; ++p)
        EXPECT_EQ(head(mouse.keyPages[p], 512), slice(keys, p * 126, 512)) << "page " << p;
    const auto info = sim->mouse().deviceInfo();
    EXPECT_EQ(mouse.info, info);
    // The current record is the host's slot-0 entry, labelled slot 0; the table itself is not read.
    EXPECT_EQ(mouse.current[0], 0);
    EXPECT_EQ(slice({mouse.current.begin() + 1, mouse.current.end()}, 0, 45),
              slice({before.records[0].begin() + 1, before.records[0].begin() + 46}, 0, 45));
    EXPECT_EQ(mouse.records, before.records);
    EXPECT_TRUE(r.changed.info && r.changed.current && r.changed.keyPages.all());
    EXPECT_FALSE(r.changed.records.any() || r.changed.wholeKeyBlock);
}

TEST_F(SyncTest, MouseSlotRefreshWaitsASecondAndFollowsTheDevicesSlot) {
    DeviceLink& l = link(DeviceClass::Mouse);
    app->mouse = patterned(DeviceClass::Mouse, 2);
    // The user changed record 2 on the device, then pressed the profile button: the device is on slot 3.
    std::vector<std::uint8_t> rec(56);
    for (std::size_t i = 0; i < rec.size(); ++i) rec[i] = static_cast<std::uint8_t>(0xC0 + i);
    deviceRecords(sim->mouse(), l, 2 * 64, rec);
    deviceRecords(sim->mouse(), l, 0, {3});

    const auto t0 = clock.now();
    const SyncResult r = mouseSlotRefresh(l, app->mouse, stop);
    EXPECT_GE(clock.now() - t0, 1000ms);
    EXPECT_EQ(steps(sim->mouse()), (Strings{"ReadProfileRecord@128:56", "ReadProfileRecord@0:1"}));
    EXPECT_EQ(app->mouse.current[0], 3);
    EXPECT_EQ(slice({app->mouse.current.begin(), app->mouse.current.end()}, 1, 45), slice(rec, 1, 45));
    ASSERT_TRUE(r.selectSlot);
    EXPECT_EQ(*r.selectSlot, 3);

    // The same slot: the list stays.
    sim->mouse().clearRequestLog();
    app->mouse.current[0] = 3;
    EXPECT_FALSE(mouseSlotRefresh(l, app->mouse, stop).selectSlot);

    // Shutting down: the wait ends at once, nothing is read.
    sim->mouse().clearRequestLog();
    stop.set();
    const DeviceState before = app->mouse;
    EXPECT_EQ(mouseSlotRefresh(l, app->mouse, stop).status, SyncStatus::Cancelled);
    EXPECT_TRUE(steps(sim->mouse()).empty());
    EXPECT_TRUE(sameState(app->mouse, before));
}

TEST_F(SyncTest, KeyboardReadBackTakesItsBlockLengthFromTheKeyCount) {
    struct Case {
        std::uint8_t keys;
        SyncStatus status;
        std::uint16_t blockLength;
        Strings steps;
    };
    const Case cases[] = {
        {126,
         SyncStatus::Done,
         378,
         {"BeginTransfer@0:0", "ReadDeviceInfo@0:33", "ReadKeyBlock@0:378", "ReadKeyBlockPage@0:378",
          "EndTransfer@0:0"}},
        {170,
         SyncStatus::Done,
         510,
         {"BeginTransfer@0:0", "ReadDeviceInfo@0:33", "ReadKeyBlock@0:510", "ReadKeyBlockPage@0:510",
          "EndTransfer@0:0"}},
        // 513 bytes would not fit a page: the message, and the session is still closed.
        {171, SyncStatus::TooManyKeys, 512, {"BeginTransfer@0:0", "ReadDeviceInfo@0:33", "EndTransfer@0:0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.keys));
        auto models = sim::defaultModels();
        models[2] = sim::keyboardWithKeys(c.keys);
        build(models);
        DeviceState& kb = app->keyboard;
        kb = patterned(DeviceClass::Keyboard, 2);
        const DeviceState before = kb;
        const SyncResult r = keyboardFullReadBack(link(DeviceClass::Keyboard), kb, stop);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(steps(sim->keyboard()), c.steps);
        EXPECT_EQ(link(DeviceClass::Keyboard).blockLength, c.blockLength);
        EXPECT_EQ(sim->keyboard().transfersEnded(), 1u);
        if (c.status == SyncStatus::TooManyKeys) {
            EXPECT_STREQ(r.message, "message_text_11");
            EXPECT_EQ(kb.keyPages, before.keyPages);
            EXPECT_EQ(kb.current, before.current);
            continue;
        }
        EXPECT_EQ(r.message, nullptr);
        const auto keys = sim->keyboard().keyArea();
        std::vector<std::uint8_t> expected = slice(keys, 0, c.blockLength);
        expected.resize(512, 0);
        EXPECT_EQ(head(kb.wholeKeyBlock, 512), expected);
        EXPECT_EQ(head(kb.keyPages[0], 512), expected);
        EXPECT_EQ(kb.keyPages[1], before.keyPages[1]);
        EXPECT_EQ(kb.current[0], 0);
        EXPECT_EQ(slice({kb.current.begin(), kb.current.end()}, 1, 20),
                  slice({before.records[0].begin(), before.records[0].end()}, 1, 20));
    }
}

TEST_F(SyncTest, PadFullReadBackReadsEverySlotAndAsksForTheCurrentOne) {
    DeviceLink& l = link(DeviceClass::Pad);
    deviceRecords(sim->pad(), l, 0, {2});
    app->pad = patterned(DeviceClass::Pad, 0);
    const SyncResult r = padFullReadBack(l, app->pad, stop);
    EXPECT_EQ(steps(sim->pad()),
              (Strings{"BeginTransfer@0:0", "ReadDeviceInfo@0:33", "ReadProfileRecord@0:56",
                       "ReadProfileRecord@64:56", "ReadProfileRecord@128:56", "ReadProfileRecord@192:56",
                       "ReadProfileRecord@256:56", "ReadProfileRecord@0:1", "EndTransfer@0:0"}));
    const auto recs = sim->pad().records();
    for (std::size_t k = 0; k < 5; ++k)
        EXPECT_EQ(head(app->pad.records[k], 56), slice(recs, k * 64, 56)) << k;
    EXPECT_EQ(app->pad.current[0], 2);
    EXPECT_EQ(slice({app->pad.current.begin(), app->pad.current.end()}, 1, 20), slice(recs, 2 * 64 + 1, 20));
    EXPECT_TRUE(r.changed.current); // the caller stores the pad's settings in its profile files
    EXPECT_EQ(r.changed.records.count(), 5u);
}

TEST_F(SyncTest, KeyboardSlotRefreshStoresTheCurrentRecordAndReloadsRecordZero) {
    DeviceLink& l = link(DeviceClass::Keyboard);
    DeviceState& kb = app->keyboard;
    kb = patterned(DeviceClass::Keyboard, 3);
    kb.current[5] = 0xEE; // an edit not yet in the table
    const SyncResult r = keyboardSlotRefresh(l, kb, stop);
    EXPECT_EQ(steps(sim->keyboard()), (Strings{"ReadProfileRecord@0:1", "ReadProfileRecord@0:56"}));
    EXPECT_EQ(kb.records[3][5], 0xEE);
    const auto dev = sim->keyboard().record(0);
    EXPECT_EQ(kb.records[0][0], 0);
    EXPECT_EQ(slice({kb.records[0].begin(), kb.records[0].end()}, 1, 55), slice(dev, 1, 55));
    EXPECT_EQ(kb.current[0], 0);
    EXPECT_EQ(slice({kb.current.begin(), kb.current.end()}, 1, 20), slice(dev, 1, 20));
    EXPECT_TRUE(r.changed.current);
}

TEST_F(SyncTest, SettingsPushSendsOneWritePerFlaggedDeviceInOrderAndClearsTheFlags) {
    for (auto c : kDeviceClasses) {
        app->state(c) = patterned(c, 0);
        app->state(c).dirty = true;
    }
    app->mouse.current[0] = 2;
    const PushPlan plan = takeSettingsPush(*app);
    ASSERT_EQ(plan.count, 3u);
    EXPECT_EQ(plan.writes[0].device, DeviceClass::Keyboard);
    EXPECT_EQ(plan.writes[1].device, DeviceClass::Mouse);
    EXPECT_EQ(plan.writes[2].device, DeviceClass::Pad);
    for (auto c : kDeviceClasses) EXPECT_FALSE(app->state(c).dirty);
    EXPECT_EQ(sendSettingsPush(*app, plan), 3);

    EXPECT_EQ(steps(sim->keyboard()), Strings{"WriteProfileRecord@0:56"});
    EXPECT_EQ(steps(sim->mouse()), Strings{"WriteProfileRecord@128:56"}); // the current slot x 64
    EXPECT_EQ(steps(sim->pad()), Strings{"WriteProfileRecord@0:56"});
    // The block, then zeros to 56 bytes.
    auto mouseBytes = head(app->mouse.current, 46);
    mouseBytes.resize(56, 0);
    EXPECT_EQ(slice(sim->mouse().records(), 128, 56), mouseBytes);
    auto padBytes = head(app->pad.current, 21);
    padBytes.resize(56, 0);
    EXPECT_EQ(slice(sim->pad().records(), 0, 56), padBytes);

    // Nothing flagged: nothing sent.
    sim->mouse().clearRequestLog();
    EXPECT_EQ(pushSettings(*app), 0);
    EXPECT_TRUE(steps(sim->mouse()).empty());
}

TEST_F(SyncTest, AFailedPushIsNotRepeated) {
    app->mouse.dirty = true;
    sim->mouse().setWriteFault(sim::WriteFault::Fail);
    EXPECT_EQ(pushSettings(*app), 0);
    EXPECT_FALSE(app->mouse.dirty);
    EXPECT_EQ(pushSettings(*app), 0);
    EXPECT_EQ(sim->mouse().framesReceived(), 0u);
}

TEST_F(SyncTest, SlotSwitch) {
    DeviceLink& l = link(DeviceClass::Mouse);
    DeviceState& mouse = app->mouse;
    deviceRecords(sim->mouse(), l, 0, {1});
    mouse = patterned(DeviceClass::Mouse, 1);
    mouse.current[7] = 0x99; // an edit of slot 1 that the switch keeps in the table

    // To the slot the device is on: one 1-byte read and nothing else.
    DeviceState before = mouse;
    EXPECT_EQ(slotSwitch(DeviceClass::Mouse, l, mouse, 1, stop).status, SyncStatus::AlreadyCurrent);
    EXPECT_EQ(steps(sim->mouse()), Strings{"ReadProfileRecord@0:1"});
    EXPECT_TRUE(sameState(mouse, before));

    // Not a slot: no traffic.
    for (int bad : {-1, 6, 255}) {
        sim->mouse().clearRequestLog();
        EXPECT_EQ(slotSwitch(DeviceClass::Mouse, l, mouse, bad, stop).status, SyncStatus::Ignored);
        EXPECT_TRUE(steps(sim->mouse()).empty());
    }

    // To slot 3.
    sim->mouse().clearRequestLog();
    const SyncResult r = slotSwitch(DeviceClass::Mouse, l, mouse, 3, stop);
    EXPECT_EQ(r.status, SyncStatus::Done);
    EXPECT_EQ(steps(sim->mouse()),
              (Strings{"ReadProfileRecord@0:1", "WriteProfileRecord@0:1", "ReadProfileRecord@192:56"}));
    EXPECT_EQ(sim->mouse().currentSlot(), 3);
    EXPECT_EQ(mouse.records[1][7], 0x99);
    const auto dev3 = sim->mouse().record(3);
    EXPECT_EQ(head(mouse.records[3], 56), slice(dev3, 0, 56));
    EXPECT_EQ(mouse.current[0], 3);
    EXPECT_EQ(slice({mouse.current.begin(), mouse.current.end()}, 1, 45), slice(dev3, 1, 45));

    // Slot 5 on a device with five slots: the device refuses the switch, and the host stays where the
    // device is.
    before = mouse;
    EXPECT_EQ(slotSwitch(DeviceClass::Mouse, l, mouse, 5, stop).status, SyncStatus::Refused);
    EXPECT_EQ(sim->mouse().currentSlot(), 3);
    EXPECT_EQ(mouse.current, before.current);
}

TEST_F(SyncTest, SlotFiveLivesInTheSixthEntryOfItsOwnDevice) {
    auto models = sim::defaultModels();
    models[0].profileSlots = 6;
    models[1].profileSlots = 6;
    build(models);
    for (DeviceClass c : {DeviceClass::Mouse, DeviceClass::Pad}) {
        SCOPED_TRACE(deviceKey(c));
        app->state(c) = patterned(c, 0);
        const DeviceState otherBefore =
            app->state(c == DeviceClass::Mouse ? DeviceClass::Pad : DeviceClass::Mouse);
        EXPECT_EQ(slotSwitch(c, link(c), app->state(c), 5, stop).status, SyncStatus::Done);
        sim::SimDevice& dev = c == DeviceClass::Mouse ? sim->mouse() : sim->pad();
        EXPECT_EQ(head(app->state(c).records[5], 56), slice(dev.record(5), 0, 56));
        EXPECT_EQ(app->state(c).current[0], 5);
        EXPECT_TRUE(sameState(app->state(c == DeviceClass::Mouse ? DeviceClass::Pad : DeviceClass::Mouse),
                              otherBefore));
    }
    // The pad's switch moves 21 bytes: the rest of the table entry stays.
    EXPECT_EQ(app->pad.records[0][30], patterned(DeviceClass::Pad, 0).records[0][30]);
}

TEST_F(SyncTest, RestoreDefaults) {
    EXPECT_EQ(restoreDefaults(DeviceClass::Mouse, link(DeviceClass::Mouse), app->mouse, stop).status,
              SyncStatus::Done);
    EXPECT_EQ(steps(sim->mouse()), Strings{"FactoryReset@0:0"});

    // The pad: the reset, about a second, then its full read-back.
    const auto t0 = clock.now();
    const SyncResult r = restoreDefaults(DeviceClass::Pad, link(DeviceClass::Pad), app->pad, stop);
    EXPECT_GE(clock.now() - t0, 1000ms);
    const Strings s = steps(sim->pad());
    ASSERT_EQ(s.size(), 10u);
    EXPECT_EQ(s[0], "FactoryReset@0:0");
    EXPECT_EQ(s[1], "BeginTransfer@0:0");
    EXPECT_EQ(s.back(), "EndTransfer@0:0");
    EXPECT_TRUE(r.changed.current);

    // Stopped during the wait: no read-back.
    sim->pad().clearRequestLog();
    stop.set();
    EXPECT_EQ(restoreDefaults(DeviceClass::Pad, link(DeviceClass::Pad), app->pad, stop).status,
              SyncStatus::Cancelled);
    EXPECT_TRUE(steps(sim->pad()).empty());
}

TEST_F(SyncTest, SameLightingCopiesTheSourcesLightingEverywhere) {
    for (auto c : kDeviceClasses) app->state(c) = patterned(c, 0);
    for (std::size_t i = 0; i < kMouseCurrentBytes; ++i)
        app->mouse.current[i] = static_cast<std::uint8_t>(0xD0 + i);
    const DeviceState kbBefore = app->keyboard;
    platform::Event padChanged;
    app->padLink.stateChanges.subscribe(padChanged);
    const auto r = applySameLighting(*app, "MS_Deng_Same_Mode");
    EXPECT_TRUE(padChanged.isSet()); // the lighting threads learn of the same mode at once
    app->padLink.stateChanges.unsubscribe(padChanged);
    ASSERT_TRUE(r.applied);
    EXPECT_EQ(r.receivers, (std::array<DeviceClass, 2>{DeviceClass::Keyboard, DeviceClass::Pad}));
    for (auto c : {DeviceClass::Keyboard, DeviceClass::Pad}) {
        EXPECT_EQ(slice({app->state(c).current.begin(), app->state(c).current.end()}, 1, 8),
                  slice({app->mouse.current.begin(), app->mouse.current.end()}, 1, 8));
        EXPECT_TRUE(app->link(c).syncLighting);
    }
    EXPECT_TRUE(app->mouseLink.syncLighting);
    EXPECT_EQ(app->keyboard.current[0], kbBefore.current[0]);
    EXPECT_EQ(app->keyboard.current[9], kbBefore.current[9]);
    EXPECT_EQ(slice({app->sharedLighting.begin(), app->sharedLighting.end()}, 0, 8),
              slice({app->mouse.current.begin(), app->mouse.current.end()}, 1, 8));
}

TEST_F(SyncTest, SameLightingFromAnUnknownSourceChangesNothing) {
    for (auto c : kDeviceClasses) app->state(c) = patterned(c, 0);
    const DeviceState mouse = app->mouse, pad = app->pad, kb = app->keyboard;
    const auto r = applySameLighting(*app, "xx_deng_same_mode");
    EXPECT_FALSE(r.applied);
    EXPECT_TRUE(platform::debugContains("同步失败"));
    EXPECT_TRUE(sameState(app->mouse, mouse) && sameState(app->pad, pad) && sameState(app->keyboard, kb));
    for (auto c : kDeviceClasses) EXPECT_FALSE(app->link(c).syncLighting);
}

TEST_F(SyncTest, TakePartsCopiesOnlyTheNamedParts) {
    DeviceState live = patterned(DeviceClass::Keyboard, 0);
    DeviceState copy;
    copy.current.fill(1);
    copy.info.fill(2);
    copy.records[4].fill(3);
    copy.keyPages[2].fill(4);
    copy.wholeKeyBlock.fill(5);
    live.dirty = true; // an edit made on the UI thread while the copy was away
    StateParts parts;
    parts.records.set(4);
    parts.keyPages.set(2);
    const DeviceState before = live;
    takeParts(live, copy, parts);
    EXPECT_EQ(live.records[4], copy.records[4]);
    EXPECT_EQ(live.keyPages[2], copy.keyPages[2]);
    EXPECT_EQ(live.current, before.current);
    EXPECT_EQ(live.info, before.info);
    EXPECT_EQ(live.records[3], before.records[3]);
    EXPECT_EQ(live.wholeKeyBlock, before.wholeKeyBlock);
    EXPECT_TRUE(live.dirty);
}

// --- Fault matrix ---------------------------------------------------------------------------------------

struct Sequence {
    const char* name;
    DeviceClass device;
    std::function<SyncResult(DeviceLink&, DeviceState&, platform::Event&)> run;
};

const Sequence kSequences[] = {
    {"mouse read-back", DeviceClass::Mouse, mouseFullReadBack},
    {"mouse slot refresh", DeviceClass::Mouse, mouseSlotRefresh},
    {"pad read-back", DeviceClass::Pad, padFullReadBack},
    {"keyboard read-back", DeviceClass::Keyboard, keyboardFullReadBack},
    {"keyboard slot refresh", DeviceClass::Keyboard, keyboardSlotRefresh},
    {"mouse slot switch", DeviceClass::Mouse,
     [](DeviceLink& l, DeviceState& s, platform::Event& st) {
         return slotSwitch(DeviceClass::Mouse, l, s, 2, st);
     }},
    {"pad slot switch", DeviceClass::Pad,
     [](DeviceLink& l, DeviceState& s, platform::Event& st) {
         return slotSwitch(DeviceClass::Pad, l, s, 2, st);
     }},
    {"pad restore defaults", DeviceClass::Pad,
     [](DeviceLink& l, DeviceState& s, platform::Event& st) {
         return restoreDefaults(DeviceClass::Pad, l, s, st);
     }},
};

enum class Fault { NoReply, SlowReply, LateReply, StatusFF, StatusFE, WriteFails, WriteStalls, UnplugMidway };

struct FaultCase {
    const char* name;
    Fault fault;
    bool nothingSucceeds; // every command fails: the copy must come back untouched
};

const FaultCase kFaults[] = {
    {"no reply", Fault::NoReply, true},
    {"reply within the limit", Fault::SlowReply, false},
    {"reply after the limit", Fault::LateReply, false},
    {"status 0xFF", Fault::StatusFF, true},
    {"status 0xFE", Fault::StatusFE, true},
    {"write fails", Fault::WriteFails, true},
    {"write stalls", Fault::WriteStalls, true},
    {"unplug midway", Fault::UnplugMidway, false},
};

// `frames`: how many frames the healthy run takes; the unplug comes half way through them.
void inject(sim::SimDevice& d, Fault f, std::uint64_t frames) {
    switch (f) {
    case Fault::NoReply:
        d.setNoReply(true);
        break;
    case Fault::SlowReply:
        d.setReplyDelay(200ms);
        break;
    case Fault::LateReply:
        d.setReplyDelay(400ms);
        break;
    case Fault::StatusFF:
        d.setStatusFault(0xFF);
        break;
    case Fault::StatusFE:
        d.setStatusFault(0xFE);
        break;
    case Fault::WriteFails:
        d.setWriteFault(sim::WriteFault::Fail);
        break;
    case Fault::WriteStalls:
        d.setWriteFault(sim::WriteFault::Stall);
        break;
    case Fault::UnplugMidway:
        d.unplugAfterFrames(static_cast<int>(frames / 2));
        break;
    }
}

TEST_F(SyncTest, FaultMatrix) {
    for (const Sequence& seq : kSequences) {
        // The healthy run: its result, and how many frames it takes.
        build(sim::defaultModels());
        sim::SimDevice& healthyDev = seq.device == DeviceClass::Mouse ? sim->mouse()
                                     : seq.device == DeviceClass::Pad ? sim->pad()
                                                                      : sim->keyboard();
        DeviceState healthy = patterned(seq.device, 1);
        seq.run(link(seq.device), healthy, stop);
        const std::uint64_t frames = healthyDev.framesReceived();
        ASSERT_GT(frames, 0u) << seq.name;

        for (const FaultCase& fc : kFaults) {
            SCOPED_TRACE(std::string(seq.name) + " / " + fc.name);
            build(sim::defaultModels());
            sim::SimDevice& dev = seq.device == DeviceClass::Mouse ? sim->mouse()
                                  : seq.device == DeviceClass::Pad ? sim->pad()
                                                                   : sim->keyboard();
            inject(dev, fc.fault, frames);
            const DeviceState original = patterned(seq.device, 1);
            DeviceState copy = original;
            const auto t0 = clock.now();
            const SyncResult r = seq.run(link(seq.device), copy, stop);

            // No wait beyond the limits: each command at most four attempts of a 1000 ms write and a
            // 300 ms read (a failing chunked transfer stops at its first failed chunk), plus the
            // sequence's own one-second waits.
            EXPECT_LE(clock.now() - t0, static_cast<std::int64_t>(frames) * 4 * 1300ms + 2000ms);
            // Parts the result does not name are as they were.
            DeviceState merged = original;
            takeParts(merged, copy, r.changed);
            EXPECT_TRUE(sameState(merged, copy));
            if (fc.nothingSucceeds) {
                EXPECT_TRUE(sameState(copy, original));
                EXPECT_FALSE(r.changed.info || r.changed.current || r.changed.keyPages.any() ||
                             r.changed.wholeKeyBlock);
            }
            if (fc.fault == Fault::SlowReply) {
                EXPECT_TRUE(sameState(copy, healthy));
            }
            if (fc.fault == Fault::UnplugMidway) {
                EXPECT_FALSE(dev.plugged());
                // Whatever it read before the unplug is the device's own data.
                if (r.changed.info) {
                    EXPECT_EQ(copy.info, dev.deviceInfo());
                }
            }
        }
    }
}

} // namespace
} // namespace zq::device
