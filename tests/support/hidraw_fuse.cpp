#define FUSE_USE_VERSION 35
#include "support/hidraw_fuse.h"

#include "device/hid/report_descriptor.h"

#include <fuse_lowlevel.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <future>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <linux/hidraw.h>
#include <linux/input.h>
#include <poll.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zq::test {

bool fuseRequired() {
    const char* required = std::getenv("ZQ70_REQUIRE_FUSE");
    return required != nullptr && std::string(required) == "1";
}

namespace {

constexpr fuse_ino_t kRootIno = FUSE_ROOT_ID;
// hidraw keeps this many unread reports per open handle and drops newer ones.
constexpr std::size_t kQueueDepth = 64;
// Largest input report the pump takes (hidraw's own limit).
constexpr std::size_t kMaxReport = 16384;
// What a written report may cost the emulated device before the write fails, as the kernel bounds a
// USB output transfer.
constexpr std::chrono::milliseconds kWriteLimit{1000};
constexpr const char* kConnections = "/sys/fs/fuse/connections";
// How long the harness waits for its own file system loop (the first answer after mounting, the end of
// the loop on stop) before it gives up on it: a broken harness fails its test, it never hangs it.
constexpr std::chrono::seconds kLoopLimit{10};

std::string baseName(const std::string& simNode) {
    const auto slash = simNode.rfind('/');
    return slash == std::string::npos ? simNode : simNode.substr(slash + 1);
}

int errnoOf(hid::IoStatus s) {
    switch (s) {
    case hid::IoStatus::Ok:
        return 0;
    case hid::IoStatus::Timeout:
        return ETIMEDOUT;
    case hid::IoStatus::Cancelled:
        return EINTR;
    case hid::IoStatus::Removed:
        return ENODEV; // what a write to an unplugged hidraw node gives
    case hid::IoStatus::Error:
        break;
    }
    return EPIPE; // a stalled or refused transfer
}

} // namespace

class HidrawFuse::Impl {
public:
    explicit Impl(sim::SimBackend& backend) : backend_(backend) {}

    // One open file: the emulator's handle, the reports taken from it, the poll handle the kernel
    // waits on, and blocking reads waiting for a report.
    struct Handle {
        std::string name;
        fuse_ino_t ino = 0;
        int flags = 0;
        std::unique_ptr<hid::RawNode> node;
        bool numbered = true; // false: reports go out without their id byte, as hidraw gives them
        std::thread pump;

        std::mutex mutex;
        std::deque<std::vector<std::uint8_t>> queue;
        bool dead = false;
        fuse_pollhandle* pollHandle = nullptr;
        struct PendingRead {
            fuse_req_t req;
            std::size_t size;
        };
        std::deque<PendingRead> pending;
        std::set<fuse_req_t> interrupted; // interrupted before they were queued as pending
    };

    HidrawFuse::Start start();
    void stop();
    bool abortConnection();
    void forceAbort();

    sim::SimBackend& backend_;
    std::string folder_;
    std::string message_;
    fuse_session* session_ = nullptr;
    std::thread loop_;
    std::future<void> loopEnded_;
    bool mounted_ = false;
    dev_t connection_ = 0;

    std::mutex mutex_; // the tables below
    std::map<std::string, fuse_ino_t> present_;
    std::map<fuse_ino_t, std::string> names_; // every inode ever given out, for getattr on old handles
    fuse_ino_t nextIno_ = kRootIno + 1;
    std::map<std::string, int> refusals_;
    std::set<Handle*> handles_;

    // --- inode table
    void refresh();
    void retire(const std::string& name, fuse_ino_t ino);
    struct stat fileStat(fuse_ino_t ino) const;

    // --- handles
    Handle* openHandle(fuse_ino_t ino, int flags, int& error);
    void closeHandle(Handle* h);
    void pump(Handle* h);
    void deliver(Handle* h, std::span<const std::uint8_t> report);
    void markDead(Handle* h);
    static void notifyLocked(Handle* h);
    static void interrupt(fuse_req_t req, void* data);

