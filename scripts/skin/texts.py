"""The English text catalog of the skin (written out as skin/lan_en.xml).

Ids fixed by the program (messages, key and function names, mode and direction labels) sit beside the
ids of the layouts' own labels. Texts holding "%d" are used as formats with one number.
"""

MESSAGES = {
    "message_text_1": "No ZEPHRAN Q70 device is connected. Plug in the mouse, the mouse pad or the keyboard, "
    "then open the window again from the tray icon.",
    "message_text_2": "This macro is assigned to a button. If you delete it, that button gets its default "
    "function back. Delete the macro anyway?",
    "message_text_3": "The macro you are editing has unsaved changes. Press Save or Cancel below the action "
    "list first.",
    "message_text_4": "Save or cancel the macro you are editing before you choose another one. "
    "Press OK to delete the selected macro.",
    "message_text_5": "A macro with this name already exists. Type a different name.",
    "message_text_6": "This is the only button set to left click. Give another button the left click first, "
    "then change this one.",
    "message_text_7": "There is not enough memory to prepare the data for the device. Close some programs "
    "and try again.",
    "message_text_8": "The file could not be found or opened. Check that it exists and that you may read it, "
    "then try again.",
    "message_text_9": "This file is not a ZEPHRAN Q70 profile file, or it is damaged. Choose another file.",
    "message_text_10": "The device did not answer. Check its cable and try again.",
    "message_text_11": "This cannot be done here: built-in profiles and the last profile of a list cannot be "
    "deleted, and a keyboard must report a key table the program can hold.",
    "message_text_12": "Delete the selected profile? Its file is removed and cannot be restored.",
    "message_text_13": "This application is already linked to a profile of this list. Choose another "
    "application or remove the other link first.",
    "message_text_14": "Type a name for the profile first.",
    "message_text_15": "A profile with this name already exists. Type a different name.",
    "message_text_16": "The macros do not fit into the device memory. Remove at least %d actions, save, and "
    "send them again.",
    "message_text_17": "You can keep at most %d macros. Delete a macro before you add a new one.",
    "message_text_18": "This cursor-path file holds more than 180 actions and cannot be imported. Choose "
    "another file.",
    "message_text_19": "The settings were sent to the device.",
    "message_text_20": "The mouse was disconnected.",
    # Ours: the macro and cursor-path pages.
    "message_macro_name_invalid": "This name cannot be used for a macro: it is empty, is \".\" or \"..\", holds "
    "\"/\", starts or ends with a space, or is too long. Type another name.",
    "message_macro_rename_failed": "The macro could not be renamed: a file of that name is already in the macro "
    "folder, or the folder cannot be written. The macro keeps its name.",
    "message_macro_import_invalid": "This file is not a macro file, or it is damaged. Choose another file.",
    "message_macro_import_too_long": "This macro file holds more than %d actions and cannot be imported. "
    "Choose another file.",
    "message_cursor_import_invalid": "This file is not a cursor-path file, or it is damaged. Choose another "
    "file.",
    "message_file_write_failed": "The file could not be written. Check that the disk is not full and that "
    "you may write to the folder, then try again. Nothing was changed.",
    # Ours: a device whose node this user may not open.
    "message_permission": "The %s is connected, but this user may not open it. Install the device rule "
    "once, then unplug the device and plug it in again:\n\nsudo install -m 644 %s /etc/udev/rules.d/\n"
    "sudo udevadm control --reload\nsudo udevadm trigger --subsystem-match=hidraw",
    "tray_permission": "ZEPHRAN Q70: the %s needs a device rule (see the window)",
    # Ours: a profile name that cannot be a file name, and a profile file that could not be written.
    "message_profile_name_invalid": "This name cannot be used for a profile file. Leave out \"/\" and "
    "control characters, do not start or end it with a space, do not use \".\" or \"..\", and keep it "
    "shorter.",
    "message_profile_write_failed": "The profile file could not be written. Check that the folder exists, "
    "that you may write to it and that the disk has room, then try again.",
}

