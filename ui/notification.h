#pragma once
// The one shape every user action and every "with notification" operation takes on its way to the
// page's dispatcher.
#include <cstdint>
#include <string>

namespace zq::ui {

// Whether a programmatic change tells the dispatcher about itself.
enum class Notify { No, Yes };

struct Notification {
    std::string type;   // "click", "selectchanged", "itemselect", ...
    std::string sender; // the control's name as the layout spells it
    std::intptr_t wParam = 0;
    std::intptr_t lParam = 0;
    // Which of the page's controls sent it (Page::senderOf): several controls may share one name.
    int senderIndex = -1;
};

// The notification types the pages route on.
namespace notify {
inline constexpr const char* kWindowInit = "windowinit";
inline constexpr const char* kWindowSize = "windowsize";
inline constexpr const char* kClick = "click";
inline constexpr const char* kSelectChanged = "selectchanged";
inline constexpr const char* kItemSelect = "itemselect";
inline constexpr const char* kItemClick = "itemclick";
inline constexpr const char* kValueChanged = "valuechanged";
inline constexpr const char* kMoveValueChanged = "movevaluechanged";
inline constexpr const char* kTextChanged = "textchanged";
inline constexpr const char* kKillFocus = "killfocus";
inline constexpr const char* kSetFocus = "setfocus";
inline constexpr const char* kMouseEnter = "msenter";
inline constexpr const char* kMouseLeave = "msleave";
inline constexpr const char* kColorChanged = "colorchanged";
} // namespace notify

} // namespace zq::ui
