"""Building blocks shared by the layouts: labels, buttons, options, edits, sliders, swatches, the profile
column and the profile bars of the pages."""

from uixml import w, lay, stretch

PRESET_COLOURS = [
    0xFFFF0000, 0xFF00F6FF, 0xFF6CFF00, 0xFF7E00FF, 0xFF008AFF, 0xFF2400FF, 0xFFADFE00, 0xFFFE5400,
    0xFFFE8300, 0xFF8300E7, 0xFFB700AC, 0xFFFEB300, 0xFFFEF500, 0xFFFF0000, 0xFFFF00F6, 0xFF21B309,
    0xFF48B1FA, 0xFFFA48A4, 0xFFFDFDFC, 0xFF4900E7, 0xFFFFC480, 0xFF000000, 0xFF1B48A3, 0xFF1B1A77,
    0xFF4877A3, 0xFF76A348, 0xFFACD55B, 0xFF7576D2, 0xFF7675FF, 0xFF4776A4,
]
assert len(PRESET_COLOURS) == 30

START_COLOUR = 0xFF0199CB


def argb_hex(argb):
    return f"#{argb:08X}"


def css_rgb(argb):
    return f"#{argb & 0xFFFFFF:06X}"


def label(tid=None, name=None, geom=None, style="label", text=None, **kw):
    return w("QLabel", name, geom, tid=tid, text=text, style=style, **kw)


def heading(tid, name=None, geom=None, **kw):
    return label(tid, name, geom, style="heading", **kw)


# Controls take the keyboard focus from Tab only: a mouse click leaves no focus ring behind, and the
# keyboard reaches every control in the order the layout lists them.
def button(name, tid=None, geom=None, style="button", text=None, tip=None, **kw):
    return w("QPushButton", name, geom, tid=tid, text=text, tip=tip, style=style,
             focusPolicy="TabFocus", **kw)


def option(name, tid=None, geom=None, style="option", text=None, exclusive=True, checked=False, tip=None, **kw):
    """A two-state option shown as a toggle button; exclusive within its parent when asked."""
    return w("QPushButton", name, geom, tid=tid, text=text, tip=tip, style=style, checkable=True,
             autoExclusive=exclusive, checked=checked, focusPolicy="TabFocus", **kw)


def check(name, tid=None, geom=None, style="check", text=None, checked=False, **kw):
    return w("QCheckBox", name, geom, tid=tid, text=text, style=style, checked=checked, focusPolicy="TabFocus", **kw)


def edit(name, geom=None, text="", style="edit", max_length=None, read_only=False, placeholder=None, **kw):
    extra = {}
    if max_length:
        extra["maxLength"] = max_length
    if read_only:
        extra["readOnly"] = True
    if placeholder:
        extra["placeholderText"] = placeholder
    return w("QLineEdit", name, geom, text=text, style=style, **extra, **kw)


def number_edit(name, geom=None, text="0", digits=5, **kw):
    return edit(name, geom, text=text, style="number_edit", max_length=digits, alignment="Qt::AlignCenter", **kw)


def combo(name, items=(), geom=None, style="combo", **kw):
    return w("QComboBox", name, geom, items=list(items), style=style, focusPolicy="TabFocus", **kw)


def slider(name, lo, hi, value=0, geom=None, style="slider", page=1, **kw):
    return w("QSlider", name, geom, orientation="h", minimum=lo, maximum=hi, value=value, pageStep=page,
             style=style, focusPolicy="TabFocus", **kw)


def frame(name=None, geom=None, style="panel", **kw):
    return w("QFrame", name, geom, style=style, **kw)


def widget(name=None, geom=None, **kw):
    return w("QWidget", name, geom, **kw)


def swatch(name, argb, size=18, tip="preset_colour_tip"):
    css = css_rgb(argb)
    return w("QPushButton", name, None, style="swatch", tip=tip, fixed=(size, size), focusPolicy="NoFocus",
             dyn={"zqBkColor": ("uint", argb)})


