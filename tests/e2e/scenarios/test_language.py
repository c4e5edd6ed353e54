"""Vornatic in the user's display language: every control's text fits its control in every
language it ships, at 96 and 192 DPI, measured in the control's own font by the probe; and
the window, the balloon and Help in German and in Japanese, on screenshots."""
import importlib.util
import json

from harness.paths import REPO
from harness.scenario import needs_screen
from scenarios.test_tray import BALLOON_APPEARS_WITHIN, balloon

# The Linux locale that gives a Wine program each display language Vornatic speaks.
LOCALES = {"en": "en_US.UTF-8", "de": "de_DE.UTF-8", "fr": "fr_FR.UTF-8", "es": "es_ES.UTF-8",
           "it": "it_IT.UTF-8", "pt-BR": "pt_BR.UTF-8", "nl": "nl_NL.UTF-8", "pl": "pl_PL.UTF-8",
           "ja": "ja_JP.UTF-8", "zh-CN": "zh_CN.UTF-8"}


def _catalogue():
    spec = importlib.util.spec_from_file_location("make_catalogue", REPO / "res" / "make_catalogue.py")
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    english, translations, _ = module.read_catalogue(REPO / "res" / "lang")
    return lambda tag, ident: translations[tag].get(ident, english[ident])


TEXT = _catalogue()


def set_dpi(s, dpi):
    s.prefix.run(["reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi),
                  "/f"], check=True)


def close_vornatic(s):
    s.prefix.run(["taskkill", "/im", "Vornatic.exe"], timeout=60)
    s.wait_until(lambda: s.main_window() is None, "Vornatic's window to go")


def start_in(s, tag):
    return s.start_vornatic(LOCALES[tag], TEXT(tag, "StartAutodrag"))


def show_both_check_boxes(s, tag):
    """Ticks the logon box unless a language before ticked it, so that the box beside it shows."""
    beside = TEXT(tag, "MinimizedToTray")
    window = s.main_window()
    if not (window.child(beside) and window.child(beside).visible):
        s.click_button(TEXT(tag, "LoadOnStartup"))
    return s.wait_for_main_window(lambda w: w.child(beside) is not None and w.child(beside).visible,
                                  f"\"{beside}\" to show")


def inside(rect, place):
    return place[0] <= rect[0] and place[1] <= rect[1] and rect[2] <= place[2] and rect[3] <= place[3]


def places(controls, client, frame_texts=None):
    """Each control with where it must stay: the status line and the check boxes inside the
    frame they stand in (a few pixels in from its line), the rest inside the window."""
    frame_texts = frame_texts or FRAME_TEXTS
    frames = [c["rect"] for c in controls if c["class"] == "Button" and c["text"] in frame_texts]
    for control in controls:
        holder = next((f for f in frames if control["rect"] != f and inside(control["rect"][:2] * 2, f)), None)
        yield control, ((holder[0] + 2, holder[1], holder[2] - 2, holder[3] - 2) if holder else client)


FRAME_TEXTS = {TEXT(tag, ident) for tag in LOCALES for ident in ("StartupOptions", "Status")}
SETTINGS_FRAMES = {TEXT(tag, ident) for tag in LOCALES
                   for ident in ("SettingsLatchFrame", "SettingsShortcutFrame", "SettingsBadgeFrame")}


def wraps_whole(control):
    """A caption that goes on at the next line, and all of whose lines the control shows."""
    return control.get("wraps") and control["wrapped_height"] <= control["client_height"]


