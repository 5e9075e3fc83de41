#!/usr/bin/env python3
"""Writes tests/data/control_names.tsv: every control the program finds by name, the layout resource it
belongs to and the kind of control its operations need.

The list is kept by hand from what the pages do with each control (families written once and expanded
here); it is deliberately independent of the layout generator, so a test that compares the two catches a
control the skin lacks or gives the wrong kind.

Kinds: tabs option check combo list rows edit slider label button layout palette keybutton progress chart host
"""

import os
import sys

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.normpath(os.path.join(HERE, "..", "..", "tests", "data", "control_names.tsv"))

OPS = ["add", "sub", "copy", "import", "export", "reset"]


def category(prefix, cat, list_kind="list"):
    """List, actions, name and link controls of one profile category."""
    p = f"{prefix}_{cat}_profile"
    rows = [(f"{p}_combo", list_kind), (f"{p}_name_edit", "edit"), (f"{p}_edit_save_btn", "button"),
            (f"{p}_link_check", "check"), (f"{p}_link_btn", "button"), (f"{p}_link_edit", "edit"),
            (f"{p}_link_name_hor", "layout"), (f"{p}_edit", "layout")]
    rows += [(f"{prefix}_pro_{cat}_{op}_btn", "button") for op in OPS]
    return rows


def lighting(prefix):
    p = prefix
    rows = [(f"{p}_deng_light_slider", "slider"), (f"{p}_deng_speed_slider", "slider"),
            (f"{p}_deng_fx_layout", "layout"), (f"{p}_deng_color_layout", "layout"),
            (f"{p}_deng_7colorselect_layout", "layout"), (f"{p}_deng_speed_layout", "layout"),
            (f"{p}_Deng_FXL_check", "check"), (f"{p}_Deng_FXR_check", "check"), (f"{p}_Deng_7color_check", "check"),
            (f"{p}_Deng_edit_R", "edit"), (f"{p}_Deng_edit_G", "edit"), (f"{p}_Deng_edit_B", "edit"),
            (f"{p}_Deng_colordp_btn", "button"), (f"{p}_deng_Color_Pallet", "palette"),
            (f"{p}_deng_same_mode", "button")]
    rows += [(f"{p}_Deng_color_btn_{n}", "button") for n in range(30)]
    return rows


def function_editor(prefix):
    p = prefix
    rows = [(f"{p}_tab_function", "layout"), (f"{p}_key_fct_combo", "combo")]
    rows += [(f"{p}_tab_function_{n}", "layout") for n in range(13)]
    rows += [(f"{p}_key_fct_combo_{n}", "combo") for n in (11, 12, 13, 14, 21, 22, 23, 24, 25, 26)]
    rows += [(f"{p}_key_fct_edit_{n}", "edit") for n in (11, 12, 15, 16, 17, 18, 19, 20, 21, 25)]
    return rows


def macro_page(prefix):
    p = prefix
    rows = [(f"{p}_MacroName_list", "rows"), (f"{p}_Macro_list", "rows"), (f"{p}_macro_edit_macroname", "edit"),
            (f"{p}_macro_tab_saveorcancel", "layout"), (f"{p}_tab_macro_edit", "tabs"),
            (f"{p}_macro_combo_keyselect", "combo"), (f"{p}_macro_combo_upordown", "combo"),
            (f"{p}_macro_combo_mouselect", "combo"), (f"{p}__macro_edit_ActionDelay", "edit"),
            (f"{p}__macro_edit_mou_action_delay", "edit"), (f"{p}_macro_edit_mou_pointer_skewing", "edit"),
            (f"{p}_macro_tab_mou_pointer_skewing", "layout"), (f"{p}_macro_btn_shubiao", "option"),
            (f"{p}_MacroName", "layout"), (f"{p}_MacroMouseEvent", "layout")]
    for op in ("name_add", "name_sub", "savemacroname", "up", "down", "uptop", "downbottom", "delete", "deleteall",
               "save", "cancel", "import", "export", "redio"):
        rows.append((f"{p}_macro_btn_{op}", "button"))
    for group in ("leftkey", "rightkey", "moudlekey", "forwardkey", "backkey"):
        rows += [(f"{p}_macro_inset_{group}_btn", "button"), (f"{p}_macro_inset_{group}_tab", "layout"),
                 (f"{p}_macro_inset_{group}down_btn", "button"), (f"{p}_macro_inset_{group}up_btn", "button")]
    for move in ("moveleftkey", "moverightkey", "moveupkey", "movedownkey"):
        rows.append((f"{p}_macro_inset_{move}_btn", "button"))
    for edit in ("x_left", "x_right", "y_up", "y_down"):
        rows.append((f"{p}_mouse_{edit}_edit", "edit"))
    for option in ("check_time", "keyboard_event", "mouse_click", "mouse_roller", "mouse_move"):
        rows.append((f"{p}_macro_{option}", "check"))
    return rows


