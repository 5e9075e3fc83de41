#pragma once
// The shared insides of a loaded page: its widgets by name and its dispatcher. Only ui/ sees this.
#include "ui/notification.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zq::ui {

class Skin;

struct PageCore {
    const Skin* skin = nullptr;
    std::string resourceName;
    QPointer<QWidget> root;
    std::vector<QPointer<QWidget>> widgets;
    std::vector<std::string> names;   // as the layout spells them
    std::map<std::string, int> index; // lower-case name → widgets/names index
    std::function<void(const Notification&)> handler;
    // Sub-layout holders not built yet (pages that build sub-layouts on demand), and who wants to know
    // when one is.
    std::vector<QPointer<QWidget>> pending;
    std::vector<std::function<void(const std::string& layout)>> onLoaded;
    int dispatchDepth = 0;

    QWidget* widget(int i) const {
        return i >= 0 && static_cast<std::size_t>(i) < widgets.size()
                   ? widgets[static_cast<std::size_t>(i)].data()
                   : nullptr;
    }
    void raise(const Notification& n);
    // Re-reads every textId/toolTipId of the page from the skin's catalog.
    void retranslate();
    // Rebuilds a widget's style sheet from the facade's properties (background, image, border, ...).
    void restyle(QWidget* w) const;
    // restyle() for a widget whose layout gives it a picture, colour or border of its own.
    void applyLayoutLook(QWidget* w) const;
};

// Builds a pending sub-layout holder of the page and names its controls.
void loadHolder(const std::shared_ptr<PageCore>& core, QWidget* holder);

// Dynamic property names the facade and the layouts share.
namespace prop {
inline constexpr const char* kTextId = "textId";
inline constexpr const char* kToolTipId = "toolTipId";
inline constexpr const char* kStyle = "zqStyle";
inline constexpr const char* kSubLayout = "subLayout";
inline constexpr const char* kUserData = "userData";
inline constexpr const char* kHeaderTextIds = "headerTextIds";
inline constexpr const char* kBkColor = "zqBkColor";
inline constexpr const char* kBkImage = "zqBkImage";
inline constexpr const char* kHotImage = "zqHotImage";
inline constexpr const char* kTextColor = "zqTextColor";
inline constexpr const char* kBorderWidth = "zqBorderWidth";
inline constexpr const char* kBorderColor = "zqBorderColor";
inline constexpr const char* kBaseStyleSheet = "zqBaseStyleSheet";
// The current index a combo or list last reported, so "itemselect" carries the old index too.
inline constexpr const char* kLastIndex = "zqLastIndex";
// Light overlay; DeviceKeyButton declares these as properties and paints them.
inline constexpr const char* kLightColour = "lightColour";
inline constexpr const char* kLightAlpha = "lightAlpha";
inline constexpr const char* kLit = "lit";
} // namespace prop

} // namespace zq::ui
