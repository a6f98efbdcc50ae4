#!/usr/bin/python3
"""Starts the program on a real desktop (beside with-desktop.sh's compositor) and checks, case
by case, what a user meets there: the platform chosen, the frame and its buttons, the desktop's
maximise and fullscreen, 1989 typed and answered, the box's place, the box's own maximise and
fullscreen, and the box minimised then the dialog activated. Every case prints one line.
usage: desktops.py gnome|kde|sway TARVELO KWIN_KEYS [SCREENSHOT_FOLDER]"""

import json
import os
import subprocess
import sys
import time

import gi

sys.dont_write_bytecode = True  # the source tree stays as it was

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, Gio, GLib  # noqa: E402

from atspi_text import find_node  # noqa: E402

DIALOG, BOX = "Tarvelo", "変換結果"
ANSWER = "西暦1989年は平成元年です。"
# What each desktop is to show. Buttons are those of the frame; sway's title bars have none.
EXPECTED = {
    "gnome": {"platform": "xcb", "buttons": {"close"}},
    "kde": {"platform": "wayland", "buttons": {"close", "minimise"}},
    "sway": {"platform": "wayland", "buttons": set()},
}


def wait_for(what, timeout=10.0):
    """The first true answer of what() within the timeout, else the last one."""
    deadline = time.monotonic() + timeout
    while True:
        answer = what()
        if answer or time.monotonic() > deadline:
            return answer
        time.sleep(0.1)


def settled(what, timeout=5.0, hold=0.6):
    """Whether what() becomes true and stays true for `hold` seconds: the desktop answers a
    request a moment later, so a state seen once right after asking proves nothing."""
    deadline = time.monotonic() + timeout
    since = None
    while time.monotonic() < deadline:
        if what():
            since = since or time.monotonic()
            if time.monotonic() - since >= hold:
                return True
        else:
            since = None
        time.sleep(0.1)
    return False


class Gnome:
    """gnome-shell, asked through its Eval call (the test extension allows it)."""

    def __init__(self, pid):
        self.pid = pid
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION)

        def ready():
            try:
                return self.eval("1") == 1
            except (GLib.Error, RuntimeError):
                return False
        if not wait_for(ready, 30):
            raise RuntimeError("gnome-shell does not answer Eval (is the test extension on?)")

    def eval(self, code):
        ok, out = self.bus.call_sync(
            "org.gnome.Shell", "/org/gnome/Shell", "org.gnome.Shell", "Eval",  # gives JSON
            GLib.Variant("(s)", (code,)), GLib.VariantType("(bs)"), 0, 10000, None).unpack()
        if not ok:
            raise RuntimeError(f"gnome-shell: {out}")
        return json.loads(out) if out else None

    def find(self):
        return (f"global.get_window_actors().map(a => a.meta_window)"
                f".filter(w => w.get_pid() == {self.pid})")

    def windows(self):
        return self.eval(f"""{self.find()}.map(w => {{
            const r = w.get_frame_rect(), x11 = w.get_client_type() == 1;
            return {{title: w.get_title(), platform: x11 ? 'xcb' : 'wayland',
              frame: x11 && w.decorated ? 'desktop' : 'program',
              buttons: x11 && w.decorated ? [w.can_close() && 'close',
                w.can_minimize() && 'minimise', w.can_maximize() && 'maximise'].filter(b => b)
                : ['minimise', 'maximise', 'close'],
              rect: [r.x, r.y, r.width, r.height], maximised: w.get_maximized() != 0,
              fullscreen: w.is_fullscreen(), minimised: w.minimized, active: w.has_focus()}};
            }})""")

    def request(self, title, action):
        # Asked whatever the window allows, as a title bar, a key or another program may.
        act = {"maximise": "w.maximize(Meta.MaximizeFlags.BOTH)",
               "fullscreen": "w.make_fullscreen()", "minimise": "w.minimize()",
               "activate": "w.activate(global.get_current_time())"}[action]
        self.eval(f"{self.find()}.filter(w => w.get_title() == {json.dumps(title)})"
                  f".forEach(w => {{ {act}; }}); ''")
        return True

    def type(self, text):
        subprocess.run(["xdotool", "type", "--delay", "60", text.rstrip("\n")], check=True)
        if text.endswith("\n"):
            subprocess.run(["xdotool", "key", "Return"], check=True)

    def screenshot(self, path):
        # The shell takes pictures only for a few names; the test holds one of them.
        self.bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus",
                           "org.freedesktop.DBus", "RequestName",
                           GLib.Variant("(su)", ("org.gnome.Screenshot", 4)), None, 0, -1, None)
        self.bus.call_sync("org.gnome.Shell.Screenshot", "/org/gnome/Shell/Screenshot",
                           "org.gnome.Shell.Screenshot", "Screenshot",
                           GLib.Variant("(bbs)", (False, False, path)), None, 0, 10000, None)


