#pragma once
// Keeping the host's copy of each device in step with the device: read-backs, slot refreshes, the
// settings push, slot switches, restore defaults and the same-lighting apply.
//
// The sequences that talk to a device take the device's link and a DeviceState, and are meant to run
// off the UI thread (on the device worker) on a copy of the live state: the caller copies the state,
// runs the sequence on the copy, and on the UI thread takes over the parts the result names with
// takeParts(). Only the parts a sequence actually filled are named, so an edit the user made on the UI
// thread meanwhile survives in every other part, and the dirty flag is never touched by a read.
//
// What the sequences decide for themselves where a plain run-to-the-end would do harm:
//  - Data from a command that failed never reaches the copy: every read goes into a scratch buffer and is
//    copied only on success (a chunked read that fails half way leaves nothing behind).
//  - A read-back of a device that does not answer its information request changes nothing: the current
//    record is not rebuilt from host data as if the device had been read.
//  - A slot switch that the device refuses (or whose current-slot read fails) stops there: the host
//    does not pretend to be on a slot the device is not on.
//  - A slot number read from the device is used only when it names a table entry (0..5).
//  - The one-second waits are sleeps on the link's clock that end when `stop` is set; a set stop event
//    also ends a sequence between two commands, so shutdown never waits for a whole read-back.
//
// UI steps are the caller's: each result says which to take (refresh a page, select a list item,
// show a message, store the settings in the profile files).
#include "device/app_state.h"
#include "platform/event.h"

#include <bitset>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zq::device {

inline constexpr std::chrono::milliseconds kSlotRefreshWait{1000};
inline constexpr std::chrono::milliseconds kPadReadBackDelay{1000};
inline constexpr int kHighestSlot = 5;
// Device information: byte 5 is the key count, byte 6 the macro memory in units of 128 bytes.
inline constexpr std::size_t kKeyCountOffset = 5;
inline constexpr std::size_t kMacroUnitsOffset = 6;
// The keyboard's key block must fit one 512-byte page: 3 bytes per key.
inline constexpr std::size_t kBytesPerKey = 3;
inline constexpr const char* kTooManyKeysMessage = "message_text_11";
inline constexpr const char* kSameLightingFailed = "同步失败";

// The parts of a DeviceState a sequence wrote.
struct StateParts {
    bool info = false;
    bool current = false;
    std::bitset<kRecordSlots> records;
    std::bitset<kKeyPages> keyPages;
    bool wholeKeyBlock = false;

    bool any() const { return info || current || records.any() || keyPages.any() || wholeKeyBlock; }
    StateParts& operator|=(const StateParts& o);
};

// Copies the named parts of `from` into `into` (the live state, on the UI thread).
void takeParts(DeviceState& into, const DeviceState& from, const StateParts& parts);

enum class SyncStatus {
    Done,           // the sequence ran to its end
    Cancelled,      // the stop event ended it early; what was read is named in `changed`
    TooManyKeys,    // keyboard read-back: the device reports more keys than a page holds
    Ignored,        // slot switch: a slot number above 5
    AlreadyCurrent, // slot switch: the device is on that slot already
    Refused,        // slot switch: the device did not tell its slot or did not take the switch
    NoSource,       // same-lighting apply: unknown source
};

struct SyncResult {
    SyncStatus status = SyncStatus::Done;
    StateParts changed;
    // Mouse slot refresh: the device's slot when it differs from the one the host had; the caller
    // selects that item of "ms_device_profile_combo".
    std::optional<int> selectSlot;
    // A text id for the message box ("message_text_11"), or null.
    const char* message = nullptr;
};

// --- Read-backs and refreshes ------------------------------------------------------------------------
// Then: refresh the mouse page.
SyncResult mouseFullReadBack(DeviceLink& link, DeviceState& mouse, platform::Event& stop);
// Waits one second first. Then: refresh the mouse page; select `selectSlot` in the device profile list.
SyncResult mouseSlotRefresh(DeviceLink& link, DeviceState& mouse, platform::Event& stop);
// Then (when `changed.current`): store the pad's settings in its profile files; refresh the pad page.
SyncResult padFullReadBack(DeviceLink& link, DeviceState& pad, platform::Event& stop);
// Sets the link's blockLength from the device. TooManyKeys: show `message` (EndTransfer is still sent).
// Otherwise: locate the special keys, store the keyboard's settings, refresh the keyboard lighting page.
SyncResult keyboardFullReadBack(DeviceLink& link, DeviceState& keyboard, platform::Event& stop);
// Then (when `changed.current`): store the keyboard's lighting settings; refresh its lighting page.
SyncResult keyboardSlotRefresh(DeviceLink& link, DeviceState& keyboard, platform::Event& stop);

// --- Slot switch (mouse and pad) ----------------------------------------------------------------------
// Switched (Done): the mouse hides "ms_tab_function" and refreshes its page; the pad refreshes its page.
SyncResult slotSwitch(DeviceClass device, DeviceLink& link, DeviceState& state, int slot,
                      platform::Event& stop);

// --- Restore defaults ---------------------------------------------------------------------------------
// The mouse: FactoryReset (the host pointer settings are the caller's, before it). The pad: FactoryReset,
// a one-second wait, then the pad full read-back, whose result this is.
SyncResult restoreDefaults(DeviceClass device, DeviceLink& link, DeviceState& state, platform::Event& stop);

// --- Settings push ------------------------------------------------------------------------------------
struct PushWrite {
    DeviceClass device = DeviceClass::Keyboard;
    std::uint16_t offset = 0;
    std::array<std::uint8_t, kPayloadSize> payload{};
};
struct PushPlan {
    std::array<PushWrite, 3> writes{};
    std::size_t count = 0;
    bool empty() const { return count == 0; }
};
// On the UI thread: one write per flagged device, keyboard, mouse, pad, from the current records as they
// are now; the flags are cleared here, whatever the writes will give.
PushPlan takeSettingsPush(AppState& app);
// Anywhere: sends the writes in order. Returns how many succeeded; a failed write is not repeated.
int sendSettingsPush(AppState& app, const PushPlan& plan);
// Both at once, for a caller that runs the push on the thread that owns the state.
int pushSettings(AppState& app);

// --- Same-lighting apply ------------------------------------------------------------------------------
// The source device of a same-mode button ("kb_deng_same_mode", "ms_deng_same_mode", "mp_deng_same_mode",
// compared without regard to case).
std::optional<DeviceClass> sameModeSource(std::string_view control);
struct SameLightingResult {
    bool applied = false;
    // The devices whose current records took the lighting: their pages are refreshed and their settings
    // stored in their current profiles.
    std::array<DeviceClass, 2> receivers{};
};
// Copies the source's lighting bytes (1..8) into the other two current records and the shared lighting,
// and sets syncLighting on all three links. An unknown source writes "同步失败" and changes nothing.
SameLightingResult applySameLighting(AppState& app, std::string_view sourceControl);
SameLightingResult applySameLighting(AppState& app, std::optional<DeviceClass> source);

} // namespace zq::device
