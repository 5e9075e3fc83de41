#include "shell/user_commands.h"

#include "profiles/pages/profile_controls.h"
#include "profiles/pages/profile_pages.h"
#include "settings/colour.h"
#include "settings/light_modes.h"
#include "settings/lighting_settings.h"
#include "shell/command_dialogs.h"
#include "shell/control/command_table.h"
#include "shell/control/user_arguments.h"
#include "shell/main_window.h"
#include "shell/page_wiring.h"
#include "shell/profile_status.h"
#include "shell/save_to_device.h"
#include "ui/page.h"
#include "ui/skin.h"

#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace zq::shell {

namespace {

using control::CommandTable;
using control::Reply;
using device::DeviceClass;

constexpr int kUploadLimitMs = 120000; // a macro block over a slow link takes seconds, not minutes
// The keyboard's custom effect: its colour tools choose the colour keys are painted with, not a light.
constexpr int kKeyboardCustomMode = 8;

// The window offers a device's pages only while the device is connected (its tab is hidden otherwise);
// a command does not change settings of a device that is not there, nor report a transfer that could
// not happen as done.
std::optional<Reply> unlessConnected(MainWindow& window, DeviceClass device) {
    if (window.state().link(device).open.load()) return std::nullopt;
    return Reply::failure(std::string("the ") + device::deviceKey(device) + " is not connected");
}

// ---- lighting

const char* prefixOf(DeviceClass device) {
    return device == DeviceClass::Mouse ? "ms" : device == DeviceClass::Pad ? "mp" : "kb";
}

// A control the user could use now: neither hidden nor turned off.
bool usable(const ui::Page& page, const std::string& name) {
    QWidget* w = page.find(name).widget();
    return w && w->isEnabled() && !w->isHidden();
}

enum class LightingPart { Colour, Brightness, Speed, Cycle, Direction };

// Where the device's lighting page takes its mode: the mouse has three layouts of its effect list, the
// page shows one of them.
struct ModeList {
    std::string combo;
    settings::LightModeCombo table;
};

ModeList modeListOf(ui::Page& page, DeviceClass device) {
    if (device == DeviceClass::Pad) return {"mp_deng_combo_modeSelect", settings::LightModeCombo::Pad};
    if (device == DeviceClass::Keyboard)
        return {"kb_deng_combo_modeSelect", settings::LightModeCombo::Keyboard};
    const int shown = std::max(0, page.tabs("ms_deng_mode_switch").current());
    return {"ms_deng_combo_modeSelect" + std::to_string(shown),
            shown == 1 ? settings::LightModeCombo::MouseAlternate : settings::LightModeCombo::MouseMain};
}

// Whether a part of the lighting page takes input once the requested effect (if any) is chosen. The
// effect's row of the mode table says what it turns on or off; the rest stays as the page shows it now.
// Known before anything changes, so a refused command leaves the device as it was.
bool offered(ui::Page& page, DeviceClass device, const ModeList& list, std::optional<int> mode, int modeNow,
             LightingPart part) {
    const std::string p = prefixOf(device);
    const settings::LightModeLayout* row =
        mode ? settings::lightModeLayout(list.table, static_cast<std::size_t>(*mode)) : nullptr;
    const int effect = mode.value_or(modeNow);
    auto after = [&](settings::Layout settings::LightModeLayout::*field, const char* layout) {
        if (row && row->*field != settings::Layout::Unchanged) return row->*field == settings::Layout::On;
        return usable(page, p + layout);
    };
    const bool keyboardCustom = device == DeviceClass::Keyboard && effect == kKeyboardCustomMode;
    switch (part) {
    case LightingPart::Colour:
        return !keyboardCustom && after(&settings::LightModeLayout::colour, "_deng_color_layout");
    case LightingPart::Speed:
        return after(&settings::LightModeLayout::speed, "_deng_speed_layout");
    case LightingPart::Brightness:
        if (row && list.table == settings::LightModeCombo::MouseMain)
            return (row->extras & settings::mode_extra::kBrightnessOff) == 0;
        return usable(page, p + "_deng_light_layout");
    case LightingPart::Cycle:
        // The keyboard gives the cycle back for every effect that does not turn it off, the custom
        // effect excepted.
        if (device == DeviceClass::Keyboard && row)
            return !keyboardCustom && row->cycle != settings::Layout::Off;
        return !keyboardCustom && after(&settings::LightModeLayout::cycle, "_deng_7colorselect_layout");
    case LightingPart::Direction:
        // The mouse's second layout steps the direction with two arrow buttons, whatever the effect.
        if (list.table == settings::LightModeCombo::MouseAlternate) return true;
        if (device == DeviceClass::Keyboard && row)
            return !keyboardCustom && row->fx != settings::Layout::Off;
        return !keyboardCustom && after(&settings::LightModeLayout::fx, "_deng_fx_layout");
    }
    return false;
}

QString hexColour(settings::Rgb c) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", c.r, c.g, c.b);
    return QString::fromLatin1(text);
}

