#!/usr/bin/env python3
"""Writes the Windows dialog from the Qt form, so that every control's place, size,
caption, colour and tab order is written down once, in window/form1.ui.

usage: form_from_ui.py FORM.ui DIALOG.dlg LAYOUT.h

DIALOG.dlg is the dialog template, included by tarvelo.rc; LAYOUT.h holds the places in
pixels at 96 DPI (from which the program lays the dialog out at any density) and the
colours. Anything in the form this cannot carry over stops the build."""

import re
import sys
import xml.etree.ElementTree as ElementTree


def fail(message):
    sys.exit(f"form_from_ui: {message}")


def prop(widget, name):
    return widget.find(f"property[@name='{name}']")


def string(widget, name):
    found = prop(widget, name)
    return None if found is None else (found.findtext("string") or "")


def boolean(widget, name, default):
    found = prop(widget, name)
    return default if found is None else found.findtext("bool") == "true"


def geometry(widget):
    found = prop(widget, "geometry")
    if found is None:
        fail(f"{widget.get('name')} has no geometry")
    return [int(found.find("rect").findtext(k)) for k in ("x", "y", "width", "height")]


class Control:
    def __init__(self, widget, parent, left, top):
        self.widget = widget
        self.kind = widget.get("class")
        self.name = widget.get("name")
        self.parent = parent
        _, _, self.width, self.height = geometry(widget)
        self.left, self.top = left, top
        if self.kind == "QFrame":  # a line: its middle row, one pixel thick
            if prop(widget, "frameShape").findtext("enum") != "QFrame::HLine":
                fail(f"{self.name}: only horizontal lines are carried over")
            self.top += self.height // 2
            self.height = 1
        self.id = "IDC_" + self.name.upper()


def controls_of(widget, parent=None, left=0, top=0):
    found = []
    for child in widget.findall("widget"):
        x, y, _, _ = geometry(child)
        control = Control(child, parent, left + x, top + y)
        found.append(control)
        found.extend(controls_of(child, control, left + x, top + y))
    return found


def dialog_order(controls, tabstops):
    """Windows' order of the controls, which is its tab order: each frame with its lines
    and its options from top to bottom (one tab stop, walked with the arrow keys), then
    the other tab stops as the form's tab order cycles through them after the options,
    each after the label that names it, then the rest."""
    by_name = {c.name: c for c in controls}
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
                       prop(c.widget, "buddy") is not None and
                       prop(c.widget, "buddy").findtext("cstring") == name)
        ordered.append(control)
    ordered.extend(c for c in controls if c not in ordered)
    return ordered


def rc_text(text):
    return '"' + text.replace('"', '""') + '"'


def dialog_units(pixels):
    # Rough: the program places every control in pixels from the layout table.
    return round(pixels * 2 / 3)


def template(form, ordered):
    width, height = geometry(form)[2:]
    lines = [
        f"IDD_{form.get('name').upper()} DIALOGEX 0, 0, {dialog_units(width)}, {dialog_units(height)}",
        "STYLE DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX",
        "EXSTYLE WS_EX_APPWINDOW",
        f"CAPTION {rc_text(string(form, 'windowTitle'))}",
        'FONT 9, "Yu Gothic UI", 400, 0, 128',
        "BEGIN",
    ]
    previous = None
    for control in ordered:
        w = control.widget
        place = ", ".join(str(dialog_units(v)) for v in
                          (control.left, control.top, control.width, control.height))
        # A new group, but for the options after the first and the buttons after the first.
        joins = previous is not None and previous.kind == control.kind and \
            control.kind in ("QRadioButton", "QPushButton")
        styles = [] if joins else ["WS_GROUP"]
        if not boolean(w, "visible", True):
            styles.append("NOT WS_VISIBLE")
        if control.kind == "QGroupBox":
            line = f"GROUPBOX {rc_text(string(w, 'title'))}, {control.id}, {place}"
        elif control.kind == "QFrame":
            line = f'CONTROL "", {control.id}, "Static", SS_BLACKRECT, {place}'
        elif control.kind == "QRadioButton":
            styles = ["BS_AUTORADIOBUTTON"] + ([] if joins else ["WS_GROUP", "WS_TABSTOP"])
            line = f'CONTROL {rc_text(string(w, "text"))}, {control.id}, "Button", ' + \
                " | ".join(styles) + f", {place}"
            styles = []
        elif control.kind == "QLabel":
            styles.insert(0, "SS_NOPREFIX")
            line = f"LTEXT {rc_text(string(w, 'text'))}, {control.id}, {place}"
        elif control.kind == "QLineEdit":
            styles = ["ES_AUTOHSCROLL"] + styles + ["WS_TABSTOP"]
            line = f"EDITTEXT {control.id}, {place}"
        elif control.kind == "QPushButton":
            keyword = "DEFPUSHBUTTON" if boolean(w, "default", False) else "PUSHBUTTON"
            styles.append("WS_TABSTOP")
            line = f"{keyword} {rc_text(string(w, 'text'))}, {control.id}, {place}"
        else:
            fail(f"{control.name}: no Windows control for {control.kind}")
        lines.append("  " + line + (", " + " | ".join(styles) if styles else ""))
        previous = control
    lines.append("END")
    return "\n".join(lines) + "\n"