    // --- file system operations
    static Impl& of(fuse_req_t req) { return *static_cast<Impl*>(fuse_req_userdata(req)); }
    static Handle* handleOf(const fuse_file_info* fi) { return reinterpret_cast<Handle*>(fi->fh); }
    static void opLookup(fuse_req_t req, fuse_ino_t parent, const char* name);
    static void opGetattr(fuse_req_t req, fuse_ino_t ino, fuse_file_info* fi);
    static void opReaddir(fuse_req_t req, fuse_ino_t ino, size_t size, off_t off, fuse_file_info* fi);
    static void opOpen(fuse_req_t req, fuse_ino_t ino, fuse_file_info* fi);
    static void opRelease(fuse_req_t req, fuse_ino_t ino, fuse_file_info* fi);
    static void opRead(fuse_req_t req, fuse_ino_t ino, size_t size, off_t off, fuse_file_info* fi);
    static void opWrite(fuse_req_t req, fuse_ino_t ino, const char* buf, size_t size, off_t off,
                        fuse_file_info* fi);
    static void opPoll(fuse_req_t req, fuse_ino_t ino, fuse_file_info* fi, fuse_pollhandle* ph);
    static void opIoctl(fuse_req_t req, fuse_ino_t ino, unsigned int cmd, void* arg, fuse_file_info* fi,
                        unsigned flags, const void* inBuf, size_t inSize, size_t outSize);
};

using Impl = HidrawFuse::Impl;

// ---------------------------------------------------------------- inode table

// The nodes the emulator shows now. A name that went away loses its inode, so a device plugged in again
// under the same name is a new file, as a new hidraw node is.
void Impl::refresh() {
    std::vector<hid::NodeInfo> nodes;
    backend_.enumerate(nodes);
    std::set<std::string> now;
    for (const auto& n : nodes) now.insert(baseName(n.node));
    std::lock_guard lock(mutex_);
    for (auto it = present_.begin(); it != present_.end();)
        it = now.count(it->first) != 0 ? std::next(it) : present_.erase(it);
    for (const auto& name : now) {
        if (present_.count(name) != 0) continue;
        present_[name] = nextIno_;
        names_[nextIno_] = name;
        ++nextIno_;
    }
}

void Impl::retire(const std::string& name, fuse_ino_t ino) {
    std::lock_guard lock(mutex_);
    const auto it = present_.find(name);
    if (it != present_.end() && it->second == ino) present_.erase(it);
}

struct stat Impl::fileStat(fuse_ino_t ino) const {
    struct stat st {};
    st.st_ino = ino;
    if (ino == kRootIno) {
        st.st_mode = S_IFDIR | 0755;
        st.st_nlink = 2;
    } else {
        st.st_mode = S_IFREG | 0666;
        st.st_nlink = 1;
    }
    st.st_uid = ::getuid();
    st.st_gid = ::getgid();
    return st;
}

// ---------------------------------------------------------------- handles

Impl::Handle* Impl::openHandle(fuse_ino_t ino, int flags, int& error) {
    refresh();
    std::string name;
    {
        std::lock_guard lock(mutex_);
        const auto n = names_.find(ino);
        if (n == names_.end() || present_.count(n->second) == 0 || present_[n->second] != ino) {
            error = ENOENT; // an inode of a node that has been unplugged since
            return nullptr;
        }
        name = n->second;
        if (const auto r = refusals_.find(name); r != refusals_.end() && r->second != 0) {
            error = r->second;
            return nullptr;
        }
    }
    unsigned access = hid::kAccessNone;
    const int mode = flags & O_ACCMODE;
    if (mode == O_RDONLY || mode == O_RDWR) access |= hid::kAccessRead;
    if (mode == O_WRONLY || mode == O_RDWR) access |= hid::kAccessWrite;
    auto node = backend_.open("sim/" + name, access, false);
    if (!node) {
        error = ENODEV;
        return nullptr;
    }
    auto* h = new Handle;
    h->name = name;
    h->ino = ino;
    h->flags = flags;
    h->node = std::move(node);
    h->numbered = hid::usesReportIds(h->node->info().descriptor);
    if (access & hid::kAccessRead) h->pump = std::thread([this, h] { pump(h); });
    std::lock_guard lock(mutex_);
    handles_.insert(h);
    return h;
}

void Impl::closeHandle(Handle* h) {
    {
        std::lock_guard lock(mutex_);
        handles_.erase(h);
    }
    h->node->cancel();
    if (h->pump.joinable()) h->pump.join();
    std::deque<Handle::PendingRead> pending;
    {
        std::lock_guard lock(h->mutex);
        pending.swap(h->pending);
        if (h->pollHandle != nullptr) fuse_pollhandle_destroy(h->pollHandle);
        h->pollHandle = nullptr;
    }
    for (const auto& p : pending) fuse_reply_err(p.req, EIO);
    delete h;
}

