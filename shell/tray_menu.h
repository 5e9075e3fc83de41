#pragma once
// The tray icon's pop-up menu: the "menu1.xml" layout as a pop-up window, with an "exit" item appended
// whose text follows the language setting, plus the items this program adds (start at login, and the
// simulated devices panel in simulate mode). A click hands the item's name and text to the window.
#include <QPoint>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace zq::ui {
class Page;
class Skin;
} // namespace zq::ui

namespace zq::shell {

struct TrayMenuItem {
    std::string name;
    std::string text;
};

class TrayMenu {
public:
    using Command = std::function<void(const std::string& name, const std::string& text)>;
    // `languageValue` is main.ini's "LANGUAGE": "0" → "close", "1" → "关闭", otherwise no text.
    TrayMenu(const ui::Skin& skin, const std::string& languageValue, const std::vector<TrayMenuItem>& extra,
             Command command);
    ~TrayMenu();
    TrayMenu(const TrayMenu&) = delete;
    TrayMenu& operator=(const TrayMenu&) = delete;

    void popup(QPoint at);
    bool isOpen() const;
    ui::Page& page() { return *page_; }

    static std::string exitText(const std::string& languageValue);

private:
    std::unique_ptr<ui::Page> page_;
    QWidget* window_ = nullptr;
};

} // namespace zq::shell
