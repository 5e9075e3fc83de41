#pragma once
// Everything one run of the program is made of, built in order and torn down in reverse: the device
// backend (hidraw, or the emulator with --simulate), the application state, the dialogs, the main
// window, the control channel and its commands, and, in simulate mode, the simulated devices panel.
#include <memory>
#include <string>

namespace zq::ui {
class Skin;
}

namespace zq::shell {

struct StartOptions {
    bool simulate = false;
    bool hidden = false;
};

class Application {
public:
    Application(ui::Skin& skin, StartOptions options);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // False when the program must not run (another instance was signalled, or the control channel
    // could not be set up); exitCode() then says with what.
    bool start();
    int exitCode() const { return exitCode_; }
    // True when a worker thread overstayed the exit: the process must end without destructors.
    bool leftThreadsBehind() const;

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
    int exitCode_ = 0;
};

} // namespace zq::shell
