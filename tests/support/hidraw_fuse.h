#pragma once
// A FUSE file system that serves the emulator's devices as hidraw nodes in a temporary folder, so the
// hidraw backend runs its real kernel paths (open, ioctl, poll, read, write, time-outs, cancel,
// removal) against devices that do not exist.
//
// Each node of the sim::SimBackend ("sim/hidraw3") appears as "<folder>/hidraw3": a regular file opened
// direct_io and nonseekable, answering HIDIOCGRAWINFO, HIDIOCGRDESCSIZE and HIDIOCGRDESC, polling for
// input, reading the next queued input report and handing written reports to the emulated device, as a
// hidraw node does. An emulated unplug removes the node; handles open on it then poll POLLERR|POLLHUP,
// read EIO and write ENODEV like a real unplugged node. abortConnection() is the other kind of unplug:
// the whole connection dies and every access fails with ENOTCONN.
//
// The file system runs on a thread of the calling process. The backend must use the system clock (the
// kernel's waits are real) and must outlive the harness.
#include "sim/sim_backend.h"

#include <memory>
#include <string>

namespace zq::test {

class HidrawFuse {
public:
    enum class Start {
        Ok,
        Unavailable, // no /dev/fuse on this machine: the caller skips, unless FUSE is required
        Failed,      // anything else: the caller fails
    };

    explicit HidrawFuse(sim::SimBackend& backend);
    ~HidrawFuse(); // stops
    HidrawFuse(const HidrawFuse&) = delete;
    HidrawFuse& operator=(const HidrawFuse&) = delete;

    // Mounts the file system on a new temporary folder and starts serving. On anything but Ok,
    // message() says why.
    Start start();
    // Ends every open handle, unmounts and removes the folder. Safe to call twice.
    void stop();

    const std::string& folder() const;
    const std::string& message() const;
    // "<folder>/hidraw3" for the emulator's "sim/hidraw3".
    std::string pathOf(const std::string& simNode) const;

    // Opens of that node ("hidraw3") fail with this errno from now on; 0 lets them through again.
    void refuseOpen(const std::string& fileName, int error);
    // Kills the connection as a vanished server would. False (with message()) when the kernel's
    // connection control folder is not available.
    bool abortConnection();

    class Impl;

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace zq::test

namespace zq::test {
// ZQ70_REQUIRE_FUSE=1 (CI sets it): a machine without /dev/fuse fails the harness tests, never skips them.
bool fuseRequired();
} // namespace zq::test

// Starts the harness in a test, skipping the test with the reason when this machine has no FUSE at all.
#define ZQ_START_HIDRAW_FUSE_OR_SKIP(harness)                                                                \
    do {                                                                                                     \
        const auto started_ = (harness).start();                                                             \
        if (started_ == ::zq::test::HidrawFuse::Start::Unavailable && !::zq::test::fuseRequired())           \
            GTEST_SKIP() << "FUSE hidraw harness unavailable: " << (harness).message();                      \
        ASSERT_EQ(started_, ::zq::test::HidrawFuse::Start::Ok)                                               \
            << (harness).message() << (::zq::test::fuseRequired() ? " (ZQ70_REQUIRE_FUSE is set)" : "");     \
    } while (false)
