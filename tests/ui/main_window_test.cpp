// The main window on the real skin, offscreen and without a tray: notification entry, caption buttons,
// the macro-edit guards of the navigation, messages, language, skin window, tray menu and the exit.
#include "device/app_state.h"
#include "platform/data_folders.h"
#include "platform/debug.h"
#include "platform/private_profile.h"
#include "platform/registry.h"
#include "shell/device_wiring.h"
#include "shell/language.h"
#include "shell/main_window.h"
#include "shell/page_dialog.h"
#include "shell/skin_window.h"
#include "shell/tray_menu.h"
#include "shell/worker_slots.h"
#include "sim/sim_backend.h"
#include "support/bounded_wait.h"
#include "ui/dispatcher.h"
#include "ui/file_dialogs.h"
#include "ui/item_style.h"
#include "ui/message_presenter.h"
#include "ui/skin.h"
#include "ui_test_support.h"

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <cstdlib>

namespace zq::shell {
namespace {

// Every test gets its own data and configuration folders.
class ScopedFolders {
public:
    ScopedFolders() {
        setenv("ZQ70_DATA_DIR", (dir_.path() + "/data").toUtf8().constData(), 1);
        setenv("XDG_CONFIG_HOME", (dir_.path() + "/config").toUtf8().constData(), 1);
    }
    ~ScopedFolders() {
        unsetenv("ZQ70_DATA_DIR");
        unsetenv("XDG_CONFIG_HOME");
    }

private:
    QTemporaryDir dir_;
};

class MainWindowTest : public ::testing::Test {
protected:
    ScopedFolders folders;
    ui::Skin skin{test::realSkinFolder()};
    sim::SimBackend backend;
    device::AppState state{backend};
    ui::ScriptedMessagePresenter messages;
    ui::ScriptedFileDialogs dialogs;
    std::unique_ptr<MainWindow> window;

