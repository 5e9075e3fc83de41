#include "settings/pages/lighting_pages.h"

#include "device/sync.h"
#include "settings/compact_settings.h"
#include "settings/pages/lighting_custom_maps.h"
#include "settings/pages/lighting_edit_number.h"
#include "settings/preset_colours.h"
#include "ui/colour_picker.h"
#include "ui/dispatcher.h"
#include "ui/page.h"

#include <algorithm>
#include <array>

namespace zq::settings::pages {

using device::DeviceClass;

// One device's lighting page: its control prefix, where its mode combo sits, and the profile files a
// change of its lighting is stored in.
struct LightingPages::Target {
    DeviceClass device;
    std::string prefix; // "ms", "mp", "kb"
    LightModeCombo combo;
    std::string modeCombo;
    unsigned files;

    std::string name(std::string_view item) const { return prefix + std::string(item); }
};

namespace {

constexpr std::array<std::string_view, 3> kChannelEdits{"_Deng_edit_R", "_Deng_edit_G", "_Deng_edit_B"};
constexpr std::string_view kCustomMapCombo = "kb_deng_combo_curtom_count";
constexpr std::string_view kCustomColourShow = "kb_deng_custom_colour_show";
constexpr std::array<std::string_view, 3> kCustomLayouts{
    "kb_deng_custom_tool_layout", "kb_deng_custom_select_layout", "kb_deng_custom_color_layout"};
// The keyboard's custom mode: keys are painted from the maps instead of lit by an effect.
constexpr std::uint8_t kKeyboardCustomMode = 8;

std::uint8_t clampByte(int value, int highest) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, highest));
}

void setLayout(ui::Control c, Layout state, bool visibility) {
    if (state == Layout::Unchanged) return;
    if (visibility)
        c.setVisible(state == Layout::On);
    else
        c.setEnabled(state == Layout::On);
}

} // namespace

const LightingPages::Target& LightingPages::target(DeviceClass device) {
    static const Target mouse{DeviceClass::Mouse, "ms", LightModeCombo::MouseMain,
                              "ms_deng_combo_modeSelect0",
                              StoredProfile::MouseDevice | StoredProfile::MouseLighting};
    static const Target pad{DeviceClass::Pad, "mp", LightModeCombo::Pad, "mp_deng_combo_modeSelect",
                            static_cast<unsigned>(StoredProfile::PadLighting)};
    static const Target keyboard{DeviceClass::Keyboard, "kb", LightModeCombo::Keyboard,
                                 "kb_deng_combo_modeSelect",
                                 StoredProfile::KeyboardDevice | StoredProfile::KeyboardLighting};
    return device == DeviceClass::Mouse ? mouse : device == DeviceClass::Pad ? pad : keyboard;
}

