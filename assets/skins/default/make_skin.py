#!/usr/bin/env python3
"""Writes the default skin (skin.json here), the dark skin (../dark/skin.json:
the same layout in the dark palette) and the splash skin (../splash/skin.json).

The skins are written from this script rather than by hand so that the
palettes (make_pictures.py), the fonts and the recurring parts (header
buttons, rounded pictures, list rows) are defined once. Picture sizes are read from the 1x PNGs that
make_pictures.py drew, so the slicing points always match the pictures.
Coordinates are design pixels of a 240-pixel-wide screen.

Usage: make_skin.py   (run make_pictures.py first when pictures changed)
"""
import json
import os
import struct

from make_pictures import LIGHT, PALETTES

HERE = os.path.dirname(os.path.abspath(__file__))
SKINS = os.path.dirname(HERE)
FACE = "DejaVu Sans"

# The palette of the skin being written (main sets it for each skin): its
# colours, and the prefix and folder of its pictures.
C = LIGHT

HEADER = 44  # height of every full form's header bar


class P(tuple):
    """A point attribute."""
    def __new__(cls, x, y):
        return super().__new__(cls, (x, y))


class F(dict):
    """A font attribute."""
    def __init__(self, size, bold=False, underline=False):
        super().__init__(size=size, face=FACE)
        if bold:
            self["bold"] = True
        if underline:
            self["underline"] = True


class Pic(dict):
    """A picture attribute: the whole picture, or sliced with corners of the given size."""
    def __init__(self, file, corner=None, folder=None):
        width, height = png_size(os.path.join(folder or os.path.join(SKINS, C.name), file + ".png"))
        if corner is None:
            points = [[0, 0], [0, 0], [width, height], [width, height]]
        else:
            cx, cy = corner if isinstance(corner, tuple) else (corner, corner)
            points = [[0, 0], [cx, cy], [width - cx, height - cy], [width, height]]
        super().__init__(file=file, p=points)


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    return struct.unpack(">II", head[16:24])


COLOR_NAMES = {"color", "outside_color", "link_color", "background_color", "filtered_color"}


def N(kind, id=None, *children, **attrs):
    """A node of the given kind; attributes go to the section their value's type names."""
    node = {}
    strings = {"type": kind}
    if id:
        strings["id"] = id
    for name, value in attrs.items():
        if isinstance(value, P):
            section = "points"
            value = list(value)
        elif name in COLOR_NAMES:
            section = "colors"
            value = list(value)
        elif isinstance(value, F):
            section = "fonts"
        elif isinstance(value, Pic):
            section = "pictures"
        elif isinstance(value, (bool, int)):
            section = "integers"
            value = int(value)
        else:
            section = "strings"
        (strings if section == "strings" else node.setdefault(section, {}))[name] = value
    node["strings"] = strings
    order = ("strings", "integers", "points", "fonts", "colors", "pictures")
    node = {section: node[section] for section in order if section in node}
    if children:
        node["children"] = list(children)
    return node


def root(*children, **attrs):
    node = N("node", None, *children, **attrs)
    del node["strings"]["type"]
    if not node["strings"]:
        del node["strings"]
    return node


def color(id, rgb, **attrs):
    return N("color", id, color=rgb, **attrs)


def image(id, file, corner=None, **attrs):
    attrs.setdefault("alpha", 0)  # the key colour stays transparent
    return N("image", id, src=Pic(C.prefix + file, corner), **attrs)


def text(id, key, size, rgb, bold=False, **attrs):
    if key:
        attrs["text"] = key
    return N("text", id, font=F(size, bold), color=rgb, **attrs)


def picture_button(id, file, key, **attrs):
    """A button drawn as a picture, with its pressed picture FILE_pressed."""
    return N("button", id,
             image("#normal", file), image("#pressed", file + "_pressed"),
             text=key, **attrs)


def pill_button(id, key, accent, size=9, **attrs):
    base = "btn_accent" if accent else "btn_light"
    return N("button", id,
             image("#normal", base, 11), image("#pressed", base + "_pressed", 11),
             color("#disabled", C.line),
             text("#text", None, size, C.on_fill if accent else C.ink, bold=accent,
                  ellipsis=1, border_min=P(6, 0), border_max=P(6, 0)),
             text=key, **attrs)


