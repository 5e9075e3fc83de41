#include "device/sync.h"

#include "device/commands.h"
#include "platform/debug.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace zq::device {

StateParts& StateParts::operator|=(const StateParts& o) {
    info = info || o.info;
    current = current || o.current;
    records |= o.records;
    keyPages |= o.keyPages;
    wholeKeyBlock = wholeKeyBlock || o.wholeKeyBlock;
    return *this;
}

void takeParts(DeviceState& into, const DeviceState& from, const StateParts& parts) {
    if (parts.info) into.info = from.info;
    if (parts.current) into.current = from.current;
    for (std::size_t k = 0; k < kRecordSlots; ++k)
        if (parts.records.test(k)) into.records[k] = from.records[k];
    for (std::size_t p = 0; p < kKeyPages; ++p)
        if (parts.keyPages.test(p)) into.keyPages[p] = from.keyPages[p];
    if (parts.wholeKeyBlock) into.wholeKeyBlock = from.wholeKeyBlock;
}

namespace {

using std::chrono::milliseconds;

constexpr std::size_t kRecordReadBytes = kPayloadSize; // 56: what one record read carries

std::uint16_t recordOffset(std::size_t slot) {
    return static_cast<std::uint16_t>(slot * kRecordBytes);
}

// A scratch buffer for the key-block reads, large enough for the link's block length.
std::vector<std::uint8_t> keyScratch(const DeviceLink& link) {
    return std::vector<std::uint8_t>(std::max<std::size_t>(kKeyPageBytes, link.blockLength.load()), 0);
}

// Reads the device information into the copy; true when the device answered.
bool readInfo(DeviceLink& link, DeviceState& state, StateParts& changed) {
    std::array<std::uint8_t, kDeviceInfoSize> info{};
    if (ReadDeviceInfo(link, info) != kResultOk) return false;
    state.info = info;
    changed.info = true;
    return true;
}

// Reads one key-block page into page `page` of the copy.
void readKeyPage(DeviceLink& link, DeviceState& state, unsigned page, StateParts& changed) {
    auto scratch = keyScratch(link);
    if (ReadKeyBlockPage(link, scratch, page) != kResultOk) return;
    std::copy_n(scratch.begin(), kKeyPageBytes, state.keyPages[page].begin());
    changed.keyPages.set(page);
}

// Reads the 56 bytes of a slot's record into its table entry; the entry's last 8 bytes stay.
bool readRecord(DeviceLink& link, DeviceState& state, std::size_t slot, StateParts& changed) {
    std::array<std::uint8_t, kRecordReadBytes> rec{};
    if (ReadProfileRecord(link, recordOffset(slot), rec) != kResultOk) return false;
    std::copy(rec.begin(), rec.end(), state.records[slot].begin());
    changed.records.set(slot);
    return true;
}

// The device's current slot (byte 0 of the record memory), when it answers with a slot we can hold.
std::optional<std::size_t> readCurrentSlot(DeviceLink& link) {
    std::array<std::uint8_t, 1> slot{};
    if (ReadProfileRecord(link, 0, slot) != kResultOk) return std::nullopt;
    if (slot[0] >= kRecordSlots) return std::nullopt;
    return slot[0];
}

// The current record becomes table entry `slot`, labelled with that slot.
void currentFromTable(DeviceClass device, DeviceState& state, std::size_t slot, StateParts& changed) {
    std::copy_n(state.records[slot].begin(), currentBytes(device), state.current.begin());
    state.current[0] = static_cast<std::uint8_t>(slot);
    changed.current = true;
}

SyncResult cancelled(const StateParts& changed) {
    return {SyncStatus::Cancelled, changed, std::nullopt, nullptr};
}

} // namespace

// --- Read-backs ---------------------------------------------------------------------------------------

SyncResult mouseFullReadBack(DeviceLink& link, DeviceState& mouse, platform::Event& stop) {
    SyncResult r;
    if (stop.isSet()) return cancelled(r.changed);
    BeginTransfer(link);
    const bool answered = readInfo(link, mouse, r.changed);
    {
        // Read and dropped, as the device expects the whole block read before its pages.
        auto scratch = keyScratch(link);
        ReadKeyBlock(link, scratch);
    }
    for (unsigned page = 0; page < kKeyPages; ++page) {
        if (stop.isSet()) return cancelled(r.changed);
        readKeyPage(link, mouse, page, r.changed);
    }
    if (answered) currentFromTable(DeviceClass::Mouse, mouse, 0, r.changed);
    EndTransfer(link);
    return r;
}

