"""Small builder for Qt Designer (.ui) XML, as loaded at run time by the skin loader.

A widget is a plain dict made by `w()`; `write_ui()` turns a tree of them into a .ui file.
Conventions of the skin (read by the loader in ui/):
  textId / toolTipId   dynamic string properties holding text ids of lan_en.xml
  zqStyle              dynamic string property that style.qss selects on
  subLayout            placeholder filled with another layout of res.xml
  itemTextIds          combo: the text ids of its items, joined with ";"
  headerTextIds        tree: the text ids of its column headers, joined with ";"
  zqBkImage            image name (res.xml) shown as the control's background picture
  zqBkColor            background colour (ARGB, unsigned) the control starts with
  userData             user data of a control (skin window buttons, menu items)
  lightimage / keysetimage   images of a device key button
"""

import xml.etree.ElementTree as ET

CUSTOM_WIDGETS = {
    "DeviceKeyButton": "QPushButton",
    "ColourPalette": "QWidget",
    "CircleProgress": "QProgressBar",
    "WndHost": "QWidget",
    "ChartView": "QWidget",
}

# Every text id used by a layout is recorded here, so the generator can check the catalog.
USED_TEXT_IDS = set()
USED_IMAGES = set()


def w(cls, name=None, geom=None, **kw):
    """A widget. geom = (x, y, w, h) for fixed placement inside a parent without a layout."""
    node = {"class": cls, "name": name, "geom": geom, "kids": [], "layout": None, "props": [], "dyn": []}
    text = kw.pop("text", None)
    tid = kw.pop("tid", None)
    tip = kw.pop("tip", None)
    style = kw.pop("style", None)
    for key, value in kw.items():
        if key == "kids":
            node["kids"] = value
        elif key == "lay":
            node["layout"] = value
        elif key == "items":
            node["items"] = value
        elif key == "align":
            node["align"] = value
        elif key == "attrs":
            node["attrs"] = value
        elif key == "pages":
            node["pages"] = value
        elif key == "dyn":
            node["dyn"].extend(value.items())
        elif key in ("bkImage", "lightimage", "keysetimage"):
            USED_IMAGES.add(value)
            node["dyn"].append(("zqBkImage" if key == "bkImage" else key, value))
        else:
            node["props"].append((key, value))
    if tid is not None:
        from texts import TEXTS

        USED_TEXT_IDS.add(tid)
        node["dyn"].append(("textId", tid))
        node["props"].insert(0, ("text", TEXTS.get(tid, tid)))
    elif text is not None:
        node["props"].insert(0, ("text", text))
    if tip is not None:
        from texts import TEXTS

        USED_TEXT_IDS.add(tip)
        node["dyn"].append(("toolTipId", tip))
        node["props"].append(("toolTip", TEXTS.get(tip, tip)))
    if style is not None:
        node["dyn"].append(("zqStyle", style))
    return node


def lay(kind, items, spacing=6, margins=(0, 0, 0, 0)):
    """kind: 'v', 'h' or 'g'. Grid items are (widget, row, col[, rowspan, colspan])."""
    return {"kind": kind, "items": items, "spacing": spacing, "margins": margins}


def stretch(size=0):
    return {"spacer": True, "size": size}


def fixed_spacer(size):
    return {"spacer": True, "size": size, "fixed": True}


_counter = {}
_file_tag = [""]


def _auto_name(prefix):
    # Unnamed items get names unique across every layout, since sub-layouts join their parent's tree.
    n = _counter.get(prefix, 0)
    _counter[prefix] = n + 1
    return f"{_file_tag[0]}_{prefix}_{n}"


