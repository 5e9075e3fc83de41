#pragma once
// The applications the user runs now, as a choice of what to link a profile to: the name and full path
// of each running process's executable, read from /proc.
#include <string>
#include <sys/types.h>
#include <vector>

namespace zq::platform {

struct RunningApplication {
    std::string name; // the executable's file name
    std::string path; // its full path
    bool operator==(const RunningApplication&) const = default;
};

// Processes of the given user (the caller's by default) with an executable that can be read: each path
// once, sorted by name (then path) without regard to case. Kernel threads and processes of other users
// are left out. `procRoot` is for tests.
std::vector<RunningApplication> runningApplications(const std::string& procRoot = "/proc");
std::vector<RunningApplication> runningApplications(const std::string& procRoot, uid_t user);

} // namespace zq::platform
