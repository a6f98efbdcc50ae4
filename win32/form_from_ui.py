#!/usr/bin/env python3
"""Writes the Windows dialog from the Qt form, so that every control's place, size,
caption, font, colour, tab order and start state is written down once, in window/form1.ui.

usage: form_from_ui.py FORM.ui DIALOG.dlg LAYOUT.h

DIALOG.dlg is the dialog template, included by tarvelo.rc; LAYOUT.h holds the places in
pixels at 96 DPI (from which the program lays the dialog out at any density), the fonts,
the colours and the option checked at the start. Every element, property and style sheet
declaration of the form is either carried over or named below as one Windows draws in its
own way; anything else is refused, naming the widget and the property, and stops the build.
"""

import re
import sys
import xml.etree.ElementTree as ElementTree


class Refusal(Exception):
    """Something in the form that the Windows dialog cannot show."""


def refuse(widget, what, why="is not carried over to Windows"):
    raise Refusal(f"{widget}: {what} {why}")


# Faces by the English names Windows knows in every display language. A control without a
# face of its own takes the desktop's interface font, on Windows Yu Gothic UI.
WINDOWS_FACES = {"ＭＳ Ｐゴシック": "MS PGothic", None: "Yu Gothic UI"}

# Widget properties Windows shows its own way, with the reason.
WINDOWS_OWN = {
    ("QPushButton", "autoDefault", "true"): "a push button becomes the default with the focus",
    ("QLineEdit", "inputMethodHints", "Qt::ImhPreferNumbers"): "no Windows edit box takes a hint",
    ("QLineEdit", "accessibleDescription", None): "no description in a dialog template",
    ("QDialog", "autoFillBackground", "true"): "the dialog paints its background",
}

# Style sheet declarations Windows draws its own way: (selector pattern, property).
SHEET_WINDOWS_OWN = [
    (r"QGroupBox#\w+(::title)?", r"border|border-radius|margin-top|subcontrol-origin|left|padding"),
    (r"#\w+ QRadioButton::indicator(:checked)?", r".*"),  # Windows draws the option circles
    (r"#\w+ QRadioButton:disabled", r"color"),  # and greys a disabled option
    (r"QPushButton#\w+:focus", r"border-color"),  # and the focus as a dotted rectangle
]


def text_of(element, kind):
    found = element.find(kind)
    if found is None:
        raise Refusal(f"a {kind} expected in {element.get('name')}")
    return found.text or ""


class Control:
    def __init__(self, widget, parent, left, top):
        self.widget = widget
        self.kind = widget.get("class")
        self.name = widget.get("name")
        self.parent = parent
        self.props = {p.get("name"): p for p in widget.findall("property")}
        _, _, self.width, self.height = rect(self.name, self.props)
        self.left, self.top = left, top
        self.font_size = None  # points, from the style sheet or the font property
        self.face = None
        self.colour = None  # of its text, from the style sheet
        if self.kind == "QFrame":  # a line: its middle row, one pixel thick, as Qt draws it
            if self.enum("frameShape") != "QFrame::HLine":
                refuse(self.name, "frameShape", "must be QFrame::HLine: only horizontal lines are carried over")
            if self.enum("frameShadow") != "QFrame::Plain":
                refuse(self.name, "frameShadow", "must be QFrame::Plain")
            self.top += self.height // 2
            self.height = 1
        self.id = "IDC_" + self.name.upper()

    def enum(self, name):
        found = self.props.get(name)
        return None if found is None or found.find("enum") is None else found.findtext("enum")

    def string(self, name):
        found = self.props.get(name)
        return None if found is None else (found.findtext("string") or "")

    def boolean(self, name, default):
        found = self.props.get(name)
        return default if found is None else found.findtext("bool") == "true"


def rect(name, props):
    found = props.get("geometry")
    if found is None or found.find("rect") is None:
        refuse(name, "geometry", "is missing")
    return [int(text_of(found.find("rect"), k)) for k in ("x", "y", "width", "height")]


def controls_of(widget, parent=None, left=0, top=0):
    found = []
    for child in widget:
        if child.tag in ("property", "widget"):
            continue
        refuse(widget.get("name"), f"<{child.tag}>")
    for child in widget.findall("widget"):
        control = Control(child, parent, left, top)
        x, y, _, _ = rect(control.name, control.props)
        control.left += x
        control.top += y
        found.append(control)
        found.extend(controls_of(child, control, left + x, top + y))
    return found