class Kde:
    """kwin_wayland, asked through scripts that print their answer to its output. KWin 6 names
    windows and their list apart from KWin 5's clients, and tells a window's maximised state,
    which KWin 5 only announces: a script that stays loaded writes down each announcement."""

    def __init__(self, pid):
        self.pid = pid
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION)
        self.count = 0
        self.script("""if (workspace.clientMaximizeSet) {
            workspace.clientMaximizeSet.connect((c, h, v) =>
                print(`tarvelo-maximised ${c.internalId} ${h || v}`));
        }
        return 0;""")

    def script(self, body):
        self.count += 1
        tag = f"tarvelo-{self.count}"
        path = os.path.join(os.environ["TMPDIR"], tag + ".js")
        with open(path, "w", encoding="utf-8") as file:
            file.write("const mine = (workspace.windowList ? workspace.windowList()"
                       f" : workspace.clientList()).filter(c => c.pid == {self.pid});\n"
                       f"print('{tag} ' + JSON.stringify((() => {{ {body} }})()));\n")
        for method, args in (("loadScript", ("(ss)", (path, tag))), ("start", None)):
            self.bus.call_sync("org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting", method,
                               GLib.Variant(*args) if args else None, None, 0, 10000, None)
        line = wait_for(lambda: next((ln for ln in self.log() if ln.startswith(f"js: {tag} ")),
                                     None))
        if line is None:
            raise RuntimeError(f"kwin did not run script {tag}")
        return json.loads(line.split(" ", 2)[2])

    def log(self):
        with open(os.environ["TARVELO_DESKTOP_LOG"], encoding="utf-8", errors="replace") as log:
            return log.readlines()

    def maximised(self, window):
        """The window's maximised state as KWin 6 tells it, or as KWin 5 last announced it."""
        state = window.pop("maximiseMode")
        if state is not None:
            return state != 0
        said = [ln.split() for ln in self.log() if ln.startswith("js: tarvelo-maximised ")]
        return next((ln[3] == "true" for ln in reversed(said) if ln[2] == window["id"]), False)

    def windows(self):
        found = self.script("""return mine.map(c => ({title: c.caption, id: String(c.internalId),
            platform: c.windowId === undefined ? null : c.windowId ? 'xcb' : 'wayland',
            frame: c.noBorder ? 'program' : 'desktop',
            buttons: [c.closeable && 'close', c.minimizable && 'minimise',
                      c.maximizable && 'maximise'].filter(b => b),
            rect: [c.frameGeometry.x, c.frameGeometry.y, c.frameGeometry.width,
                   c.frameGeometry.height],
            maximiseMode: c.maximizeMode === undefined ? null : c.maximizeMode,
            fullscreen: c.fullScreen, minimised: c.minimized, active: c.active}));""")
        return [dict(w, maximised=self.maximised(w), platform=w["platform"] or self.platform(w))
                for w in found]

    def platform(self, window):
        """KWin 6 keeps a window's X11 identity from its scripts: the X server is asked."""
        found = subprocess.run(["xdotool", "search", "--pid", str(self.pid), "--name",
                                f"^{window['title']}$"], capture_output=True, check=False)
        return "xcb" if found.stdout.strip() else "wayland"

    def request(self, title, action):
        # What KWin's window menu and keys do.
        act = {"maximise": "c.setMaximize(true, true)", "fullscreen": "c.fullScreen = true",
               "minimise": "c.minimized = true",
               "activate": "if (workspace.windowList) workspace.activeWindow = c;"
                           " else workspace.activeClient = c"}[action]
        self.script(f"mine.filter(c => c.caption == {json.dumps(title)})"
                    f".forEach(c => {{ {act}; }}); return 0;")
        return True

    def type(self, text):
        codes = {str(d): str(2 + (d - 1) % 10) for d in range(10)}
        keys = [codes[ch] if ch != "\n" else "28" for ch in text]  # KEY_1.. KEY_0, KEY_ENTER
        subprocess.run([sys.argv[3], *keys], check=True)

    def screenshot(self, path):
        # KWin 6 takes pictures only when it draws with OpenGL, which a headless KWin without
        # a graphics device does not.
        self.bus.call_sync("org.kde.KWin", "/Effects", "org.kde.kwin.Effects", "loadEffect",
                           GLib.Variant("(s)", ("screenshot",)), None, 0, 10000, None)
        loaded, = self.bus.call_sync(
            "org.kde.KWin", "/Effects", "org.freedesktop.DBus.Properties", "Get",
            GLib.Variant("(ss)", ("org.kde.kwin.Effects", "loadedEffects")), None, 0, 10000,
            None).unpack()
        if "screenshot" not in loaded:
            print(f"kde: no screenshot {os.path.basename(path)}: KWin draws without OpenGL here")
            return
        read, write = os.pipe()
        fds = Gio.UnixFDList.new()
        fds.append(write)
        result, _ = self.bus.call_with_unix_fd_list_sync(
            "org.kde.KWin", "/org/kde/KWin/ScreenShot2", "org.kde.KWin.ScreenShot2",
            "CaptureWorkspace", GLib.Variant("(a{sv}h)", ({}, 0)),
            GLib.VariantType("(a{sv})"), 0, 10000, fds, None)
        os.close(write)
        del fds  # holds the other copy of the pipe's end
        info = result.unpack()[0]
        size = info["stride"] * info["height"]
        with os.fdopen(read, "rb") as pipe:
            data = pipe.read(size)
        subprocess.run(["convert", "-size", f"{info['width']}x{info['height']}", "-depth", "8",
                        "bgra:-", path], input=data, check=True)