    void SetUp() override {
        ASSERT_TRUE(skin.ok()) << skin.error();
        MainWindow::Options options;
        options.noTray = true;
        window = std::make_unique<MainWindow>(skin, state, messages, dialogs, options);
        ASSERT_TRUE(window->page().ok());
        // windowinit comes from the event loop's first turn.
        QCoreApplication::processEvents();
        ASSERT_TRUE(window->initialised());
    }
    void TearDown() override { window.reset(); }
    ui::Page& page() { return window->page(); }
};

TEST(Dispatcher, NamesIgnoreCaseFamiliesSplitAtTheLastUnderscoreAndTheRestFallsThrough) {
    ui::Dispatcher d;
    std::vector<std::string> ran;
    d.on("click", "ms_key_butt_keysave", [&](const ui::Notification&) { ran.push_back("save"); });
    d.onFamily("click", "ms_profile_",
               [&](const ui::Notification&, int i) { ran.push_back("slot" + std::to_string(i)); });
    d.onUnmatched("click", [&](const ui::Notification& n) { ran.push_back("other:" + n.sender); });
    EXPECT_TRUE(d.dispatch({"click", "MS_KEY_BUTT_KEYSAVE"}));
    EXPECT_TRUE(d.dispatch({"click", "ms_Profile_3"}));
    EXPECT_FALSE(d.dispatch({"click", "ms_profile_x"}));
    EXPECT_FALSE(d.dispatch({"click", "ms_profile_"}));
    EXPECT_FALSE(d.dispatch({"itemselect", "ms_profile_3"}));
    EXPECT_EQ(ran, (std::vector<std::string>{"save", "slot3", "other:ms_profile_x", "other:ms_profile_"}));
    EXPECT_FALSE(ui::Dispatcher::splitIndexed("noindex").has_value());
    EXPECT_EQ(ui::Dispatcher::splitIndexed("kb_key_125")->second, 125);
    EXPECT_FALSE(ui::Dispatcher::splitIndexed("kb_key_99999999999").has_value());
}

TEST_F(MainWindowTest, WithoutATrayTheWindowShowsItselfAndCloseButtonOnlyMinimises) {
    EXPECT_FALSE(window->hasTray());
    EXPECT_TRUE(window->window()->isVisible());
    page().click("closebtn");
    EXPECT_TRUE(window->window()->isMinimized());
    EXPECT_FALSE(window->exiting());
}

TEST_F(MainWindowTest, TheCaptionBarIsTheOnlyTitleBarAndDraggingItMovesTheWindow) {
    QWidget* w = window->window();
    EXPECT_TRUE(w->windowFlags().testFlag(Qt::FramelessWindowHint));
    QWidget* title = page().find("caption_title").widget();
    ASSERT_NE(title, nullptr);
    const QPoint before = w->pos();
    const QPoint grab = title->mapToGlobal(QPoint(5, 5));
    QTest::mousePress(title, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(45, 35), QPointF(grab + QPoint(40, 30)), Qt::NoButton,
                     Qt::LeftButton, {});
    QCoreApplication::sendEvent(title, &move);
    QTest::mouseRelease(title, Qt::LeftButton, {}, QPoint(45, 35));
    EXPECT_EQ(w->pos() - before, QPoint(40, 30));
    // A button on the bar keeps its press: it does not start a move.
    QWidget* minimise = page().find("minbtn").widget();
    ASSERT_NE(minimise, nullptr);
    QTest::mousePress(minimise, Qt::LeftButton);
    QTest::mouseRelease(minimise, Qt::LeftButton);
    EXPECT_EQ(w->pos() - before, QPoint(40, 30));
}

TEST_F(MainWindowTest, EditingAMouseMacroHoldsTheNavigationOnTheMacroTab) {
    page().option("ms_tab").setSelected(true, ui::Notify::Yes);
    page().option("ms_macro_Op_tab").setSelected(true, ui::Notify::Yes);
    page().find("ms_macro_tab_saveorcancel").setVisible(true);
    messages.clear();
    for (const char* other : {"kb_tab", "ms_deng_Op_tab", "KB_TAB"}) {
        page().click(other);
        EXPECT_TRUE(page().option("ms_tab").selected()) << other;
        EXPECT_TRUE(page().option("ms_macro_Op_tab").selected()) << other;
        EXPECT_EQ(page().tabs("tab_switch").current(), 1) << other;
    }
    EXPECT_EQ(messages.textIds(), (std::vector<std::string>(3, "message_text_3")));
    // Once the edit ends the tabs move again.
    page().find("ms_macro_tab_saveorcancel").setVisible(false);
    page().click("kb_tab");
    EXPECT_EQ(page().tabs("tab_switch").current(), 0);
}

TEST_F(MainWindowTest, EditingAKeyboardMacroBringsTheKeyboardTabBack) {
    page().option("kb_tab").setSelected(true, ui::Notify::Yes);
    page().option("kb_macro_Op_tab").setSelected(true, ui::Notify::Yes);
    page().find("kb_macro_tab_saveorcancel").setVisible(true);
    page().find("kb_tab").setVisible(false);
    messages.clear();
    page().click("ms_tab");
    EXPECT_TRUE(page().option("kb_tab").selected());
    EXPECT_TRUE(page().find("kb_tab").isVisible());
    EXPECT_EQ(page().tabs("tab_switch").current(), 0);
    EXPECT_EQ(messages.textIds(), std::vector<std::string>{"message_text_3"});
}

TEST_F(MainWindowTest, EditsOpenOnBothMacroPagesHoldTheMouseOneWithoutUndoingEachOther) {
    // Both edits open (the mouse page's was left open when its tab went with the device): putting one
    // page's tabs back must not set off the other's guard, and that one's again, without end.
    page().option("ms_tab").setSelected(true, ui::Notify::Yes);
    page().option("ms_macro_Op_tab").setSelected(true, ui::Notify::Yes);
    page().find("ms_macro_tab_saveorcancel").setVisible(true);
    page().find("kb_macro_tab_saveorcancel").setVisible(true);
    messages.clear();
    page().click("kb_tab");
    EXPECT_TRUE(page().option("ms_tab").selected());
    EXPECT_TRUE(page().option("ms_macro_Op_tab").selected());
    EXPECT_EQ(messages.textIds(), std::vector<std::string>{"message_text_3"});
}

TEST_F(MainWindowTest, NavigationRemovesTheRecordingHooksAndTheReportRateTabAsksThePage) {
    int removed = 0, reselected = 0;
    window->hooks.removeRecordingHooks = [&] { ++removed; };
    window->hooks.performanceTab = [&] { ++reselected; };
    page().click("kb_tab");
    page().click("ms_tab");
    page().click("ms_rich_Op_tab");
    EXPECT_EQ(removed, 3);
    EXPECT_EQ(reselected, 1);
    EXPECT_EQ(page().tabs("ms_tab_switch").current(), 3);
}

TEST_F(MainWindowTest, SelectionsNoTableNamesGoOnAfterTheNavigation) {
    std::vector<std::string> after;
    window->dispatcher().on(ui::kSelectChangedAfterNavigation, "kb_Deng_all_kill_check",
                            [&](const ui::Notification& n) { after.push_back(n.sender); });
    page().option("kb_Deng_all_kill_check").setSelected(true, ui::Notify::Yes);
    EXPECT_EQ(after, std::vector<std::string>{"kb_Deng_all_kill_check"});
}

TEST_F(MainWindowTest, VisibilityTogglesAndHoverFeedback) {
    ui::Control panel = page().find("ms_profile_fun_spead_tab");
    const bool before = panel.isVisible();
    page().click("ms_profile_fun_spread_btn");
    EXPECT_NE(panel.isVisible(), before);
    page().click("ms_profile_fun_spread_btn");
    EXPECT_EQ(panel.isVisible(), before);

    page().hover("ms_key_2", true);
    EXPECT_EQ(page().find("ms_key_2_0").bkImage(), "file='ms/key_right_down.png'");
    page().hover("ms_key_2", false);
    EXPECT_EQ(page().find("ms_key_2_0").bkImage(), "file='ms/key_right_normal.png'");
    page().hover("ms_DPIcolor_btn_3", true);
    EXPECT_EQ(page().find("ms_DPIcolor_btn_3").borderWidth(), 2);
    page().hover("ms_DPIcolor_btn_3", false);
    EXPECT_EQ(page().find("ms_DPIcolor_btn_3").borderWidth(), 0);
}

TEST_F(MainWindowTest, MessagesReachTheirHandlersOnTheUiThread) {
    std::vector<int> seen;
    window->setMessageHandler(AppMessage::MouseFullReadBack,
                              [&](std::intptr_t w, std::intptr_t) { seen.push_back(static_cast<int>(w)); });
    platform::Event stop;
    zq::test::BoundedThread worker([&] { window->send(AppMessage::MouseFullReadBack, stop, 7); });
    // The sender waits for the UI thread; run its queue until the handler ran (bounded).
    for (int i = 0; i < 1000 && seen.empty(); ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    worker.join();
    EXPECT_EQ(seen, std::vector<int>{7});

    // A sender whose stop event is set does not wait for a UI thread that is busy joining it.
    stop.set();
    zq::test::BoundedThread late([&] { EXPECT_FALSE(window->send(AppMessage::MouseFullReadBack, stop, 8)); });
    late.join();
    EXPECT_EQ(seen.size(), 1u);
}

TEST_F(MainWindowTest, ProgressShowsAndTheLastDeviceGoneSaysSoBriefly) {
    window->handle(AppMessage::ShowProgress, 0, 0);
    EXPECT_TRUE(page().find("setting_progress").isVisible());
    window->handle(AppMessage::ProgressDone, 0, 0);
    EXPECT_TRUE(window->timerActive(1));
    messages.clear();
    window->handle(AppMessage::LastDeviceGone, 0, 0);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].transient);
    EXPECT_EQ(messages.shown()[0].text, "message_text_20");
}

TEST_F(MainWindowTest, BringUpWithoutADeviceSaysSoAndWithOneShowsTheWindow) {
    messages.clear();
    window->handle(AppMessage::BringUp, 0, 0);
    EXPECT_EQ(messages.textIds(), std::vector<std::string>{"message_text_1"});
    state.mouseLink.open = true;
    window->window()->showMinimized();
    messages.clear();
    window->handle(AppMessage::BringUp, 0, 0);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_TRUE(window->isShown());
    state.mouseLink.open = false;
}

TEST_F(MainWindowTest, TheSettingsPushWaitsForADirtyFlag) {
    int pushes = 0;
    window->hooks.settingsPush = [&] { ++pushes; };
    EXPECT_FALSE(window->timerActive(2));
    state.markDirty(device::DeviceClass::Mouse);
    EXPECT_TRUE(window->timerActive(2));
    state.markDirty(device::DeviceClass::Pad); // one tick serves every flag set before it
    EXPECT_TRUE(window->timerActive(2));
}

TEST_F(MainWindowTest, MenuCommandsSwitchLanguageAndUnknownItemsShowTheirText) {
    window->menuCommand("lan_cn", "");
    EXPECT_EQ(mainIniLanguage(), "1");
    EXPECT_EQ(platform::readRegistryValue(platform::kLanguageValue).value, "1010");
    EXPECT_EQ(window->languageName(), "en");
    messages.clear();
    window->menuCommand("qianting", "ignored");
    window->menuCommand("something_else", "A ready text");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_FALSE(messages.shown()[0].isTextId);
    EXPECT_EQ(messages.shown()[0].text, "A ready text");
}

TEST_F(MainWindowTest, OurMenuItemsShowTheirTextOfTheMomentAndRunTheirAction) {
    bool on = false;
    window->addMenuItem(
        "start_at_login", [&] { return std::string(on ? "✓ Start at login" : "Start at login"); },
        [&] { on = !on; });
    ASSERT_EQ(window->extraMenuItems().size(), 1u);
    EXPECT_EQ(window->extraMenuItems()[0].text, "Start at login");
    window->menuCommand("Start_At_Login", "Start at login");
    EXPECT_TRUE(on);
    EXPECT_EQ(window->extraMenuItems()[0].text, "✓ Start at login");
    EXPECT_TRUE(messages.shown().empty()) << "an item of ours is not an unknown item";
}

TEST_F(MainWindowTest, ADeviceThisUserMayNotOpenIsToldOnceWithTheCommandsThatAllowIt) {
    DeviceWiring wiring(*window, backend);
    messages.clear();
    wiring.linkErrorChanged(device::DeviceClass::Mouse, device::LinkError::Permission);
    wiring.linkErrorChanged(device::DeviceClass::Mouse, device::LinkError::Permission);
    QCoreApplication::processEvents();
    ASSERT_EQ(messages.shown().size(), 1u);
    const std::string& text = messages.shown()[0].text;
    EXPECT_NE(text.find("mouse"), std::string::npos) << text;
    EXPECT_NE(text.find("70-zephran-q70.rules /etc/udev/rules.d/"), std::string::npos) << text;
    EXPECT_NE(text.find("udevadm trigger --subsystem-match=hidraw"), std::string::npos) << text;
    EXPECT_NE(window->trayToolTip().find("mouse"), std::string::npos);

    wiring.linkErrorChanged(device::DeviceClass::Mouse, device::LinkError::None);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->trayToolTip(), "ZEPHRAN Q70");
    // The rule of the source tree is found for a program run from its build.
    EXPECT_TRUE(std::filesystem::is_regular_file(udevRuleFile("/nonexistent")));
}

