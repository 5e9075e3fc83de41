#pragma once
// The state of one page's macro recording: which key is held (so key repeats are not recorded), which
// mouse message came last (so a repeated one is not recorded twice), and when the last event came. Each
// event gives at most one new action and the pause that lands on the action before it: an action's
// delay is the pause that followed it, so the newest action keeps 0 until the next event comes.
#include "macros/macro_action.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace zq::macros {

struct RecordedStep {
    MacroAction action;          // delay 0
    std::uint16_t previousDelay; // for the row before the new one, when there is one
    bool recorderRow = false;    // a mouse event: shown as a plain three-column row
};

class MacroRecorder {
public:
    // `now` is a 32-bit millisecond tick that may wrap. Nothing of an earlier recording carries over: a
    // key still held when it stopped would otherwise make the first press of this one look like a repeat.
    void start(std::uint32_t now);
    void stop() { recording_ = false; }
    // Stops, and gives the releases of the keys and the mouse button the recording pressed and never
    // released (the mouse button first: it is the click that stopped the recording, whose release the
    // capture may deliver only after the stop). A macro that ends with a key or button held would leave
    // it held on the device each time it plays.
    std::vector<RecordedStep> finish(std::uint32_t now, bool fixedDelay);
    bool recording() const { return recording_; }

    // A key event: the key's virtual-key code, the hook flags (bit 0 extended, bit 7 up). Nothing for a
    // key repeat or a key outside the key table.
    std::optional<RecordedStep> key(std::uint16_t virtualKey, std::uint32_t flags, std::uint32_t now,
                                    bool fixedDelay);
    // A mouse event by its window message (0x201 left down ...). Nothing unless clicks are recorded, for a
    // message outside the left, right and middle buttons, or for the same message twice in a row.
    std::optional<RecordedStep> mouse(std::uint32_t windowMessage, std::uint32_t now, bool fixedDelay,
                                      bool recordClicks);

    std::uint16_t lastDownKey() const { return lastDownKey_; }

private:
    std::uint16_t pauseSinceLast(std::uint32_t now, bool fixedDelay);

    bool recording_ = false;
    std::uint32_t lastEventTime_ = 0;
    std::uint16_t lastDownKey_ = 0;
    std::uint32_t lastMouseMessage_ = 0;
    struct HeldKey {
        std::uint16_t key;        // as recorded (keypad Enter 257)
        std::uint16_t virtualKey; // as the capture gave it, with its extended flag
        std::uint32_t extendedFlag;
    };
    std::vector<HeldKey> heldKeys_; // recorded presses without a recorded release, in press order
};

// The fixed delay of the recorder's option.
inline constexpr std::uint16_t kFixedRecordingDelay = 50;

} // namespace zq::macros
