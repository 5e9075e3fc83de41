// The keyboard picture's key buttons must name the key the key table and the light frame put at their
// index, or a user would assign a function to one key while looking at another.
#include "settings/keyboard_keys.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace {

using zq::settings::kKeyboardKeyIndexCount;
using zq::settings::kKeyboardKeyNames;

std::string unescapeXml(std::string s) {
    const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    for (const auto& [from, to] : entities)
        for (auto at = s.find(from); at != std::string::npos; at = s.find(from, at + 1))
            s.replace(at, std::string_view(from).size(), to);
    return s;
}

// The tool-tip text id of a widget of the layout, "" when the widget has none; nullopt when it is absent.
std::optional<std::string> toolTipId(const std::string& xml, const std::string& name) {
    const auto widget = xml.find("name=\"" + name + "\"");
    if (widget == std::string::npos) return std::nullopt;
    const auto end = xml.find("</widget>", widget);
    const auto property = xml.find("name=\"toolTipId\"", widget);
    if (property == std::string::npos || property > end) return std::string();
    const auto open = xml.find('>', xml.find("<string", property)) + 1;
    const auto close = xml.find("</string>", open);
    return unescapeXml(xml.substr(open, close - open));
}

TEST(KeyboardPicture, EveryKeyButtonNamesTheKeyAtItsIndex) {
    std::ifstream in(std::string(ZQ_SOURCE_DIR) + "/skin/main.ui");
    ASSERT_TRUE(in) << "skin/main.ui not found";
    const std::string xml{std::istreambuf_iterator<char>(in), {}};
    for (std::size_t i = 0; i < kKeyboardKeyIndexCount; ++i) {
        const auto id = toolTipId(xml, "kb_key_" + std::to_string(i));
        ASSERT_TRUE(id.has_value()) << "kb_key_" << i << " is missing";
        EXPECT_EQ(*id, kKeyboardKeyNames[i]) << "kb_key_" << i;
    }
}

} // namespace
