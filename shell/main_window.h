#pragma once
// The main window: the "XML_MAIN" layout as the one top-level window, the application state it owns,
// its worker threads, timers and messages, the tray icon and menu, the caption buttons, and the entry of
// every notification into the dispatcher.
//
// Threads never touch the window: they post() a message (in order) or send() one (waiting until its
// handler ran, or until their stop event is set). Later parts of the program register handlers for the
// messages, the timers' work and the page notifications; until they do, those do nothing.
#include "device/app_state.h"
#include "platform/event.h"
#include "shell/app_message.h"
#include "shell/worker_slots.h"
#include "ui/dispatcher.h"
#include "ui/page.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class QSystemTrayIcon;

namespace zq::ui {
class FileDialogs;
class MessagePresenter;
class Skin;
} // namespace zq::ui

namespace zq::shell {

class Navigation;
class TrayMenu;
struct TrayMenuItem;

class MainWindow final : public QObject {
public:
    struct Options {
        bool simulate = false;
        // Start hidden even where no tray exists (autostart, measurements).
        bool startHidden = false;
        // Pretend the desktop has no tray (tests); otherwise asked of the desktop.
        bool noTray = false;
    };
    using MessageHandler = std::function<void(std::intptr_t wParam, std::intptr_t lParam)>;
    using ThreadBody = std::function<void(platform::Event& stop)>;

    MainWindow(ui::Skin& skin, device::AppState& state, ui::MessagePresenter& messages,
               ui::FileDialogs& dialogs, Options options);
    ~MainWindow() override;

    ui::Skin& skin() { return skin_; }
    ui::Page& page() { return page_; }
    QWidget* window() const { return page_.root(); }
    ui::Dispatcher& dispatcher() { return dispatcher_; }
    device::AppState& state() { return state_; }
    ui::MessagePresenter& messages() { return messages_; }
    ui::FileDialogs& fileDialogs() { return dialogs_; }
    WorkerSlots& workers() { return workers_; }
    const Options& options() const { return options_; }

    // ---- wiring, before windowinit runs (it is raised from the event loop's first turn)
    void setThread(int slot, ThreadBody body);
    void setMessageHandler(AppMessage message, MessageHandler handler);
    void onWindowInit(std::function<void()> pageStart); // page start-ups, in registration order
    void onExit(std::function<void(std::chrono::milliseconds left)> stop); // after the slots' stop
    struct Hooks {
        std::function<void()> settingsPush;         // timer 2
        std::function<void()> keyboardReadBack;     // timer 11
        std::function<void()> padReadBack;          // timer 12
        std::function<bool()> repaint;              // timer 10: refresh what moves; false when nothing does
        std::function<void()> removeRecordingHooks; // navigation and deactivation
        std::function<void()> performanceTab;       // "ms_rich_Op_tab": reselect the report rate
    };
    Hooks hooks;
    std::vector<TrayMenuItem> extraMenuItems() const;
    // An item of our own in the tray menu, above "exit"; its text is asked for each time the menu opens.
    void addMenuItem(std::string name, std::function<std::string()> text, std::function<void()> action);

    // ---- messages
    void post(AppMessage message, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
    // Runs the handler on the UI thread and waits; false when `stop` was set before it ran.
    bool send(AppMessage message, platform::Event& stop, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
    void handle(AppMessage message, std::intptr_t wParam, std::intptr_t lParam);
    // Any work for the UI thread, after everything posted before it; dropped if the window goes first.
    void postTask(std::function<void()> task);

    // ---- what the window does
    void notify(const ui::Notification& n); // the notification entry
    void bringUp();
    void trayToggle();
    void openTrayMenu(QPoint at);
    void menuCommand(const std::string& name, const std::string& text);
    void switchLanguage(const std::string& value);
    void requestExit(); // the tray menu's exit: the exit sequence, then the event loop ends
    void hideForNoDevice() { hideWindow(); }
    bool exiting() const { return exiting_; }

    void armSettingsPush();    // timer 2, one shot of 100 ms, armed by the first dirty flag
    void startRepaint(int ms); // timer 7
    void somethingMoves();     // timer 10 runs while visible and something moves

    bool hasTray() const { return tray_ != nullptr; }
    void setTrayToolTip(const std::string& text);
    const std::string& trayToolTip() const { return trayToolTip_; }
    bool isShown() const;
    const std::string& languageName() const { return languageName_; }
    bool initialised() const { return initialised_; }

    // Timer ids the tests and the control channel can ask about.
    bool timerActive(int id) const;

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void windowInit();
    void registerShellHandlers();
    void selectionChanged(const ui::Notification& n);
    bool macroEditGuard(const std::string& lowerName);
    void showWindow();
    void hideWindow();
    void noDeviceMessage(bool& guard);
    void applyLanguage(const std::string& file, const std::string& name);
    void prepareLoadedControls();

    ui::Skin& skin_;
    device::AppState& state_;
    ui::MessagePresenter& messages_;
    ui::FileDialogs& dialogs_;
    Options options_;
    ui::Page page_;
    ui::Dispatcher dispatcher_;
    std::unique_ptr<Navigation> navigation_;
    WorkerSlots workers_;
    std::array<ThreadBody, WorkerSlots::kEventCount> threadBodies_;
    std::map<AppMessage, MessageHandler> handlers_;
    std::vector<std::function<void()>> pageStarts_;
    std::vector<std::function<void(std::chrono::milliseconds)>> exitSteps_;
    struct ExtraItem {
        std::string name;
        std::function<std::string()> text;
        std::function<void()> action;
    };
    std::vector<ExtraItem> extraItems_;

    QSystemTrayIcon* tray_ = nullptr;
    std::unique_ptr<TrayMenu> trayMenu_;
    int themeReceiver_ = 0;
    QTimer timer1_, timer2_, timer7_, timer10_, timer11_, timer12_;
    bool trayGuard_ = false;    // a no-device message box from the tray is open
    bool bringUpGuard_ = false; // ... from a bring-up
    bool initialised_ = false;
    bool exiting_ = false;
    // The macro edit guard is putting the tabs back: the selections it makes are not guarded again (with
    // edits open on both macro pages each would undo the other's without end).
    bool restoringMacroTabs_ = false;
    std::string languageName_ = "en";
    std::set<std::string> prepared_; // palettes given their starting colour
    std::string trayToolTip_ = "ZEPHRAN Q70";
};

} // namespace zq::shell