def header(title_id, title_key, *buttons, title_left=14, title_right=14):
    return N("node", "header",
             color("header_bg", C.header),
             text(title_id, title_key, 12, C.header_ink, bold=True, halign="LEFT", valign="VCENTER",
                  ellipsis=1, border_min=P(title_left, 0), border_max=P(title_right, 0)),
             *buttons,
             anchor_y="MIN_SIDE", design_size=P(0, HEADER))


def header_button(id, file, key, side, inset=6, **attrs):
    return picture_button(id, file, key, anchor_x=side, anchor_y="CENTER",
                          border_min=P(inset, 0), border_max=P(inset, 0),
                          design_size=P(32, 32), **attrs)


def row_states(normal=None):
    normal = normal or C.page
    return [color("#vlist_normal", normal), color("#vlist_pressed", C.pressed_row),
            color("#vlist_selected", C.selected_row)]


def separator(left=0):
    return color("separator", C.line, anchor_y="MAX_SIDE", design_size=P(0, 1),
                 border_min=P(left, 0))


def field(id, top, bottom, left=8, right=8):
    """The rounded box an edit field lies in."""
    return image(id, "field", 12, border_min=P(left, top), border_max=P(right, bottom))


# ---- The forms ----

def form_main():
    return root(
        color("background", C.page),
        N("vlist", "list",
          color("list_background", C.page),
          border_min=P(0, HEADER), preview_row="ChatItem", preview_count=12),
        header("title", "Chats",
               header_button("btnNew", "hdr_new", "New", "MAX_SIDE", inset=42),
               header_button("btnMenu", "hdr_menu", "Menu", "MAX_SIDE",
                             bind_key="SOFT_RIGHT"),
               title_right=80),
        outside_color=C.page, visibility_animation="left")


def chat_item():
    return root(
        *row_states(),
        image("avatar", "avatar", anchor_x="MIN_SIDE", anchor_y="CENTER",
              border_min=P(10, 0), design_size=P(36, 36)),
        text("title", None, 10, C.ink, bold=True, halign="LEFT", valign="VCENTER", ellipsis=1,
             anchor_y="MIN_SIDE", border_min=P(56, 8), border_max=P(82, 0), design_size=P(0, 18)),
        # The number's label ("m", "b", "h") sits on the avatar's corner.
        text("type", None, 7, C.accent, bold=True, halign="CENTER", valign="VCENTER",
             anchor_x="MIN_SIDE", anchor_y="MIN_SIDE", border_min=P(35, 31),
             design_size=P(14, 14)),
        text("day", None, 8, C.muted, halign="RIGHT", valign="VCENTER",
             anchor_x="MAX_SIDE", anchor_y="MIN_SIDE", border_min=P(0, 9), border_max=P(10, 0),
             design_size=P(56, 16)),  # room for "11:52 PM"
        N("clip", "body_clip",
          N("richtext", "body", font=F(9), color=C.muted, link_color=C.muted, halign="LEFT",
            valign="VCENTER", ellipsis=1),
          anchor_y="MIN_SIDE", border_min=P(56, 28), border_max=P(44, 0), design_size=P(0, 18)),
        N("multinode", "icon",
          N("node", "off"),
          image("on", "unread", 8),
          anchor_x="MAX_SIDE", anchor_y="MIN_SIDE", border_min=P(0, 29), border_max=P(10, 0),
          design_size=P(28, 16)),
        text("unread", None, 8, C.on_fill, bold=True, halign="CENTER", valign="VCENTER",
             anchor_x="MAX_SIDE", anchor_y="MIN_SIDE", border_min=P(0, 29), border_max=P(10, 0),
             design_size=P(28, 16)),
        separator(56),
        design_size=P(0, 56))


