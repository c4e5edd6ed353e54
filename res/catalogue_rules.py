"""What the catalogue's checks hold the texts to, declared once: which texts share a dialog
or a menu (their access keys must differ), the letters Windows itself gives its own
commands in each language, the registry's words that stay as they are, and the lengths
the shell cuts a text at without a word.

A text added to a dialog or a menu goes into its group here; nothing else need change."""

# Texts shown together, whose access keys ("&") must differ. A tuple is texts shown in turn
# in one place, never together (the tray menu shows Start or Stop): they may share a key.
# "system menu" names the items Windows itself puts in the window's menu (WINDOWS_KEYS).
ACCESS_KEY_GROUPS = {
    "the main window": [
        ("StartAutodrag", "StopAutodrag"),
        "StartupOptions",
        "LoadOnStartup",
        "MinimizedToTray",
        "Status",
        "OpenSettings",
        "Help",
    ],
    "the main window's system menu": [
        "system menu",
        "OpenSettings",
    ],
    "the Settings window": [
        "SettingsLatchFrame",
        "SettingsLatchOn",
        "SettingsHoldTime",
        "SettingsButtons",
        "SettingsLeft",
        "SettingsRight",
        "SettingsMiddle",
        "SettingsShortcutFrame",
        "SettingsShortcutLabel",
        "SettingsNoShortcut",
        "SettingsBadgeFrame",
        "SettingsBadgeOn",
        "SettingsOk",
        "SettingsCancel",
        "SettingsApply",
    ],
    "the tray menu": [
        ("MenuStart", "MenuStop"),
        "MenuLatch",
        "MenuSettings",
        "MenuHelp",
        "MenuExit",
    ],
}

# Our texts that stand for one of Windows' own commands, whose key is Windows' own letter in
# that language. OK and Cancel have none in English, so they have none in any language.
WINDOWS_COMMANDS = {"SettingsApply": "Apply", "MenuHelp": "Help", "MenuExit": "Exit"}

# The items of the system menu that are live on the main window (a fixed frame with a
# minimise box): Move, Minimize and Close. Restore, Size and Maximize stay grey there, and
# English itself has S for both Size and Settings.
SYSTEM_MENU = ("Move", "Minimize", "Close")

# The letters Windows gives its own commands, as its dialogs (Apply), its programs' menus
# (Help, Exit) and the system menu write them. Only letters known for certain are listed:
# a command left out is not checked in that language.
WINDOWS_KEYS = {
    "en": {"Apply": "A", "Help": "H", "Exit": "X", "Move": "M", "Minimize": "N", "Close": "C"},
    "de": {"Apply": "Ü", "Help": "H", "Exit": "B", "Move": "V", "Minimize": "N", "Close": "S"},
    "fr": {"Apply": "A", "Exit": "Q", "Move": "D", "Minimize": "U", "Close": "F"},
    "es": {"Apply": "A", "Help": "U", "Exit": "S", "Move": "M", "Minimize": "N", "Close": "C"},
    "it": {"Apply": "A", "Exit": "E", "Move": "S", "Close": "C"},
    "pt-BR": {"Apply": "A", "Help": "U", "Exit": "R", "Move": "M", "Minimize": "N", "Close": "F"},
    "nl": {"Apply": "T", "Help": "H", "Minimize": "N", "Close": "S"},
    "pl": {"Apply": "Z", "Help": "C", "Exit": "O", "Minimize": "N", "Close": "Z"},
    "ja": {"Apply": "A", "Help": "H", "Exit": "X", "Move": "M", "Minimize": "N", "Close": "C"},
    "zh-CN": {"Apply": "A", "Help": "H", "Exit": "X", "Move": "M", "Minimize": "N", "Close": "C"},
}

# Words the program reads from the registry and the texts quote as they are: a translation
# carries each at least as often as the English.
REGISTRY_WORDS = {
    "LatchSettingUnreadable": ("Off",),
    "LatchRightUnreadable": ("LatchRight", "On", "Off"),
    "LatchMiddleUnreadable": ("LatchMiddle", "On", "Off"),
}

# What the shell keeps of a text (NOTIFYICONDATA's fields, less the terminating zero), in
# UTF-16 units: a balloon's text, a balloon's title, the tray icon's tip. The balloon's
# title is the product's name, not a text of the catalogue.
BALLOON_TEXT, BALLOON_TITLE, TRAY_TIP = 255, 63, 127
LENGTH_LIMITS = {
    "MinimizedBalloon": BALLOON_TEXT,
    "LatchCannotWatch": BALLOON_TEXT,
    "HookLossUnwatched": BALLOON_TEXT,
    "LatchSettingUnreadable": BALLOON_TEXT,
    "LatchRightUnreadable": BALLOON_TEXT,
    "LatchMiddleUnreadable": BALLOON_TEXT,
    "ShortcutNotUnderstood": BALLOON_TEXT,
    "ShortcutTaken": BALLOON_TEXT,
    "LatchTrayTip": TRAY_TIP,
}

# The longest value each placeholder of those texts takes. {setting} is what the user wrote
# in the registry, which has no bound: it is taken as long as the longest value Vornatic
# reads there (the shortcut Win+Ctrl+Alt+Shift+F24, 23 characters), plus one. {shortcut} is
# that shortcut written with the language's own key names, worked out per language.
LONGEST_VALUES = {"product": "Vornatic", "setting": "W" * 24}
LONGEST_SHORTCUT = (("KeyWin", "KeyCtrl", "KeyAlt", "KeyShift"), "F24")