// Takes every input report of the emulated handle as it comes, so that poll can tell whether one waits.
void Impl::pump(Handle* h) {
    std::vector<std::uint8_t> buffer(kMaxReport);
    for (;;) {
        const auto r = h->node->read(buffer, std::chrono::seconds(10));
        if (r.status == hid::IoStatus::Timeout) continue;
        if (r.ok()) {
            const auto report = std::span(buffer).first(r.bytes);
            deliver(h, h->numbered || report.empty() ? report : report.subspan(1));
            continue;
        }
        if (r.status == hid::IoStatus::Removed) markDead(h);
        return; // cancelled by the release, or gone
    }
}

void Impl::notifyLocked(Handle* h) {
    if (h->pollHandle == nullptr) return;
    fuse_lowlevel_notify_poll(h->pollHandle);
    fuse_pollhandle_destroy(h->pollHandle);
    h->pollHandle = nullptr;
}

void Impl::deliver(Handle* h, std::span<const std::uint8_t> report) {
    std::unique_lock lock(h->mutex);
    if (!h->pending.empty()) {
        const auto p = h->pending.front();
        h->pending.pop_front();
        lock.unlock();
        fuse_reply_buf(p.req, reinterpret_cast<const char*>(report.data()), std::min(p.size, report.size()));
        return;
    }
    if (h->queue.size() < kQueueDepth) h->queue.emplace_back(report.begin(), report.end());
    notifyLocked(h);
}

void Impl::markDead(Handle* h) {
    std::deque<Handle::PendingRead> pending;
    {
        std::lock_guard lock(h->mutex);
        h->dead = true;
        pending.swap(h->pending);
        notifyLocked(h);
    }
    retire(h->name, h->ino);
    for (const auto& p : pending) fuse_reply_err(p.req, EIO);
}

void Impl::interrupt(fuse_req_t req, void* data) {
    auto* h = static_cast<Handle*>(data);
    std::unique_lock lock(h->mutex);
    const auto it =
        std::find_if(h->pending.begin(), h->pending.end(), [&](const auto& p) { return p.req == req; });
    if (it == h->pending.end()) {
        h->interrupted.insert(req); // opRead has not queued it yet; it answers it itself
        return;
    }
    h->pending.erase(it);
    lock.unlock();
    fuse_reply_err(req, EINTR);
}

// ---------------------------------------------------------------- operations

void Impl::opLookup(fuse_req_t req, fuse_ino_t parent, const char* name) {
    Impl& fs = of(req);
    if (parent != kRootIno) {
        fuse_reply_err(req, ENOENT);
        return;
    }
    fs.refresh();
    fuse_entry_param e{};
    {
        std::lock_guard lock(fs.mutex_);
        const auto it = fs.present_.find(name);
        if (it == fs.present_.end()) {
            fuse_reply_err(req, ENOENT);
            return;
        }
        e.ino = it->second;
    }
    e.generation = 1;
    e.attr = fs.fileStat(e.ino);
    e.attr_timeout = 0; // every look-up asks again: nodes come and go
    e.entry_timeout = 0;
    fuse_reply_entry(req, &e);
}

void Impl::opGetattr(fuse_req_t req, fuse_ino_t ino, fuse_file_info*) {
    Impl& fs = of(req);
    if (ino != kRootIno) {
        std::lock_guard lock(fs.mutex_);
        if (fs.names_.count(ino) == 0) {
            fuse_reply_err(req, ENOENT);
            return;
        }
    }
    const struct stat st = fs.fileStat(ino);
    fuse_reply_attr(req, &st, 0);
}

void Impl::opReaddir(fuse_req_t req, fuse_ino_t ino, size_t size, off_t off, fuse_file_info*) {
    Impl& fs = of(req);
    if (ino != kRootIno) {
        fuse_reply_err(req, ENOTDIR);
        return;
    }
    fs.refresh();
    std::vector<std::pair<std::string, fuse_ino_t>> entries{{".", kRootIno}, {"..", kRootIno}};
    {
        std::lock_guard lock(fs.mutex_);
        for (const auto& [name, i] : fs.present_) entries.emplace_back(name, i);
    }
    std::vector<char> buf(size);
    std::size_t used = 0;
    for (std::size_t i = static_cast<std::size_t>(std::max<off_t>(off, 0)); i < entries.size(); ++i) {
        const struct stat st = fs.fileStat(entries[i].second);
        const std::size_t need = fuse_add_direntry(req, buf.data() + used, size - used,
                                                   entries[i].first.c_str(), &st, static_cast<off_t>(i + 1));
        if (need > size - used) break;
        used += need;
    }
    fuse_reply_buf(req, buf.data(), used);
}

