// Recording on the macro pages through the injected capture: what each key and button becomes, where the
// pauses land, and what the record button turns off and on again.
#include "macros/macro_action.h"
#include "macros/macro_files.h"
#include "page_fixture.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zq::test {
namespace {

using macros::MacroFamily;
using platform::MouseHookButton;
namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

constexpr std::uint32_t kA = 0x41;
constexpr std::uint32_t kEnter = 0x0D;
constexpr std::uint32_t kUp = platform::kKeyFlagUp;
constexpr std::uint32_t kExtended = platform::kKeyFlagExtended;

class MacroRecordingTest : public PageFixture {
protected:
    // A recording still running ends as the window goes, and reads the clock below: it ends while the
    // clock is still there.
    ~MacroRecordingTest() override {
        if (pages) macroPages().stopRecording();
    }
    void SetUp() override {
        PageFixture::SetUp();
        for (auto d : {device::DeviceClass::Mouse, device::DeviceClass::Keyboard})
            macroPages().recording(d).setTick([this] { return tick; });
    }

    std::string p(MacroFamily f) const { return f == MacroFamily::Mouse ? "ms" : "kb"; }
    void seed(MacroFamily f, const std::vector<std::pair<std::string, Lines>>& macros) {
        const fs::path folder = dataFolder() / (f == MacroFamily::Mouse ? "ms" : "kb");
        fs::create_directories(folder);
        std::vector<std::string> names;
        for (const auto& [name, lines] : macros) {
            names.push_back(name);
            if (!lines.empty()) {
                ASSERT_TRUE(macros::writeMacroFile(folder / (name + ".mac"), lines));
            }
        }
        ASSERT_TRUE(macros::rewriteMacroIndex(folder, f, names));
        macroPages().start();
    }
    void option(MacroFamily f, const char* suffix, bool on) {
        page().option(p(f) + suffix).setSelected(on, ui::Notify::Yes);
    }
    void record(MacroFamily f = MacroFamily::Mouse) { page().click(p(f) + "_macro_btn_redio"); }
    // Each row as "name delay" (the name id and the delay the line stores).
    std::vector<std::string> rows(MacroFamily f = MacroFamily::Mouse) {
        ui::ListLike list = page().list(p(f) + "_Macro_list");
        std::vector<std::string> out;
        for (int i = 0; i < list.count(); ++i) {
            const macros::MacroAction action = macros::parseActionLine(list.itemData(i));
            out.push_back(action.nameId + (action.pressed ? " down " : " up ") +
                          std::to_string(action.delay()));
        }
        return out;
    }
    bool enabled(const std::string& name) { return page().find(name).isEnabled(); }

