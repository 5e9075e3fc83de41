#include "device/hid/hidraw_backend.h"

#include "device/hid/node_watcher.h"
#include "device/hid/report_descriptor.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <string_view>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace zq::hid {

namespace {

using Deadline = std::chrono::steady_clock::time_point;

// Which file a path led to: a replugged device gets a new node (a new inode, and on a real system
// possibly another minor number) even when it reuses the old name.
struct FileId {
    dev_t dev = 0;
    ino_t ino = 0;
    dev_t rdev = 0;
    bool operator==(const FileId&) const = default;
};

FileId fileId(const struct stat& st) {
    return {st.st_dev, st.st_ino, st.st_rdev};
}

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(Fd&& other) noexcept : fd_(other.release()) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    int release() { return std::exchange(fd_, -1); }
    void reset() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

bool isRemoval(int error) {
    return error == EIO || error == ENODEV || error == ENOTCONN;
}

int openFlags(unsigned access) {
    int mode = O_RDONLY; // a node opened for nothing is still opened to be asked by ioctl
    if ((access & kAccessRead) && (access & kAccessWrite))
        mode = O_RDWR;
    else if (access & kAccessWrite)
        mode = O_WRONLY;
    // Non-blocking, so that a read() after poll() can never block where another reader of the same
    // handle took the report first: it gets EAGAIN and polls again.
    return mode | O_NONBLOCK | O_CLOEXEC;
}

// Asks an open node for its identity and report descriptor. 0 or an errno value.
int askNode(int fd, NodeInfo& info) {
    struct hidraw_devinfo devinfo {};
    if (::ioctl(fd, HIDIOCGRAWINFO, &devinfo) != 0) return errno;
    int size = 0;
    if (::ioctl(fd, HIDIOCGRDESCSIZE, &size) != 0) return errno;
    if (size < 0 || size > HID_MAX_DESCRIPTOR_SIZE) return EPROTO;
    auto desc = std::make_unique<struct hidraw_report_descriptor>();
    desc->size = static_cast<std::uint32_t>(size);
    if (::ioctl(fd, HIDIOCGRDESC, desc.get()) != 0) return errno;
    // The kernel leaves size as we set it; a node served from user space may set it itself. Trust
    // neither beyond what both say.
    const std::uint32_t n = std::min(desc->size, static_cast<std::uint32_t>(size));
    info.vendorId = static_cast<std::uint16_t>(devinfo.vendor);
    info.productId = static_cast<std::uint16_t>(devinfo.product);
    info.version = 0; // hidraw does not tell the release number
    info.descriptor.assign(desc->value, desc->value + n);
    return 0;
}

// "hidraw" followed by digits only; the number orders the listing.
std::optional<unsigned> hidrawNumber(std::string_view name) {
    constexpr std::string_view kPrefix = "hidraw";
    if (name.size() <= kPrefix.size() || name.substr(0, kPrefix.size()) != kPrefix) return std::nullopt;
    unsigned n = 0;
    for (char c : name.substr(kPrefix.size())) {
        if (c < '0' || c > '9' || n > 100000) return std::nullopt;
        n = n * 10 + static_cast<unsigned>(c - '0');
    }
    return n;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + '/' + name;
}

int remainingMs(Deadline deadline) {
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= left.zero()) return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return static_cast<int>(std::min<long long>(ms, INT_MAX));
}

Deadline deadlineAfter(std::chrono::milliseconds limit) {
    return std::chrono::steady_clock::now() + std::max(limit, std::chrono::milliseconds(0));
}

} // namespace

