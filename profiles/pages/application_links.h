#pragma once
// Linking a profile to an application: the link check, the link button and the cancel button beside
// each profile list, the link keys of the index file they write, and the chooser of the executable (the
// Open dialog in /usr/bin, with the applications the user runs now offered beside it).
#include "profiles/profile_category.h"
#include "profiles/profile_index.h"
#include "settings/pages/page_context.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zq::platform {
class ForegroundApplication;
}

namespace zq::profiles::pages {

using settings::pages::PageContext;

// The controls of one category's link.
struct LinkControls {
    ProfileCategory category;
    std::string_view list;
    std::string_view check;
    std::string_view button;
    std::string_view cancel; // empty: the category has none
    std::string_view edit;
    std::string_view row;
    // Whether the link name row shows after the check handling ends without a link: cleared by the
    // user, chooser cancelled, chosen path without a folder separator.
    bool rowWhenCleared;
    bool rowWhenCancelled;
    bool rowWhenNoSeparator;
};

const LinkControls& linkControls(ProfileCategory category);

// Text ids of ours.
inline constexpr std::string_view kDuplicateLinkMessage = "message_text_13";
inline constexpr std::string_view kRunningApplicationsTextId = "profile_link_running_text";
inline constexpr std::string_view kNoForegroundTipId = "profile_link_no_x11_tip";
// Where the chooser starts.
inline constexpr std::string_view kChooserFolder = "/usr/bin";

// ---- the link rules, without controls

// The part of a path after its last '/' (all of it without one).
std::string linkFileName(std::string_view path);
bool hasFolderSeparator(std::string_view path);
// Executable paths compare without regard to (ASCII) case.
bool sameExecutable(std::string_view a, std::string_view b);

struct LinkedPosition {
    int position;
    std::string path;
    bool operator==(const LinkedPosition&) const = default;
};
// The positions 0 .. n-1 whose link flag reads as exactly 1, in list order, with their link paths; n is
// the index's count held to the names present, so a hand-edited count costs no more than its keys.
std::vector<LinkedPosition> linkedPositions(const ProfileIndex& index);
// The first linked position whose path is the executable's (list order), or -1.
int firstLinkFor(const std::vector<LinkedPosition>& links, std::string_view executable, int listSize);

class ApplicationLinks {
public:
    using LinksChanged = std::function<void(ProfileCategory)>;
    using RunningApplications = std::function<std::vector<std::pair<std::string, std::string>>()>;

    // `foreground` says whether links can take effect in this session; `linksChanged` is told after
    // every write of a category's link keys (the watchers look again).
    ApplicationLinks(PageContext& context, const platform::ForegroundApplication& foreground,
                     LinksChanged linksChanged);
    ApplicationLinks(const ApplicationLinks&) = delete;
    ApplicationLinks& operator=(const ApplicationLinks&) = delete;

    // The applications offered beside the Open dialog (name, full path); the running ones by default.
    void setRunningApplications(RunningApplications source) { running_ = std::move(source); }

    // The handlers, as the controls' notifications run them.
    void checkChanged(ProfileCategory category);
    void linkButton(ProfileCategory category);
    void cancelButton(ProfileCategory category);

private:
    std::optional<std::string> chooseExecutable();
    // Links position p to path: the keys, the edit, the check (without notification), the row.
    void link(const LinkControls& c, int p, const std::string& path);
    void writeUnlinked(const LinkControls& c, int p);
    // A linked position other than, or equal to, p already holds the path.
    bool alreadyLinked(const LinkControls& c, const std::string& path) const;
    // After a refused link the check shows what the position really has.
    void showStoredLink(const LinkControls& c, int p);
    void changed(ProfileCategory category);

    PageContext& ctx_;
    LinksChanged linksChanged_;
    RunningApplications running_;
};

// `zq70ctl status`: the linked positions of a category and their paths.
std::vector<LinkedPosition> categoryLinks(ProfileCategory category);

} // namespace zq::profiles::pages