def form_chat():
    bar = 56
    return root(
        color("background", C.page),
        N("vlist", "list",
          color("list_background", C.page),
          border_min=P(0, HEADER), border_max=P(0, bar),
          scroll_border_min=P(0, 6), scroll_border_max=P(0, 6),
          preview_row="SMSItemIn", preview_count=8),
        # Above the list's first message: the recipients bar (when there are
        # more recipients) and a small gap; the form keeps the list's resting
        # offset equal to this table's height.
        N("vtable", "list_offset",
          N("button", "btnCopy",
            color("#normal", C.copy_bar), color("#pressed", C.tint),
            color("line", C.line, anchor_y="MAX_SIDE", design_size=P(0, 1)),
            text("#text", None, 8, C.accent, halign="LEFT", valign="VCENTER", ellipsis=1,
                 border_min=P(12, 0), border_max=P(12, 0)),
            text="Copy", design_size=P(0, 24)),
          N("node", "gap", design_size=P(0, 6)),
          anchor_y="MIN_SIDE", border_min=P(0, HEADER)),
        N("node", "scroll",
          image("scroll_indicator", "thumb", (2, 2), anchor_y="MIN_SIDE",
                design_size=P(4, 24)),
          anchor_x="MAX_SIDE", border_min=P(0, HEADER + 4), border_max=P(2, bar + 4),
          design_size=P(4, 0)),
        N("button", "scroll_button",
          anchor_x="MAX_SIDE", border_min=P(0, HEADER), border_max=P(0, bar),
          design_size=P(16, 0)),
        N("node", "header",
          color("header_bg", C.header),
          N("button", "btnTitle",
            color("#pressed", C.header_pressed),
            border_min=P(42, 4), border_max=P(42, 4)),
          # The name, with the number's label under it when there is one:
          # a table leaves a hidden label out, so the name alone is centred.
          N("vtable", "titles",
            text("title", None, 11, C.header_ink, bold=True, halign="LEFT", valign="VCENTER",
                 ellipsis=1, design_size=P(0, 18)),
            text("type", None, 8, C.header_sub, halign="LEFT", valign="VCENTER", ellipsis=1,
                 design_size=P(0, 14)),
            anchor_y="CENTER", border_min=P(48, 0), border_max=P(46, 0)),
          header_button("btnClose", "hdr_back", "Back", "MIN_SIDE", bind_key="Esc"),
          header_button("btnMenu", "hdr_menu", "Menu", "MAX_SIDE",
                        bind_key="SOFT_RIGHT"),
          anchor_y="MIN_SIDE", design_size=P(0, HEADER)),
        N("node", "bar",
          color("bar_bg", C.page),
          color("bar_line", C.line, anchor_y="MIN_SIDE", design_size=P(0, 1)),
          text("symbols", None, 7, C.muted, halign="RIGHT", valign="VCENTER",
               anchor_x="MAX_SIDE", anchor_y="MIN_SIDE", border_min=P(0, 1), border_max=P(8, 0),
               design_size=P(120, 14)),
          field("field", 16, 6, right=48),
          N("edit", "edit", font=F(9), color=C.ink, background_color=C.field, wrap=1,
            halign="LEFT", valign="TOP", border_min=P(17, 20), border_max=P(57, 9)),
          picture_button("btnSend", "send", "Send", anchor_x="MAX_SIDE",
                         anchor_y="MAX_SIDE", border_max=P(7, 6), design_size=P(34, 34)),
          anchor_y="MAX_SIDE", design_size=P(0, bar)),
        outside_color=C.page, visibility_animation="right")


def sms_item(incoming, states):
    """One message: the day heading when the day changes, then the bubble with
    the text, the time and the state icon. The bubble is as wide as its text
    and at most the row less a fifth."""
    bubble = "bubble_in" if incoming else "bubble_out"
    near, far = 8, 44
    day = N("node", "day_node",
            N("node", "day_pill",
              image("pill", "day", 8),
              N("button", "day",
                image("#pressed", "day_pressed", 8),
                text("#text", None, 8, C.muted, halign="CENTER", valign="VCENTER", grow=1),
                border_min=P(10, 0), border_max=P(10, 0)),
              anchor_x="CENTER", anchor_y="CENTER", design_size=P(0, 18)),
            design_size=P(0, 30))
    meta = N("node", "meta",
             N("button", "time",
               text("#text", None, 7, C.muted, halign="RIGHT", valign="VCENTER", grow=1),
               anchor_x="MAX_SIDE", border_max=P(15, 0)),
             N("multinode", "icon",
               *[image("state%d" % i, "%s%d" % (states, i)) for i in range(7)],
               anchor_x="MAX_SIDE", anchor_y="CENTER", design_size=P(12, 12)),
             design_size=P(0, 13))
    body = N("vtable", "inner",
             N("richtext", "body", font=F(9), color=C.ink, link_color=C.accent, halign="LEFT",
               valign="TOP", wrap=1, grow=1),
             meta,
             border_min=P(10, 6), border_max=P(9, 4))
    line = N("node", "line",
             N("node", "bubble",
               image("bubble_bg", bubble, 10), body,
               anchor_x="MIN_SIDE" if incoming else "MAX_SIDE"),
             border_min=P(near if incoming else far, 2), border_max=P(far if incoming else near, 2))
    return root(
        N("node", "link", font=F(9, underline=True), color=C.accent),
        N("vtable", "content", day, line))