TEST_F(MainWindowTest, TheTrayMenuEndsWithExitInTheLanguageOfMainIni) {
    EXPECT_EQ(TrayMenu::exitText("0"), "close");
    EXPECT_EQ(TrayMenu::exitText("1"), "关闭");
    EXPECT_EQ(TrayMenu::exitText("2"), "");
    std::vector<std::string> clicked;
    TrayMenu menu(
        skin, "1", {{"sim_panel", "Simulated devices"}},
        [&](const std::string& name, const std::string& text) { clicked.push_back(name + "=" + text); });
    EXPECT_EQ(menu.page().find("exit").text(), "关闭");
    menu.page().click("exit");
    menu.page().click("sim_panel");
    menu.page().click("lan_en");
    EXPECT_EQ(clicked.size(), 3u);
    EXPECT_EQ(clicked[0], "exit=关闭");
    EXPECT_EQ(clicked[1], "sim_panel=Simulated devices");
}

TEST_F(MainWindowTest, ExitStopsEveryThreadAndLeavesNoneRunning) {
    platform::clearDebugLines();
    std::atomic<int> ended{0};
    for (int slot : {1, 2, 13})
        window->workers().start(slot, [&](platform::Event& stop) {
            stop.wait();
            ++ended;
        });
    window->requestExit();
    EXPECT_EQ(ended, 3);
    EXPECT_TRUE(platform::debugContains("退出测试"));
    EXPECT_TRUE(platform::debugContains("所有对象处于激发状态"));
    EXPECT_FALSE(window->workers().leftBehind());
}

