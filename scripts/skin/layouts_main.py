"""The main window layout ("XML_MAIN"): caption, device tabs, the profile column of each device and the
pages of their option tabs; sub-layouts are placeholders filled by the loader."""

from uixml import w, lay, stretch
from widgets import (button, option, label, heading, frame, widget, profile_column, profile_spread, combo,
                     check)
import pictures as pic


def sub(name, resource, geom):
    return w("QWidget", name, geom, dyn={"subLayout": resource})


def caption_bar():
    tabs = [
        option("kb_tab", "tab_keyboard_text", (248, 0, 100, 52), style="device_tab"),
        option("ms_tab", "tab_mouse_text", (350, 0, 100, 52), style="device_tab", checked=True),
        option("mp_tab", "tab_pad_text", (452, 0, 100, 52), style="device_tab"),
        option("ani_tab", "tab_ani_text", (554, 0, 80, 52), style="device_tab", visible=False),
        option("split_tab", "tab_split_text", (554, 0, 80, 52), style="device_tab", visible=False),
    ]
    caption = [
        button("skinbtn", None, (664, 10, 32, 32), style="caption_button", text="\u25D0",
               tip="caption_skin_tip"),
        button("minbtn", None, (700, 10, 32, 32), style="caption_button", text="\u2013", tip="caption_min_tip"),
        button("maxbtn", None, (736, 10, 32, 32), style="caption_button", text="\u25A1", tip="caption_max_tip",
               visible=False),
        button("restorebtn", None, (736, 10, 32, 32), style="caption_button", text="\u274F",
               tip="caption_restore_tip", visible=False),
        button("closebtn", None, (748, 10, 32, 32), style="close_button", text="\u2715", tip="caption_close_tip"),
    ]
    return frame("caption_bar", (0, 0, 800, 52), style="caption_bar", kids=[
        label(None, "caption_logo", (18, 12, 28, 28), style="picture", bkImage="common/logo.png"),
        label("app_title_text", "caption_title", (54, 8, 180, 22), style="title"),
        label("app_subtitle_text", "caption_subtitle", (54, 28, 180, 16), style="subtitle"),
    ] + tabs + caption)


def option_strip(geom, options):
    return frame(None, geom, style="option_strip", lay=lay("h", options + [stretch()], 4, (0, 0, 0, 0)))


NUMPAD_LEGENDS = {f"keyboard_key_Num {n}": f"kb_legend_num_{n}" for n in "0123456789"}
NUMPAD_LEGENDS.update({"keyboard_key_Num Lock": "kb_legend_num_lock", "keyboard_key_Num /": "kb_legend_num_div",
                       "keyboard_key_Num *": "kb_legend_num_mul", "keyboard_key_Num -": "kb_legend_num_sub",
                       "keyboard_key_Num +": "kb_legend_num_add", "keyboard_key_Num Enter": "kb_legend_num_enter",
                       "keyboard_key_Decimal": "kb_legend_num_dot"})


def keyboard_picture(x, y):
    """The keyboard with a key button over every key; index slots without a key stay hidden."""
    kids = [label(None, "kb_picture", (0, 0, pic.KB_W, pic.KB_H), style="picture", bkImage="kb/keyboard.png")]
    placed = {}
    for index, tid, kx, ky, kw, kh in pic.KEYBOARD_KEYS:
        placed[index] = (tid, pic.key_rect(kx, ky, kw, kh))
    for index in range(126):
        if index in placed:
            tid, rect = placed[index]
            kids.append(w("DeviceKeyButton", f"kb_key_{index}", rect, tid=NUMPAD_LEGENDS.get(tid, tid), tip=tid,
                          style="keycap",
                          checkable=True, autoExclusive=True, focusPolicy="NoFocus",
                          lightimage="kb/key_light.png", keysetimage="kb/key_set.png",
                          dyn={"gmnametextcolor": "#D8DCE4"}))
        else:
            kids.append(w("DeviceKeyButton", f"kb_key_{index}", (0, 0, 1, 1), style="keycap", visible=False,
                          checkable=True, autoExclusive=True, focusPolicy="NoFocus",
                          lightimage="kb/key_light.png", keysetimage="kb/key_set.png"))
    return widget("kb_picture_area", (x, y, pic.KB_W, pic.KB_H), kids=kids)