def settings_window_cut_off(s, tag, dpi):
    """Opens the Settings window from the main window's button and measures it as the main
    window is measured; closes it again with Escape. Returns what does not fit, and the
    window's size."""
    title = TEXT(tag, "SettingsTitle")
    s.click_button(TEXT(tag, "OpenSettings"))
    dialog = s.wait_until(lambda: (lambda d: d if d and d.visible else None)(s.probe.inspect(title)),
                          f"the Settings window \"{title}\"")
    fit = s.probe.fit(title)
    controls = [c for c in fit.get("controls", []) if c["class"] not in ("Edit", "msctls_trackbar32")]
    assert len(controls) >= 12, f"{tag}: the Settings window was not measured: {fit}"
    s.screenshot(f"{tag}-{dpi}dpi-settings", region=dialog.rect)
    size = [dialog.rect[2] - dialog.rect[0], dialog.rect[3] - dialog.rect[1]]
    s.note(f"{tag} at {dpi} DPI, the Settings window is {size[0]} x {size[1]} px")
    s.note(f"{tag} at {dpi} DPI, wrapped: {[c['text'] for c in controls if c.get('wraps') and c['needed'] > c['available']]}")
    boxed = max((c for c in controls if c["class"] != "Static"), key=lambda c: c["needed"] / c["available"])
    s.note(f"{tag} at {dpi} DPI, Settings: tightest \"{boxed['text']}\" {boxed['needed']}/{boxed['available']} px")
    problems = [f"{tag} Settings: \"{c['text']}\" needs {c['needed']} px, has {c['available']}"
                for c in controls if c["needed"] > c["available"] and not wraps_whole(c)]
    problems += [f"{tag} Settings: \"{c['text']}\" at {c['rect']} runs out of its place {place}"
                 for c, place in places(controls, dialog.client, SETTINGS_FRAMES) if not inside(c["rect"], place)]
    s.desktop.key("Escape")
    s.wait_until(lambda: not (lambda d: d and d.visible)(s.probe.inspect(title)), "the Settings window to close")
    return problems, size


def every_language_fits(s, dpi):
    if dpi != 96:
        set_dpi(s, dpi)
    cut_off, tightest = [], {}
    for tag in LOCALES:
        start_in(s, tag)
        window = show_both_check_boxes(s, tag)
        fit = s.probe.fit("Vornatic")
        assert fit.get("dpi") == dpi, f"{tag}: the window is not at {dpi} DPI: {fit}"
        controls = [c for c in fit["controls"] if c["class"] != "Edit"]  # Text1 lies out of sight
        assert len(controls) == 8, f"{tag}: not every control was measured: {controls}"
        cut_off += [f"{tag}: \"{c['text']}\" needs {c['needed']} px, has {c['available']}"
                    for c in controls if c["needed"] > c["available"]]
        cut_off += [f"{tag}: \"{c['text']}\" at {c['rect']} runs out of its place {place}"
                    for c, place in places(controls, window.client) if not inside(c["rect"], place)]
        # The status line is made as wide as its wider text, so it always fits exactly; the
        # tightest of the others says how much room the layout left.
        worst = max(controls, key=lambda c: c["needed"] / c["available"])
        boxed = max((c for c in controls if c["class"] != "Static"), key=lambda c: c["needed"] / c["available"])
        tightest[tag] = {"tightest": worst, "tightest_beside_the_status_line": boxed, "client": window.client}
        s.note(f"{tag} at {dpi} DPI: tightest \"{worst['text']}\" {worst['needed']}/{worst['available']} px, "
               f"beside the status line \"{boxed['text']}\" {boxed['needed']}/{boxed['available']} px, "
               f"in {worst['face']}; client {window.client}")
        s.screenshot(f"{tag}-{dpi}dpi", region=window.rect)
        settings_cut_off, tightest[tag]["settings_window"] = settings_window_cut_off(s, tag, dpi)
        cut_off += settings_cut_off
        close_vornatic(s)
    (s.artefacts / f"tightest-{dpi}dpi.json").write_text(json.dumps(tightest, ensure_ascii=False, indent=1),
                                                         encoding="utf-8")
    assert not cut_off, "texts cut off:\n" + "\n".join(cut_off)


def test_every_language_fits_at_96_dpi(s):
    every_language_fits(s, 96)


# Twice the pixels of the usual desktop, as a screen at 200 % has.
@needs_screen(2048, 1536)
def test_every_language_fits_at_192_dpi(s):
    every_language_fits(s, 192)


def message_boxes(s):
    return [w for w in s.probe.inspect_all("Vornatic") if w.cls == "#32770" and w.visible]


