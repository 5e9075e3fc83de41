#pragma once
// The main window's messages: what threads, hooks, the tray and the second instance ask of the UI
// thread. One typed enum; the values are the window-message numbers the debug trail names them by.
#include <cstdint>

namespace zq::shell {

enum class AppMessage : std::uint32_t {
    Deactivated = 0x0006,          // the window lost activation: recording hooks off
    BringUp = 0xC0DE,              // "QUORBEN_004": a second instance or a presence thread's first scan
    HookKeySingleKey = 0x0801,     // single-key capture of the keyboard page
    HookKeyHit = 0x0802,           //
    HookKeyMacro = 0x0803,         // a key event for the keyboard recorder
    HookKeyMouseEvent = 0x0804,    // a mouse event for the keyboard recorder
    HookMouseSingleKey = 0x0810,   // single-key capture of the mouse page
    HookMouseHit = 0x0811,         //
    HookMouseMacro = 0x0812,       // a key event for the mouse recorder
    HookMouseMouseEvent = 0x0813,  // a mouse event for the mouse recorder
    MouseFullReadBack = 0x0901,    // device report 0x0402 from the mouse
    MouseSlotRefresh = 0x0902,     // device report 0x0401 from the mouse
    PadFullReadBack = 0x0A01,      // after the pad's restore defaults
    KeyboardFullReadBack = 0x0B01, // device report 0x0402 from the keyboard
    KeyboardSlotRefresh = 0x0B02,  // device report 0x0401 from the keyboard
    ShowProgress = 0x0C00,         // a transfer to the device starts
    ProgressDone = 0x0C01,         // it ended: hide the progress a second later
    LastDeviceGone = 0x0C05,       // the mouse went and nothing else is connected
};

} // namespace zq::shell
