#include "platform/running_applications.h"

#include "platform/foreground.h"

#include <algorithm>
#include <cctype>
#include <set>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zq::platform {

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

long processId(const char* name) {
    long pid = 0;
    for (const char* c = name; *c; ++c) {
        if (*c < '0' || *c > '9') return 0;
        if (pid > 100'000'000) return 0;
        pid = pid * 10 + (*c - '0');
    }
    return pid;
}

} // namespace

std::vector<RunningApplication> runningApplications(const std::string& procRoot) {
    return runningApplications(procRoot, ::getuid());
}

std::vector<RunningApplication> runningApplications(const std::string& procRoot, uid_t user) {
    std::vector<RunningApplication> out;
    DIR* dir = ::opendir(procRoot.c_str());
    if (!dir) return out;
    std::set<std::string> seen;
    while (const dirent* entry = ::readdir(dir)) {
        const long pid = processId(entry->d_name);
        if (pid <= 0) continue;
        // The owner of /proc/PID is the process's user.
        struct stat st {};
        if (::stat((procRoot + "/" + entry->d_name).c_str(), &st) != 0 || st.st_uid != user) continue;
        auto path = executableOfProcess(pid, procRoot);
        if (!path || !seen.insert(*path).second) continue;
        const auto slash = path->find_last_of('/');
        out.push_back({path->substr(slash + 1), *path});
    }
    ::closedir(dir);
    std::sort(out.begin(), out.end(), [](const RunningApplication& a, const RunningApplication& b) {
        const std::string la = lower(a.name), lb = lower(b.name);
        return la != lb ? la < lb : a.path < b.path;
    });
    return out;
}

} // namespace zq::platform
