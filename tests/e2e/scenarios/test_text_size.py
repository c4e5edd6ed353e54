"""The user's text size, end to end on a 1366 x 768 screen: with the message font set larger,
the Settings window's text is larger in proportion, nothing in either window is cut off or
runs out of its place, and both windows stay on the screen. (A change made while Vornatic
runs cannot be shown here: Wine keeps each process's system parameters to itself, so a
change another process makes never reaches Vornatic's; the adapter and unit tests show it.)"""
from harness.scenario import needs_screen
from scenarios.test_language import TEXT, close_vornatic, inside, settings_window_cut_off, show_both_check_boxes, start_in

SCREEN = (0, 0, 1366, 768)


def text_height(s, title):
    """The tallest font among the window's captions, in pixels."""
    return max(abs(c["height"]) for c in s.probe.fit(title)["controls"])


def settings_text_height(s, tag):
    title = TEXT(tag, "SettingsTitle")
    s.click_button(TEXT(tag, "OpenSettings"))
    dialog = s.wait_until(lambda: (lambda d: d if d and d.visible else None)(s.probe.inspect(title)),
                          "the Settings window")
    height = text_height(s, title)
    s.desktop.key("Escape")
    s.wait_until(lambda: not (lambda d: d and d.visible)(s.probe.inspect(title)), "the Settings window to close")
    return height, dialog.rect


@needs_screen(1366, 768)
def test_every_text_size_fits_in_english_and_german(s):
    problems, heights = [], {}
    for tag in ("en", "de"):
        for percent in (100, 150, 225):
            s.probe.set_text_size(percent)
            start_in(s, tag)
            window = show_both_check_boxes(s, tag)
            s.screenshot(f"{tag}-{percent}-main", region=window.rect)
            s.note(f"{tag} at {percent} %: the main window is {window.rect[2] - window.rect[0]} x "
                   f"{window.rect[3] - window.rect[1]} px")
            if not inside(window.rect, SCREEN):
                problems.append(f"{tag} {percent} %: the main window {window.rect} runs off the screen")
            problems += [f"{tag} {percent} %: \"{c['text']}\" needs {c['needed']} px, has {c['available']}"
                         for c in s.probe.fit("Vornatic")["controls"]
                         if c["class"] != "Edit" and c["needed"] > c["available"]]
            cut_off, _ = settings_window_cut_off(s, tag, f"{percent}pct-96")
            problems += cut_off
            heights[(tag, percent)], rect = settings_text_height(s, tag)
            if not inside(rect, SCREEN):
                problems.append(f"{tag} {percent} %: the Settings window {rect} runs off the screen")
            close_vornatic(s)
    s.note(f"the Settings window's text, in pixels: {heights}")
    for tag in ("en", "de"):
        grown = heights[(tag, 225)] / heights[(tag, 100)]
        assert 1.8 <= grown <= 2.7, f"{tag}: the text grew {grown:.2f} times from 100 to 225 %: {heights}"
    assert not problems, "\n".join(problems)