// What the backend remembers about the files behind the paths: the one each open handle has, the one
// the last enumeration saw, and the nodes that enumeration could not ask. Shared with the open nodes,
// which may outlive the backend.
class HidrawRegistry {
public:
    void setListed(std::map<std::string, FileId> listed, std::vector<NodeFailure> failures,
                   std::map<std::string, HidIds> ids, std::vector<RefusedNode> refused) {
        std::lock_guard lock(mutex_);
        ids_ = std::move(ids);
        refused_ = std::move(refused);
        for (auto it = entries_.begin(); it != entries_.end();) {
            it->second.listed.reset();
            it = it->second.open.empty() ? entries_.erase(it) : std::next(it);
        }
        for (auto& [path, id] : listed) entries_[path].listed = id;
        failures_ = std::move(failures);
    }
    void opened(const std::string& path, FileId id) {
        std::lock_guard lock(mutex_);
        entries_[path].open.push_back(id);
    }
    void closed(const std::string& path, FileId id) {
        std::lock_guard lock(mutex_);
        const auto it = entries_.find(path);
        if (it == entries_.end()) return;
        auto& open = it->second.open;
        const auto hit = std::find(open.begin(), open.end(), id);
        if (hit != open.end()) open.erase(hit);
        if (open.empty() && !it->second.listed) entries_.erase(it);
    }
    // A handle still open on an older file under this path makes the answer "not the same device", so
    // its holder closes it and scans again, even though a device now answers under the same name.
    bool matches(const std::string& path, FileId now) const {
        std::lock_guard lock(mutex_);
        const auto it = entries_.find(path);
        if (it == entries_.end()) return true;
        const auto& e = it->second;
        if (!e.open.empty())
            return std::all_of(e.open.begin(), e.open.end(), [&](FileId id) { return id == now; });
        return !e.listed || *e.listed == now;
    }
    std::vector<NodeFailure> failures() const {
        std::lock_guard lock(mutex_);
        return failures_;
    }
    // An open of a listed node was refused for lack of permission: its device is known from the listing.
    void openRefused(const std::string& path) {
        std::lock_guard lock(mutex_);
        const auto it = ids_.find(path);
        if (it == ids_.end()) return;
        for (const auto& r : refused_)
            if (r.node == path) return;
        refused_.push_back({path, it->second.vendorId, it->second.productId});
    }
    std::vector<RefusedNode> refused() const {
        std::lock_guard lock(mutex_);
        return refused_;
    }

private:
    struct Entry {
        std::optional<FileId> listed;
        std::vector<FileId> open;
    };
    mutable std::mutex mutex_;
    std::map<std::string, Entry> entries_;
    std::vector<NodeFailure> failures_;
    std::map<std::string, HidIds> ids_; // identity of each node the last enumeration listed
    std::vector<RefusedNode> refused_;
};

namespace {

bool isPermissionError(int error) {
    return error == EACCES || error == EPERM;
}

// The device behind a character-device node, from the kernel's device information: this needs no
// access to the node itself, only to sysfs, which everybody may read.
std::optional<HidIds> sysfsIdentity(const std::string& node) {
    struct stat st {};
    if (::stat(node.c_str(), &st) != 0 || !S_ISCHR(st.st_mode)) return std::nullopt;
    const std::string uevent = "/sys/dev/char/" + std::to_string(major(st.st_rdev)) + ":" +
                               std::to_string(minor(st.st_rdev)) + "/device/uevent";
    std::ifstream in(uevent);
    if (!in) return std::nullopt;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return parseHidUevent(text);
}

} // namespace

namespace {

class HidrawNode final : public RawNode {
public:
    HidrawNode(Fd fd, Fd cancelFd, NodeInfo info, FileId id, std::shared_ptr<HidrawRegistry> registry)
        : fd_(fd.release()), cancelFd_(cancelFd.release()), info_(std::move(info)), id_(id),
          registry_(std::move(registry)), numbered_(usesReportIds(info_.descriptor)) {
        registry_->opened(info_.node, id_);
    }
    ~HidrawNode() override { registry_->closed(info_.node, id_); }

    const NodeInfo& info() const override { return info_; }

    IoResult write(std::span<const std::uint8_t> report, std::chrono::milliseconds limit) override {
        if (cancelled_.load()) return {IoStatus::Cancelled, 0};
        if (!fd_ || report.empty()) return {IoStatus::Error, 0};
        const Deadline deadline = deadlineAfter(limit);
        for (;;) {
            if (const auto s = waitFor(POLLOUT, deadline); s != IoStatus::Ok) return {s, 0};
            const ssize_t n = ::write(fd_.get(), report.data(), report.size());
            if (n == static_cast<ssize_t>(report.size())) return {IoStatus::Ok, report.size()};
            if (n >= 0) return {IoStatus::Error, 0}; // a report goes out whole or not at all
            if (errno == EINTR || errno == EAGAIN) continue;
            return {isRemoval(errno) ? IoStatus::Removed : IoStatus::Error, 0};
        }
    }

