// "ui ..." on the real main layout: each command raises what the user's action raises, in order, before
// it returns; what a user could not do is refused with nothing raised; message boxes and file dialogs
// answer from the queue and never open.
#include "platform/injected_input_hooks.h"
#include "shell/control/ui_commands.h"
#include "ui/page.h"
#include "ui/skin.h"

#include <QJsonArray>
#include <QWidget>

#include <gtest/gtest.h>

namespace zq::control {
namespace {

std::string skinFolder() {
    return std::string(ZQ_SOURCE_DIR) + "/skin";
}

class UiCommands : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(main.ok()) << main.error();
        ASSERT_TRUE(skinPage.ok()) << skinPage.error();
        main.setHandler([this](const ui::Notification& n) { seen.push_back(n.type + ":" + n.sender); });
        skinPage.setHandler(
            [this](const ui::Notification& n) { seen.push_back("skin " + n.type + ":" + n.sender); });
    }
    Reply ui(std::vector<std::string> args) {
        seen.clear();
        return runUiCommand(pages, dialogs, args);
    }
    QJsonObject get(const std::string& name) {
        const Reply r = ui({"get", name});
        EXPECT_TRUE(r.ok) << r.error;
        return r.fields;
    }

    ui::Skin skin{skinFolder()};
    ui::Page main{skin, "XML_MAIN"};
    ui::Page skinPage{skin, "skin.xml"};
    AutomationDialogs dialogs;
    PageSource pages = [this] { return std::vector<ui::Page*>{&main, &skinPage}; };
    std::vector<std::string> seen;
};

using Seen = std::vector<std::string>;

TEST_F(UiCommands, EachCommandRaisesWhatTheUsersActionRaises) {
    main.option("ms_tab").setSelected(true);
    ASSERT_FALSE(main.option("kb_tab").selected());
    Reply r = ui({"click", "kb_tab"});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(seen, (Seen{"click:kb_tab", "selectchanged:kb_tab"}));
    r = ui({"click", "kb_tab"});
    EXPECT_EQ(seen, (Seen{"click:kb_tab"})) << "a selected option clicked again stays as it is";

    ui::ListLike list = main.list("ms_device_profile_combo");
    list.clear();
    for (const char* item : {"profile1", "profile2", "profile3"}) list.add(item);
    list.select(0);
    r = ui({"select", "ms_device_profile_combo", "2"});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(seen, (Seen{"itemselect:ms_device_profile_combo"}));
    EXPECT_EQ(list.current(), 2);
    r = ui({"select", "ms_device_profile_combo", "2"});
    EXPECT_EQ(seen, Seen{}) << "the same item again changes nothing";

    main.option("ms_device_profile_link_check").setSelected(false);
    r = ui({"check", "ms_device_profile_link_check", "on"});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(seen, (Seen{"selectchanged:ms_device_profile_link_check"}));
    EXPECT_TRUE(main.option("ms_device_profile_link_check").selected());

    main.slider("ms_deng_light_slider").setValue(4);
    r = ui({"slide", "ms_deng_light_slider", "1"});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(seen, (Seen{"valuechanged:ms_deng_light_slider"}));
    EXPECT_EQ(main.slider("ms_deng_light_slider").value(), 1);

    r = ui({"type", "ms_device_profile_name_edit", "My profile"});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(seen,
              (Seen{"textchanged:ms_device_profile_name_edit", "killfocus:ms_device_profile_name_edit"}));
    EXPECT_EQ(main.find("ms_device_profile_name_edit").text(), "My profile");

    // Names are found without regard to case, and in the next page when the first lacks them.
    r = ui({"click", "MS_TAB"});
    EXPECT_TRUE(r.ok);
    r = ui({"click", "skin_color"});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(seen.at(0), "skin click:skin_color");
}

