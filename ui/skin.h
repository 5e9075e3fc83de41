#pragma once
// The skin folder: the resource index (res.xml) that names every layout, the language file, the style
// sheet and the pictures. One Skin serves every page of the program; a language reload re-resolves
// the texts of every page that is still alive.
#include "ui/text_catalog.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace zq::ui {

struct PageCore;

class Skin {
public:
    // The application folder: ZQ70_APP_DIR when set, else the executable's folder when it holds a
    // skin, else the installed share folder.
    static std::string applicationFolder();
    static std::string defaultSkinFolder() { return applicationFolder() + "/skin"; }

    // Reads folder/res.xml, the language file and the style sheet it names. Check ok() and error().
    explicit Skin(std::string folder);
    ~Skin();
    Skin(const Skin&) = delete;
    Skin& operator=(const Skin&) = delete;

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    const std::string& folder() const { return folder_; }

    // Layout resource names in the order res.xml lists them.
    const std::vector<std::string>& layoutNames() const { return layoutOrder_; }
    // The .ui file of a resource name (compared without regard to case), or nullopt.
    std::optional<std::string> layoutFile(std::string_view resourceName) const;

    const TextCatalog& texts() const { return texts_; }
    // The language file now loaded, as res.xml or the last reload named it.
    const std::string& textsFile() const { return textsFile_; }
    std::string text(std::string_view id) const { return texts_.text(id); }
    // Reads the language file again (after a language switch) and re-resolves every live page's texts.
    std::optional<std::string> reloadTexts(const std::string& languageFile = {});

    const std::string& styleSheet() const { return styleSheet_; }

    // An image reference as the pages give it ("file='ms/key_left_down.png'", a res.xml image name or a
    // path) → an absolute file path, or empty when it names nothing.
    std::string resolveImage(std::string_view reference) const;

    // Builds a widget tree from a layout file; used by Page. Null on failure with the reason in *why.
    // With deferSubLayouts the layout's own sub-layout holders stay empty (fillHolder fills one later);
    // the sub-layouts of a sub-layout are always built with it.
    QWidget* buildLayout(std::string_view resourceName, QWidget* parent, std::string* why,
                         bool deferSubLayouts = false) const;
    // The sub-layout a holder is still waiting for, or empty.
    static std::string pendingSubLayout(const QWidget* holder);
    // Builds the holder's sub-layout into it; false (with the reason) when it cannot be built.
    bool fillHolder(QWidget* holder, std::string* why) const;
    // True when the layout (or a sub-layout it includes) has a control of that name. Read from the
    // layout files once, without building anything.
    bool layoutDefines(std::string_view resourceName, std::string_view controlName) const;

    // Pages register here so a language reload reaches them.
    void attach(const std::shared_ptr<PageCore>& page) const;

private:
    struct Loader;
    std::string folder_;
    std::string error_;
    std::map<std::string, std::string, std::less<>> layouts_; // lower-case name → file
    std::vector<std::string> layoutOrder_;
    std::map<std::string, std::string, std::less<>> images_; // lower-case name → file
    std::string textsFile_;
    TextCatalog texts_;
    std::string styleSheet_;
    std::unique_ptr<Loader> loader_;
    mutable std::vector<std::weak_ptr<PageCore>> pages_;
    // Lower-case control names per lower-case layout name, read on first need.
    mutable std::map<std::string, std::set<std::string>, std::less<>> namesByLayout_;
    mutable std::map<std::string, std::vector<std::string>, std::less<>> subLayoutsOf_;
};

// Custom widget classes the layouts name in <customwidgets>; the loader asks this registry first. The
// factory gets the skin whose layout is being built, for controls that resolve their own pictures.
using WidgetFactory = std::function<QWidget*(QWidget* parent, const Skin& skin)>;
void registerWidgetClass(const std::string& className, WidgetFactory factory);
bool isWidgetClassRegistered(const std::string& className);

std::string toLower(std::string_view text);

} // namespace zq::ui