    std::uint32_t tick = 1000;
};

TEST_F(MacroRecordingTest, AHeldKeyIsOnePressAndOneReleaseAndEachPauseLandsOnTheActionBefore) {
    seed(MacroFamily::Mouse, {{"m", {"120,0,138,4,1,keyboard_key_A"}}});
    record();
    ASSERT_TRUE(hooks->installed());
    EXPECT_EQ(hooks->mode(), platform::HookMode::Recording);

    tick += 300; // the pause after the macro's own last action
    hooks->key(kA);
    for (int i = 0; i < 5; ++i) { // the key repeats while held
        tick += 30;
        hooks->key(kA);
    }
    tick += 70'000; // a pause longer than a delay can hold
    hooks->key(kA, kUp);
    tick += 40;
    hooks->key(kEnter, kExtended); // keypad Enter
    tick += 15;
    hooks->key(kEnter, kExtended | kUp);
    hooks->key(0x07); // not a key of the table: nothing
    EXPECT_EQ(rows(), (std::vector<std::string>{"keyboard_key_A down 300", "keyboard_key_A down 65535",
                                                "keyboard_key_A up 40", "keyboard_key_Num Enter down 15",
                                                "keyboard_key_Num Enter up 0"}));

    record(); // stop
    EXPECT_FALSE(hooks->installed());
    EXPECT_FALSE(hooks->key(kA)) << "no capture runs after the stop";
}

TEST_F(MacroRecordingTest, TheFixedDelayGivesFiftyToEveryRowButTheLast) {
    seed(MacroFamily::Mouse, {{"m", {}}});
    option(MacroFamily::Mouse, "_macro_check_time", true);
    record();
    for (std::uint32_t key : {0x42u, 0x43u}) {
        tick += 1234;
        hooks->key(key);
        tick += 777;
        hooks->key(key, kUp);
    }
    EXPECT_EQ(rows(), (std::vector<std::string>{"keyboard_key_B down 50", "keyboard_key_B up 50",
                                                "keyboard_key_C down 50", "keyboard_key_C up 0"}));
}

TEST_F(MacroRecordingTest, MouseButtonsArePressReleasePairsAndTheSideButtonsAreLeftOut) {
    seed(MacroFamily::Mouse, {{"m", {}}});
    record();
    const struct {
        MouseHookButton button;
        bool down;
    } events[] = {{MouseHookButton::Left, true},   {MouseHookButton::Left, true}, // the same message twice
                  {MouseHookButton::Left, false},  {MouseHookButton::Back, true},
                  {MouseHookButton::Right, true},  {MouseHookButton::Right, false},
                  {MouseHookButton::Middle, true}, {MouseHookButton::Middle, false}};
    for (const auto& e : events) {
        tick += 10;
        hooks->mouse(e.button, e.down);
    }
    EXPECT_EQ(rows(), (std::vector<std::string>{"mouse_key_left down 20", "mouse_key_left up 20",
                                                "mouse_key_right down 10", "mouse_key_right up 10",
                                                "mouse_key_middle down 10", "mouse_key_middle up 0"}));

    // Without the clicks option the mouse records nothing, and with no option at all nothing listens.
    record();
    option(MacroFamily::Mouse, "_macro_mouse_click", false);
    record();
    hooks->mouse(MouseHookButton::Left, true);
    EXPECT_EQ(rows().size(), 6u);
    record();
    option(MacroFamily::Mouse, "_macro_keyboard_event", false);
    record();
    EXPECT_FALSE(hooks->installed());
}

TEST_F(MacroRecordingTest, AKeyAndAButtonStillHeldAtTheStopAreReleasedInTheMacro) {
    seed(MacroFamily::Mouse, {{"m", {}}});
    record();
    hooks->key(kA);
    tick += 20;
    hooks->mouse(MouseHookButton::Left, true); // the press on the record button that stops it
    tick += 60;
    record(); // its release comes from the capture only after the stop, or not at all
    hooks->mouse(MouseHookButton::Left, false);
    hooks->key(kA, kUp);
    EXPECT_EQ(rows(), (std::vector<std::string>{"keyboard_key_A down 20", "mouse_key_left down 60",
                                                "mouse_key_left up 0", "keyboard_key_A up 0"}));
}

TEST_F(MacroRecordingTest, RecordingHoldsTheEditingControlsAndNavigationEndsIt) {
    seed(MacroFamily::Mouse, {{"m", {}}});
    record();
    EXPECT_TRUE(page().find("ms_macro_tab_saveorcancel").isVisible());
    EXPECT_EQ(page().find("ms_macro_btn_redio").textId(), "macro_btn_stop_redio_text");
    for (const char* name : {"ms_macro_btn_save", "ms_macro_btn_cancel", "ms_macro_btn_delete",
                             "ms_Macro_list", "ms_macro_check_time", "ms_macro_keyboard_event"})
        EXPECT_FALSE(enabled(name)) << name;
    EXPECT_EQ(page().find("ms_macro_record_state").textId(), "record_state_injected_text");
    EXPECT_TRUE(page().find("ms_macro_record_state").isVisible());

    // What the shell does on navigation, deactivation and exit.
    macroPages().stopRecording();
    EXPECT_FALSE(hooks->installed());
    EXPECT_EQ(page().find("ms_macro_btn_redio").textId(), "macro_btn_star_redio_text");
    for (const char* name : {"ms_macro_btn_save", "ms_macro_btn_cancel", "ms_macro_btn_delete",
                             "ms_Macro_list", "ms_macro_check_time", "ms_macro_keyboard_event"})
        EXPECT_TRUE(enabled(name)) << name;
    EXPECT_FALSE(page().find("ms_macro_record_state").isVisible());
    EXPECT_TRUE(page().find("ms_macro_tab_saveorcancel").isVisible()) << "still editing until Save or Cancel";

    // No macro: the button does nothing.
    seed(MacroFamily::Keyboard, {});
    record(MacroFamily::Keyboard);
    EXPECT_FALSE(hooks->installed());
}

// A capture backend that reports what the test says of it.
class ReportingHooks final : public platform::InputHookService {
public:
    ReportingHooks(platform::HookBackendKind kind, bool holds, std::string error)
        : kind_(kind), holds_(holds), error_(std::move(error)) {}
    bool install(platform::HookMode, platform::HookCallbacks) override { return installed_ = error_.empty(); }
    void removeAll() override { installed_ = false; }
    bool installed() const override { return installed_; }
    platform::HookBackendKind activeBackend() const override {
        return installed_ ? kind_ : platform::HookBackendKind::None;
    }
    bool holdsKeysBack() const override { return installed_ && holds_; }
    std::string lastError() const override { return error_; }

private:
    platform::HookBackendKind kind_;
    bool holds_;
    std::string error_;
    bool installed_ = false;
};

TEST_F(MacroRecordingTest, TheStateLineSaysWhetherKeysStillReachOtherApplications) {
    using platform::HookBackendKind;
    seed(MacroFamily::Mouse, {{"m", {}}});
    const struct {
        HookBackendKind kind;
        bool holds;
        const char* error;
        const char* text;
    } cases[] = {
        {HookBackendKind::Evdev, true, "", "record_state_evdev_text"},
        {HookBackendKind::Evdev, false, "", "record_state_x11_text"}, // no keyboard could be grabbed
        {HookBackendKind::X11, false, "", "record_state_x11_text"},
        {HookBackendKind::InWindow, false, "", "record_state_window_text"},
        {HookBackendKind::None, false, "no input device readable", "record_state_none_text"},
    };
    for (const auto& c : cases) {
        ReportingHooks backend(c.kind, c.holds, c.error);
        settings::pages::PageContext ctx{
            page(), window->dispatcher(), state, messages, dialogs, colours, *hostMouse, backend, {}, {}, {}};
        macros::pages::MacroRecording recording(ctx, macroPages().editor(device::DeviceClass::Mouse));
        recording.toggle();
        ui::Control line = page().find("ms_macro_record_state");
        EXPECT_EQ(line.textId(), c.text) << c.text;
        EXPECT_TRUE(line.isVisible());
        EXPECT_EQ(line.toolTip(), c.error) << "a capture that did not start says why";
        EXPECT_TRUE(recording.recording()) << "recording runs without a capture";
        recording.toggle();
        EXPECT_FALSE(backend.installed());
    }
}

TEST_F(MacroRecordingTest, TheKeyboardPageRecordsIntoItsOwnMacroAndSavesIt) {
    seed(MacroFamily::Mouse, {{"m", {}}});
    seed(MacroFamily::Keyboard, {{"k", {}}});
    record(MacroFamily::Mouse);
    record(MacroFamily::Keyboard); // the control channel can reach a page that is not shown
    EXPECT_FALSE(macroPages().recording(device::DeviceClass::Mouse).recording())
        << "one capture, one recording";
    EXPECT_EQ(page().find("ms_macro_btn_redio").textId(), "macro_btn_star_redio_text");
    hooks->key(kA);
    tick += 90;
    hooks->key(kA, kUp);
    record(MacroFamily::Keyboard);
    EXPECT_EQ(rows(MacroFamily::Keyboard),
              (std::vector<std::string>{"keyboard_key_A down 90", "keyboard_key_A up 0"}));
    EXPECT_TRUE(rows(MacroFamily::Mouse).empty());
    page().click("kb_macro_btn_save");
    EXPECT_EQ(macros::readMacroLines(dataFolder() / "kb" / "k.mac").size(), 2u);
}

} // namespace
} // namespace zq::test
