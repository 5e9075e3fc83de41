#include "settings/function_lists.h"

namespace zq::settings {

std::optional<std::size_t> findFunctionRow(std::span<const FunctionRow> rows, KeyEntry entry) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].entry == entry) return i;
    return std::nullopt;
}

std::span<const FunctionRow> functionListOfType(std::uint8_t type) {
    switch (type) {
    case fn::kMouseButton:
        return kMouseButtonFunctions;
    case fn::kDpiKey:
        return kDpiKeyFunctions;
    case fn::kConsumer:
        return kMediaFunctions;
    case fn::kSystem:
        return kSystemFunctions;
    case fn::kRecoil:
        return kRecoilFunctions;
    default:
        return {};
    }
}

std::optional<int> categoryOfEntry(KeyEntry entry) {
    switch (entry.type) {
    case fn::kMouseButton:
        return category::kMouseButton;
    case fn::kHorizontalMove:
        return category::kHorizontalMove;
    case fn::kVerticalMove:
        return category::kVerticalMove;
    case fn::kDpiKey:
        return category::kDpiKey;
    case fn::kFireKey:
        return category::kFireKey;
    case fn::kKeyboard:
        if (entry.p1 != 0 && entry.p2 != 0 && findFunctionRow(kOfficeFunctions, entry))
            return category::kOffice;
        return category::kKeyboardKey;
    case fn::kConsumer:
        return category::kMedia;
    case fn::kSystem:
        return category::kSystem;
    case fn::kMacro:
    case fn::kMacroRepeat:
        return category::kMacro;
    case fn::kRecoil:
        return category::kRecoil;
    default:
        return std::nullopt;
    }
}

} // namespace zq::settings
