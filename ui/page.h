#pragma once
// One loaded layout tree: the layout named by its resource name in res.xml, sub-layouts filled in,
// controls found by name without regard to case, every user action and every "with notification"
// operation delivered as a Notification to the one handler.
#include "ui/control.h"
#include "ui/notification.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace zq::ui {

class Skin;
struct PageCore;

class Page {
public:
    // Sub-layouts are built with the page, or each when it first shows or one of its controls is
    // looked for (what the main window does: most of its pages are never opened in a run).
    enum class SubLayouts { WithPage, OnDemand };

    // Builds the layout; on failure the page is empty (every control null) and error() says why.
    Page(const Skin& skin, std::string_view resourceName, QWidget* parent = nullptr,
         SubLayouts subLayouts = SubLayouts::WithPage);
    ~Page();
    Page(const Page&) = delete;
    Page& operator=(const Page&) = delete;

    bool ok() const;
    const std::string& error() const { return error_; }
    const std::string& resourceName() const;

    Control find(std::string_view name) const;
    // find() without building a sub-layout: null for a control whose sub-layout is not built yet.
    Control findLoaded(std::string_view name) const;
    // Builds every sub-layout still pending.
    void loadAll();
    // Called with the sub-layout's resource name each time one is built on demand.
    void onSubLayoutLoaded(std::function<void(const std::string& layout)> loaded);
    // Runs `prepare` once the control of that name exists: at once when it does, else when its sub-layout
    // is built (first shown, or one of its controls looked for). What a page fills its lists with at
    // start goes through here, so pages nobody opens are never built.
    void whenBuilt(std::string_view name, std::function<void()> prepare);
    // Whether the control exists yet (always, on a page built whole).
    bool built(std::string_view name) const { return findLoaded(name).exists(); }
    // Runs `show` when the control's sub-layout is built, if it is not yet. With built(): a refresh that
    // only shows state skips a page not built yet and runs in full when the page is built.
    void onBuilt(std::string_view name, std::function<void()> show);
    // Every control of that name, in layout order (most names are used once).
    std::vector<Control> findAll(std::string_view name) const;
    // The control that raised a notification, even where several controls share its name.
    Control senderOf(const Notification& n) const;
    Option option(std::string_view name) const { return as<Option>(name); }
    ListLike list(std::string_view name) const { return as<ListLike>(name); }
    ListLike combo(std::string_view name) const { return as<ListLike>(name); }
    Edit edit(std::string_view name) const { return as<Edit>(name); }
    Slider slider(std::string_view name) const { return as<Slider>(name); }
    Tabs tabs(std::string_view name) const { return as<Tabs>(name); }
    Label label(std::string_view name) const { return as<Label>(name); }
    Button button(std::string_view name) const { return as<Button>(name); }
    Palette palette(std::string_view name) const { return as<Palette>(name); }

    // The control as `as` gives it, but only when its sub-layout is built already (else a null one):
    // for keeping a list in step that fills itself from its files when it is built.
    template <class T> T builtAs(std::string_view name) const {
        return findLoaded(name).exists() ? T(core_, indexOf(name)) : T();
    }
    // Every named control of the tree, in layout order, as the layout spells them.
    std::vector<std::string> controlNames() const;

    void setHandler(std::function<void(const Notification&)> handler);
    void raise(Notification notification);

    // As if the user did it: for tests and for scripted flows.
    void click(std::string_view name);
    void hover(std::string_view name, bool enter);

    QWidget* root() const;
    // Makes a widget created after loading (a menu item added at run time) a named control of the page.
    void adopt(QWidget* widget);
    // Detaches the widget tree from the page (the caller owns it from now on).
    QWidget* release();
    void retranslate();

private:
    template <class T> T as(std::string_view name) const {
        Control c = find(name);
        return c.exists() ? T(core_, indexOf(name)) : T();
    }
    int indexOf(std::string_view name) const;

    std::shared_ptr<PageCore> core_;
    std::string error_;
    bool owned_ = true;
};

} // namespace zq::ui
