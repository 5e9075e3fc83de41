#include "device/hid/hid_device_record.h"
#include "device/hid/hidraw_backend.h"
#include "tools/hid_tool.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ostream>

namespace zq::tools {
namespace {

std::string hex4(unsigned v) {
    char b[8];
    std::snprintf(b, sizeof b, "%04x", v & 0xFFFFu);
    return b;
}

std::string padded(std::string s, std::size_t width) {
    if (s.size() < width) s.append(width - s.size(), ' ');
    return s;
}

// Nodes the hidraw backend found but could not ask, and what to do when permission was the reason.
void reportUnopened(const std::vector<hid::NodeFailure>& failures, bool afterTable, std::ostream& out) {
    if (failures.empty()) return;
    out << (afterTable ? "\n" : "") << "Could not open " << failures.size() << " hidraw node(s):\n";
    bool permission = false;
    for (const auto& f : failures) {
        out << "  " << f.node << ": " << std::strerror(f.error) << '\n';
        permission = permission || f.error == EACCES || f.error == EPERM;
    }
    if (permission)
        out << "To use the devices without root, install the udev rule 70-zephran-q70.rules:\n"
               "  sudo install -m 644 packaging/70-zephran-q70.rules /etc/udev/rules.d/\n"
               "  sudo udevadm control --reload && sudo udevadm trigger\n"
               "(an installed program has it in <prefix>/lib/udev/rules.d/ already), then plug the device in "
               "again.\n";
}

} // namespace

int listCollections(hid::RawNodeBackend& backend, std::ostream& out, std::ostream& err) {
    // The listing needs no open: the backend hands over every node's identity and descriptor, so this
    // also works where a node may be enumerated but not opened.
    std::vector<hid::NodeInfo> nodes;
    if (!backend.enumerate(nodes)) {
        err << "zq70-hid: the HID devices could not be listed\n";
        return kExitFailure;
    }
    std::vector<hid::NodeFailure> failures;
    if (const auto* hidraw = dynamic_cast<const hid::HidrawBackend*>(&backend))
        failures = hidraw->lastFailures();
    if (nodes.empty()) {
        if (failures.empty())
            out << "No HID devices found. If a device is plugged in, check that you may read its hidraw "
                   "node\n"
                   "(the udev rule in packaging/ grants the logged-in user access).\n";
        reportUnopened(failures, false, out);
        return kExitOk;
    }
    std::size_t width = 4;
    std::vector<std::string> paths;
    std::vector<hid::ParsedDescriptor> parsed;
    for (const auto& n : nodes) {
        parsed.push_back(hid::parseReportDescriptor(n.descriptor));
        const auto count = static_cast<int>(parsed.back().collections.size());
        for (int i = 0; i < std::max(count, 1); ++i) {
            paths.push_back(hid::collectionPath(n.node, n.vendorId, n.productId, i, count));
            width = std::max(width, paths.back().size());
        }
    }
    out << padded("PATH", width) << "  VENDOR PRODUCT PAGE USAGE  INPUT OUTPUT FEATURE\n";
    std::size_t p = 0;
    for (std::size_t k = 0; k < nodes.size(); ++k) {
        const auto& n = nodes[k];
        const auto& d = parsed[k];
        if (!d.ok() || d.collections.empty()) {
            out << padded(paths[p++], width) << "  " << hex4(n.vendorId) << "   " << hex4(n.productId)
                << "    "
                << (d.ok() ? "(no top-level collection)"
                           : "(unreadable descriptor: " + d.error->message + ")")
                << '\n';
            continue;
        }
        for (const auto& c : d.collections) {
            char line[96];
            std::snprintf(line, sizeof line, "  %s   %s    %s %s   %5u %6u %7u", hex4(n.vendorId).c_str(),
                          hex4(n.productId).c_str(), hex4(c.usagePage).c_str(), hex4(c.usage).c_str(),
                          unsigned{c.inputReportLength}, unsigned{c.outputReportLength},
                          unsigned{c.featureReportLength});
            out << padded(paths[p++], width) << line << '\n';
        }
    }
    reportUnopened(failures, true, out);
    return kExitOk;
}

} // namespace zq::tools
