#include "macros/macro_recorder.h"

#include "macros/keyboard_action.h"
#include "macros/mouse_action_table.h"
#include "settings/key_code_table.h"

namespace zq::macros {

namespace {
constexpr std::uint32_t kHookFlagUp = 0x80;
constexpr std::uint32_t kHookFlagExtended = 0x01;

// The release of a recorded button press (left, right and middle: 0x201 → 0x202 and so on), if it is one.
std::optional<std::uint32_t> releaseOf(std::uint32_t windowMessage) {
    if (windowMessage == 0x201 || windowMessage == 0x204 || windowMessage == 0x207) return windowMessage + 1;
    return std::nullopt;
}
} // namespace

void MacroRecorder::start(std::uint32_t now) {
    recording_ = true;
    lastEventTime_ = now;
    lastDownKey_ = 0;
    lastMouseMessage_ = 0;
    heldKeys_.clear();
}

std::vector<RecordedStep> MacroRecorder::finish(std::uint32_t now, bool fixedDelay) {
    std::vector<RecordedStep> steps;
    if (!recording_) return steps;
    if (const std::optional<std::uint32_t> release = releaseOf(lastMouseMessage_))
        if (auto step = mouse(*release, now, fixedDelay, true)) steps.push_back(*step);
    // Latest first, as fingers let go of a chord.
    while (!heldKeys_.empty()) {
        const HeldKey held = heldKeys_.back();
        if (auto step = key(held.virtualKey, held.extendedFlag | kHookFlagUp, now, fixedDelay))
            steps.push_back(*step);
        else
            heldKeys_.pop_back(); // cannot happen: the key gave a press; never loop on it
    }
    recording_ = false;
    return steps;
}

std::uint16_t MacroRecorder::pauseSinceLast(std::uint32_t now, bool fixedDelay) {
    // Unsigned arithmetic: the tick wraps after 49 days and the difference is still right.
    const std::uint32_t elapsed = now - lastEventTime_;
    lastEventTime_ = now;
    if (fixedDelay) return kFixedRecordingDelay;
    return elapsed >= kMaxDelay ? kMaxDelay : static_cast<std::uint16_t>(elapsed);
}

std::optional<RecordedStep> MacroRecorder::key(std::uint16_t virtualKey, std::uint32_t flags,
                                               std::uint32_t now, bool fixedDelay) {
    const bool press = (flags & kHookFlagUp) == 0;
    // Keypad Enter is Enter with the extended flag; repeats compare the key as recorded.
    const std::uint16_t k = virtualKey == settings::kVkReturn && (flags == 0x01 || flags == 0x81)
                                ? settings::kVkKeypadEnter
                                : virtualKey;
    if (press) {
        if (k == lastDownKey_) return std::nullopt; // the key is held: a repeat
        lastDownKey_ = k;
    } else if (k == lastDownKey_) {
        lastDownKey_ = 0;
    }
    std::optional<MacroAction> action = recordedKeyAction(virtualKey, flags, press);
    if (!action) return std::nullopt;
    std::erase_if(heldKeys_, [k](const HeldKey& h) { return h.key == k; });
    if (press) heldKeys_.push_back({k, virtualKey, flags & kHookFlagExtended});
    return RecordedStep{*action, pauseSinceLast(now, fixedDelay), false};
}

std::optional<RecordedStep> MacroRecorder::mouse(std::uint32_t windowMessage, std::uint32_t now,
                                                 bool fixedDelay, bool recordClicks) {
    const std::optional<std::size_t> row = recordableMouseRow(windowMessage);
    if (!row || !recordClicks) return std::nullopt;
    if (windowMessage == lastMouseMessage_) return std::nullopt;
    lastMouseMessage_ = windowMessage;
    const MouseActionRow& r = kMouseMacroActionTable[*row];
    MacroAction action;
    action.type = r.type;
    action.code = r.code;
    action.pressed = (r.type & kPressBit) != 0 ? 1 : 0;
    action.nameId = std::string(r.nameId);
    return RecordedStep{action, pauseSinceLast(now, fixedDelay), true};
}

} // namespace zq::macros
