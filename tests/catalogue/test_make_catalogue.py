#!/usr/bin/env python3
"""The catalogue's build step, on copies of the real catalogue with one fault planted in
each: a fault that would show the user a broken text stops the build with a message naming
the text and the language; a text left empty, marked fuzzy or made from an older English
text stays English for that text alone and is counted; msgmerge mends stale notes."""
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
SCRIPT = ROOT / "res" / "make_catalogue.py"

# (fault, file, text in it, planted instead, what the build must say)
PLANTED = [
    ("a duplicate access key in the Settings window", "de.po", '"&Rechts"', '"R&echts"',
     "de.po: SettingsRight \"R&echts\" has the access key E, as SettingsLatchOn"),
    ("a missing second placeholder", "fr.po", "\"{product} ne se souviendra", "\"Vornatic ne se souviendra",
     "fr.po: SettingsNotSaved has the placeholders ['{product}'] where the English text has "
     "['{product}', '{product}']"),
    ("a placeholder misspelt", "it.po", "La scelta rapida {shortcut}", "La scelta rapida {shotcut}",
     "it.po: ShortcutTaken has the placeholders ['{shotcut}']"),
    ("a lost line break", "es.po", "ya lo usa.\\r\\n", "ya lo usa. ",
     "es.po: ShortcutTaken has 0 line breaks (\\n) where the English text has 1"),
    ("a balloon over 255 characters", "pl.po", "nie będzie mógł Cię o tym powiadomić.",
     "nie będzie mógł Cię o tym powiadomić, ani teraz, ani później, ani wcale." * 2,
     "pl.po: HookLossUnwatched is 268 characters long with its placeholders filled; Windows shows only 255"),
    ("a tray tip over 127 characters with the longest product name", "it.po",
     "tieni premuto il pulsante", "tieni premuto il pulsante " + "a lungo " * 10,
     "it.po: LatchTrayTip is 144 characters long"),
    ("an access key off Windows' own Apply", "nl.po", '"&Toepassen"', '"Toe&passen"',
     "nl.po: SettingsApply \"Toe&passen\" has the access key P; Windows' own Apply has T"),
    ("an access key shared with the system menu's Close", "es.po", '"Con&figuración…"', '"&Configuración…"',
     "es.po: OpenSettings \"&Configuración…\" has the access key C, as Windows' own Close has"),
    ("an access key on a space", "pt-BR.po", '"&Aplicar"', '"& Aplicar"', "pt-BR.po: SettingsApply"),
    ("an access key where English has none", "zh-CN.po", 'msgstr "确定"', 'msgstr "确定(&O)"',
     "zh-CN.po: SettingsOk \"确定(&O)\" has 1 access keys (&) where the English text has 0"),
    ("an access key on a character typed through the input method", "ja.po", '"適用(&A)"', '"&適用"',
     "ja.po: SettingsApply \"&適用\" puts its access key on '適'"),
    ("an access key lost", "ja.po", '"適用(&A)"', '"適用"', "ja.po: SettingsApply \"適用\" has 0 access keys"),
    ("a registry word translated", "de.po", "ist weder On noch Off, deshalb rastet die rechte",
     "ist weder Ein noch Aus, deshalb rastet die rechte", "de.po: LatchRightUnreadable has lost the registry's word \"On\""),
    ("a translator's note out of step", "fr.po", "#. Check box: no shortcut at all.\n", "",
     "fr.po: the notes for translators of SettingsNoShortcut are not the template's"),
    ("a text the English does not have", "de.po", 'msgctxt "MenuExit"', 'msgctxt "MenuExt"',
     "de.po:"),
]


def make(folder, *options):
    return subprocess.run([sys.executable, str(SCRIPT), str(folder), *options], capture_output=True, text=True)


class CatalogueCopy(unittest.TestCase):
    def setUp(self):
        self.folder = Path(tempfile.mkdtemp())
        self.addCleanup(shutil.rmtree, self.folder)
        self.copy()

    def copy(self):
        shutil.copytree(ROOT / "res" / "lang", self.folder, dirs_exist_ok=True)

    def plant(self, name, text, instead):
        path = self.folder / name
        content = path.read_text(encoding="utf-8")
        self.assertIn(text, content, f"the planting no longer finds its place in {name}")
        path.write_text(content.replace(text, instead, 1), encoding="utf-8")

    def test_the_catalogue_as_it_stands_passes_and_each_planted_fault_stops_the_build(self):
        self.assertEqual(make(self.folder).returncode, 0, make(self.folder).stderr)
        for fault, name, text, instead, message in PLANTED:
            with self.subTest(fault):
                self.copy()
                self.plant(name, text, instead)
                result = make(self.folder)
                self.assertEqual(result.returncode, 1, result.stderr)
                self.assertIn(message, result.stderr)

    def test_empty_fuzzy_and_outdated_translations_stay_english_text_by_text_and_are_counted(self):
        self.plant("de.po", 'msgstr "Auto-Ziehen starten"', 'msgstr ""')
        self.plant("de.po", 'msgctxt "StartupOptions"', '#, fuzzy\nmsgctxt "StartupOptions"')
        self.plant("de.po", 'msgid "Status"', 'msgid "State"')
        tables = self.folder / "tables.cpp"
        result = make(self.folder, "--tables", str(tables))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("Status was translated from an older English text", result.stderr)
        self.assertIn("de.po lacks 3 of", result.stderr)
        self.assertIn("StartAutodrag, StartupOptions, Status", result.stderr)
        german = tables.read_text(encoding="utf-8").split("// de")[1].split("},")[0]
        self.assertNotIn("Auto-Ziehen starten", german)
        self.assertNotIn("Startoptionen", german)
        self.assertIn('L"Auto-Ziehen stoppen"', german)

    def test_msgmerge_brings_the_notes_back_in_step(self):
        self.plant("fr.po", "#. Check box: no shortcut at all.\n", "")
        self.assertEqual(make(self.folder).returncode, 1)
        result = make(self.folder, "--merge")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("#. Check box: no shortcut at all.\n", (self.folder / "fr.po").read_text(encoding="utf-8"))


if __name__ == "__main__":
    unittest.main()
