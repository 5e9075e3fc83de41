#include "shell/application.h"

#include "device/app_state.h"
#include "device/hid/hidraw_backend.h"
#include "macros/pages/macro_pages.h"
#include "platform/autostart.h"
#include "platform/debug.h"
#include "platform/injected_input_hooks.h"
#include "profiles/pages/profile_pages.h"
#include "shell/colour_picker.h"
#include "shell/command_dialogs.h"
#include "shell/control/automation_dialogs.h"
#include "shell/control/command_table.h"
#include "shell/control/instance_server.h"
#include "shell/control/sim_commands.h"
#include "shell/control/ui_commands.h"
#include "shell/device_wiring.h"
#include "shell/lighting_wiring.h"
#include "shell/main_window.h"
#include "shell/message_box.h"
#include "shell/page_wiring.h"
#include "shell/profile_status.h"
#include "shell/save_to_device.h"
#include "shell/simulate_panel.h"
#include "shell/sync_wiring.h"
#include "shell/user_commands.h"
#include "sim/sim_backend.h"
#include "ui/colour_picker.h"
#include "ui/file_dialogs.h"
#include "ui/in_window_capture.h"
#include "ui/message_presenter.h"
#include "ui/skin.h"

#include <QCoreApplication>
#include <QDialog>
#include <QJsonArray>
#include <QJsonObject>
#include <QMetaObject>

#include <cstdio>

namespace zq::shell {

namespace {

QJsonObject deviceStatus(const device::AppState& state, const sim::SimBackend* sim, device::DeviceClass c) {
    const device::DeviceLink& link = state.link(c);
    bool present = link.open;
    if (sim) {
        const sim::DeviceKind kind = c == device::DeviceClass::Keyboard ? sim::DeviceKind::Keyboard
                                     : c == device::DeviceClass::Mouse  ? sim::DeviceKind::Mouse
                                                                        : sim::DeviceKind::Pad;
        if (const sim::SimDevice* d = sim->find(kind)) present = d->plugged();
    }
    QJsonObject out{{"present", present}, {"open", link.open.load()}, {"slot", state.state(c).slot()}};
    if (link.error.load() == device::LinkError::Permission) out.insert("error", "permission");
    return out;
}

QJsonArray strings(const std::vector<std::string>& names) {
    QJsonArray out;
    for (const std::string& name : names) out.append(QString::fromStdString(name));
    return out;
}

QJsonObject macroStatus(const macros::pages::MacroPages& pages) {
    return {{"mouse", strings(pages.macroNames(device::DeviceClass::Mouse))},
            {"keyboard", strings(pages.macroNames(device::DeviceClass::Keyboard))}};
}

} // namespace

struct Application::Parts {
    Parts(ui::Skin& skin, StartOptions options)
        : skin(skin), options(options), modes{options.simulate,
                                              options.simulate || control::Modes::automationRequested()},
          commands(modes) {}

