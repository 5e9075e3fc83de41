"""The sub-layouts of the device pages: lighting, buttons and keys, performance, macros, cursor paths."""

from uixml import w, lay, stretch
from widgets import (button, option, label, heading, frame, widget, combo, check, edit, number_edit, slider,
                     swatch_grid, colour_button, profile_bar, profile_panel, START_COLOUR)
import pictures as pic

MOUSE_MODES = ["ms_mode_wave_text", "ms_mode_static_text", "ms_mode_breath_text", "ms_mode_gradient_text",
               "ms_mode_bar_text", "ms_mode_dpi_text", "ms_mode_reactive_text"]
PAD_MODES = ["mp_mode_wave_text", "mp_mode_cycle_text", "mp_mode_breath_text", "mp_mode_static_text",
             "mp_mode_bar_text", "mp_mode_ripple_text", "mp_mode_group_text", "mp_mode_marquee_text",
             "mp_mode_reactive_text", "mp_mode_off_text"]
KEYBOARD_MODES = [f"kb_mode_{n}_text" for n in range(17)]
KEYBOARD_ONECOLOUR_MODES = [f"kb_onecolor_{n}_text" for n in range(5)]


def root(name, width, height, kids, style="page"):
    return w("QWidget", name, (0, 0, width, height), style=style, kids=kids)


# ------------------------------------------------------------------------------------------- lighting
def colour_layout(prefix, geom, columns=10, size=18):
    """Colour button, the three channel edits and the thirty preset swatches."""
    p = prefix
    channels = []
    for channel, tid, value in (("R", "red_text", START_COLOUR >> 16 & 0xFF), ("G", "green_text",
                                                                             START_COLOUR >> 8 & 0xFF),
                                ("B", "blue_text", START_COLOUR & 0xFF)):
        channels.append(label(tid, style="channel_label", fixedWidth=10))
        channels.append(number_edit(f"{p}_Deng_edit_{channel}", text=str(value), digits=3, fixed=(36, 26)))
    return frame(f"{p}_deng_color_layout", geom, style="group", lay=lay("v", [
        lay("h", [colour_button(f"{p}_Deng_colordp_btn", size=(30, 26))] + channels + [stretch()], 4),
        swatch_grid(f"{p}_Deng_color_btn_", columns, size),
        stretch(),
    ], 8, (8, 8, 8, 8)))


def labelled_slider(name, layout_name, tid, geom, vertical=False):
    caption = label(tid, style="caption") if vertical else label(tid, style="caption", fixedWidth=78)
    parts = [caption, slider(name, 0, 4, 4, page=1)]
    return widget(layout_name, geom, lay=lay("v" if vertical else "h", parts, 4 if vertical else 8))


def direction_layout(prefix, geom, vertical=False):
    pair = [option(f"{prefix}_Deng_FXL_check", "Deng_FXL_text", style="segment_left", exclusive=False,
                   checked=True, fixed=(64, 26)),
            option(f"{prefix}_Deng_FXR_check", "Deng_FXR_text", style="segment_right", exclusive=False,
                   fixed=(64, 26))]
    if vertical:
        items = [label("direction_text", style="caption"), lay("h", pair + [stretch()], 0)]
    else:
        items = [label("direction_text", style="caption", fixedWidth=78)] + pair + [stretch()]
    return widget(f"{prefix}_deng_fx_layout", geom, lay=lay("v" if vertical else "h", items, 4 if vertical else 0))


def cycle_layout(prefix, geom):
    return widget(f"{prefix}_deng_7colorselect_layout", geom,
                  lay=lay("h", [check(f"{prefix}_Deng_7color_check", "colour_cycle_text"), stretch()]))


def palette(prefix, geom):
    return w("ColourPalette", f"{prefix}_deng_Color_Pallet", geom, style="palette")


def same_mode(prefix, geom):
    return button(f"{prefix}_deng_same_mode", "same_mode_text", geom, style="secondary_button")


def mode_row(name, items, width=None):
    c = combo(name, items)
    if width:
        c["props"].append(("fixedWidth", width))
    return [label("effect_text", style="caption", fixedWidth=78), c]


