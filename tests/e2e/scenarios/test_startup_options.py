"""The startup options end to end: the two check boxes of the real program, clicked like a
person clicks them, and what they leave in Wine's registry, read back with `reg query`.
Wine lets every program write the machine's Run key, as Windows lets an administrator:
the program writes only the user's all the same."""

LOAD_AT_LOGON = "Load this software on Windows startup"
MINIMIZED = "Minimized to system tray"
RUN_KEY = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
MACHINE_RUN_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
SETTINGS_KEY = "HKCU\\Software\\Kestrova\\Vornatic"
RUN_VALUE = "Vornatic.exe"
RUN_COMMAND = '"C:\\Program Files\\Vornatic\\Vornatic.exe" /logon'


def registry_value(s, key, name):
    """The text `reg query` shows for a string value, or None when the value is not there."""
    result = s.prefix.run(["reg", "query", key, "/v", name], timeout=60)
    if result.returncode != 0:
        return None
    for line in result.stdout.splitlines():
        fields = line.strip().split("    ")
        if len(fields) >= 3 and fields[0] == name and fields[1] == "REG_SZ":
            return "    ".join(fields[2:])
    raise AssertionError(f"reg query found {name} but not as text: {result.stdout!r}")


def wait_for_value(s, key, name, expected):
    def check():
        value = registry_value(s, key, name)
        return (value,) if value == expected else None
    s.wait_until(check, f"{key}\\{name} to read {expected!r}")


def test_ticking_load_at_logon_enters_the_program_and_clearing_takes_it_out(s):
    window = s.start_vornatic()
    assert window.child(LOAD_AT_LOGON) is not None, f"no \"{LOAD_AT_LOGON}\" box: {window.texts()}"
    assert not window.shows(MINIMIZED), "the minimised box shows before the program is set to start"
    assert registry_value(s, RUN_KEY, RUN_VALUE) is None, "the prefix already holds a Run value"

    s.click_button(LOAD_AT_LOGON)
    s.wait_for_main_window(lambda w: w.shows(MINIMIZED), f'"{MINIMIZED}" to show')
    wait_for_value(s, RUN_KEY, RUN_VALUE, RUN_COMMAND)
    wait_for_value(s, SETTINGS_KEY, "Windows Startup", "On")
    assert registry_value(s, MACHINE_RUN_KEY, RUN_VALUE) is None, "entered for every user of the machine"
    assert registry_value(s, SETTINGS_KEY, "Minimized") is None, "ticking the first box recorded \"Minimized\""
    s.screenshot("load-at-logon-ticked")

    s.click_button(MINIMIZED)
    wait_for_value(s, SETTINGS_KEY, "Minimized", "On")
    s.click_button(MINIMIZED)
    wait_for_value(s, SETTINGS_KEY, "Minimized", "Off")
    assert registry_value(s, RUN_KEY, RUN_VALUE) == RUN_COMMAND, "the minimised box changed the Run value"

    # Clearing the first box with the second ticked clears that one too, and records it.
    s.click_button(MINIMIZED)
    wait_for_value(s, SETTINGS_KEY, "Minimized", "On")
    s.click_button(LOAD_AT_LOGON)
    s.wait_for_main_window(lambda w: not w.shows(MINIMIZED), f'"{MINIMIZED}" to hide')
    wait_for_value(s, RUN_KEY, RUN_VALUE, None)
    wait_for_value(s, SETTINGS_KEY, "Windows Startup", "Off")
    wait_for_value(s, SETTINGS_KEY, "Minimized", "Off")
    s.screenshot("load-at-logon-cleared")

