#include "shell/control/ui_commands.h"

#include "platform/injected_input_hooks.h"
#include "ui/control.h"
#include "ui/notification.h"
#include "ui/page.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QJsonArray>
#include <QLineEdit>
#include <QListWidget>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTreeWidget>
#include <QValidator>

#include <algorithm>
#include <iterator>
#include <utility>

namespace zq::control {

namespace {

using Args = CommandTable::Args;

constexpr const char* kUsage =
    "ui click NAME; ui select NAME INDEX; ui check NAME on|off; ui slide NAME VALUE; "
    "ui type NAME TEXT; ui get NAME; ui messages; ui answer ok|cancel|PATH; ui palette #RRGGBB|cancel";

Reply usage(const std::string& what) {
    return Reply::usageError(what + " (usage: " + kUsage + ")");
}

struct Found {
    ui::Page* page = nullptr;
    ui::Control control;
};

Found lookUp(const PageSource& pages, const std::string& name) {
    if (!pages) return {};
    for (ui::Page* page : pages()) {
        if (!page) continue;
        if (ui::Control c = page->find(name); c.exists()) return {page, c};
    }
    return {};
}

bool isList(QWidget* w) {
    return qobject_cast<QComboBox*>(w) || qobject_cast<QListWidget*>(w) || qobject_cast<QTreeWidget*>(w);
}
bool isTabs(QWidget* w) {
    return qobject_cast<QStackedWidget*>(w) || qobject_cast<QTabWidget*>(w);
}
bool isOption(QWidget* w) {
    auto* b = qobject_cast<QAbstractButton*>(w);
    return b && b->isCheckable();
}

// The control a command acts on: it must exist, be of the kind, and take user input now.
bool actionTarget(const PageSource& pages, const std::string& name, bool (*kindOk)(QWidget*),
                  const char* kindName, Found& found, Reply& why) {
    found = lookUp(pages, name);
    if (!found.page) {
        why = Reply::failure("no control named '" + name + "'");
        return false;
    }
    QWidget* w = found.control.widget();
    if (kindOk && !kindOk(w)) {
        why = Reply::failure("'" + name + "' is " + found.control.kind() + ", not " + kindName);
        return false;
    }
    if (!w->isEnabled()) {
        why = Reply::failure("'" + name + "' is disabled");
        return false;
    }
    return true;
}

Reply click(const PageSource& pages, const std::string& name) {
    Found f;
    Reply why;
    if (!actionTarget(pages, name, nullptr, nullptr, f, why)) return why;
    f.page->click(name);
    return Reply::success();
}

Reply select(const PageSource& pages, const std::string& name, const std::string& indexText) {
    long long index = 0;
    if (!parseInt(indexText, 0, 1'000'000, index))
        return usage("the index is a number from 0, not '" + indexText + "'");
    Found f;
    Reply why;
    if (!actionTarget(pages, name, isList, "a list or combo", f, why)) return why;
    ui::ListLike list = f.page->list(name);
    if (index >= list.count())
        return Reply::failure("'" + name + "' has " + std::to_string(list.count()) +
                              " items; there is no item " + std::to_string(index));
    list.select(static_cast<int>(index), ui::Notify::Yes);
    return Reply::success({{"current", list.current()}});
}

Reply check(const PageSource& pages, const std::string& name, const std::string& state) {
    if (state != "on" && state != "off") return usage("the state is on or off, not '" + state + "'");
    Found f;
    Reply why;
    if (!actionTarget(pages, name, isOption, "an option or check box", f, why)) return why;
    ui::Option option = f.page->option(name);
    option.setSelected(state == "on", ui::Notify::Yes);
    return Reply::success({{"selected", option.selected()}});
}

Reply slide(const PageSource& pages, const std::string& name, const std::string& valueText) {
    long long value = 0;
    if (!parseInt(valueText, -1'000'000'000, 1'000'000'000, value))
        return usage("the value is a whole number, not '" + valueText + "'");
    Found f;
    Reply why;
    if (!actionTarget(
            pages, name, [](QWidget* w) { return qobject_cast<QAbstractSlider*>(w) != nullptr; }, "a slider",
            f, why))
        return why;
    ui::Slider slider = f.page->slider(name);
    if (value < slider.minimum() || value > slider.maximum())
        return Reply::failure("'" + name + "' goes from " + std::to_string(slider.minimum()) + " to " +
                              std::to_string(slider.maximum()) + "; " + std::to_string(value) +
                              " is outside");
    slider.setValue(static_cast<int>(value), ui::Notify::Yes);
    return Reply::success({{"value", slider.value()}});
}

Reply type(const PageSource& pages, const std::string& name, const std::string& text) {
    Found f;
    Reply why;
    if (!actionTarget(
            pages, name, [](QWidget* w) { return qobject_cast<QLineEdit*>(w) != nullptr; }, "an edit", f,
            why))
        return why;
    auto* line = qobject_cast<QLineEdit*>(f.control.widget());
    if (line->isReadOnly()) return Reply::failure("'" + name + "' is read-only");
    // What the edit would not let a user type is refused; a partial entry ("1" on the way to "12") is fine.
    if (const QValidator* v = line->validator()) {
        QString candidate = QString::fromStdString(text);
        int position = static_cast<int>(candidate.size());
        if (v->validate(candidate, position) == QValidator::Invalid)
            return Reply::failure("'" + name + "' does not take '" + text + "'");
    }
    ui::Edit edit = f.page->edit(name);
    edit.setText(text, ui::Notify::Yes);
    // Leaving the edit: the handler of "killfocus" takes the value, as after the user tabbed away.
    if (edit.exists()) f.page->raise({ui::notify::kKillFocus, edit.name(), 0, 0});
    return Reply::success({{"text", QString::fromStdString(edit.text())}});
}

Reply get(const PageSource& pages, const std::string& name) {
    const Found f = lookUp(pages, name);
    QJsonObject o{{"exists", false},          {"visible", false},      {"enabled", false},
                  {"text", QString()},        {"value", QJsonValue()}, {"current", QJsonValue()},
                  {"selected", QJsonValue()}, {"count", QJsonValue()}, {"items", QJsonArray()}};
    if (!f.page) return Reply::success(o);
    QWidget* w = f.control.widget();
    o["exists"] = true;
    o["visible"] = w->isVisibleTo(w->window());
    o["enabled"] = w->isEnabled();
    o["text"] = QString::fromStdString(f.control.text());
    if (qobject_cast<QAbstractSlider*>(w)) o["value"] = f.page->slider(name).value();
    if (isOption(w)) o["selected"] = f.page->option(name).selected();
    if (isList(w)) {
        ui::ListLike list = f.page->list(name);
        o["current"] = list.current();
        o["count"] = list.count();
        QJsonArray items;
        for (int i = 0; i < list.count(); ++i) items.append(QString::fromStdString(list.itemText(i)));
        o["items"] = items;
    } else if (isTabs(w)) {
        ui::Tabs tabs = f.page->tabs(name);
        o["current"] = tabs.current();
        o["count"] = tabs.count();
    }
    return Reply::success(o);
}

Reply messages(AutomationDialogs& dialogs) {
    QJsonArray shown;
    for (const auto& m : dialogs.takeMessages()) shown.append(QString::fromStdString(m));
    QJsonArray files;
    for (const auto& d : dialogs.takeDialogs()) {
        files.append(
            QJsonObject{{"kind", d.save ? "save" : "open"},
                        {"title", QString::fromStdString(d.title)},
                        {"answer", d.answer ? QJsonValue(QString::fromStdString(*d.answer)) : QJsonValue()}});
    }
    QJsonArray palettes;
    for (const auto& p : dialogs.takePalettes()) {
        palettes.append(QJsonObject{
            {"opened", QString::asprintf("#%08X", static_cast<unsigned>(p.opened))},
            {"answer", p.answer ? QJsonValue(QString::asprintf("#%08X", static_cast<unsigned>(*p.answer)))
                                : QJsonValue()}});
    }
    return Reply::success({{"messages", shown}, {"dialogs", files}, {"palettes", palettes}});
}

// The next palette dialog's answer: a colour, or "cancel".
Reply paletteAnswer(AutomationDialogs& dialogs, const std::string& what) {
    std::optional<std::uint32_t> colour;
    if (what != "cancel") {
        colour = AutomationDialogs::parseColour(what);
        if (!colour)
            return usage("a palette answer is a colour (#RRGGBB or 0xAARRGGBB) or cancel, not '" + what +
                         "'");
    }
    dialogs.queuePaletteAnswer(colour);
    return Reply::success({{"queued", static_cast<int>(dialogs.pendingPaletteAnswers())}});
}

Reply answer(AutomationDialogs& dialogs, const std::string& what) {
    if (what.empty()) return usage("the answer is ok, cancel or an absolute path");
    if (what != "ok" && what != "cancel" && what.front() != '/')
        return usage("a path answer must be absolute, not '" + what + "'");
    dialogs.queueAnswer(what);
    return Reply::success({{"queued", static_cast<int>(dialogs.pendingAnswers())}});
}

Reply key(platform::InjectedInputHooks* hooks, const Args& args) {
    if (args.size() < 2 || args.size() > 4) return usage("wrong number of arguments for 'ui key'");
    long long vk = 0;
    if (!parseInt(args[1], 1, 0x1FF, vk))
        return usage("the key is a virtual-key code from 1 to 0x1FF, not '" + args[1] + "'");
    std::uint32_t flags = 0;
    for (std::size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "up")
            flags |= platform::kKeyFlagUp;
        else if (args[i] == "ext")
            flags |= platform::kKeyFlagExtended;
        else
            return usage("after the key come 'up' and 'ext', not '" + args[i] + "'");
    }
    if (!hooks || !hooks->key(static_cast<std::uint32_t>(vk), flags))
        return Reply::failure("no key capture or recording is listening");
    return Reply::success({{"vk", static_cast<int>(vk)}, {"flags", static_cast<int>(flags)}});
}

Reply mouse(platform::InjectedInputHooks* hooks, const std::string& buttonName, const std::string& state) {
    static const std::pair<const char*, platform::MouseHookButton> kButtons[] = {
        {"left", platform::MouseHookButton::Left},
        {"right", platform::MouseHookButton::Right},
        {"middle", platform::MouseHookButton::Middle},
        {"back", platform::MouseHookButton::Back},
        {"forward", platform::MouseHookButton::Forward}};
    const auto* found = std::find_if(std::begin(kButtons), std::end(kButtons),
                                     [&](const auto& b) { return buttonName == b.first; });
    if (found == std::end(kButtons))
        return usage("the button is left, right, middle, back or forward, not '" + buttonName + "'");
    if (state != "down" && state != "up") return usage("the state is down or up, not '" + state + "'");
    if (!hooks || !hooks->mouse(found->second, state == "down"))
        return Reply::failure("no macro recording is listening to the mouse");
    return Reply::success();
}

} // namespace