def check_properties(form, controls):
    """Refuses any widget property neither carried over nor in WINDOWS_OWN."""
    carried = {
        "QDialog": {"geometry", "minimumSize", "maximumSize", "windowTitle", "palette", "styleSheet"},
        "QGroupBox": {"geometry", "title"},
        "QRadioButton": {"geometry", "text", "checked"},
        "QFrame": {"geometry", "frameShape", "frameShadow"},
        "QLabel": {"geometry", "text", "buddy", "visible"},
        # maxLength is the logic's limit for a Western year: cmake/FormFacts.cmake reads it.
        "QLineEdit": {"geometry", "font", "maxLength", "accessibleName"},
        "QPushButton": {"geometry", "text", "default"},
    }
    for control in [form] + controls:
        if control.kind not in carried:
            refuse(control.name, f"class {control.kind}", "has no Windows control")
        for name, element in control.props.items():
            if name in carried[control.kind]:
                continue
            value = next((e.text for e in element.iter() if e is not element), None)
            if (control.kind, name, value) in WINDOWS_OWN or (control.kind, name, None) in WINDOWS_OWN:
                continue
            refuse(control.name, f"property {name}")
    for control in controls:
        if control.kind == "QLabel" and control.string("text") is None:
            refuse(control.name, "text", "is missing")
        if "accessibleName" in control.props:
            # Windows names a box after the label before it, which names it in the form too.
            labels = [c for c in controls if c.kind == "QLabel" and
                      c.props.get("buddy") is not None and c.props["buddy"].findtext("cstring") == control.name]
            if not labels or labels[0].string("text") != control.string("accessibleName"):
                refuse(control.name, "accessibleName", "must be the text of its buddy label")
        if "font" in control.props:
            font = control.props["font"].find("font")
            for part in font:
                if part.tag == "family":
                    control.face = part.text
                elif part.tag == "pointsize":
                    control.font_size = float(part.text)
                else:
                    refuse(control.name, f"font {part.tag}")
    for size in ("minimumSize", "maximumSize"):
        found = form.props.get(size)
        if found is not None and [int(text_of(found.find("size"), k)) for k in ("width", "height")] != \
                rect(form.name, form.props)[2:]:
            refuse(form.name, size, "must be the form's size: the Windows dialog keeps its size")
    checked = [c for c in controls if c.boolean("checked", False)]
    if len(checked) != 1:
        refuse(form.name, "checked", "must be set on exactly one option")


def selector_matches(selector, control):
    """Whether a selector of the forms `#Name`, `Class#Name` or `#Parent Class` (with
    pseudo-states and sub-controls already taken off) picks the control."""
    match = re.fullmatch(r"(\w*)#(\w+)(?:\s+(\w+))?", selector)
    if not match:
        raise Refusal(f"style sheet selector '{selector}' is not one of #Name, Class#Name, #Parent Class")
    kind, name, inner = match.groups()
    if inner:
        return control.kind == inner and control.parent is not None and control.parent.name == name
    return control.name == name and (not kind or control.kind == kind)


def colour(widget, text):
    named = {"black": (0, 0, 0), "white": (255, 255, 255)}
    text = text.strip()
    if text in named:
        return named[text]
    match = re.fullmatch(r"rgb\((\d+),\s*(\d+),\s*(\d+)\)", text)
    if not match:
        refuse(widget, f"colour {text}", "is not a colour Windows is given")
    return tuple(int(v) for v in match.groups())


def pixels(widget, text):
    match = re.fullmatch(r"(\d+)px", text.strip())
    if not match:
        refuse(widget, f"length {text}", "is not in pixels")
    return int(match.group(1))


def apply_sheet(form, controls):
    """Gives each control its font size and text colour from the form's style sheet, and
    returns the buttons' looks by state; refuses every other declaration that is not in
    SHEET_WINDOWS_OWN."""
    sheet = form.string("styleSheet") or ""
    buttons = {}
    leftover = re.sub(r"[^{}]+\{[^}]*\}", "", sheet).strip()
    if leftover:
        refuse(form.name, f"style sheet text '{leftover[:40]}'", "is not a rule")
    for selectors, body in re.findall(r"([^{}]+)\{([^}]*)\}", sheet):
        for selector in (s.strip() for s in selectors.split(",")):
            for declaration in (d.strip() for d in body.split(";") if d.strip()):
                key, _, value = (part.strip() for part in declaration.partition(":"))
                apply_declaration(form, controls, selector, key, value, buttons)
    return buttons


