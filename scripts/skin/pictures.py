"""Device pictures and icons of the skin, drawn as SVG, with the spots the layouts place controls on.

The layouts put their LED and key buttons at exactly the coordinates used here, so picture and controls
always agree.
"""

ACCENT = "#19b2e6"
ACCENT_DARK = "#0c6f93"

# ---------------------------------------------------------------------------------------------- mouse
MOUSE_W, MOUSE_H = 170, 300

MOUSE_BODY = ("M85,8 C130,8 150,40 152,90 L158,190 C162,255 132,293 85,293 "
              "C38,293 8,255 12,190 L18,90 C20,40 40,8 85,8 Z")

# Button shapes in mouse coordinates: (image base name, path, bounding box x, y, w, h).
MOUSE_BUTTONS = [
    ("key_left", "M74,11 C44,14 25,36 21,88 L19,120 L74,120 Z", (18, 10, 57, 111)),
    ("key_wheel", "M78,26 h14 a7,7 0 0 1 7,7 v30 a7,7 0 0 1 -7,7 h-14 a7,7 0 0 1 -7,-7 v-30 a7,7 0 0 1 7,-7 Z",
     (70, 25, 30, 46)),
    ("key_right", "M96,11 C126,14 145,36 149,88 L151,120 L96,120 Z", (95, 10, 57, 111)),
    ("key_forward", "M150,128 h6 a6,6 0 0 1 6,6 v26 a6,6 0 0 1 -6,6 h-6 Z", (149, 127, 14, 40)),
    ("key_back", "M151,172 h6 a6,6 0 0 1 6,6 v26 a6,6 0 0 1 -6,6 h-6 Z", (150, 171, 14, 40)),
    ("key_dpi", "M79,78 h12 a3,3 0 0 1 3,3 v9 a3,3 0 0 1 -3,3 h-12 a3,3 0 0 1 -3,-3 v-9 a3,3 0 0 1 3,-3 Z",
     (75, 77, 20, 17)),
    ("key_dpi1", "M79,98 h12 a3,3 0 0 1 3,3 v9 a3,3 0 0 1 -3,3 h-12 a3,3 0 0 1 -3,-3 v-9 a3,3 0 0 1 3,-3 Z",
     (75, 97, 20, 17)),
    ("key_forward1", "M20,128 h-6 a6,6 0 0 0 -6,6 v26 a6,6 0 0 0 6,6 h6 Z", (7, 127, 14, 40)),
    ("key_back1", "M19,172 h-6 a6,6 0 0 0 -6,6 v26 a6,6 0 0 0 6,6 h6 Z", (6, 171, 14, 40)),
]

# The hover images of the buttons as the program names them (index → (down, normal)).
MOUSE_BUTTON_IMAGES = [
    ("ms/key_left_down.png", "ms/key_left_normal.png"),
    ("ms/key_wheel_down.png", "ms/key_wheel_normal.png"),
    ("ms/key_right_down.png", "ms/key_right_normal.png"),
    ("ms/key_forward_down.png", "ms/key_forward_normal.png"),
    ("ms/key_back_down.png", "ms/key_back_normal.png"),
    ("ms/key_dpi_down.png", "ms/key_dpi_normal.png"),
    ("ms/key_dpi1_down.png", "ms/key_dpi1_normal.png"),
    ("ms/key_forward_down1.png", "ms/key_forward_normal1.png"),
    ("ms/key_back_down1.png", "ms/key_back_normal1.png"),
]


def _mouse_led_spots():
    """Centre and size of the 20 LED spots: 0-6 left flank, 7-13 right flank (front to back),
    14-17 the palm strip, 18 the DPI indicator, 19 the wheel."""
    spots = []
    ys = [136, 158, 180, 202, 224, 246, 266]
    lx = [27, 25, 24, 24, 25, 28, 34]
    for y, x in zip(ys, lx):
        spots.append((x, y, 7, 16))
    for y, x in zip(ys, lx):
        spots.append((MOUSE_W - x, y, 7, 16))
    for y in (204, 224, 244, 262):
        spots.append((85, y, 16, 8))
    spots.append((85, 124, 14, 6))
    spots.append((85, 48, 6, 30))
    return spots


MOUSE_LEDS = _mouse_led_spots()


