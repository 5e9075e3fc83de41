#pragma once
// The input reports waiting on one open node, in the order the device sends them (by due time, then
// by arrival). Fixed capacity, no allocation per report: when it is full the oldest report is lost, so
// a fresh reply is never dropped behind stale ones.
#include "platform/clock.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zq::sim {

inline constexpr std::size_t kMaxReportSize = 64;

class ReportQueue {
public:
    static constexpr std::size_t kCapacity = 64;
    using TimePoint = platform::Clock::TimePoint;

    struct Entry {
        std::array<std::uint8_t, kMaxReportSize> data{};
        std::size_t length = 0;
        TimePoint due{};
    };

    // Reports longer than kMaxReportSize are cut to it.
    void push(std::span<const std::uint8_t> report, TimePoint due);
    bool empty() const { return count_ == 0; }
    std::size_t size() const { return count_; }
    const Entry& front() const { return entries_[head_]; }
    void pop();
    void clear() { head_ = count_ = 0; }
    std::size_t dropped() const { return dropped_; }

private:
    Entry& at(std::size_t i) { return entries_[(head_ + i) % kCapacity]; }

    std::array<Entry, kCapacity> entries_{};
    std::size_t head_ = 0;
    std::size_t count_ = 0;
    std::size_t dropped_ = 0;
};

} // namespace zq::sim