LightingPages::LightingPages(PageContext& context) : ctx_(context) {
    ui::Dispatcher& d = ctx_.dispatcher;
    namespace n = ui::notify;
    for (DeviceClass each : device::kDeviceClasses) {
        const Target& t = target(each);
        d.on(n::kValueChanged, t.name("_deng_light_slider"),
             [this, &t](const ui::Notification& note) { onBrightness(t, static_cast<int>(note.wParam)); });
        d.on(n::kValueChanged, t.name("_deng_speed_slider"),
             [this, &t](const ui::Notification& note) { onSpeed(t, static_cast<int>(note.wParam)); });
        d.on(n::kColorChanged, t.name("_deng_Color_Pallet"), [this, &t](const ui::Notification&) {
            applyColour(t, ctx_.page.palette(t.name("_deng_Color_Pallet")).colour());
        });
        for (std::size_t channel = 0; channel < kChannelEdits.size(); ++channel)
            d.on(n::kTextChanged, t.name(kChannelEdits[channel]),
                 [this, &t, channel](const ui::Notification&) { onChannelEdit(t, channel); });
        d.on(n::kSelectChanged, t.name("_Deng_7color_check"),
             [this, &t](const ui::Notification&) { onSevenColour(t); });
        d.on(n::kSelectChanged, t.name("_Deng_FXL_check"),
             [this, &t](const ui::Notification&) { onDirectionCheck(t, true); });
        d.on(n::kSelectChanged, t.name("_Deng_FXR_check"),
             [this, &t](const ui::Notification&) { onDirectionCheck(t, false); });
        d.onFamily(n::kClick, t.name("_Deng_color_btn_"), [this, &t](const ui::Notification&, int index) {
            if (auto colour = presetColour(index)) applyColour(t, *colour);
        });
        d.on(n::kClick, t.name("_Deng_colordp_btn"), [this, &t](const ui::Notification&) { pickColour(t); });
        d.on(n::kClick, t.name("_deng_same_mode"), [this, &t](const ui::Notification&) { sameMode(t); });
    }
    const Target& mouse = target(DeviceClass::Mouse);
    const Target& pad = target(DeviceClass::Pad);
    const Target& keyboard = target(DeviceClass::Keyboard);
    d.on(n::kItemSelect, "ms_deng_combo_modeSelect0", [this, &mouse](const ui::Notification& note) {
        onMode(mouse, LightModeCombo::MouseMain, static_cast<int>(note.wParam));
    });
    d.on(n::kItemSelect, "ms_deng_combo_modeSelect1", [this, &mouse](const ui::Notification& note) {
        onMode(mouse, LightModeCombo::MouseAlternate, static_cast<int>(note.wParam));
    });
    // The third mouse combo: the main table's layouts, shown and hidden rather than enabled; choosing a
    // mode there hands the mouse back from the shared lighting.
    d.on(n::kItemSelect, "ms_deng_combo_modeSelect2", [this, &mouse](const ui::Notification& note) {
        ctx_.state.mouseLink.syncLighting = false;
        ctx_.state.mouseLink.stateChanges.notify();
        const int entry = static_cast<int>(note.wParam);
        showModeLayouts(mouse, LightModeCombo::MouseMain, entry, true);
        LightingSettings s = lighting(mouse);
        s.setMode(clampByte(entry, 255));
        ctx_.state.lightingChanged(DeviceClass::Mouse, device::LightingChange::EffectReset);
        changed(mouse, s);
    });
    d.on(n::kItemSelect, pad.modeCombo, [this, &pad](const ui::Notification& note) {
        onMode(pad, LightModeCombo::Pad, static_cast<int>(note.wParam));
    });
    d.on(n::kItemSelect, keyboard.modeCombo, [this, &keyboard](const ui::Notification& note) {
        onMode(keyboard, LightModeCombo::Keyboard, static_cast<int>(note.wParam));
    });
    d.on(n::kClick, "ms_Deng_FXL_btn", [this](const ui::Notification&) { onMouseDirectionButton(0); });
    d.on(n::kClick, "ms_Deng_FXR_btn", [this](const ui::Notification&) { onMouseDirectionButton(1); });

    // The keyboard's custom maps.
    d.on(n::kItemSelect, kCustomMapCombo,
         [this](const ui::Notification& note) { onCustomMapSelected(static_cast<int>(note.wParam)); });
    d.onFamily(n::kClick, "kb_dkey_", [this](const ui::Notification&, int key) { paintKeyboardKey(key); });
    d.on(ui::kSelectChangedAfterNavigation, "kb_Deng_all_bright_check",
         [this](const ui::Notification&) { onCustomFill(true); });
    d.on(ui::kSelectChangedAfterNavigation, "kb_Deng_all_kill_check",
         [this](const ui::Notification&) { onCustomFill(false); });
    d.on(n::kClick, kCustomColourShow, [this](const ui::Notification&) {
        if (auto picked = ctx_.colours.pick(toArgb(paint_))) setPaintColour(*picked);
    });
}

// ---- state -------------------------------------------------------------------------------------------

LightingSettings LightingPages::lighting(const Target& t) const {
    return LightingSettings::fromBlock(ctx_.state.state(t.device).current);
}

void LightingPages::store(const Target& t, const LightingSettings& s) {
    s.writeToBlock(ctx_.state.state(t.device).current);
}

// Every change: the block, the push within one tick, the device's files, and the lighting engine.
void LightingPages::changed(const Target& t, const LightingSettings& s) {
    store(t, s);
    ctx_.state.markDirty(t.device);
    ctx_.save(t.files);
    ctx_.state.lightingChanged(t.device);
}

bool LightingPages::customMode() const {
    return lighting(target(DeviceClass::Keyboard)).mode() == kKeyboardCustomMode;
}

// ---- modes -------------------------------------------------------------------------------------------

