#pragma once
// A layout of the skin run as a dialog window: the page's controls, its notifications, a modal run
// that returns the code the page closed it with.
#include "ui/page.h"

#include <QPointer>

#include <functional>
#include <memory>
#include <string_view>

class QDialog;
class QWidget;

namespace zq::ui {
class Skin;
}

namespace zq::shell {

class PageDialog {
public:
    // rejectCode is the result when the window is closed by the window manager or Escape.
    PageDialog(const ui::Skin& skin, std::string_view resourceName, QWidget* parent, int rejectCode);
    ~PageDialog();
    PageDialog(const PageDialog&) = delete;
    PageDialog& operator=(const PageDialog&) = delete;

    ui::Page& page() { return page_; }
    QDialog* window() const { return dialog_; }

    // Runs modally until done() or a close; returns the code.
    int exec();
    // Shows without waiting (modeless windows).
    void show();
    void done(int code);
    bool isOpen() const;

    // Called once the window is up inside exec()'s event loop: tests act there instead of waiting.
    void setOnShown(std::function<void()> hook) { onShown_ = std::move(hook); }

    // For modeless windows created with new: the object deletes itself once its window is closed.
    void deleteWhenClosed();

private:
    ui::Page page_;
    QPointer<QDialog> dialog_;
    bool ownsDialog_ = false;
    int rejectCode_;
    int code_;
    bool closedByPage_ = false;
    std::function<void()> onShown_;
};

} // namespace zq::shell
