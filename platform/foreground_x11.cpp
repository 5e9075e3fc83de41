// The application in front as the X window manager sees it. The backend keeps a display connection of
// its own, used by one listener thread only: it asks for PropertyNotify on the root window (where the
// window manager writes _NET_ACTIVE_WINDOW) and on the active window (whose _NET_WM_PID may come after
// it is activated), then sleeps in poll() on the connection and a wake-up descriptor until either has
// something. Readers get the process id the listener last saw and read /proc themselves.
#include "platform/foreground.h"

#include "platform/debug.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <thread>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace zq::platform {

namespace {

// A window that goes away between two requests is an ordinary event here, not a reason for Xlib's
// default handler to end the process. The handler is process-wide; it only swallows the error (the
// failing request reports its own failure to its caller).
int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

void installErrorHandler() {
    static std::once_flag once;
    std::call_once(once, [] { XSetErrorHandler(ignoreXError); });
}

// A lost connection (the X server ended) must not end the program either: the exit handler only marks
// the connection dead, and nothing touches it again.
void connectionLost(Display*, void* userData) {
    static_cast<std::atomic<bool>*>(userData)->store(true);
}

// One 32-bit item of a window property (a window or a cardinal); nullopt when there is none.
std::optional<unsigned long> propertyItem(Display* d, Window w, Atom property, Atom type) {
    Atom actualType = None;
    int actualFormat = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(d, w, property, 0, 1, False, type, &actualType, &actualFormat,
                                          &items, &after, &data);
    std::optional<unsigned long> value;
    if (status == Success && data && actualType == type && actualFormat == 32 && items >= 1)
        value = reinterpret_cast<unsigned long*>(data)[0]; // format 32 items are longs in Xlib
    if (data) XFree(data);
    return value;
}

class X11Foreground final : public ForegroundApplication {
public:
    X11Foreground(Display* display) : display_(display), wake_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
        XSetIOErrorExitHandler(display_, connectionLost, &dead_);
        root_ = DefaultRootWindow(display_);
        activeAtom_ = XInternAtom(display_, "_NET_ACTIVE_WINDOW", False);
        pidAtom_ = XInternAtom(display_, "_NET_WM_PID", False);
        XSelectInput(display_, root_, PropertyChangeMask);
        readActive();
        XFlush(display_);
        listener_ = std::thread([this] { listen(); });
    }

    ~X11Foreground() override {
        const std::uint64_t one = 1;
        if (wake_ >= 0 && ::write(wake_, &one, sizeof one) < 0) {
            // Nothing else wakes the listener; it still ends when the connection does.
        }
        if (listener_.joinable()) listener_.join();
        if (!dead_) XCloseDisplay(display_);
        if (wake_ >= 0) ::close(wake_);
    }

    ForegroundBackendKind kind() const override { return ForegroundBackendKind::X11; }

    std::optional<std::string> executablePath() override {
        std::lock_guard lock(stateMutex_);
        if (dead_) return std::nullopt;
        if (active_ == None) return std::string(); // nothing in front
        if (pid_ <= 0) return std::nullopt;
        return executableOfProcess(pid_);
    }

private:
    void listen() {
        const int xfd = ConnectionNumber(display_);
        for (;;) {
            bool moved = false;
            while (!dead_ && XPending(display_) > 0) {
                XEvent event;
                XNextEvent(display_, &event);
                if (event.type != PropertyNotify) continue;
                const XPropertyEvent& p = event.xproperty;
                if ((p.window == root_ && p.atom == activeAtom_) ||
                    (p.window == watched_ && p.atom == pidAtom_))
                    moved = true;
            }
            if (dead_) break;
            if (moved) {
                if (readActive()) changed();
                // Its round trips may have taken more events off the connection into Xlib's queue,
                // where poll() cannot see them: look at the queue again first.
                continue;
            }
            // XPending has flushed our requests and found nothing to read. No Xlib call may come between
            // it and poll(): even a flush can take waiting events off the connection into the queue.
            pollfd fds[2] = {{xfd, POLLIN, 0}, {wake_, POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0) continue; // a signal: look again
            if (fds[1].revents != 0) return;
            if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
                dead_ = true;
                break;
            }
        }
        // The connection is gone: readers get no path from now on, and the waiters hear of it once.
        debugString("foreground: the X server connection is gone");
        changed();
    }

    // Reads the active window and its process id; true when either differs from what was known.
    bool readActive() {
        const Window active =
            static_cast<Window>(propertyItem(display_, root_, activeAtom_, XA_WINDOW).value_or(None));
        // Follow the active window's own properties: a window often gets _NET_WM_PID after it shows.
        if (active != watched_) {
            if (watched_ != None) XSelectInput(display_, watched_, NoEventMask);
            if (active != None && active != root_) XSelectInput(display_, active, PropertyChangeMask);
            watched_ = active;
        }
        long pid = 0;
        if (active != None)
            if (auto item = propertyItem(display_, active, pidAtom_, XA_CARDINAL))
                pid = static_cast<long>(*item);
        std::lock_guard lock(stateMutex_);
        const bool differs = active != active_ || pid != pid_;
        active_ = active;
        pid_ = pid;
        return differs;
    }

    Display* display_;
    int wake_;
    std::atomic<bool> dead_{false};
    Window root_ = None;
    Atom activeAtom_ = None;
    Atom pidAtom_ = None;
    Window watched_ = None; // listener thread only
    std::mutex stateMutex_;
    Window active_ = None;
    long pid_ = 0;
    std::thread listener_;
};

} // namespace

std::unique_ptr<ForegroundApplication> makeX11Foreground() {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) return nullptr;
    installErrorHandler();
    // A busy server now and then turns a connection away; a second try is cheap, and without a
    // connection profiles would not follow the application in front for the whole session.
    Display* display = nullptr;
    for (int attempt = 0; attempt < 3 && !display; ++attempt) display = XOpenDisplay(nullptr);
    if (!display) return nullptr;
    return std::make_unique<X11Foreground>(display);
}

} // namespace zq::platform
