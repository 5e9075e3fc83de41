#include "shell/main_window.h"

#include "platform/data_folders.h"
#include "platform/debug.h"
#include "shell/about_window.h"
#include "shell/caption_drag.h"
#include "shell/language.h"
#include "shell/navigation.h"
#include "shell/skin_window.h"
#include "shell/theme.h"
#include "shell/tray_menu.h"
#include "ui/file_dialogs.h"
#include "ui/message_presenter.h"
#include "ui/skin.h"
#include "ui/ui_thread.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QIcon>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QWidget>

#include <cstdio>

namespace zq::shell {

namespace {

constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 572;
constexpr int kTrayMenuLift = 25;
constexpr std::uint32_t kPaletteStartColour = 0xFF0199CB;
constexpr int kMouseKeyButtons = 20;
constexpr int kPadLedButtons = 15;

// Hover pictures of the mouse's buttons: entering, leaving.
constexpr std::array<std::pair<const char*, const char*>, 9> kMouseKeyHover{{
    {"file='ms/key_left_down.png'", "file='ms/key_left_normal.png'"},
    {"file='ms/key_wheel_down.png'", "file='ms/key_wheel_normal.png'"},
    {"file='ms/key_right_down.png'", "file='ms/key_right_normal.png'"},
    {"file='ms/key_forward_down.png'", "file='ms/key_forward_normal.png'"},
    {"file='ms/key_back_down.png'", "file='ms/key_back_normal.png'"},
    {"file='ms/key_dpi_down.png'", "file='ms/key_dpi_normal.png'"},
    {"file='ms/key_dpi1_down.png'", "file='ms/key_dpi1_normal.png'"},
    {"file='ms/key_forward_down1.png'", "file='ms/key_forward_normal1.png'"},
    {"file='ms/key_back_down1.png'", "file='ms/key_back_normal1.png'"},
}};

// Buttons that show or hide another control.
constexpr std::array<std::pair<const char*, const char*>, 8> kVisibilityToggles{{
    {"ms_profile_fun_spread_btn", "ms_profile_fun_spead_tab"},
    {"kb_profile_fun_spread_btn", "kb_profile_fun_spead_tab"},
    {"mp_profile_fun_spread_btn", "mp_profile_fun_spead_tab"},
    {"ms_pro_deng_edit_btn", "ms_deng_profile_edit"},
    {"ms_pro_key_edit_btn", "ms_key_profile_edit"},
    {"kb_pro_deng_edit_btn", "kb_deng_profile_edit"},
    {"kb_pro_key_edit_btn", "kb_key_profile_edit"},
    {"mp_pro_deng_edit_btn", "mp_deng_profile_edit"},
}};

constexpr std::array<const char*, 5> kMouseOptionTabs{"ms_deng_Op_tab", "ms_key_Op_tab", "ms_rich_Op_tab",
                                                      "ms_macro_Op_tab", "ms_cursor_Op_tab"};

const char* hookDebugString(AppMessage m) {
    switch (m) {
    case AppMessage::HookKeySingleKey:
        return "WM_HOOK_KEY_SINGLEKEY";
    case AppMessage::HookMouseSingleKey:
        return "WM_HOOK_MOU_SINGLEKEY";
    case AppMessage::HookKeyHit:
        return "WM_HOOK_KEY_KBHITKEY";
    case AppMessage::HookMouseHit:
        return "WM_HOOK_MOU_HitKEY";
    case AppMessage::HookKeyMacro:
        return "WM_HOOK_KEY_MACRO";
    case AppMessage::HookMouseMacro:
        return "WM_HOOK_MOU_MACRO";
    default:
        return nullptr;
    }
}

} // namespace

MainWindow::MainWindow(ui::Skin& skin, device::AppState& state, ui::MessagePresenter& messages,
                       ui::FileDialogs& dialogs, Options options)
    : skin_(skin), state_(state), messages_(messages), dialogs_(dialogs), options_(options),
      page_(skin, "XML_MAIN", nullptr, ui::Page::SubLayouts::OnDemand) {
    platform::debugString("InitWindow");
    QWidget* w = page_.root();
    navigation_ = std::make_unique<Navigation>(page_);
    page_.setHandler([this](const ui::Notification& n) { notify(n); });
    if (w) {
        w->setObjectName(w->objectName().isEmpty() ? QStringLiteral("root") : w->objectName());
        w->setWindowTitle(QStringLiteral("ZEPHRAN Q70"));
        w->resize(kWindowWidth, kWindowHeight);
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            w->move(area.center() - QPoint(kWindowWidth / 2, kWindowHeight / 2));
        }
        const std::string icon = skin_.resolveImage("common/app_icon.png");
        if (!icon.empty()) w->setWindowIcon(QIcon(QString::fromStdString(icon)));
        w->installEventFilter(this);
        new CaptionDrag(w, page_.find("caption_bar").widget());
    }

