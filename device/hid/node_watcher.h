#pragma once
// Change signals for the node folder, so that the threads which look for devices can sleep until a
// node comes or goes instead of looking every second.
//
// NodeChangeHub is the plain fan-out: whoever sees a change calls notify(), and every subscribed event
// is set. The emulator's backend owns one and notifies it when a device is plugged or unplugged.
//
// NodeWatcher watches a hidraw folder with inotify: a node created, deleted, renamed or given other
// access rights (udev applies its rules right after the kernel creates a node) is a change. One thread
// sits in poll() on the inotify descriptor and on a stop descriptor, so it wakes only when the folder
// changes. Where inotify cannot see the folder's changes (a FUSE or network file system, whose contents
// change behind the kernel's back) there is no watcher and the callers keep their one-second look.
#include "device/hid/raw_node.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace zq::hid {

class NodeChangeHub final : public NodeChanges {
public:
    void subscribe(platform::Event& event) override;
    void unsubscribe(platform::Event& event) override;
    // Sets every subscribed event.
    void notify();
    // How many times notify() ran.
    std::uint64_t changes() const;

private:
    mutable std::mutex mutex_;
    std::vector<platform::Event*> events_;
    std::uint64_t changes_ = 0;
};

// True for a directory entry that names a hidraw node ("hidraw" followed by digits).
bool isHidrawName(std::string_view name);

class NodeWatcher final : public NodeChanges {
public:
    // A watcher of the folder, or null when inotify cannot watch it or would not see its changes.
    static std::unique_ptr<NodeWatcher> create(const std::string& folder);
    ~NodeWatcher() override;
    NodeWatcher(const NodeWatcher&) = delete;
    NodeWatcher& operator=(const NodeWatcher&) = delete;

    void subscribe(platform::Event& event) override { hub_.subscribe(event); }
    void unsubscribe(platform::Event& event) override { hub_.unsubscribe(event); }
    std::uint64_t changes() const { return hub_.changes(); }

    // If the folder itself goes away, inotify has nothing left to report: the watcher then signals once
    // a second, so that its subscribers keep looking as they would without it.
    static constexpr int kOrphanedTickMs = 1000;

private:
    NodeWatcher(int inotifyFd, int stopFd);
    void run();

    const int inotifyFd_;
    const int stopFd_;
    NodeChangeHub hub_;
    std::thread thread_;
};

} // namespace zq::hid
