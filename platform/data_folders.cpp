#include "platform/data_folders.h"

#include "platform/utf8.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace zq::platform {

namespace {
namespace fs = std::filesystem;

std::string envOr(const char* name, std::string_view fallback = {}) {
    const char* v = std::getenv(name);
    return (v && *v) ? std::string(v) : std::string(fallback);
}

fs::path homeFolder() {
    std::string home = envOr("HOME");
    if (home.empty()) {
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) home = pw->pw_dir;
    }
    return home.empty() ? fs::path("/tmp") : fs::path(home);
}

fs::path withSeparator(fs::path p) {
    p += fs::path::preferred_separator;
    return p.lexically_normal();
}

fs::path ensure(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec); // a failure shows in the file operations that follow
    return withSeparator(folder);
}

fs::path userConfigHome() {
    const std::string xdg = envOr("XDG_CONFIG_HOME");
    return (!xdg.empty() && fs::path(xdg).is_absolute()) ? fs::path(xdg) : homeFolder() / ".config";
}

// user-dirs.dirs holds shell assignments such as XDG_DOCUMENTS_DIR="$HOME/Documents".
std::string documentsFromUserDirs() {
    std::ifstream in(userConfigHome() / "user-dirs.dirs");
    std::string line;
    constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=";
    while (std::getline(in, line)) {
        std::string_view t = trimBlanks(line);
        if (!t.starts_with(kKey)) continue;
        t.remove_prefix(kKey.size());
        if (t.size() >= 2 && t.front() == '"' && t.back() == '"') t = t.substr(1, t.size() - 2);
        std::string value(t);
        if (value.starts_with("$HOME")) value = homeFolder().string() + value.substr(5);
        if (fs::path(value).is_absolute()) return value;
    }
    return {};
}
} // namespace

fs::path documentsFolder() {
    std::string docs = envOr("XDG_DOCUMENTS_DIR");
    if (docs.empty() || !fs::path(docs).is_absolute()) docs = documentsFromUserDirs();
    return docs.empty() ? homeFolder() / "Documents" : fs::path(docs);
}

fs::path userDataFolder() {
    const std::string over = envOr("ZQ70_DATA_DIR");
    return ensure(over.empty() ? documentsFolder() / kProductFolderName : fs::path(over));
}

std::string_view categoryFolderName(DeviceFolder device) {
    switch (device) {
    case DeviceFolder::Mouse:
        return "ms";
    case DeviceFolder::Keyboard:
        return "kb";
    case DeviceFolder::Pad:
        return "mp";
    }
    return "ms";
}

fs::path categoryFolder(DeviceFolder device) {
    return ensure(userDataFolder() / categoryFolderName(device));
}

fs::path applicationFolder() {
    const std::string over = envOr("ZQ70_APP_DIR");
    if (!over.empty()) return ensure(over);
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return ensure(fs::current_path(ec));
    const fs::path exeFolder = exe.parent_path();
    if (exeFolder.filename() == "bin") {
        const fs::path share = exeFolder.parent_path() / "share" / kInstalledShareName;
        if (fs::is_directory(share, ec)) return withSeparator(share);
    }
    return withSeparator(exeFolder);
}

fs::path configFolder() {
    return ensure(userConfigHome() / "zephran-q70");
}

fs::path resolveCaseInsensitive(const fs::path& folder, std::string_view name) {
    std::error_code ec;
    const fs::path exact = folder / name;
    if (name.empty() || fs::exists(exact, ec)) return exact;
    std::vector<fs::path> matches;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (equalsIgnoringCase(entry, name)) matches.push_back(it->path());
    }
    if (matches.empty()) return exact;
    return *std::min_element(matches.begin(), matches.end());
}

fs::path resolveCaseInsensitive(const fs::path& file) {
    return resolveCaseInsensitive(file.parent_path(), file.filename().string());
}

} // namespace zq::platform
