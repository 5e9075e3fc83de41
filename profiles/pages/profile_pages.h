#pragma once
// The profile lists of the seven categories: built at start from their index files, selection, load
// and save of the selected profile, list operations and application links.
#include "profiles/pages/list_operations.h"
#include "profiles/pages/profile_selection.h"
#include "profiles/profile_category.h"
#include "settings/pages/page_context.h"
#include "settings/pages/settings_pages.h"

#include <map>
#include <string>
#include <vector>

namespace zq::profiles::pages {

using settings::pages::PageContext;

// What `zq70ctl status` shows of a category.
struct CategoryStatus {
    std::vector<std::string> names;
    int active = -1; // the list's current position
    int saved = 0;   // the select key
};

class ProfilePages {
public:
    ProfilePages(PageContext& context, settings::pages::SettingsPages& settings);
    ProfilePages(const ProfilePages&) = delete;
    ProfilePages& operator=(const ProfilePages&) = delete;

    // Builds every list from its index file (first run: from the default files). Window init.
    void start();
    // Stores the live settings in the selected profiles' files (a mask of StoredProfile bits).
    void save(unsigned storedProfiles);
    CategoryStatus status(ProfileCategory category) const;
    // Selects a list position as the user would (with the selection handling where the list has one);
    // the same position again does nothing.
    void select(ProfileCategory category, int position);

    ProfileSelection& selection() { return selection_; }
    ListOperations& operations() { return operations_; }

private:
    PageContext& ctx_;
    // The names each list is filled with when its page is built, for status() until then (status does
    // not build a page: nothing has changed a list that was never built).
    std::map<ProfileCategory, std::vector<std::string>> namesBeforeBuilt_;
    settings::pages::SettingsPages& settings_;
    ProfileSelection selection_;
    ListOperations operations_;
};

} // namespace zq::profiles::pages