def mouse_lighting():
    picture = [label(None, "ms_deng_picture", (0, 0, pic.MOUSE_W, pic.MOUSE_H), style="picture",
                     bkImage="ms/mouse_top.png")]
    for n, (cx, cy, lw, lh) in enumerate(pic.MOUSE_LEDS):
        picture.append(w("DeviceKeyButton", f"ms_dkey_{n}", (round(cx - lw / 2 - 3), round(cy - lh / 2 - 3),
                                                             lw + 6, lh + 6),
                         style="led", focusPolicy="NoFocus", lightimage="common/led_light.png"))
    modes = w("QStackedWidget", "ms_deng_mode_switch", (202, 44, 382, 32), currentIndex=0, pages=[
        widget(None, lay=lay("h", mode_row("ms_deng_combo_modeSelect0", MOUSE_MODES), 8)),
        widget(None, lay=lay("h", mode_row("ms_deng_combo_modeSelect1", MOUSE_MODES) + [
            button("ms_Deng_FXL_btn", None, style="icon_button", text="\u25C0", tip="Deng_FXL_text", fixed=(30, 26)),
            button("ms_Deng_FXR_btn", None, style="icon_button", text="\u25B6", tip="Deng_FXR_text", fixed=(30, 26)),
        ], 8)),
        widget(None, lay=lay("h", mode_row("ms_deng_combo_modeSelect2", MOUSE_MODES), 8)),
    ])
    return root("Mouse_deng_root", 600, 472, [
        profile_bar("ms", "deng", "lighting_profile_text", 16, 6),
        widget("ms_deng_picture_area", (16, 48, pic.MOUSE_W, pic.MOUSE_H), kids=picture),
        modes,
        palette("ms", (202, 86, 150, 150)),
        colour_layout("ms", (362, 86, 222, 150)),
        cycle_layout("ms", (202, 248, 382, 26)),
        labelled_slider("ms_deng_light_slider", "ms_deng_light_layout", "brightness_text", (202, 282, 382, 30)),
        labelled_slider("ms_deng_speed_slider", "ms_deng_speed_layout", "speed_text", (202, 318, 382, 30)),
        direction_layout("ms", (202, 354, 382, 30)),
        same_mode("ms", (202, 402, 220, 32)),
        profile_panel("ms", "deng", 16, 40),
    ])


def pad_lighting():
    picture = [label(None, "mp_deng_picture", (0, 0, pic.PAD_W, pic.PAD_H), style="picture",
                     bkImage="mp/pad_top.png")]
    for n, (cx, cy, lw, lh) in enumerate(pic.PAD_LEDS):
        picture.append(w("DeviceKeyButton", f"mp_dkey_{n}", (round(cx - lw / 2 - 3), round(cy - lh / 2 - 3),
                                                             lw + 6, lh + 6),
                         style="led", focusPolicy="NoFocus", lightimage="common/led_light.png"))
    return root("MousePad_deng_root", 600, 472, [
        widget("mp_deng_picture_area", (16, 4, pic.PAD_W, pic.PAD_H), kids=picture),
        widget(None, (16, 166, 568, 30), lay=lay("h", mode_row("mp_deng_combo_modeSelect", PAD_MODES, 220)
                                                 + [stretch()], 8)),
        same_mode("mp", (384, 165, 200, 32)),
        palette("mp", (16, 206, 150, 150)),
        colour_layout("mp", (176, 206, 222, 150)),
        cycle_layout("mp", (412, 206, 172, 26)),
        labelled_slider("mp_deng_light_slider", "mp_deng_light_layout", "brightness_text", (412, 238, 172, 48),
                        vertical=True),
        labelled_slider("mp_deng_speed_slider", "mp_deng_speed_layout", "speed_text", (412, 292, 172, 48),
                        vertical=True),
        direction_layout("mp", (412, 346, 172, 52), vertical=True),
    ])


