#include "profiles/pages/list_operations.h"

#include "platform/data_folders.h"
#include "platform/debug.h"
#include "profiles/mouse_lists.h"
#include "profiles/pages/profile_controls.h"
#include "profiles/pages/profile_list_view.h"
#include "profiles/pages/profile_selection.h"
#include "profiles/profile_file.h"
#include "profiles/profile_index.h"
#include "profiles/profile_name.h"
#include "settings/pages/settings_pages.h"
#include "ui/dispatcher.h"
#include "ui/file_dialogs.h"
#include "ui/message_presenter.h"
#include "ui/page.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>
#include <vector>

namespace zq::profiles::pages {

namespace fs = std::filesystem;
using device::DeviceClass;

namespace {

constexpr std::string_view kDeleteRefused = "message_text_11";
constexpr std::string_view kConfirmDelete = "message_text_12";
constexpr std::string_view kNameEmpty = "message_text_14";
constexpr std::string_view kNameTaken = "message_text_15";

// The reset of the mouse lighting and pad lighting lists reads only the record's first 56 bytes: the
// rest of the live record stays.
constexpr std::size_t kLightingResetBytes = 56;

// The buttons that show their panel when it is hidden and hide it when it shows.
constexpr std::array<std::pair<std::string_view, std::string_view>, 8> kPanelToggles{{
    {"ms_pro_deng_edit_btn", "ms_deng_profile_edit"},
    {"ms_pro_key_edit_btn", "ms_key_profile_edit"},
    {"kb_pro_deng_edit_btn", "kb_deng_profile_edit"},
    {"kb_pro_key_edit_btn", "kb_key_profile_edit"},
    {"mp_pro_deng_edit_btn", "mp_deng_profile_edit"},
    {"ms_profile_fun_spread_btn", "ms_profile_fun_spead_tab"},
    {"kb_profile_fun_spread_btn", "kb_profile_fun_spead_tab"},
    {"mp_profile_fun_spread_btn", "mp_profile_fun_spead_tab"},
}};

std::string_view readMessage(ProfileReadResult result) {
    return result == ProfileReadResult::BadMagic ? kDefaultBadMagicMessage : kDefaultMissingMessage;
}

fs::path folderOf(ProfileCategory category) {
    return platform::categoryFolder(categoryInfo(category).folder);
}

// The file of a stored name, or empty for a name that could not be a file name in the folder (an index
// edited by hand): nothing is read, written or deleted through it.
fs::path fileOf(ProfileCategory category, const std::string& name) {
    const auto& info = categoryInfo(category);
    if (checkProfileName(name, info.extension) != NameProblem::None) return {};
    return folderOf(category) / (name + std::string(info.extension));
}

void removeFile(const fs::path& file) {
    if (file.empty()) return;
    std::error_code ignored;
    fs::remove(platform::resolveCaseInsensitive(file), ignored);
}

ui::FileDialogRequest dialogRequest(ProfileCategory category) {
    const std::string extension(categoryInfo(category).extension.substr(1)); // without the dot
    ui::FileDialogRequest request;
    request.filter = "(*." + extension + ") | *." + extension + " ||";
    request.defaultExtension = extension;
    request.initialName = "*." + extension;
    return request;
}

} // namespace

ListOperations::ListOperations(PageContext& context, ProfileSelection& selection)
    : ctx_(context), selection_(selection) {}

void ListOperations::registerHandlers() {
    ui::Dispatcher& d = ctx_.dispatcher;
    for (ProfileCategory category : kAllCategories) {
        const CategoryControls c = controlsOf(category);
        const auto on = [&d, category, this](const std::string& name,
                                             void (ListOperations::*op)(ProfileCategory)) {
            d.on(ui::notify::kClick, name,
                 [this, category, op](const ui::Notification&) { (this->*op)(category); });
        };
        on(c.add, &ListOperations::addProfile);
        on(c.remove, &ListOperations::deleteProfile);
        on(c.copy, &ListOperations::copyProfile);
        on(c.importFile, &ListOperations::importProfile);
        on(c.exportFile, &ListOperations::exportProfile);
        on(c.saveName, &ListOperations::renameProfile);
        // The mouse page resets its own two profiles (device and lighting) with its page state.
        if (category != ProfileCategory::MouseDevice && category != ProfileCategory::MouseLighting)
            on(c.reset, &ListOperations::resetProfile);
    }
    for (const auto& [button, panel] : kPanelToggles) {
        d.on(ui::notify::kClick, button, [this, panel = std::string(panel)](const ui::Notification&) {
            ui::Control p = ctx_.page.find(panel);
            p.setVisible(!p.isVisible());
        });
    }
}

void ListOperations::reselect(ProfileCategory category, int position) {
    ui::ListLike list = ctx_.page.list(controlsOf(category).list);
    list.select(-1, ui::Notify::No);
    list.select(position, ui::Notify::Yes);
    // Lists whose selection does not load still show the link of their new entry.
    if (!selectionLoads(category) && list.current() >= 0) selection_.showLink(category, list.current());
}

bool ListOperations::add(ProfileCategory category) {
    const auto& info = categoryInfo(category);
    ui::ListLike list = ctx_.page.list(controlsOf(category).list);

    // A name neither shown nor stored in the list: both would reach the same file.
    int n = category == ProfileCategory::MouseDevice ? 4 : 1;
    std::string name = "profile" + std::to_string(n);
    while (listHoldsName(list, name)) name = "profile" + std::to_string(++n);

    std::vector<std::uint8_t> payload(info.payloadSize);
    const fs::path defaults = platform::applicationFolder() / defaultFileFor(category, 2);
    if (const ProfileReadResult r = readProfileFile(defaults, payload); r != ProfileReadResult::Ok) {
        ctx_.messages.showMessage(readMessage(r));
        return false;
    }
    const fs::path file = fileOf(category, name);
    removeFile(file);
    if (!writeProfileFile(file, info.deviceType, payload)) {
        ctx_.messages.showMessage(kWriteFailedMessage);
        return false;
    }

    const int position = list.count();
    appendEntry(list, makeListEntry(category, position, name));
    const ProfileIndex index = ProfileIndex::forCategory(category);
    index.setCount(list.count());
    index.setName(position, name);
    index.setLinkFlag(position, "0");
    if (category == ProfileCategory::KeyboardDevice || category == ProfileCategory::KeyboardLighting)
        applyPayload(category, ctx_.state, payload, selection_.hostValues());
    reselect(category, position);
    return true;
}

void ListOperations::addProfile(ProfileCategory category) {
    add(category);
}

void ListOperations::deleteProfile(ProfileCategory category) {
    ui::ListLike list = ctx_.page.list(controlsOf(category).list);
    const int p = list.current();
    if (p < 0) return;
    const bool refused = category == ProfileCategory::MouseDevice ? p <= 2 : list.count() <= 1;
    if (refused) {
        ctx_.messages.showMessage(kDeleteRefused);
        return;
    }
    if (ctx_.messages.ask(kConfirmDelete) != 1) return;

    removeFile(fileOf(category, storedName(list, p)));
    list.remove(p);
    const int n = list.count();
    const ProfileIndex index = ProfileIndex::forCategory(category);
    index.setCount(n);
    for (int i = 0; i < n; ++i) index.setName(i, storedName(list, i));
    // The entries after the deleted one move up with their links; the old last position's keys stay.
    for (int i = p; i < n; ++i) {
        index.setLinkFlag(i, index.linkFlag(i + 1));
        index.setLinkPath(i, index.linkPath(i + 1));
    }
    if (linksMoved) linksMoved(category);

    const bool deviceList =
        category == ProfileCategory::MouseDevice || category == ProfileCategory::KeyboardDevice;
    const int target = deviceList ? std::min(p, n - 1) : n - 1;
    // The saved selection keeps naming the profile it named; a deleted one hands over to the new entry.
    // (The lists whose selection loads write it again when the target is selected.)
    if (const int saved = index.select(); saved > p)
        index.setSelect(saved - 1);
    else if (saved == p)
        index.setSelect(target);

    if (deviceList) {
        std::vector<ListEntry> entries;
        for (int i = 0; i < n; ++i) entries.push_back(makeListEntry(category, i, index.name(i)));
        fillList(list, entries);
    }
    reselect(category, target);
}

void ListOperations::copyProfile(ProfileCategory category) {
    const auto& info = categoryInfo(category);
    ui::ListLike list = ctx_.page.list(controlsOf(category).list);
    const int p = list.current();
    if (p < 0) return;
    const std::string source = storedName(list, p);
    std::string name = source + " copy";
    while (listHoldsName(list, name)) {
        platform::debugString(name);
        name += " copy";
    }
    if (checkProfileName(name, info.extension) != NameProblem::None) {
        ctx_.messages.showMessage(kNameNotUsableMessage);
        return;
    }
    if (!copyProfileFile(category, fileOf(category, source), fileOf(category, name))) return;
    const int position = list.count();
    appendEntry(list, makeListEntry(category, position, name));
    const ProfileIndex index = ProfileIndex::forCategory(category);
    index.setCount(list.count());
    index.setName(position, name);
    // A copy is not linked, whatever link an earlier, longer list left at its position.
    index.setLinkFlag(position, "0");
    reselect(category, position);
}

void ListOperations::importProfile(ProfileCategory category) {
    const auto& info = categoryInfo(category);
    ui::ListLike list = ctx_.page.list(controlsOf(category).list);
    if (list.current() < 0) return;
    const std::optional<std::string> chosen = ctx_.fileDialogs.openFile(dialogRequest(category));
    if (!chosen) return;
    // The chosen file is read before anything changes: a file that is no profile adds no entry.
    std::vector<std::uint8_t> payload(info.payloadSize);
    if (const ProfileReadResult r = readProfileFile(*chosen, payload); r != ProfileReadResult::Ok) {
        ctx_.messages.showMessage(readMessage(r));
        return;
    }
    if (category == ProfileCategory::MouseDevice || category == ProfileCategory::KeyboardDevice) {
        if (!add(category)) return;
    }
    const int r = list.current();
    if (r < 0) return;
    const fs::path file = fileOf(category, storedName(list, r));
    if (file.empty() || !writeProfileFile(file, info.deviceType, payload)) {
        ctx_.messages.showMessage(kWriteFailedMessage);
        return;
    }
    reselect(category, r);
}

void ListOperations::exportProfile(ProfileCategory category) {
    const auto& info = categoryInfo(category);
    ui::ListLike list = ctx_.page.list(controlsOf(category).list);
    const int p = list.current();
    if (p < 0) return;
    const std::optional<std::string> chosen = ctx_.fileDialogs.saveFile(dialogRequest(category));
    if (!chosen) return;
    copyProfileFile(category, fileOf(category, storedName(list, p)),
                    ui::withDefaultExtension(*chosen, info.extension.substr(1)));
}

void ListOperations::resetProfile(ProfileCategory category) {
    const auto& info = categoryInfo(category);
    const bool shortRecord =
        category == ProfileCategory::MouseLighting || category == ProfileCategory::PadLighting;
    std::vector<std::uint8_t> payload(shortRecord ? kLightingResetBytes : info.payloadSize);
    int position = 0;
    if (category == ProfileCategory::MouseDevice)
        position = ctx_.page.list(controlsOf(category).list).current();
    const fs::path defaults = platform::applicationFolder() / defaultFileFor(category, position);
    if (const ProfileReadResult r = readProfileFile(defaults, payload); r != ProfileReadResult::Ok) {
        ctx_.messages.showMessage(readMessage(r));
        return;
    }
    applyPayload(category, ctx_.state, payload, selection_.hostValues());
    selection_.saveSelectedProfile(category);
    applyReset(category);
}

void ListOperations::applyReset(ProfileCategory category) {
    if (category == ProfileCategory::MouseKeys) {
        selection_.settingsPages().mouse.refresh();
        // Written as it is: the mouse's key table for slot 0.
        selection_.writeKeyTable(DeviceClass::Mouse, ctx_.state.mouse.keyPages[0]);
        return;
    }
    // The others as after a selection: pages refreshed, dirty flag, key table sent where they hold one.
    selection_.applyAndUpdate(category, 0);
}

void ListOperations::renameProfile(ProfileCategory category) {
    const auto& info = categoryInfo(category);
    const CategoryControls c = controlsOf(category);
    ui::ListLike list = ctx_.page.list(c.list);
    const int p = list.current();
    if (p < 0) return;
    const std::string name = ctx_.page.edit(c.nameEdit).text();
    if (name.empty()) {
        ctx_.messages.showMessage(kNameEmpty);
        return;
    }
    if (category == ProfileCategory::MouseDevice) {
        for (const char* builtIn : {"profile1", "profile2", "profile3"})
            if (equalsIgnoringCase(name, builtIn)) return;
    }
    if (listHoldsName(list, name)) {
        ctx_.messages.showMessage(kNameTaken);
        return;
    }
    if (checkProfileName(name, info.extension) != NameProblem::None) {
        ctx_.messages.showMessage(kNameNotUsableMessage);
        return;
    }
    // The new file is made from the old one before the index names it, so no step leaves a name
    // without its file.
    const std::string old = storedName(list, p);
    const fs::path oldFile = fileOf(category, old);
    if (!copyProfileFile(category, oldFile, fileOf(category, name))) return;
    const ProfileIndex index = ProfileIndex::forCategory(category);
    index.setCount(list.count());
    index.setName(p, name);
    removeFile(oldFile);

    list.setItemData(p, name);
    // The mouse device list's layout entries keep showing their layout; the others show the new name.
    if (list.itemTextId(p).empty()) list.setItemText(p, name);
    ctx_.page.edit(c.nameEdit).setText(name);
}

bool ListOperations::copyProfileFile(ProfileCategory category, const fs::path& from, const fs::path& to) {
    const auto& info = categoryInfo(category);
    std::vector<std::uint8_t> payload(info.payloadSize);
    const ProfileReadResult r = from.empty() ? ProfileReadResult::Missing : readProfileFile(from, payload);
    if (r != ProfileReadResult::Ok) {
        ctx_.messages.showMessage(readMessage(r));
        return false;
    }
    if (to.empty() || !writeProfileFile(to, info.deviceType, payload)) {
        ctx_.messages.showMessage(kWriteFailedMessage);
        return false;
    }
    return true;
}

} // namespace zq::profiles::pages