def window_balloon_and_help_speak(s, tag):
    window = start_in(s, tag)
    s.screenshot(f"{tag}-window", region=window.rect)
    for ident in ("StartupOptions", "LoadOnStartup", "Status", "AutodragIsOff", "Help"):
        assert window.shows(TEXT(tag, ident)), f"{tag}: no \"{TEXT(tag, ident)}\" in {window.texts()}"

    s.click_button(TEXT(tag, "Help"))
    box = s.wait_until(lambda: (message_boxes(s) or [None])[0], "the Help message box")
    s.screenshot(f"{tag}-help", region=box.rect)
    wanted = TEXT(tag, "HelpMessage").replace("{page}", "https://www.kestrova.example/contact/")
    assert wanted in box.texts(), f"{tag}: the box says {box.texts()}"
    s.desktop.key("Return")
    s.wait_until(lambda: not message_boxes(s), "the Help message box to close")

    # Start sends the window to the tray with its balloon; the status line says "on".
    s.click_button(TEXT(tag, "StartAutodrag"))
    s.wait_for_main_window(lambda w: not w.visible, "the window to go to the tray")
    left, top, _, _ = s.wait_until(lambda: balloon(s), "the balloon", timeout=BALLOON_APPEARS_WITHIN)
    s.screenshot(f"{tag}-balloon", region=(left - 10, top - 10, 1024, 768))
    s.desktop.key("super+shift+d")
    back = s.wait_for_main_window(lambda w: w.visible and w.shows(TEXT(tag, "AutodragIsOff")),
                                  "the window back, auto-drag off", timeout=30)
    assert back.shows(TEXT(tag, "StartAutodrag"))


def test_window_balloon_and_help_in_german_and_japanese(s):
    window_balloon_and_help_speak(s, "de")
    close_vornatic(s)
    window_balloon_and_help_speak(s, "ja")


def setup_pages(s):
    """Setup's windows in German, whose title NSIS sometimes ends with a blank."""
    return [w for w in s.probe.inspect_all_class("#32770") if w.title.startswith("Installation von Vornatic")]


def setup_page_showing(s, wanted):
    return next((w for w in setup_pages(s) if any(t.startswith(wanted) for t in w.texts())), None)


def test_the_installer_speaks_german_and_installs_as_before(s):
    from scenarios.test_install import folder_of_user, package

    s.note("run the installer for a German user")
    s.prefix.start([package("setup.exe")], output=s.artefacts / "setup-output.txt", locale=LOCALES["de"])
    s.wait_until(s.desktop.find_desktop_origin, "the Wine desktop window", 30)
    # It offers its languages, the user's own chosen.
    chooser = s.wait_until(lambda: s.probe.inspect("Installer Language"), "the installer's language choice", 30)
    s.screenshot("setup-language", region=chooser.rect)
    assert "Deutsch" in chooser.texts(), f"German is not the one chosen: {chooser.texts()}"
    s.desktop.key("Return")

    welcome = TEXT("de", "SetupWelcome").split("{version}")[0]
    page = s.wait_until(lambda: setup_page_showing(s, welcome), "the German welcome page", 30)
    s.screenshot("setup-welcome", region=page.rect)
    assert "&Installieren" in page.texts(), f"the buttons are not German: {page.texts()}"
    s.desktop.key("Return")

    finish = s.wait_until(lambda: setup_page_showing(s, TEXT("de", "SetupRunNow")),
                          "the German finish page with its start box", 60)
    s.screenshot("setup-finish", region=finish.rect)
    s.desktop.key("Return")

    # The Start-menu entry is where it always was, and what it starts speaks German too.
    shortcut = s.prefix.unix_path(f"{folder_of_user(s, 'APPDATA')}\\Microsoft\\Windows\\Start Menu\\Programs"
                                  "\\Vornatic.lnk")
    s.wait_until(shortcut.exists, "the Start-menu shortcut")
    window = s.wait_for_main_window(lambda w: w.visible and w.shows(TEXT("de", "StartAutodrag")),
                                    "the installed Vornatic, in German", 30)
    s.screenshot("installed-window", region=window.rect)