def mouse_svg(leds=True):
    parts = [
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{MOUSE_W}" height="{MOUSE_H}" '
        f'viewBox="0 0 {MOUSE_W} {MOUSE_H}">',
        "<defs>",
        '<linearGradient id="body" x1="0" y1="0" x2="1" y2="1">'
        '<stop offset="0" stop-color="#3a3f4a"/><stop offset="0.55" stop-color="#23262e"/>'
        '<stop offset="1" stop-color="#15171c"/></linearGradient>',
        '<linearGradient id="btn" x1="0" y1="0" x2="0" y2="1">'
        '<stop offset="0" stop-color="#454b57"/><stop offset="1" stop-color="#2b2f38"/></linearGradient>',
        '<radialGradient id="shine" cx="0.35" cy="0.25" r="0.7">'
        '<stop offset="0" stop-color="#ffffff" stop-opacity="0.10"/>'
        '<stop offset="1" stop-color="#ffffff" stop-opacity="0"/></radialGradient>',
        "</defs>",
        f'<path d="{MOUSE_BODY}" fill="#0b0c0f" transform="translate(2,4)" opacity="0.6"/>',
        f'<path d="{MOUSE_BODY}" fill="url(#body)" stroke="#4a505c" stroke-width="1.2"/>',
    ]
    for name, path, _ in MOUSE_BUTTONS:
        fill = "#1b1d23" if name == "key_wheel" else "url(#btn)"
        parts.append(f'<path d="{path}" fill="{fill}" stroke="#565d6b" stroke-width="1"/>')
    # Wheel ribs and the palm logo.
    for y in range(31, 68, 5):
        parts.append(f'<line x1="75" y1="{y}" x2="95" y2="{y}" stroke="#2f333c" stroke-width="1.5"/>')
    parts.append('<path d="M70,150 L100,150 L74,178 L100,178" fill="none" stroke="#4d5462" '
                 'stroke-width="3" stroke-linejoin="round"/>')
    parts.append(f'<path d="{MOUSE_BODY}" fill="url(#shine)"/>')
    if leds:
        for cx, cy, w, h in MOUSE_LEDS:
            parts.append(f'<rect x="{cx - w / 2}" y="{cy - h / 2}" width="{w}" height="{h}" rx="{min(w, h) / 2}" '
                         'fill="#2a3440" stroke="#3e4a58" stroke-width="0.8"/>')
    parts.append("</svg>")
    return "\n".join(parts)


# The button page shows the mouse with leader lines to the nine button labels.
KEYS_CANVAS = (340, 360)
KEYS_MOUSE_AT = (85, 40)
KEY_LABEL_W, KEY_LABEL_H = 84, 26
# index → (label x, label y, anchor in mouse coordinates)
KEY_LABELS = {
    0: (0, 40, (46, 70)),
    1: (0, 100, (85, 48)),
    7: (0, 190, (14, 147)),
    8: (0, 250, (13, 191)),
    2: (256, 40, (124, 70)),
    5: (256, 100, (85, 85)),
    6: (256, 145, (85, 105)),
    3: (256, 190, (156, 147)),
    4: (256, 250, (157, 191)),
}


def mouse_keys_svg():
    cw, ch = KEYS_CANVAS
    ox, oy = KEYS_MOUSE_AT
    body = mouse_svg(leds=False)
    inner = body.split(">", 1)[1].rsplit("</svg>", 1)[0]
    parts = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{cw}" height="{ch}" viewBox="0 0 {cw} {ch}">',
             f'<g transform="translate({ox},{oy})">{inner}</g>']
    for index, (lx, ly, (ax, ay)) in KEY_LABELS.items():
        ax, ay = ax + ox, ay + oy
        left = lx < cw / 2
        sx = lx + KEY_LABEL_W + 2 if left else lx - 2
        sy = ly + KEY_LABEL_H / 2
        bend = sx + 10 if left else sx - 10
        parts.append(f'<polyline points="{sx},{sy} {bend},{sy} {ax},{ay}" fill="none" stroke="#56606f" '
                     'stroke-width="1"/>')
        parts.append(f'<circle cx="{ax}" cy="{ay}" r="2.6" fill="{ACCENT}"/>')
    parts.append("</svg>")
    return "\n".join(parts)


def button_overlay_svg(index, down):
    name, path, (bx, by, bw, bh) = MOUSE_BUTTONS[index]
    head = (f'<svg xmlns="http://www.w3.org/2000/svg" width="{bw}" height="{bh}" '
            f'viewBox="{bx} {by} {bw} {bh}">')
    if down:
        body = (f'<path d="{path}" fill="{ACCENT}" fill-opacity="0.42" stroke="{ACCENT}" '
                'stroke-width="1.5"/>')
    else:
        body = f'<path d="{path}" fill="#ffffff" fill-opacity="0.0" stroke="none"/>'
    return head + body + "</svg>"