def apply_declaration(form, controls, selector, key, value, buttons):
    if any(re.fullmatch(s, selector) and re.fullmatch(k, key) for s, k in SHEET_WINDOWS_OWN):
        return
    base, _, state = selector.partition(":")
    if state.startswith(":"):
        refuse(form.name, f"style sheet '{selector} {{ {key} }}'", "draws a part Windows draws itself")
    picked = [c for c in controls if selector_matches(base, c)]
    if not picked:
        refuse(form.name, f"style sheet selector '{selector}'", "picks no control")
    for control in picked:
        where = f"style sheet '{selector} {{ {key} }}'"
        if control.kind == "QPushButton":
            if state not in ("", "pressed", "default", "disabled"):
                refuse(control.name, where)
            look = buttons.setdefault(control.name, {})
            state = state or "normal"
            if key == "font-size" and state == "normal":
                control.font_size = points(control.name, value)
            elif key == "border":
                width, style, rgb = re.fullmatch(r"(\S+)\s+(\S+)\s+(.+)", value).groups()
                if style != "solid":
                    refuse(control.name, where, "must be solid")
                look[(state, "border-width")] = pixels(control.name, width)
                look[(state, "border-color")] = colour(control.name, rgb)
            elif key in ("color", "background-color", "border-color"):
                look[(state, key)] = colour(control.name, value)
            elif key in ("border-width", "border-radius"):
                look[(state, key)] = pixels(control.name, value)
            else:
                refuse(control.name, where)
        elif state:
            refuse(control.name, where)
        elif key == "font-size":
            control.font_size = points(control.name, value)
        elif key == "color" and control.kind == "QFrame":
            # The line is a black rectangle, which Windows draws in the frame colour.
            if colour(control.name, value) != (0, 0, 0):
                refuse(control.name, where, "must be black")
        elif key == "color":
            control.colour = colour(control.name, value)
        else:
            refuse(control.name, where)


def points(widget, text):
    match = re.fullmatch(r"(\d+(?:\.\d+)?)pt", text.strip())
    if not match:
        refuse(widget, f"font-size {text}", "is not in points")
    return float(match.group(1))


def dialog_order(controls, tabstops):
    """Windows' order of the controls, which is its tab order: each frame with its lines
    and its options from top to bottom (one tab stop, walked with the arrow keys), then
    the other tab stops as the form's tab order cycles through them after the options,
    each after the label that names it, then the rest."""
    by_name = {c.name: c for c in controls}
    for name in tabstops:
        if name not in by_name:
            refuse("tabstops", f"tabstop {name}", "names no widget")
    ordered = []
    for frame in (c for c in controls if c.kind == "QGroupBox"):
        inside = [c for c in controls if c.parent is frame]
        ordered.append(frame)
        ordered.extend(c for c in inside if c.kind != "QRadioButton")
        ordered.extend(sorted((c for c in inside if c.kind == "QRadioButton"), key=lambda c: c.top))
    options = [name for name in tabstops if by_name[name].kind == "QRadioButton"]
    if options:
        last = max(tabstops.index(name) for name in options)
        tabstops = tabstops[last + 1:] + tabstops[:last + 1]
    for name in tabstops:
        control = by_name[name]
        if control in ordered:
            continue
        ordered.extend(c for c in controls if c.kind == "QLabel" and c not in ordered and
                       c.props.get("buddy") is not None and c.props["buddy"].findtext("cstring") == name)
        ordered.append(control)
    ordered.extend(c for c in controls if c not in ordered)
    return ordered


def fonts_of(controls):
    """The fonts (Windows face, points) the controls use, the most used first, and each
    control's font's index. A control without text takes the first."""
    chosen = {}
    for control in controls:
        if control.kind == "QFrame":
            continue
        if control.font_size is None:
            refuse(control.name, "font-size", "is missing: Windows would not know the caption's size")
        if control.face not in WINDOWS_FACES:
            refuse(control.name, f"font family {control.face}", "has no Windows face")
        chosen[control.name] = (WINDOWS_FACES[control.face], round(control.font_size * 100))
    used = list(chosen.values())
    distinct = sorted(set(used), key=lambda font: (-used.count(font), font))
    return distinct, {c.name: distinct.index(chosen[c.name]) if c.name in chosen else 0 for c in controls}


