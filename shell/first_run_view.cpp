#include "shell/first_run_view.h"

#include "defaults/default_files.h"
#include "defaults/factory_settings.h"
#include "lighting/keyboard_effects.h"
#include "lighting/mouse_effects.h"
#include "lighting/pad_effects.h"
#include "profiles/mouse_lists.h"
#include "profiles/pages/profile_controls.h"
#include "shell/led_preview.h"
#include "ui/page.h"
#include "ui/skin.h"

#include <array>
#include <chrono>
#include <utility>

namespace zq::shell {

namespace {

namespace fs = std::filesystem;

// The list control of each mouse category, in the order of kMouseListCategories.
constexpr std::array<const char*, 3> kMouseListControls{"ms_device_profile_combo", "ms_deng_profile_combo",
                                                        "ms_key_profile_combo"};

std::string entryText(const ui::Skin& skin, const profiles::ListEntry& entry) {
    return entry.displayTextId.empty() ? entry.displayText : skin.text(entry.displayTextId);
}

} // namespace

void showFactoryLights(const ui::Page& page, int turns) {
    // The effects only look at the time for reactive flashes and pauses; a fixed step is enough here.
    const auto step = std::chrono::milliseconds(20);
    platform::Clock::TimePoint now{};

    lighting::MouseEffectState mouseState;
    lighting::LedFrame mouseFrame;
    lighting::MouseTurn mouseTurn;
    mouseTurn.lighting = defaults::factoryMouseRecord(0).lighting();
    mouseTurn.dpiLevel = defaults::kFactoryDpiLevel;
    lighting::PadEffectState padState;
    lighting::LedFrame padFrame;
    lighting::PadTurn padTurn;
    padTurn.lighting = defaults::factoryPadRecord().lighting();

    const settings::KeyboardLightingPayload keyboard = defaults::factoryKeyboardLighting();
    std::array<std::uint8_t, lighting::kKeyboardFrameSize> customMap{};
    const std::size_t map = keyboard.selectedCustomMap();
    for (std::size_t key = 0; key < lighting::kKeyCount; ++key) {
        const settings::Rgb c = keyboard.customColour(map, key);
        customMap[3 * key] = c.r;
        customMap[3 * key + 1] = c.g;
        customMap[3 * key + 2] = c.b;
    }
    lighting::KeyboardTurn keyTurn{keyboard.record().lighting(), customMap, {}};
    lighting::KeyboardEffectState keyState;
    lighting::resetKeyboardState(keyState, keyTurn.lighting.mode());
    lighting::KeyLightState keys{};

    for (int i = 0; i < std::max(turns, 1); ++i) {
        now += step;
        mouseTurn.now = now;
        padTurn.now = now;
        lighting::renderMouse(mouseTurn, mouseState, mouseFrame);
        lighting::renderPad(padTurn, padState, padFrame);
        lighting::renderKeyboard(keyTurn, keyState, keys);
    }
    lighting::KeyboardFrame keyFrame;
    lighting::packKeyboardFrame(keys, false, keyFrame);

    showPreview(page, lighting::LightDevice::Mouse, mouseFrame.preview);
    showPreview(page, lighting::LightDevice::Pad, std::span(padFrame.preview).first(lighting::kPadLeds));
    showPreview(page, lighting::LightDevice::Keyboard, keyFrame.preview);
}

std::vector<std::string> showFirstRunState(const ui::Page& main, const ui::Skin& skin,
                                           const fs::path& scratch) {
    std::vector<std::string> problems;
    const fs::path application = scratch / "application";
    const fs::path mouseFolder = scratch / "data" / "ms";
    std::error_code ec;
    fs::create_directories(mouseFolder, ec);
    if (ec) problems.push_back("cannot create " + mouseFolder.string() + ": " + ec.message());
    for (const std::string& file : defaults::writeDefaultFiles(application))
        problems.push_back("cannot write the default file " + file);

    const profiles::MouseLists lists = profiles::buildMouseLists({mouseFolder, application});
    for (const std::string& message : lists.messages) problems.push_back("first run: " + skin.text(message));
    for (std::size_t c = 0; c < kMouseListControls.size(); ++c) {
        ui::ListLike list = main.list(kMouseListControls[c]);
        list.clear();
        for (const profiles::ListEntry& entry : lists.lists[c]) {
            const int row = list.add(entryText(skin, entry), entry.storedName);
            list.setRowHeight(row, entry.height);
        }
        list.select(0, ui::Notify::No);
    }
    if (!lists.lists[0].empty())
        main.edit("ms_device_profile_name_edit").setText(entryText(skin, lists.lists[0].front()));

    // The keyboard's and the pad's lists, first run from their default files as well.
    for (auto [device, folder] :
         {std::pair{platform::DeviceFolder::Keyboard, "kb"}, std::pair{platform::DeviceFolder::Pad, "mp"}}) {
        const fs::path data = scratch / "data" / folder;
        fs::create_directories(data, ec);
        const profiles::DeviceLists built = profiles::buildDeviceLists(device, {data, application});
        for (const std::string& message : built.messages)
            problems.push_back("first run: " + skin.text(message));
        for (std::size_t c = 0; c < built.categories.size(); ++c) {
            const profiles::pages::CategoryControls controls =
                profiles::pages::controlsOf(built.categories[c]);
            ui::ListLike list = main.list(controls.list);
            list.clear();
            for (const profiles::ListEntry& entry : built.lists[c]) {
                const int row = list.add(entryText(skin, entry), entry.storedName);
                list.setRowHeight(row, entry.height);
            }
            list.select(0, ui::Notify::No);
            if (!built.lists[c].empty() && !controls.nameEdit.empty())
                main.edit(controls.nameEdit).setText(entryText(skin, built.lists[c].front()));
        }
    }

    showFactoryLights(main);
    return problems;
}

} // namespace zq::shell
