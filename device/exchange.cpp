#include "device/exchange.h"

#include "platform/debug.h"

#include <algorithm>
#include <string>

namespace zq::device {

namespace {

// Discards input reports that are already waiting. Called with the link's lock held.
void discardStaleReplies(DeviceLink& link) {
    Frame stale;
    for (int i = 0; i < kMaxStaleReports; ++i) {
        if (!link.hid.readReport(stale, std::chrono::milliseconds{0}).ok) return;
    }
}

enum class Attempt { WriteFailed, NoReply, Replied };

// One write–read attempt under the lock. The reply lands in reply only when one arrived.
Attempt attemptOnce(DeviceLink& link, const Frame& request, Frame& reply) {
    std::lock_guard guard(link.lock);
    discardStaleReplies(link);
    const auto written = link.hid.writeReport(request, kWriteLimit);
    if (!written.ok) {
        if (written.status == hid::IoStatus::Removed) link.removed.set();
        return Attempt::WriteFailed;
    }
    Frame in; // private: whatever the read does, it cannot reach past these 64 bytes
    const auto io = link.hid.readReport(in, kReadLimit);
    if (io.status == hid::IoStatus::Removed) link.removed.set();
    if (!io.ok || io.bytes < kMinReplyBytes) return Attempt::NoReply;
    const std::size_t n = std::min(io.bytes, kFrameSize);
    std::copy_n(in.begin(), n, reply.begin());
    std::fill(reply.begin() + static_cast<std::ptrdiff_t>(n), reply.end(), std::uint8_t{0});
    return Attempt::Replied;
}

void logFailure(const char* what, const Frame& request) {
    platform::debugString(std::string("device exchange: ") + what + " (" + describeFrame(request) + ")");
}

} // namespace

int exchange(DeviceLink& link, const Frame& request, Frame& reply) {
    if (!link.open.load()) return kResultNoReply;
    const Frame out = request; // the request stays as it was for every attempt
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        switch (attemptOnce(link, out, reply)) {
        case Attempt::WriteFailed:
            logFailure("write failed", out);
            return kResultWriteFailed;
        case Attempt::Replied: {
            const int result = resultOfStatus(frameStatus(reply));
            if (result != kResultOk) logFailure("device reported failure", out);
            return result;
        }
        case Attempt::NoReply:
            break;
        }
    }
    logFailure("no reply", out);
    return kResultNoReply;
}

bool exchangeOnce(DeviceLink& link, Frame& frame) {
    if (!link.open.load()) return false;
    const Frame out = frame;
    return attemptOnce(link, out, frame) == Attempt::Replied;
}

} // namespace zq::device
