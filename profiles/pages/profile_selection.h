#pragma once
// Choosing a profile in a list makes it the active one of its category: the choice is stored in the index
// file, the link controls show whether the profile is linked to an application, the profile file is
// loaded into the device's live state, the device's page is refreshed and the device updated. And the
// other way: a change on a settings page is saved into the file of the saved selection.
#include "profiles/profile_file.h"
#include "profiles/profile_payloads.h"
#include "settings/pages/page_context.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace zq::settings::pages {
class SettingsPages;
}

namespace zq::profiles::pages {

using settings::pages::PageContext;

// Debug lines of a profile file that cannot be loaded.
inline constexpr std::string_view kProfileMissing = "配置文件丢失";
inline constexpr std::string_view kProfileBadFormat = "配置文件格式错误";

class ProfileSelection {
public:
    ProfileSelection(PageContext& context, settings::pages::SettingsPages& settings);

    // "itemselect" of the five lists whose selection loads.
    void registerHandlers();

    // The list's current entry becomes the active profile (the handler of its "itemselect").
    void selectProfile(ProfileCategory category);
    // Reads the file of the profile the index names at `position` into the live state. A missing or
    // damaged file changes nothing (a debug line says why).
    ProfileReadResult loadProfileAt(ProfileCategory category, int position);
    // Writes the live settings into the file of the saved selection (the select key).
    void saveSelectedProfile(ProfileCategory category);

    // The link controls show the link of `position`.
    void showLink(ProfileCategory category, int position);
    // After a payload reached the live state: the pages show it and the device gets it.
    void applyAndUpdate(ProfileCategory category, int position);
    // The key table goes to the device as key-block page 0, off the UI thread.
    void writeKeyTable(device::DeviceClass device,
                       const std::array<std::uint8_t, device::kKeyPageBytes>& page);
    // The lighting engine takes the device's lighting (and the keyboard's custom maps) again.
    void lightingTaken(device::DeviceClass device);
    HostMouseValues hostValues() const;
    settings::pages::SettingsPages& settingsPages() { return settings_; }

private:
    PageContext& ctx_;
    settings::pages::SettingsPages& settings_;
};

} // namespace zq::profiles::pages
