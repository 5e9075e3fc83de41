#pragma once
// The "Simulated devices" window of simulate mode: plug and unplug each emulated device, press the
// mouse's profile and DPI buttons, click. What the devices do in answer reaches the program through the
// same HID path a real device's reports take.
#include <QWidget>

namespace zq::sim {
class SimBackend;
}

namespace zq::shell {

class SimulatePanel final : public QWidget {
public:
    explicit SimulatePanel(sim::SimBackend& backend, QWidget* parent = nullptr);
    // Shows the plug state of every device as it is now.
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;

private:
    sim::SimBackend& backend_;
};

} // namespace zq::shell