SyncResult mouseSlotRefresh(DeviceLink& link, DeviceState& mouse, platform::Event& stop) {
    SyncResult r;
    const std::uint8_t before = mouse.current[0];
    // The device announces the button press before it has settled on the new slot.
    if (link.clock.sleepUnlessStopped(stop, kSlotRefreshWait)) return cancelled(r.changed);
    std::array<std::uint8_t, kRecordReadBytes> rec{};
    if (ReadProfileRecord(link, recordOffset(before), rec) == kResultOk) {
        std::copy_n(rec.begin(), kMouseCurrentBytes, mouse.current.begin());
        // Byte 0 of the record read is not a slot number (in slot 0 it is the device's slot register);
        // it stays the slot until the device says otherwise.
        mouse.current[0] = before;
        r.changed.current = true;
    }
    if (stop.isSet()) return cancelled(r.changed);
    if (const auto now = readCurrentSlot(link)) {
        mouse.current[0] = static_cast<std::uint8_t>(*now);
        r.changed.current = true;
        if (*now != before) r.selectSlot = static_cast<int>(*now);
    }
    return r;
}

SyncResult padFullReadBack(DeviceLink& link, DeviceState& pad, platform::Event& stop) {
    SyncResult r;
    if (stop.isSet()) return cancelled(r.changed);
    BeginTransfer(link);
    const bool answered = readInfo(link, pad, r.changed);
    for (std::size_t slot = 0; slot < kKeyPages; ++slot) { // the device's five slots
        if (stop.isSet()) return cancelled(r.changed);
        readRecord(link, pad, slot, r.changed);
    }
    const auto current = readCurrentSlot(link);
    if (answered && current) currentFromTable(DeviceClass::Pad, pad, *current, r.changed);
    EndTransfer(link);
    return r;
}

SyncResult keyboardFullReadBack(DeviceLink& link, DeviceState& keyboard, platform::Event& stop) {
    SyncResult r;
    if (stop.isSet()) return cancelled(r.changed);
    BeginTransfer(link);
    const bool answered = readInfo(link, keyboard, r.changed);
    const std::size_t keyBlock = kBytesPerKey * keyboard.info[kKeyCountOffset];
    if (keyBlock > kKeyPageBytes) {
        // The device's key table would not fit the host's pages. The transfer session is still
        // closed, so the device is not left waiting in it.
        r.status = SyncStatus::TooManyKeys;
        r.message = kTooManyKeysMessage;
        EndTransfer(link);
        return r;
    }
    // Only a key count the device just gave sets the block length; a device that reports no keys at
    // all leaves it as it was.
    if (answered && keyBlock > 0) link.blockLength = static_cast<std::uint16_t>(keyBlock);
    {
        auto scratch = keyScratch(link);
        if (ReadKeyBlock(link, scratch) == kResultOk) {
            std::copy_n(scratch.begin(), kKeyPageBytes, keyboard.wholeKeyBlock.begin());
            r.changed.wholeKeyBlock = true;
        }
    }
    if (stop.isSet()) return cancelled(r.changed);
    readKeyPage(link, keyboard, 0, r.changed);
    if (answered) currentFromTable(DeviceClass::Keyboard, keyboard, 0, r.changed);
    EndTransfer(link);
    return r;
}

SyncResult keyboardSlotRefresh(DeviceLink& link, DeviceState& keyboard, platform::Event& stop) {
    SyncResult r;
    if (stop.isSet()) return cancelled(r.changed);
    const std::size_t slot = keyboard.current[0];
    if (slot < kRecordSlots) {
        std::copy_n(keyboard.current.begin(), kCompactCurrentBytes, keyboard.records[slot].begin());
        r.changed.records.set(slot);
    }
    // The keyboard's slot register is read as the device expects, but its live settings are those of
    // record 0.
    std::array<std::uint8_t, 1> ignored{};
    ReadProfileRecord(link, 0, ignored);
    std::array<std::uint8_t, kRecordReadBytes> rec{};
    if (ReadProfileRecord(link, 0, rec) == kResultOk) {
        rec[0] = 0;
        std::copy(rec.begin(), rec.end(), keyboard.records[0].begin());
        r.changed.records.set(0);
        currentFromTable(DeviceClass::Keyboard, keyboard, 0, r.changed);
    }
    return r;
}

