#include "device/hid/node_watcher.h"

#include "platform/event.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace zq::hid {

// --- NodeChangeHub ------------------------------------------------------------------------------------

void NodeChangeHub::subscribe(platform::Event& event) {
    std::lock_guard lock(mutex_);
    if (std::find(events_.begin(), events_.end(), &event) == events_.end()) events_.push_back(&event);
}

void NodeChangeHub::unsubscribe(platform::Event& event) {
    std::lock_guard lock(mutex_);
    events_.erase(std::remove(events_.begin(), events_.end(), &event), events_.end());
}

void NodeChangeHub::notify() {
    std::lock_guard lock(mutex_);
    ++changes_;
    for (platform::Event* e : events_) e->set();
}

std::uint64_t NodeChangeHub::changes() const {
    std::lock_guard lock(mutex_);
    return changes_;
}

bool isHidrawName(std::string_view name) {
    constexpr std::string_view kPrefix = "hidraw";
    if (name.size() <= kPrefix.size() || name.substr(0, kPrefix.size()) != kPrefix) return false;
    return std::all_of(name.begin() + kPrefix.size(), name.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

// --- NodeWatcher --------------------------------------------------------------------------------------

namespace {

// File systems whose contents can change without the kernel's VFS seeing it, so inotify stays silent.
constexpr long kFuseMagic = 0x65735546;
constexpr long kNfsMagic = 0x6969;
constexpr long kSmbMagic = 0x517B;
constexpr long kCifsMagic = static_cast<long>(0xFF534D42);
constexpr long kSmb2Magic = static_cast<long>(0xFE534D42);
constexpr long kV9fsMagic = 0x01021997;

bool inotifySeesChanges(const std::string& folder) {
    struct statfs fs {};
    if (::statfs(folder.c_str(), &fs) != 0) return false;
    const long type = static_cast<long>(fs.f_type);
    for (long remote : {kFuseMagic, kNfsMagic, kSmbMagic, kCifsMagic, kSmb2Magic, kV9fsMagic})
        if (type == remote) return false;
    return true;
}

constexpr std::uint32_t kWatchMask = IN_CREATE | IN_DELETE | IN_ATTRIB | IN_MOVED_FROM | IN_MOVED_TO |
                                     IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

} // namespace

std::unique_ptr<NodeWatcher> NodeWatcher::create(const std::string& folder) {
    if (!inotifySeesChanges(folder)) return nullptr;
    const int in = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (in < 0) return nullptr;
    if (::inotify_add_watch(in, folder.c_str(), kWatchMask) < 0) {
        ::close(in);
        return nullptr;
    }
    const int stop = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (stop < 0) {
        ::close(in);
        return nullptr;
    }
    return std::unique_ptr<NodeWatcher>(new NodeWatcher(in, stop));
}

NodeWatcher::NodeWatcher(int inotifyFd, int stopFd) : inotifyFd_(inotifyFd), stopFd_(stopFd) {
    thread_ = std::thread([this] { run(); });
}

NodeWatcher::~NodeWatcher() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(stopFd_, &one, sizeof one);
    if (thread_.joinable()) thread_.join();
    ::close(inotifyFd_);
    ::close(stopFd_);
}

void NodeWatcher::run() {
    // inotify_event records are aligned for their header; the buffer holds many of them.
    alignas(inotify_event) char buffer[4096];
    bool orphaned = false;
    for (;;) {
        struct pollfd fds[2] = {{stopFd_, POLLIN, 0}, {inotifyFd_, POLLIN, 0}};
        const int r = ::poll(fds, orphaned ? 1 : 2, orphaned ? kOrphanedTickMs : -1);
        if (r < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[0].revents != 0) return;
        if (r == 0) { // orphaned: the once-a-second look
            hub_.notify();
            continue;
        }
        bool changed = false;
        for (;;) {
            const ssize_t n = ::read(inotifyFd_, buffer, sizeof buffer);
            if (n <= 0) break; // EAGAIN: all read
            for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= n;) {
                inotify_event event;
                std::memcpy(&event, buffer + at, sizeof event);
                const char* name = buffer + at + sizeof(inotify_event);
                const std::string_view entry =
                    event.len > 0 ? std::string_view(name, ::strnlen(name, event.len)) : std::string_view{};
                if (event.mask & (IN_Q_OVERFLOW | IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED | IN_UNMOUNT))
                    changed = true;
                else if (isHidrawName(entry))
                    changed = true;
                if (event.mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED | IN_UNMOUNT)) orphaned = true;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event.len);
            }
        }
        if (changed) hub_.notify();
    }
}

} // namespace zq::hid
