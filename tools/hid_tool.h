#pragma once
// The zq70-hid diagnostic tool: what it prints for each command, kept apart from main() so it can be
// tested on streams.
#include "device/hid/raw_node.h"
#include "device/hid/report_descriptor.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace zq::tools {

// Exit codes.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1; // bad input, or the device did not answer
inline constexpr int kExitUsage = 64;

// {"collections":[{"usage_page":N,"usage":N,"report_ids":[...],"input_report_length":N,...}]}
std::string collectionsJson(const std::vector<hid::TopLevelCollection>& collections);

// describe FILE: the descriptor as raw bytes or hex text; prints the JSON object.
int describeFile(const std::string& file, std::ostream& out, std::ostream& err);
int describeContent(const std::string& content, const std::string& name, std::ostream& out,
                    std::ostream& err);

// list: every collection of every node the backend shows.
int listCollections(hid::RawNodeBackend& backend, std::ostream& out, std::ostream& err);

// probe: opens the mouse's vendor collection as the application does and shows what it reports.
int probeMouse(hid::RawNodeBackend& backend, std::ostream& out, std::ostream& err);

// The whole command line (argv[0] excluded).
int runHidTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace zq::tools
