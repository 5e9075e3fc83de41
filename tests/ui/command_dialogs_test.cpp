// The dialogs a zq70ctl command answers itself: only inside its scope, only once, and nothing is left for
// the user's next click.
#include "shell/command_dialogs.h"

#include <gtest/gtest.h>

namespace zq::shell {
namespace {

TEST(CommandDialogs, AnswersOnceInsideItsScopeAndLeavesTheUsersDialogsAlone) {
    ui::ScriptedFileDialogs files;
    ui::ScriptedMessagePresenter messages;
    messages.setDefaultAnswer(1);
    CommandDialogs dialogs(files, messages);
    ui::FileDialogRequest save;
    save.defaultExtension = "led";

    {
        CommandDialogs::Scope scope(dialogs, std::string("/tmp/out"));
        EXPECT_EQ(dialogs.saveFile(save), std::optional<std::string>("/tmp/out.led"));
        EXPECT_EQ(scope.answeredPath(), "/tmp/out.led");
        EXPECT_EQ(dialogs.openFile({}), std::nullopt) << "one answer, one dialog";
        EXPECT_EQ(dialogs.showMessage("message_text_9"), 0) << "a command confirms nothing";
        ASSERT_EQ(scope.messages().size(), 1u);
        EXPECT_EQ(scope.messages()[0].text, "message_text_9");
        EXPECT_TRUE(scope.fileAsked());
    }
    EXPECT_TRUE(files.calls().empty());
    EXPECT_TRUE(messages.shown().empty());

    // Outside a command the user answers.
    files.answer("/home/me/chosen.led");
    EXPECT_EQ(dialogs.openFile({}), std::optional<std::string>("/home/me/chosen.led"));
    EXPECT_EQ(dialogs.ask("message_text_12"), 1);
    EXPECT_EQ(files.calls().size(), 1u);
    EXPECT_EQ(messages.textIds(), std::vector<std::string>{"message_text_12"});
}

} // namespace
} // namespace zq::shell
