#include "settings/key_labels.h"

#include "settings/function_lists.h"
#include "settings/key_code_table.h"

namespace zq::settings {
namespace {

KeyLabel textId(std::string_view id) {
    return KeyLabel{KeyLabel::Kind::TextId, id, 0};
}
KeyLabel keep() {
    return KeyLabel{};
}

KeyLabel rowLabel(std::span<const FunctionRow> rows, KeyEntry entry) {
    if (auto row = findFunctionRow(rows, entry)) return textId(rows[*row].name);
    return keep();
}

} // namespace

KeyLabel labelForEntry(KeyEntry entry, LabelPage page) {
    switch (entry.type) {
    case fn::kNone:
    case fn::kKeyboard: {
        if (auto office = findFunctionRow(kOfficeFunctions, KeyEntry{fn::kKeyboard, entry.p1, entry.p2}))
            return textId(kOfficeFunctions[*office].name);
        // The whole table: a pair that equals a media or system key's is named by that key.
        if (auto row = findKeyByCodePair(entry.p1, entry.p2)) return textId(kKeyCodeTable[*row].name);
        return keep();
    }
    case fn::kMouseButton:
    case fn::kDpiKey:
    case fn::kConsumer:
    case fn::kSystem:
        return rowLabel(functionListOfType(entry.type), entry);
    case fn::kHorizontalMove:
        return textId(kHorizontalMoveFunctions[(entry.p2 & 0x80) ? 1 : 0].name);
    case fn::kVerticalMove:
        return textId(kVerticalMoveFunctions[(entry.p2 & 0x80) ? 1 : 0].name);
    case fn::kFireKey:
        return textId(kFireKeyLabel);
    case fn::kMacro:
    case fn::kMacroRepeat:
        return KeyLabel{KeyLabel::Kind::MacroName, {}, entry.p1};
    case fn::kRecoil:
        // Only four patterns exist; a stray pattern number names nothing.
        if (entry.p1 < kRecoilFunctions.size()) return textId(kRecoilFunctions[entry.p1].name);
        return keep();
    case fn::kDisabled:
        return textId(kDisabledLabel);
    case fn::kWheel:
    case 0x50:
    case 0x60:
    case 0xB0:
    case 0xC0:
        return keep();
    default:
        if (page == LabelPage::Keyboard)
            return KeyLabel{KeyLabel::Kind::PlainText, kKeyboardUnknownFunctionLabel, 0};
        return textId(kUnknownFunctionLabel);
    }
}

} // namespace zq::settings