def keyboard_lighting():
    # The same Left/Right pair as the mouse and the pad; the effect names the pair's two ways (the labels
    # keep the names the effect gives them, the buttons show them).
    fx = widget("kb_deng_fx_layout", (364, 134, 204, 30), lay=lay("h", [
        label("direction_text", style="caption", fixedWidth=64),
        option("kb_Deng_FXL_check", "Deng_FXL_text", style="segment_left", exclusive=False, checked=True,
               fixed=(64, 26)),
        option("kb_Deng_FXR_check", "Deng_FXR_text", style="segment_right", exclusive=False, fixed=(64, 26)),
        label("Deng_FXL_text", "kb_Deng_label_FXL", style="label", visible=False),
        label("Deng_FXR_text", "kb_Deng_label_FXR", style="label", visible=False),
        stretch(),
    ], 0))
    # The page's content is 568 pixels wide, within the 16-pixel margins every page keeps; the slider
    # column stops short of the edge so that a handle at its end is drawn whole.
    return root("keyboard_deng_root", 568, 280, [
        profile_bar("kb", "deng", "lighting_profile_text", 0, 0),
        widget(None, (332, 0, 236, 30), lay=lay("h", [
            label("effect_text", style="caption", fixedWidth=50),
            combo("kb_deng_combo_modeSelect", KEYBOARD_MODES),
            combo("kb_deng_onecolor_combo_modeSelect", KEYBOARD_ONECOLOUR_MODES, visible=False),
        ], 8)),
        palette("kb", (0, 40, 132, 136)),
        colour_layout("kb", (140, 40, 216, 136)),
        cycle_layout("kb", (364, 40, 204, 26)),
        labelled_slider("kb_deng_light_slider", "kb_deng_light_layout", "brightness_text", (364, 70, 198, 30)),
        labelled_slider("kb_deng_speed_slider", "kb_deng_speed_layout", "speed_text", (364, 102, 198, 30)),
        fx,
        frame("kb_deng_custom_select_layout", (0, 186, 196, 36), style="group", enabled=False, lay=lay("h", [
            label("custom_map_text", style="caption"),
            combo("kb_deng_combo_curtom_count", [f"custom_map_{n}_text" for n in range(1, 6)], fixedWidth=90),
        ], 8, (8, 4, 8, 4))),
        frame("kb_deng_custom_tool_layout", (204, 186, 152, 36), style="group", enabled=False, lay=lay("h", [
            check("kb_Deng_all_kill_check", "custom_all_off_text"),
            check("kb_Deng_all_bright_check", "custom_all_on_text"),
        ], 8, (8, 4, 8, 4))),
        frame("kb_deng_custom_color_layout", (364, 186, 204, 36), style="group", enabled=False, lay=lay("h", [
            colour_button("kb_deng_custom_colour_show", size=(22, 22)),
            label("custom_paint_text", style="hint", wordWrap=True),
        ], 8, (8, 4, 8, 4))),
        same_mode("kb", (364, 238, 204, 32)),
        profile_panel("kb", "deng", 0, 34),
    ])


# ------------------------------------------------------------------------------ button and key editors
MOUSE_BUTTON_ROWS = ["mouse_key_left", "mouse_key_middle", "mouse_key_right", "mouse_key_forward",
                     "mouse_key_back"]
DPI_ROWS = ["mouse_key_DPI_add", "mouse_key_DPI_sub", "mouse_key_DPI_loop"]
MEDIA_ROWS = ["media_text", "media_play", "media_stop", "media_prev", "media_next", "media_vol_sub",
              "media_vol_add", "media_mute", "web_text", "web_refresh", "wed_stop", "wed_back", "wed_forward",
              "wed_favorite", "web_search", "media_mypc", "media_calc", "media_mail"]
SYSTEM_ROWS = ["system_power", "system_sleep", "system_wake_up"]
OFFICE_ROWS = ["combo_open", "combo_new", "combo_revocation", "combo_save", "combo_copy", "combo_cut",
               "combo_paste", "combo_finde", "combo_all", "combo_narrow", "combo_magnify"]
PLAY_MODES = ["play_once_text", "play_hold_text", "play_toggle_text", "play_release_text", "play_count_text"]
CATEGORIES = ["fct_default_text", "fct_mouse_text", "fct_hmove_text", "fct_vmove_text", "fct_dpi_text",
              "fct_fire_text", "fct_keyboard_text", "fct_media_text", "fct_system_text", "fct_macro_text",
              "fct_recoil_text", "fct_office_text", "fct_disable_text"]


