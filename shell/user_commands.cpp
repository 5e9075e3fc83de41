#include "shell/user_commands.h"

#include "profiles/pages/application_links.h"
#include "profiles/pages/profile_controls.h"
#include "profiles/pages/profile_pages.h"
#include "settings/colour.h"
#include "settings/lighting_settings.h"
#include "shell/command_dialogs.h"
#include "shell/control/command_table.h"
#include "shell/main_window.h"
#include "shell/page_wiring.h"
#include "shell/save_to_device.h"
#include "ui/page.h"
#include "ui/skin.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace zq::shell {

namespace {

using control::CommandTable;
using control::Reply;

constexpr int kMaxSlot = 5;
constexpr int kUploadLimitMs = 120000; // a macro block over a slow link takes seconds, not minutes

bool slotArgument(const CommandTable::Args& args, long long& slot) {
    return args.size() == 1 && control::parseInt(args[0], 0, kMaxSlot, slot);
}

// ---- dpi

constexpr int kDpiLevels = 5;
constexpr long long kDpiMin = 200;
constexpr long long kDpiMax = 6200;
constexpr long long kDpiStep = 100;

// ---- lighting

struct LightingControls {
    device::DeviceClass device;
    const char* prefix;
};

std::optional<LightingControls> lightingDevice(const std::string& name) {
    if (name == "mouse") return LightingControls{device::DeviceClass::Mouse, "ms"};
    if (name == "pad") return LightingControls{device::DeviceClass::Pad, "mp"};
    if (name == "keyboard") return LightingControls{device::DeviceClass::Keyboard, "kb"};
    return std::nullopt;
}

// What a lighting command asks for; every value already checked.
struct LightingRequest {
    std::optional<int> mode;
    std::optional<std::uint32_t> colour; // 0xRRGGBB
    std::optional<int> brightness;
    std::optional<int> speed;
    std::optional<bool> left;
    std::optional<bool> cycle;
};

// Parses "--name value" pairs; an empty string when they are all good, else what is wrong.
std::string parseLighting(const CommandTable::Args& args, LightingRequest& r) {
    for (std::size_t i = 1; i < args.size(); i += 2) {
        const std::string& option = args[i];
        if (i + 1 >= args.size()) return option + " needs a value";
        const std::string& value = args[i + 1];
        long long n = 0;
        if (option == "--mode") {
            if (!control::parseInt(value, 0, 255, n))
                return "--mode takes an effect number (see the effect list)";
            r.mode = static_cast<int>(n);
        } else if (option == "--colour" || option == "--color") {
            std::string hex = value.rfind('#', 0) == 0 ? value.substr(1) : value;
            if (hex.size() != 6 || !control::parseInt("0x" + hex, 0, 0xFFFFFF, n))
                return "--colour takes RRGGBB, six hexadecimal digits";
            r.colour = static_cast<std::uint32_t>(n);
        } else if (option == "--brightness") {
            if (!control::parseInt(value, 0, settings::kMaxBrightness, n)) return "--brightness takes 0 to 4";
            r.brightness = static_cast<int>(n);
        } else if (option == "--speed") {
            if (!control::parseInt(value, 0, settings::kMaxLightSpeedSlider, n))
                return "--speed takes 0 to 4";
            r.speed = static_cast<int>(n);
        } else if (option == "--direction") {
            if (value != "left" && value != "right") return "--direction takes left or right";
            r.left = value == "left";
        } else if (option == "--cycle") {
            if (value != "on" && value != "off") return "--cycle takes on or off";
            r.cycle = value == "on";
        } else {
            return "unknown option " + option;
        }
    }
    return {};
}

// A control the user could use now: its layout is neither hidden nor turned off by the effect.
bool usable(const ui::Page& page, const std::string& name) {
    QWidget* w = page.find(name).widget();
    return w && w->isEnabled() && !w->isHidden();
}

QString hexColour(settings::Rgb c) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", c.r, c.g, c.b);
    return QString::fromLatin1(text);
}

// ---- profiles

