#pragma once
// Handles to the named controls of a page. A handle is cheap to copy; a handle to a name the layout
// lacks (or to a control whose page is gone) is null and ignores every call, so a page operation on
// a layout without that control does nothing, as the layouts allow.
//
// Programmatic changes never raise notifications by themselves; an operation taking Notify::Yes
// raises the notification the user's action would have raised, synchronously, on the UI thread.
// Every operation belongs to the UI thread: worker threads go through UiThread::post/invoke.
#include "ui/notification.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class QWidget;

namespace zq::ui {

struct PageCore;

class Control {
public:
    Control() = default;
    Control(std::weak_ptr<PageCore> core, int index) : core_(std::move(core)), index_(index) {}

    bool exists() const { return widget() != nullptr; }
    explicit operator bool() const { return exists(); }
    std::string name() const;
    // The Qt class of the control ("QPushButton", "DeviceKeyButton", ...), empty when null.
    std::string kind() const;

    void setVisible(bool visible);
    bool isVisible() const; // the control's own flag, whether or not its parents show
    void setEnabled(bool enabled);
    bool isEnabled() const;
    void setFocus();
    bool hasFocus() const;

    // Plain text, or a text id shown resolved and resolved again after a language reload.
    void setText(std::string_view text);
    void setTextId(std::string_view id);
    std::string text() const;
    std::string textId() const;
    void setToolTip(std::string_view text);
    void setToolTipId(std::string_view id);
    std::string toolTip() const;

    // ARGB; alpha 0 clears the colour.
    void setBkColor(std::uint32_t argb);
    std::uint32_t bkColor() const;
    void setBkImage(std::string_view image); // "file='x.png'", an image name or a path; empty clears
    std::string bkImage() const;
    void setTextColor(std::uint32_t argb);
    std::uint32_t textColor() const;
    void setBorder(int width, std::uint32_t argb = 0xFFFFFFFF);
    int borderWidth() const;
    void setHotImage(std::string_view image);
    // The style attribute of the system ("listex_item_style"); style.qss selects on it.
    void setStyle(std::string_view style);
    std::string style() const;
    // Free text the layout attaches to a control ("userData" property).
    std::string userData() const;
    void setUserData(std::string_view data);

    // The colour overlay of key buttons and LED previews: SetChangerColor / SetChangerAlpha. Colours are
    // 0xRRGGBB; the lighting engine's preview packing is converted once, by shell/led_preview.h.
    void setChangerColor(std::uint32_t rgb);
    void setChangerAlpha(std::uint8_t alpha);
    void setLight(std::uint32_t rgb, std::uint8_t alpha, bool lit);
    std::uint32_t changerColor() const;
    std::uint8_t changerAlpha() const;
    bool lit() const;

    // The underlying widget for shell code (rendering, dialogs); null for a null control.
    QWidget* widget() const;

protected:
    void raise(Notification n) const;
    std::weak_ptr<PageCore> core_;
    int index_ = -1;
};

// Options, check boxes and checkable buttons.
class Option : public Control {
public:
    using Control::Control;
    bool selected() const;
    // With Notify::Yes, "selectchanged" is raised when the state actually changes.
    void setSelected(bool selected, Notify notify = Notify::No);
};

// Combos, lists and lists of rows with text columns.
class ListLike : public Control {
public:
    using Control::Control;
    int count() const;
    int current() const; // -1 when nothing is selected
    // "itemselect" (wParam new index, lParam old index) only when the current item changes.
    void select(int index, Notify notify = Notify::No);
    int add(std::string_view text, std::string_view userData = {});
    void insert(int index, std::string_view text, std::string_view userData = {});
    void remove(int index);
    void clear();
    std::string itemText(int index) const;
    std::string itemData(int index) const;
    void setItemText(int index, std::string_view text);
    // The item shows a text id of the language file, resolved now and after every language reload; a
    // plain setItemText() afterwards drops the id.
    void setItemTextId(int index, std::string_view id);
    std::string itemTextId(int index) const;
    void setItemData(int index, std::string_view data);
    void setRowHeight(int index, int pixels);
    int rowHeight(int index) const;
    void setItemStyle(int index, std::string_view style);
    std::string itemStyle(int index) const;
    // The style of one column of a row (trees); column 0 is the item's own style.
    void setCellStyle(int row, int column, std::string_view style);
    std::string cellStyle(int row, int column) const;
    // Rows with columns (tree widgets): column 0 is the item text.
    int columnCount() const;
    std::string cellText(int row, int column) const;
    void setCellText(int row, int column, std::string_view text);
};

class Edit : public Control {
public:
    using Control::Control;
    // With Notify::Yes, "textchanged" is raised when the text actually changes.
    void setText(std::string_view text, Notify notify = Notify::No);
    void setMaxLength(int characters);
    int maxLength() const;
    void setReadOnly(bool readOnly);
    void setNumbersOnly(int minimum, int maximum);
};

// Sliders, and progress bars (value and range only).
class Slider : public Control {
public:
    using Control::Control;
    int value() const;
    // With Notify::Yes, "valuechanged" is raised as on release.
    void setValue(int value, Notify notify = Notify::No);
    void setRange(int minimum, int maximum);
    int minimum() const;
    int maximum() const;
};

// Tab layouts: a stacked widget or a tab widget.
class Tabs : public Control {
public:
    using Control::Control;
    int current() const;
    int count() const;
    void selectPage(int index);
};

class Label : public Control {
public:
    using Control::Control;
    void setTextInset(int left, int top, int right, int bottom);
};

class Button : public Control {
public:
    using Control::Control;
};

// The colour palette: selected colour as ARGB.
class Palette : public Control {
public:
    using Control::Control;
    std::uint32_t colour() const;
    // With Notify::Yes, "colorchanged" is raised when the colour changes.
    void setColour(std::uint32_t argb, Notify notify = Notify::No);
};

} // namespace zq::ui
