#!/usr/bin/python3
"""usage: tell-x11.py FILE [USER]
Started by the compositor, which names its X display only to the programs it starts: writes
DISPLAY and XAUTHORITY to FILE. With USER, first lets that user's programs into the X server,
which lets in only its own user's (the compositor runs as another user)."""

import ctypes
import os
import sys


class ServerInterpreted(ctypes.Structure):  # XServerInterpretedAddress
    _fields_ = [("typelength", ctypes.c_int), ("valuelength", ctypes.c_int),
                ("type", ctypes.c_char_p), ("value", ctypes.c_char_p)]


class HostAddress(ctypes.Structure):  # XHostAddress
    _fields_ = [("family", ctypes.c_int), ("length", ctypes.c_int),
                ("address", ctypes.c_void_p)]


def let_in(user):
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XAddHost.argtypes = [ctypes.c_void_p, ctypes.POINTER(HostAddress)]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("tell-x11: cannot open the X display")
    address = ServerInterpreted(9, len(user), b"localuser", user.encode())
    host = HostAddress(5, ctypes.sizeof(address),  # FamilyServerInterpreted
                       ctypes.cast(ctypes.pointer(address), ctypes.c_void_p))
    x11.XAddHost(display, ctypes.byref(host))
    x11.XCloseDisplay(display)  # sends the request


def main():
    path = sys.argv[1]
    if len(sys.argv) > 2:
        let_in(sys.argv[2])
    with open(path + ".part", "w", encoding="utf-8") as file:
        file.write(f"{os.environ.get('DISPLAY', '')}\n{os.environ.get('XAUTHORITY', '')}\n")
    os.rename(path + ".part", path)


main()
