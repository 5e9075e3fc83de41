#include "shell/controls/register_controls.h"

#include "shell/controls/chart_view.h"
#include "shell/controls/circle_progress.h"
#include "shell/controls/colour_palette.h"
#include "shell/controls/device_key_button.h"
#include "shell/controls/wnd_host.h"
#include "ui/skin.h"

namespace zq::controls {

namespace {
template <class T> void add(const char* name) {
    ui::registerWidgetClass(name, [](QWidget* parent) -> QWidget* { return new T(parent); });
}
} // namespace

void registerCustomControls() {
    add<DeviceKeyButton>("DeviceKeyButton");
    add<DeviceKeyButton>("CDeviceKeyButtonUI");
    add<CircleProgress>("CircleProgress");
    add<CircleProgress>("CCircleProgressUI");
    add<WndHost>("WndHost");
    add<WndHost>("CWndUI");
    add<ChartView>("ChartView");
    add<ChartView>("CChartViewUI");
    add<ColourPalette>("ColourPalette");
}

} // namespace zq::controls
