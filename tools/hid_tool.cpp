#include "tools/hid_tool.h"

#include "device/hid/hidraw_backend.h"
#include "sim/sim_backend.h"

#include <memory>
#include <ostream>

namespace zq::tools {
namespace {

constexpr const char* kUsage =
    "usage: zq70-hid describe FILE        parse a report descriptor (raw bytes or hex text), print JSON\n"
    "       zq70-hid list [--simulate]    list every HID collection with its identity and report lengths\n"
    "       zq70-hid probe [--simulate]   open the mouse and show its device information and record\n";

// The backend a command runs on: the emulated devices, or the machine's hidraw nodes.
std::unique_ptr<hid::RawNodeBackend> makeBackend(bool simulate) {
    if (simulate) return std::make_unique<sim::SimBackend>();
    return hid::makeDefaultBackend(); // /dev, or $ZQ70_HIDRAW_DIR
}

} // namespace

int runHidTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty() || args[0] == "-h" || args[0] == "--help") {
        (args.empty() ? err : out) << kUsage;
        return args.empty() ? kExitUsage : kExitOk;
    }
    const std::string& command = args[0];
    if (command == "describe") {
        if (args.size() != 2) {
            err << kUsage;
            return kExitUsage;
        }
        return describeFile(args[1], out, err);
    }
    if (command == "list" || command == "probe") {
        bool simulate = false;
        for (std::size_t i = 1; i < args.size(); ++i) {
            if (args[i] != "--simulate") {
                err << "zq70-hid: unknown option " << args[i] << '\n' << kUsage;
                return kExitUsage;
            }
            simulate = true;
        }
        auto backend = makeBackend(simulate);
        if (simulate) out << "Using the built-in device simulator (no hardware needed).\n\n";
        return command == "list" ? listCollections(*backend, out, err) : probeMouse(*backend, out, err);
    }
    err << "zq70-hid: unknown command " << command << '\n' << kUsage;
    return kExitUsage;
}

} // namespace zq::tools