    // The theme receiver: a skin change lands on the layout's "root".
    themeReceiver_ = ThemeBroadcaster::instance().add(
        [this](const SkinChange& change) { applySkinChange(page_.find("root"), change); });

    // The pages are built as they are first shown; each gets its starting state then.
    prepareLoadedControls();
    page_.onSubLayoutLoaded([this](const std::string&) { prepareLoadedControls(); });

    const bool trayWanted = !options_.noTray && QSystemTrayIcon::isSystemTrayAvailable();
    if (trayWanted) {
        tray_ = new QSystemTrayIcon(this);
        const std::string icon = skin_.resolveImage("common/tray_icon.png");
        tray_->setIcon(QIcon(QString::fromStdString(icon)));
        tray_->setToolTip(QStringLiteral("ZEPHRAN Q70"));
        connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger)
                trayToggle();
            else if (reason == QSystemTrayIcon::Context)
                openTrayMenu(QCursor::pos() - QPoint(0, kTrayMenuLift));
        });
        tray_->show();
    }

    timer1_.setSingleShot(true);
    connect(&timer1_, &QTimer::timeout, this, [this] { page_.find("setting_progress").setVisible(false); });
    timer2_.setSingleShot(true);
    timer2_.setInterval(100);
    connect(&timer2_, &QTimer::timeout, this, [this] {
        if (hooks.settingsPush) hooks.settingsPush();
    });
    timer7_.setSingleShot(true);
    connect(&timer7_, &QTimer::timeout, this, [this] {
        if (QWidget* win = window()) win->update();
        platform::debugString("1234567890");
    });
    timer10_.setInterval(50);
    connect(&timer10_, &QTimer::timeout, this, [this] {
        if (!hooks.repaint || !hooks.repaint() || !isShown()) timer10_.stop();
    });
    timer11_.setSingleShot(true);
    timer11_.setInterval(500);
    connect(&timer11_, &QTimer::timeout, this, [this] {
        if (hooks.keyboardReadBack) hooks.keyboardReadBack();
    });
    timer12_.setSingleShot(true);
    timer12_.setInterval(500);
    connect(&timer12_, &QTimer::timeout, this, [this] {
        if (hooks.padReadBack) hooks.padReadBack();
    });
    state_.onDirty = [this] { armSettingsPush(); };

    registerShellHandlers();
    // "windowinit" comes once the event loop runs, after everything is wired.
    QMetaObject::invokeMethod(
        this,
        [this] {
            notify({ui::notify::kWindowInit, "", 0, 0});
        },
        Qt::QueuedConnection);
}

void MainWindow::prepareLoadedControls() {
    // The LED previews start lit with nothing showing, so the engine only changes colour and alpha.
    auto prepareLed = [this](const std::string& name) {
        ui::Control led = page_.findLoaded(name);
        if (led && !led.lit()) led.setLight(0x0000FF, 0, true);
    };
    for (int i = 0; i < kMouseKeyButtons; ++i) prepareLed("ms_dkey_" + std::to_string(i));
    for (int i = 0; i < kPadLedButtons; ++i) prepareLed("mp_dkey_" + std::to_string(i));
    for (const char* name : {"ms_deng_Color_Pallet", "mp_deng_Color_Pallet", "kb_deng_Color_Pallet"}) {
        if (!page_.findLoaded(name) || prepared_.count(name)) continue;
        prepared_.insert(name);
        page_.palette(name).setColour(kPaletteStartColour);
    }
}

