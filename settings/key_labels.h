#pragma once
// The rules that turn a key entry into the label shown on the device picture.
#include "settings/key_entry.h"

#include <cstdint>
#include <string_view>

namespace zq::settings {

struct KeyLabel {
    enum class Kind {
        TextId,    // `text` is a text id, shown resolved
        PlainText, // `text` is shown as it stands
        MacroName, // the name of macro `macroNumber` from the device's macro index, shown as it stands
        Keep,      // the label keeps whatever text it has
    };
    Kind kind = Kind::Keep;
    std::string_view text;
    std::uint8_t macroNumber = 0;
    friend constexpr bool operator==(const KeyLabel&, const KeyLabel&) = default;
};

enum class LabelPage { Mouse, Keyboard };

// The keyboard page labels types it has no name for with this text rather than "close_text".
inline constexpr std::string_view kKeyboardUnknownFunctionLabel = "\xE5\x85\xB3\xE9\x97\xAD"; // "关闭"

// Keyboard entries (type 0x00 or 0x20) are named by the first row of the whole key code table with their
// pair; an office shortcut wins over the plain key name. An entry that matches no row keeps its label.
KeyLabel labelForEntry(KeyEntry entry, LabelPage page = LabelPage::Mouse);

} // namespace zq::settings
