#pragma once
// The application in front: the full path of the executable of the process that owns the window the
// user works in, and a way to sleep until that may have changed.
//
// Backends: X11 (the window manager's _NET_ACTIVE_WINDOW, its _NET_WM_PID, then /proc/PID/exe; the
// window manager tells of every change through a PropertyNotify on the root window, so nobody polls),
// unavailable (no X server to ask: says so and never wakes anyone), and a fake that tests move by hand.
#include "platform/event.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace zq::platform {

enum class ForegroundBackendKind { X11, Unavailable, Fake };

class ForegroundApplication {
public:
    // One waiter's view of the changes: its event is set at every change after it was made, and stays
    // set until the waiter consumes it (it is an auto-reset event), so no change between two looks is
    // missed.
    class Subscription {
    public:
        explicit Subscription(ForegroundApplication& owner);
        ~Subscription();
        Subscription(const Subscription&) = delete;
        Subscription& operator=(const Subscription&) = delete;
        Event& changed() { return *changed_; }

    private:
        ForegroundApplication& owner_;
        std::shared_ptr<Event> changed_;
    };

    virtual ~ForegroundApplication() = default;
    virtual ForegroundBackendKind kind() const = 0;
    bool available() const { return kind() != ForegroundBackendKind::Unavailable; }

    // The executable of the application in front: its full path; an empty path when no window is in
    // front (the desktop, or a window of a display server this backend cannot see); nullopt when the
    // window's process cannot be told or inspected (no process id, a process of another user).
    virtual std::optional<std::string> executablePath() = 0;

    std::unique_ptr<Subscription> subscribe() { return std::make_unique<Subscription>(*this); }

protected:
    // Sets every subscriber's event. Any thread.
    void changed();

private:
    std::mutex mutex_;
    std::vector<std::shared_ptr<Event>> subscribers_;
};

// The executable of a process from /proc: the target of /proc/PID/exe without the " (deleted)" mark of
// a replaced binary; nullopt when the process is gone or may not be inspected. `procRoot` is for tests.
std::optional<std::string> executableOfProcess(long pid, const std::string& procRoot = "/proc");

// The backend this session offers: X11 when a display can be opened, else the unavailable one.
std::unique_ptr<ForegroundApplication> makeForegroundApplication();
std::unique_ptr<ForegroundApplication> makeUnavailableForeground();
// The X11 backend on the display named by DISPLAY (nullptr when it cannot be opened).
std::unique_ptr<ForegroundApplication> makeX11Foreground();

// Tests: the application in front is whatever the test says.
class FakeForegroundApplication final : public ForegroundApplication {
public:
    ForegroundBackendKind kind() const override { return ForegroundBackendKind::Fake; }
    std::optional<std::string> executablePath() override;
    // Brings an application to the front (nullopt: one whose process may not be inspected).
    void bringToFront(std::optional<std::string> path);
    int reads() const;

private:
    mutable std::mutex mutex_;
    std::optional<std::string> path_ = std::string();
    int reads_ = 0;
};

} // namespace zq::platform
