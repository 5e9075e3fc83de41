#pragma once
// The row of buttons under each profile list: add, delete, copy, import, export, reset and save name,
// and the buttons that show and hide the profile panels. Each operation changes the list control, the
// category's index keys and its profile files together, and most end by selecting an entry, which loads
// it where the list's selection loads.
//
// Every operation makes its files first and changes the index and the list only once they are written,
// so a failure (a missing default, an unreadable file, a full disk) leaves list, index and files as
// they were, with a message.
#include "profiles/profile_category.h"
#include "settings/pages/page_context.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace zq::profiles::pages {

class ProfileSelection;
using settings::pages::PageContext;

// Our message ids, beside the numbered ones: a typed name that cannot be a file name, and a profile
// file that could not be written.
inline constexpr std::string_view kNameNotUsableMessage = "message_profile_name_invalid";
inline constexpr std::string_view kWriteFailedMessage = "message_profile_write_failed";

class ListOperations {
public:
    ListOperations(PageContext& context, ProfileSelection& selection);

    void registerHandlers();

    void addProfile(ProfileCategory category);
    void deleteProfile(ProfileCategory category);
    void copyProfile(ProfileCategory category);
    void importProfile(ProfileCategory category);
    void exportProfile(ProfileCategory category);
    void resetProfile(ProfileCategory category);
    void renameProfile(ProfileCategory category);

    // Told after a delete moved the links of the entries behind it up one place, so whatever follows
    // the links reads them again.
    std::function<void(ProfileCategory)> linksMoved;

private:
    // Add's own steps; false when it ended with a message.
    bool add(ProfileCategory category);
    // Makes the entry at `position` the list's current one with the selection handling, even when it
    // was current already.
    void reselect(ProfileCategory category, int position);
    void applyReset(ProfileCategory category);
    // Writes the profile stored in `from` as a new file `to` (copy, rename, export); false when it ended
    // with a message (the source missing or unreadable, or the write failed).
    bool copyProfileFile(ProfileCategory category, const std::filesystem::path& from,
                         const std::filesystem::path& to);

    PageContext& ctx_;
    ProfileSelection& selection_;
};

} // namespace zq::profiles::pages
