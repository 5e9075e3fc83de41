#include "shell/controls/register_controls.h"

#include "shell/controls/chart_view.h"
#include "shell/controls/circle_progress.h"
#include "shell/controls/colour_palette.h"
#include "shell/controls/device_key_button.h"
#include "shell/controls/wnd_host.h"
#include "ui/skin.h"

#include <type_traits>

namespace zq::controls {

namespace {
// Controls that draw pictures of the skin get the skin of the layout they are built for.
template <class T> void add(const char* name) {
    ui::registerWidgetClass(name, [](QWidget* parent, const ui::Skin& skin) -> QWidget* {
        if constexpr (std::is_constructible_v<T, QWidget*, const ui::Skin*>)
            return new T(parent, &skin);
        else
            return new T(parent);
    });
}
} // namespace

// The class names the layouts give these controls.
void registerCustomControls() {
    add<DeviceKeyButton>("DeviceKeyButton");
    add<CircleProgress>("CircleProgress");
    add<WndHost>("WndHost");
    add<ChartView>("ChartView");
    add<ColourPalette>("ColourPalette");
}

} // namespace zq::controls