def form_link():
    return root(
        N("node", "card",
          image("card_bg", "card", 14, alpha=128),
          N("vtable", "content",
            text("caption", "Moodcard", 11, C.ink, bold=True, halign="LEFT", valign="VCENTER",
                 ellipsis=1, design_size=P(0, 22)),
            text("text", None, 9, C.ink, halign="LEFT", valign="TOP", wrap=1, grow=1,
                 border_min=P(0, 4), border_max=P(0, 10)),
            pill_button("btnInstall", "InstallMoodcard", True, border_max=P(0, 6),
                        design_size=P(0, 28)),
            pill_button("btnAbout", "AboutMoodcard", False, border_max=P(0, 6),
                        design_size=P(0, 28)),
            pill_button("btnCancel", "Cancel", False, design_size=P(0, 28), bind_key="Esc"),
            border_min=P(18, 16), border_max=P(18, 16)),
          anchor_x="CENTER", anchor_y="CENTER", border_min=P(12, 12), border_max=P(12, 12),
          design_size=P(216, 0)),
        visibility_animation="pop")


def form_alert():
    return root(
        N("node", "card",
          image("card_bg", "card", 14, alpha=128),
          text("caption", "NewMessage", 8, C.accent, bold=True, halign="LEFT", valign="VCENTER",
               ellipsis=1, anchor_y="MIN_SIDE", border_min=P(18, 14), border_max=P(18, 0),
               design_size=P(0, 14)),
          text("title", None, 12, C.ink, bold=True, halign="LEFT", valign="VCENTER", ellipsis=1,
               anchor_y="MIN_SIDE", border_min=P(18, 30), border_max=P(18, 0),
               design_size=P(0, 20)),
          N("clip", "body_clip",
            N("richtext", "body", font=F(9), color=C.ink, link_color=C.ink, halign="LEFT",
              valign="TOP", wrap=1),
            border_min=P(18, 56), border_max=P(18, 52)),
          N("htable", "buttons",
            pill_button("btnCancel", "Close", False, table_ratio=1, border_max=P(4, 0),
                        bind_key="Esc"),
            pill_button("btnView", "View", True, table_ratio=1, border_min=P(4, 0),
                        bind_key="Enter"),
            anchor_y="MAX_SIDE", border_min=P(16, 0), border_max=P(16, 14),
            design_size=P(0, 30)),
          anchor_x="CENTER", anchor_y="CENTER", border_min=P(8, 8), border_max=P(8, 8),
          design_size=P(216, 200)),
        visibility_animation="pop")


def form_contacts():
    top = HEADER + 44
    return root(
        color("background", C.page),
        N("vlist", "list",
          color("list_background", C.page),
          border_min=P(0, top), preview_row="ContactItem", preview_count=15),
        # The letters lie over the ruler's touch area and share its whole
        # height; the ruler reads the letter under the stylus from the table.
        N("node", "ruler",
          N("button", "ruler_button", color("#pressed", C.ruler_pressed)),
          N("vtable", "ruler_table", border_min=P(0, 4), border_max=P(0, 4)),
          anchor_x="MAX_SIDE", border_min=P(0, top), design_size=P(22, 0)),
        header("title", "Recipients",
               header_button("btnClose", "hdr_back", "Back", "MIN_SIDE", bind_key="Esc"),
               title_left=46),
        N("node", "filter",
          color("filter_bg", C.page),
          color("filter_line", C.line, anchor_y="MAX_SIDE", design_size=P(0, 1)),
          field("field", 7, 7),
          N("edit", "edit", font=F(9), color=C.ink, background_color=C.field, halign="LEFT",
            valign="VCENTER", border_min=P(17, 11), border_max=P(84, 11)),
          pill_button("btnWrite", "Write", True, 8, anchor_x="MAX_SIDE", anchor_y="CENTER",
                      border_max=P(12, 0), design_size=P(66, 22)),
          pill_button("btnAdd", "Add", True, 8, anchor_x="MAX_SIDE", anchor_y="CENTER",
                      border_max=P(12, 0), design_size=P(66, 22)),
          anchor_y="MIN_SIDE", border_min=P(0, HEADER), design_size=P(0, 44)),
        N("node", "hint",
          image("hint_bg", "hint", 14),
          text("#text", None, 28, C.on_fill, bold=True, halign="CENTER", valign="VCENTER"),
          anchor_x="CENTER", anchor_y="CENTER", design_size=P(56, 56)),
        outside_color=C.page, visibility_animation="right")