    ui::Skin& skin;
    StartOptions options;
    control::Modes modes;
    std::unique_ptr<hid::RawNodeBackend> backend;
    sim::SimBackend* sim = nullptr;
    std::unique_ptr<device::AppState> state;
    std::unique_ptr<ui::MessagePresenter> messages;
    std::unique_ptr<ui::FileDialogs> fileDialogs;
    // Scripts drive the program: messages and file dialogs answer from their queue, nothing modal.
    std::unique_ptr<control::AutomationDialogs> automation;
    // zq70ctl's page operations answer the dialogs they open themselves.
    std::unique_ptr<CommandDialogs> commandDialogs;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<DeviceWiring> devices;
    std::unique_ptr<SyncWiring> sync;
    std::unique_ptr<LightingWiring> lighting;
    std::unique_ptr<SaveToDevice> saveToDevice;
    std::unique_ptr<ui::ColourPicker> colours;
    std::unique_ptr<PageWiring> pages;
    std::unique_ptr<SimulatePanel> panel;
    control::CommandTable commands;
    std::unique_ptr<control::InstanceServer> server;
};

Application::Application(ui::Skin& skin, StartOptions options)
    : parts_(std::make_unique<Parts>(skin, options)) {}

Application::~Application() {
    // The channel goes first (no command may reach a window being torn down), the window before the
    // state its threads use, the state before the backend its links use.
    if (!parts_) return;
    parts_->server.reset();
    parts_->panel.reset();
    // The window's exit joins the threads before the wiring they call goes.
    parts_->window.reset();
    parts_->devices.reset();
    parts_->pages.reset();
    parts_->saveToDevice.reset();
    parts_->sync.reset();
    parts_->lighting.reset();
    parts_->state.reset();
    parts_->backend.reset();
}

bool Application::leftThreadsBehind() const {
    return parts_->window && parts_->window->workers().leftBehind();
}

bool Application::start() {
    Parts& p = *parts_;
    if (p.options.simulate) {
        auto sim = std::make_unique<sim::SimBackend>();
        p.sim = sim.get();
        p.backend = std::move(sim);
    } else {
        p.backend = hid::makeDefaultBackend();
    }
    p.state = std::make_unique<device::AppState>(*p.backend);
    ui::MessagePresenter* messages = nullptr;
    ui::FileDialogs* fileDialogs = nullptr;
    if (p.modes.automation) {
        p.automation = std::make_unique<control::AutomationDialogs>();
        messages = p.automation.get();
        fileDialogs = p.automation.get();
    } else {
        p.messages = std::make_unique<SkinMessagePresenter>(p.skin, nullptr);
        p.fileDialogs = std::make_unique<ui::QtFileDialogs>(
            nullptr, [&skin = p.skin](std::string_view id) { return skin.text(id); });
        messages = p.messages.get();
        fileDialogs = p.fileDialogs.get();
    }

    p.commandDialogs = std::make_unique<CommandDialogs>(*fileDialogs, *messages);
    fileDialogs = p.commandDialogs.get();
    messages = p.commandDialogs.get();

    MainWindow::Options windowOptions;
    windowOptions.simulate = p.options.simulate;
    windowOptions.startHidden = p.options.hidden;
    p.window = std::make_unique<MainWindow>(p.skin, *p.state, *messages, *fileDialogs, windowOptions);
    MainWindow& window = *p.window;
    p.devices = std::make_unique<DeviceWiring>(window, *p.backend);
    p.sync = std::make_unique<SyncWiring>(window);
    p.lighting = std::make_unique<LightingWiring>(window);
    p.saveToDevice = std::make_unique<SaveToDevice>(window, *p.sync);
    // Scripts answer the palette dialog as they answer message boxes.
    if (!p.automation) p.colours = std::make_unique<PaletteColourPicker>(p.skin, window.window());
    ui::ColourPicker& colours = p.automation ? static_cast<ui::ColourPicker&>(*p.automation) : *p.colours;
    // Key capture and macro recording: the desktop's input; under automation, what zq70ctl feeds in.
    std::unique_ptr<platform::InputHookService> inputHooks;
    platform::InjectedInputHooks* injectedHooks = nullptr;
    if (p.automation) {
        auto injected = std::make_unique<platform::InjectedInputHooks>();
        injectedHooks = injected.get();
        inputHooks = std::move(injected);
    } else {
        inputHooks = ui::makeInputCapture();
    }
    p.pages = std::make_unique<PageWiring>(window, *p.sync, colours, std::move(inputHooks));
    p.saveToDevice->storeSettings = [&p](unsigned storedProfiles) {
        p.pages->profiles().save(storedProfiles);
    };
    registerUserCommands(p.commands, window, *p.saveToDevice, *p.pages, *p.commandDialogs);
    p.devices->onClick = [&p] { p.lighting->click(); };
    p.sync->lightingChanged = [&p](device::DeviceClass c) { p.lighting->lightingChanged(c); };
    if (p.sim) {
        control::registerSimCommands(p.commands, *p.sim);
        window.addMenuItem(
            "sim_panel", [] { return std::string("Simulated devices"); },
            [&p] {
                if (!p.panel) p.panel = std::make_unique<SimulatePanel>(*p.sim);
                p.panel->show();
                p.panel->raise();
            });
    }
    // Start at login: an XDG autostart entry that starts the program in the tray.
    window.addMenuItem(
        "start_at_login",
        [] { return std::string(platform::Autostart().enabled() ? "✓ Start at login" : "Start at login"); },
        [&window] {
            platform::Autostart autostart;
            const bool done = autostart.enabled()
                                  ? autostart.disable()
                                  : autostart.enable(platform::autostartExecLine(
                                        QCoreApplication::applicationFilePath().toStdString()));
            if (!done) window.messages().showText(autostart.error());
        });
    if (p.automation) control::registerUiCommands(p.commands, window.page(), *p.automation, injectedHooks);

    using control::Reply;
    p.commands.registerCommand("status", [&p](const control::CommandTable::Args& args) {
        if (!args.empty()) return Reply::usageError("usage: status");
        QJsonObject devices;
        for (device::DeviceClass c : device::kDeviceClasses)
            devices.insert(device::deviceKey(c), deviceStatus(*p.state, p.sim, c));
        return Reply::success({{"simulate", p.options.simulate},
                               {"profiles", profileStatusJson(p.pages->profiles())},
                               {"macros", macroStatus(p.pages->macros())},
                               {"visible", p.window->isShown()},
                               {"language", QString::fromStdString(p.window->languageName())},
                               {"devices", devices}});
    });
    p.commands.registerCommand("show", [&window](const control::CommandTable::Args& args) {
        if (!args.empty()) return Reply::usageError("usage: show");
        window.handle(AppMessage::BringUp, 0, 0);
        return Reply::success();
    });
    p.commands.registerCommand("quit", [&window](const control::CommandTable::Args& args) {
        if (!args.empty()) return Reply::usageError("usage: quit");
        // Answered first; the exit runs from the event loop's next turn.
        QMetaObject::invokeMethod(
            &window, [&window] { window.requestExit(); }, Qt::QueuedConnection);
        return Reply::success();
    });

    p.server = std::make_unique<control::InstanceServer>(p.commands,
                                                         [&window] { window.post(AppMessage::BringUp); });
    switch (p.server->listen()) {
    case control::InstanceServer::Outcome::Listening:
        break;
    case control::InstanceServer::Outcome::AlreadyRunning:
        exitCode_ = control::InstanceServer::signalStartingInstance(p.server->path(),
                                                                    control::InstanceServer::kStartRace)
                        ? 0
                        : 1;
        return false;
    case control::InstanceServer::Outcome::Failed:
        // Without the channel a second start could not find this one; the program still runs.
        std::fprintf(stderr, "zephran-q70: control channel: %s\n", p.server->error().c_str());
        platform::debugString("control channel: " + p.server->error());
        break;
    }
    return true;
}

} // namespace zq::shell
