#include "profiles/pages/profile_pages.h"

#include "profiles/mouse_lists.h"
#include "profiles/pages/profile_controls.h"
#include "profiles/pages/profile_list_view.h"
#include "profiles/profile_index.h"
#include "ui/message_presenter.h"
#include "ui/page.h"

namespace zq::profiles::pages {

ProfilePages::ProfilePages(PageContext& context, settings::pages::SettingsPages& settings)
    : ctx_(context), settings_(settings), selection_(context, settings), operations_(context, selection_) {
    selection_.registerHandlers();
    operations_.registerHandlers();
}

void ProfilePages::start() {
    for (platform::DeviceFolder folder :
         {platform::DeviceFolder::Mouse, platform::DeviceFolder::Keyboard, platform::DeviceFolder::Pad}) {
        const DeviceLists built = buildDeviceLists(folder);
        // Each list is filled when its page is first built (at once for those built already). Whatever
        // changes a list goes through it, which builds the page first, so what is read now is what the
        // list shows then.
        for (std::size_t l = 0; l < built.categories.size(); ++l) {
            const ProfileCategory category = built.categories[l];
            const std::string_view control = categoryInfo(category).listControl;
            std::vector<std::string>& names = namesBeforeBuilt_[category];
            names.clear();
            for (const ListEntry& e : built.lists[l]) names.push_back(e.storedName);
            ctx_.page.whenBuilt(control, [this, control, entries = built.lists[l]] {
                ui::ListLike list = ctx_.page.list(control);
                fillList(list, entries);
            });
        }
        for (const std::string& message : built.messages) ctx_.messages.showMessage(message);
        // The mouse's button editor opens only once a button is chosen.
        if (folder == platform::DeviceFolder::Mouse && built.complete)
            ctx_.page.whenBuilt("ms_tab_function",
                                [this] { ctx_.page.find("ms_tab_function").setEnabled(false); });
    }
}

void ProfilePages::save(unsigned storedProfiles) {
    for (std::size_t bit = 0; bit < kProfileCategoryCount; ++bit)
        if (storedProfiles & (1u << bit)) selection_.saveSelectedProfile(static_cast<ProfileCategory>(bit));
}

CategoryStatus ProfilePages::status(ProfileCategory category) const {
    const std::string_view control = categoryInfo(category).listControl;
    if (!ctx_.page.built(control)) {
        const auto names = namesBeforeBuilt_.find(category);
        return {names == namesBeforeBuilt_.end() ? std::vector<std::string>() : names->second, -1,
                ProfileIndex::forCategory(category).select()};
    }
    const ui::ListLike list = ctx_.page.list(control);
    return {storedNames(list), list.current(), ProfileIndex::forCategory(category).select()};
}

void ProfilePages::select(ProfileCategory category, int position) {
    ctx_.page.list(categoryInfo(category).listControl).select(position, ui::Notify::Yes);
}

} // namespace zq::profiles::pages
