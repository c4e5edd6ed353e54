#!/usr/bin/env python3
"""Refreshes the README's pictures in docs/images/ from the end-to-end scenarios that take
them, so that what the README shows is what the tests saw the real program do under Wine.
Look at each picture before committing it."""
import shutil
import subprocess
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
sys.path.insert(0, str(HERE))

from harness import paths  # noqa: E402

IMAGES = paths.REPO / "docs" / "images"
WORKDIR = paths.BUILD / "screenshots-run"
# picture in docs/images: (scenario, the label of its screenshot)
PICTURES = {
    "window.png": ("test_startup::test_the_window_opens_as_laid_out_with_its_caption_and_tray_tip",
                   "window-at-start"),
    "tray-balloon.png": ("test_tray::test_minimise_goes_to_the_tray_with_one_balloon_and_a_click_brings_it_back",
                         "balloon"),
    "skinned.png": ("test_skin::test_the_sample_skin_gives_the_skinned_look", "skinned"),
    "badge-light.png": ("test_shortcut::test_the_shortcut_starts_and_stops_auto_drag_and_a_badge_shows_while_the_button"
                        "_is_held", "badge-light"),
    "badge-dark.png": ("test_shortcut::test_the_shortcut_starts_and_stops_auto_drag_and_a_badge_shows_while_the_button"
                       "_is_held", "badge-dark"),
    "settings.png": ("test_settings::test_settings_from_the_tray_menu_take_effect_at_once", "settings"),
    "tray-menu.png": ("test_settings::test_settings_from_the_tray_menu_take_effect_at_once", "tray-menu"),
}


def main():
    scenarios = sorted({scenario for scenario, _ in PICTURES.values()})
    run = subprocess.run([sys.executable, str(HERE / "run_e2e.py"), "--workdir", str(WORKDIR), *scenarios])
    if run.returncode != 0:
        print("screenshots: a scenario failed; docs/images is left as it was", file=sys.stderr)
        return 1
    IMAGES.mkdir(parents=True, exist_ok=True)
    for name, (scenario, label) in PICTURES.items():
        taken = sorted((WORKDIR / scenario.replace("::", ".")).glob(f"[0-9][0-9]-{label}.png"))
        if len(taken) != 1:
            print(f"screenshots: {scenario} left {len(taken)} pictures labelled {label}", file=sys.stderr)
            return 1
        shutil.copyfile(taken[0], IMAGES / name)
        print(f"screenshots: {IMAGES / name}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