LAYOUTS = {}

LAYOUTS["XML_MAIN"] = (
    [("root", "layout"), ("closebtn", "button"), ("maxbtn", "button"), ("restorebtn", "button"),
     ("minbtn", "button"), ("skinbtn", "button"), ("tab_switch", "tabs"), ("kb_tab_switch", "tabs"),
     ("ms_tab_switch", "tabs"), ("kb_tab", "option"), ("ms_tab", "option"), ("mp_tab", "option"),
     ("ani_tab", "option"), ("split_tab", "option"), ("kb_deng_Op_tab", "option"), ("kb_key_Op_tab", "option"),
     ("kb_macro_Op_tab", "option"), ("kb_cursor_Op_tab", "option"), ("ms_deng_Op_tab", "option"),
     ("ms_key_Op_tab", "option"), ("ms_rich_Op_tab", "option"), ("ms_macro_Op_tab", "option"),
     ("ms_cursor_Op_tab", "option"), ("ms_tab_panel", "layout"), ("kb_deng_layout", "layout"),
     ("kb_tab_key_seting", "layout"), ("kb_profile_select_tab", "layout"), ("setting_progress", "layout"),
     ("str_test", "label"), ("label_text", "label"),
     ("ms_profile_fun_spread_btn", "button"), ("kb_profile_fun_spread_btn", "button"),
     ("mp_profile_fun_spread_btn", "button"), ("ms_profile_fun_spead_tab", "layout"),
     ("kb_profile_fun_spead_tab", "layout"), ("mp_profile_fun_spead_tab", "layout"),
     ("mp_pro_deng_edit_btn", "button"), ("ms_one_profile_default", "button"),
     ("mp_one_profile_default", "button"), ("mp_deng_combo_profile", "combo"),
     ("ms_device_cancle_link_btn", "button"), ("kb_device_cancle_link_btn", "button")]
    + [(name, "layout") for name in ("kb_Key_UI", "kb_Deng_UI", "kb_Macro_UI", "MS_Deng_UI", "MS_Macro_UI",
                                     "MS_Key_UI", "MP_deng_UI", "MS_DPI_UI", "MS_CURSOR_UI")]
    + [(f"ms_profile_{n}", "button") for n in range(5)]
    + [(f"kb_key_{n}", "keybutton") for n in range(126)]
    + category("ms", "device") + category("kb", "device") + category("mp", "deng")
)

LAYOUTS["Mouse_deng.xml"] = (
    category("ms", "deng") + lighting("ms")
    + [("ms_pro_deng_edit_btn", "button"), ("ms_deng_mode_switch", "tabs"), ("ms_deng_combo_modeSelect0", "combo"),
       ("ms_deng_combo_modeSelect1", "combo"), ("ms_deng_combo_modeSelect2", "combo"),
       ("ms_deng_light_layout", "layout"), ("ms_Deng_FXL_btn", "button"), ("ms_Deng_FXR_btn", "button")]
    + [(f"ms_dkey_{n}", "keybutton") for n in range(20)]
)

LAYOUTS["MousePad_deng.xml"] = (
    lighting("mp") + [("mp_deng_combo_modeSelect", "combo")] + [(f"mp_dkey_{n}", "keybutton") for n in range(15)]
)

LAYOUTS["keyboard_deng.xml"] = (
    category("kb", "deng") + lighting("kb")
    + [("kb_pro_deng_edit_btn", "button"), ("kb_deng_cancle_link_btn", "button"),
       ("kb_deng_combo_modeSelect", "combo"), ("kb_deng_onecolor_combo_modeSelect", "combo"),
       ("kb_deng_combo_curtom_count", "combo"), ("kb_deng_custom_tool_layout", "layout"),
       ("kb_deng_custom_select_layout", "layout"), ("kb_deng_custom_color_layout", "layout"),
       ("kb_Deng_label_FXL", "label"), ("kb_Deng_label_FXR", "label"), ("kb_Deng_all_kill_check", "check"),
       ("kb_Deng_all_bright_check", "check")]
)