MainWindow::~MainWindow() {
    // The page's widgets outlive the timers below them; their last events must not reach this object.
    if (QWidget* w = window()) w->removeEventFilter(this);
    if (!exiting_) {
        exiting_ = true;
        workers_.stopAll(std::chrono::milliseconds(1000));
        for (auto& step : exitSteps_) step(std::chrono::milliseconds(0));
    }
    state_.onDirty = nullptr;
    ThemeBroadcaster::instance().remove(themeReceiver_);
    trayMenu_.reset();
    page_.setHandler(nullptr);
}

void MainWindow::setThread(int slot, ThreadBody body) {
    if (slot >= WorkerSlots::kFirstSlot && slot <= WorkerSlots::kLastSlot)
        threadBodies_[static_cast<std::size_t>(slot)] = std::move(body);
}

void MainWindow::setMessageHandler(AppMessage message, MessageHandler handler) {
    handlers_[message] = std::move(handler);
}

void MainWindow::onWindowInit(std::function<void()> pageStart) {
    pageStarts_.push_back(std::move(pageStart));
}

void MainWindow::onExit(std::function<void(std::chrono::milliseconds)> stop) {
    exitSteps_.push_back(std::move(stop));
}

void MainWindow::addMenuItem(std::string name, std::function<std::string()> text,
                             std::function<void()> action) {
    extraItems_.push_back({std::move(name), std::move(text), std::move(action)});
}

std::vector<TrayMenuItem> MainWindow::extraMenuItems() const {
    std::vector<TrayMenuItem> out;
    for (const auto& item : extraItems_) out.push_back({item.name, item.text ? item.text() : item.name});
    return out;
}

// ---- messages --------------------------------------------------------------------------------------

void MainWindow::post(AppMessage message, std::intptr_t wParam, std::intptr_t lParam) {
    // Queued on this object: a message still queued when the window goes is dropped with it.
    QMetaObject::invokeMethod(
        this, [this, message, wParam, lParam] { handle(message, wParam, lParam); }, Qt::QueuedConnection);
}

void MainWindow::postTask(std::function<void()> task) {
    QMetaObject::invokeMethod(
        this,
        [this, task = std::move(task)] {
            if (!exiting_) task();
        },
        Qt::QueuedConnection);
}

bool MainWindow::send(AppMessage message, platform::Event& stop, std::intptr_t wParam, std::intptr_t lParam) {
    return ui::UiThread::invoke([this, message, wParam, lParam] { handle(message, wParam, lParam); }, stop);
}

void MainWindow::handle(AppMessage message, std::intptr_t wParam, std::intptr_t lParam) {
    if (exiting_) return;
    if (const char* text = hookDebugString(message)) platform::debugString(text);
    switch (message) {
    case AppMessage::Deactivated:
        if (hooks.removeRecordingHooks) hooks.removeRecordingHooks();
        return;
    case AppMessage::BringUp: {
        char line[96];
        std::snprintf(line, sizeof line, "软件标示 %u，%lxd%lxd", static_cast<unsigned>(message),
                      static_cast<unsigned long>(wParam), static_cast<unsigned long>(lParam));
        platform::debugString(line);
        bringUp();
        return;
    }
    case AppMessage::ShowProgress:
        page_.find("setting_progress").setVisible(true);
        break;
    case AppMessage::ProgressDone:
        timer1_.start(1000);
        break;
    case AppMessage::LastDeviceGone:
        page_.find("ms_deng_Op_tab").setFocus();
        messages_.showTransientMessage();
        hideWindow();
        break;
    default:
        break;
    }
    if (auto it = handlers_.find(message); it != handlers_.end() && it->second) it->second(wParam, lParam);
}

// ---- notifications ---------------------------------------------------------------------------------

