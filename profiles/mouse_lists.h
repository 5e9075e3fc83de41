#pragma once
// The three mouse profile lists as the mouse page shows them at start-up, built from the mouse index
// file, with the first run of each list whose count is 0: its profiles are made from the default files
// and entered in the index. The page puts the entries into its list controls and shows the messages.
#include "profiles/profile_category.h"

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace zq::profiles {

inline constexpr int kListEntryHeight = 25;

// One entry of a list control. The stored name is what every file operation uses; the entry shows
// either a text id of the language file or a plain text.
struct ListEntry {
    std::string storedName;
    std::string displayTextId;
    std::string displayText;
    int height = kListEntryHeight;
    bool operator==(const ListEntry&) const = default;
};

// The mouse device list shows its first three positions as the button layouts they stand for.
inline constexpr std::array<std::string_view, 3> kMouseLayoutTextIds{"ms_right_text", "ms_left_text",
                                                                     "ms_full_text"};
ListEntry makeListEntry(ProfileCategory category, int position, std::string storedName);

// Message box text ids for a default file that is missing or unreadable, and one with a wrong magic.
inline constexpr std::string_view kDefaultMissingMessage = "message_text_8";
inline constexpr std::string_view kDefaultBadMagicMessage = "message_text_9";

inline constexpr std::array<ProfileCategory, 3> kMouseListCategories{
    ProfileCategory::MouseDevice, ProfileCategory::MouseLighting, ProfileCategory::MouseKeys};

// The entries an index names for its category, in index order. A count beyond the names present is
// held to them, so a damaged or hostile index costs no more than the keys it holds; a count of 0 or
// less gives no entries. Nothing is written.
std::vector<ListEntry> buildListFromIndex(ProfileCategory category, const std::filesystem::path& indexFile);

struct MouseLists {
    // In the order of kMouseListCategories; a list whose building stopped holds what was built.
    std::array<std::vector<ListEntry>, 3> lists;
    // Text ids to show in the message box, in order.
    std::vector<std::string> messages;
    // All three lists were built: the page then disables "ms_tab_function".
    bool complete = false;
};

struct MouseListsFolders {
    std::filesystem::path mouseFolder;       // holds msProfile.ini and the profile files
    std::filesystem::path applicationFolder; // holds the default files
};

MouseLists buildMouseLists(const MouseListsFolders& folders);
// With the user's mouse folder and the application folder.
MouseLists buildMouseLists();

// The lists of one device folder, in category order, built the same way as the mouse's: from the index,
// or on a first run (count 0) from the default files, "profile1" (the mouse device list "profile1" to
// "profile3"). The keyboard's and the pad's lists are built at start like the mouse's, so every page has
// a profile to select and to save into from the first start.
struct DeviceLists {
    std::vector<ProfileCategory> categories;
    std::vector<std::vector<ListEntry>> lists; // one per category; a list whose building stopped is partial
    std::vector<std::string> messages;
    bool complete = false;
};
struct DeviceListsFolders {
    std::filesystem::path dataFolder;        // the device's folder: its index file and profile files
    std::filesystem::path applicationFolder; // the default files
};
DeviceLists buildDeviceLists(platform::DeviceFolder device, const DeviceListsFolders& folders);
DeviceLists buildDeviceLists(platform::DeviceFolder device);
// The categories listed in a device's folder, in category order.
std::vector<ProfileCategory> categoriesOf(platform::DeviceFolder device);

} // namespace zq::profiles