def colour(text):
    named = {"black": (0, 0, 0), "white": (255, 255, 255)}
    text = text.strip()
    if text in named:
        return named[text]
    match = re.fullmatch(r"rgb\((\d+),\s*(\d+),\s*(\d+)\)", text)
    if not match:
        fail(f"unknown colour {text}")
    return tuple(int(v) for v in match.groups())


def button_colours(sheet, name):
    """The colours the style sheet gives the push button `name`, by state."""
    found = {}
    for selectors, body in re.findall(r"([^{}]+)\{([^}]*)\}", sheet):
        for selector in selectors.split(","):
            match = re.fullmatch(rf"\s*QPushButton#{name}(:\w+)?\s*", selector)
            if not match:
                continue
            state = (match.group(1) or ":normal")[1:]
            if state not in ("normal", "pressed", "default", "disabled"):
                continue  # the focus follows the system's colours on Windows
            for declaration in body.split(";"):
                if ":" not in declaration:
                    continue
                key, value = (part.strip() for part in declaration.split(":", 1))
                if key == "border":
                    value = re.search(r"rgb\([^)]*\)", value).group(0)
                    key = "border-color"
                if key in ("color", "background-color", "border-color"):
                    found[(state, key)] = colour(value)
    return found


def layout(form, controls):
    width, height = geometry(form)[2:]
    window = form.find("property[@name='palette']/palette/active/colorrole[@role='Window']")
    if window is None:
        fail("the form has no window colour")
    background = tuple(int(window.find("brush/color").findtext(k)) for k in ("red", "green", "blue"))
    sheet = string(form, "styleSheet") or ""
    buttons = [c.name for c in controls if c.kind == "QPushButton"]
    faces = {name: button_colours(sheet, name) for name in buttons}
    if any(face != faces[buttons[0]] for face in faces.values()):
        fail("the buttons must share their colours")
    face = faces[buttons[0]]
    wanted = {
        "kButtonText": ("normal", "color"),
        "kButtonFace": ("normal", "background-color"),
        "kButtonBorder": ("normal", "border-color"),
        "kButtonPressed": ("pressed", "background-color"),
        "kDefaultBorder": ("default", "border-color"),
        "kDisabledText": ("disabled", "color"),
    }
    colours = [("kBackground", background)]
    for constant, key in wanted.items():
        if key not in face:
            fail(f"the buttons' style sheet gives no {key[1]} for {key[0]}")
        colours.append((constant, face[key]))

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
        "// A control's place in the client area, in pixels at 96 DPI.",
        "struct Place {",
        "  int id;",
        "  int left;",
        "  int top;",
        "  int width;",
        "  int height;",
        "};",
        "",
        f"inline constexpr int kClientWidth = {width};",
        f"inline constexpr int kClientHeight = {height};",
        "",
        "// Every control, in the dialog's order.",
        "inline constexpr std::array kPlaces{",
    ]
    for c in controls:
        out.append(f"    Place{{{c.id}, {c.left}, {c.top}, {c.width}, {c.height}}},")
    out += ["};", "", "// Colours as 0xRRGGBB."]
    for constant, (r, g, b) in colours:
        out.append(f"inline constexpr std::uint32_t {constant} = 0x{r:02X}{g:02X}{b:02X};")
    out += ["", "}  // namespace tarvelo::form", ""]
    return "\n".join(out)


def main():
    if len(sys.argv) != 4:
        fail("usage: form_from_ui.py FORM.ui DIALOG.dlg LAYOUT.h")
    root = ElementTree.parse(sys.argv[1]).getroot()
    form = root.find("widget")
    controls = controls_of(form)
    tabstops = [t.text for t in root.findall("tabstops/tabstop")]
    ordered = dialog_order(controls, tabstops)
    with open(sys.argv[2], "w", encoding="utf-8") as rc:
        rc.write("// Made from window/form1.ui by win32/form_from_ui.py as the program is built.\n")
        rc.write(template(form, ordered))
    with open(sys.argv[3], "w", encoding="utf-8") as header:
        header.write(layout(form, ordered))


main()