TEST_F(UiCommands, WhatAUserCouldNotDoIsRefusedAndRaisesNothing) {
    main.find("ms_device_profile_name_edit").setEnabled(false);
    main.edit("ms_Deng_edit_R").setNumbersOnly(0, 255);
    main.edit("kb_device_profile_link_edit").setReadOnly(true);
    main.slider("ms_deng_light_slider").setRange(0, 4);
    const std::string redBefore = main.find("ms_Deng_edit_R").text();
    const struct {
        std::vector<std::string> args;
        bool usage;
        const char* error;
    } cases[] = {
        {{"click", "no_such_control"}, false, "no control named"},
        {{"type", "ms_device_profile_name_edit", "x"}, false, "disabled"},
        {{"type", "ms_Deng_edit_R", "red"}, false, "does not take"},
        {{"type", "kb_device_profile_link_edit", "x"}, false, "read-only"},
        {{"type", "ms_tab", "x"}, false, "not an edit"},
        {{"select", "ms_tab", "0"}, false, "not a list or combo"},
        {{"select", "ms_device_profile_combo", "99"}, false, "no item 99"},
        {{"select", "ms_device_profile_combo", "-1"}, true, "index"},
        {{"select", "ms_device_profile_combo", "first"}, true, "index"},
        {{"check", "ms_device_profile_link_check", "yes"}, true, "on or off"},
        {{"check", "ms_device_profile_combo", "on"}, false, "not an option"},
        {{"slide", "ms_deng_light_slider", "5"}, false, "outside"},
        {{"slide", "ms_deng_light_slider", "2.5"}, true, "whole number"},
        {{"slide", "ms_tab", "1"}, false, "not a slider"},
        {{"click"}, true, "wrong number"},
        {{"type", "ms_device_profile_name_edit"}, true, "wrong number"},
        {{"get", "a", "b"}, true, "wrong number"},
        {{"press", "ms_tab"}, true, "unknown subcommand"},
        {{}, true, "subcommand"},
        {{"answer", "relative/file.config"}, true, "absolute"},
        {{"answer", ""}, true, "ok, cancel"},
    };
    for (const auto& c : cases) {
        std::string joined;
        for (const auto& a : c.args) joined += a + " ";
        SCOPED_TRACE(joined);
        const Reply r = ui(c.args);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.usage, c.usage);
        EXPECT_NE(r.error.find(c.error), std::string::npos) << r.error;
        EXPECT_EQ(seen, Seen{});
    }
    EXPECT_EQ(main.find("ms_Deng_edit_R").text(), redBefore);
    EXPECT_EQ(dialogs.pendingAnswers(), 0u);
    EXPECT_TRUE(ui({"type", "ms_Deng_edit_R", "12"}).ok) << "what the edit takes is typed";
}

TEST_F(UiCommands, GetReportsTheControlAsTheUserSeesIt) {
    ui::ListLike list = main.list("ms_device_profile_combo");
    list.clear();
    list.add("one");
    list.add("two");
    list.select(1);
    QJsonObject o = get("ms_device_profile_combo");
    EXPECT_EQ(o.value("exists"), QJsonValue(true));
    EXPECT_EQ(o.value("enabled"), QJsonValue(true));
    EXPECT_EQ(o.value("count"), QJsonValue(2));
    EXPECT_EQ(o.value("current"), QJsonValue(1));
    EXPECT_EQ(o.value("items"), QJsonValue(QJsonArray{"one", "two"}));
    EXPECT_TRUE(o.value("value").isNull());
    EXPECT_TRUE(o.value("selected").isNull());

    main.slider("ms_deng_light_slider").setValue(3);
    o = get("ms_deng_light_slider");
    EXPECT_EQ(o.value("value"), QJsonValue(3));
    EXPECT_TRUE(o.value("count").isNull());

    main.option("ms_device_profile_link_check").setSelected(true);
    EXPECT_EQ(get("ms_device_profile_link_check").value("selected"), QJsonValue(true));

    main.find("ms_device_profile_name_edit").setText("abc");
    EXPECT_EQ(get("ms_device_profile_name_edit").value("text"), QJsonValue("abc"));

    // Visible means: shows when its window shows. A hidden parent hides it; the window itself does not.
    ui::Control edit = main.find("ms_device_profile_name_edit");
    edit.setVisible(true);
    EXPECT_EQ(get("ms_device_profile_name_edit").value("visible"), QJsonValue(true));
    QWidget* parent = edit.widget()->parentWidget();
    ASSERT_NE(parent, main.root());
    parent->hide();
    EXPECT_EQ(get("ms_device_profile_name_edit").value("visible"), QJsonValue(false));
    parent->show();
    edit.setEnabled(false);
    EXPECT_EQ(get("ms_device_profile_name_edit").value("enabled"), QJsonValue(false));

    o = get("no_such_control");
    EXPECT_EQ(o.value("exists"), QJsonValue(false));
    EXPECT_EQ(o.value("visible"), QJsonValue(false));
    for (const char* field : {"enabled", "text", "value", "current", "selected", "count", "items"})
        EXPECT_TRUE(o.contains(field)) << field;
}

TEST_F(UiCommands, MessageBoxesAndFileDialogsAnswerFromTheQueue) {
    ui::MessagePresenter& box = dialogs;
    ui::FileDialogs& files = dialogs;
    const ui::FileDialogRequest save{"Export", "Profiles|*.config", "config", "profile.config", "/data"};
    const ui::FileDialogRequest open{"Import", "Profiles|*.config", "config", "*.config", "/data"};

    // Nothing queued: a box says OK, a dialog cancels.
    EXPECT_EQ(box.showMessage("message_text_3"), 1);
    EXPECT_EQ(files.openFile(open), std::nullopt);
    // Queued answers go to whatever asks next, in order.
    for (const char* a : {"cancel", "ok", "/home/u/out", "ok", "ok", "/tmp/in.config", "/tmp/any"})
        ASSERT_TRUE(ui({"answer", a}).ok);
    EXPECT_EQ(box.showMessage("message_text_4"), 0);
    EXPECT_EQ(box.showText("Ready text"), 1);
    EXPECT_EQ(files.saveFile(save), "/home/u/out.config") << "the default extension is added";
    EXPECT_EQ(files.saveFile(save), "/data/profile.config") << "ok takes the suggested name";
    EXPECT_EQ(files.openFile(open), std::nullopt) << "a pattern is no name to take";
    EXPECT_EQ(files.openFile(open), "/tmp/in.config");
    EXPECT_EQ(box.showTransientMessage(), 0) << "a box that closes itself takes no answer";
    EXPECT_EQ(box.showMessage("message_text_5"), 1) << "a path confirms a box";
    EXPECT_EQ(dialogs.pendingAnswers(), 0u);

    Reply r = ui({"messages"});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.fields.value("messages"),
              QJsonValue(QJsonArray{"message_text_3", "message_text_4", "Ready text", "message_text_20",
                                    "message_text_5"}));
    EXPECT_EQ(r.fields.value("dialogs").toArray().size(), 5);
    EXPECT_EQ(r.fields.value("dialogs").toArray().at(1).toObject().value("answer"),
              QJsonValue("/home/u/out.config"));
    r = ui({"messages"});
    EXPECT_EQ(r.fields.value("messages"), QJsonValue(QJsonArray{})) << "read and cleared";
}

