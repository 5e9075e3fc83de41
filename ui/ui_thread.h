#pragma once
// Hands work to the UI thread, which owns every widget and all page state. post() keeps the order of
// the calls; invoke() waits for the work to run, but gives up as soon as the caller's stop event is
// set, so a worker being shut down never waits on a UI thread that is waiting to join it.
#include <functional>

namespace zq::platform {
class Event;
}

namespace zq::ui {

class UiThread {
public:
    static bool isUiThread();
    // Queues fn to run on the UI thread after everything queued before it.
    static void post(std::function<void()> fn);
    // Runs fn on the UI thread and returns true once it has run. Runs it inline on the UI thread.
    // Returns false without running fn when stop is set before fn starts; once fn has started, waits
    // for it to end (fn may reference the caller's stack).
    static bool invoke(std::function<void()> fn, platform::Event& stop);
};

} // namespace zq::ui