# Key code table names, in table order; the value is what the picture and the labels show.
KEY_NAMES = [
    ("keyboard_key_LCtrl", "L Ctrl"), ("keyboard_key_LShift", "L Shift"), ("keyboard_key_LAlt", "L Alt"),
    ("keyboard_key_LWin", "L Super"), ("keyboard_key_RCtrl", "R Ctrl"), ("keyboard_key_RShift", "R Shift"),
    ("keyboard_key_RAlt", "R Alt"), ("keyboard_key_RWin", "R Super"),
] + [(f"keyboard_key_{c}", c) for c in "ABCDEFGHIJKLMNOPQRSTUVWXYZ"] + [
    (f"keyboard_key_{c}", c) for c in "1234567890"
] + [
    ("keyboard_key_Enter", "Enter"), ("keyboard_key_Esc", "Esc"), ("keyboard_key_BackSpace", "Backspace"),
    ("keyboard_key_Tab", "Tab"), ("keyboard_key_Space", "Space"),
    ("keyboard_key_-", "-"), ("keyboard_key_=", "="), ("keyboard_key_[", "["), ("keyboard_key_]", "]"),
    ("keyboard_key_xiegang", "\\"), ("keyboard_key_;", ";"), ("keyboard_key_'", "'"), ("keyboard_key_`", "`"),
    ("keyboard_key_<", ","), ("keyboard_key_.", "."), ("keyboard_key_/", "/"),
    ("keyboard_key_Caplk", "Caps"),
] + [(f"keyboard_key_F{n}", f"F{n}") for n in range(1, 13)] + [
    ("keyboard_key_Print Scr", "PrtSc"), ("keyboard_key_Scroll Lock", "ScrLk"), ("keyboard_key_Pause", "Pause"),
    ("keyboard_key_Insert", "Ins"), ("keyboard_key_Home", "Home"), ("keyboard_key_Page Up", "PgUp"),
    ("keyboard_key_Delete", "Del"), ("keyboard_key_End", "End"), ("keyboard_key_Page Down", "PgDn"),
    ("keyboard_key_Right", "Right"), ("keyboard_key_Left", "Left"), ("keyboard_key_Down", "Down"),
    ("keyboard_key_Up", "Up"),
    ("keyboard_key_Num Lock", "NumLk"), ("keyboard_key_Num /", "Num /"), ("keyboard_key_Num *", "Num *"),
    ("keyboard_key_Num -", "Num -"), ("keyboard_key_Num +", "Num +"), ("keyboard_key_Num Enter", "Num Enter"),
] + [(f"keyboard_key_Num {n}", f"Num {n}") for n in "1234567890"] + [
    ("keyboard_key_Decimal", "Num ."), ("keyboard_key_App", "Menu"),
    ("keyboard_key_Launch App2", "Calculator"), ("keyboard_key_Browaer Home", "Browser home"),
    ("keyboard_key_Media Play Pause", "Play / Pause"), ("keyboard_key_Browser Search", "Search"),
    ("keyboard_key_Launch Mail", "Mail"), ("keyboard_key_Volume Up", "Volume up"),
    ("keyboard_key_Volume Mute", "Mute"), ("keyboard_key_Media Stop", "Stop"),
    ("keyboard_key_Volume Down", "Volume down"), ("keyboard_key_Browser Favorites", "Favourites"),
    ("keyboard_key_Browser ForWard", "Browser forward"), ("keyboard_key_Browser Back", "Browser back"),
    ("keyboard_key_Media Prev Track", "Previous track"), ("keyboard_key_Media Next Track", "Next track"),
    ("keyboard_key_Computer", "Files"), ("keyboard_key_Browser Refresh", "Refresh"),
    ("keyboard_key_Launch Media Select", "Media player"),
    ("keyboard_key_Power", "Power"), ("keyboard_key_Sleep", "Sleep"), ("keyboard_key_Wakeup", "Wake up"),
]

