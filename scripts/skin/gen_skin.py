#!/usr/bin/env python3
"""Writes the skin: every layout (.ui), res.xml, lan_en.xml and the SVG pictures under skin/.

Run from anywhere: python3 scripts/skin/gen_skin.py. The output is committed; the build never runs this.
Checks on the way: no control name is used twice in one layout tree (except the skin window's picture and
colour buttons, which share their names on purpose), every text id a layout uses is in the catalog, and
every image a layout names is drawn.
"""

import os
import sys
import xml.etree.ElementTree as ET
from collections import Counter

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import pictures as pic  # noqa: E402
import uixml  # noqa: E402
from layouts_dialogs import message_box, palette_dialog, skin_window, about_window, tray_menu  # noqa: E402
from layouts_main import main_layout  # noqa: E402
from layouts_pages import (mouse_lighting, pad_lighting, keyboard_lighting, mouse_keys, keyboard_keys,  # noqa
                           mouse_dpi, macro_page, mouse_cursor)
from texts import TEXTS, MESSAGES, KEY_NAMES, FUNCTIONS, LABELS  # noqa: E402

# The four window backgrounds: gradient colours and the accent glow.
BACKGROUNDS = [("#1a1d23", "#131519", "#0e0f12"), ("#202226", "#17181b", "#101113", 0.05),
               ("#10222a", "#121a22", "#0d1016", 0.22), ("#2a1a14", "#1a1416", "#0f0d0f", 0.06)]

SKIN = os.path.normpath(os.path.join(HERE, "..", "..", "skin"))

# resource name → (file, window class name, builder)
LAYOUTS = [
    ("XML_MAIN", "main.ui", "MainWnd", main_layout),
    ("keyboard_key.xml", "keyboard_key.ui", "KeyboardKey", keyboard_keys),
    ("keyboard_deng.xml", "keyboard_deng.ui", "KeyboardLighting", keyboard_lighting),
    ("keyboard_macro.xml", "keyboard_macro.ui", "KeyboardMacro", lambda: macro_page("kb", "keyboard_macro_root")),
    ("Mouse_deng.xml", "Mouse_deng.ui", "MouseLighting", mouse_lighting),
    ("Mouse_macro.xml", "Mouse_macro.ui", "MouseMacro", lambda: macro_page("ms", "Mouse_macro_root")),
    ("Mouse_key.xml", "Mouse_key.ui", "MouseKeys", mouse_keys),
    ("MousePad_deng.xml", "MousePad_deng.ui", "PadLighting", pad_lighting),
    ("Mouse_DPI.xml", "Mouse_DPI.ui", "MousePerformance", mouse_dpi),
    ("Mouse_cursor.xml", "Mouse_cursor.ui", "MouseCursor", mouse_cursor),
    ("GmPalletDialog.xml", "GmPalletDialog.ui", "UIPalletDialog", palette_dialog),
    ("skin.xml", "skin.ui", "UISkinFrame", skin_window),
    ("CopyRight.xml", "CopyRight.ui", "UICOPYRIGHT", about_window),
    ("menu1.xml", "menu1.ui", "TrayMenu", tray_menu),
    ("XML_MSG", "msg.ui", "MsgWnd", message_box),
]

SHARED_NAMES = {"skin_image_btn", "skin_color_btn"}


