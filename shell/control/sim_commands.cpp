#include "shell/control/sim_commands.h"

#include "sim/sim_backend.h"

#include <QJsonArray>

#include <algorithm>
#include <optional>

namespace zq::control {

namespace {

using Args = CommandTable::Args;

constexpr const char* kUsage =
    "sim plug|unplug DEVICE; sim report mouse|keyboard 0x401|0x402|0x403; sim fault DEVICE "
    "none|noreply|late [MS]|status-ff|status-fe|write-fail|unplug-after N; sim set DEVICE OFFSET HEX; "
    "sim dump DEVICE (DEVICE: mouse, pad or keyboard)";

Reply usage(const std::string& what) {
    return Reply::usageError(what + " (usage: " + kUsage + ")");
}

std::optional<sim::DeviceKind> kindOf(std::string_view name) {
    if (name == "mouse") return sim::DeviceKind::Mouse;
    if (name == "pad") return sim::DeviceKind::Pad;
    if (name == "keyboard") return sim::DeviceKind::Keyboard;
    return std::nullopt;
}

// Finds the device an argument names; on failure the reply says why.
sim::SimDevice* deviceArg(sim::SimBackend& backend, const std::string& name, Reply& why) {
    const auto kind = kindOf(name);
    if (!kind) {
        why = usage("unknown device '" + name + "'");
        return nullptr;
    }
    sim::SimDevice* device = backend.find(*kind);
    if (!device) why = Reply::failure("this run has no emulated " + name);
    return device;
}

bool argCount(const Args& args, std::size_t least, std::size_t most, Reply& why) {
    if (args.size() >= least && args.size() <= most) return true;
    why = usage("wrong number of arguments for 'sim " + args[0] + "'");
    return false;
}

QString hexField(std::span<const std::uint8_t> bytes) {
    return QString::fromStdString(hexString(bytes));
}

Reply plugging(sim::SimDevice& device, const std::string& name, bool plug) {
    if (plug)
        device.plug();
    else
        device.unplug();
    return Reply::success({{"device", QString::fromStdString(name)}, {"plugged", device.plugged()}});
}

Reply report(sim::SimDevice& device, const std::string& name, const std::string& usageText) {
    if (device.model().kind == sim::DeviceKind::Pad) return usage("the pad sends no consumer reports");
    long long value = 0;
    if (!parseInt(usageText, 0, 0xFFFF, value) ||
        (value != sim::kUsageProfileButton && value != sim::kUsageSettingsChanged &&
         value != sim::kUsageClick))
        return usage("the report is 0x401, 0x402 or 0x403, not '" + usageText + "'");
    if (!device.sendConsumerUsage(static_cast<std::uint16_t>(value)))
        return Reply::failure("the " + name + " is unplugged");
    return Reply::success({{"device", QString::fromStdString(name)}, {"usage", static_cast<int>(value)}});
}

Reply fault(sim::SimDevice& device, const std::string& name, const Args& args) {
    const std::string& kind = args[2];
    static constexpr const char* kKinds[] = {"none",      "noreply",    "late",        "status-ff",
                                             "status-fe", "write-fail", "unplug-after"};
    if (std::find(std::begin(kKinds), std::end(kKinds), kind) == std::end(kKinds))
        return usage("unknown fault '" + kind + "'");
    const bool takesNumber = kind == "late" || kind == "unplug-after";
    if (args.size() > 4 || (args.size() == 4 && !takesNumber))
        return usage("too many arguments for 'sim fault " + kind + "'");
    long long number = 0;
    if (kind == "unplug-after" && (args.size() != 4 || !parseInt(args[3], 0, 1'000'000, number)))
        return usage("'unplug-after' needs the number of frames still answered, 0 to 1000000");
    if (kind == "late") {
        number = kDefaultLateReply.count();
        if (args.size() == 4 && !parseInt(args[3], 0, 60'000, number))
            return usage("'late' takes the delay in milliseconds, 0 to 60000");
    }

    device.clearFaults();
    if (kind == "noreply") {
        device.setNoReply(true);
    } else if (kind == "late") {
        device.setReplyDelay(std::chrono::milliseconds(number));
    } else if (kind == "status-ff") {
        device.setStatusFault(0xFF);
    } else if (kind == "status-fe") {
        device.setStatusFault(0xFE);
    } else if (kind == "write-fail") {
        device.setWriteFault(sim::WriteFault::Fail);
    } else if (kind == "unplug-after") {
        device.unplugAfterFrames(static_cast<int>(number));
    }
    QJsonObject fields{{"device", QString::fromStdString(name)}, {"fault", QString::fromStdString(kind)}};
    if (takesNumber) fields.insert(QStringLiteral("value"), number);
    return Reply::success(fields);
}

Reply set(sim::SimDevice& device, const std::string& name, const Args& args) {
    const std::size_t size = sim::recordAreaSize(device.model());
    long long offset = 0;
    if (!parseInt(args[2], 0, static_cast<long long>(size) - 1, offset))
        return usage("the offset is a number from 0 to " + std::to_string(size - 1) + " (the " + name +
                     "'s record memory), not '" + args[2] + "'");
    std::vector<std::uint8_t> bytes;
    if (!parseHexBytes(args[3], bytes))
        return usage("the bytes are pairs of hex digits, not '" + args[3] + "'");
    if (bytes.size() > size - static_cast<std::size_t>(offset))
        return usage(std::to_string(bytes.size()) + " bytes at offset " + std::to_string(offset) +
                     " run past the end of the record memory (" + std::to_string(size) + " bytes)");
    if (!device.changeRecords(static_cast<std::size_t>(offset), bytes))
        return usage("byte 0 selects the current slot; the " + name + " has slots 0 to " +
                     std::to_string(device.model().profileSlots - 1));
    return Reply::success({{"device", QString::fromStdString(name)},
                           {"offset", offset},
                           {"length", static_cast<int>(bytes.size())}});
}

Reply dump(sim::SimDevice& device, const std::string& name) {
    std::uint64_t dropped = 0;
    QJsonArray log;
    for (const auto& c : device.takeCommandLog(&dropped))
        log.append(QJsonArray{c.command, c.offset, c.length});
    const auto info = device.deviceInfo();
    QJsonObject fields{
        {"device", QString::fromStdString(name)},
        {"plugged", device.plugged()},
        {"info", hexField(info)},
        {"records", hexField(device.records())},
        {"keys", hexField(device.keyArea())},
        {"macro", hexField(device.macroArea())},
        {"cursor", hexField(device.cursorArea())},
        {"frame", hexField(device.lastLightFrame())},
        {"log", log},
    };
    // The log keeps the newest commands; say so when older ones did not fit.
    if (dropped > 0) fields.insert(QStringLiteral("log_dropped"), static_cast<qint64>(dropped));
    return Reply::success(fields);
}

} // namespace

Reply runSimCommand(sim::SimBackend& backend, const Args& args) {
    if (args.empty()) return usage("'sim' needs a subcommand");
    const std::string& verb = args[0];
    Reply why;
    if (verb == "plug" || verb == "unplug" || verb == "dump") {
        if (!argCount(args, 2, 2, why)) return why;
    } else if (verb == "report" || verb == "fault") {
        if (!argCount(args, 3, verb == "fault" ? 4 : 3, why)) return why;
    } else if (verb == "set") {
        if (!argCount(args, 4, 4, why)) return why;
    } else {
        return usage("unknown subcommand 'sim " + verb + "'");
    }
    sim::SimDevice* device = deviceArg(backend, args[1], why);
    if (!device) return why;
    const std::string& name = args[1];
    if (verb == "plug" || verb == "unplug") return plugging(*device, name, verb == "plug");
    if (verb == "report") return report(*device, name, args[2]);
    if (verb == "fault") return fault(*device, name, args);
    if (verb == "set") return set(*device, name, args);
    return dump(*device, name);
}

void registerSimCommands(CommandTable& table, sim::SimBackend& backend) {
    table.registerCommand(
        "sim", [&backend](const CommandTable::Args& args) { return runSimCommand(backend, args); },
        Gate::Simulate);
}

} // namespace zq::control
