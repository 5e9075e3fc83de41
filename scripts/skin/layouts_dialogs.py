"""Layouts of the small windows: colour palette dialog, message box, skin window, about window, tray menu."""

from uixml import w, lay, stretch
from widgets import button, option, label, frame, widget, swatch_grid, colour_button, START_COLOUR
import pictures as pic


def dialog_caption(width, title_name, tid, close_style="close_button"):
    return frame(None, (0, 0, width, 40), style="dialog_caption", kids=[
        label(tid, title_name, (16, 0, width - 70, 40), style="dialog_title"),
        button("closebtn", None, (width - 40, 6, 28, 28), style=close_style, text="\u2715", tip="dialog_close_tip"),
    ])


def palette_dialog():
    return w("QWidget", "GmPalletDialog_root", (0, 0, 360, 322), style="dialog", windowTitle="ZEPHRAN Q70", kids=[
        dialog_caption(360, "palette_title", "palette_title_text"),
        w("ColourPalette", "Pallet", (16, 52, 190, 190), style="palette"),
        dict(colour_button("color_show_btn", START_COLOUR, size=(122, 40)), geom=(222, 52, 122, 40)),
        label("presets_text", None, (222, 100, 122, 18), style="caption"),
        widget("palette_swatches", (222, 122, 122, 145), lay=swatch_grid("ms_dpi_color_png_", 5, 20, 5)),
        widget("Pallet_BTN_OK", (16, 276, 328, 34), lay=lay("h", [
            stretch(),
            button("Pallet_BTN_CANCEL", "cancel_text", style="secondary_button", fixed=(96, 30)),
            button("okbtn", "ok_text", style="primary_button", fixed=(96, 30)),
        ], 8)),
    ])


def message_box():
    return w("QWidget", "msg_root", (0, 0, 380, 200), style="dialog", windowTitle="msgwnd", kids=[
        frame(None, (0, 0, 380, 40), style="dialog_caption", kids=[
            label("msg_title_text", "MessageTitle", (16, 0, 300, 40), style="dialog_title"),
            button("closebtn", None, (340, 6, 28, 28), style="close_button", text="\u2715", tip="dialog_close_tip"),
        ]),
        label(None, "msg_icon", (20, 58, 36, 36), style="msg_icon", text="i", alignment="Qt::AlignCenter"),
        label(None, "MessageText", (70, 52, 292, 88), style="message", wordWrap=True,
              alignment="Qt::AlignLeft|Qt::AlignVCenter"),
        button("cancel_btn", "cancel_text", (160, 152, 96, 32), style="secondary_button"),
        button("confirm_btn", "ok_text", (268, 152, 96, 32), style="primary_button"),
    ])


SKIN_PICTURES = [("common/background.png", "skin_picture_1_tip"), ("common/background_2.png", "skin_picture_2_tip"),
                 ("common/background_3.png", "skin_picture_3_tip"), ("common/background_4.png", "skin_picture_4_tip")]
SKIN_COLOURS = [0xFF15171C, 0xFF1B2230, 0xFF22191F, 0xFF17211B, 0xFF2A2D34, 0xFF0F2A36, 0xFF2B1F12, 0xFF241A33]


def skin_window():
    pictures = []
    for n, (image, tip) in enumerate(SKIN_PICTURES):
        # The button shows a brighter thumbnail; what it chooses is the background itself.
        pictures.append((w("QPushButton", "skin_image_btn", None, style="skin_thumb", tip=tip, fixed=(60, 44),
                           focusPolicy="TabFocus", bkImage=f"common/background_thumb_{n + 1}.png",
                           dyn={"userData": image}), 0, n))
    pictures.append((button("skin_Custom", "skin_own_text", style="small_button", fixedHeight=26), 1, 0, 1, 2))
    pictures.append((button("skin_reset", "skin_reset_text", style="small_button", fixedHeight=26), 1, 2, 1, 2))
    colours = []
    for n, argb in enumerate(SKIN_COLOURS):
        colours.append((w("QPushButton", "skin_color_btn", None, style="skin_thumb", fixed=(60, 36),
                          tip=f"skin_colour_{n + 1}_tip", focusPolicy="TabFocus",
                          dyn={"zqBkColor": ("uint", argb)}), n // 4, n % 4))
    return w("QWidget", "skin_root", (0, 0, 300, 196), style="popup_window", kids=[
        widget(None, (12, 10, 276, 30), lay=lay("h", [
            option("skin_image", "skin_pictures_text", style="option_tab", checked=True, fixed=(96, 28)),
            option("skin_color", "skin_colours_text", style="option_tab", fixed=(96, 28)),
            stretch()], 4)),
        w("QStackedWidget", "skin_tab", (12, 48, 276, 136), currentIndex=0, pages=[
            widget(None, lay=lay("g", pictures, 8)),
            widget(None, lay=lay("g", colours, 8)),
        ]),
    ])


def about_window():
    return w("QWidget", "about_root", (0, 0, 800, 572), style="root", bkImage="common/background.png",
             windowTitle="ZEPHRAN Q70", kids=[
                 button("closebtn", None, (752, 12, 32, 32), style="close_button", text="\u2715", tip="dialog_close_tip"),
                 frame(None, (200, 86, 400, 400), style="about_card", lay=lay("v", [
                     stretch(),
                     label(None, "about_icon", style="picture", fixed=(96, 96), bkImage="common/app_icon.png",
                           align="Qt::AlignHCenter"),
                     label("about_product_text", style="about_product", alignment="Qt::AlignCenter"),
                     label("about_version_text", style="muted", alignment="Qt::AlignCenter"),
                     label("about_body_text", style="message", wordWrap=True, alignment="Qt::AlignCenter"),
                     w("QPushButton", "NetText", None, tid="about_link_text", style="link_button",
                       focusPolicy="NoFocus", dyn={"userData": "https://www.zephran.example/"}),
                     label("about_copyright_text", style="muted", alignment="Qt::AlignCenter"),
                     stretch(),
                 ], 12, (32, 24, 32, 24))),
             ])


def tray_menu():
    items = []
    for name, tid in (("lan_en", "menu_english_text"), ("lan_cn", "menu_chinese_text"),
                      ("About_setting", "menu_about_text")):
        items.append(w("QPushButton", name, None, tid=tid, style="menu_item", fixedHeight=28, focusPolicy="NoFocus",
                       dyn={"userData": name}))
    items.insert(2, frame(None, None, style="menu_separator", fixedHeight=1))
    return w("QFrame", "menu_root", (0, 0, 168, 104), style="menu", lay=lay("v", items, 2, (4, 6, 4, 6)))