def keyboard_page():
    strip = option_strip((216, 8, 568, 32), [
        option("kb_deng_Op_tab", "op_lighting_text", style="option_tab", checked=True, fixed=(110, 32)),
        option("kb_key_Op_tab", "op_keys_text", style="option_tab", fixed=(110, 32)),
        option("kb_macro_Op_tab", "op_macros_text", style="option_tab", fixed=(110, 32)),
        option("kb_cursor_Op_tab", "op_cursor_text", style="option_tab", fixed=(110, 32), visible=False),
    ])
    page2 = widget("kb_page_settings", kids=[
        keyboard_picture(16, 4),
        widget("kb_deng_layout", (16, 192, 568, 280), lay=lay("v", [sub("kb_Deng_UI", "keyboard_deng.xml", None)])),
        widget("kb_tab_key_seting", (16, 192, 568, 280), visible=False,
               lay=lay("v", [sub("kb_Key_UI", "keyboard_key.xml", None)])),
    ])
    cursor_page = widget("kb_page_cursor", lay=lay("v", [
        stretch(), label("kb_no_cursor_text", style="hint", alignment="Qt::AlignCenter"), stretch()]))
    switch = w("QStackedWidget", "kb_tab_switch", (200, 48, 600, 472), currentIndex=2, pages=[
        widget("kb_page_blank"),
        widget("kb_page_macro", lay=lay("v", [sub("kb_Macro_UI", "keyboard_macro.xml", None)])),
        page2,
        cursor_page,
    ])
    kids = profile_column("kb", "device", "kb_device_profile_combo") + [strip, switch, profile_spread("kb", "device")]
    return widget("kb_page", kids=kids)


def mouse_page():
    strip = option_strip((216, 8, 568, 32), [
        option("ms_deng_Op_tab", "op_lighting_text", style="option_tab", checked=True, fixed=(104, 32)),
        option("ms_key_Op_tab", "op_buttons_text", style="option_tab", fixed=(104, 32)),
        option("ms_rich_Op_tab", "op_performance_text", style="option_tab", fixed=(104, 32)),
        option("ms_macro_Op_tab", "op_macros_text", style="option_tab", fixed=(104, 32)),
        option("ms_cursor_Op_tab", "op_cursor_text", style="option_tab", fixed=(104, 32)),
    ])

    def page(name, ui_name, resource):
        return widget(name, lay=lay("v", [sub(ui_name, resource, None)]))

    switch = w("QStackedWidget", "ms_tab_switch", (200, 48, 600, 472), currentIndex=0, pages=[
        page("ms_page_lighting", "MS_Deng_UI", "Mouse_deng.xml"),
        page("ms_page_macro", "MS_Macro_UI", "Mouse_macro.xml"),
        page("ms_page_keys", "MS_Key_UI", "Mouse_key.xml"),
        page("ms_page_performance", "MS_DPI_UI", "Mouse_DPI.xml"),
        page("ms_page_cursor", "MS_CURSOR_UI", "Mouse_cursor.xml"),
    ])
    slots = [button(f"ms_profile_{n}", None, None, style="slot_button", text=str(n + 1), fixed=(30, 26))
             for n in range(5)]
    kids = profile_column("ms", "device", "ms_device_profile_combo") + [
        label("onboard_text", None, (16, 342, 168, 20), style="caption"),
        widget(None, (16, 364, 168, 28), lay=lay("h", slots, 4)),
        button("ms_one_profile_default", "restore_defaults_text", (16, 470, 168, 30), style="secondary_button"),
        strip, switch, profile_spread("ms", "device"),
    ]
    return widget("ms_tab_panel", kids=kids)


def pad_page():
    strip = option_strip((216, 8, 568, 32), [
        option(None, "op_lighting_text", style="option_tab", checked=True, fixed=(110, 32)),
    ])
    kids = profile_column("mp", "deng", "mp_deng_profile_combo") + [
        label("pad_slot_text", None, (16, 342, 168, 20), style="caption"),
        combo("mp_deng_combo_profile", ["slot_1_text", "slot_2_text", "slot_3_text", "slot_4_text", "slot_5_text"],
              (16, 364, 168, 28)),
        button("mp_one_profile_default", "restore_defaults_text", (16, 470, 168, 30), style="secondary_button"),
        strip,
        sub("MP_deng_UI", "MousePad_deng.xml", (200, 48, 600, 472)),
        profile_spread("mp", "deng"),
    ]
    return widget("mp_page", kids=kids)


def simple_page(name, tid):
    return widget(name, lay=lay("v", [stretch(), label(tid, style="hint", alignment="Qt::AlignCenter"), stretch()]))


def main_layout():
    switch = w("QStackedWidget", "tab_switch", (0, 52, 800, 520), currentIndex=1, pages=[
        keyboard_page(),
        widget("ms_page", kids=[mouse_page()]),
        pad_page(),
        simple_page("ani_page", "page_effects_text"),
        simple_page("split_page", "page_layout_text"),
    ])
    progress = frame("setting_progress", (300, 226, 200, 150), style="progress_panel", visible=False, kids=[
        w("CircleProgress", "setting_progress_ring", (60, 14, 80, 80), style="progress"),
        label("saving_text", None, (0, 104, 200, 30), style="caption", alignment="Qt::AlignCenter"),
    ])
    return w("QWidget", "root", (0, 0, 800, 572), style="root", bkImage="common/background.png",
             windowTitle="ZEPHRAN Q70", kids=[
                 caption_bar(),
                 switch,
                 label(None, "str_test", (0, 0, 10, 10), visible=False),
                 progress,
             ])
