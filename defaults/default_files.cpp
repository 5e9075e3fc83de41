#include "defaults/default_files.h"

#include "defaults/factory_settings.h"
#include "macros/cursor_path.h"
#include "macros/cursor_path_files.h"
#include "profiles/profile_file.h"

#include <functional>
#include <system_error>

namespace zq::defaults {
namespace {

struct ProfileDefault {
    std::string_view name;
    profiles::DeviceType type;
    std::function<std::vector<std::uint8_t>()> payload;
};

} // namespace

std::vector<std::string> writeDefaultFiles(const std::filesystem::path& folder) {
    std::vector<std::string> failed;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);

    using profiles::DeviceType;
    const ProfileDefault profileDefaults[] = {
        {"msdevicedefault.config", DeviceType::Mouse, [] { return mouseDevicePayload(0); }},
        {"msdevicedefault1.config", DeviceType::Mouse, [] { return mouseDevicePayload(1); }},
        {"msdevicedefault2.config", DeviceType::Mouse, [] { return mouseDevicePayload(2); }},
        {"msdengdefault.led", DeviceType::Mouse, mouseLightingPayload},
        {"mskeydefault.pro", DeviceType::Mouse, mouseKeysPayload},
        {"kbdevicedefault.config", DeviceType::Keyboard, keyboardDevicePayload},
        {"kbdengdefault.led", DeviceType::Keyboard, keyboardLightingPayload},
        {"kbkeydefault.pro", DeviceType::Keyboard, keyboardKeysPayload},
        {"mpdengdefault.led", DeviceType::Pad, padLightingPayload},
    };
    for (const auto& file : profileDefaults) {
        if (!profiles::writeProfileFile(folder / file.name, file.type, file.payload()))
            failed.emplace_back(file.name);
    }

    for (std::size_t slot = 0; slot < macros::kCursorPathSlots; ++slot) {
        const std::string name = macros::cursorPathFileName(slot);
        if (!macros::writeCursorPathFile(folder / name, recoilPathActions(kRecoilPatterns[slot])))
            failed.push_back(name);
    }
    return failed;
}

} // namespace zq::defaults
