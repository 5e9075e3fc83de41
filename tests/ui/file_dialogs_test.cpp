// File dialog helpers: filters in the pages' notation, default extensions, the scripted double.
#include "ui/file_dialogs.h"

#include <gtest/gtest.h>

namespace zq::ui {
namespace {

TEST(FileDialogs, FiltersInThePagesNotationBecomeQtFilters) {
    const struct {
        const char* pairs;
        const char* qt;
    } cases[] = {
        {"(*.png) | *.png |(*.*)|*.*||", "(*.png);;(*.*)"},
        {"Profile files|*.config||", "Profile files (*.config)"},
        {"Macros|*.mac;*.MAC|All files|*.*||", "Macros (*.mac *.MAC);;All files (*.*)"},
        {"|*.cur||", "(*.cur)"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(qtFileFilter(c.pairs), c.qt) << c.pairs;
}

TEST(FileDialogs, DefaultExtensionOnlyWhenTheNameHasNone) {
    const struct {
        const char* path;
        const char* ext;
        const char* out;
    } cases[] = {
        {"/home/u/profile", "config", "/home/u/profile.config"},
        {"/home/u/profile.led", "config", "/home/u/profile.led"},
        {"/home/u.d/profile", "mac", "/home/u.d/profile.mac"},
        {"/home/u/profile", "", "/home/u/profile"},
    };
    for (const auto& c : cases) EXPECT_EQ(withDefaultExtension(c.path, c.ext), c.out) << c.path;
}

TEST(FileDialogs, ScriptedDoubleAnswersInOrderAndRecordsRequests) {
    ScriptedFileDialogs dialogs;
    dialogs.answer("/tmp/a.png");
    dialogs.answer("/tmp/export");
    FileDialogRequest open{"Open", "(*.png) | *.png ||", "png", "*.png", ""};
    EXPECT_EQ(dialogs.openFile(open), "/tmp/a.png");
    EXPECT_EQ(dialogs.saveFile({"Save", "Profiles|*.config||", "config", "", ""}), "/tmp/export.config");
    EXPECT_EQ(dialogs.openFile(open), std::nullopt); // an empty script cancels
    ASSERT_EQ(dialogs.calls().size(), 3u);
    EXPECT_FALSE(dialogs.calls()[0].save);
    EXPECT_TRUE(dialogs.calls()[1].save);
    EXPECT_EQ(dialogs.calls()[0].request.defaultExtension, "png");
}

} // namespace
} // namespace zq::ui
