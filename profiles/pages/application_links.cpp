#include "profiles/pages/application_links.h"

#include "platform/foreground.h"
#include "platform/running_applications.h"
#include "ui/dispatcher.h"
#include "ui/file_dialogs.h"
#include "ui/message_presenter.h"
#include "ui/page.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace zq::profiles::pages {

namespace {

constexpr std::string_view kLinked = "1";
constexpr std::string_view kUnlinked = "0";
constexpr std::string_view kNoPath = " ";

using PC = ProfileCategory;

// Which categories show their link name row when the check handling ends without a link: cleared by
// the user, chooser cancelled, a path without a separator.
constexpr std::array<LinkControls, kProfileCategoryCount> kLinkControls{{
    {PC::MouseDevice, "ms_device_profile_combo", "ms_device_profile_link_check", "ms_device_profile_link_btn",
     "ms_device_cancle_link_btn", "ms_device_profile_link_edit", "ms_device_profile_link_name_hor", true,
     false, false},
    {PC::MouseLighting, "ms_deng_profile_combo", "ms_deng_profile_link_check", "ms_deng_profile_link_btn", "",
     "ms_deng_profile_link_edit", "ms_deng_profile_link_name_hor", false, false, false},
    {PC::MouseKeys, "ms_key_profile_combo", "ms_key_profile_link_check", "ms_key_profile_link_btn", "",
     "ms_key_profile_link_edit", "ms_key_profile_link_name_hor", false, false, false},
    {PC::KeyboardDevice, "kb_device_profile_combo", "kb_device_profile_link_check",
     "kb_device_profile_link_btn", "kb_device_cancle_link_btn", "kb_device_profile_link_edit",
     "kb_device_profile_link_name_hor", true, false, false},
    {PC::KeyboardLighting, "kb_deng_profile_combo", "kb_deng_profile_link_check", "kb_deng_profile_link_btn",
     "kb_deng_cancle_link_btn", "kb_deng_profile_link_edit", "kb_deng_profile_link_name_hor", true, true,
     false},
    {PC::KeyboardKeys, "kb_key_profile_combo", "kb_key_profile_link_check", "kb_key_profile_link_btn", "",
     "kb_key_profile_link_edit", "kb_key_profile_link_name_hor", true, true, true},
    {PC::PadLighting, "mp_deng_profile_combo", "mp_deng_profile_link_check", "mp_deng_profile_link_btn", "",
     "mp_deng_profile_link_edit", "mp_deng_profile_link_name_hor", false, false, false},
}};

ProfileIndex indexOf(ProfileCategory category) {
    return ProfileIndex::forCategory(category);
}

} // namespace

const LinkControls& linkControls(ProfileCategory category) {
    return kLinkControls[static_cast<std::size_t>(category)];
}