# ------------------------------------------------------------------------------------------- mouse pad
PAD_W, PAD_H = 568, 150


def _pad_led_spots():
    """0 bottom centre; 1-2 bottom left, 3-5 up the left edge; 6-10 along the top; 11-12 down the right
    edge, 13-14 bottom right (pairs mirror each other so a wave rises from the bottom centre)."""
    horizontal = (16, 6)
    vertical = (6, 16)
    spots = {
        0: (284, 141) + horizontal,
        1: (160, 141) + horizontal,
        2: (48, 141) + horizontal,
        3: (13, 104) + vertical,
        4: (13, 66) + vertical,
        5: (13, 28) + vertical,
        6: (64, 9) + horizontal,
        7: (174, 9) + horizontal,
        8: (284, 9) + horizontal,
        9: (394, 9) + horizontal,
        10: (504, 9) + horizontal,
        11: (555, 46) + vertical,
        12: (555, 100) + vertical,
        13: (520, 141) + horizontal,
        14: (408, 141) + horizontal,
    }
    return [spots[i] for i in range(15)]


PAD_LEDS = _pad_led_spots()


def pad_svg():
    parts = [
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{PAD_W}" height="{PAD_H}" viewBox="0 0 {PAD_W} {PAD_H}">',
        "<defs>",
        '<linearGradient id="cloth" x1="0" y1="0" x2="1" y2="1">'
        '<stop offset="0" stop-color="#262a32"/><stop offset="1" stop-color="#17191e"/></linearGradient>',
        "</defs>",
        f'<rect x="2" y="2" width="{PAD_W - 4}" height="{PAD_H - 4}" rx="16" fill="#0d0e11" stroke="#3b414c" '
        'stroke-width="1.5"/>',
        f'<rect x="8" y="8" width="{PAD_W - 16}" height="{PAD_H - 16}" rx="12" fill="none" stroke="#2c333e" '
        'stroke-width="8"/>',
        f'<rect x="14" y="14" width="{PAD_W - 28}" height="{PAD_H - 28}" rx="8" fill="url(#cloth)"/>',
        # Cable hub at the top right corner and the woven logo.
        '<rect x="528" y="2" width="30" height="14" rx="4" fill="#2b2f38" stroke="#4a505c"/>',
        '<path d="M262,62 L306,62 L266,92 L306,92" fill="none" stroke="#3a404b" stroke-width="5" '
        'stroke-linejoin="round"/>',
        '<text x="284" y="114" font-family="DejaVu Sans" font-size="10" letter-spacing="4" fill="#3a404b" '
        'text-anchor="middle">ZEPHRAN</text>',
    ]
    for cx, cy, w, h in PAD_LEDS:
        parts.append(f'<rect x="{cx - w / 2}" y="{cy - h / 2}" width="{w}" height="{h}" rx="3" fill="#2a3440" '
                     'stroke="#3e4a58" stroke-width="0.8"/>')
    parts.append("</svg>")
    return "\n".join(parts)


# -------------------------------------------------------------------------------------------- keyboard
KB_UNIT = 24
KB_ORIGIN = (8, 12)
KB_W, KB_H = 568, 180