void LightingPages::showModeLayouts(const Target& t, LightModeCombo combo, int entry, bool visibility) {
    const LightModeLayout* row =
        entry < 0 ? nullptr : lightModeLayout(combo, static_cast<std::size_t>(entry));
    if (!row) return; // a mode past the table changes no layout
    ui::Page& page = ctx_.page;
    setLayout(page.find(t.name("_deng_fx_layout")), row->fx, visibility);
    setLayout(page.find(t.name("_deng_color_layout")), row->colour, visibility);
    setLayout(page.find(t.name("_deng_7colorselect_layout")), row->cycle, visibility);
    setLayout(page.find(t.name("_deng_speed_layout")), row->speed, visibility);
    setLayout(page.find(t.name("_deng_same_mode")), row->same, visibility);
    setLayout(page.find(t.name("_deng_Color_Pallet")), row->palette, visibility);
    if (combo == LightModeCombo::MouseMain) {
        // Only the DPI-indicator mode has no brightness; every other mode gives the slider back.
        const bool brightness = (row->extras & mode_extra::kBrightnessOff) == 0;
        ui::Control layout = page.find("ms_deng_light_layout");
        if (visibility)
            layout.setVisible(brightness);
        else
            layout.setEnabled(brightness);
    }
    if (row->extras & mode_extra::kShowFxAndSpeed) {
        setLayout(page.find(t.name("_deng_fx_layout")), row->fx, true);
        setLayout(page.find(t.name("_deng_speed_layout")), row->speed, true);
    }
    if (combo == LightModeCombo::Keyboard) keyboardModeLayouts(entry);
}

// The keyboard's steps around its table: the colour tools are given back first, the custom tools taken
// away, and the direction labels named for the mode; the custom mode turns this around.
void LightingPages::keyboardModeLayouts(int entry) {
    ui::Page& page = ctx_.page;
    const LightModeLayout* row =
        entry < 0 ? nullptr : lightModeLayout(LightModeCombo::Keyboard, static_cast<std::size_t>(entry));
    const bool custom = row && (row->extras & mode_extra::kCustomLayouts);
    page.find("kb_deng_fx_layout").setEnabled(!custom && (!row || row->fx != Layout::Off));
    page.find("kb_deng_7colorselect_layout").setEnabled(!custom && (!row || row->cycle != Layout::Off));
    for (std::string_view name : kCustomLayouts) page.find(name).setEnabled(custom);
    if (row) {
        page.find("kb_Deng_label_FXL").setTextId(row->directionFirst);
        page.find("kb_Deng_label_FXR").setTextId(row->directionSecond);
        page.find("kb_Deng_FXL_check").setTextId(row->directionFirst);
        page.find("kb_Deng_FXR_check").setTextId(row->directionSecond);
    }
    // The palette and the colour edits show what the mode edits: the paint colour in the custom mode,
    // the light colour otherwise.
    const Target& kb = target(DeviceClass::Keyboard);
    showColour(kb, custom ? paint_ : lighting(kb).colour());
    page.find(kCustomColourShow).setBkColor(toArgb(paint_));
}

void LightingPages::modeOperation(const Target& t, LightModeCombo combo, int entry, bool storeIt) {
    showModeLayouts(t, combo, entry, false);
    if (!storeIt) return;
    LightingSettings s = lighting(t);
    const LightModeLayout* row =
        entry < 0 ? nullptr : lightModeLayout(combo, static_cast<std::size_t>(entry));
    if (row && row->forceSevenColour) {
        s.setSevenColour(*row->forceSevenColour);
        ctx_.page.option(t.name("_Deng_7color_check")).setSelected(*row->forceSevenColour);
    }
    s.setMode(clampByte(entry, 255));
    if (t.device != DeviceClass::Mouse) {
        // The pad's and the keyboard's own mode takes the device back from the shared lighting.
        device::DeviceLink& link = ctx_.state.link(t.device);
        link.syncLighting = false;
        link.stateChanges.notify();
    }
    // A chosen mode starts its effect over.
    ctx_.state.state(t.device).current[compact_offset::kEffectState] = 0;
    ctx_.state.lightingChanged(t.device, device::LightingChange::EffectReset);
    changed(t, s);
}

void LightingPages::onMode(const Target& t, LightModeCombo combo, int entry) {
    if (entry < 0) return; // the list lost its selection: no mode was chosen
    modeOperation(t, combo, entry, true);
}

void LightingPages::applyMouseLightMode(int entry) {
    modeOperation(target(DeviceClass::Mouse), LightModeCombo::MouseMain, entry, true);
}

// ---- sliders, colours, checks ------------------------------------------------------------------------

void LightingPages::onBrightness(const Target& t, int position) {
    LightingSettings s = lighting(t);
    s.setBrightness(clampByte(position, kMaxBrightness));
    changed(t, s);
}

void LightingPages::onSpeed(const Target& t, int position) {
    LightingSettings s = lighting(t);
    s.setSpeed(lightSpeedFromSlider(std::max(position, 0)));
    changed(t, s);
}

