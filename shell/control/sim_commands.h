#pragma once
// "sim ...": the emulated devices driven from outside the program, as the end-to-end tests and a user
// without the hardware drive them. Only a program started with --simulate takes these commands.
//
//   sim plug|unplug DEVICE
//   sim report mouse|keyboard 0x401|0x402|0x403      a consumer report, as the device's buttons send it
//   sim fault DEVICE none|noreply|late [MS]|status-ff|status-fe|write-fail|unplug-after N
//   sim set DEVICE OFFSET HEX                         bytes of the profile-record memory, changed on the
//                                                     device itself (no report: send one with "report")
//   sim dump DEVICE                                   the memories in lower-case hex and the commands
//                                                     received since the previous dump
//
// DEVICE is mouse, pad or keyboard. Each "fault" replaces the device's earlier fault. Bad arguments are
// usage errors; a device that cannot do it right now (unplugged) is a plain error.
#include "shell/control/command_table.h"

#include <chrono>

namespace zq::sim {
class SimBackend;
}

namespace zq::control {

// How late a "late" reply comes when the command names no time: past the host's 300 ms read limit, so
// the first read runs out and the reply is left for the next one.
inline constexpr std::chrono::milliseconds kDefaultLateReply{500};

Reply runSimCommand(sim::SimBackend& backend, const CommandTable::Args& args);
// Registers "sim" (gated to --simulate); the backend must outlive the table.
void registerSimCommands(CommandTable& table, sim::SimBackend& backend);

} // namespace zq::control