def function_pages(prefix):
    """Pages "<prefix>_tab_function_0" … "_12", one per function category."""
    c = lambda n, items: combo(f"{prefix}_key_fct_combo_{n}", items)  # noqa: E731
    e = lambda n, text, digits=3: number_edit(f"{prefix}_key_fct_edit_{n}", text=text, digits=digits)  # noqa

    def form(rows):
        items = []
        for r, (tid, control) in enumerate(rows):
            items.append((label(tid, style="caption"), r, 0))
            items.append((control, r, 1))
        return lay("v", [lay("g", items, 8), stretch()], 0)

    def hint(tid):
        return lay("v", [label(tid, style="hint", wordWrap=True), stretch()])

    pages = [
        hint("fct_default_hint_text"),
        form([("fct_action_text", c(11, MOUSE_BUTTON_ROWS))]),
        form([("fct_direction_text", c(12, ["mouse_key_left_Swing", "mouse_key_right_Swing"])),
              ("fct_distance_text", e(15, "10")), ("fct_step_high_text", e(17, "15", 2)),
              ("fct_step_low_text", e(20, "15", 2))]),
        form([("fct_direction_text", c(13, ["mouse_key_up_Swing", "mouse_key_down_Swing"])),
              ("fct_distance_text", e(16, "10")), ("fct_step_high_text", e(18, "15", 2)),
              ("fct_step_low_text", e(19, "15", 2))]),
        form([("fct_action_text", c(14, DPI_ROWS))]),
        form([("fct_fire_count_text", e(11, "3")), ("fct_fire_interval_text", e(12, "10"))]),
        lay("v", [label("fct_capture_hint_text", style="hint", wordWrap=True),
                  edit(f"{prefix}_key_fct_edit_21", text="0", read_only=True, style="capture_edit",
                       alignment="Qt::AlignCenter"),
                  label("capture_state_off_text", f"{prefix}_key_capture_state", style="hint", wordWrap=True),
                  stretch()], 8),
        form([("fct_action_text", c(21, MEDIA_ROWS))]),
        form([("fct_action_text", c(22, SYSTEM_ROWS))]),
        form([("fct_macro_name_text", c(23, [])), ("fct_play_mode_text", c(24, PLAY_MODES)),
              ("fct_repeat_text", e(25, "1"))]),
        form([("fct_pattern_text", c(25, ["GUN_1", "GUN_2", "GUN_3", "GUN_4"]))]),
        form([("fct_shortcut_text", c(26, OFFICE_ROWS))]),
        hint("fct_disable_hint_text"),
    ]
    return [widget(f"{prefix}_tab_function_{n}", lay=page) for n, page in enumerate(pages)]


def function_editor(prefix, geom, wide):
    switch = w("QStackedWidget", f"{prefix}_tab_function_switch", None, currentIndex=0,
               pages=function_pages(prefix))
    category = combo(f"{prefix}_key_fct_combo", CATEGORIES)
    if wide:
        body = lay("h", [lay("v", [label("function_type_text", style="caption"), category, stretch()], 6,
                             (0, 0, 0, 0)), switch], 16, (12, 10, 12, 10))
        kids_layout = body
    else:
        items = [label("function_type_text", style="caption"), category, switch]
        if prefix == "ms":
            items.append(lay("h", [stretch(), button("ms_key_butt_keysave", "apply_text", style="primary_button",
                                                     fixed=(96, 30))]))
        kids_layout = lay("v", items, 6, (12, 10, 12, 10))
    # The keyboard's editor waits for a key to be chosen on the picture; the hint shows until then.
    waiting = {"visible": False, "enabled": False} if prefix == "kb" else {}
    return frame(f"{prefix}_tab_function", geom, style="group", lay=kids_layout, **waiting)