def swatch_grid(prefix, columns, size=18, spacing=4):
    items = []
    for n, argb in enumerate(PRESET_COLOURS):
        items.append((swatch(f"{prefix}{n}", argb, size), n // columns, n % columns))
    return lay("g", items, spacing)


def colour_button(name, argb=START_COLOUR, size=(40, 40), tip="colour_pick_tip"):
    return w("QPushButton", name, None, style="colour_show", tip=tip, fixed=size, focusPolicy="NoFocus",
             dyn={"zqBkColor": ("uint", argb)})


# ------------------------------------------------------------------------------------ profile controls
OPS = [("add", "pro_add_text"), ("sub", "pro_sub_text"), ("copy", "pro_copy_text"),
       ("import", "pro_import_text"), ("export", "pro_export_text"), ("reset", "pro_reset_text")]

# Categories with a button that cancels the application link.
CANCEL_LINK = {("ms", "device"), ("kb", "device"), ("kb", "deng")}


def ops_grid(prefix, cat, columns):
    items = []
    for n, (op, tid) in enumerate(OPS):
        items.append((button(f"{prefix}_pro_{cat}_{op}_btn", tid, style="small_button", fixedHeight=24),
                      n // columns, n % columns))
    return lay("g", items, 4)


def name_and_link(prefix, cat, name_label=None):
    """Name edit with its save button, the link check with its choose button and the link name row."""
    p = f"{prefix}_{cat}_profile"
    row_kids = [edit(f"{p}_link_edit", text=" ", read_only=True, style="link_edit")]
    if (prefix, cat) in CANCEL_LINK:
        cancel = f"{prefix}_{cat}_cancle_link_btn"
        row_kids.append(button(cancel, text="\u2715", tip="profile_link_cancel_tip", style="icon_button",
                               fixed=(24, 24)))
    return [
        label("profile_name_text", name_label, style="caption", fixedHeight=16),
        lay("h", [edit(f"{p}_name_edit", max_length=64),
                  button(f"{p}_edit_save_btn", text="\u2713", tip="profile_save_name_tip", style="icon_button",
                         fixed=(26, 26))], 4),
        lay("h", [check(f"{p}_link_check", "profile_link_text"), stretch(),
                  button(f"{p}_link_btn", text="\u2026", tip="profile_link_choose_tip", style="icon_button",
                         fixed=(26, 24))], 4),
        widget(f"{p}_link_name_hor", visible=False, lay=lay("h", row_kids, 4)),
    ]


def profile_column(prefix, main_cat, list_name):
    """The profile column beside the device page: list, actions, name and link of the main category."""
    kids = [
        frame(None, (0, 0, 200, 520), style="profile_column"),
        heading("profiles_text", None, (16, 12, 110, 26)),
        button(f"{prefix}_profile_fun_spread_btn", None, (156, 13, 28, 24), style="icon_button",
               text="\u22EF", tip="profile_more_tip"),
    ]
    list_widget = w("QListWidget", list_name, None, style="profile_list", hscroll="ScrollBarAlwaysOff",
                    focusPolicy="TabFocus")
    if prefix == "kb":
        kids.append(widget("kb_profile_select_tab", (16, 44, 168, 152), lay=lay("v", [list_widget])))
    else:
        list_widget["geom"] = (16, 44, 168, 152)
        kids.append(list_widget)
    if prefix == "mp":
        kids.append(button("mp_pro_deng_edit_btn", None, (124, 13, 28, 24), style="icon_button", text="\u270E",
                           tip="profile_edit_tip"))
    edit_name = f"{prefix}_{main_cat}_profile_edit"
    kids.append(frame(edit_name, (16, 206, 168, 124), style="sub_panel",
                      lay=lay("v", name_and_link(prefix, main_cat, "label_text" if prefix == "ms" else None)
                              + [stretch()], 4, (8, 8, 8, 6))))
    return kids


def profile_spread(prefix, cat):
    """The drop-down of list actions under the column heading (hidden until its button is pressed)."""
    return frame(f"{prefix}_profile_fun_spead_tab", (16, 40, 168, 66), style="popup_panel", visible=False,
                 lay=lay("v", [ops_grid(prefix, cat, 3)], 4, (6, 6, 6, 6)))


def profile_bar(prefix, cat, tid, x, y, width=330):
    """A page's own profile row (lighting or key profiles): label, list, and the button of its panel."""
    return frame(None, (x, y, width, 30), style="bar", lay=lay("h", [
        label(tid, style="caption"),
        combo(f"{prefix}_{cat}_profile_combo", fixedWidth=150),
        button(f"{prefix}_pro_{cat}_edit_btn", text="\u270E", tip="profile_edit_tip", style="icon_button",
               fixed=(28, 26)),
        stretch(),
    ], 8, (0, 0, 0, 0)))


def profile_panel(prefix, cat, x, y):
    """The panel a page's profile row opens: list actions, name and application link."""
    return frame(f"{prefix}_{cat}_profile_edit", (x, y, 330, 150), style="popup_panel", visible=False,
                 lay=lay("v", [ops_grid(prefix, cat, 6)] + name_and_link(prefix, cat) + [stretch()], 4,
                         (8, 8, 8, 8)))
