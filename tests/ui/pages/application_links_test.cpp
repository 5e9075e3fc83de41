// Linking profiles to applications (the link check, the link button and the cancel button of every
// list) and the watchers that make a linked profile active while its application is in front.
#include "platform/debug.h"
#include "platform/foreground.h"
#include "platform/host_mouse_settings.h"
#include "profile_fixture.h"
#include "profiles/pages/application_links.h"
#include "profiles/pages/profile_watchers.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QTimer>

#include <unistd.h>

namespace zq::test {
namespace {

using device::DeviceClass;
using profiles::ProfileCategory;
using profiles::pages::linkControls;

class Links : public ProfileFixture {
protected:
    ui::Option check(Category c) { return page().option(linkControls(c).check); }
    ui::Control row(Category c) { return page().find(linkControls(c).row); }
    std::string linkEdit(Category c) { return page().edit(linkControls(c).edit).text(); }
    std::string flag(Category c, int p) { return index(c).linkFlag(p); }
    // An unlinked position's path is stored as one space, which reads back blank.
    std::string path(Category c, int p) { return index(c).linkPath(p); }
    // The user ticks the link check and the chooser answers `answer` (nullopt: cancelled).
    void tick(Category c, std::optional<std::string> answer) {
        dialogs.answer(std::move(answer));
        check(c).setSelected(true, ui::Notify::Yes);
    }
    void linkWithButton(Category c, std::optional<std::string> answer) {
        dialogs.answer(std::move(answer));
        page().click(linkControls(c).button);
    }
    // Lets the watcher threads' work reach the UI thread until cond holds.
    template <class F> bool eventuallyOnUi(F cond) {
        return eventually([&] {
            QCoreApplication::processEvents();
            return cond();
        });
    }
    static std::string ownExecutable() {
        char buffer[4096] = {};
        const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
        return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
    }
};

TEST_F(Links, TheCheckLinksTheActivePositionToTheChosenExecutable) {
    list(Category::MouseDevice).select(1);
    tick(Category::MouseDevice, "/opt/games/Game.bin");

    EXPECT_EQ(flag(Category::MouseDevice, 1), "1");
    EXPECT_EQ(path(Category::MouseDevice, 1), "/opt/games/Game.bin");
    EXPECT_EQ(linkEdit(Category::MouseDevice), "Game.bin");
    EXPECT_TRUE(check(Category::MouseDevice).selected());
    EXPECT_TRUE(row(Category::MouseDevice).isVisible());
    EXPECT_EQ(profiles::pages::categoryLinks(Category::MouseDevice),
              (std::vector<profiles::pages::LinkedPosition>{{1, "/opt/games/Game.bin"}}));

    // The chooser starts among the installed programs, shows executables only, and offers the
    // applications running now (this test among them) as a second way to choose.
    ASSERT_EQ(dialogs.calls().size(), 1u);
    const ui::FileDialogRequest& request = dialogs.calls()[0].request;
    EXPECT_FALSE(dialogs.calls()[0].save);
    EXPECT_EQ(request.folder, "/usr/bin");
    EXPECT_TRUE(request.executablesOnly);
    EXPECT_EQ(request.choicesTitleId, "profile_link_running_text");
    EXPECT_FALSE(skin.text(request.choicesTitleId).empty());
    const std::string self = ownExecutable();
    EXPECT_TRUE(std::any_of(request.choices.begin(), request.choices.end(), [&](const ui::FileChoice& c) {
        return c.path == self;
    })) << self;
}

TEST_F(Links, ALinkEndingWithoutAnExecutableShowsTheNameRowAsEachListDoes) {
    // Whether the link name row shows after: the check cleared by the user, the chooser cancelled, a
    // path without a folder.
    struct Case {
        Category category;
        bool cleared, cancelled, noFolder;
    };
    const Case cases[] = {
        {Category::MouseDevice, true, false, false},     {Category::MouseLighting, false, false, false},
        {Category::MouseKeys, false, false, false},      {Category::KeyboardDevice, true, false, false},
        {Category::KeyboardLighting, true, true, false}, {Category::KeyboardKeys, true, true, true},
        {Category::PadLighting, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(list(c.category).name());
        ASSERT_GT(list(c.category).count(), 0);
        list(c.category).select(0);

        tick(c.category, "/usr/bin/app");
        ASSERT_EQ(flag(c.category, 0), "1");
        row(c.category).setVisible(!c.cleared);
        check(c.category).setSelected(false, ui::Notify::Yes);
        EXPECT_EQ(row(c.category).isVisible(), c.cleared);
        EXPECT_EQ(flag(c.category, 0), "0");
        EXPECT_EQ(path(c.category, 0), "");
        EXPECT_EQ(linkEdit(c.category), " ");

        row(c.category).setVisible(!c.cancelled);
        tick(c.category, std::nullopt);
        EXPECT_EQ(row(c.category).isVisible(), c.cancelled);
        EXPECT_FALSE(check(c.category).selected());
        EXPECT_EQ(flag(c.category, 0), "0");

        row(c.category).setVisible(!c.noFolder);
        tick(c.category, "app");
        EXPECT_EQ(row(c.category).isVisible(), c.noFolder);
        EXPECT_FALSE(check(c.category).selected());
        EXPECT_EQ(flag(c.category, 0), "0");
        EXPECT_EQ(path(c.category, 0), "");
    }
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(Links, AnApplicationLinkedInTheListAlreadyIsRefusedWhateverItsCase) {
    list(Category::MouseDevice).select(0);
    tick(Category::MouseDevice, "/opt/games/game.bin");
    list(Category::MouseDevice).select(1);
    check(Category::MouseDevice).setSelected(false);

    tick(Category::MouseDevice, "/OPT/Games/GAME.BIN");
    EXPECT_EQ(messages.textIds(), std::vector<std::string>{"message_text_13"});
    EXPECT_FALSE(check(Category::MouseDevice).selected());
    EXPECT_NE(flag(Category::MouseDevice, 1), "1");

    // The mouse device button refuses it too, even for the position that holds it; a refused link
    // leaves the link the position had.
    list(Category::MouseDevice).select(0);
    check(Category::MouseDevice).setSelected(true);
    linkWithButton(Category::MouseDevice, "/opt/games/game.bin");
    EXPECT_EQ(messages.textIds().size(), 2u);
    EXPECT_EQ(flag(Category::MouseDevice, 0), "1");
    EXPECT_EQ(path(Category::MouseDevice, 0), "/opt/games/game.bin");
    EXPECT_TRUE(check(Category::MouseDevice).selected());

    // The same application in another list is another link.
    list(Category::PadLighting).select(0);
    tick(Category::PadLighting, "/opt/games/game.bin");
    EXPECT_EQ(flag(Category::PadLighting, 0), "1");
    EXPECT_EQ(messages.textIds().size(), 2u);
}

TEST_F(Links, TheCancelButtonUnlinksTheActivePositionAndNothingHappensWithoutOne) {
    makeList(Category::MouseDevice, {"profile1", "profile2", "profile3", "fps", "mmo"});
    list(Category::MouseDevice).select(4);
    linkWithButton(Category::MouseDevice, "/opt/mmo/client");
    ASSERT_EQ(flag(Category::MouseDevice, 4), "1");
    ASSERT_TRUE(check(Category::MouseDevice).selected());

    row(Category::MouseDevice).setVisible(false);
    page().click("ms_device_cancle_link_btn");
    EXPECT_EQ(flag(Category::MouseDevice, 4), "0");
    EXPECT_EQ(path(Category::MouseDevice, 4), "");
    EXPECT_FALSE(check(Category::MouseDevice).selected());
    EXPECT_TRUE(row(Category::MouseDevice).isVisible());
    EXPECT_EQ(linkEdit(Category::MouseDevice), " ");

    // With no active entry there is no position to write: no chooser, no key.
    list(Category::KeyboardDevice).select(-1);
    const std::size_t calls = dialogs.calls().size();
    linkWithButton(Category::KeyboardDevice, "/usr/bin/x");
    page().click("kb_device_cancle_link_btn");
    check(Category::KeyboardDevice).setSelected(true, ui::Notify::Yes);
    EXPECT_EQ(dialogs.calls().size(), calls);
    EXPECT_TRUE(profiles::pages::categoryLinks(Category::KeyboardDevice).empty());
}

TEST_F(Links, WithoutAnX11SessionTheCheckSaysWhyLinksDoNotSwitch) {
    platform::FakeHostMouseSettings hostMouse;
    settings::pages::PageContext ctx{
        page(), window->dispatcher(), state, messages, dialogs, colours, hostMouse, *hooks, {}, {}, {}};
    const auto unavailable = platform::makeUnavailableForeground();
    {
        profiles::pages::ApplicationLinks links(ctx, *unavailable, {});
        for (Category c : profiles::pages::kAllCategories)
            EXPECT_EQ(page().find(linkControls(c).check).toolTip(), skin.text("profile_link_no_x11_tip"));
        // Links can still be made: they work in a session that can tell the application in front.
        list(Category::PadLighting).select(0);
        tick(Category::PadLighting, "/usr/bin/app");
        EXPECT_EQ(flag(Category::PadLighting, 0), "1");
        // The handlers registered above die with `links`: the window goes first.
        window.reset();
    }
}

// ---- the watchers, with the test's foreground application

using Watchers = Links;

TEST_F(Watchers, TheLinkedProfileIsActiveWhileItsApplicationIsInFront) {
    makeList(Category::PadLighting, {"profile1", "game"}, 0x30);
    const auto user = payloadOf(Category::PadLighting, "profile1");
    const auto game = payloadOf(Category::PadLighting, "game");
    pick(Category::PadLighting, 1);
    linkWithButton(Category::PadLighting, "/opt/games/Game.bin");
    pick(Category::PadLighting, 0);
    ASSERT_EQ(index(Category::PadLighting).select(), 0);

    foreground->bringToFront("/OPT/GAMES/game.bin");
    ASSERT_TRUE(eventuallyOnUi([&] { return list(Category::PadLighting).current() == 1; }));
    push();
    auto record = device(DeviceClass::Pad).record(0);
    EXPECT_TRUE(std::equal(record.begin() + 1, record.begin() + 21, game.begin() + 1));
    EXPECT_EQ(index(Category::PadLighting).select(), 0) << "the user's choice stays in the index";

    // A foreground process that cannot be inspected keeps the application of the last look.
    // (Only the pad's watcher asks: every look it took has run on the UI thread once the counts agree.)
    platform::clearDebugLines();
    foreground->bringToFront(std::nullopt);
    ASSERT_TRUE(eventuallyOnUi([&] {
        return platform::debugContains("文件名字访问失败") &&
               pages->watchers().cycles(Category::PadLighting) == foreground->reads();
    }));
    EXPECT_EQ(list(Category::PadLighting).current(), 1);

    foreground->bringToFront("/usr/bin/xterm");
    ASSERT_TRUE(eventuallyOnUi([&] { return list(Category::PadLighting).current() == 0; }));
    push();
    record = device(DeviceClass::Pad).record(0);
    EXPECT_TRUE(std::equal(record.begin() + 1, record.begin() + 21, user.begin() + 1));
    EXPECT_EQ(index(Category::PadLighting).select(), 0);

    // Lists without links did no work at all while the application in front changed.
    for (Category c :
         {Category::KeyboardDevice, Category::KeyboardKeys, Category::MouseDevice, Category::MouseKeys})
        EXPECT_EQ(pages->watchers().cycles(c), 0) << list(c).name();
}

TEST_F(Watchers, TheFirstLinkedPositionWinsAndRemovingTheLinkGivesTheUsersChoiceBack) {
    makeList(Category::KeyboardKeys, {"profile1", "fps", "fps2"}, 0x40);
    // The keyboard key list's button lets two positions share an application.
    for (int p : {2, 1}) {
        pick(Category::KeyboardKeys, p);
        linkWithButton(Category::KeyboardKeys, "/opt/fps/run");
    }
    ASSERT_EQ(flag(Category::KeyboardKeys, 1), "1");
    ASSERT_EQ(flag(Category::KeyboardKeys, 2), "1");
    pick(Category::KeyboardKeys, 0);

    foreground->bringToFront("/opt/fps/run");
    ASSERT_TRUE(eventuallyOnUi([&] { return list(Category::KeyboardKeys).current() == 1; }));
    EXPECT_EQ(index(Category::KeyboardKeys).select(), 0);

    // The active entry loses its link while its application stays in front (as a deletion or a hand
    // edit of the index would), then the other one.
    index(Category::KeyboardKeys).setLinkFlag(1, "0");
    pages->watchers().linksChanged(Category::KeyboardKeys);
    ASSERT_TRUE(eventuallyOnUi([&] { return list(Category::KeyboardKeys).current() == 2; }));
    index(Category::KeyboardKeys).setLinkFlag(2, "0");
    pages->watchers().linksChanged(Category::KeyboardKeys);
    ASSERT_TRUE(eventuallyOnUi([&] { return list(Category::KeyboardKeys).current() == 0; }));
    EXPECT_EQ(index(Category::KeyboardKeys).select(), 0);
}

TEST_F(Watchers, AnEmptyListSelectsNothingAndKeepsTheSelectKey) {
    list(Category::PadLighting).clear();
    index(Category::PadLighting).setLinkFlag(0, "1");
    index(Category::PadLighting).setLinkPath(0, "/usr/bin/app");
    index(Category::PadLighting).setSelect(3);
    foreground->bringToFront("/usr/bin/app");
    pages->watchers().linksChanged(Category::PadLighting);
    ASSERT_TRUE(eventuallyOnUi([&] { return pages->watchers().cycles(Category::PadLighting) > 0; }));
    EXPECT_EQ(list(Category::PadLighting).current(), -1);
    EXPECT_EQ(index(Category::PadLighting).select(), 3);
}

TEST_F(Watchers, EveryWatcherEndsAtOnceWhenStoppedAndSaysSo) {
    platform::clearDebugLines();
    ASSERT_EQ(window->workers().stopAll(kWaitBound), shell::WorkerSlots::Outcome::AllEnded);
    for (Category c : profiles::pages::kWatchedCategories)
        EXPECT_TRUE(platform::debugContains(profiles::pages::watcherExitMessage(c))) << list(c).name();
    EXPECT_EQ(profiles::pages::watcherExitMessage(Category::MouseDevice), "鼠标灯光进程侦测线程设定退出");
    EXPECT_EQ(profiles::pages::watcherExitMessage(Category::PadLighting), "鼠标垫灯光进程侦测线程设定退出");
}

TEST(LinkChooser, ARunningApplicationIsTakenFromTheListBesideTheBrowser) {
    ui::QtFileDialogs dialogs(nullptr, [](std::string_view id) { return "text of " + std::string(id); });
    ui::FileDialogRequest request;
    request.folder = "/usr/bin";
    request.executablesOnly = true;
    request.choices = {{"game.bin", "/opt/games/game.bin"}, {"edit", "/usr/bin/edit"}};
    request.choicesTitleId = "profile_link_running_text";
    int rows = -1;
    bool headed = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* list = dialog ? dialog->findChild<QListWidget*>("file_dialog_choices") : nullptr;
        if (!list) return;
        rows = list->count();
        for (const QLabel* label : dialog->findChildren<QLabel*>())
            headed = headed || label->text() == "text of profile_link_running_text";
        emit list->itemDoubleClicked(list->item(0));
    });
    // Whatever happens above, the dialog does not outlive the bound.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget())) open->reject();
    });
    guard.start(kWaitBound);
    EXPECT_EQ(dialogs.openFile(request), "/opt/games/game.bin");
    EXPECT_EQ(rows, 2);
    EXPECT_TRUE(headed);
}

TEST(LinkRules, PathsFollowTheSlashAndCompareWithoutCase) {
    using profiles::pages::LinkedPosition;
    EXPECT_EQ(profiles::pages::linkFileName("/opt/games/Game.bin"), "Game.bin");
    EXPECT_EQ(profiles::pages::linkFileName("Game.bin"), "Game.bin");
    EXPECT_FALSE(profiles::pages::hasFolderSeparator("C:\\Games\\game.exe"));
    const std::vector<LinkedPosition> links{{1, "/opt/A"}, {3, "/opt/a"}, {5, "/opt/b"}};
    EXPECT_EQ(profiles::pages::firstLinkFor(links, "/OPT/A", 10), 1);
    EXPECT_EQ(profiles::pages::firstLinkFor(links, "/opt/b", 10), 5);
    EXPECT_EQ(profiles::pages::firstLinkFor(links, "/opt/b", 5), -1) << "beyond the list";
    EXPECT_EQ(profiles::pages::firstLinkFor(links, "", 10), -1);
    EXPECT_EQ(profiles::pages::firstLinkFor(links, "/opt/ab", 10), -1);
}

} // namespace
} // namespace zq::test