def images():
    """image name → (file under skin/, svg text)"""
    out = {
        "common/logo.png": ("images/common/logo.svg", pic.app_icon_svg(64)),
        "common/app_icon.png": ("images/common/app_icon.svg", pic.app_icon_svg(256)),
        "common/tray_icon.png": ("images/common/tray_icon.svg", pic.tray_icon_svg()),
        "common/led_light.png": ("images/common/led_light.svg", pic.led_light_svg()),
        "common/up_top_over.png": ("images/common/up_top_over.svg", pic.arrow_top_svg(pic.ACCENT)),
        "common/unuse.png": ("images/common/unuse.svg", pic.arrow_top_svg("#4a505c")),
        "common/background.png": ("images/common/background.svg", pic.background_svg(*BACKGROUNDS[0])),
        "common/background_2.png": ("images/common/background_2.svg", pic.background_svg(*BACKGROUNDS[1])),
        "common/background_3.png": ("images/common/background_3.svg", pic.background_svg(*BACKGROUNDS[2])),
        "common/background_4.png": ("images/common/background_4.svg", pic.background_svg(*BACKGROUNDS[3])),
        **{f"common/background_thumb_{n}.png": (f"images/common/background_thumb_{n}.svg",
                                                pic.background_thumb_svg(*b))
           for n, b in enumerate(BACKGROUNDS, start=1)},
        "common/combo_arrow.png": ("images/common/combo_arrow.svg", pic.combo_arrow_svg()),
        "common/check_mark.png": ("images/common/check_mark.svg", pic.check_mark_svg()),
        "ms/mouse_top.png": ("images/ms/mouse_top.svg", pic.mouse_svg()),
        "ms/mouse_keys.png": ("images/ms/mouse_keys.svg", pic.mouse_keys_svg()),
        "mp/pad_top.png": ("images/mp/pad_top.svg", pic.pad_svg()),
        "kb/keyboard.png": ("images/kb/keyboard.svg", pic.keyboard_svg()),
        "kb/key_light.png": ("images/kb/key_light.svg", pic.key_light_svg()),
        "kb/key_set.png": ("images/kb/key_set.svg", pic.key_set_svg()),
    }
    for n, (down, normal) in enumerate(pic.MOUSE_BUTTON_IMAGES):
        for name, is_down in ((down, True), (normal, False)):
            stem = name[:-4]
            out[name] = (f"images/{stem}.svg", pic.button_overlay_svg(n, is_down))
    return out


def check_names(resource, tree):
    counts = Counter(name for name, _ in uixml.names_in(tree))
    twice = [n for n, c in counts.items() if c > 1 and n not in SHARED_NAMES]
    if twice:
        raise SystemExit(f"{resource}: names used more than once: {sorted(twice)}")
    return counts


def write_texts(path):
    root = ET.Element("texts", lang="en")
    groups = [("messages", MESSAGES), ("key names", dict(KEY_NAMES)), ("functions and modes", FUNCTIONS),
              ("labels", LABELS)]
    seen = set()
    for title, table in groups:
        root.append(ET.Comment(f" {title} "))
        for tid, text in table.items():
            if tid in seen:
                continue
            seen.add(tid)
            ET.SubElement(root, "text", id=tid).text = text
    for tid, text in TEXTS.items():
        if tid not in seen:
            ET.SubElement(root, "text", id=tid).text = text
    ET.indent(root, space=" ")
    with open(path, "w", encoding="utf-8") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n' + ET.tostring(root, encoding="unicode") + "\n")


def write_resources(path, image_table):
    root = ET.Element("resources")
    for resource, file, _, _ in LAYOUTS:
        ET.SubElement(root, "layout", name=resource, file=file)
    ET.SubElement(root, "texts", file="lan_en.xml")
    ET.SubElement(root, "style", file="style.qss")
    for name, (file, _) in sorted(image_table.items()):
        ET.SubElement(root, "image", name=name, file=file)
    ET.indent(root, space=" ")
    with open(path, "w", encoding="utf-8") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n' + ET.tostring(root, encoding="unicode") + "\n")


def main():
    total = 0
    for resource, file, class_name, build in LAYOUTS:
        tree = build()
        total += len(check_names(resource, tree))
        uixml.write_ui(os.path.join(SKIN, file), class_name, tree)
    missing = sorted(t for t in uixml.USED_TEXT_IDS if t not in TEXTS)
    if missing:
        raise SystemExit(f"text ids missing from the catalog: {missing}")
    table = images()
    undrawn = sorted(i for i in uixml.USED_IMAGES if i not in table)
    if undrawn:
        raise SystemExit(f"images named but not drawn: {undrawn}")
    for _, (file, svg) in table.items():
        target = os.path.join(SKIN, file)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "w", encoding="utf-8") as f:
            f.write(svg if svg.endswith("\n") else svg + "\n")
    write_texts(os.path.join(SKIN, "lan_en.xml"))
    write_resources(os.path.join(SKIN, "res.xml"), table)
    print(f"skin: {len(LAYOUTS)} layouts, {total} named controls, {len(TEXTS)} texts, {len(table)} images")


if __name__ == "__main__":
    main()