def rc_text(text):
    return '"' + text.replace('"', '""') + '"'


def dialog_units(pixels_at_96):
    # Rough: the program places every control in pixels from the layout table.
    return round(pixels_at_96 * 2 / 3)


def template(form, ordered, font):
    width, height = rect(form.name, form.props)[2:]
    face, size = font
    lines = [
        f"IDD_{form.name.upper()} DIALOGEX 0, 0, {dialog_units(width)}, {dialog_units(height)}",
        "STYLE DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX",
        "EXSTYLE WS_EX_APPWINDOW",
        f"CAPTION {rc_text(form.string('windowTitle') or '')}",
        # A template's font has whole points; the program sets the exact fonts.
        f'FONT {round(size / 100)}, "{face}", 400, 0, 128',
        "BEGIN",
    ]
    previous = None
    for control in ordered:
        place = ", ".join(str(dialog_units(v)) for v in
                          (control.left, control.top, control.width, control.height))
        # A new group, but for the options after the first and the buttons after the first.
        joins = previous is not None and previous.kind == control.kind and \
            control.kind in ("QRadioButton", "QPushButton")
        styles = [] if joins else ["WS_GROUP"]
        if not control.boolean("visible", True):
            styles.append("NOT WS_VISIBLE")
        if control.kind == "QGroupBox":
            line = f"GROUPBOX {rc_text(control.string('title'))}, {control.id}, {place}"
        elif control.kind == "QFrame":
            line = f'CONTROL "", {control.id}, "Static", SS_BLACKRECT, {place}'
        elif control.kind == "QRadioButton":
            styles = ["BS_AUTORADIOBUTTON"] + ([] if joins else ["WS_GROUP", "WS_TABSTOP"])
            line = f'CONTROL {rc_text(control.string("text"))}, {control.id}, "Button", ' + \
                " | ".join(styles) + f", {place}"
            styles = []
        elif control.kind == "QLabel":
            styles.insert(0, "SS_NOPREFIX")
            line = f"LTEXT {rc_text(control.string('text'))}, {control.id}, {place}"
        elif control.kind == "QLineEdit":
            styles = ["ES_AUTOHSCROLL"] + styles + ["WS_TABSTOP"]
            line = f"EDITTEXT {control.id}, {place}"
        else:
            keyword = "DEFPUSHBUTTON" if control.boolean("default", False) else "PUSHBUTTON"
            styles.append("WS_TABSTOP")
            line = f"{keyword} {rc_text(control.string('text'))}, {control.id}, {place}"
        lines.append("  " + line + (", " + " | ".join(styles) if styles else ""))
        previous = control
    lines.append("END")
    return "\n".join(lines) + "\n"


def background(form):
    palette = form.props.get("palette")
    if palette is None:
        refuse(form.name, "palette", "is missing: the dialog's window colour")
    found = set()
    for group in palette.find("palette"):
        for role in group:
            if role.get("role") != "Window" or role.find("brush").get("brushstyle") != "SolidPattern":
                refuse(form.name, f"palette {group.tag} {role.get('role')}")
            found.add(tuple(int(text_of(role.find("brush/color"), k)) for k in ("red", "green", "blue")))
    if len(found) != 1:
        refuse(form.name, "palette", "must give one window colour for every state")
    return found.pop()