# (key index, text id, x, y, width, height) in key units; rows follow the key index order of the
# keyboard's key columns (function row, number row, top row, home row, shift row, bottom row).
_K = "keyboard_key_"
KEYBOARD_KEYS = (
    [(0, _K + "Esc", 0, 0, 1, 1)]
    + [(i, f"{_K}F{i}", 1 + i, 0, 1, 1) for i in range(1, 5)]
    + [(i, f"{_K}F{i}", 1.5 + i, 0, 1, 1) for i in range(5, 9)]
    + [(i, f"{_K}F{i}", 2 + i, 0, 1, 1) for i in range(9, 13)]
    + [(13, _K + "Print Scr", 15.5, 0, 1, 1), (14, _K + "Scroll Lock", 16.5, 0, 1, 1),
       (15, _K + "Pause", 17.5, 0, 1, 1)]
    + [(21, _K + "`", 0, 1.5, 1, 1)]
    + [(22 + i, _K + "1234567890"[i], 1 + i, 1.5, 1, 1) for i in range(10)]
    + [(32, _K + "-", 11, 1.5, 1, 1), (33, _K + "=", 12, 1.5, 1, 1), (34, _K + "BackSpace", 13, 1.5, 2, 1),
       (35, _K + "Insert", 15.5, 1.5, 1, 1), (36, _K + "Home", 16.5, 1.5, 1, 1),
       (37, _K + "Page Up", 17.5, 1.5, 1, 1), (38, _K + "Num Lock", 19, 1.5, 1, 1),
       (39, _K + "Num /", 20, 1.5, 1, 1), (40, _K + "Num *", 21, 1.5, 1, 1), (41, _K + "Num -", 22, 1.5, 1, 1)]
    + [(42, _K + "Tab", 0, 2.5, 1.5, 1)]
    + [(43 + i, _K + "QWERTYUIOP"[i], 1.5 + i, 2.5, 1, 1) for i in range(10)]
    + [(53, _K + "[", 11.5, 2.5, 1, 1), (54, _K + "]", 12.5, 2.5, 1, 1), (55, _K + "xiegang", 13.5, 2.5, 1.5, 1),
       (56, _K + "Delete", 15.5, 2.5, 1, 1), (57, _K + "End", 16.5, 2.5, 1, 1),
       (58, _K + "Page Down", 17.5, 2.5, 1, 1), (59, _K + "Num 7", 19, 2.5, 1, 1),
       (60, _K + "Num 8", 20, 2.5, 1, 1), (61, _K + "Num 9", 21, 2.5, 1, 1), (119, _K + "Num +", 22, 2.5, 1, 2)]
    + [(63, _K + "Caplk", 0, 3.5, 1.75, 1)]
    + [(64 + i, _K + "ASDFGHJKL"[i], 1.75 + i, 3.5, 1, 1) for i in range(9)]
    + [(73, _K + ";", 10.75, 3.5, 1, 1), (74, _K + "'", 11.75, 3.5, 1, 1), (75, _K + "Enter", 12.75, 3.5, 2.25, 1),
       (76, _K + "Num 4", 19, 3.5, 1, 1), (77, _K + "Num 5", 20, 3.5, 1, 1), (78, _K + "Num 6", 21, 3.5, 1, 1)]
    + [(84, _K + "LShift", 0, 4.5, 2.25, 1)]
    + [(85 + i, _K + "ZXCVBNM"[i], 2.25 + i, 4.5, 1, 1) for i in range(7)]
    + [(92, _K + "<", 9.25, 4.5, 1, 1), (93, _K + ".", 10.25, 4.5, 1, 1), (94, _K + "/", 11.25, 4.5, 1, 1),
       (95, _K + "RShift", 12.25, 4.5, 2.75, 1), (96, _K + "Up", 16.5, 4.5, 1, 1),
       (97, _K + "Num 1", 19, 4.5, 1, 1), (98, _K + "Num 2", 20, 4.5, 1, 1), (99, _K + "Num 3", 21, 4.5, 1, 1),
       (118, _K + "Num Enter", 22, 4.5, 1, 2)]
    + [(105, _K + "LCtrl", 0, 5.5, 1.25, 1), (106, _K + "LWin", 1.25, 5.5, 1.25, 1),
       (107, _K + "LAlt", 2.5, 5.5, 1.25, 1), (108, _K + "Space", 3.75, 5.5, 6.25, 1),
       (109, _K + "RAlt", 10, 5.5, 1.25, 1), (110, _K + "RWin", 11.25, 5.5, 1.25, 1),
       (111, _K + "App", 12.5, 5.5, 1.25, 1), (112, _K + "RCtrl", 13.75, 5.5, 1.25, 1),
       (113, _K + "Left", 15.5, 5.5, 1, 1), (114, _K + "Down", 16.5, 5.5, 1, 1),
       (115, _K + "Right", 17.5, 5.5, 1, 1), (116, _K + "Num 0", 19, 5.5, 2, 1),
       (117, _K + "Decimal", 21, 5.5, 1, 1)]
)


def key_rect(x, y, w, h):
    """Pixel rectangle of a key cap inside the keyboard picture."""
    ox, oy = KB_ORIGIN
    u = KB_UNIT
    return (round(ox + x * u + 1), round(oy + y * u + 1), round(w * u - 2), round(h * u - 2))


