"""What the user sees, read off the X display: the colour of a screen pixel, and the
pointer's current picture. Wine gives the virtual desktop's X window the Windows cursor
that is showing, so XFixes reads the very picture the user sees."""
import ctypes
import struct
import subprocess
from dataclasses import dataclass


def pixel(s, x, y):
    """The colour at Windows screen pixel (x, y) as "#RRGGBB"."""
    path = s.artefacts / "pixel.png"
    s.desktop.screenshot(path, (x, y, x + 1, y + 1))
    text = subprocess.run(["convert", str(path), "txt:-"], capture_output=True, text=True, check=True,
                          timeout=60).stdout
    # "0,0: (227,239,248)  #E3EFF8  srgb(227,239,248)"
    return next(field for field in text.splitlines()[1].split() if field.startswith("#"))[:7].upper()


@dataclass(frozen=True)
class PointerPicture:
    width: int
    height: int
    hot_x: int
    hot_y: int
    pixels: tuple  # ARGB, row by row


class _XFixesCursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


def pointer_picture(display):
    """The pointer picture showing on the X display right now."""
    x11 = ctypes.CDLL("libX11.so.6")
    xfixes = ctypes.CDLL("libXfixes.so.3")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    x11.XFree.argtypes = [ctypes.c_void_p]
    xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(_XFixesCursorImage)
    xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    connection = x11.XOpenDisplay(display.encode())
    if not connection:
        raise RuntimeError(f"cannot open X display {display}")
    try:
        found = xfixes.XFixesGetCursorImage(connection)
        if not found:
            raise RuntimeError("XFixes gave no cursor image")
        image = found.contents
        pixels = tuple(image.pixels[i] & 0xFFFFFFFF for i in range(image.width * image.height))
        picture = PointerPicture(image.width, image.height, image.xhot, image.yhot, pixels)
        x11.XFree(found)
        return picture
    finally:
        x11.XCloseDisplay(connection)


def cursor_file_hot_spot(path):
    """(width, height, hot x, hot y) of the first picture in a .CUR file."""
    data = path.read_bytes()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 2 or count < 1:
        raise AssertionError(f"{path} is not a cursor file")
    width, height, _, _, hot_x, hot_y = struct.unpack_from("<BBBBHH", data, 6)
    return (width or 256, height or 256, hot_x, hot_y)