Reply runLighting(MainWindow& window, const control::LightingRequest& r) {
    if (auto refused = unlessConnected(window, r.device)) return *refused;
    ui::Page& page = window.page();
    const std::string p = prefixOf(r.device);
    auto name = [&p](const char* suffix) { return p + suffix; };
    const ModeList list = modeListOf(page, r.device);
    ui::ListLike modes = page.combo(list.combo);
    const int modeNow = settings::LightingSettings::fromBlock(window.state().state(r.device).current).mode();

    // Everything is checked first: a refused command changes nothing.
    if (r.mode && *r.mode >= modes.count())
        return Reply::usageError("--mode takes 0 to " + std::to_string(modes.count() - 1) + " for the " +
                                 device::deviceKey(r.device));
    const struct {
        bool asked;
        LightingPart part;
        const char* option;
    } parts[] = {{r.colour.has_value(), LightingPart::Colour, "--colour"},
                 {r.cycle.has_value(), LightingPart::Cycle, "--cycle"},
                 {r.brightness.has_value(), LightingPart::Brightness, "--brightness"},
                 {r.speed.has_value(), LightingPart::Speed, "--speed"},
                 {r.left.has_value(), LightingPart::Direction, "--direction"}};
    for (const auto& part : parts)
        if (part.asked && !offered(page, r.device, list, r.mode, modeNow, part.part))
            return Reply::failure(std::string(part.option) + " is not offered by effect " +
                                  std::to_string(r.mode.value_or(modeNow)) + " of the " +
                                  device::deviceKey(r.device));

    // Then the controls in the page's order: the effect, the colour, the cycle, the sliders, the
    // direction.
    if (r.mode && modes.current() != *r.mode) modes.select(*r.mode, ui::Notify::Yes);
    if (r.colour) {
        page.palette(name("_deng_Color_Pallet")).setColour(0xFF000000u | *r.colour);
        page.raise({ui::notify::kColorChanged, name("_deng_Color_Pallet"), 0, 0});
    }
    if (r.cycle) page.option(name("_Deng_7color_check")).setSelected(*r.cycle, ui::Notify::Yes);
    if (r.brightness) page.slider(name("_deng_light_slider")).setValue(*r.brightness, ui::Notify::Yes);
    if (r.speed) page.slider(name("_deng_speed_slider")).setValue(*r.speed, ui::Notify::Yes);
    if (r.left) {
        if (list.table == settings::LightModeCombo::MouseAlternate)
            page.raise({ui::notify::kClick, *r.left ? "ms_Deng_FXL_btn" : "ms_Deng_FXR_btn", 0, 0});
        else
            page.option(name(*r.left ? "_Deng_FXL_check" : "_Deng_FXR_check"))
                .setSelected(true, ui::Notify::Yes);
    }
    const settings::LightingSettings s =
        settings::LightingSettings::fromBlock(window.state().state(r.device).current);
    return Reply::success({{"device", device::deviceKey(r.device)},
                           {"mode", s.mode()},
                           {"colour", hexColour(s.colour())},
                           {"brightness", s.brightness()},
                           {"speed", settings::sliderFromLightSpeed(s.speed())},
                           {"direction", s.direction() != 0 ? "left" : "right"},
                           {"cycle", s.sevenColour()}});
}

