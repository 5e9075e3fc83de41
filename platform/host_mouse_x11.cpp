// The pointer speed as the X server's core pointer acceleration. A display connection is opened for
// each call: the calls are rare, come from short-lived worker threads, and so share no Xlib state.
#include "platform/host_mouse_settings.h"

#include <X11/Xlib.h>
#include <cstdlib>

namespace zq::platform {

namespace {
Display* openDisplay() {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) return nullptr;
    return XOpenDisplay(nullptr);
}
} // namespace

int x11PointerSpeed() {
    Display* d = openDisplay();
    if (!d) return 0;
    int numerator = 0, denominator = 0, threshold = 0;
    XGetPointerControl(d, &numerator, &denominator, &threshold);
    XCloseDisplay(d);
    return speedForAcceleration({numerator, denominator});
}

bool x11SetPointerSpeed(int speed) {
    Display* d = openDisplay();
    if (!d) return false;
    const PointerAcceleration a = accelerationForSpeed(speed);
    // Both terms are at least 1, so the server has no reason to refuse them.
    XChangePointerControl(d, True, False, a.numerator, a.denominator, 0);
    XSync(d, False);
    XCloseDisplay(d);
    return true;
}

} // namespace zq::platform