def alphabet_ruler_text():
    return N("text", None, font=F(7, True), color=C.accent, halign="CENTER", valign="VCENTER",
             table_ratio=1, design_size=P(0, 11))


def contact_item():
    return root(
        *row_states(),
        image("avatar", "avatar", anchor_x="MIN_SIDE", anchor_y="CENTER",
              border_min=P(10, 0), design_size=P(36, 36)),
        text("title", None, 10, C.ink, halign="LEFT", valign="VCENTER", ellipsis=1,
             anchor_y="MIN_SIDE", border_min=P(56, 6), border_max=P(52, 0), design_size=P(0, 18)),
        text("number", None, 8, C.muted, halign="LEFT", valign="VCENTER", ellipsis=1,
             anchor_y="MIN_SIDE", border_min=P(56, 25), border_max=P(66, 0),
             design_size=P(0, 16)),
        text("type", None, 7, C.accent, bold=True, halign="CENTER", valign="VCENTER",
             anchor_x="MIN_SIDE", anchor_y="MIN_SIDE", border_min=P(35, 31),
             design_size=P(14, 14)),
        image("checkbox_place", "check_off", anchor_x="MAX_SIDE", anchor_y="CENTER",
              border_max=P(28, 0), design_size=P(18, 18)),
        image("checkbox", "check_on", anchor_x="MAX_SIDE", anchor_y="CENTER",
              border_max=P(28, 0), design_size=P(18, 18)),
        image("active", "active", anchor_x="MAX_SIDE", anchor_y="CENTER",
              border_max=P(28, 0), design_size=P(18, 18)),
        separator(56),
        color=C.ink, filtered_color=C.accent, design_size=P(0, 48))


def form_templates():
    top = HEADER + 44
    return root(
        color("background", C.page),
        N("vlist", "list",
          color("list_background", C.page),
          border_min=P(0, top), preview_row="TemplateItem", preview_count=8),
        header("title", "Templates",
               header_button("btnClose", "hdr_back", "Back", "MIN_SIDE", bind_key="Esc"),
               title_left=46),
        N("node", "compose",
          color("compose_bg", C.page),
          color("compose_line", C.line, anchor_y="MAX_SIDE", design_size=P(0, 1)),
          field("field", 7, 7, right=48),
          N("edit", "edit", font=F(9), color=C.ink, background_color=C.field, halign="LEFT",
            valign="VCENTER", border_min=P(17, 11), border_max=P(57, 11)),
          picture_button("btnAdd", "add", "Add", anchor_x="MAX_SIDE", anchor_y="CENTER",
                         border_max=P(7, 0), design_size=P(34, 34)),
          anchor_y="MIN_SIDE", border_min=P(0, HEADER), design_size=P(0, 44)),
        outside_color=C.page, visibility_animation="right")


def template_item():
    return root(
        *row_states(),
        text("text", None, 9, C.ink, halign="LEFT", valign="VCENTER", wrap=1, grow=1,
             border_min=P(14, 10), border_max=P(14, 10)),
        separator(14),
        design_size=P(0, 40))


def menu():
    return root(
        N("node", "panel",
          image("panel_bg", "card", 14, alpha=128),
          text("caption", None, 10, C.ink, bold=True, halign="LEFT", valign="VCENTER", ellipsis=1,
               anchor_y="MIN_SIDE", border_min=P(18, 4), border_max=P(18, 0),
               design_size=P(0, 32)),
          N("vlist", "vlist",
            color("list_background", C.card),
            border_min=P(6, 36), border_max=P(6, 10)),
          anchor_x="CENTER", anchor_y="CENTER", border_min=P(8, 10), border_max=P(8, 10),
          design_size=P(216, 284)),
        visibility_animation="pop")