void MainWindow::notify(const ui::Notification& n) {
    platform::debugString(n.type + " " + n.sender);
    if (n.type == ui::notify::kWindowInit) {
        windowInit();
        return;
    }
    if (n.type == ui::notify::kWindowSize) return;
    if (n.type == ui::notify::kClick) {
        const std::string name = ui::toLower(n.sender);
        QWidget* w = window();
        if (name == "closebtn" || name == "minbtn") {
            if (w) w->showMinimized();
            return;
        }
        if (name == "maxbtn") {
            if (w) w->showMaximized();
            return;
        }
        if (name == "restorebtn") {
            if (w) w->showNormal();
            return;
        }
        if (name == "skinbtn") openSkinWindow(skin_, w, page_.find("skinbtn").widget(), dialogs_);
    }
    if (n.type == ui::notify::kSelectChanged) {
        if (!dispatcher_.dispatch(n)) selectionChanged(n);
        return;
    }
    dispatcher_.dispatch(n);
}

bool MainWindow::macroEditGuard(const std::string& name) {
    if (restoringMacroTabs_) return false;
    const QScopedValueRollback<bool> restoring(restoringMacroTabs_, true);
    // A macro page never built has no macro being edited.
    if (page_.findLoaded("ms_macro_tab_saveorcancel").isVisible() && name != "ms_macro_op_tab" &&
        name != "ms_tab") {
        page_.option("ms_macro_Op_tab").setSelected(true, ui::Notify::Yes);
        page_.option("ms_tab").setSelected(true, ui::Notify::Yes);
        messages_.showMessage("message_text_3");
        return true;
    }
    if (page_.findLoaded("kb_macro_tab_saveorcancel").isVisible() && name != "kb_macro_op_tab" &&
        name != "kb_tab") {
        page_.option("kb_macro_Op_tab").setSelected(true, ui::Notify::Yes);
        page_.option("kb_tab").setSelected(true, ui::Notify::Yes);
        page_.find("kb_tab").setVisible(true);
        messages_.showMessage("message_text_3");
        return true;
    }
    return false;
}

void MainWindow::selectionChanged(const ui::Notification& n) {
    const std::string name = ui::toLower(n.sender);
    if (macroEditGuard(name)) {
        // The guard put the tabs back; a check box the user changed shows its old state again.
        if (name != "ms_macro_op_tab" && name != "ms_tab" && name != "kb_macro_op_tab" && name != "kb_tab")
            page_.option(n.sender).setSelected(n.wParam == 0);
        return;
    }
    if (hooks.removeRecordingHooks) hooks.removeRecordingHooks();
    if (navigation_->follow(n)) {
        if (name == "ms_rich_op_tab" && page_.option(name).selected() && hooks.performanceTab)
            hooks.performanceTab();
        return;
    }
    ui::Notification after = n;
    after.type = ui::kSelectChangedAfterNavigation;
    dispatcher_.dispatch(after);
}

void MainWindow::registerShellHandlers() {
    using ui::Notification;
    auto& d = dispatcher_;
    for (const auto& [button, target] : kVisibilityToggles) {
        d.on(ui::notify::kClick, button, [this, target = std::string(target)](const Notification&) {
            ui::Control c = page_.find(target);
            c.setVisible(!c.isVisible());
        });
    }
    d.on(ui::notify::kClick, "ms_key_butt_keydefalut", [](const Notification&) {});
    // Hover feedback of the mouse's buttons and the DPI colour buttons.
    auto hoverKey = [this](bool enter) {
        return [this, enter](const Notification&, int index) {
            if (index < 0 || index >= static_cast<int>(kMouseKeyHover.size())) return;
            const auto& pictures = kMouseKeyHover[static_cast<std::size_t>(index)];
            page_.find("ms_key_" + std::to_string(index) + "_0")
                .setBkImage(enter ? pictures.first : pictures.second);
        };
    };
    d.onFamily(ui::notify::kMouseEnter, "ms_key_", hoverKey(true));
    d.onFamily(ui::notify::kMouseLeave, "ms_key_", hoverKey(false));
    auto hoverDpi = [this](bool enter) {
        return [this, enter](const Notification& n, int index) {
            if (index < 1 || index > 6) return;
            page_.senderOf(n).setBorder(enter ? 2 : 0, 0xFFFFFFFF);
        };
    };
    d.onFamily(ui::notify::kMouseEnter, "ms_DPIcolor_btn_", hoverDpi(true));
    d.onFamily(ui::notify::kMouseLeave, "ms_DPIcolor_btn_", hoverDpi(false));
    // Moving to another option of the mouse closes the profile panel's function strip.
    for (const char* tab : kMouseOptionTabs)
        d.on(ui::notify::kSetFocus, tab,
             [this](const Notification&) { page_.find("ms_profile_fun_spead_tab").setVisible(false); });
}