constexpr std::array<std::pair<profiles::ProfileCategory, const char*>, 7> kCategoryKeys{{
    {profiles::ProfileCategory::MouseDevice, "ms_device"},
    {profiles::ProfileCategory::MouseLighting, "ms_deng"},
    {profiles::ProfileCategory::MouseKeys, "ms_key"},
    {profiles::ProfileCategory::KeyboardDevice, "kb_device"},
    {profiles::ProfileCategory::KeyboardLighting, "kb_deng"},
    {profiles::ProfileCategory::KeyboardKeys, "kb_key"},
    {profiles::ProfileCategory::PadLighting, "mp_deng"},
}};
constexpr const char* kCategoryList = "ms_device, ms_deng, ms_key, kb_device, kb_deng, kb_key or mp_deng";

std::optional<profiles::ProfileCategory> categoryOf(const std::string& key) {
    for (const auto& [category, name] : kCategoryKeys)
        if (key == name) return category;
    return std::nullopt;
}

QJsonObject categoryJson(const profiles::pages::ProfilePages& pages, profiles::ProfileCategory category) {
    const profiles::pages::CategoryStatus s = pages.status(category);
    QJsonArray names;
    for (const std::string& name : s.names) names.append(QString::fromStdString(name));
    QJsonObject links;
    for (const auto& link : profiles::pages::categoryLinks(category))
        links.insert(QString::number(link.position), QString::fromStdString(link.path));
    return {{"names", names}, {"active", s.active}, {"saved", s.saved}, {"links", links}};
}

// A position given as a number (from 0, as `status` counts) or as a profile's name (any case).
std::optional<int> positionOf(const profiles::pages::ProfilePages& pages, profiles::ProfileCategory category,
                              const std::string& text) {
    const std::vector<std::string> names = pages.status(category).names;
    long long n = 0;
    if (control::parseInt(text, 0, static_cast<long long>(names.size()) - 1, n)) return static_cast<int>(n);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (ui::toLower(names[i]) == ui::toLower(text)) return static_cast<int>(i);
    return std::nullopt;
}

// What the page said during a command, as the command's error.
std::string said(const ui::Skin& skin, const std::vector<ui::MessageRequest>& messages) {
    std::string out;
    for (const auto& m : messages) {
        if (!out.empty()) out += " ";
        out += m.isTextId ? skin.text(m.text) : m.text;
    }
    return out;
}

} // namespace