def _prop(parent, key, value, dynamic=False):
    p = ET.SubElement(parent, "property", name=key)
    if dynamic:
        p.set("stdset", "0")
    if isinstance(value, bool):
        ET.SubElement(p, "bool").text = "true" if value else "false"
    elif isinstance(value, tuple) and value and value[0] == "uint":
        ET.SubElement(p, "uInt").text = str(value[1])
    elif isinstance(value, int):
        ET.SubElement(p, "number").text = str(value)
    elif isinstance(value, tuple) and value and value[0] == "enum":
        ET.SubElement(p, "enum").text = value[1]
    elif isinstance(value, tuple) and value and value[0] == "set":
        ET.SubElement(p, "set").text = value[1]
    elif isinstance(value, tuple) and value and value[0] == "size":
        s = ET.SubElement(p, "size")
        ET.SubElement(s, "width").text = str(value[1])
        ET.SubElement(s, "height").text = str(value[2])
    elif isinstance(value, tuple) and value and value[0] == "rect":
        r = ET.SubElement(p, "rect")
        for tag, v in zip(("x", "y", "width", "height"), value[1:]):
            ET.SubElement(r, tag).text = str(v)
    else:
        s = ET.SubElement(p, "string")
        s.text = str(value)
        if key in ("text", "toolTip", "title", "windowTitle", "placeholderText"):
            s.set("notr", "true")


def _emit_widget(parent, node, used_classes):
    name = node["name"] or _auto_name(node["class"].lower().lstrip("q"))
    el = ET.SubElement(parent, "widget", {"class": node["class"], "name": name})
    if node["class"] in CUSTOM_WIDGETS:
        used_classes.add(node["class"])
    if node["geom"] is not None:
        _prop(el, "geometry", ("rect",) + tuple(node["geom"]))
    for key, value in node["props"]:
        if key == "minimumSize" or key == "maximumSize":
            _prop(el, key, ("size",) + tuple(value))
        elif key == "fixed":
            _prop(el, "minimumSize", ("size",) + tuple(value))
            _prop(el, "maximumSize", ("size",) + tuple(value))
        elif key == "fixedHeight":
            _prop(el, "minimumSize", ("size", 0, value))
            _prop(el, "maximumSize", ("size", 16777215, value))
        elif key == "fixedWidth":
            _prop(el, "minimumSize", ("size", value, 0))
            _prop(el, "maximumSize", ("size", value, 16777215))
        elif key == "orientation":
            _prop(el, key, ("enum", "Qt::Horizontal" if value == "h" else "Qt::Vertical"))
        elif key == "alignment":
            _prop(el, key, ("set", value))
        elif key == "echo":
            _prop(el, "echoMode", ("enum", value))
        elif key == "frameShape":
            _prop(el, key, ("enum", "QFrame::" + value))
        elif key == "focusPolicy":
            _prop(el, key, ("enum", "Qt::" + value))
        elif key == "selectionMode":
            _prop(el, key, ("enum", "QAbstractItemView::" + value))
        elif key == "hscroll" or key == "vscroll":
            prop = "horizontalScrollBarPolicy" if key == "hscroll" else "verticalScrollBarPolicy"
            _prop(el, prop, ("enum", "Qt::" + value))
        else:
            _prop(el, key, value)
    for key, value in node["dyn"]:
        _prop(el, key, value, dynamic=True)
    if node["class"] == "QComboBox" and node.get("items"):
        ids = node["items"]
        from texts import TEXTS

        for tid in ids:
            USED_TEXT_IDS.add(tid)
            item = ET.SubElement(el, "item")
            _prop(item, "text", TEXTS.get(tid, tid))
        _prop(el, "itemTextIds", ";".join(ids), dynamic=True)
    if node["class"] == "QTreeWidget" and node.get("items"):
        from texts import TEXTS

        ids = node["items"]
        for tid in ids:
            USED_TEXT_IDS.add(tid)
            col = ET.SubElement(el, "column")
            _prop(col, "text", TEXTS.get(tid, tid))
        _prop(el, "headerTextIds", ";".join(ids), dynamic=True)
    for key, value in (node.get("attrs") or {}).items():
        a = ET.SubElement(el, "attribute", name=key)
        if isinstance(value, bool):
            ET.SubElement(a, "bool").text = "true" if value else "false"
        else:
            ET.SubElement(a, "number").text = str(value)
    if node.get("pages"):
        for page in node["pages"]:
            _emit_widget(el, page, used_classes)
    if node["layout"] is not None:
        _emit_layout(el, node["layout"], used_classes)
    for kid in node["kids"]:
        _emit_widget(el, kid, used_classes)
    return el