void Impl::opOpen(fuse_req_t req, fuse_ino_t ino, fuse_file_info* fi) {
    Impl& fs = of(req);
    int error = 0;
    Handle* h = fs.openHandle(ino, fi->flags, error);
    if (h == nullptr) {
        fuse_reply_err(req, error);
        return;
    }
    fi->fh = reinterpret_cast<std::uint64_t>(h);
    fi->direct_io = 1; // every read and write reaches us unchanged, one report each
    fi->nonseekable = 1;
    if (fuse_reply_open(req, fi) != 0) fs.closeHandle(h); // the opener was interrupted
}

void Impl::opRelease(fuse_req_t req, fuse_ino_t, fuse_file_info* fi) {
    of(req).closeHandle(handleOf(fi));
    fuse_reply_err(req, 0);
}

void Impl::opRead(fuse_req_t req, fuse_ino_t, size_t size, off_t, fuse_file_info* fi) {
    Handle* h = handleOf(fi);
    const auto takeQueued = [&](std::unique_lock<std::mutex>& lock) {
        if (h->queue.empty()) return false;
        const auto report = std::move(h->queue.front());
        h->queue.pop_front();
        lock.unlock();
        fuse_reply_buf(req, reinterpret_cast<const char*>(report.data()), std::min(size, report.size()));
        return true;
    };
    std::unique_lock lock(h->mutex);
    if (takeQueued(lock)) return;
    if (h->dead) {
        lock.unlock();
        fuse_reply_err(req, EIO); // what hidraw gives for a read of an unplugged node
        return;
    }
    if (h->flags & O_NONBLOCK) {
        lock.unlock();
        fuse_reply_err(req, EAGAIN);
        return;
    }
    // A blocking read waits for the next report, unplug or a signal. The interrupt function is set
    // before the request becomes visible to the pump, so nobody answers it twice.
    lock.unlock();
    fuse_req_interrupt_func(req, &Impl::interrupt, h);
    lock.lock();
    if (h->interrupted.erase(req) != 0) {
        lock.unlock();
        fuse_reply_err(req, EINTR);
        return;
    }
    if (takeQueued(lock)) return;
    if (h->dead) {
        lock.unlock();
        fuse_reply_err(req, EIO);
        return;
    }
    h->pending.push_back({req, size});
}

void Impl::opWrite(fuse_req_t req, fuse_ino_t, const char* buf, size_t size, off_t, fuse_file_info* fi) {
    Handle* h = handleOf(fi);
    const auto r = h->node->write(std::span(reinterpret_cast<const std::uint8_t*>(buf), size), kWriteLimit);
    if (r.ok())
        fuse_reply_write(req, size);
    else
        fuse_reply_err(req, errnoOf(r.status));
}

void Impl::opPoll(fuse_req_t req, fuse_ino_t, fuse_file_info* fi, fuse_pollhandle* ph) {
    Handle* h = handleOf(fi);
    unsigned revents = 0;
    {
        std::lock_guard lock(h->mutex);
        if (ph != nullptr) {
            if (h->pollHandle != nullptr) fuse_pollhandle_destroy(h->pollHandle);
            h->pollHandle = ph;
        }
        if (!h->queue.empty()) revents |= POLLIN | POLLRDNORM;
        if (h->dead)
            revents |= POLLERR | POLLHUP;
        else
            revents |= POLLOUT | POLLWRNORM; // hidraw is always writable
    }
    fuse_reply_poll(req, revents);
}

