#include "device/device_reports.h"

#include "device/hid/path_ids.h"
#include "platform/debug.h"

#include <algorithm>
#include <string>

namespace zq::device {

std::optional<DeviceReport> deviceReportOf(DeviceClass device, std::uint32_t usage) {
    switch (usage) {
    case kUsageProfileButton:
        return DeviceReport::SlotRefresh;
    case kUsageSettingsChanged:
        return DeviceReport::FullReadBack;
    case kUsageClick:
        if (device == DeviceClass::Mouse) return DeviceReport::Click;
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

int deviceReportMessage(DeviceClass device, DeviceReport report) {
    const bool mouse = device == DeviceClass::Mouse;
    switch (report) {
    case DeviceReport::SlotRefresh:
        return mouse ? 0x902 : 0xB02;
    case DeviceReport::FullReadBack:
        return mouse ? 0x901 : 0xB01;
    case DeviceReport::Click:
        return 0;
    }
    return 0;
}

namespace {

std::size_t threadIndex(DeviceClass device) {
    return device == DeviceClass::Mouse ? 0 : 1;
}

const char* exitString(DeviceClass device) {
    return device == DeviceClass::Mouse ? kMouseReportsExit : kKeyboardReportsExit;
}

} // namespace

DeviceReportMonitor::DeviceReportMonitor(hid::RawNodeBackend& backend, DeviceReportSink& sink,
                                         platform::Clock& clock)
    : backend_(backend), sink_(sink), clock_(clock) {}

DeviceReportMonitor::~DeviceReportMonitor() {
    stop();
}

void DeviceReportMonitor::start() {
    start(DeviceClass::Mouse);
    start(DeviceClass::Keyboard);
}

void DeviceReportMonitor::start(DeviceClass device) {
    if (device == DeviceClass::Pad) return; // the pad sends no reports
    threads_[threadIndex(device)].start([this, device](platform::Event& stop) { run(device, stop); });
}

bool DeviceReportMonitor::stop(std::chrono::milliseconds limit) {
    for (auto& t : threads_) t.requestStop();
    const auto deadline = std::chrono::steady_clock::now() + limit;
    bool all = true;
    for (auto& t : threads_) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        all = t.stop(std::max(left, std::chrono::milliseconds(0))) && all;
    }
    return all;
}

void DeviceReportMonitor::run(DeviceClass device, platform::Event& stop) {
    const LinkIdentity id = consumerCollection(device);
    hid::HidDeviceRecord rec(backend_);
    rec.setClock(clock_);
    platform::Event wake(platform::Event::Reset::Auto);
    hid::NodeChanges* changes = backend_.nodeChanges();
    if (changes) changes->subscribe(wake);
    bool listingFailed = false;
    bool refusedOnce = false, reported = false;

    while (!stop.isSet()) {
        if (!rec.enumerateInterfaces()) {
            listingFailed = true;
            break;
        }
        Listened listened = Listened::No;
        for (const std::string& path : rec.paths()) {
            if (hid::pathVendorId(path) != id.vendorId || hid::pathProductId(path) != id.productId) continue;
            rec.openForRead = true;
            rec.openForWrite = false;
            rec.exclusive = false;
            rec.setPath(path);
            if (rec.openCollection() && identifies(rec, id)) listened = listen(device, rec, stop);
            rec.closeCollection();
            if (listened != Listened::No) break; // one device is listened to per walk
        }
        if (listened == Listened::No) {
            // As the presence threads do: a refusal counts when the next look still meets it.
            const auto refused = backend_.refusedNodes();
            const bool denied = std::any_of(refused.begin(), refused.end(), [&](const hid::RefusedNode& r) {
                return r.vendorId == id.vendorId && r.productId == id.productId;
            });
            if (denied && refusedOnce && !reported) {
                reported = true;
                platform::debugString(std::string("device reports (") + deviceKey(device) +
                                      "): the consumer collection cannot be opened: permission denied");
            }
            if (!denied) reported = false;
            refusedOnce = denied;
        }
        rec.freePaths();
        if (stop.isSet() || listened == Listened::Stopped) break;

        auto limit =
            changes != nullptr ? platform::Clock::kNoLimit : platform::Clock::Duration(kReportScanInterval);
        if (refusedOnce && !reported) limit = std::min(limit, platform::Clock::Duration(kReportScanInterval));
        platform::Event* events[] = {&stop, &wake};
        clock_.waitAny(events, limit);
    }
    if (changes) changes->unsubscribe(wake);
    if (listingFailed)
        platform::debugString(std::string("device reports (") + deviceKey(device) +
                              "): the HID nodes cannot be listed; the thread ends");
    platform::debugString(exitString(device));
}

DeviceReportMonitor::Listened DeviceReportMonitor::listen(DeviceClass device, hid::HidDeviceRecord& rec,
                                                          platform::Event& stop) {
    const LinkIdentity id = consumerCollection(device);
    const std::string path = rec.path();
    std::vector<std::uint8_t>& buffer = rec.inputReportBuffer();
    if (buffer.empty()) return Listened::No; // a collection without input reports has nothing to say
    while (!stop.isSet()) {
        const auto io = rec.readReport(buffer, kReportReadLimit);
        if (io.ok) {
            handle(device, rec,
                   std::span<const std::uint8_t>(buffer.data(), std::min(io.bytes, buffer.size())), stop);
            continue;
        }
        if (io.status == hid::IoStatus::Removed) return Listened::Gone;
        if (!rec.isPresent(path, id.vendorId, id.productId)) return Listened::Gone;
        // A read that fails at once, again and again, must not turn into a busy loop.
        if (io.status != hid::IoStatus::Timeout && clock_.sleepUnlessStopped(stop, kReportReadLimit)) break;
    }
    return Listened::Stopped;
}

void DeviceReportMonitor::handle(DeviceClass device, hid::HidDeviceRecord& rec,
                                 std::span<const std::uint8_t> report, platform::Event& stop) {
    if (report.empty() || !rec.decodeInputReport(report)) return;
    const auto& items = rec.items(hid::ReportType::Input);
    if (items.empty()) return;
    const hid::DataItem& first = items.front();
    // Only a button item that this very report filled: an item of another report id keeps the usages of
    // an earlier report, which must not be acted on twice.
    if (!first.isButton || first.reportId != report[0] || first.usageList.empty()) return;
    if (const auto action = deviceReportOf(device, first.usageList[0]))
        sink_.deviceReport(device, *action, stop);
}

} // namespace zq::device
