#pragma once
// The seven profile lists: which index file and sections list them, which extension and payload size
// their files have, the device type their files carry and the default files new profiles start from.
#include "platform/data_folders.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zq::profiles {

enum class DeviceType : std::uint16_t { Keyboard = 1, Mouse = 2, Pad = 3 };

enum class ProfileCategory {
    MouseDevice,
    MouseLighting,
    MouseKeys,
    KeyboardDevice,
    KeyboardLighting,
    KeyboardKeys,
    PadLighting,
};
inline constexpr std::size_t kProfileCategoryCount = 7;

inline constexpr std::size_t kMouseDevicePayloadSize = 576;       // key table + mouse record
inline constexpr std::size_t kMouseLightingPayloadSize = 64;      // mouse record
inline constexpr std::size_t kKeyTablePayloadSize = 512;          // key table
inline constexpr std::size_t kKeyboardLightingPayloadSize = 1958; // record, 4, 1888 and 2 bytes
inline constexpr std::size_t kKeyboardDevicePayloadSize = 512 + kKeyboardLightingPayloadSize;
inline constexpr std::size_t kPadLightingPayloadSize = 64; // pad record

// The five sections of one category in its device's index file.
struct IndexSections {
    std::string_view count;
    std::string_view name;
    std::string_view select;
    std::string_view linkFlag;
    std::string_view linkPath;
};

inline constexpr IndexSections kDeviceSections{"PROFILEDEVICECOUNT", "PROFILEDEVICENAME",
                                               "PROFILEDEVICESELECT", "PROFILELIKEDEVICEEXE",
                                               "DEVICEPROCESS"};
inline constexpr IndexSections kLightingSections{"PROFILEDENGCOUNT", "PROFILEDENGNAME", "PROFILEDENGSELECT",
                                                 "PROFILELIKEDENGEXE", "DENGPROCESS"};
inline constexpr IndexSections kKeySections{"PROFILECOUNT", "PROFILENAME", "PROFILESELECT", "PROFILELIKEEXE",
                                            "PROCESS"};

struct ProfileCategoryInfo {
    ProfileCategory category;
    platform::DeviceFolder folder;
    std::string_view indexFile;
    IndexSections sections;
    std::string_view extension;
    std::size_t payloadSize;
    DeviceType deviceType;
    std::string_view listControl;
    // Default files in the application folder: list position k starts from defaults[min(k, n - 1)]
    // over the n non-empty entries (only the mouse device list has more than one).
    std::array<std::string_view, 3> defaults;
};

inline constexpr std::array<ProfileCategoryInfo, kProfileCategoryCount> kProfileCategories{{
    {ProfileCategory::MouseDevice,
     platform::DeviceFolder::Mouse,
     "msProfile.ini",
     kDeviceSections,
     ".config",
     kMouseDevicePayloadSize,
     DeviceType::Mouse,
     "ms_device_profile_combo",
     {"msdevicedefault.config", "msdevicedefault1.config", "msdevicedefault2.config"}},
    {ProfileCategory::MouseLighting,
     platform::DeviceFolder::Mouse,
     "msProfile.ini",
     kLightingSections,
     ".led",
     kMouseLightingPayloadSize,
     DeviceType::Mouse,
     "ms_deng_profile_combo",
     {"msdengdefault.led"}},
    {ProfileCategory::MouseKeys,
     platform::DeviceFolder::Mouse,
     "msProfile.ini",
     kKeySections,
     ".pro",
     kKeyTablePayloadSize,
     DeviceType::Mouse,
     "ms_key_profile_combo",
     {"mskeydefault.pro"}},
    {ProfileCategory::KeyboardDevice,
     platform::DeviceFolder::Keyboard,
     "kbProfile.ini",
     kDeviceSections,
     ".config",
     kKeyboardDevicePayloadSize,
     DeviceType::Keyboard,
     "kb_device_profile_combo",
     {"kbdevicedefault.config"}},
    {ProfileCategory::KeyboardLighting,
     platform::DeviceFolder::Keyboard,
     "kbProfile.ini",
     kLightingSections,
     ".led",
     kKeyboardLightingPayloadSize,
     DeviceType::Keyboard,
     "kb_deng_profile_combo",
     {"kbdengdefault.led"}},
    {ProfileCategory::KeyboardKeys,
     platform::DeviceFolder::Keyboard,
     "kbProfile.ini",
     kKeySections,
     ".pro",
     kKeyTablePayloadSize,
     DeviceType::Keyboard,
     "kb_key_profile_combo",
     {"kbkeydefault.pro"}},
    {ProfileCategory::PadLighting,
     platform::DeviceFolder::Pad,
     "mpProfile.ini",
     kLightingSections,
     ".led",
     kPadLightingPayloadSize,
     DeviceType::Pad,
     "mp_deng_profile_combo",
     {"mpdengdefault.led"}},
}};

constexpr const ProfileCategoryInfo& categoryInfo(ProfileCategory category) {
    return kProfileCategories[static_cast<std::size_t>(category)];
}

// The default file a profile at list position starts from.
constexpr std::string_view defaultFileFor(ProfileCategory category, int position) {
    const auto& d = categoryInfo(category).defaults;
    std::size_t last = 0;
    while (last + 1 < d.size() && !d[last + 1].empty()) ++last;
    const std::size_t at = position < 0 ? 0 : static_cast<std::size_t>(position);
    return d[at < last ? at : last];
}

} // namespace zq::profiles