void Impl::opIoctl(fuse_req_t req, fuse_ino_t, unsigned int cmd, void*, fuse_file_info* fi, unsigned flags,
                   const void*, size_t, size_t outSize) {
    Handle* h = handleOf(fi);
    if (flags & FUSE_IOCTL_COMPAT) {
        fuse_reply_err(req, ENOSYS);
        return;
    }
    {
        std::lock_guard lock(h->mutex);
        if (h->dead) {
            fuse_reply_err(req, ENODEV);
            return;
        }
    }
    const hid::NodeInfo& info = h->node->info();
    // Restricted ioctls: the kernel moves _IOC_SIZE(cmd) bytes out and, for _IOR requests, nothing in,
    // so HIDIOCGRDESC's size field never reaches us and is filled in here.
    if (cmd == HIDIOCGRAWINFO && outSize >= sizeof(hidraw_devinfo)) {
        struct hidraw_devinfo d {};
        d.bustype = BUS_USB;
        d.vendor = static_cast<__s16>(info.vendorId);
        d.product = static_cast<__s16>(info.productId);
        fuse_reply_ioctl(req, 0, &d, sizeof d);
    } else if (cmd == HIDIOCGRDESCSIZE && outSize >= sizeof(int)) {
        const int size =
            static_cast<int>(std::min<std::size_t>(info.descriptor.size(), HID_MAX_DESCRIPTOR_SIZE));
        fuse_reply_ioctl(req, 0, &size, sizeof size);
    } else if (cmd == HIDIOCGRDESC && outSize >= sizeof(hidraw_report_descriptor)) {
        auto d = std::make_unique<struct hidraw_report_descriptor>();
        d->size = static_cast<__u32>(std::min<std::size_t>(info.descriptor.size(), HID_MAX_DESCRIPTOR_SIZE));
        std::copy_n(info.descriptor.begin(), d->size, d->value);
        fuse_reply_ioctl(req, 0, d.get(), sizeof *d);
    } else {
        fuse_reply_err(req, ENOTTY);
    }
}

// ---------------------------------------------------------------- start, stop, abort

HidrawFuse::Start Impl::start() {
    if (session_ != nullptr) return HidrawFuse::Start::Ok;
    if (::access("/dev/fuse", F_OK) != 0) {
        message_ = "/dev/fuse is missing on this machine";
        return HidrawFuse::Start::Unavailable;
    }
    char tmpl[] = "/tmp/zq70-hidraw-XXXXXX";
    if (::mkdtemp(tmpl) == nullptr) {
        message_ = std::string("cannot make a temporary folder: ") + std::strerror(errno);
        return HidrawFuse::Start::Failed;
    }
    folder_ = tmpl;

    static const fuse_lowlevel_ops ops = [] {
        fuse_lowlevel_ops o{};
        o.lookup = &Impl::opLookup;
        o.getattr = &Impl::opGetattr;
        o.readdir = &Impl::opReaddir;
        o.open = &Impl::opOpen;
        o.release = &Impl::opRelease;
        o.read = &Impl::opRead;
        o.write = &Impl::opWrite;
        o.poll = &Impl::opPoll;
        o.ioctl = &Impl::opIoctl;
        return o;
    }();
    char arg0[] = "zq70-hidraw-fuse";
    char* argv[] = {arg0, nullptr};
    fuse_args args = FUSE_ARGS_INIT(1, argv);
    session_ = fuse_session_new(&args, &ops, sizeof ops, this);
    fuse_opt_free_args(&args);
    if (session_ == nullptr) {
        message_ = "fuse_session_new failed";
        ::rmdir(folder_.c_str());
        return HidrawFuse::Start::Failed;
    }
    errno = 0;
    if (fuse_session_mount(session_, folder_.c_str()) != 0) {
        const int error = errno;
        fuse_session_destroy(session_);
        session_ = nullptr;
        ::rmdir(folder_.c_str());
        // With /dev/fuse present a mount must work (as root, or through fusermount3 of the fuse3
        // package otherwise): a refusal is a fault of this machine's set-up that the run reports.
        message_ = "mounting a FUSE file system on " + folder_ + " failed (" + std::strerror(error) + ")";
        if (error == EPERM || error == EACCES || ::geteuid() != 0)
            message_ += ": not allowed for this user here";
        return HidrawFuse::Start::Failed;
    }
    mounted_ = true;
    std::promise<void> ended;
    loopEnded_ = ended.get_future();
    loop_ = std::thread([this, ended = std::move(ended)]() mutable {
        fuse_session_loop(session_);
        ended.set_value();
    });
    // Only now: the first access to the mount waits for the loop to answer the kernel's INIT. A loop
    // that never answers must not hold the test forever.
    auto first = std::async(std::launch::async, [folder = folder_] {
        struct stat st {};
        return ::stat(folder.c_str(), &st) == 0 ? st.st_dev : dev_t{0};
    });
    if (first.wait_for(kLoopLimit) != std::future_status::ready) {
        forceAbort();
        stop(); // closing the channel also ends the stat if the loop had already left
        first.wait();
        message_ = "the FUSE file system did not answer within " + std::to_string(kLoopLimit.count()) + " s";
        return HidrawFuse::Start::Failed;
    }
    connection_ = first.get();
    return HidrawFuse::Start::Ok;
}