def layout(form, controls, buttons, fonts, font_of):
    width, height = rect(form.name, form.props)[2:]
    pushed = [c.name for c in controls if c.kind == "QPushButton"]
    if any(buttons.get(name) != buttons.get(pushed[0]) for name in pushed):
        refuse(form.name, "style sheet", "must give the buttons the same look")
    look = buttons.get(pushed[0], {})
    texts = {c.colour for c in controls if c.kind in ("QLabel", "QGroupBox", "QRadioButton")}
    if len(texts) != 1 or None in texts:
        refuse(form.name, "style sheet color", "must give the labels, frames and options one colour")
    wanted = {
        "kButtonText": ("normal", "color"),
        "kButtonFace": ("normal", "background-color"),
        "kButtonBorder": ("normal", "border-color"),
        "kButtonPressed": ("pressed", "background-color"),
        "kDefaultBorder": ("default", "border-color"),
        "kDisabledText": ("disabled", "color"),
    }
    colours = [("kBackground", background(form)), ("kText", texts.pop())]
    for constant, key in wanted.items():
        if key not in look:
            refuse(pushed[0], f"style sheet {key[1]} for {key[0]}", "is missing")
        colours.append((constant, look[key]))
    sizes = {"kButtonBorderWidth": ("normal", "border-width"), "kDefaultBorderWidth": ("default", "border-width"),
             "kButtonCornerRadius": ("normal", "border-radius")}
    for constant, key in sizes.items():
        if key not in look:
            refuse(pushed[0], f"style sheet {key[1]} for {key[0]}", "is missing")
    checked = next(c for c in controls if c.boolean("checked", False))

    out = [
        "// Made from window/form1.ui by win32/form_from_ui.py as the program is built.",
        "#pragma once",
        "",
        "#include <array>",
        "#include <cstdint>",
        "",
        '#include "resource.h"',
        "",
        "namespace tarvelo::form {",
        "",
        "// A control's place in the client area, in pixels at 96 DPI, and its font in kFonts.",
        "struct Place {",
        "  int id;",
        "  int left;",
        "  int top;",
        "  int width;",
        "  int height;",
        "  int font;",
        "};",
        "",
        "struct Font {",
        "  const wchar_t* face;",
        "  int pointsTimes100;",
        "};",
        "",
        f"inline constexpr int kClientWidth = {width};",
        f"inline constexpr int kClientHeight = {height};",
        "",
        "// Every control, in the dialog's order.",
        "inline constexpr std::array kPlaces{",
    ]
    for c in controls:
        out.append(f"    Place{{{c.id}, {c.left}, {c.top}, {c.width}, {c.height}, {font_of[c.name]}}},")
    out += ["};", "", "inline constexpr std::array kFonts{"]
    out += [f'    Font{{L"{face}", {size}}},' for face, size in fonts]
    out += ["};", "", f"inline constexpr int kCheckedOption = {checked.id};", "", "// Colours as 0xRRGGBB."]
    for constant, (r, g, b) in colours:
        out.append(f"inline constexpr std::uint32_t {constant} = 0x{r:02X}{g:02X}{b:02X};")
    out += ["", "// The buttons' borders and corners, in pixels at 96 DPI."]
    for constant, key in sizes.items():
        out.append(f"inline constexpr int {constant} = {look[key]};")
    out += ["", "}  // namespace tarvelo::form", ""]
    return "\n".join(out)


def convert(path):
    root = ElementTree.parse(path).getroot()
    for child in root:
        if child.tag not in ("class", "widget", "tabstops") and not (child.tag == "connections" and len(child) == 0):
            refuse(root.findtext("class"), f"<{child.tag}>")
    form = Control(root.find("widget"), None, 0, 0)
    if form.kind != "QDialog":
        refuse(form.name, f"class {form.kind}", "must be QDialog")
    controls = controls_of(form.widget)
    check_properties(form, controls)
    buttons = apply_sheet(form, controls)
    tabstops = [t.text for t in root.findall("tabstops/tabstop")]
    ordered = dialog_order(controls, tabstops)
    fonts, font_of = fonts_of(ordered)
    return template(form, ordered, fonts[0]), layout(form, ordered, buttons, fonts, font_of)


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: form_from_ui.py FORM.ui DIALOG.dlg LAYOUT.h")
    path = sys.argv[1]
    try:
        dialog, header = convert(path)
    except Refusal as refusal:
        sys.exit(f"form_from_ui: {path}: {refusal}")
    except Exception as error:  # a form this script was not written for: refused, not a crash
        sys.exit(f"form_from_ui: {path}: cannot be carried over to Windows: {type(error).__name__}: {error}")
    with open(sys.argv[2], "w", encoding="utf-8") as rc:
        rc.write("// Made from window/form1.ui by win32/form_from_ui.py as the program is built.\n")
        rc.write(dialog)
    with open(sys.argv[3], "w", encoding="utf-8") as out:
        out.write(header)


main()