def keyboard_svg():
    parts = [
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{KB_W}" height="{KB_H}" viewBox="0 0 {KB_W} {KB_H}">',
        "<defs>",
        '<linearGradient id="case" x1="0" y1="0" x2="0" y2="1">'
        '<stop offset="0" stop-color="#2d3139"/><stop offset="1" stop-color="#191b20"/></linearGradient>',
        '<linearGradient id="cap" x1="0" y1="0" x2="0" y2="1">'
        '<stop offset="0" stop-color="#30343d"/><stop offset="1" stop-color="#24272e"/></linearGradient>',
        "</defs>",
        f'<rect x="3" y="5" width="{KB_W - 6}" height="{KB_H - 6}" rx="12" fill="#0a0b0d" opacity="0.7"/>',
        f'<rect x="2" y="2" width="{KB_W - 4}" height="{KB_H - 6}" rx="12" fill="url(#case)" stroke="#484e5a" '
        'stroke-width="1.2"/>',
        f'<rect x="10" y="8" width="{KB_W - 20}" height="{KB_H - 18}" rx="6" fill="#14161a"/>',
    ]
    for _, _, x, y, w, h in KEYBOARD_KEYS:
        rx, ry, rw, rh = key_rect(x, y, w, h)
        parts.append(f'<rect x="{rx}" y="{ry}" width="{rw}" height="{rh}" rx="3" fill="url(#cap)" '
                     'stroke="#3d424d" stroke-width="0.8"/>')
        parts.append(f'<rect x="{rx + 2}" y="{ry + 1.5}" width="{rw - 4}" height="{rh - 5}" rx="2" fill="#363b45" '
                     'opacity="0.55"/>')
    parts.append("</svg>")
    return "\n".join(parts)


# ----------------------------------------------------------------------------------------------- misc
def led_light_svg():
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">'
            '<defs><radialGradient id="g" cx="0.5" cy="0.5" r="0.5">'
            '<stop offset="0" stop-color="#ffffff"/><stop offset="0.45" stop-color="#ffffff" stop-opacity="0.9"/>'
            '<stop offset="1" stop-color="#ffffff" stop-opacity="0"/></radialGradient></defs>'
            '<rect width="32" height="32" rx="10" fill="url(#g)"/></svg>')


def key_light_svg():
    """The light of a key: a bright rim and a faint wash, so the legend under it stays readable."""
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="40" height="40" viewBox="0 0 40 40">'
            '<defs><linearGradient id="g" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="#ffffff" stop-opacity="0.10"/>'
            '<stop offset="1" stop-color="#ffffff" stop-opacity="0.30"/></linearGradient></defs>'
            '<rect x="1" y="1" width="38" height="38" rx="5" fill="url(#g)"/>'
            '<rect x="2" y="2" width="36" height="36" rx="4.5" fill="none" stroke="#ffffff" stroke-opacity="0.95" '
            'stroke-width="3"/></svg>')


def key_set_svg():
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="40" height="40" viewBox="0 0 40 40">'
            f'<rect x="1" y="1" width="38" height="38" rx="5" fill="none" stroke="{ACCENT}" stroke-width="3"/>'
            f'<circle cx="33" cy="7" r="4" fill="{ACCENT}"/></svg>')


def app_icon_svg(size=256):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" viewBox="0 0 64 64">'
            '<defs><linearGradient id="bg" x1="0" y1="0" x2="1" y2="1">'
            '<stop offset="0" stop-color="#2a2f38"/><stop offset="1" stop-color="#101216"/></linearGradient>'
            f'<linearGradient id="ac" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="{ACCENT}"/>'
            f'<stop offset="1" stop-color="{ACCENT_DARK}"/></linearGradient></defs>'
            '<rect x="2" y="2" width="60" height="60" rx="14" fill="url(#bg)" stroke="#3d434e" stroke-width="1.5"/>'
            '<path d="M32,10 C44,10 48,18 48,28 L48,40 C48,50 42,56 32,56 C22,56 16,50 16,40 L16,28 '
            'C16,18 20,10 32,10 Z" fill="none" stroke="url(#ac)" stroke-width="3.5"/>'
            '<line x1="32" y1="12" x2="32" y2="28" stroke="url(#ac)" stroke-width="3"/>'
            '<path d="M24,34 L40,34 L26,46 L40,46" fill="none" stroke="#e6edf5" stroke-width="3" '
            'stroke-linejoin="round" stroke-linecap="round"/></svg>')