def mouse_keys():
    ox, oy = pic.KEYS_MOUSE_AT
    picture = [label(None, "ms_key_picture", (0, 0) + pic.KEYS_CANVAS, style="picture", bkImage="ms/mouse_keys.png")]
    for n, (_, _, (bx, by, bw, bh)) in enumerate(pic.MOUSE_BUTTONS):
        picture.append(label(None, f"ms_key_{n}_0", (ox + bx, oy + by, bw, bh), style="picture",
                             bkImage=pic.MOUSE_BUTTON_IMAGES[n][1]))
    defaults = ["mouse_key_left", "mouse_key_middle", "mouse_key_right", "mouse_key_forward", "mouse_key_back",
                "mouse_key_DPI_add", "mouse_key_DPI_sub", "mouse_key_forward", "mouse_key_back"]
    # Created in reading order (the left column top to bottom, then the right one), which is the order
    # Tab takes; the names keep the button numbers.
    for n in sorted(range(9), key=lambda k: pic.KEY_LABELS[k][:2]):
        lx, ly, _ = pic.KEY_LABELS[n]
        picture.append(option(f"ms_key_{n}", defaults[n], (lx, ly, pic.KEY_LABEL_W, pic.KEY_LABEL_H),
                              style="key_label", tip=defaults[n]))
    return root("Mouse_key_root", 600, 472, [
        profile_bar("ms", "key", "button_profile_text", 16, 6),
        button("ms_key_butt_prosave", "save_device_text", (444, 6, 140, 30), style="primary_button"),
        widget("ms_key_picture_area", (16, 52) + pic.KEYS_CANVAS, kids=picture),
        label("button_hint_text", None, (370, 52, 214, 80), style="hint", wordWrap=True),
        function_editor("ms", (370, 52, 214, 320), wide=False),
        button("ms_key_butt_keydefalut", "default_text", (370, 382, 104, 30), style="secondary_button",
               visible=False),
        profile_panel("ms", "key", 16, 40),
    ])


def keyboard_keys():
    return root("keyboard_key_root", 568, 280, [
        profile_bar("kb", "key", "key_profile_text", 0, 0),
        button("kb_key_butt_keydefalut", "default_text", (348, 0, 96, 30), style="secondary_button"),
        button("kb_key_butt_prosave", "save_device_text", (452, 0, 116, 30), style="primary_button"),
        label("key_hint_text", None, (0, 40, 568, 200), style="hint", alignment="Qt::AlignCenter"),
        function_editor("kb", (0, 40, 568, 232), wide=True),
        profile_panel("kb", "key", 0, 34),
    ])


# ------------------------------------------------------------------------------------------ performance
DPI_DEFAULTS = [(2, 0xFFFF0000), (6, 0xFF00FF00), (14, 0xFF0000FF), (30, 0xFFFF00FF), (60, 0xFFFFFF00),
                (60, 0xFF00FFFF)]