TEST(WorkerSlots, AThreadThatOverstaysIsLeftBehindNotWaitedFor) {
    // Shared with the thread: it outlives this test.
    auto release = std::make_shared<platform::Event>();
    WorkerSlots workers;
    ASSERT_TRUE(workers.start(4, [release](platform::Event&) { release->wait(std::chrono::seconds(10)); }));
    EXPECT_FALSE(workers.start(4, [](platform::Event&) {}));
    EXPECT_FALSE(workers.start(15, [](platform::Event&) {}));
    EXPECT_FALSE(workers.start(0, [](platform::Event&) {}));
    EXPECT_EQ(workers.stopAll(std::chrono::milliseconds(20)), WorkerSlots::Outcome::TimedOut);
    EXPECT_TRUE(workers.leftBehind());
    release->set(); // the detached thread ends on its own
}

TEST(Language, TheRegistryAndMainIniChooseTheLanguage) {
    ScopedFolders folders;
    platform::clearDebugLines();
    registryLanguageStep();
    EXPECT_TRUE(platform::debugContains("读注册表失败了"));
    EXPECT_EQ(mainIniLanguage(), "1"); // unchanged: the default

    platform::writeRegistryValue(platform::kLanguageValue, "2020");
    registryLanguageStep();
    EXPECT_EQ(mainIniLanguage(), "1");
    platform::writeRegistryValue(platform::kLanguageValue, "1010");
    registryLanguageStep();
    EXPECT_EQ(mainIniLanguage(), "0");

    const struct {
        const char* value;
        const char* name;
    } cases[] = {{"0", "en"}, {"1", "en"}, {"2", "cn_tw"}, {"", "cn_tw"}};
    for (const auto& c : cases) {
        EXPECT_EQ(languageFor(c.value).name, c.name) << c.value;
        EXPECT_EQ(languageFor(c.value).file, "lan_en.xml");
    }
}

