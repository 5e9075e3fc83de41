#include "profiles/pages/profile_selection.h"

#include "device/commands.h"
#include "platform/data_folders.h"
#include "platform/debug.h"
#include "platform/host_mouse_settings.h"
#include "profiles/pages/profile_controls.h"
#include "profiles/pages/profile_list_view.h"
#include "profiles/profile_index.h"
#include "profiles/profile_name.h"
#include "settings/pages/settings_pages.h"
#include "ui/dispatcher.h"
#include "ui/page.h"

#include <memory>
#include <vector>

namespace zq::profiles::pages {

using device::DeviceClass;

namespace {

// Paths here use '/' where the stored link paths of other systems use a backslash.
constexpr char kSeparator = '/';

// The file of a profile name in its category's folder, or empty when the name (from a hand-edited index)
// could not be a file name there: it would leave the folder or not be a file at all.
std::filesystem::path profileFile(ProfileCategory category, const std::string& name) {
    const auto& info = categoryInfo(category);
    if (checkProfileName(name, info.extension) != NameProblem::None) {
        platform::debugString("profile name not usable as a file name: " + name);
        return {};
    }
    return platform::categoryFolder(info.folder) / (name + std::string(info.extension));
}

} // namespace

ProfileSelection::ProfileSelection(PageContext& context, settings::pages::SettingsPages& settings)
    : ctx_(context), settings_(settings) {}

void ProfileSelection::registerHandlers() {
    for (ProfileCategory category : kAllCategories) {
        if (!selectionLoads(category)) continue;
        ctx_.dispatcher.on(ui::notify::kItemSelect, categoryInfo(category).listControl,
                           [this, category](const ui::Notification&) { selectProfile(category); });
    }
}

void ProfileSelection::selectProfile(ProfileCategory category) {
    const CategoryControls names = controlsOf(category);
    ui::ListLike list = ctx_.page.list(names.list);
    const int p = list.current();
    if (p < 0) return;
    // The mouse device list's first three entries show the layout they stand for.
    ctx_.page.edit(names.nameEdit)
        .setText(category == ProfileCategory::MouseDevice ? displayText(list, p) : storedName(list, p));
    ProfileIndex::forCategory(category).setSelect(p);
    showLink(category, p);
    loadProfileAt(category, p);
    applyAndUpdate(category, p);
}

void ProfileSelection::showLink(ProfileCategory category, int position) {
    const CategoryControls names = controlsOf(category);
    const ProfileIndex index = ProfileIndex::forCategory(category);
    ui::Option check = ctx_.page.option(names.linkCheck);
    if (parseIndexNumber(index.linkFlag(position)) != 0) {
        const std::string path = index.linkPath(position);
        const auto slash = path.rfind(kSeparator);
        if (slash != std::string::npos) {
            ctx_.page.edit(names.linkEdit).setText(path.substr(slash + 1));
            check.setSelected(true, ui::Notify::No);
            ctx_.page.find(names.linkRow).setVisible(true);
            return;
        }
        // A flag without a usable path (an index edited by hand) links nothing: the profile is shown as
        // unlinked and still loaded, rather than chosen and silently not applied.
        platform::debugString("profile link without a path: " + path);
        check.setSelected(false, ui::Notify::No);
        return;
    }
    check.setSelected(false, ui::Notify::Yes);
}

ProfileReadResult ProfileSelection::loadProfileAt(ProfileCategory category, int position) {
    const auto& info = categoryInfo(category);
    const std::filesystem::path file =
        profileFile(category, ProfileIndex::forCategory(category).name(position));
    std::vector<std::uint8_t> payload(info.payloadSize);
    const ProfileReadResult result =
        file.empty() ? ProfileReadResult::Missing : readProfileFile(file, payload);
    if (result == ProfileReadResult::Missing) {
        platform::debugString(kProfileMissing);
        return result;
    }
    if (result == ProfileReadResult::BadMagic) {
        platform::debugString(kProfileBadFormat);
        return result;
    }
    applyPayload(category, ctx_.state, payload, hostValues());
    return result;
}

void ProfileSelection::saveSelectedProfile(ProfileCategory category) {
    const auto& info = categoryInfo(category);
    const ProfileIndex index = ProfileIndex::forCategory(category);
    const std::filesystem::path file = profileFile(category, index.name(index.select()));
    if (file.empty()) return;
    writeProfileFile(file, info.deviceType, assemblePayload(category, ctx_.state));
}

void ProfileSelection::applyAndUpdate(ProfileCategory category, int position) {
    device::AppState& state = ctx_.state;
    switch (category) {
    case ProfileCategory::MouseDevice:
        settings_.mouse.selectDeviceProfile(position);
        lightingTaken(DeviceClass::Mouse);
        break;
    case ProfileCategory::KeyboardDevice:
        settings_.lighting.refresh(DeviceClass::Keyboard);
        state.markDirty(DeviceClass::Keyboard);
        lightingTaken(DeviceClass::Keyboard);
        settings_.keyboardKeys.refresh();
        writeKeyTable(DeviceClass::Keyboard, state.keyboard.keyPages[0]);
        break;
    case ProfileCategory::KeyboardLighting:
        settings_.lighting.refresh(DeviceClass::Keyboard);
        state.markDirty(DeviceClass::Keyboard);
        lightingTaken(DeviceClass::Keyboard);
        break;
    case ProfileCategory::KeyboardKeys: {
        ui::Control function = ctx_.page.find("kb_tab_function");
        if (function.isVisible()) {
            function.setVisible(true);
            function.setEnabled(false);
        }
        settings_.keyboardKeys.refresh();
        writeKeyTable(DeviceClass::Keyboard, state.keyboard.keyPages[0]);
        break;
    }
    case ProfileCategory::PadLighting:
        settings_.lighting.refresh(DeviceClass::Pad);
        state.markDirty(DeviceClass::Pad);
        lightingTaken(DeviceClass::Pad);
        break;
    case ProfileCategory::MouseLighting:
    case ProfileCategory::MouseKeys:
        break;
    }
}

void ProfileSelection::writeKeyTable(DeviceClass device,
                                     const std::array<std::uint8_t, device::kKeyPageBytes>& page) {
    if (!ctx_.runOnDevice) return;
    auto copy = std::make_shared<const std::array<std::uint8_t, device::kKeyPageBytes>>(page);
    ctx_.runOnDevice(device,
                     [copy](device::DeviceLink& link, device::DeviceState&, platform::Event&) {
                         device::WriteKeyBlockPage(link, *copy, 0);
                         return device::SyncResult{};
                     },
                     {});
}

void ProfileSelection::lightingTaken(DeviceClass device) {
    ctx_.state.lightingChanged(device, device::LightingChange::Settings);
    ctx_.state.lightingChanged(device, device::LightingChange::EffectReset);
    if (device == DeviceClass::Keyboard)
        ctx_.state.lightingChanged(device, device::LightingChange::CustomMaps);
}

HostMouseValues ProfileSelection::hostValues() const {
    return {ctx_.hostMouse.pointerSpeed(), ctx_.hostMouse.wheelScrollLines()};
}

} // namespace zq::profiles::pages