// ---- profiles

// What the page said during a command, as the command's error.
std::string said(const ui::Skin& skin, const std::vector<ui::MessageRequest>& messages) {
    std::string out;
    for (const auto& m : messages) {
        if (!out.empty()) out += " ";
        out += m.isTextId ? skin.text(m.text) : m.text;
    }
    return out;
}

Reply runProfile(MainWindow& window, profiles::pages::ProfilePages& lists, CommandDialogs& dialogs,
                 const control::ProfileRequest& r) {
    using Action = control::ProfileRequest::Action;
    const QString key = QString::fromStdString(r.categoryKey);
    if (r.action == Action::List) {
        if (r.category) return Reply::success({{key, profileCategoryJson(lists, *r.category)}});
        return Reply::success({{"profiles", profileStatusJson(lists)}});
    }
    const profiles::ProfileCategory category = *r.category;
    // The lists sit on their device's pages: a selection loads the profile and sends it to the device, and
    // a device that comes back later is not sent the list's selection again.
    if (auto refused = unlessConnected(window, profiles::pages::deviceOf(category))) return *refused;
    const profiles::pages::CategoryControls controls = profiles::pages::controlsOf(category);

    if (r.action == Action::Select || r.action == Action::Export) {
        const std::vector<std::string> names = lists.status(category).names;
        const std::optional<int> position = control::profilePosition(names, r.profile);
        if (!position)
            return Reply::usageError("no profile " + r.profile + " in " + r.categoryKey +
                                     " (positions 0 to " +
                                     std::to_string(static_cast<int>(names.size()) - 1) + ", or a name)");
        CommandDialogs::Scope scope(dialogs, std::nullopt);
        if (lists.status(category).active != *position) lists.select(category, *position);
        if (!scope.messages().empty()) return Reply::failure(said(window.skin(), scope.messages()));
        if (r.action == Action::Select) return Reply::success({{key, profileCategoryJson(lists, category)}});
    }
    // The list's own button, with the command's file as the answer of the dialog it opens.
    CommandDialogs::Scope scope(dialogs, r.file);
    if (lists.status(category).active < 0)
        return Reply::failure("no profile of " + r.categoryKey +
                              " is selected: select one first (profile select)");
    const int countBefore = static_cast<int>(lists.status(category).names.size());
    window.page().raise(
        {ui::notify::kClick, r.action == Action::Export ? controls.exportFile : controls.importFile, 0, 0});
    if (!scope.messages().empty()) return Reply::failure(said(window.skin(), scope.messages()));
    if (!scope.fileAsked()) return Reply::failure("the profile list did not take the file");
    QJsonObject out{{key, profileCategoryJson(lists, category)},
                    {"file", QString::fromStdString(scope.answeredPath())}};
    if (r.action == Action::Import)
        out.insert("added", static_cast<int>(lists.status(category).names.size()) > countBefore);
    return Reply::success(out);
}

} // namespace

