#pragma once
// The emulator's backend seen through a wrapper that counts what the threads do with it, can add a node
// of another vendor, fail the listing, and hide the change signal (a backend without one, on which the
// threads fall back to looking every second).
#include "device/hid/raw_node.h"
#include "sim/descriptors.h"
#include "sim/sim_backend.h"

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>

namespace zq::device::test {

class WrappedBackend final : public hid::RawNodeBackend {
public:
    explicit WrappedBackend(sim::SimBackend& inner) : inner_(inner) {}

    static constexpr const char* kForeignNode = "other/hidraw90";

    bool withChanges = true;
    bool failEnumerate = false;
    bool foreignNode = false; // a node of vendor 0x1234 with a vendor collection like ours
    // Runs before every report read on a node opened through this backend (with the node and the access
    // it was opened with), outside the emulator's lock: a test makes the device send, unplug or change
    // from here while a thread listens.
    std::function<void(const hid::NodeInfo&, unsigned access)> beforeRead;

    bool enumerate(std::vector<hid::NodeInfo>& out) override {
        ++enumerations;
        if (failEnumerate) {
            out.clear();
            return false;
        }
        if (!inner_.enumerate(out)) return false;
        if (foreignNode) {
            hid::NodeInfo info;
            info.node = kForeignNode;
            info.vendorId = 0x1234;
            info.productId = 0x7684;
            info.descriptor.assign(sim::kVendorCollection.begin(), sim::kVendorCollection.end());
            out.push_back(std::move(info));
        }
        return true;
    }
    std::unique_ptr<hid::RawNode> open(const std::string& node, unsigned access, bool exclusive) override {
        {
            std::lock_guard lock(mutex_);
            ++opens_[node];
        }
        if (node == kForeignNode) return nullptr;
        auto inner = inner_.open(node, access, exclusive);
        if (!inner) return nullptr;
        return std::make_unique<Node>(std::move(inner), access, *this);
    }
    bool present(const std::string& node, std::uint16_t vendorId, std::uint16_t productId) override {
        return inner_.present(node, vendorId, productId);
    }
    hid::NodeChanges* nodeChanges() override { return withChanges ? inner_.nodeChanges() : nullptr; }
    std::vector<hid::RefusedNode> refusedNodes() const override { return inner_.refusedNodes(); }

    int opensOf(const std::string& node) const {
        std::lock_guard lock(mutex_);
        const auto it = opens_.find(node);
        return it == opens_.end() ? 0 : it->second;
    }

    std::atomic<int> enumerations{0};

private:
    class Node final : public hid::RawNode {
    public:
        Node(std::unique_ptr<hid::RawNode> inner, unsigned access, WrappedBackend& owner)
            : inner_(std::move(inner)), access_(access), owner_(owner) {}
        const hid::NodeInfo& info() const override { return inner_->info(); }
        hid::IoResult write(std::span<const std::uint8_t> r, std::chrono::milliseconds limit) override {
            return inner_->write(r, limit);
        }
        hid::IoResult read(std::span<std::uint8_t> b, std::chrono::milliseconds limit) override {
            if (owner_.beforeRead) owner_.beforeRead(inner_->info(), access_);
            return inner_->read(b, limit);
        }
        void cancel() override { inner_->cancel(); }

    private:
        std::unique_ptr<hid::RawNode> inner_;
        const unsigned access_;
        WrappedBackend& owner_;
    };

    sim::SimBackend& inner_;
    mutable std::mutex mutex_;
    std::map<std::string, int> opens_;
};

} // namespace zq::device::test
