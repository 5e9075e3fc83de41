// The recorder's decisions: repeats, keypad Enter, the pause landing on the previous action, the fixed
// delay, the 65535 cap, a wrapping tick, the mouse rules, and what a stop releases.
#include "macros/macro_recorder.h"
#include "macros/mouse_action_table.h"

#include <gtest/gtest.h>

#include <vector>

namespace zq::macros {
namespace {

constexpr std::uint32_t kUp = 0x80;
constexpr std::uint16_t kVkA = 0x41;

TEST(MacroRecorder, HoldingAKeyRecordsOnePressAndOneReleaseWithThePauseOnThePress) {
    MacroRecorder r;
    r.start(1000);
    auto press = r.key(kVkA, 0, 1200, false);
    ASSERT_TRUE(press);
    EXPECT_TRUE(press->action.pressBit());
    EXPECT_EQ(press->previousDelay, 200); // the pause before it lands on the row that was there
    // The keyboard repeats the press while it is held.
    EXPECT_FALSE(r.key(kVkA, 0, 1700, false));
    EXPECT_FALSE(r.key(kVkA, 0, 1730, false));
    auto release = r.key(kVkA, kUp, 2200, false);
    ASSERT_TRUE(release);
    EXPECT_FALSE(release->action.pressBit());
    EXPECT_EQ(release->previousDelay, 1000);
    EXPECT_EQ(release->action.delay(), 0);
    EXPECT_EQ(r.lastDownKey(), 0);
    // Pressed again after the release: recorded.
    EXPECT_TRUE(r.key(kVkA, 0, 2300, false));
}

TEST(MacroRecorder, KeypadEnterAndMainEnterAreDifferentKeys) {
    MacroRecorder r;
    r.start(0);
    auto keypad = r.key(0x0D, 0x01, 10, false);
    auto main = r.key(0x0D, 0x00, 20, false); // not a repeat of the keypad key
    ASSERT_TRUE(keypad);
    ASSERT_TRUE(main);
    EXPECT_EQ(keypad->action.nameId, "keyboard_key_Num Enter");
    EXPECT_EQ(main->action.nameId, "keyboard_key_Enter");
}

TEST(MacroRecorder, PausesAreCappedFixedOrMeasuredAcrossTheTickWrap) {
    struct Case {
        std::uint32_t start, now;
        bool fixed;
        std::uint16_t delay;
    };
    const Case cases[] = {
        {0, 70000, false, 65535}, // a 70 s pause
        {0, 65535, false, 65535}, // exactly the cap
        {0, 65534, false, 65534},
        {0xFFFFFF00u, 0x00000100u, false, 512}, // the 32-bit tick wrapped in between
        {0, 3000, true, 50},                    // the fixed-delay option
    };
    for (const Case& c : cases) {
        MacroRecorder r;
        r.start(c.start);
        auto step = r.key(kVkA, 0, c.now, c.fixed);
        ASSERT_TRUE(step);
        EXPECT_EQ(step->previousDelay, c.delay) << c.start << " → " << c.now;
    }
}

TEST(MacroRecorder, KeysOutsideTheTableGiveNothingButStillCountAsHeld) {
    MacroRecorder r;
    r.start(0);
    EXPECT_FALSE(r.key(0xFF, 0, 10, false));
    EXPECT_EQ(r.lastDownKey(), 0xFF);
}

TEST(MacroRecorder, MouseClicksKeepOnlyTheFirstOfTwoEqualMessagesAndIgnoreOtherButtons) {
    MacroRecorder r;
    r.start(0);
    EXPECT_FALSE(r.mouse(kMsgLeftDown, 5, false, false)) << "clicks are not recorded without the option";
    auto down = r.mouse(kMsgLeftDown, 10, false, true);
    ASSERT_TRUE(down);
    EXPECT_TRUE(down->recorderRow);
    EXPECT_EQ(down->action.type, 0x81);
    EXPECT_EQ(down->action.pressed, 1);
    EXPECT_EQ(down->action.nameId, "mouse_key_left");
    EXPECT_FALSE(r.mouse(kMsgLeftDown, 20, false, true));
    EXPECT_TRUE(r.mouse(kMsgLeftUp, 30, false, true));
    EXPECT_TRUE(r.mouse(kMsgLeftDown, 40, false, true));
    EXPECT_TRUE(r.mouse(kMsgLeftUp, 50, false, true));
    EXPECT_FALSE(r.mouse(kMsgExtraDown, 60, false, true)) << "the side buttons record nothing";
    EXPECT_FALSE(r.mouse(0x20A, 70, false, true)) << "nor does the wheel";
}

TEST(MacroRecorder, StoppingReleasesWhatTheRecordingLeftHeld) {
    MacroRecorder r;
    r.start(0);
    ASSERT_TRUE(r.key(0xA0, 0, 10, false));    // left Shift
    ASSERT_TRUE(r.key(0x0D, 0x01, 20, false)); // keypad Enter
    ASSERT_TRUE(r.key(kVkA, 0, 30, false));
    ASSERT_TRUE(r.key(kVkA, kUp, 40, false));
    ASSERT_TRUE(r.mouse(kMsgLeftDown, 50, false, true)); // the click on the stop button
    const std::vector<RecordedStep> steps = r.finish(80, false);
    EXPECT_FALSE(r.recording());
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].action.nameId, "mouse_key_left");
    EXPECT_FALSE(steps[0].action.pressBit());
    EXPECT_TRUE(steps[0].recorderRow);
    EXPECT_EQ(steps[0].previousDelay, 30); // the press lasted until the stop
    EXPECT_EQ(steps[1].action.nameId, "keyboard_key_Num Enter");
    EXPECT_FALSE(steps[1].action.pressBit());
    EXPECT_EQ(steps[2].action.nameId, "keyboard_key_LShift");
    EXPECT_FALSE(steps[2].action.pressBit());

    // Everything released before the stop: nothing to add, and a second stop adds nothing either.
    r.start(100);
    ASSERT_TRUE(r.mouse(kMsgLeftDown, 110, false, true));
    ASSERT_TRUE(r.mouse(kMsgLeftUp, 120, false, true));
    EXPECT_TRUE(r.finish(130, false).empty());
    EXPECT_TRUE(r.finish(140, false).empty());
}

TEST(MacroRecorder, ANewRecordingForgetsTheKeyAndButtonTheLastOneEndedWith) {
    MacroRecorder r;
    r.start(0);
    ASSERT_TRUE(r.key(kVkA, 0, 10, false));
    ASSERT_TRUE(r.mouse(kMsgLeftUp, 20, false, true));
    r.stop(); // A and the last mouse message are still the recorder's own
    r.start(100);
    EXPECT_TRUE(r.key(kVkA, 0, 110, false)) << "not a repeat of a press of the last recording";
    EXPECT_TRUE(r.mouse(kMsgLeftUp, 120, false, true));
}

} // namespace
} // namespace zq::macros
