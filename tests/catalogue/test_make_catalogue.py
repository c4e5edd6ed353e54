#!/usr/bin/env python3
"""The catalogue's build step: a translation that loses or adds a placeholder stops the
build; one left empty, marked fuzzy or made from an older English text stays English for
that text alone; a text the English does not have is refused."""
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

SCRIPT = Path(__file__).resolve().parents[2] / "res" / "make_catalogue.py"

POT = '''msgid ""
msgstr ""

msgctxt "Greeting"
msgid "Hello, {name}."
msgstr ""

msgctxt "Farewell"
msgid "Goodbye."
msgstr ""

msgctxt "Thanks"
msgid "Thank you."
msgstr ""
'''


def run(german):
    with tempfile.TemporaryDirectory() as folder:
        folder = Path(folder)
        (folder / "Vornatic.pot").write_text(POT, encoding="utf-8")
        (folder / "de.po").write_text(german, encoding="utf-8")
        tables = folder / "tables.cpp"
        result = subprocess.run([sys.executable, str(SCRIPT), str(folder), "--tables", str(tables)],
                                capture_output=True, text=True)
        return result, tables.read_text(encoding="utf-8") if tables.exists() else ""


def german_row(tables):
    return tables.split("// de")[1].split("},")[0]


class MakeCatalogue(unittest.TestCase):
    def test_a_placeholder_lost_or_added_stops_the_build(self):
        for wrong in ('"Hallo."', '"Hallo, {nmae}."', '"Hallo, {name} und {other}."'):
            result, _ = run(f'msgctxt "Greeting"\nmsgid "Hello, {{name}}."\nmsgstr {wrong}\n')
            self.assertEqual(result.returncode, 1, wrong)
            self.assertIn("Greeting has the placeholders", result.stderr)

    def test_empty_fuzzy_and_outdated_translations_stay_english_text_by_text(self):
        result, tables = run('msgctxt "Greeting"\nmsgid "Hello, {name}."\nmsgstr "Hallo, {name}."\n\n'
                             '#, fuzzy\nmsgctxt "Farewell"\nmsgid "Goodbye."\nmsgstr "Tschüss."\n\n'
                             'msgctxt "Thanks"\nmsgid "Thanks."\nmsgstr "Danke."\n')
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("Thanks was translated from an older English text", result.stderr)
        row = german_row(tables)
        self.assertIn('L"Hallo, {name}."', row)
        self.assertNotIn("Tschüss", row)
        self.assertNotIn("Danke", row)
        self.assertEqual(row.count("nullptr"), 3)  # number 0, and the two left to English

    def test_a_text_the_english_does_not_have_is_refused(self):
        result, _ = run('msgctxt "Greting"\nmsgid "Hello, {name}."\nmsgstr "Hallo, {name}."\n')
        self.assertEqual(result.returncode, 1)
        self.assertIn("'Greting' is not in Vornatic.pot", result.stderr)


if __name__ == "__main__":
    unittest.main()