TEST_F(MainWindowTest, SkinWindowChoicesReachTheRootAndPicturesAreRemembered) {
    PageDialog* skinWindow = openSkinWindow(skin, window->window(), nullptr, dialogs);
    ui::Page& p = skinWindow->page();
    const auto pictures = p.findAll("skin_image_btn");
    ASSERT_EQ(pictures.size(), 4u);
    // The second of four buttons of one name: its own picture, not the first one's.
    QMetaObject::invokeMethod(pictures[1].widget(), "click");
    const std::string chosen = pictures[1].userData();
    EXPECT_NE(chosen, pictures[0].userData());
    EXPECT_EQ(page().find("root").bkImage(), chosen);
    EXPECT_EQ(readRememberedSkin().picture, chosen);

    const auto colours = p.findAll("skin_color_btn");
    ASSERT_EQ(colours.size(), 8u);
    QMetaObject::invokeMethod(colours[5].widget(), "click");
    EXPECT_EQ(page().find("root").bkColor(), colours[5].bkColor());
    EXPECT_EQ(page().find("root").bkImage(), "");
    EXPECT_EQ(readRememberedSkin().picture, chosen); // colours are not remembered

    dialogs.answer(std::string("/tmp/own.png"));
    p.click("skin_Custom");
    EXPECT_EQ(page().find("root").bkImage(), "/tmp/own.png");
    EXPECT_TRUE(readRememberedSkin().usePicture);

    PageDialog* again = openSkinWindow(skin, window->window(), nullptr, dialogs);
    again->page().click("skin_reset");
    EXPECT_FALSE(readRememberedSkin().usePicture);
    EXPECT_EQ(platform::readProfileString(mainIniFile(), "SKINIMAGE", "IMAGE", ""), "common/background.png");
    again->done(0);
    QCoreApplication::processEvents();
}

} // namespace
} // namespace zq::shell

