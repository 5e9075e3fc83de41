#pragma once
// Starting the program with the user's session: a desktop entry in the XDG autostart folder,
// $XDG_CONFIG_HOME/autostart/zephran-q70.desktop (else ~/.config/autostart/), which every desktop that
// follows the XDG autostart rules runs at login.
//
// The rules decide which file counts: an entry in the user's folder hides one of the same name in the
// system folders ($XDG_CONFIG_DIRS, else /etc/xdg), and an entry with Hidden=true (or GNOME's
// X-GNOME-Autostart-enabled=false) starts nothing. enabled() answers by those rules, so it shows what the
// next login will do, whoever wrote the files. disable() removes the user's entry, and where a system
// entry would then take over it leaves a Hidden=true entry in its place.
//
// Folders are looked up afresh on every call, as the program's other folders are.
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace zq::platform {

inline constexpr std::string_view kAutostartEntryName = "zephran-q70.desktop";
inline constexpr std::string_view kProgramName = "zephran-q70";
// The program started at login stays in the tray until the user opens the window.
inline constexpr std::string_view kHiddenArgument = "--hidden";

// The value of an Exec key that runs argv: arguments with characters the desktop entry rules reserve are
// quoted, and a literal percent sign is doubled so no launcher takes it for a field code. An argument
// with a control character cannot be written on the line: the result is then empty.
std::string desktopExecLine(std::span<const std::string> argv);

// The Exec value of the autostart entry for the program at `program`: its bare name when the search
// path finds this very file under that name (so the entry survives an upgrade or a move within the
// path), else its absolute path; then --hidden.
std::string autostartExecLine(const std::filesystem::path& program);

class Autostart {
public:
    explicit Autostart(std::string_view entryName = kAutostartEntryName) : entryName_(entryName) {}

    // The user's entry, whether it exists or not.
    std::filesystem::path file() const;

    // True when the next login starts the program: the entry that counts exists, is readable and
    // neither hidden nor switched off.
    bool enabled() const;

    // Writes the user's entry (replacing one that is there) so that login runs execLine, a value for the
    // Exec key as desktopExecLine() or autostartExecLine() build it. The file is replaced in one step.
    bool enable(std::string_view execLine);

    // Makes enabled() false. Succeeds when there was nothing to do.
    bool disable();

    // Why the last enable() or disable() failed.
    const std::string& error() const { return error_; }

private:
    bool writeEntry(std::string_view text);

    std::string entryName_;
    std::string error_;
};

} // namespace zq::platform
