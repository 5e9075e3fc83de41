#pragma once
// The arguments of the user commands of zq70ctl (dpi, lighting, profile, slot), checked before anything
// runs. Each parser returns an empty string when the arguments are good and fills its request; otherwise
// it returns what is wrong, with the allowed values, for a usage error. Whether a value fits the devices
// and lists as they are now (a mode the page offers, a profile that exists) is for the command to check.
#include "device/app_state.h"
#include "profiles/profile_category.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zq::control {

using UserArgs = std::vector<std::string>;

inline constexpr int kDpiLevels = 5;
inline constexpr int kDpiMinimum = 200;
inline constexpr int kDpiMaximum = 6200;
inline constexpr int kDpiStep = 100;
inline constexpr int kHighestSlot = 5;
inline constexpr int kLightingLevelMax = 4; // brightness and speed positions 0..4

struct DpiRequest {
    int level = 0; // 1..5
    int dpi = 0;   // 200..6200, a multiple of 100
    // The position of the level's slider for that value (0..60).
    int sliderPosition() const { return (dpi - kDpiMinimum) / kDpiStep; }
};
std::string parseDpi(const UserArgs& args, DpiRequest& out);

// "slot N" and "pad-slot N".
std::string parseSlot(const UserArgs& args, int& slot);

struct LightingRequest {
    device::DeviceClass device = device::DeviceClass::Mouse;
    std::optional<int> mode;
    std::optional<std::uint32_t> colour; // 0xRRGGBB
    std::optional<int> brightness;
    std::optional<int> speed;
    std::optional<bool> left; // direction
    std::optional<bool> cycle;
};
std::string parseLighting(const UserArgs& args, LightingRequest& out);

// The category keys of `status` and the profile commands.
inline constexpr std::array<std::pair<profiles::ProfileCategory, std::string_view>, 7> kProfileCategoryKeys{{
    {profiles::ProfileCategory::MouseDevice, "ms_device"},
    {profiles::ProfileCategory::MouseLighting, "ms_deng"},
    {profiles::ProfileCategory::MouseKeys, "ms_key"},
    {profiles::ProfileCategory::KeyboardDevice, "kb_device"},
    {profiles::ProfileCategory::KeyboardLighting, "kb_deng"},
    {profiles::ProfileCategory::KeyboardKeys, "kb_key"},
    {profiles::ProfileCategory::PadLighting, "mp_deng"},
}};
std::optional<profiles::ProfileCategory> profileCategory(std::string_view key);

struct ProfileRequest {
    enum class Action { List, Select, Export, Import };
    Action action = Action::List;
    std::optional<profiles::ProfileCategory> category; // none: every category (list only)
    std::string categoryKey;
    std::string profile; // select and export: a position from 0 or a name
    std::string file;    // export and import
};
std::string parseProfile(const UserArgs& args, ProfileRequest& out);

// The position a profile is named by: a number within the list (from 0, as `status` counts) or the name
// of an entry in any case. A number beyond the list may still be a profile's name.
std::optional<int> profilePosition(const std::vector<std::string>& names, std::string_view text);

} // namespace zq::control
