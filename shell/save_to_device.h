#pragma once
// The device save buttons ("ms_key_butt_prosave", "kb_key_butt_prosave"): the cursor paths (mouse) and
// the macros built from their files, then the key block, sent from the device worker while the window
// shows the progress ring. Both buttons stay disabled until the transfer has ended, so two transfers
// never overlap; the window stays responsive throughout.
#include "device/app_state.h"

#include <functional>
#include <string>
#include <vector>

namespace zq::shell {

class MainWindow;
class SyncWiring;

class SaveToDevice {
public:
    SaveToDevice(MainWindow& window, SyncWiring& sync);

    void start(device::DeviceClass device);
    // After a transfer that reached the device: the device's settings go into the selected profiles'
    // files (a mask of the profile pages' StoredProfile bits).
    std::function<void(unsigned storedProfiles)> storeSettings;
    bool running() const { return running_; }
    // Called once when the running transfer ends (at once when none runs).
    void whenDone(std::function<void()> done);
    // How the last transfer ended: whether its key block reached the device, and what it told the user
    // (empty when nothing).
    struct Outcome {
        bool completed = false;
        std::string message;
    };
    const Outcome& lastOutcome() const { return outcome_; }

private:
    void enableButtons(bool enabled);
    void progress(int done, int total);

    MainWindow& window_;
    SyncWiring& sync_;
    bool running_ = false;
    Outcome outcome_;
    std::vector<std::function<void()>> whenDone_;
};

} // namespace zq::shell