void registerUserCommands(CommandTable& table, MainWindow& window, SaveToDevice& saveToDevice,
                          PageWiring& pages, CommandDialogs& dialogs) {
    // A DPI level: the level's slider let go at the value's step, as a drag on the performance page.
    table.registerCommand("dpi", [&window](const CommandTable::Args& args) {
        control::DpiRequest r;
        if (std::string problem = control::parseDpi(args, r); !problem.empty())
            return Reply::usageError(problem);
        if (auto refused = unlessConnected(window, DeviceClass::Mouse)) return *refused;
        ui::Slider slider = window.page().slider("ms_DPI" + std::to_string(r.level) + "_slider");
        if (!slider.exists()) return Reply::failure("the DPI page is not available");
        slider.setValue(r.sliderPosition(), ui::Notify::Yes);
        return Reply::success({{"level", r.level}, {"dpi", r.dpi}});
    });

    // A device's lighting: the effect list, the colour palette, the colour cycle, the sliders and the
    // direction of its lighting page, in that order; an option the effect does not offer is refused, as its
    // control is disabled on the page.
    table.registerCommand("lighting", [&window](const CommandTable::Args& args) {
        control::LightingRequest r;
        if (std::string problem = control::parseLighting(args, r); !problem.empty())
            return Reply::usageError(problem);
        return runLighting(window, r);
    });

    // The profile lists: what they hold, a selection as a click in the list, and export and import through
    // the list's buttons with the command's file as the dialog's answer.
    table.registerCommand("profile", [&window, &pages, &dialogs](const CommandTable::Args& args) {
        control::ProfileRequest r;
        if (std::string problem = control::parseProfile(args, r); !problem.empty())
            return Reply::usageError(problem);
        return runProfile(window, pages.profiles(), dialogs, r);
    });

    // The mouse's onboard slot: the click of its slot button (slot 5 has none on the page).
    table.registerCommand("slot", [&window](const CommandTable::Args& args) {
        int slot = 0;
        if (std::string problem = control::parseSlot(args, slot); !problem.empty())
            return Reply::usageError("usage: slot N (" + problem + ")");
        if (auto refused = unlessConnected(window, DeviceClass::Mouse)) return *refused;
        window.page().raise({ui::notify::kClick, "ms_profile_" + std::to_string(slot), 0, 0});
        return Reply::success({{"slot", slot}});
    });
    // The pad's onboard slot: the selection in its slot list.
    table.registerCommand("pad-slot", [&window](const CommandTable::Args& args) {
        int slot = 0;
        if (std::string problem = control::parseSlot(args, slot); !problem.empty())
            return Reply::usageError("usage: pad-slot N (" + problem + ")");
        if (auto refused = unlessConnected(window, DeviceClass::Pad)) return *refused;
        ui::ListLike list = window.page().combo("mp_deng_combo_profile");
        if (slot < list.count() && list.current() != slot)
            list.select(slot, ui::Notify::Yes);
        else
            window.page().raise({ui::notify::kItemSelect, "mp_deng_combo_profile", slot, list.current()});
        return Reply::success({{"slot", slot}});
    });
    // The device save button of the mouse or keyboard page, answered once the transfer has ended.
    table.registerCommand("macro", [&window, &saveToDevice](const CommandTable::Args& args) {
        if (args.size() != 2 || args[0] != "upload" || (args[1] != "mouse" && args[1] != "keyboard"))
            return Reply::usageError("usage: macro upload mouse|keyboard");
        const DeviceClass device = args[1] == "mouse" ? DeviceClass::Mouse : DeviceClass::Keyboard;
        if (auto refused = unlessConnected(window, device)) return *refused;
        if (saveToDevice.running()) return Reply::failure("a transfer to a device is already running");
        window.page().raise(
            {ui::notify::kClick, args[1] == "mouse" ? "ms_key_butt_prosave" : "kb_key_butt_prosave", 0, 0});
        if (!saveToDevice.running()) return Reply::failure("the transfer did not start");
        // The window goes on meanwhile; only this request waits, in an event loop of its own.
        {
            // Shared: the transfer may end after this request gave up waiting.
            auto loop = std::make_shared<QEventLoop>();
            QTimer::singleShot(kUploadLimitMs, loop.get(), &QEventLoop::quit);
            saveToDevice.whenDone([weak = std::weak_ptr<QEventLoop>(loop)] {
                if (auto waiting = weak.lock()) waiting->quit();
            });
            loop->exec();
        }
        if (saveToDevice.running()) return Reply::failure("the transfer has not ended yet");
        const SaveToDevice::Outcome& outcome = saveToDevice.lastOutcome();
        if (!outcome.message.empty()) return Reply::failure(outcome.message);
        if (!outcome.completed) return Reply::failure("the transfer did not reach the " + args[1]);
        return Reply::success();
    });
}

} // namespace zq::shell