// The colour button, the three edits and the palette show a colour; nothing is stored.
void LightingPages::showColour(const Target& t, Rgb colour) {
    ui::Page& page = ctx_.page;
    ui::Control button = page.find(t.name("_Deng_colordp_btn"));
    button.setBkImage("");
    button.setBkColor(toArgb(colour));
    const std::array<std::uint8_t, 3> channels{colour.r, colour.g, colour.b};
    for (std::size_t i = 0; i < channels.size(); ++i)
        page.edit(t.name(kChannelEdits[i])).setText(std::to_string(channels[i]));
    page.palette(t.name("_deng_Color_Pallet")).setColour(toArgb(colour));
}

void LightingPages::showMouseColour(Rgb colour) {
    showColour(target(DeviceClass::Mouse), colour);
}

void LightingPages::setPaintColour(std::uint32_t argb) {
    paint_ = fromArgb(argb);
    ctx_.page.find(kCustomColourShow).setBkColor(toArgb(paint_));
    showColour(target(DeviceClass::Keyboard), paint_);
}

void LightingPages::applyColour(const Target& t, std::uint32_t argb) {
    if (t.device == DeviceClass::Keyboard && customMode()) {
        // The custom mode's colour tools choose the paint colour; the light colour stays.
        setPaintColour(argb);
        return;
    }
    const Rgb colour = fromArgb(argb);
    showColour(t, colour);
    // The colour cycle gives way to the chosen colour (its own handler runs as well).
    ctx_.page.option(t.name("_Deng_7color_check")).setSelected(false, ui::Notify::Yes);
    LightingSettings s = lighting(t);
    s.setColour(colour);
    s.setSevenColour(false);
    changed(t, s);
}

void LightingPages::onChannelEdit(const Target& t, std::size_t channel) {
    ui::Edit edit = ctx_.page.edit(t.name(kChannelEdits[channel]));
    const long number = readEditNumber(edit.text());
    if (number > 255) edit.setText("255");
    const std::uint8_t value = clampColourChannel(number);
    const bool paint = t.device == DeviceClass::Keyboard && customMode();
    Rgb colour = paint ? paint_ : fromArgb(ctx_.page.find(t.name("_Deng_colordp_btn")).bkColor());
    (channel == 0 ? colour.r : channel == 1 ? colour.g : colour.b) = value;
    ui::Control button = ctx_.page.find(t.name("_Deng_colordp_btn"));
    button.setBkImage("");
    button.setBkColor(toArgb(colour));
    ctx_.page.palette(t.name("_deng_Color_Pallet")).setColour(toArgb(colour));
    if (paint) {
        paint_ = colour;
        ctx_.page.find(kCustomColourShow).setBkColor(toArgb(paint_));
        return;
    }
    ctx_.page.option(t.name("_Deng_7color_check")).setSelected(false, ui::Notify::Yes);
    LightingSettings s = lighting(t);
    Rgb stored = s.colour();
    (channel == 0 ? stored.r : channel == 1 ? stored.g : stored.b) = value;
    s.setColour(stored);
    s.setSevenColour(false);
    changed(t, s);
}

void LightingPages::onSevenColour(const Target& t) {
    LightingSettings s = lighting(t);
    s.setSevenColour(ctx_.page.option(t.name("_Deng_7color_check")).selected());
    changed(t, s);
}

void LightingPages::onDirectionCheck(const Target& t, bool left) {
    ui::Option self = ctx_.page.option(t.name(left ? "_Deng_FXL_check" : "_Deng_FXR_check"));
    ui::Option other = ctx_.page.option(t.name(left ? "_Deng_FXR_check" : "_Deng_FXL_check"));
    if (!self.selected()) {
        // The pair is one choice: the chosen direction cannot be unticked, only replaced by the other.
        if (!other.selected()) self.setSelected(true);
        return;
    }
    other.setSelected(false);
    LightingSettings s = lighting(t);
    s.setDirection(left ? 1 : 0);
    ctx_.state.state(t.device).current[compact_offset::kEffectState] = 0;
    ctx_.state.lightingChanged(t.device, device::LightingChange::EffectReset);
    changed(t, s);
}

// The alternate layout's arrow buttons: the left arrow steps backwards (0), the right one forwards (1).
void LightingPages::onMouseDirectionButton(std::uint8_t direction) {
    const Target& t = target(DeviceClass::Mouse);
    LightingSettings s = lighting(t);
    s.setDirection(direction);
    ctx_.page.option("ms_Deng_FXL_check").setSelected(direction != 0);
    ctx_.page.option("ms_Deng_FXR_check").setSelected(direction == 0);
    changed(t, s);
}

// The colour button opens the palette dialog with the colour it shows.
void LightingPages::pickColour(const Target& t) {
    const std::uint32_t shown =
        t.device == DeviceClass::Keyboard && customMode() ? toArgb(paint_) : toArgb(lighting(t).colour());
    if (auto picked = ctx_.colours.pick(shown)) applyColour(t, *picked);
}