namespace zq::ui {
namespace {

TEST(OnDemandPages, ASubLayoutIsBuiltWhenOneOfItsControlsIsNeededOrItShows) {
    Skin skin(test::realSkinFolder());
    Page page(skin, "XML_MAIN", nullptr, Page::SubLayouts::OnDemand);
    std::vector<std::string> built;
    page.onSubLayoutLoaded([&](const std::string& layout) { built.push_back(layout); });
    std::vector<std::string> seen;
    page.setHandler([&](const Notification& n) { seen.push_back(n.type + " " + n.sender); });

    // Controls of the page itself are there; those of its sub-layouts are not built yet.
    EXPECT_TRUE(page.findLoaded("tab_switch").exists());
    EXPECT_FALSE(page.findLoaded("kb_Deng_all_kill_check").exists());
    EXPECT_FALSE(page.find("no_such_control").exists());
    EXPECT_TRUE(built.empty()) << "a name no layout has builds nothing";

    // Looking for one builds its sub-layout, and only that one; its controls report as any other.
    page.option("kb_Deng_all_kill_check").setSelected(true, Notify::Yes);
    EXPECT_EQ(built, std::vector<std::string>{"keyboard_deng.xml"});
    EXPECT_EQ(seen, std::vector<std::string>{"selectchanged kb_Deng_all_kill_check"});
    EXPECT_FALSE(page.findLoaded("ms_dkey_0").exists());

    // Showing a holder builds what it holds, with the language's texts.
    page.root()->show();
    page.tabs("tab_switch").selectPage(1);
    page.tabs("ms_tab_switch").selectPage(0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(page.findLoaded("ms_dkey_0").exists());
    page.loadAll();
    for (const char* name :
         {"ms_tab_function", "kb_tab_function", "ms_DPIcolor_btn_3", "ms_macro_tab_saveorcancel"})
        EXPECT_TRUE(page.findLoaded(name).exists()) << name;
}

TEST(ItemStyles, NamedStylesHaveALookAndOthersDrawPlain) {
    for (const char* style : {"listex_item_style", "macro_label_mouse_style", "macro_label_keyboard_style",
                              "macro_label_text_style", "macro_label_down_style", "macro_label_up_style"})
        EXPECT_NE(itemLook(QString::fromLatin1(style)), nullptr) << style;
    EXPECT_EQ(itemLook(QStringLiteral("no_such_style")), nullptr);
}

} // namespace
} // namespace zq::ui