TEST_F(UiCommands, ThePaletteAnswersFromItsOwnQueue) {
    ui::ColourPicker& palette = dialogs;
    // Nothing queued: the dialog is cancelled and the opener keeps its colour.
    EXPECT_EQ(palette.pick(0xFF112233), std::nullopt);
    for (const char* a : {"#00FF80", "cancel", "0x80102030"}) ASSERT_TRUE(ui({"palette", a}).ok) << a;
    // A message box in between takes nothing from the palette's queue.
    EXPECT_EQ(static_cast<ui::MessagePresenter&>(dialogs).showMessage("message_text_3"), 1);
    EXPECT_EQ(palette.pick(0xFF000000), 0xFF00FF80u) << "#RRGGBB is opaque";
    EXPECT_EQ(palette.pick(0xFF000000), std::nullopt);
    EXPECT_EQ(palette.pick(0xFF000000), 0x80102030u);
    for (const char* bad : {"red", "#12345", "#1234567", "0x12", "ok"}) {
        const Reply r = ui({"palette", bad});
        EXPECT_FALSE(r.ok) << bad;
    }
    EXPECT_EQ(dialogs.pendingPaletteAnswers(), 0u);
    const QJsonArray opened = ui({"messages"}).fields.value("palettes").toArray();
    ASSERT_EQ(opened.size(), 4);
    EXPECT_EQ(opened.at(0).toObject().value("opened"), QJsonValue("#FF112233"));
    EXPECT_EQ(opened.at(0).toObject().value("answer"), QJsonValue());
    EXPECT_EQ(opened.at(1).toObject().value("answer"), QJsonValue("#FF00FF80"));
}

TEST_F(UiCommands, KeysAndButtonsReachTheRunningCaptureOnly) {
    platform::InjectedInputHooks hooks;
    const auto run = [&](std::vector<std::string> args) {
        return runUiCommand(pages, dialogs, args, &hooks);
    };
    EXPECT_FALSE(run({"key", "0x41"}).ok) << "nothing listens yet";
    std::vector<platform::KeyHookEvent> keys;
    std::vector<platform::MouseHookEvent> buttons;
    hooks.install(platform::HookMode::Recording,
                  {[&](const platform::KeyHookEvent& k) { keys.push_back(k); },
                   [&](const platform::MouseHookEvent& m) { buttons.push_back(m); }});
    EXPECT_TRUE(run({"key", "0x41"}).ok);
    EXPECT_TRUE(run({"key", "13", "ext", "up"}).ok);
    EXPECT_TRUE(run({"mouse", "forward", "down"}).ok);
    EXPECT_EQ(keys, (std::vector<platform::KeyHookEvent>{{0x41, 0}, {0x0D, 0x81}}));
    EXPECT_EQ(buttons, (std::vector<platform::MouseHookEvent>{{platform::MouseHookButton::Forward, true}}));
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"key"},
                                                {"key", "0"},
                                                {"key", "0x200"},
                                                {"key", "A"},
                                                {"key", "65", "down"},
                                                {"mouse", "wheel", "down"},
                                                {"mouse", "left", "pressed"},
                                                {"mouse", "left"}})
        EXPECT_FALSE(run(bad).ok) << bad.size();
    EXPECT_EQ(keys.size(), 2u);
    hooks.removeAll();
    EXPECT_FALSE(run({"mouse", "left", "down"}).ok);
    EXPECT_FALSE(ui({"key", "0x41"}).ok) << "without a capture to feed, keys are refused";
}

TEST_F(UiCommands, OnlyScriptedRunsTakeThem) {
    for (const auto& [modes, allowed] :
         {std::pair{Modes{false, false}, false}, {Modes{false, true}, true}, {Modes{true, false}, true}}) {
        CommandTable table(modes);
        registerUiCommands(table, main, dialogs);
        seen.clear();
        const Reply r = table.run({"ui", "click", "kb_tab"});
        EXPECT_EQ(r.ok, allowed) << r.error;
        EXPECT_EQ(seen.empty(), !allowed);
    }
}

} // namespace
} // namespace zq::control