FUNCTIONS = {
    "mouse_key_left": "Left click", "mouse_key_middle": "Middle click", "mouse_key_right": "Right click",
    "mouse_key_forward": "Forward", "mouse_key_back": "Back",
    "mouse_key_left_Swing": "Pointer left", "mouse_key_right_Swing": "Pointer right",
    "mouse_key_up_Swing": "Pointer up", "mouse_key_down_Swing": "Pointer down",
    "mouse_key_DPI_add": "DPI up", "mouse_key_DPI_sub": "DPI down", "mouse_key_DPI_loop": "DPI cycle",
    "mouse_key_fire_key": "Fire key",
    "combo_open": "Open (Ctrl+O)", "combo_new": "New (Ctrl+N)", "combo_revocation": "Undo (Ctrl+Z)",
    "combo_save": "Save (Ctrl+S)", "combo_copy": "Copy (Ctrl+C)", "combo_cut": "Cut (Ctrl+X)",
    "combo_paste": "Paste (Ctrl+V)", "combo_finde": "Find (Ctrl+F)", "combo_all": "Select all (Ctrl+A)",
    "combo_narrow": "Zoom out (Ctrl+-)", "combo_magnify": "Zoom in (Ctrl+=)",
    "media_text": "Media player", "media_play": "Play / Pause", "media_stop": "Stop",
    "media_prev": "Previous track", "media_next": "Next track", "media_vol_sub": "Volume down",
    "media_vol_add": "Volume up", "media_mute": "Mute", "web_text": "Browser home", "web_refresh": "Refresh",
    "wed_stop": "Stop loading", "wed_back": "Browser back", "wed_forward": "Browser forward",
    "wed_favorite": "Favourites", "web_search": "Search", "media_mypc": "Files", "media_calc": "Calculator",
    "media_mail": "Mail",
    "system_power": "Power off", "system_sleep": "Sleep", "system_wake_up": "Wake up",
    "GUN_1": "Recoil pattern 1", "GUN_2": "Recoil pattern 2", "GUN_3": "Recoil pattern 3",
    "GUN_4": "Recoil pattern 4",
    "key_setenable_text": "Disabled", "close_text": "Off", "Key_Set": "Key setting",
    "ms_right_text": "Right-handed", "ms_left_text": "Left-handed", "ms_full_text": "Both sides",
    "mouse_move_to_left_text": "Move left", "mouse_move_to_right_text": "Move right",
    "mouse_move_to_up_text": "Move up", "mouse_move_to_down_text": "Move down",
    "macro_btn_star_redio_text": "Record", "macro_btn_stop_redio_text": "Stop",
    "Deng_FXL_text": "Left", "Deng_FXR_text": "Right", "Deng_FXU_text": "Up", "Deng_FXD_text": "Down",
    "Deng_FXJ_text": "Inward", "Deng_FXK_text": "Outward", "Deng_FXSPEAD_text": "Spread",
    "Deng_FXGATHER_text": "Gather",
}