def mouse_dpi():
    kids = [heading("dpi_levels_text", None, (16, 8, 300, 26))]
    for n in range(1, 7):
        index, colour = DPI_DEFAULTS[n - 1]
        row = frame(f"ms_DPI{n}_row", (16, 40 + (n - 1) * 40, 568, 34), style="dpi_row", visible=n < 6,
                    lay=lay("h", [
                        label(f"dpi_level_{n}_text", f"ms_DPI{n}_label_rank", style="dpi_rank", fixedWidth=52),
                        label(None, f"ms_DPI{n}_min", style="muted", text="200", fixedWidth=34,
                              alignment="Qt::AlignRight|Qt::AlignVCenter"),
                        slider(f"ms_DPI{n}_slider", 0, 60, index, page=5),
                        label(None, f"ms_DPI{n}_max", style="muted", text="6200", fixedWidth=38),
                        label(None, f"ms_DPI{n}_label_value", style="dpi_value", text=str(200 + 100 * index),
                              fixedWidth=48, alignment="Qt::AlignRight|Qt::AlignVCenter"),
                        colour_button(f"ms_DPIcolor_btn_{n}", colour, size=(30, 20), tip="dpi_colour_tip"),
                    ], 10, (10, 0, 10, 0)))
        kids.append(row)
    wheel = lay("h", [
        button("ms_gunlun_speed_down_btn", None, style="icon_button", text="\u2212", tip="wheel_down_tip",
               fixed=(28, 26)),
        number_edit("ms_gunlun_speed_edit", text="3", digits=3, fixed=(52, 26)),
        button("ms_gunlun_speed_up_btn", None, style="icon_button", text="+", tip="wheel_up_tip", fixed=(28, 26)),
        stretch(),
    ], 6)
    rows = [
        (label("report_rate_text", style="caption"), 0, 0),
        (combo("ms_report_fct_combo", ["rate_125_text", "rate_250_text", "rate_500_text", "rate_1000_text"],
               currentIndex=3, fixedWidth=160), 0, 1, 1, 3),
        (label("pointer_speed_text", style="caption"), 1, 0),
        (label("slow_text", style="muted", fixedWidth=34), 1, 1),
        (slider("ms_point_speed_slider", 0, 9, 4), 1, 2),
        (label("fast_text", style="muted", fixedWidth=40), 1, 3),
        (label("scroll_lines_text", style="caption"), 2, 0),
        (wheel, 2, 1, 1, 3),
        (label("lift_off_text", style="caption"), 3, 0),
        (label("lift_low_text", style="muted", fixedWidth=34), 3, 1),
        (slider("ms_sensor_height_slider", 0, 2, 0), 3, 2),
        (label("lift_high_text", style="muted", fixedWidth=40), 3, 3),
    ]
    kids.append(heading("system_settings_text", None, (16, 250, 300, 26)))
    kids.append(frame(None, (16, 282, 568, 170), style="group",
                      lay=lay("g", rows, 12, (14, 12, 14, 12))))
    return root("Mouse_DPI_root", 600, 472, kids)


# ---------------------------------------------------------------------------------------------- macros
MOUSE_ACTION_ROWS = [f"macro_mouse_{n}_text" for n in range(10)] + [
    "mouse_move_to_left_text", "mouse_move_to_right_text", "mouse_move_to_up_text", "mouse_move_to_down_text"]
INSERT_GROUPS = [("leftkey", "insert_left_text"), ("moudlekey", "insert_middle_text"),
                 ("rightkey", "insert_right_text"), ("forwardkey", "insert_forward_text"),
                 ("backkey", "insert_back_text")]
INSERT_MOVES = [("moveleftkey", "mouse_move_to_left_text", "x_left"),
                ("moverightkey", "mouse_move_to_right_text", "x_right"),
                ("moveupkey", "mouse_move_to_up_text", "y_up"), ("movedownkey", "mouse_move_to_down_text", "y_down")]


