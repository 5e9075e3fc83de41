#pragma once
// Where the program keeps its files.
//
// userDataFolder: the user's documents folder (XDG_DOCUMENTS_DIR from the environment or from
//   user-dirs.dirs, else ~/Documents) + "ZEPHRAN Q70/". ZQ70_DATA_DIR, when set, is used as this folder
//   itself (tests and portable setups point it anywhere).
// categoryFolder: "ms/", "kb/" or "mp/" below it.
// applicationFolder: the read-only files that come with the program (default profiles, skin): the folder
//   of the executable, or <prefix>/share/zephran-q70/ when the program is installed under <prefix>/bin.
//   ZQ70_APP_DIR overrides it.
// configFolder: $XDG_CONFIG_HOME/zephran-q70/ (else ~/.config/zephran-q70/), for host-side settings.
//
// Each call looks the folder up afresh and creates what is missing; nothing is cached. Every folder is
// returned with a trailing separator so that a file name can be appended either way.
#include <filesystem>
#include <string_view>

namespace zq::platform {

enum class DeviceFolder { Mouse, Keyboard, Pad };

inline constexpr std::string_view kProductFolderName = "ZEPHRAN Q70";
inline constexpr std::string_view kInstalledShareName = "zephran-q70";

std::filesystem::path documentsFolder();
std::filesystem::path userDataFolder();
std::filesystem::path categoryFolder(DeviceFolder device);
std::string_view categoryFolderName(DeviceFolder device); // "ms", "kb", "mp"
std::filesystem::path applicationFolder();
std::filesystem::path configFolder();

// File names compare without regard to case, as on the file systems the data files come from: the
// path of an existing file in folder whose name equals name ignoring ASCII case (the exact spelling
// first, else the first match in name order), or folder/name as given when there is none, so a new
// file is written with the caller's (lower-case) spelling.
std::filesystem::path resolveCaseInsensitive(const std::filesystem::path& folder, std::string_view name);

// The same for a full path: resolves the last component in its parent folder.
std::filesystem::path resolveCaseInsensitive(const std::filesystem::path& file);

} // namespace zq::platform