// ---- window initialisation, bring-up, tray ---------------------------------------------------------

void MainWindow::windowInit() {
    if (initialised_) return;
    initialised_ = true;
    std::error_code ignored;
    std::filesystem::create_directories(platform::userDataFolder(), ignored);

    // 1. The remembered background.
    if (const RememberedSkin remembered = readRememberedSkin(); remembered.usePicture)
        applySkinChange(page_.find("root"), {false, 0, remembered.picture});
    // 2. Page start-ups of the profiles, macros and cursor paths.
    for (auto& start : pageStarts_) start();
    // 3. The links' identities; nothing is open yet.
    state_.assignIdentities();
    for (device::DeviceClass c : device::kDeviceClasses) state_.link(c).open = false;
    // 4. The registry's word on the language.
    registryLanguageStep();
    // 5. Hidden until a bring-up or the tray shows it; where there is no tray to come back from, the
    //    window shows itself.
    if (!tray_ && !options_.startHidden)
        showWindow();
    else
        hideWindow();
    // 6. The worker threads, in slot order.
    for (int slot = WorkerSlots::kFirstSlot; slot <= WorkerSlots::kLastSlot; ++slot)
        if (threadBodies_[static_cast<std::size_t>(slot)])
            workers_.start(slot, threadBodies_[static_cast<std::size_t>(slot)]);
    // 7. Timers with work now: the one-shot read-backs. The push waits for a dirty flag; the repaint
    //    for a visible window with something moving.
    timer11_.start();
    timer12_.start();
    // 8. main.ini's language.
    const LanguageChoice choice = mainIniLanguageStep();
    applyLanguage(choice.file, choice.name);
}

void MainWindow::applyLanguage(const std::string& file, const std::string& name) {
    languageName_ = name;
    // The catalog was read at start; only a different file needs a reload.
    if (skin_.textsFile() == file) return;
    skin_.reloadTexts(file);
}

void MainWindow::switchLanguage(const std::string& value) {
    const LanguageChoice choice = switchLanguageFiles(value);
    languageName_ = choice.name;
    skin_.reloadTexts(choice.file);
    if (QWidget* w = window()) w->update();
    ui::ListLike combo = page_.combo("ms_device_profile_combo");
    if (combo.current() >= 0)
        page_.edit("ms_device_profile_name_edit").setText(combo.itemText(combo.current()));
}

bool MainWindow::isShown() const {
    const QWidget* w = window();
    return w && w->isVisible() && !w->isMinimized();
}

void MainWindow::showWindow() {
    QWidget* w = window();
    if (!w) return;
    if (w->isMinimized())
        w->showNormal();
    else
        w->show();
    w->raise();
    w->activateWindow();
    somethingMoves();
}

void MainWindow::hideWindow() {
    QWidget* w = window();
    // Without a tray a hidden window could not be brought back: it stays, as the desktop expects.
    if (!w || (!tray_ && !exiting_)) return;
    w->hide();
    timer10_.stop();
}

void MainWindow::noDeviceMessage(bool& guard) {
    if (guard) return;
    guard = true;
    messages_.showMessage("message_text_1");
    guard = false;
}

void MainWindow::bringUp() {
    if (state_.anyOpen()) {
        showWindow();
        return;
    }
    hideWindow();
    noDeviceMessage(bringUpGuard_);
}