def macro_page(prefix, root_name):
    p = prefix
    names = frame(f"{p}_MacroName", (16, 44, 180, 420), style="group", lay=lay("v", [
        heading("macros_text"),
        w("QTreeWidget", f"{p}_MacroName_list", None, style="macro_names", items=["macro_name_text"],
          headerHidden=True, rootIsDecorated=False, focusPolicy="TabFocus", hscroll="ScrollBarAlwaysOff"),
        lay("h", [edit(f"{p}_macro_edit_macroname", max_length=64),
                  button(f"{p}_macro_btn_savemacroname", None, style="icon_button", text="\u2713",
                         tip="macro_rename_tip", fixed=(26, 26))], 4),
        lay("h", [button(f"{p}_macro_btn_name_add", None, style="icon_button", text="+", tip="macro_add_tip",
                         fixed=(30, 26)),
                  button(f"{p}_macro_btn_name_sub", None, style="icon_button", text="\u2212", tip="macro_sub_tip",
                         fixed=(30, 26)),
                  button(f"{p}_macro_btn_import", "import_text", style="small_button", fixedHeight=26),
                  button(f"{p}_macro_btn_export", "export_text", style="small_button", fixedHeight=26)], 4),
    ], 6, (8, 8, 8, 8)))
    insert_items = []
    for group, tid in INSERT_GROUPS:
        insert_items.append(button(f"{p}_macro_inset_{group}_btn", tid, style="group_button", fixedHeight=26))
        insert_items.append(widget(f"{p}_macro_inset_{group}_tab", visible=False, lay=lay("h", [
            button(f"{p}_macro_inset_{group}down_btn", "insert_down_text", style="small_button", fixedHeight=24),
            button(f"{p}_macro_inset_{group}up_btn", "insert_up_text", style="small_button", fixedHeight=24),
        ], 4, (10, 0, 0, 2))))
    insert_items.append(label("insert_moves_text", style="caption"))
    for move, tid, edit_suffix in INSERT_MOVES:
        insert_items.append(lay("h", [
            button(f"{p}_macro_inset_{move}_btn", tid, style="small_button", fixedHeight=24),
            number_edit(f"{p}_mouse_{edit_suffix}_edit", text="10", digits=3, fixed=(46, 24)),
        ], 4))
    insert_items.append(stretch())
    inserts = frame(f"{p}_MacroMouseEvent", (16, 44, 180, 420), style="group", visible=False,
                    lay=lay("v", insert_items, 4, (8, 8, 8, 8)))

    actions = w("QTreeWidget", f"{p}_Macro_list", (206, 40, 210, 330), style="macro_actions",
                items=["macro_name_text", "macro_state_text", "macro_delay_text"], rootIsDecorated=False,
                attrs={"headerDefaultSectionSize": 62, "headerMinimumSectionSize": 40,
                       "headerStretchLastSection": True},
                focusPolicy="TabFocus", hscroll="ScrollBarAlwaysOff")
    ops = []
    for op, glyph, tip in (("up", "\u2191", "macro_up_tip"), ("down", "\u2193", "macro_down_tip"),
                           ("uptop", "\u2912", "macro_top_tip"), ("downbottom", "\u2913", "macro_bottom_tip"),
                           ("delete", "\u2715", "macro_delete_tip"), ("deleteall", "\u2716", "macro_deleteall_tip")):
        ops.append(button(f"{p}_macro_btn_{op}", None, style="icon_button", text=glyph, tip=tip, fixed=(31, 26)))
    save_bar = frame(f"{p}_macro_tab_saveorcancel", (206, 412, 210, 36), style="save_bar", visible=False,
                     lay=lay("h", [button(f"{p}_macro_btn_cancel", "cancel_text", style="secondary_button",
                                          fixedHeight=28),
                                   button(f"{p}_macro_btn_save", "save_text", style="primary_button",
                                          fixedHeight=28)], 8, (0, 4, 0, 4)))

    def form(rows):
        return rows + [stretch()]

    editor = w("QStackedWidget", f"{p}_tab_macro_edit", (426, 238, 158, 226), currentIndex=0, pages=[
        widget(None, lay=lay("v", [label("editor_hint_text", style="hint", wordWrap=True),
                                   # While recording: which capture listens, and whether keys still
                                   # reach other applications.
                                   label("record_state_off_text", f"{p}_macro_record_state", style="hint",
                                         wordWrap=True, visible=False),
                                   stretch()])),
        widget(None, lay=lay("v", form([
            label("editor_key_text", style="caption"), combo(f"{p}_macro_combo_keyselect", []),
            label("editor_state_text", style="caption"),
            combo(f"{p}_macro_combo_upordown", ["macro_key_up_text", "macro_key_down_text"]),
            label("editor_delay_text", style="caption"),
            number_edit(f"{p}__macro_edit_ActionDelay", text="50", digits=5)]), 4)),
        widget(None, lay=lay("v", form([
            label("editor_mouse_text", style="caption"), combo(f"{p}_macro_combo_mouselect", MOUSE_ACTION_ROWS),
            label("editor_delay_text", style="caption"),
            number_edit(f"{p}__macro_edit_mou_action_delay", text="50", digits=5),
            widget(f"{p}_macro_tab_mou_pointer_skewing", visible=False, lay=lay("v", [
                label("editor_distance_text", style="caption"),
                number_edit(f"{p}_macro_edit_mou_pointer_skewing", text="0", digits=3)], 4))]), 4)),
    ])
    recording = frame(None, (426, 40, 158, 190), style="group", lay=lay("v", [
        w("QPushButton", f"{p}_macro_btn_redio", None, tid="macro_btn_star_redio_text", style="record_button",
          fixedHeight=34, focusPolicy="NoFocus"),
        check(f"{p}_macro_keyboard_event", "record_keys_text", checked=True),
        check(f"{p}_macro_mouse_click", "record_clicks_text", checked=True),
        check(f"{p}_macro_mouse_roller", "record_wheel_text"),
        check(f"{p}_macro_mouse_move", "record_move_text"),
        check(f"{p}_macro_check_time", "record_fixed_delay_text"),
    ], 4, (8, 8, 8, 8)))
    return root(root_name, 600, 472, [
        option(f"{p}_macro_btn_shubiao", "insert_mouse_text", (16, 8, 180, 30), style="toggle_button",
               exclusive=False),
        names, inserts,
        heading("actions_text", None, (206, 8, 210, 28)),
        actions,
        widget(None, (206, 376, 210, 28), lay=lay("h", ops, 4)),
        save_bar,
        heading("record_text", None, (426, 8, 158, 28)),
        recording,
        editor,
    ])