void registerUserCommands(CommandTable& table, MainWindow& window, SaveToDevice& saveToDevice,
                          PageWiring& pages, CommandDialogs& dialogs) {
    // A DPI level: the level's slider let go at the value's step, as a drag on the performance page.
    table.registerCommand("dpi", [&window](const CommandTable::Args& args) {
        long long level = 0, value = 0;
        if (args.size() != 2)
            return Reply::usageError("usage: dpi LEVEL VALUE (level 1 to 5, value 200 to 6200)");
        if (!control::parseInt(args[0], 1, kDpiLevels, level))
            return Reply::usageError("the DPI level is 1 to 5, not " + args[0]);
        if (!control::parseInt(args[1], kDpiMin, kDpiMax, value) || value % kDpiStep != 0)
            return Reply::usageError("the DPI value is 200 to 6200 in steps of 100, not " + args[1]);
        ui::Slider slider = window.page().slider("ms_DPI" + std::to_string(level) + "_slider");
        if (!slider.exists()) return Reply::failure("the DPI page is not available");
        slider.setValue(static_cast<int>((value - kDpiMin) / kDpiStep), ui::Notify::Yes);
        return Reply::success({{"level", static_cast<int>(level)}, {"dpi", static_cast<int>(value)}});
    });

    // A device's lighting: the effect list, the colour palette, the sliders and the direction and colour
    // cycle controls of its lighting page, in that order; an option the chosen effect does not offer is
    // refused, as its control is disabled on the page.
    table.registerCommand("lighting", [&window](const CommandTable::Args& args) {
        const char* usage =
            "usage: lighting mouse|pad|keyboard [--mode N] [--colour RRGGBB] [--brightness 0-4] "
            "[--speed 0-4] [--direction left|right] [--cycle on|off]";
        if (args.empty()) return Reply::usageError(usage);
        const std::optional<LightingControls> target = lightingDevice(args[0]);
        if (!target) return Reply::usageError(usage);
        LightingRequest r;
        if (std::string problem = parseLighting(args, r); !problem.empty()) return Reply::usageError(problem);
        ui::Page& page = window.page();
        const std::string p = target->prefix;
        auto name = [&p](const char* suffix) { return p + suffix; };

        if (r.mode) {
            // The mouse's effect list is the one its page shows now.
            std::string combo =
                p == "ms" ? "ms_deng_combo_modeSelect" +
                                std::to_string(std::max(0, page.tabs("ms_deng_mode_switch").current()))
                          : name("_deng_combo_modeSelect");
            ui::ListLike list = page.combo(combo);
            if (*r.mode >= list.count())
                return Reply::usageError("--mode takes 0 to " + std::to_string(list.count() - 1) +
                                         " for the " + args[0]);
            if (list.current() != *r.mode) list.select(*r.mode, ui::Notify::Yes);
        }
        const struct {
            bool asked;
            const char* layout;
            const char* option;
        } offered[] = {{r.colour.has_value(), "_deng_color_layout", "--colour"},
                       {r.brightness.has_value(), "_deng_light_layout", "--brightness"},
                       {r.speed.has_value(), "_deng_speed_layout", "--speed"},
                       {r.cycle.has_value(), "_deng_7colorselect_layout", "--cycle"}};
        for (const auto& o : offered)
            if (o.asked && !usable(page, name(o.layout)))
                return Reply::failure(std::string(o.option) + " is not offered by this effect of the " +
                                      args[0]);
        const bool mouseArrows = p == "ms" && page.tabs("ms_deng_mode_switch").current() == 1;
        if (r.left && !mouseArrows && !usable(page, name("_deng_fx_layout")))
            return Reply::failure("--direction is not offered by this effect of the " + args[0]);

        if (r.colour) {
            ui::Palette palette = page.palette(name("_deng_Color_Pallet"));
            palette.setColour(0xFF000000u | *r.colour);
            page.raise({ui::notify::kColorChanged, name("_deng_Color_Pallet"), 0, 0});
        }
        if (r.cycle) page.option(name("_Deng_7color_check")).setSelected(*r.cycle, ui::Notify::Yes);
        if (r.brightness) page.slider(name("_deng_light_slider")).setValue(*r.brightness, ui::Notify::Yes);
        if (r.speed) page.slider(name("_deng_speed_slider")).setValue(*r.speed, ui::Notify::Yes);
        if (r.left) {
            if (mouseArrows)
                page.raise({ui::notify::kClick, *r.left ? "ms_Deng_FXL_btn" : "ms_Deng_FXR_btn", 0, 0});
            else
                page.option(name(*r.left ? "_Deng_FXL_check" : "_Deng_FXR_check"))
                    .setSelected(true, ui::Notify::Yes);
        }
        const settings::LightingSettings s =
            settings::LightingSettings::fromBlock(window.state().state(target->device).current);
        return Reply::success({{"device", QString::fromStdString(args[0])},
                               {"mode", s.mode()},
                               {"colour", hexColour(s.colour())},
                               {"brightness", s.brightness()},
                               {"speed", settings::sliderFromLightSpeed(s.speed())},
                               {"direction", s.direction() != 0 ? "left" : "right"},
                               {"cycle", s.sevenColour()}});
    });

    // The profile lists: what they hold, a selection as a click in the list, and export and import through
    // the list's buttons with the command's file as the dialog's answer.
    table.registerCommand("profile", [&window, &pages, &dialogs](const CommandTable::Args& args) {
        const char* usage = "usage: profile list [CATEGORY] | profile select CATEGORY N|NAME | "
                            "profile export CATEGORY N|NAME FILE | profile import CATEGORY FILE";
        if (args.empty()) return Reply::usageError(usage);
        profiles::pages::ProfilePages& lists = pages.profiles();
        const std::string& what = args[0];
        if (what == "list") {
            if (args.size() > 2) return Reply::usageError(usage);
            if (args.size() == 1) {
                QJsonObject all;
                for (const auto& [category, key] : kCategoryKeys)
                    all.insert(key, categoryJson(lists, category));
                return Reply::success({{"profiles", all}});
            }
            const auto category = categoryOf(args[1]);
            if (!category) return Reply::usageError("the category is " + std::string(kCategoryList));
            return Reply::success({{QString::fromStdString(args[1]), categoryJson(lists, *category)}});
        }
        const std::size_t wanted = what == "select" ? 3 : what == "export" ? 4 : what == "import" ? 3 : 0;
        if (wanted == 0 || args.size() != wanted) return Reply::usageError(usage);
        const auto category = categoryOf(args[1]);
        if (!category) return Reply::usageError("the category is " + std::string(kCategoryList));
        const profiles::pages::CategoryControls controls = profiles::pages::controlsOf(*category);

        if (what == "select" || what == "export") {
            const std::optional<int> position = positionOf(lists, *category, args[2]);
            if (!position) {
                const int count = static_cast<int>(lists.status(*category).names.size());
                return Reply::usageError("no profile " + args[2] + " in " + args[1] + " (positions 0 to " +
                                         std::to_string(count - 1) + ", or a name)");
            }
            CommandDialogs::Scope scope(dialogs, std::nullopt);
            if (lists.status(*category).active != *position) lists.select(*category, *position);
            if (!scope.messages().empty()) return Reply::failure(said(window.skin(), scope.messages()));
            if (what == "select")
                return Reply::success({{QString::fromStdString(args[1]), categoryJson(lists, *category)}});
        }
        const std::string file = what == "export" ? args[3] : args[2];
        CommandDialogs::Scope scope(dialogs, file);
        if (lists.status(*category).active < 0)
            return Reply::failure("no profile of " + args[1] +
                                  " is selected: select one first (profile select)");
        const int countBefore = static_cast<int>(lists.status(*category).names.size());
        window.page().raise(
            {ui::notify::kClick, what == "export" ? controls.exportFile : controls.importFile, 0, 0});
        if (!scope.messages().empty()) return Reply::failure(said(window.skin(), scope.messages()));
        if (!scope.fileAsked()) return Reply::failure("the profile list did not take the file");
        QJsonObject out{{QString::fromStdString(args[1]), categoryJson(lists, *category)},
                        {"file", QString::fromStdString(scope.answeredPath())}};
        if (what == "import")
            out.insert("added", static_cast<int>(lists.status(*category).names.size()) > countBefore);
        return Reply::success(out);
    });

    // The mouse's onboard slot: the click of its slot button (slot 5 has none on the page).
    table.registerCommand("slot", [&window](const CommandTable::Args& args) {
        long long slot = 0;
        if (!slotArgument(args, slot)) return Reply::usageError("usage: slot N (N from 0 to 5)");
        window.page().raise({ui::notify::kClick, "ms_profile_" + std::to_string(slot), 0, 0});
        return Reply::success({{"slot", static_cast<int>(slot)}});
    });
    // The pad's onboard slot: the selection in its slot list.
    table.registerCommand("pad-slot", [&window](const CommandTable::Args& args) {
        long long slot = 0;
        if (!slotArgument(args, slot)) return Reply::usageError("usage: pad-slot N (N from 0 to 5)");
        ui::ListLike list = window.page().combo("mp_deng_combo_profile");
        const int index = static_cast<int>(slot);
        if (index < list.count() && list.current() != index)
            list.select(index, ui::Notify::Yes);
        else
            window.page().raise({ui::notify::kItemSelect, "mp_deng_combo_profile", index, list.current()});
        return Reply::success({{"slot", index}});
    });
    // The device save button of the mouse or keyboard page, answered once the transfer has ended.
    table.registerCommand("macro", [&window, &saveToDevice](const CommandTable::Args& args) {
        if (args.size() != 2 || args[0] != "upload" || (args[1] != "mouse" && args[1] != "keyboard"))
            return Reply::usageError("usage: macro upload mouse|keyboard");
        if (saveToDevice.running()) return Reply::failure("a transfer to a device is already running");
        window.page().raise(
            {ui::notify::kClick, args[1] == "mouse" ? "ms_key_butt_prosave" : "kb_key_butt_prosave", 0, 0});
        // The window goes on meanwhile; only this request waits, in an event loop of its own.
        if (saveToDevice.running()) {
            // Shared: the transfer may end after this request gave up waiting.
            auto loop = std::make_shared<QEventLoop>();
            QTimer::singleShot(kUploadLimitMs, loop.get(), &QEventLoop::quit);
            saveToDevice.whenDone([weak = std::weak_ptr<QEventLoop>(loop)] {
                if (auto waiting = weak.lock()) waiting->quit();
            });
            loop->exec();
        }
        if (saveToDevice.running()) return Reply::failure("the transfer has not ended yet");
        return Reply::success();
    });
}

} // namespace zq::shell