LAYOUTS["Mouse_key.xml"] = (
    category("ms", "key") + function_editor("ms")
    + [("ms_pro_key_edit_btn", "button"), ("ms_key_butt_keysave", "button"), ("ms_key_butt_keydefalut", "button"),
       ("ms_key_butt_prosave", "button")]
    + [(f"ms_key_{n}", "option") for n in range(9)]
    + [(f"ms_key_{n}_0", "label") for n in range(9)]
)

LAYOUTS["keyboard_key.xml"] = (
    category("kb", "key") + function_editor("kb")
    + [("kb_pro_key_edit_btn", "button"), ("kb_key_butt_keydefalut", "button"), ("kb_key_butt_prosave", "button")]
)

LAYOUTS["Mouse_DPI.xml"] = (
    [(f"ms_DPI{n}_{part}", "label") for n in range(1, 7) for part in ("min", "max", "label_value", "label_rank")]
    + [(f"ms_DPI{n}_slider", "slider") for n in range(1, 7)]
    + [(f"ms_DPIcolor_btn_{n}", "button") for n in range(1, 7)]
    + [("ms_report_fct_combo", "combo"), ("ms_point_speed_slider", "slider"), ("ms_sensor_height_slider", "slider"),
       ("ms_gunlun_speed_edit", "edit"), ("ms_gunlun_speed_up_btn", "button"), ("ms_gunlun_speed_down_btn", "button")]
)

LAYOUTS["Mouse_macro.xml"] = macro_page("ms")
LAYOUTS["keyboard_macro.xml"] = macro_page("kb")

LAYOUTS["Mouse_cursor.xml"] = (
    [(f"ms_gun_op_{n}", "option") for n in range(4)] + [(f"ms_bullet_op_{n}", "option") for n in range(30)]
    + [("cursor_edit_layout", "layout"), ("bullet_select_index", "label"), ("bullet_selected_prev", "button"),
       ("bullet_selected_next", "button"), ("ms_cursor_delay_eidt", "edit"), ("ms_cursor_x_eidt", "edit"),
       ("ms_cursor_y_eidt", "edit"), ("ms_cursor_x_check", "check"), ("ms_cursor_y_check", "check")]
    + [(f"ms_bulletdate_{op}_btn", "button") for op in ("save", "reset", "import", "export")]
)

LAYOUTS["GmPalletDialog.xml"] = (
    [("Pallet", "palette"), ("color_show_btn", "button"), ("Pallet_BTN_OK", "layout"),
     ("Pallet_BTN_CANCEL", "button"), ("okbtn", "button"), ("closebtn", "button")]
    + [(f"ms_dpi_color_png_{n}", "button") for n in range(30)]
)

LAYOUTS["skin.xml"] = [("skin_tab", "tabs"), ("skin_image", "option"), ("skin_color", "option"),
                       ("skin_image_btn", "button"), ("skin_color_btn", "button"), ("skin_reset", "button"),
                       ("skin_Custom", "button")]
LAYOUTS["CopyRight.xml"] = [("closebtn", "button"), ("NetText", "button")]
LAYOUTS["menu1.xml"] = [("lan_en", "button"), ("lan_cn", "button"), ("About_setting", "button")]
LAYOUTS["XML_MSG"] = [("MessageText", "label"), ("MessageTitle", "label"), ("closebtn", "button"),
                      ("confirm_btn", "button"), ("cancel_btn", "button")]


def main():
    lines = []
    for resource, rows in LAYOUTS.items():
        seen = set()
        for name, kind in rows:
            if name in seen:
                raise SystemExit(f"{resource}: {name} listed twice")
            seen.add(name)
            lines.append(f"{resource}\t{name}\t{kind}")
    os.makedirs(os.path.dirname(OUT), exist_ok=True)
    with open(OUT, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
    print(f"{OUT}: {len(lines)} controls")


if __name__ == "__main__":
    main()