# ------------------------------------------------------------------------------------------ cursor paths
def mouse_cursor():
    guns = [option(f"ms_gun_op_{n}", f"path_{n + 1}_text", style="option_tab", checked=n == 0, fixed=(96, 30))
            for n in range(4)]
    # Not exclusive: the page keeps one step selected itself, and a click on the selected step clears it.
    bullets = [(option(f"ms_bullet_op_{n}", None, style="bullet", text=str(n + 1), fixed=(46, 40),
                       exclusive=False), n // 10, n % 10)
               for n in range(30)]
    step_box = frame(None, None, style="step_box", fixedWidth=150, lay=lay("v", [
        label("step_text", style="caption", alignment="Qt::AlignCenter"),
        label(None, "bullet_select_index", style="step_number", text="1", alignment="Qt::AlignCenter"),
        lay("h", [button("bullet_selected_prev", None, style="icon_button", text="\u2039", tip="step_prev_tip",
                         fixed=(40, 26)),
                  stretch(),
                  button("bullet_selected_next", None, style="icon_button", text="\u203A", tip="step_next_tip",
                         fixed=(40, 26))]),
    ], 2, (8, 6, 8, 6)))
    fields = lay("g", [
        (label("step_pause_text", style="caption"), 0, 0),
        (number_edit("ms_cursor_delay_eidt", text="0", digits=5, fixedWidth=80), 0, 1),
        (label("step_x_text", style="caption"), 1, 0),
        (number_edit("ms_cursor_x_eidt", text="0", digits=3, fixedWidth=80), 1, 1),
        (check("ms_cursor_x_check", "mouse_move_to_right_text"), 1, 2),
        (label("step_y_text", style="caption"), 2, 0),
        (number_edit("ms_cursor_y_eidt", text="0", digits=3, fixedWidth=80), 2, 1),
        (check("ms_cursor_y_check", "mouse_move_to_down_text"), 2, 2),
    ], 8)
    return root("Mouse_cursor_root", 600, 472, [
        heading("cursor_paths_text", None, (16, 8, 300, 28)),
        widget(None, (16, 40, 568, 30), lay=lay("h", guns + [stretch()], 4)),
        label("cursor_hint_text", None, (16, 76, 568, 22), style="hint"),
        widget("ms_bullet_area", (16, 104, 568, 140), lay=lay("g", bullets, 10)),
        frame("cursor_edit_layout", (16, 254, 568, 118), style="group", enabled=False,
              lay=lay("h", [step_box, fields, stretch()], 20, (12, 10, 12, 10))),
        widget(None, (16, 424, 568, 34), lay=lay("h", [
            button("ms_bulletdate_import_btn", "import_text", style="secondary_button", fixed=(96, 30)),
            button("ms_bulletdate_export_btn", "export_text", style="secondary_button", fixed=(96, 30)),
            button("ms_bulletdate_reset_btn", "pro_reset_text", style="secondary_button", fixed=(96, 30)),
            stretch(),
            button("ms_bulletdate_save_btn", "save_mouse_text", style="primary_button", fixed=(150, 30)),
        ], 8)),
    ])
