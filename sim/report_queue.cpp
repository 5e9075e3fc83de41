#include "sim/report_queue.h"

#include <algorithm>

namespace zq::sim {

void ReportQueue::push(std::span<const std::uint8_t> report, TimePoint due) {
    if (count_ == kCapacity) {
        pop();
        ++dropped_;
    }
    // Keep the queue ordered by due time; equal times keep their arrival order.
    std::size_t pos = count_;
    while (pos > 0 && at(pos - 1).due > due) {
        at(pos) = at(pos - 1);
        --pos;
    }
    Entry& e = at(pos);
    e.length = std::min(report.size(), kMaxReportSize);
    std::copy_n(report.begin(), e.length, e.data.begin());
    e.due = due;
    ++count_;
}

void ReportQueue::pop() {
    if (count_ == 0) return;
    head_ = (head_ + 1) % kCapacity;
    --count_;
}

} // namespace zq::sim
