#pragma once
// The request–reply exchange of one 64-byte frame over a link.
//
// Replies carry no sequence number, so the link's lock is held across one whole write–read attempt:
// another thread's frame can then never fall between a request and its reply. Before each write, input
// reports already waiting (a late reply to an earlier request that gave up on it) are discarded, so they
// cannot be taken as this request's reply either. A late reply that is still on its way when the next
// request goes out cannot be told apart from that request's own reply: nothing in a reply names its
// request.
//
// A reply is read into a private 64-byte buffer and copied out. A read of fewer than 8 bytes (it does not
// even reach the status byte) counts as no reply; a reply shorter than 64 bytes is copied and the rest
// of the caller's frame is zero-filled. A longer report is cut to 64 bytes by the read itself.
#include "device/device_link.h"
#include "device/frame.h"

#include <chrono>

namespace zq::device {

inline constexpr std::chrono::milliseconds kWriteLimit{1000};
inline constexpr std::chrono::milliseconds kReadLimit{300};
inline constexpr int kMaxAttempts = 4;
// Smallest read that counts as a reply: up to and including the status byte.
inline constexpr std::size_t kMinReplyBytes = kStatusOffset + 1;
// Bound on the stale reports discarded before one write, so a device that floods us cannot stall it.
inline constexpr int kMaxStaleReports = 16;

// Sends the complete request (checksum included) and fills reply. Returns kResultOk, kResultNoReply
// (link not open, or no reply in four attempts), kResultWriteFailed, kResultStatusFF or kResultStatusFE.
// reply is written only when a reply arrived.
int exchange(DeviceLink& link, const Frame& request, Frame& reply);

// One write and one read on the same frame: no retry and no status decoding. False when the link is
// not open, the write failed or no reply came.
bool exchangeOnce(DeviceLink& link, Frame& frame);

} // namespace zq::device
