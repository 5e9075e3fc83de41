#pragma once
// The running program's pages on the real skin, offscreen: main window (no tray), device worker, the
// page modules, scripted dialogs and colour picker, the injected capture backend, and the emulator with
// the three devices' links open. Each test gets its own data and configuration folders; the default
// profile files are written into an application folder of its own.
#include "defaults/default_files.h"
#include "device/app_state.h"
#include "macros/pages/macro_pages.h"
#include "platform/foreground.h"
#include "platform/host_mouse_settings.h"
#include "platform/injected_input_hooks.h"
#include "profiles/pages/profile_pages.h"
#include "settings/pages/settings_pages.h"
#include "shell/main_window.h"
#include "shell/page_wiring.h"
#include "shell/sync_wiring.h"
#include "sim/sim_backend.h"
#include "sim/sim_device.h"
#include "support/bounded_wait.h"
#include "ui/colour_picker.h"
#include "ui/file_dialogs.h"
#include "ui/message_presenter.h"
#include "ui/skin.h"
#include "ui_test_support.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace zq::test {

class PageFixture : public ::testing::Test {
protected:
    PageFixture() {
        setenv("ZQ70_DATA_DIR", (dir_.path() + "/data").toUtf8().constData(), 1);
        setenv("XDG_CONFIG_HOME", (dir_.path() + "/config").toUtf8().constData(), 1);
        setenv("ZQ70_APP_DIR", (dir_.path() + "/app").toUtf8().constData(), 1);
    }
    ~PageFixture() override {
        // As the program does: the window's exit runs the wiring's stops, then the wiring goes.
        window.reset();
        pages.reset();
        sync.reset();
        unsetenv("ZQ70_DATA_DIR");
        unsetenv("XDG_CONFIG_HOME");
        unsetenv("ZQ70_APP_DIR");
    }

    void SetUp() override {
        ASSERT_TRUE(skin.ok()) << skin.error();
        appFolder = std::filesystem::path((dir_.path() + "/app").toStdString());
        std::filesystem::create_directories(appFolder);
        ASSERT_TRUE(defaults::writeDefaultFiles(appFolder).empty());
        shell::MainWindow::Options options;
        options.noTray = true;
        window = std::make_unique<shell::MainWindow>(skin, state, messages, dialogs, options);
        sync = std::make_unique<shell::SyncWiring>(*window);
        auto injected = std::make_unique<platform::InjectedInputHooks>();
        hooks = injected.get();
        // The application in front is the test's to say (no X server is asked).
        auto fakeForeground = std::make_unique<platform::FakeForegroundApplication>();
        foreground = fakeForeground.get();
        // The desktop's pointer speed and wheel lines too: an X server the tests share is not theirs to
        // change.
        auto fakeHostMouse = std::make_unique<platform::FakeHostMouseSettings>();
        hostMouse = fakeHostMouse.get();
        pages = std::make_unique<shell::PageWiring>(*window, *sync, colours, std::move(injected),
                                                    std::move(fakeForeground), std::move(fakeHostMouse));
        // windowinit comes from the event loop's first turn.
        QCoreApplication::processEvents();
        ASSERT_TRUE(window->initialised());
        // The window's start closes every link; the presence threads would open them now.
        for (device::DeviceClass c : device::kDeviceClasses) ASSERT_TRUE(openLink(c));
    }

    // Lets the device worker finish what was posted and the UI thread take back the results.
    void settle() {
        for (int round = 0; round < 4; ++round) {
            ASSERT_TRUE(sync->worker().waitIdle(kWaitBound));
            QCoreApplication::processEvents();
        }
    }
    // The 100 ms push, without waiting for its timer.
    void push() {
        if (window->hooks.settingsPush) window->hooks.settingsPush();
        settle();
    }

    sim::SimDevice& device(device::DeviceClass c) {
        return *backend.find(c == device::DeviceClass::Keyboard ? sim::DeviceKind::Keyboard
                             : c == device::DeviceClass::Mouse  ? sim::DeviceKind::Mouse
                                                                : sim::DeviceKind::Pad);
    }

    ui::Page& page() { return window->page(); }
    settings::pages::SettingsPages& settingsPages() { return pages->settings(); }
    profiles::pages::ProfilePages& profilePages() { return pages->profiles(); }
    macros::pages::MacroPages& macroPages() { return pages->macros(); }
    std::filesystem::path dataFolder() const {
        return std::filesystem::path((dir_.path() + "/data").toStdString());
    }

    QTemporaryDir dir_;
    std::filesystem::path appFolder;
    ui::Skin skin{realSkinFolder()};
    sim::SimBackend backend;
    device::AppState state{backend};
    ui::ScriptedMessagePresenter messages;
    ui::ScriptedFileDialogs dialogs;
    ui::ScriptedColourPicker colours;
    platform::InjectedInputHooks* hooks = nullptr;
    platform::FakeForegroundApplication* foreground = nullptr;
    platform::FakeHostMouseSettings* hostMouse = nullptr;
    std::unique_ptr<shell::MainWindow> window;
    std::unique_ptr<shell::SyncWiring> sync;
    std::unique_ptr<shell::PageWiring> pages;

private:
    bool openLink(device::DeviceClass c);
};

} // namespace zq::test