def tray_icon_svg():
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="22" height="22" viewBox="0 0 22 22">'
            '<path d="M11,2 C15.5,2 17,5 17,9 L17,14 C17,18 14.5,20 11,20 C7.5,20 5,18 5,14 L5,9 C5,5 6.5,2 11,2 Z" '
            f'fill="#1b1e24" stroke="{ACCENT}" stroke-width="1.8"/>'
            f'<line x1="11" y1="3" x2="11" y2="9" stroke="{ACCENT}" stroke-width="1.6"/>'
            '<path d="M8,11.5 L14,11.5 L8.5,16 L14,16" fill="none" stroke="#e6edf5" stroke-width="1.4" '
            'stroke-linejoin="round"/></svg>')


def background_svg(c0, c1, c2, accent_opacity=0.10):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="800" height="572" viewBox="0 0 800 572">'
            '<defs><linearGradient id="b" x1="0" y1="0" x2="1" y2="1">'
            f'<stop offset="0" stop-color="{c0}"/><stop offset="0.6" stop-color="{c1}"/>'
            f'<stop offset="1" stop-color="{c2}"/></linearGradient>'
            '<radialGradient id="glow" cx="0.85" cy="0.05" r="0.6">'
            f'<stop offset="0" stop-color="{ACCENT}" stop-opacity="{accent_opacity}"/>'
            f'<stop offset="1" stop-color="{ACCENT}" stop-opacity="0"/></radialGradient></defs>'
            '<rect width="800" height="572" fill="url(#b)"/><rect width="800" height="572" fill="url(#glow)"/>'
            '<path d="M0,520 L800,380 L800,572 L0,572 Z" fill="#ffffff" fill-opacity="0.015"/></svg>')


def _lighter(colour, factor):
    r, g, b = (int(colour[i:i + 2], 16) for i in (1, 3, 5))
    return "#%02x%02x%02x" % tuple(min(255, round(v * factor + 18)) for v in (r, g, b))


def background_thumb_svg(c0, c1, c2, accent_opacity=0.10):
    """The skin window's thumbnail of a background: its colours lifted so that four dark backgrounds can be
    told apart at 60 pixels, under the outline of the window they will fill."""
    c0, c1, c2 = (_lighter(c, 2.6) for c in (c0, c1, c2))
    glow = min(0.9, accent_opacity * 3.5)
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="120" height="88" viewBox="0 0 120 88">'
            '<defs><linearGradient id="b" x1="0" y1="0" x2="1" y2="1">'
            f'<stop offset="0" stop-color="{c0}"/><stop offset="0.6" stop-color="{c1}"/>'
            f'<stop offset="1" stop-color="{c2}"/></linearGradient>'
            '<radialGradient id="glow" cx="0.85" cy="0.05" r="0.7">'
            f'<stop offset="0" stop-color="{ACCENT}" stop-opacity="{glow:.2f}"/>'
            f'<stop offset="1" stop-color="{ACCENT}" stop-opacity="0"/></radialGradient></defs>'
            '<rect width="120" height="88" fill="url(#b)"/><rect width="120" height="88" fill="url(#glow)"/>'
            '<rect width="120" height="12" fill="#ffffff" fill-opacity="0.10"/>'
            f'<rect x="48" y="10" width="18" height="2" fill="{ACCENT}"/>'
            '<rect y="12" width="30" height="76" fill="#ffffff" fill-opacity="0.06"/>'
            '<rect x="38" y="20" width="74" height="26" rx="3" fill="#ffffff" fill-opacity="0.07"/>'
            '<rect x="38" y="52" width="74" height="28" rx="3" fill="#ffffff" fill-opacity="0.07"/></svg>')


def arrow_top_svg(colour):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" viewBox="0 0 24 24">'
            f'<line x1="6" y1="5" x2="18" y2="5" stroke="{colour}" stroke-width="2" stroke-linecap="round"/>'
            f'<path d="M12,19 L12,9 M7.5,13.5 L12,9 L16.5,13.5" fill="none" stroke="{colour}" stroke-width="2" '
            'stroke-linecap="round" stroke-linejoin="round"/></svg>')


def combo_arrow_svg():
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="10" height="6" viewBox="0 0 10 6">'
            '<path d="M1,1 L5,5 L9,1" fill="none" stroke="#a3aab6" stroke-width="1.6" stroke-linecap="round" '
            'stroke-linejoin="round"/></svg>')


def check_mark_svg():
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="14" height="14" viewBox="0 0 14 14">'
            '<path d="M3,7.2 L6,10 L11,4" fill="none" stroke="#0b0d10" stroke-width="2" stroke-linecap="round" '
            'stroke-linejoin="round"/></svg>')