    IoResult read(std::span<std::uint8_t> buffer, std::chrono::milliseconds limit) override {
        if (cancelled_.load()) return {IoStatus::Cancelled, 0};
        if (!fd_ || buffer.empty()) return {IoStatus::Error, 0};
        // hidraw hands over the reports of a device without report ids as they are, with no id byte;
        // callers always get byte 0 = report id, so such a report lands one byte in, after a 0.
        const std::span<std::uint8_t> target = numbered_ ? buffer : buffer.subspan(1);
        if (target.empty()) return {IoStatus::Error, 0};
        const Deadline deadline = deadlineAfter(limit);
        for (;;) {
            if (const auto s = waitFor(POLLIN, deadline); s != IoStatus::Ok) return {s, 0};
            const ssize_t n = ::read(fd_.get(), target.data(), target.size());
            if (n > 0 && !numbered_) {
                buffer[0] = 0;
                return {IoStatus::Ok, static_cast<std::size_t>(n) + 1};
            }
            if (n > 0) return {IoStatus::Ok, static_cast<std::size_t>(n)};
            if (n == 0) return {IoStatus::Error, 0};
            // EAGAIN: the report announced by poll went to another reader of this handle.
            if (errno == EINTR || errno == EAGAIN) continue;
            return {isRemoval(errno) ? IoStatus::Removed : IoStatus::Error, 0};
        }
    }

    void cancel() override {
        cancelled_.store(true);
        // Never reset: the eventfd stays readable, so every later poll returns at once too.
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(cancelFd_.get(), &one, sizeof one);
    }

private:
    // Ok when the node is ready for `events`; otherwise why the wait ended.
    IoStatus waitFor(short events, Deadline deadline) {
        for (;;) {
            struct pollfd fds[2] = {{cancelFd_.get(), POLLIN, 0}, {fd_.get(), events, 0}};
            const int r = ::poll(fds, 2, remainingMs(deadline));
            if (r < 0) {
                if (errno == EINTR) continue;
                return IoStatus::Error;
            }
            if (fds[0].revents != 0) return IoStatus::Cancelled;
            if (r == 0) return IoStatus::Timeout;
            const short ev = fds[1].revents;
            if (ev & POLLNVAL) return IoStatus::Error;
            // Reports that came in before a hangup can still be read; a write to a hung-up node cannot
            // reach anything.
            if ((events & POLLIN) && (ev & POLLIN)) return IoStatus::Ok;
            if (ev & (POLLERR | POLLHUP)) return IoStatus::Removed;
            if (ev & events) return IoStatus::Ok;
        }
    }

    const Fd fd_;
    const Fd cancelFd_;
    const NodeInfo info_;
    const FileId id_;
    const std::shared_ptr<HidrawRegistry> registry_;
    const bool numbered_; // byte 0 of every report on the node is its id
    std::atomic<bool> cancelled_{false};
};

} // namespace

HidrawBackend::HidrawBackend(std::string folder)
    : folder_(std::move(folder)), registry_(std::make_shared<HidrawRegistry>()) {}

HidrawBackend::~HidrawBackend() = default;