std::string linkFileName(std::string_view path) {
    const auto slash = path.find_last_of('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool hasFolderSeparator(std::string_view path) {
    return path.find('/') != std::string_view::npos;
}

bool sameExecutable(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

std::vector<LinkedPosition> linkedPositions(const ProfileIndex& index) {
    const int count = index.count();
    const int n = std::min(count, static_cast<int>(std::min<std::size_t>(index.namesPresent(), 1u << 20)));
    std::vector<LinkedPosition> out;
    for (int i = 0; i < n; ++i)
        if (parseIndexNumber(index.linkFlag(i)) == 1) out.push_back({i, index.linkPath(i)});
    return out;
}

int firstLinkFor(const std::vector<LinkedPosition>& links, std::string_view executable, int listSize) {
    for (const LinkedPosition& link : links)
        if (link.position < listSize && sameExecutable(link.path, executable)) return link.position;
    return -1;
}

std::vector<LinkedPosition> categoryLinks(ProfileCategory category) {
    return linkedPositions(indexOf(category));
}

ApplicationLinks::ApplicationLinks(PageContext& context, const platform::ForegroundApplication& foreground,
                                   LinksChanged linksChanged)
    : ctx_(context), linksChanged_(std::move(linksChanged)) {
    running_ = [] {
        std::vector<std::pair<std::string, std::string>> out;
        for (auto& app : platform::runningApplications()) out.emplace_back(app.name, app.path);
        return out;
    };
    for (const LinkControls& c : kLinkControls) {
        const ProfileCategory category = c.category;
        // The navigation passes the check's change on once its own guards have let it through.
        ctx_.dispatcher.on(ui::kSelectChangedAfterNavigation, c.check,
                           [this, category](const ui::Notification&) { checkChanged(category); });
        ctx_.dispatcher.on(ui::notify::kClick, c.button,
                           [this, category](const ui::Notification&) { linkButton(category); });
        if (!c.cancel.empty())
            ctx_.dispatcher.on(ui::notify::kClick, c.cancel,
                               [this, category](const ui::Notification&) { cancelButton(category); });
        // Links are kept and can be made anywhere, but only an X11 session tells which application is
        // in front: the check says so.
        if (!foreground.available())
            ctx_.page.whenBuilt(
                c.check, [this, check = c.check] { ctx_.page.find(check).setToolTipId(kNoForegroundTipId); });
    }
}

void ApplicationLinks::checkChanged(ProfileCategory category) {
    const LinkControls& c = linkControls(category);
    const int p = ctx_.page.list(c.list).current();
    if (p < 0) return;
    ui::Option check = ctx_.page.option(c.check);
    ui::Edit edit = ctx_.page.edit(c.edit);
    ui::Control row = ctx_.page.find(c.row);
    if (!check.selected()) {
        // Cleared by the user (or by one of the steps below): the position loses its link.
        check.setSelected(false, ui::Notify::Yes);
        edit.setText(std::string(kNoPath));
        row.setVisible(c.rowWhenCleared);
        writeUnlinked(c, p);
        return;
    }
    const std::optional<std::string> path = chooseExecutable();
    if (!path) {
        check.setSelected(false, ui::Notify::Yes);
        edit.setText(std::string(kNoPath));
        row.setVisible(c.rowWhenCancelled);
        writeUnlinked(c, p);
        return;
    }
    if (alreadyLinked(c, *path)) {
        ctx_.messages.showMessage(kDuplicateLinkMessage);
        showStoredLink(c, p);
        return;
    }
    if (!hasFolderSeparator(*path)) {
        check.setSelected(false, ui::Notify::Yes);
        edit.setText(std::string(kNoPath));
        row.setVisible(c.rowWhenNoSeparator);
        writeUnlinked(c, p);
        return;
    }
    link(c, p, *path);
}

void ApplicationLinks::linkButton(ProfileCategory category) {
    const LinkControls& c = linkControls(category);
    const int p = ctx_.page.list(c.list).current();
    if (p < 0) return;
    const std::optional<std::string> path = chooseExecutable();
    if (!path) return;
    // Only the mouse device button refuses a path another position holds; the other buttons let two
    // positions share one, and then the first in list order is the one that follows the application.
    if (category == ProfileCategory::MouseDevice && alreadyLinked(c, *path)) {
        ctx_.messages.showMessage(kDuplicateLinkMessage);
        showStoredLink(c, p);
        return;
    }
    if (!hasFolderSeparator(*path)) return;
    link(c, p, *path);
}

void ApplicationLinks::cancelButton(ProfileCategory category) {
    const LinkControls& c = linkControls(category);
    const int p = ctx_.page.list(c.list).current();
    // Without an active entry there is no position whose keys could be written.
    if (p < 0) return;
    ctx_.page.option(c.check).setSelected(false, ui::Notify::Yes);
    ctx_.page.edit(c.edit).setText(std::string(kNoPath));
    ctx_.page.find(c.row).setVisible(true);
    writeUnlinked(c, p);
}

std::optional<std::string> ApplicationLinks::chooseExecutable() {
    ui::FileDialogRequest request;
    request.folder = std::string(kChooserFolder);
    request.executablesOnly = true;
    request.choicesTitleId = std::string(kRunningApplicationsTextId);
    if (running_)
        for (auto& [name, path] : running_()) request.choices.push_back({std::move(name), std::move(path)});
    return ctx_.fileDialogs.openFile(request);
}

void ApplicationLinks::link(const LinkControls& c, int p, const std::string& path) {
    ctx_.page.edit(c.edit).setText(linkFileName(path));
    const ProfileIndex index = indexOf(c.category);
    index.setLinkFlag(p, kLinked);
    index.setLinkPath(p, path);
    ctx_.page.option(c.check).setSelected(true, ui::Notify::No);
    ctx_.page.find(c.row).setVisible(true);
    changed(c.category);
}

void ApplicationLinks::writeUnlinked(const LinkControls& c, int p) {
    const ProfileIndex index = indexOf(c.category);
    index.setLinkFlag(p, kUnlinked);
    index.setLinkPath(p, kNoPath);
    changed(c.category);
}

bool ApplicationLinks::alreadyLinked(const LinkControls& c, const std::string& path) const {
    const auto links = linkedPositions(indexOf(c.category));
    return firstLinkFor(links, path, ctx_.page.list(c.list).count()) >= 0;
}

void ApplicationLinks::showStoredLink(const LinkControls& c, int p) {
    const ProfileIndex index = indexOf(c.category);
    const bool linked = parseIndexNumber(index.linkFlag(p)) != 0 && hasFolderSeparator(index.linkPath(p));
    ctx_.page.option(c.check).setSelected(linked, ui::Notify::No);
}

void ApplicationLinks::changed(ProfileCategory category) {
    if (linksChanged_) linksChanged_(category);
}

} // namespace zq::profiles::pages