def _emit_layout(parent, layout, used_classes):
    cls = {"v": "QVBoxLayout", "h": "QHBoxLayout", "g": "QGridLayout"}[layout["kind"]]
    el = ET.SubElement(parent, "layout", {"class": cls, "name": _auto_name(cls[1:].lower())})
    if layout["kind"] == "g":
        _prop(el, "horizontalSpacing", layout["spacing"])
        _prop(el, "verticalSpacing", layout["spacing"])
    else:
        _prop(el, "spacing", layout["spacing"])
    for key, value in zip(("leftMargin", "topMargin", "rightMargin", "bottomMargin"), layout["margins"]):
        _prop(el, key, value)
    for entry in layout["items"]:
        attrs = {}
        node = entry
        if layout["kind"] == "g":
            node = entry[0]
            attrs = {"row": str(entry[1]), "column": str(entry[2])}
            if len(entry) > 3:
                attrs["rowspan"] = str(entry[3])
                attrs["colspan"] = str(entry[4])
        if isinstance(node, dict) and node.get("align"):
            attrs["alignment"] = node["align"]
        item = ET.SubElement(el, "item", attrs)
        if "spacer" in node:
            sp = ET.SubElement(item, "spacer", name=_auto_name("spacer"))
            horizontal = layout["kind"] == "h"
            _prop(sp, "orientation", ("enum", "Qt::Horizontal" if horizontal else "Qt::Vertical"))
            if node.get("fixed"):
                _prop(sp, "sizeType", ("enum", "QSizePolicy::Fixed"))
            size = node["size"]
            _prop(sp, "sizeHint", ("size", size if horizontal else 0, 0 if horizontal else size))
        elif "kind" in node:
            _emit_layout(item, node, used_classes)
        else:
            _emit_widget(item, node, used_classes)


def write_ui(path, class_name, root):
    _counter.clear()
    _file_tag[0] = class_name.lower()
    ui = ET.Element("ui", version="4.0")
    ET.SubElement(ui, "class").text = class_name
    used = set()
    _emit_widget(ui, root, used)
    if used:
        cws = ET.SubElement(ui, "customwidgets")
        for cls in sorted(used):
            cw = ET.SubElement(cws, "customwidget")
            ET.SubElement(cw, "class").text = cls
            ET.SubElement(cw, "extends").text = CUSTOM_WIDGETS[cls]
            ET.SubElement(cw, "header").text = f"shell/controls/{cls.lower()}.h"
    ET.SubElement(ui, "resources")
    ET.SubElement(ui, "connections")
    ET.indent(ui, space=" ")
    data = '<?xml version="1.0" encoding="UTF-8"?>\n' + ET.tostring(ui, encoding="unicode") + "\n"
    with open(path, "w", encoding="utf-8") as f:
        f.write(data)


def names_in(node, out=None):
    """All object names of a widget tree, in document order (for checks)."""
    if out is None:
        out = []
    if node.get("name"):
        out.append((node["name"], node["class"]))
    for page in node.get("pages") or []:
        names_in(page, out)
    if node.get("layout"):
        _names_in_layout(node["layout"], out)
    for kid in node["kids"]:
        names_in(kid, out)
    return out


def _names_in_layout(layout, out):
    for entry in layout["items"]:
        node = entry[0] if layout["kind"] == "g" else entry
        if "spacer" in node:
            continue
        if "kind" in node:
            _names_in_layout(node, out)
        else:
            names_in(node, out)
