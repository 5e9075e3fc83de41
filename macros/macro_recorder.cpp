#include "macros/macro_recorder.h"

#include "macros/keyboard_action.h"
#include "macros/mouse_action_table.h"
#include "settings/key_code_table.h"

namespace zq::macros {

namespace {
constexpr std::uint32_t kHookFlagUp = 0x80;
} // namespace

void MacroRecorder::start(std::uint32_t now) {
    recording_ = true;
    lastEventTime_ = now;
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