// Ends the connection from outside, so that every request waiting on it fails and the loop leaves. Used
// only when the loop itself no longer answers.
void Impl::forceAbort() {
    if (::geteuid() == 0 && ::umount2(folder_.c_str(), MNT_FORCE) == 0) return;
    if (::geteuid() == 0 && errno == EBUSY) return; // busy, but MNT_FORCE aborted the connection first
    if (connection_ != 0) abortConnection();
}

void Impl::stop() {
    if (session_ == nullptr) return;
    // End the loop: set its exit flag, then make sure one more request comes (a stat of the root from
    // another thread), after which the loop sees the flag. The loop may leave on an earlier request and
    // never answer that stat; closing the channel below ends it then. An aborted connection has ended
    // the loop already and the stat fails at once.
    fuse_session_exit(session_);
    std::thread waker([folder = folder_] {
        struct stat st {};
        ::stat(folder.c_str(), &st);
    });
    if (loopEnded_.valid() && loopEnded_.wait_for(kLoopLimit) != std::future_status::ready) forceAbort();
    if (loop_.joinable()) loop_.join();
    // Handles the kernel never released (a test that failed half way, or an aborted connection): end
    // them while the channel can still carry their last answers.
    std::set<Handle*> left;
    {
        std::lock_guard lock(mutex_);
        left.swap(handles_);
    }
    for (Handle* h : left) closeHandle(h);
    fuse_session_unmount(session_); // closes the channel, which also aborts the connection
    waker.join();
    // After an abort libfuse leaves the dead mount in place; take it off lazily either way.
    if (::geteuid() == 0) {
        ::umount2(folder_.c_str(), MNT_DETACH);
    } else {
        const char* argv[] = {"fusermount3", "-u", "-z", "-q", folder_.c_str(), nullptr};
        pid_t pid = 0;
        if (::posix_spawnp(&pid, "fusermount3", nullptr, nullptr, const_cast<char**>(argv), environ) == 0)
            ::waitpid(pid, nullptr, 0);
    }
    fuse_session_destroy(session_);
    session_ = nullptr;
    mounted_ = false;
    ::rmdir(folder_.c_str());
}

bool Impl::abortConnection() {
    if (session_ == nullptr) {
        message_ = "the harness is not running";
        return false;
    }
    const unsigned long id = (static_cast<unsigned long>(major(connection_)) << 20) | minor(connection_);
    const std::string abortFile = std::string(kConnections) + "/" + std::to_string(id) + "/abort";
    if (::access(abortFile.c_str(), W_OK) != 0) {
        // The control file system is normally mounted by the init system; mount it where it is not.
        ::mount("fusectl", kConnections, "fusectl", 0, nullptr);
    }
    std::ofstream out(abortFile);
    out << "1\n";
    out.close();
    if (!out) {
        message_ = "cannot write " + abortFile + " (FUSE connection control not available)";
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- the public face

HidrawFuse::HidrawFuse(sim::SimBackend& backend) : impl_(std::make_unique<Impl>(backend)) {}
HidrawFuse::~HidrawFuse() {
    stop();
}
HidrawFuse::Start HidrawFuse::start() {
    return impl_->start();
}
void HidrawFuse::stop() {
    impl_->stop();
}
const std::string& HidrawFuse::folder() const {
    return impl_->folder_;
}
const std::string& HidrawFuse::message() const {
    return impl_->message_;
}
std::string HidrawFuse::pathOf(const std::string& simNode) const {
    return impl_->folder_ + "/" + baseName(simNode);
}
void HidrawFuse::refuseOpen(const std::string& fileName, int error) {
    std::lock_guard lock(impl_->mutex_);
    impl_->refusals_[fileName] = error;
}
bool HidrawFuse::abortConnection() {
    return impl_->abortConnection();
}

} // namespace zq::test
