#pragma once
// Node numbers of the emulated devices, shared by all devices of one backend: a plugged node takes the
// lowest free number, as hidraw minors are given out, and gives it back when unplugged.
#include <mutex>
#include <set>
#include <string>

namespace zq::sim {

class NodeNumbering {
public:
    int take() {
        std::lock_guard lock(mutex_);
        int n = 0;
        while (used_.count(n) != 0) ++n;
        used_.insert(n);
        return n;
    }
    void give(int n) {
        std::lock_guard lock(mutex_);
        used_.erase(n);
    }
    static std::string nodeName(int n) { return "sim/hidraw" + std::to_string(n); }

private:
    std::mutex mutex_; // a leaf lock: taken under a device's lock, never the other way round
    std::set<int> used_;
};

} // namespace zq::sim