def menu_row(ink):
    return root(
        *row_states(C.card),
        color("separator", C.line, anchor_y="MIN_SIDE", design_size=P(0, 1),
              border_min=P(10, 0), border_max=P(10, 0)),
        image("checked", "check", anchor_x="MAX_SIDE", anchor_y="CENTER",
              border_max=P(12, 0), design_size=P(16, 16)),
        text("#text", None, 10, ink, halign="LEFT", valign="VCENTER", ellipsis=1,
             border_min=P(12, 0), border_max=P(34, 0)),
        design_size=P(0, 34))


def menu_buttons():
    return root(
        color("#vlist_normal", C.card),
        color("separator", C.line, anchor_y="MAX_SIDE", design_size=P(0, 1),
              border_min=P(10, 0), border_max=P(10, 0)),
        N("htable", "buttons",
          *[pill_button(name, name, False, 8, table_ratio=1, border_min=P(3, 0),
                        border_max=P(3, 0))
            for name in ("Help", "Minimize", "Exit")],
          border_min=P(4, 6), border_max=P(4, 6)),
        design_size=P(0, 44))


def skin():
    return {"named": {
        "FormMain": form_main(),
        "ChatItem": chat_item(),
        "FormChat": form_chat(),
        "SMSItem": sms_item(True, "state_in_"),
        "SMSItemIn": sms_item(True, "state_in_"),
        "SMSItemOut": sms_item(False, "state_out_"),
        "FormLink": form_link(),
        "FormContacts": form_contacts(),
        "AlphabetRulerText": alphabet_ruler_text(),
        "ContactItem": contact_item(),
        "FormTemplates": form_templates(),
        "TemplateItem": template_item(),
        "FormAlert": form_alert(),
        "Menu": menu(),
        "MenuElement": menu_row(C.ink),
        "MenuElementDisabled": menu_row(C.disabled),
        "MenuElementRed": menu_row(C.red),
        "MenuElementRedDisabled": menu_row(C.red_disabled),
        "MenuElement4Buttons": menu_buttons(),
    }}


def splash_skin():
    splash = os.path.join(SKINS, "splash")
    return {"named": {"FormSplash": root(
        color("background", LIGHT.page),
        N("node", "mark",
          N("image", "logo", src=Pic("splash_logo", folder=splash), alpha=0,
            anchor_x="CENTER", anchor_y="MIN_SIDE", design_size=P(72, 72)),
          text("name", "Quillmo", 16, LIGHT.ink, bold=True, halign="CENTER", valign="VCENTER",
               anchor_y="MIN_SIDE", border_min=P(0, 80), design_size=P(0, 26)),
          anchor_x="CENTER", anchor_y="CENTER", border_max=P(0, 40), design_size=P(180, 106)),
        N("progress", "progress",
          color("track", LIGHT.day_pill),
          color("#line", LIGHT.fill, anchor_x="MIN_SIDE"),
          anchor_x="CENTER", anchor_y="MAX_SIDE", border_max=P(0, 48), design_size=P(140, 4)),
        text("loading", "Loading", 8, LIGHT.muted, halign="CENTER", valign="VCENTER",
             anchor_y="MAX_SIDE", border_max=P(0, 24), design_size=P(0, 16)),
        outside_color=LIGHT.page)}}


def dump(node, indent):
    """A node on one line, its children each on a line of their own below it."""
    head = {k: v for k, v in node.items() if k != "children"}
    text = json.dumps(head, ensure_ascii=False)
    if "children" not in node:
        return text
    inner = ",\n".join(" " * (indent + 2) + dump(child, indent + 2) for child in node["children"])
    return text[:-1] + (', ' if head else '') + '"children": [\n' + inner + "]}"


def write(path, source):
    parts = ["%s: %s" % (json.dumps(name), dump(node, 0)) for name, node in source["named"].items()]
    data = '{"named": {\n' + ",\n\n".join(parts) + "\n}}\n"
    with open(path, "w", encoding="utf-8") as out:
        out.write(data)


def main():
    global C
    for palette in PALETTES:
        C = palette
        write(os.path.join(SKINS, palette.name, "skin.json"), skin())
    write(os.path.join(SKINS, "splash", "skin.json"), splash_skin())


if __name__ == "__main__":
    main()
