"""The sample skin end to end: copied to x\\o.cjs beside the program, it gives the window,
its frames and its buttons the skin's colours, hover colour included."""
import shutil
from pathlib import Path

from harness.scenario import INSTALL_DIR
from scenarios.screen import pixel
from scenarios.test_startup import background_point, error_boxes

SAMPLE_SKIN = Path(__file__).resolve().parents[3] / "skins" / "ocean.cjs"
# Colours of skins/ocean.cjs.
WINDOW = "#E3EFF8"
CONTROLS = "#E3EFF8"
FACE = "#1B6CA8"
HOVER = "#2F86C6"


def face_point(button):
    """A point of a button's face clear of its caption and its outline."""
    left, top, right, bottom = button.rect
    return (left + 6, (top + bottom) // 2)


def test_the_sample_skin_gives_the_skinned_look(s):
    installed = s.install_vornatic()
    (installed.parent / "x").mkdir()
    shutil.copyfile(SAMPLE_SKIN, installed.parent / "x" / "o.cjs")
    window = s.start_vornatic()
    s.desktop.move(window.rect[0] - 40, window.rect[3] + 40)  # the pointer away from the buttons

    assert pixel(s, *background_point(window)) == WINDOW
    status = window.child("Status").rect
    assert pixel(s, status[0] + (status[2] - status[0]) * 3 // 4, (status[1] + status[3]) // 2) == CONTROLS
    for caption in ("Start Autodrag", "Help"):
        assert pixel(s, *face_point(window.child(caption))) == FACE, f"\"{caption}\" has not the skin's face"
    s.screenshot("skinned", region=window.rect)

    help_button = window.child("Help")
    s.desktop.move(*help_button.centre)
    s.wait_until(lambda: pixel(s, *face_point(help_button)) == HOVER, "the skin's hover colour on Help")
    assert pixel(s, *face_point(window.child("Start Autodrag"))) == FACE
    s.screenshot("skinned-hover", region=window.rect)
    assert not error_boxes(s)
    assert s.prefix.unix_path(f"{INSTALL_DIR}\\x\\o.cjs").exists()
