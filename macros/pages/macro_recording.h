#pragma once
// Recording on a macro page: the record button starts the input capture and every key and mouse button
// the user presses becomes an action of the macro being edited, with the pause that followed the action
// before it. The page stays in the editing state until Save or Cancel; while recording, the list
// operations, Save and Cancel wait, and the page says whether the keys still reach other applications.
#include "macros/macro_recorder.h"
#include "macros/pages/macro_editor.h"
#include "platform/input_hook.h"
#include "settings/pages/page_context.h"

#include <cstdint>
#include <functional>
#include <string>

namespace zq::macros::pages {

using settings::pages::PageContext;

class MacroRecording {
public:
    // A 32-bit millisecond tick that may wrap (the recorder's pauses); the program's steady clock unless
    // a test gives its own.
    using Tick = std::function<std::uint32_t()>;

    MacroRecording(PageContext& context, MacroEditor& editor, Tick tick = {});
    MacroRecording(const MacroRecording&) = delete;
    MacroRecording& operator=(const MacroRecording&) = delete;

    // The record button ("<p>_macro_btn_redio", whose clicks the owner routes here): starts, or stops a
    // recording that runs.
    void toggle();
    std::string buttonName() const { return editor_.name("_macro_btn_redio"); }
    // Ends a recording that runs and gives the page its controls back (navigation, deactivation, exit).
    void stop();
    bool recording() const { return recorder_.recording(); }
    // Tests give the tick the pauses are measured with.
    void setTick(Tick tick) { tick_ = std::move(tick); }

private:
    void start();
    void onKey(const platform::KeyHookEvent& event);
    void onMouse(const platform::MouseHookEvent& event);
    void append(const RecordedStep& step);
    bool optionOn(std::string_view suffix) const;
    void setRecordingControls(bool recording);

    PageContext& ctx_;
    MacroEditor& editor_;
    Tick tick_;
    MacroRecorder recorder_;
    bool fixedDelay_ = false;
    bool recordClicks_ = false;
};

} // namespace zq::macros::pages