LABELS = {
    "app_title_text": "ZEPHRAN Q70",
    "app_subtitle_text": "Device centre",
    "tab_keyboard_text": "Keyboard", "tab_mouse_text": "Mouse", "tab_pad_text": "Mouse pad",
    "tab_ani_text": "Effects", "tab_split_text": "Layout",
    "caption_skin_tip": "Background", "caption_min_tip": "Minimise", "caption_max_tip": "Maximise",
    "caption_restore_tip": "Restore", "caption_close_tip": "Close to tray", "dialog_close_tip": "Close",
    "op_lighting_text": "Lighting", "op_buttons_text": "Buttons", "op_keys_text": "Keys",
    "op_performance_text": "Performance", "op_macros_text": "Macros", "op_cursor_text": "Cursor paths",
    "profiles_text": "Profiles", "profile_name_text": "Profile name", "profile_link_text": "Link to app",
    "profile_link_choose_tip": "Choose the application", "profile_link_cancel_tip": "Remove the link",
    "profile_link_running_text": "Running applications (double-click to choose)",
    "profile_link_no_x11_tip": "Linked profiles follow the application in front only in an X11 session; "
    "links made here are kept and work there.",
    "profile_save_name_tip": "Save the name", "profile_more_tip": "Profile actions",
    "profile_edit_tip": "Manage these profiles",
    "pro_add_text": "New", "pro_sub_text": "Delete", "pro_copy_text": "Copy", "pro_import_text": "Import",
    "pro_export_text": "Export", "pro_reset_text": "Reset",
    "onboard_text": "Onboard memory", "restore_defaults_text": "Restore defaults",
    "pad_slot_text": "Onboard slot",
    "slot_1_text": "Slot 1", "slot_2_text": "Slot 2", "slot_3_text": "Slot 3", "slot_4_text": "Slot 4",
    "slot_5_text": "Slot 5",
    "lighting_profile_text": "Lighting profile", "button_profile_text": "Button profile",
    "key_profile_text": "Key profile",
    "effect_text": "Effect", "brightness_text": "Brightness", "speed_text": "Speed",
    "direction_text": "Direction", "colour_text": "Colour", "colour_cycle_text": "Cycle colours",
    "same_mode_text": "Apply to all devices", "red_text": "R", "green_text": "G", "blue_text": "B",
    "preset_colour_tip": "Preset colour", "colour_pick_tip": "Current colour",
    "custom_map_text": "Colour map", "custom_all_off_text": "All off", "custom_all_on_text": "All on",
    "custom_paint_text": "Click keys to paint them with the palette colour.",
    "custom_map_1_text": "Map 1", "custom_map_2_text": "Map 2", "custom_map_3_text": "Map 3",
    "custom_map_4_text": "Map 4", "custom_map_5_text": "Map 5",
    "ms_mode_wave_text": "Wave", "ms_mode_static_text": "Static", "ms_mode_breath_text": "Breathing",
    "ms_mode_gradient_text": "Gradient breathing", "ms_mode_bar_text": "Bar", "ms_mode_dpi_text": "DPI colour only",
    "ms_mode_reactive_text": "Reactive",
    "mp_mode_wave_text": "Wave", "mp_mode_cycle_text": "Colour cycle", "mp_mode_breath_text": "Breathing",
    "mp_mode_static_text": "Static", "mp_mode_bar_text": "Bar", "mp_mode_ripple_text": "Ripple",
    "mp_mode_group_text": "Group wave", "mp_mode_marquee_text": "Marquee", "mp_mode_reactive_text": "Reactive",
    "mp_mode_off_text": "Off",
    "kb_mode_0_text": "Wave", "kb_mode_1_text": "Colour cycle", "kb_mode_2_text": "Breathing",
    "kb_mode_3_text": "Static", "kb_mode_4_text": "Rainbow", "kb_mode_5_text": "Reactive",
    "kb_mode_6_text": "Reactive trail", "kb_mode_7_text": "Snake", "kb_mode_8_text": "Custom",
    "kb_mode_9_text": "Twinkle", "kb_mode_10_text": "Rainbow columns", "kb_mode_11_text": "Colour drops",
    "kb_mode_12_text": "Moving band", "kb_mode_13_text": "Ripple", "kb_mode_14_text": "Sweep",
    "kb_mode_15_text": "Reactive fade", "kb_mode_16_text": "Colour rain",
    "kb_onecolor_0_text": "Wave", "kb_onecolor_1_text": "Breathing", "kb_onecolor_2_text": "Static",
    "kb_onecolor_3_text": "Reactive", "kb_onecolor_4_text": "Spread",
    "dpi_levels_text": "DPI levels", "dpi_level_1_text": "DPI 1", "dpi_level_2_text": "DPI 2",
    "dpi_level_3_text": "DPI 3", "dpi_level_4_text": "DPI 4", "dpi_level_5_text": "DPI 5",
    "dpi_level_6_text": "DPI 6", "dpi_colour_tip": "Indicator colour of this level",
    "report_rate_text": "Report rate", "rate_125_text": "125 Hz", "rate_250_text": "250 Hz",
    "rate_500_text": "500 Hz", "rate_1000_text": "1000 Hz",
    "pointer_speed_text": "Pointer speed", "scroll_lines_text": "Scroll lines",
    "lift_off_text": "Lift-off distance", "lift_low_text": "Low", "lift_high_text": "High",
    "slow_text": "Slow", "fast_text": "Fast", "system_settings_text": "System settings",
    "wheel_up_tip": "More lines", "wheel_down_tip": "Fewer lines",
    "button_hint_text": "Choose a button on the mouse to change what it does.",
    "key_hint_text": "Choose a key on the keyboard picture to change what it does.",
    "function_type_text": "Function",
    "fct_default_text": "Default", "fct_mouse_text": "Mouse button", "fct_hmove_text": "Horizontal move",
    "fct_vmove_text": "Vertical move", "fct_dpi_text": "DPI", "fct_fire_text": "Fire key",
    "fct_keyboard_text": "Keyboard key", "fct_media_text": "Media and web", "fct_system_text": "System",
    "fct_macro_text": "Macro", "fct_recoil_text": "Recoil pattern", "fct_office_text": "Office shortcut",
    "fct_disable_text": "Disable",
    "fct_default_hint_text": "The button does what it does out of the box.",
    "fct_disable_hint_text": "The button does nothing while this is chosen.",
    "fct_capture_hint_text": "Click the field, then press the key or shortcut to assign.",
    "capture_state_evdev_text": "Listening to every keyboard; other applications do not get the keys meanwhile.",
    "capture_state_x11_text": "Listening system-wide; other applications still get the keys.",
    "capture_state_window_text": "Listening while this window has the focus.",
    "capture_state_injected_text": "Listening to keys sent by the control channel.",
    "capture_state_none_text": "No key capture could be started; hover here for the reason.",
    "record_state_evdev_text": "Recording every keyboard: other applications do not get the keys meanwhile.",
    "record_state_x11_text": "Recording system-wide: the keys you press still reach other applications.",
    "record_state_window_text": "Recording keys while this window has the focus only.",
    "record_state_injected_text": "Recording keys sent by the control channel.",
    "record_state_none_text": "No input capture could be started; hover here for the reason.",
    "record_state_off_text": "",
    "capture_state_off_text": "Not listening: choose the button again to capture a key.",
    "fct_direction_text": "Direction", "fct_distance_text": "Distance", "fct_step_high_text": "Step",
    "fct_step_low_text": "Interval", "fct_fire_count_text": "Shots", "fct_fire_interval_text": "Interval",
    "fct_key_text": "Key", "fct_action_text": "Action", "fct_macro_name_text": "Macro",
    "fct_play_mode_text": "Play", "fct_repeat_text": "Repeat", "fct_pattern_text": "Pattern",
    "fct_shortcut_text": "Shortcut",
    "play_once_text": "Once", "play_hold_text": "While held", "play_toggle_text": "Start / stop",
    "play_release_text": "On release", "play_count_text": "Number of times",
    "apply_text": "Apply", "default_text": "Default", "save_device_text": "Save to device",
    "saving_text": "Saving to the device",
    "macros_text": "Macros", "actions_text": "Actions", "macro_name_text": "Name", "macro_state_text": "State",
    "macro_delay_text": "Delay", "macro_add_tip": "New macro", "macro_sub_tip": "Delete macro",
    "macro_rename_tip": "Save the name", "import_text": "Import", "export_text": "Export",
    "macro_up_tip": "Move up", "macro_down_tip": "Move down", "macro_top_tip": "Move to top",
    "macro_bottom_tip": "Move to bottom", "macro_delete_tip": "Delete action",
    "macro_deleteall_tip": "Delete all actions", "save_text": "Save", "cancel_text": "Cancel",
    "record_text": "Recording", "record_keys_text": "Keys", "record_clicks_text": "Mouse buttons",
    "record_wheel_text": "Wheel", "record_move_text": "Movement", "record_fixed_delay_text": "Fixed delay 50 ms",
    "insert_mouse_text": "Insert mouse actions", "insert_left_text": "Left button",
    "insert_middle_text": "Middle button", "insert_right_text": "Right button",
    "insert_forward_text": "Forward button", "insert_back_text": "Back button",
    "insert_down_text": "Press", "insert_up_text": "Release", "insert_moves_text": "Pointer moves",
    "editor_hint_text": "Click an action in the list to edit it.", "editor_key_text": "Key",
    "editor_state_text": "Action", "editor_delay_text": "Delay (ms)", "editor_mouse_text": "Mouse action",
    "editor_distance_text": "Distance",
    "macro_key_up_text": "Release", "macro_key_down_text": "Press",
    "macro_mouse_0_text": "Left button press", "macro_mouse_1_text": "Left button release",
    "macro_mouse_2_text": "Right button press", "macro_mouse_3_text": "Right button release",
    "macro_mouse_4_text": "Middle button press", "macro_mouse_5_text": "Middle button release",
    "macro_mouse_6_text": "Forward button press", "macro_mouse_7_text": "Forward button release",
    "macro_mouse_8_text": "Back button press", "macro_mouse_9_text": "Back button release",
    "cursor_paths_text": "Cursor paths", "path_1_text": "Path 1", "path_2_text": "Path 2",
    "path_3_text": "Path 3", "path_4_text": "Path 4", "steps_text": "Steps", "step_text": "Step",
    "cursor_hint_text": "Each path is 30 steps. Choose a step to set its pause and pointer movement.",
    "step_pause_text": "Pause (ms)", "step_x_text": "Horizontal", "step_y_text": "Vertical",
    "step_prev_tip": "Previous step", "step_next_tip": "Next step", "save_mouse_text": "Save to mouse",
    "palette_title_text": "Choose a colour", "ok_text": "OK", "presets_text": "Presets",
    "skin_title_text": "Background", "skin_pictures_text": "Pictures", "skin_colours_text": "Colours",
    "skin_own_text": "Own picture...", "skin_reset_text": "Default",
    "skin_picture_1_tip": "Midnight", "skin_picture_2_tip": "Carbon", "skin_picture_3_tip": "Aurora",
    "skin_picture_4_tip": "Ember",
    "skin_colour_1_tip": "Charcoal", "skin_colour_2_tip": "Slate blue", "skin_colour_3_tip": "Plum",
    "skin_colour_4_tip": "Pine", "skin_colour_5_tip": "Graphite", "skin_colour_6_tip": "Deep teal",
    "skin_colour_7_tip": "Walnut", "skin_colour_8_tip": "Violet",
    "menu_english_text": "English", "menu_chinese_text": "Chinese", "menu_about_text": "About",
    "about_title_text": "About ZEPHRAN Q70", "about_product_text": "ZEPHRAN Q70 Device Centre",
    "about_version_text": "Version 1.0",
    "about_body_text": "Configuration of the ZEPHRAN Q70 gaming mouse, its illuminated mouse pad and its "
    "keyboard: DPI levels, report rate, buttons, macros, cursor paths, lighting and profiles that follow "
    "the application in front.",
    "about_copyright_text": "Copyright (C) ZEPHRAN. All rights reserved.",
    "about_link_text": "www.zephran.example",
    "msg_title_text": "ZEPHRAN Q70",
    "page_effects_text": "Effects that span several devices appear here.",
    "page_layout_text": "Device layout",
    "kb_no_cursor_text": "Cursor paths are stored in the mouse.",
}

TEXTS = dict(MESSAGES)
TEXTS.update(KEY_NAMES)
TEXTS.update(FUNCTIONS)
TEXTS.update(LABELS)
TEXTS["keyboard_key_Fn"] = "Fn"

# Short legends for the numeric keypad of the keyboard picture, where the key names are too long.
LEGENDS = {f"kb_legend_num_{n}": n for n in "0123456789"}
LEGENDS.update({"kb_legend_num_lock": "Num", "kb_legend_num_div": "/", "kb_legend_num_mul": "*",
                "kb_legend_num_sub": "-", "kb_legend_num_add": "+", "kb_legend_num_enter": "Ent",
                "kb_legend_num_dot": "."})
LABELS.update(LEGENDS)
TEXTS.update(LEGENDS)
