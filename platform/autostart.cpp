#include "platform/autostart.h"

#include "platform/atomic_file.h"
#include "platform/utf8.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace zq::platform {

namespace {
namespace fs = std::filesystem;

// An entry is a few hundred bytes; a file far larger than that is read only as far as this.
constexpr std::size_t kMaxEntryBytes = 64 * 1024;

// The characters the desktop entry rules reserve in an Exec argument: an argument with any of them is
// quoted.
constexpr std::string_view kReservedInExec = " \t\n\"'\\><~|&;$*?#()`";
// Inside quotes these four take a backslash.
constexpr std::string_view kEscapedInQuotes = "\"`$\\";

std::string envOr(const char* name) {
    const char* v = std::getenv(name);
    return (v && *v) ? std::string(v) : std::string();
}

fs::path homeFolder() {
    std::string home = envOr("HOME");
    if (home.empty()) {
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) home = pw->pw_dir;
    }
    return home.empty() ? fs::path("/tmp") : fs::path(home);
}

// Relative entries in the XDG variables are ignored, as the base directory rules ask.
fs::path userConfigHome() {
    const std::string xdg = envOr("XDG_CONFIG_HOME");
    return (!xdg.empty() && fs::path(xdg).is_absolute()) ? fs::path(xdg) : homeFolder() / ".config";
}

std::vector<fs::path> systemConfigFolders() {
    std::string dirs = envOr("XDG_CONFIG_DIRS");
    if (dirs.empty()) dirs = "/etc/xdg";
    std::vector<fs::path> folders;
    std::string_view rest = dirs;
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const fs::path folder(rest.substr(0, colon));
        if (folder.is_absolute()) folders.push_back(folder);
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return folders;
}

bool hasControlCharacter(std::string_view text) {
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f) return true;
    }
    return false;
}

bool isTrue(std::string_view value) {
    return value == "true" || value == "1";
}
bool isFalse(std::string_view value) {
    return value == "false" || value == "0";
}

// Whether a session starting the autostart entries would run this one.
bool entryStarts(std::string_view text) {
    bool inMainGroup = false;
    bool sawMainGroup = false;
    bool hidden = false;
    bool switchedOff = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = trimBlanks(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line = trimBlanks(line.substr(0, line.size() - 1));
        if (line.empty() || line.front() == '#') continue;
        if (line.front() == '[') {
            inMainGroup = line == "[Desktop Entry]";
            sawMainGroup = sawMainGroup || inMainGroup;
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!inMainGroup || eq == std::string_view::npos) continue;
        const std::string_view key = trimBlanks(line.substr(0, eq));
        const std::string_view value = trimBlanks(line.substr(eq + 1));
        if (key == "Hidden") hidden = isTrue(value);
        if (key == "X-GNOME-Autostart-enabled") switchedOff = isFalse(value);
    }
    return sawMainGroup && !hidden && !switchedOff;
}

// A file the session cannot read starts nothing.
bool fileStarts(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::string text(kMaxEntryBytes, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return entryStarts(text);
}

// Values of string keys escape the backslash; the other escapes stand for control characters, which an
// entry we write never holds.
std::string escapeStringValue(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (const char c : value) {
        if (c == '\\') out += '\\';
        out += c;
    }
    return out;
}

bool isExecutableFile(const fs::path& file) {
    std::error_code ec;
    return fs::is_regular_file(file, ec) && ::access(file.c_str(), X_OK) == 0;
}
} // namespace

std::string desktopExecLine(std::span<const std::string> argv) {
    std::string line;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const std::string& arg = argv[i];
        if (hasControlCharacter(arg)) return {};
        const bool quote = arg.empty() || arg.find_first_of(kReservedInExec) != std::string::npos;
        if (i > 0) line += ' ';
        if (quote) line += '"';
        for (const char c : arg) {
            if (c == '%')
                line += '%';
            else if (quote && kEscapedInQuotes.find(c) != std::string_view::npos)
                line += '\\';
            line += c;
        }
        if (quote) line += '"';
    }
    return line;
}

std::string autostartExecLine(const fs::path& program) {
    std::error_code ec;
    fs::path absolute = fs::absolute(program, ec).lexically_normal();
    if (ec) absolute = program;
    const std::string name = program.filename().string();
    const std::string path = envOr("PATH");
    std::string_view rest = path;
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const fs::path folder(rest.substr(0, colon));
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        if (!folder.is_absolute()) continue;
        const fs::path candidate = folder / name;
        if (!isExecutableFile(candidate)) continue;
        // The first match is what the session would run: the bare name only when that is this program.
        if (fs::equivalent(candidate, absolute, ec) && !ec) {
            const std::vector<std::string> argv{name, std::string(kHiddenArgument)};
            return desktopExecLine(argv);
        }
        break;
    }
    const std::vector<std::string> argv{absolute.string(), std::string(kHiddenArgument)};
    return desktopExecLine(argv);
}

fs::path Autostart::file() const {
    return userConfigHome() / "autostart" / entryName_;
}

bool Autostart::enabled() const {
    std::error_code ec;
    // The first folder that holds an entry of this name decides, the user's before the system's.
    if (const fs::path user = file(); fs::exists(user, ec)) return fileStarts(user);
    for (const fs::path& folder : systemConfigFolders()) {
        const fs::path entry = folder / "autostart" / entryName_;
        if (fs::exists(entry, ec)) return fileStarts(entry);
    }
    return false;
}

bool Autostart::enable(std::string_view execLine) {
    error_.clear();
    execLine = trimBlanks(execLine);
    if (execLine.empty()) {
        error_ = "the command to start at login is empty";
        return false;
    }
    if (hasControlCharacter(execLine) || !isValidUtf8(execLine)) {
        error_ = "the command to start at login holds a control character or is not UTF-8 text";
        return false;
    }
    std::string text = "[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=ZEPHRAN Q70\n"
                       "Comment=Mouse, mouse pad and keyboard settings and lighting\n"
                       "Exec=";
    text += escapeStringValue(execLine);
    text += "\n"
            "Icon=zephran-q70\n"
            "Terminal=false\n"
            "X-GNOME-Autostart-enabled=true\n";
    return writeEntry(text);
}

bool Autostart::disable() {
    error_.clear();
    const fs::path user = file();
    std::error_code ec;
    if (fs::exists(fs::symlink_status(user, ec)) && !fs::remove(user, ec) && ec) {
        error_ = "cannot remove " + user.string() + ": " + ec.message();
        return false;
    }
    if (!enabled()) return true;
    // An entry of the same name in a system folder now takes over; a hidden one of the user's stops it.
    return writeEntry("[Desktop Entry]\n"
                      "Type=Application\n"
                      "Name=ZEPHRAN Q70\n"
                      "Exec=zephran-q70 --hidden\n"
                      "Hidden=true\n");
}

bool Autostart::writeEntry(std::string_view text) {
    const fs::path target = file();
    std::error_code ec;
    fs::create_directories(target.parent_path(), ec);
    if (ec) {
        error_ = "cannot create " + target.parent_path().string() + ": " + ec.message();
        return false;
    }
    errno = 0;
    if (!writeFileAtomically(target, text)) {
        error_ = "cannot write " + target.string();
        if (errno != 0) error_ += std::string(": ") + std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace zq::platform