class Sway:
    """sway, asked through swaymsg."""

    def __init__(self, pid):
        self.pid = pid

    def nodes(self):
        tree = json.loads(subprocess.run(["swaymsg", "-t", "get_tree"], capture_output=True,
                                         check=True).stdout)
        stack, found = [tree], []
        while stack:
            node = stack.pop()
            if node.get("pid") == self.pid:
                found.append(node)
            stack.extend(node.get("nodes", []) + node.get("floating_nodes", []))
        return found

    def windows(self):
        return [{"title": n["name"], "platform": "xcb" if n["shell"] == "xwayland" else "wayland",
                 "frame": "desktop" if n["border"] == "normal" else "program", "buttons": [],
                 "rect": [n["rect"][k] for k in ("x", "y", "width", "height")],
                 "maximised": False, "fullscreen": n["fullscreen_mode"] != 0, "minimised": False,
                 "active": n["focused"], "id": n["id"]} for n in self.nodes()]

    def request(self, title, action):
        if action in ("maximise", "minimise"):
            return False  # sway has neither
        command = {"fullscreen": "fullscreen enable", "activate": "focus"}[action]
        for window in self.windows():
            if window["title"] == title:
                subprocess.run(["swaymsg", f"[con_id={window['id']}] {command}"],
                               capture_output=True, check=True)
        return True

    def type(self, text):
        # Each run brings a new keyboard: a pause first lets the program take its keymap.
        keys = ["-s", "300", "-d", "60"] + ([text.rstrip("\n")] if text.rstrip("\n") else [])
        subprocess.run(["wtype", *keys] + (["-k", "Return"] if text.endswith("\n") else []),
                       check=True)

    def screenshot(self, path):
        subprocess.run(["grim", path], check=True)


def box_text(timeout=10.0):
    """The text of the program's open message box, read as a screen reader does."""
    def find():
        label = find_node(lambda node: node.get_role() == Atspi.Role.LABEL and
                          "西暦" in (node.get_name() or ""))
        return label.get_name() if label is not None else None
    return wait_for(find, timeout)