bool HidrawBackend::enumerate(std::vector<NodeInfo>& out) {
    out.clear();
    std::vector<std::pair<unsigned, std::string>> names;
    {
        DIR* dir = ::opendir(folder_.c_str());
        if (dir == nullptr) return false;
        while (const struct dirent* e = ::readdir(dir)) {
            if (const auto n = hidrawNumber(e->d_name)) names.emplace_back(*n, e->d_name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());

    std::map<std::string, FileId> listed;
    std::map<std::string, HidIds> ids;
    std::vector<NodeFailure> failures;
    std::vector<RefusedNode> refused;
    for (const auto& [number, name] : names) {
        NodeInfo info;
        info.node = joinPath(folder_, name);
        Fd fd(::open(info.node.c_str(), openFlags(kAccessNone)));
        struct stat st {};
        int error = 0;
        if (!fd)
            error = errno;
        else if (::fstat(fd.get(), &st) != 0)
            error = errno;
        else
            error = askNode(fd.get(), info);
        if (error != 0) {
            if (isPermissionError(error))
                if (const auto known = sysfsIdentity(info.node))
                    refused.push_back({info.node, known->vendorId, known->productId});
            failures.push_back({info.node, error});
            continue;
        }
        listed[info.node] = fileId(st);
        ids[info.node] = {info.vendorId, info.productId};
        out.push_back(std::move(info));
    }
    registry_->setListed(std::move(listed), std::move(failures), std::move(ids), std::move(refused));
    return true;
}

std::unique_ptr<RawNode> HidrawBackend::open(const std::string& node, unsigned access, bool exclusive) {
    Fd fd(::open(node.c_str(), openFlags(access)));
    if (!fd) {
        if (isPermissionError(errno)) registry_->openRefused(node);
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return nullptr;
    NodeInfo info;
    info.node = node;
    if (askNode(fd.get(), info) != 0) return nullptr;
    if (access == kAccessNone) {
        fd.reset(); // identity only: the handle reads and writes nothing
    } else if (::flock(fd.get(), (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        return nullptr;
    }
    Fd cancelFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!cancelFd) return nullptr;
    return std::make_unique<HidrawNode>(std::move(fd), std::move(cancelFd), std::move(info), fileId(st),
                                        registry_);
}

bool HidrawBackend::present(const std::string& node, std::uint16_t vendorId, std::uint16_t productId) {
    struct stat st {};
    Fd fd(::open(node.c_str(), openFlags(kAccessNone)));
    if (!fd) {
        if (errno != EACCES && errno != EPERM) return false;
        // Not allowed to open it (any more): the file's identity is all that can be checked.
        if (::stat(node.c_str(), &st) != 0) return false;
        return registry_->matches(node, fileId(st));
    }
    struct hidraw_devinfo devinfo {};
    if (::fstat(fd.get(), &st) != 0 || ::ioctl(fd.get(), HIDIOCGRAWINFO, &devinfo) != 0) return false;
    if (static_cast<std::uint16_t>(devinfo.vendor) != vendorId ||
        static_cast<std::uint16_t>(devinfo.product) != productId)
        return false;
    return registry_->matches(node, fileId(st));
}

std::vector<NodeFailure> HidrawBackend::lastFailures() const {
    return registry_->failures();
}

NodeChanges* HidrawBackend::nodeChanges() {
    std::call_once(watcherOnce_, [this] { watcher_ = NodeWatcher::create(folder_); });
    return watcher_.get();
}

std::vector<RefusedNode> HidrawBackend::refusedNodes() const {
    return registry_->refused();
}

std::optional<HidIds> parseHidUevent(std::string_view uevent) {
    constexpr std::string_view kKey = "HID_ID=";
    std::size_t at = 0;
    while (at < uevent.size()) {
        const std::size_t end = std::min(uevent.find('\n', at), uevent.size());
        const std::string_view line = uevent.substr(at, end - at);
        at = end + 1;
        if (line.substr(0, kKey.size()) != kKey) continue;
        // bus:vendor:product, each hexadecimal; vendor and product are 32-bit wide in the text.
        std::uint32_t fields[3] = {};
        std::size_t field = 0, digits = 0;
        for (char c : line.substr(kKey.size())) {
            if (c == ':') {
                if (digits == 0 || ++field > 2) return std::nullopt;
                digits = 0;
                continue;
            }
            int v = -1;
            if (c >= '0' && c <= '9')
                v = c - '0';
            else if (c >= 'a' && c <= 'f')
                v = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                v = c - 'A' + 10;
            if (v < 0 || ++digits > 8) return std::nullopt;
            fields[field] = fields[field] * 16 + static_cast<std::uint32_t>(v);
        }
        if (field != 2 || digits == 0 || fields[1] > 0xFFFF || fields[2] > 0xFFFF) return std::nullopt;
        return HidIds{static_cast<std::uint16_t>(fields[1]), static_cast<std::uint16_t>(fields[2])};
    }
    return std::nullopt;
}

std::string defaultHidrawFolder() {
    const char* dir = std::getenv("ZQ70_HIDRAW_DIR");
    return dir != nullptr && *dir != '\0' ? dir : "/dev";
}

std::unique_ptr<RawNodeBackend> makeDefaultBackend() {
    return std::make_unique<HidrawBackend>(defaultHidrawFolder());
}

} // namespace zq::hid
