#pragma once
// A scripted raw-node backend: nodes with fixed identities and descriptors, input reports queued per
// node, and reads that either time out at once or wait (on a condition variable, not a clock) until a
// report is queued or the node is cancelled.
#include "device/hid/raw_node.h"
#include "platform/clock.h"
#include "support/bounded_wait.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>

namespace zq::hid::test {

class FakeBackend : public RawNodeBackend {
public:
    struct Opened {
        std::string node;
        unsigned access;
        bool exclusive;
    };

    void addNode(std::string name, std::uint16_t vid, std::uint16_t pid,
                 std::span<const std::uint8_t> descriptor) {
        NodeInfo info;
        info.node = std::move(name);
        info.vendorId = vid;
        info.productId = pid;
        info.version = 0x0100;
        info.descriptor.assign(descriptor.begin(), descriptor.end());
        nodes_.push_back(info);
        state_[info.node] = std::make_shared<NodeState>();
    }

    void queueInput(const std::string& node, std::vector<std::uint8_t> report) {
        auto s = state_.at(node);
        std::lock_guard lock(s->mutex);
        s->inputs.push_back(std::move(report));
        s->cv.notify_all();
    }

    bool failEnumerate = false;
    bool readsWait = false; // an empty queue makes a read wait instead of timing out at once
    // When set, every read that delivers a report first lets this much time pass on the clock.
    platform::ManualClock* clock = nullptr;
    std::chrono::milliseconds readTime{0};
    std::set<std::string> unopenable;
    std::vector<Opened> opens;
    std::vector<std::vector<std::uint8_t>> written;

    bool enumerate(std::vector<NodeInfo>& out) override {
        if (failEnumerate) return false;
        out = nodes_;
        return true;
    }

    std::unique_ptr<RawNode> open(const std::string& node, unsigned access, bool exclusive) override {
        opens.push_back({node, access, exclusive});
        if (unopenable.count(node)) return nullptr;
        for (const auto& n : nodes_)
            if (n.node == node) return std::make_unique<Node>(*this, n, state_.at(node));
        return nullptr;
    }

    bool present(const std::string& node, std::uint16_t vid, std::uint16_t pid) override {
        for (const auto& n : nodes_)
            if (n.node == node && n.vendorId == vid && n.productId == pid) return true;
        return false;
    }

private:
    struct NodeState {
        std::mutex mutex;
        std::condition_variable cv;
        std::deque<std::vector<std::uint8_t>> inputs;
    };

    class Node : public RawNode {
    public:
        Node(FakeBackend& owner, NodeInfo info, std::shared_ptr<NodeState> state)
            : owner_(owner), info_(std::move(info)), state_(std::move(state)) {}
        const NodeInfo& info() const override { return info_; }
        IoResult write(std::span<const std::uint8_t> report, std::chrono::milliseconds) override {
            std::lock_guard lock(state_->mutex);
            if (cancelled_) return {IoStatus::Cancelled, 0};
            owner_.written.emplace_back(report.begin(), report.end());
            return {IoStatus::Ok, report.size()};
        }
        IoResult read(std::span<std::uint8_t> buffer, std::chrono::milliseconds) override {
            std::unique_lock lock(state_->mutex);
            // A test that waits for input or a cancel gets one within the bound, or a time-out.
            if (owner_.readsWait)
                state_->cv.wait_for(lock, ::zq::test::kWaitBound,
                                    [&] { return cancelled_ || !state_->inputs.empty(); });
            if (cancelled_) return {IoStatus::Cancelled, 0};
            if (state_->inputs.empty()) return {IoStatus::Timeout, 0};
            if (owner_.clock) owner_.clock->advance(owner_.readTime);
            const auto report = std::move(state_->inputs.front());
            state_->inputs.pop_front();
            const std::size_t n = std::min(report.size(), buffer.size());
            std::copy_n(report.begin(), n, buffer.begin());
            return {IoStatus::Ok, n};
        }
        void cancel() override {
            std::lock_guard lock(state_->mutex);
            cancelled_ = true;
            state_->cv.notify_all();
        }

    private:
        FakeBackend& owner_;
        NodeInfo info_;
        std::shared_ptr<NodeState> state_;
        bool cancelled_ = false; // guarded by state_->mutex
    };

    std::vector<NodeInfo> nodes_;
    std::map<std::string, std::shared_ptr<NodeState>> state_;
};

} // namespace zq::hid::test