def main():
    name, program = sys.argv[1], sys.argv[2]
    shots = sys.argv[4] if len(sys.argv) > 4 else None
    expected = EXPECTED[name]
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    started = subprocess.Popen([program], env=env)
    desktop = {"gnome": Gnome, "kde": Kde, "sway": Sway}[name](started.pid)
    failures = []

    def window(title):
        return next((w for w in desktop.windows() if w["title"] == title), None)

    def case(title, passed, detail):
        print(f"{name}: {title}: {'ok' if passed else 'FAILED'} ({detail})", flush=True)
        if not passed:
            failures.append(title)

    def alive():
        return started.poll() is None

    def kept(title, rect):
        current = window(title)
        return (alive() and current is not None and current["rect"] == rect
                and not current["maximised"] and not current["fullscreen"])

    def window_command(title, action):
        before = window(title)
        if not desktop.request(title, action):
            print(f"{name}: {title} {action} from the desktop: not offered by {name}")
            return
        passed = settled(lambda: kept(title, before["rect"]))
        case(f"{action} of {title!r} from the desktop", passed,
             f"before {before['rect']}, after {window(title) if alive() else 'program ended'}")

    try:
        dialog = wait_for(lambda: window(DIALOG), 20)
        wait_for(lambda: (window(DIALOG) or {}).get("active"), 10)
        # sway settles who draws the frame a moment after the window first shows.
        wait_for(lambda: (window(DIALOG) or {}).get("frame") == "desktop", 5)
        dialog = window(DIALOG)
        if dialog is None:
            case("dialog opens", False, f"no window titled {DIALOG!r}")
            return 1
        case("platform", dialog["platform"] == expected["platform"], dialog["platform"])
        case("frame", dialog["frame"] == "desktop" and set(dialog["buttons"]) ==
             expected["buttons"], f"drawn by the {dialog['frame']}, buttons {dialog['buttons']}")
        for action in ("maximise", "fullscreen"):
            window_command(DIALOG, action)

        desktop.request(DIALOG, "activate")
        wait_for(lambda: (window(DIALOG) or {}).get("active"))
        dialog = window(DIALOG)
        if shots:  # drawn by now, as GNOME 48 need not have at first
            desktop.screenshot(os.path.join(shots, f"{name}-dialog.png"))
        desktop.type("1989\n")
        box = wait_for(lambda: window(BOX))
        text = box_text()
        case("1989 typed and answered", text == ANSWER, text)
        if box is None:
            return 1
        wait_for(lambda: (window(BOX) or {}).get("frame") == "desktop", 5)
        box = window(BOX) or box
        if shots:
            desktop.screenshot(os.path.join(shots, f"{name}-box.png"))
        # Centred across the dialog and over its middle; GNOME hangs it below the title bar.
        (bx, by, bw, bh), (dx, dy, dw, dh) = box["rect"], dialog["rect"]
        case("box opens centred over the dialog",
             abs(bx + bw / 2 - (dx + dw / 2)) <= 20 and by <= dy + dh / 2 <= by + bh,
             f"box {box['rect']}, dialog {dialog['rect']}")
        case("box's frame", box["frame"] == "desktop" and "maximise" not in box["buttons"],
             f"drawn by the {box['frame']}, buttons {box['buttons']}")
        for action in ("maximise", "fullscreen"):
            window_command(BOX, action)

        # The program may bring the box back before it is seen minimised: only the outcome counts.
        if not desktop.request(BOX, "minimise"):
            print(f"{name}: box minimised alone: not offered by {name}")
        else:
            desktop.request(DIALOG, "activate")
            case("box minimised, then the dialog activated",
                 settled(lambda: not (window(BOX) or {"minimised": True})["minimised"]),
                 f"box {window(BOX)}")
        desktop.request(BOX, "activate")
        desktop.type("\n")
        case("box answered with Enter, program still running",
             wait_for(lambda: window(BOX) is None) and alive(), f"windows {desktop.windows()}")
    finally:
        started.terminate()
        started.wait()
    print(f"{name}: {len(failures)} failed" + (f": {', '.join(failures)}" if failures else ""))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
