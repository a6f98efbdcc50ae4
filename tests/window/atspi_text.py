#!/usr/bin/python3
"""Asks the running dialog's year box, over AT-SPI as a screen reader does, for the text at,
before and after every offset with every boundary type, and fails if any answer is missing
or does not come in time. usage: atspi_text.py PROGRAM (on an X display and a D-Bus session)"""

import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402


def find_node(wanted):
    """The first object of the running program's accessible tree that `wanted` accepts,
    passing over what is not showing, as a screen reader does; None if there is none."""
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is None or app.get_name() != "tarvelo":
            continue
        stack = [app]
        while stack:
            node = stack.pop()
            if node is not app and not node.get_state_set().contains(Atspi.StateType.SHOWING):
                continue
            if wanted(node):
                return node
            stack.extend(node.get_child_at_index(j) for j in range(node.get_child_count()))
    return None


def find_box(timeout=20.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        box = find_node(lambda node: node.get_role() in (Atspi.Role.TEXT, Atspi.Role.ENTRY))
        if box is not None:
            return box
        time.sleep(0.2)
    return None


def check(box, text):
    failures = []
    for boundary in range(7):  # CHAR .. LINE_END
        for offset in range(len(text) + 1):
            for name, ask in (("at", Atspi.Text.get_text_at_offset),
                              ("before", Atspi.Text.get_text_before_offset),
                              ("after", Atspi.Text.get_text_after_offset)):
                where = f"{name} offset {offset} boundary {boundary} of {text!r}"
                try:
                    answer = ask(box, offset, Atspi.TextBoundaryType(boundary))
                except gi.repository.GLib.Error as error:
                    failures.append(f"{where}: {error.message}")
                    return failures  # a program that stopped answering answers nothing more
                if answer.content != text[answer.start_offset:answer.end_offset]:
                    failures.append(f"{where}: {answer.content!r} "
                                    f"[{answer.start_offset}, {answer.end_offset})")
    return failures


def check_answers(box):
    """A few answers in full, so that an empty answer cannot pass for a right one."""
    expected = [
        (Atspi.Text.get_text_at_offset, 1, Atspi.TextBoundaryType.CHAR, ("9", 1, 2)),
        (Atspi.Text.get_text_before_offset, 4, Atspi.TextBoundaryType.CHAR, ("9", 3, 4)),
        (Atspi.Text.get_text_at_offset, 0, Atspi.TextBoundaryType.WORD_START, ("1989", 0, 4)),
        (Atspi.Text.get_text_at_offset, 2, Atspi.TextBoundaryType.LINE_START, ("1989", 0, 4)),
    ]
    failures = []
    for ask, offset, boundary, want in expected:
        answer = ask(box, offset, boundary)
        got = (answer.content, answer.start_offset, answer.end_offset)
        if got != want:
            failures.append(f"{ask.__name__}({offset}, {boundary.value_nick}) of '1989': {got}, not {want}")
    return failures


def main():
    Atspi.set_timeout(3000, 10000)
    program = subprocess.Popen([sys.argv[1]])
    try:
        box = find_box()
        if box is None:
            print("FAIL: the year box is not on the accessibility bus")
            return 1
        failures = check(box, "")
        if not failures:
            Atspi.EditableText.insert_text(box, 0, "1989", 4)
            if Atspi.Text.get_text(box, 0, -1) != "1989":
                failures.append("the box did not take 1989")
            else:
                failures = check(box, "1989") + check_answers(box)
        for failure in failures:
            print("FAIL:", failure)
        if program.poll() is not None:
            print("FAIL: the program ended with status", program.returncode)
            return 1
        print("atspi: every text query answered" if not failures else "")
        return 1 if failures else 0
    finally:
        program.kill()
        program.wait()


if __name__ == "__main__":
    sys.exit(main())
