// How the mouse page reads its edits and keeps each parameter edit within its range.
#include "settings/pages/button_edit_rules.h"

#include <gtest/gtest.h>

namespace zq::settings::pages {
namespace {

TEST(EditNumber, ReadsTheLeadingNumber) {
    const struct {
        const char* text;
        long value;
    } cases[] = {
        {"42", 42}, {"  7", 7}, {"-3", -3}, {"+5", 5}, {"12abc", 12},
        {"abc", 0}, {"", 0},    {"-", 0},   {"0", 0},  {"99999999999999999999", kEditNumberLimit},
    };
    for (const auto& c : cases) EXPECT_EQ(editNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(FunctionEdits, AreKeptWithinTheirRanges) {
    const struct {
        int edit;
        long typed;
        std::optional<long> shown;
    } cases[] = {
        {11, 0, 1},
        {12, 0, 1},
        {11, 300, 255},
        {11, 1, std::nullopt},
        {15, 128, 127},
        {16, 127, std::nullopt},
        {17, 16, 15},
        {20, 16, 15},
        {18, 15, std::nullopt},
        {25, 0, 1},
        {25, 300, 255},
        {25, 255, std::nullopt},
        {21, 999, std::nullopt}, // the capture field holds a key name, not a number
    };
    for (const auto& c : cases)
        EXPECT_EQ(functionEditCorrection(c.edit, c.typed), c.shown) << c.edit << ": " << c.typed;
    EXPECT_EQ(functionEditValue(15, "200"), 127);
    EXPECT_EQ(functionEditValue(11, "letters"), 1);
}

} // namespace
} // namespace zq::settings::pages