void MainWindow::trayToggle() {
    if (!state_.anyOpen()) {
        hideWindow();
        noDeviceMessage(trayGuard_);
        return;
    }
    QWidget* w = window();
    if (!w) return;
    const bool visible = w->isVisible() != w->isMinimized();
    if (visible) {
        hideWindow();
        return;
    }
    showWindow();
    w->update();
    startRepaint(10);
}

void MainWindow::openTrayMenu(QPoint at) {
    // A second right click replaces the open menu.
    trayMenu_ = std::make_unique<TrayMenu>(
        skin_, mainIniLanguage(), extraMenuItems(), [this](const std::string& name, const std::string& text) {
            // Not from inside the menu's own click: the command may replace the menu.
            QMetaObject::invokeMethod(
                this, [this, name, text] { menuCommand(name, text); }, Qt::QueuedConnection);
        });
    trayMenu_->popup(at);
}

void MainWindow::menuCommand(const std::string& name, const std::string& text) {
    const std::string lower = ui::toLower(name);
    if (lower == "lan_en") {
        switchLanguage("0");
    } else if (lower == "lan_cn") {
        switchLanguage("1");
    } else if (lower == "about_setting") {
        openAboutWindow(skin_, window());
    } else if (lower == "exit") {
        requestExit();
    } else if (lower == "qianting" || lower == "menu_import" || lower == "menu_export") {
        // Items that do nothing.
    } else {
        for (const auto& item : extraItems_) {
            if (ui::toLower(item.name) == lower) {
                if (item.action) item.action();
                return;
            }
        }
        messages_.showText(text);
    }
}

void MainWindow::requestExit() {
    if (exiting_) return;
    exiting_ = true;
    if (tray_) {
        tray_->hide();
        delete tray_;
        tray_ = nullptr;
    }
    trayMenu_.reset();
    platform::debugString("退出测试");
    if (QWidget* w = window()) w->hide();
    for (auto* t : {&timer1_, &timer2_, &timer7_, &timer10_, &timer11_, &timer12_}) t->stop();
    const auto start = std::chrono::steady_clock::now();
    const WorkerSlots::Outcome outcome = workers_.stopAll(std::chrono::milliseconds(1000));
    const auto spent =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    for (auto& step : exitSteps_)
        step(std::max(std::chrono::milliseconds(0), std::chrono::milliseconds(1000) - spent));
    platform::debugString(WorkerSlots::outcomeText(outcome));
    QCoreApplication::quit();
}

void MainWindow::setTrayToolTip(const std::string& text) {
    trayToolTip_ = text;
    if (tray_) tray_->setToolTip(QString::fromStdString(text));
}

// ---- timers ----------------------------------------------------------------------------------------

void MainWindow::armSettingsPush() {
    if (!exiting_ && !timer2_.isActive()) timer2_.start();
}

void MainWindow::startRepaint(int ms) {
    timer7_.start(ms);
}

void MainWindow::somethingMoves() {
    if (!exiting_ && isShown() && hooks.repaint && !timer10_.isActive()) timer10_.start();
}

bool MainWindow::timerActive(int id) const {
    switch (id) {
    case 1:
        return timer1_.isActive();
    case 2:
        return timer2_.isActive();
    case 7:
        return timer7_.isActive();
    case 10:
        return timer10_.isActive();
    case 11:
        return timer11_.isActive();
    case 12:
        return timer12_.isActive();
    default:
        return false;
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window()) return false;
    switch (event->type()) {
    case QEvent::Show:
        QMetaObject::invokeMethod(
            this, [this] { somethingMoves(); }, Qt::QueuedConnection);
        break;
    case QEvent::Hide:
        timer10_.stop();
        break;
    case QEvent::WindowDeactivate:
        handle(AppMessage::Deactivated, 0, 0);
        break;
    case QEvent::Resize:
        notify({ui::notify::kWindowSize, "", 0, 0});
        break;
    case QEvent::Close:
        if (exiting_) break;
        // With a tray, closing only hides; without one, closing is how the user quits.
        static_cast<QCloseEvent*>(event)->ignore();
        if (tray_)
            hideWindow();
        else
            requestExit();
        return true;
    default:
        break;
    }
    return false;
}

} // namespace zq::shell