Reply runUiCommand(const PageSource& pages, AutomationDialogs& dialogs, const Args& args,
                   platform::InjectedInputHooks* hooks) {
    if (args.empty()) return usage("'ui' needs a subcommand");
    const std::string& verb = args[0];
    const auto wants = [&](std::size_t n) { return args.size() == n + 1; };
    const auto wrongCount = [&] { return usage("wrong number of arguments for 'ui " + verb + "'"); };
    if (verb == "messages") return wants(0) ? messages(dialogs) : wrongCount();
    if (verb == "answer") return wants(1) ? answer(dialogs, args[1]) : wrongCount();
    if (verb == "palette") return wants(1) ? paletteAnswer(dialogs, args[1]) : wrongCount();
    if (verb == "click") return wants(1) ? click(pages, args[1]) : wrongCount();
    if (verb == "get") return wants(1) ? get(pages, args[1]) : wrongCount();
    if (verb == "select") return wants(2) ? select(pages, args[1], args[2]) : wrongCount();
    if (verb == "check") return wants(2) ? check(pages, args[1], args[2]) : wrongCount();
    if (verb == "slide") return wants(2) ? slide(pages, args[1], args[2]) : wrongCount();
    if (verb == "type") return wants(2) ? type(pages, args[1], args[2]) : wrongCount();
    if (verb == "key") return key(hooks, args);
    if (verb == "mouse") return wants(2) ? mouse(hooks, args[1], args[2]) : wrongCount();
    return usage("unknown subcommand 'ui " + verb + "'");
}

void registerUiCommands(CommandTable& table, PageSource pages, AutomationDialogs& dialogs,
                        platform::InjectedInputHooks* hooks) {
    table.registerCommand(
        "ui",
        [pages = std::move(pages), &dialogs, hooks](const Args& args) {
            return runUiCommand(pages, dialogs, args, hooks);
        },
        Gate::Automation);
}

void registerUiCommands(CommandTable& table, ui::Page& page, AutomationDialogs& dialogs,
                        platform::InjectedInputHooks* hooks) {
    registerUiCommands(
        table, [&page] { return std::vector<ui::Page*>{&page}; }, dialogs, hooks);
}

} // namespace zq::control