// --- Slot switch --------------------------------------------------------------------------------------

SyncResult slotSwitch(DeviceClass device, DeviceLink& link, DeviceState& state, int slot,
                      platform::Event& stop) {
    SyncResult r;
    if (slot < 0 || slot > kHighestSlot) {
        r.status = SyncStatus::Ignored;
        return r;
    }
    if (stop.isSet()) return cancelled(r.changed);
    const auto was = readCurrentSlot(link);
    if (!was) {
        r.status = SyncStatus::Refused;
        return r;
    }
    if (*was == static_cast<std::size_t>(slot)) {
        r.status = SyncStatus::AlreadyCurrent;
        return r;
    }
    const std::size_t bytes = currentBytes(device);
    std::copy_n(state.current.begin(), bytes, state.records[*was].begin());
    r.changed.records.set(*was);
    const std::array<std::uint8_t, 1> select{static_cast<std::uint8_t>(slot)};
    if (WriteProfileRecord(link, 0, select) != kResultOk) {
        r.status = SyncStatus::Refused;
        return r;
    }
    const auto target = static_cast<std::size_t>(slot);
    readRecord(link, state, target, r.changed);
    currentFromTable(device, state, target, r.changed);
    return r;
}

// --- Restore defaults ---------------------------------------------------------------------------------

SyncResult restoreDefaults(DeviceClass device, DeviceLink& link, DeviceState& state, platform::Event& stop) {
    if (stop.isSet()) return cancelled({});
    FactoryReset(link);
    if (device != DeviceClass::Pad) return {};
    // The pad needs a moment after its reset before it answers for its new records.
    if (link.clock.sleepUnlessStopped(stop, kPadReadBackDelay)) return cancelled({});
    return padFullReadBack(link, state, stop);
}

// --- Settings push ------------------------------------------------------------------------------------

PushPlan takeSettingsPush(AppState& app) {
    PushPlan plan;
    for (DeviceClass c : kDeviceClasses) {
        DeviceState& s = app.state(c);
        if (!s.dirty) continue;
        PushWrite& w = plan.writes[plan.count++];
        w.device = c;
        w.offset = c == DeviceClass::Mouse ? recordOffset(s.slot()) : 0;
        std::copy_n(s.current.begin(), currentBytes(c), w.payload.begin());
        s.dirty = false;
    }
    return plan;
}

int sendSettingsPush(AppState& app, const PushPlan& plan) {
    int ok = 0;
    for (std::size_t i = 0; i < plan.count; ++i) {
        const PushWrite& w = plan.writes[i];
        if (WriteProfileRecord(app.link(w.device), w.offset, w.payload) == kResultOk) ++ok;
    }
    return ok;
}

int pushSettings(AppState& app) {
    return sendSettingsPush(app, takeSettingsPush(app));
}

// --- Same-lighting apply ------------------------------------------------------------------------------

std::optional<DeviceClass> sameModeSource(std::string_view control) {
    auto same = [&](std::string_view name) {
        return control.size() == name.size() &&
               std::equal(control.begin(), control.end(), name.begin(), [](char a, char b) {
                   return std::tolower(static_cast<unsigned char>(a)) ==
                          std::tolower(static_cast<unsigned char>(b));
               });
    };
    if (same("kb_deng_same_mode")) return DeviceClass::Keyboard;
    if (same("ms_deng_same_mode")) return DeviceClass::Mouse;
    if (same("mp_deng_same_mode")) return DeviceClass::Pad;
    return std::nullopt;
}

SameLightingResult applySameLighting(AppState& app, std::optional<DeviceClass> source) {
    SameLightingResult r;
    if (!source) {
        platform::debugString(kSameLightingFailed);
        return r;
    }
    const auto& from = app.state(*source).current;
    std::copy_n(from.begin() + 1, kLightingBytes, app.sharedLighting.begin());
    std::size_t n = 0;
    for (DeviceClass c : kDeviceClasses) {
        if (c == *source) continue;
        std::copy_n(from.begin() + 1, kLightingBytes, app.state(c).current.begin() + 1);
        r.receivers[n++] = c;
    }
    for (DeviceClass c : kDeviceClasses) {
        app.link(c).syncLighting = true;
        app.link(c).stateChanges.notify();
    }
    r.applied = true;
    return r;
}

SameLightingResult applySameLighting(AppState& app, std::string_view sourceControl) {
    return applySameLighting(app, sameModeSource(sourceControl));
}

} // namespace zq::device