// ---- same mode ---------------------------------------------------------------------------------------

void LightingPages::sameMode(const Target& t) {
    const device::SameLightingResult result = device::applySameLighting(ctx_.state, t.device);
    if (!result.applied) return;
    unsigned files = 0;
    for (DeviceClass receiver : result.receivers) {
        ctx_.state.markDirty(receiver);
        refreshDevice(target(receiver));
        files |= target(receiver).files;
    }
    ctx_.save(files);
    ctx_.state.lightingChanged(t.device, device::LightingChange::Shared);
}

// ---- the keyboard's custom maps ------------------------------------------------------------------------

void LightingPages::onCustomMapSelected(int map) {
    if (map < 0 || map >= static_cast<int>(device::kCustomMaps)) return;
    selectCustomMap(ctx_.state.keyboardCustomLighting, static_cast<std::size_t>(map));
    ctx_.save(target(DeviceClass::Keyboard).files);
    ctx_.state.lightingChanged(DeviceClass::Keyboard, device::LightingChange::CustomMaps);
}

void LightingPages::paintKeyboardKey(int key) {
    if (key < 0 || !customMode()) return;
    CustomLighting& custom = ctx_.state.keyboardCustomLighting;
    if (!paintCustomKey(custom, selectedCustomMap(custom), static_cast<std::size_t>(key), paint_)) return;
    ctx_.save(target(DeviceClass::Keyboard).files);
    ctx_.state.lightingChanged(DeviceClass::Keyboard, device::LightingChange::CustomMaps);
}

// All on paints every key of the selected map with the paint colour, all off makes it black. The two
// checks show the last one used.
void LightingPages::onCustomFill(bool allOn) {
    ui::Option chosen = ctx_.page.option(allOn ? "kb_Deng_all_bright_check" : "kb_Deng_all_kill_check");
    ui::Option other = ctx_.page.option(allOn ? "kb_Deng_all_kill_check" : "kb_Deng_all_bright_check");
    chosen.setSelected(true);
    other.setSelected(false);
    if (!customMode()) return;
    CustomLighting& custom = ctx_.state.keyboardCustomLighting;
    fillCustomMap(custom, selectedCustomMap(custom), allOn ? paint_ : Rgb{});
    ctx_.save(target(DeviceClass::Keyboard).files);
    ctx_.state.lightingChanged(DeviceClass::Keyboard, device::LightingChange::CustomMaps);
}

// ---- refresh -----------------------------------------------------------------------------------------

// Fills a device's lighting controls from its block, without storing anything.
void LightingPages::refreshDevice(const Target& t) {
    ui::Page& page = ctx_.page;
    const LightingSettings s = lighting(t);
    ui::ListLike combo = page.combo(t.modeCombo);
    // A mode the list does not have (a damaged file) selects nothing rather than some other mode.
    combo.select(s.mode() < combo.count() ? s.mode() : -1);
    showModeLayouts(t, t.combo, s.mode(), false);
    page.slider(t.name("_deng_light_slider")).setValue(s.brightness());
    page.slider(t.name("_deng_speed_slider")).setValue(sliderFromLightSpeed(s.speed()));
    page.option(t.name("_Deng_7color_check")).setSelected(s.sevenColour());
    page.option(t.name("_Deng_FXL_check")).setSelected(s.direction() != 0);
    page.option(t.name("_Deng_FXR_check")).setSelected(s.direction() == 0);
    if (t.device == DeviceClass::Keyboard) {
        page.combo(kCustomMapCombo)
            .select(static_cast<int>(selectedCustomMap(ctx_.state.keyboardCustomLighting)));
        keyboardModeLayouts(s.mode()); // shows the light colour, or the paint colour in the custom mode
    } else {
        showColour(t, s.colour());
    }
    if (t.device == DeviceClass::Pad) {
        // The slot list shows the slot the pad is on (a slot it does not list shows none).
        ui::ListLike slots = page.combo("mp_deng_combo_profile");
        const int slot = ctx_.state.pad.slot();
        slots.select(slot < slots.count() ? slot : -1);
    }
}

void LightingPages::refresh(DeviceClass which) {
    refreshDevice(target(which));
    // What a read-back, a slot switch or a load put into the block reaches the lighting engine as well.
    ctx_.state.lightingChanged(which);
    if (which == DeviceClass::Keyboard) ctx_.state.lightingChanged(which, device::LightingChange::CustomMaps);
}

} // namespace zq::settings::pages
