#pragma once
// The controls of each profile list, named from its device prefix ("ms", "kb", "mp") and its kind
// ("device", "deng", "key"): the list itself, the name edit and link controls beside it, and the row of
// operation buttons.
#include "device/app_state.h"
#include "profiles/profile_category.h"

#include <array>
#include <string>
#include <string_view>

namespace zq::profiles::pages {

struct CategoryControls {
    std::string list;
    std::string nameEdit;
    std::string linkCheck;
    std::string linkEdit;
    std::string linkRow;
    std::string add;
    std::string remove;
    std::string copy;
    std::string importFile;
    std::string exportFile;
    std::string reset;
    std::string saveName;
};

constexpr std::string_view devicePrefix(ProfileCategory category) {
    switch (categoryInfo(category).folder) {
    case platform::DeviceFolder::Mouse:
        return "ms";
    case platform::DeviceFolder::Keyboard:
        return "kb";
    case platform::DeviceFolder::Pad:
        break;
    }
    return "mp";
}

constexpr std::string_view kindOf(ProfileCategory category) {
    switch (category) {
    case ProfileCategory::MouseDevice:
    case ProfileCategory::KeyboardDevice:
        return "device";
    case ProfileCategory::MouseLighting:
    case ProfileCategory::KeyboardLighting:
    case ProfileCategory::PadLighting:
        return "deng";
    case ProfileCategory::MouseKeys:
    case ProfileCategory::KeyboardKeys:
        break;
    }
    return "key";
}

inline CategoryControls controlsOf(ProfileCategory category) {
    const std::string device(devicePrefix(category));
    const std::string kind(kindOf(category));
    const std::string profile = device + "_" + kind + "_profile";
    const std::string button = device + "_pro_" + kind + "_";
    return {std::string(categoryInfo(category).listControl),
            profile + "_name_edit",
            profile + "_link_check",
            profile + "_link_edit",
            profile + "_link_name_hor",
            button + "add_btn",
            button + "sub_btn",
            button + "copy_btn",
            button + "import_btn",
            button + "export_btn",
            button + "reset_btn",
            profile + "_edit_save_btn"};
}

constexpr device::DeviceClass deviceOf(ProfileCategory category) {
    switch (categoryInfo(category).folder) {
    case platform::DeviceFolder::Mouse:
        return device::DeviceClass::Mouse;
    case platform::DeviceFolder::Keyboard:
        return device::DeviceClass::Keyboard;
    case platform::DeviceFolder::Pad:
        break;
    }
    return device::DeviceClass::Pad;
}

// The lists whose selection loads the profile and updates the device; picking an entry of the other
// two (the mouse's lighting and key profiles) changes nothing but the list.
constexpr bool selectionLoads(ProfileCategory category) {
    return category != ProfileCategory::MouseLighting && category != ProfileCategory::MouseKeys;
}

inline constexpr std::array<ProfileCategory, kProfileCategoryCount> kAllCategories{
    ProfileCategory::MouseDevice,    ProfileCategory::MouseLighting,    ProfileCategory::MouseKeys,
    ProfileCategory::KeyboardDevice, ProfileCategory::KeyboardLighting, ProfileCategory::KeyboardKeys,
    ProfileCategory::PadLighting};

} // namespace zq::profiles::pages
