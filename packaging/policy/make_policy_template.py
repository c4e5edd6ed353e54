#!/usr/bin/env python3
"""Makes Vornatic's Group Policy template for administrators: Vornatic.admx as it stands
here, and a Vornatic.adml per language made from the text catalogue (res/lang, the texts
whose identifiers start with "Admx"), zipped as a PolicyDefinitions folder is laid out.

Fails when the template names a text or a presentation that no language file has.

Usage: make_policy_template.py LANG_DIR VERSION OUT_ZIP EPOCH"""
import importlib.util
import re
import sys
from pathlib import Path
from xml.sax.saxutils import escape

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent))
import dated_zip  # noqa: E402

ADMX = HERE / "Vornatic.admx"
PREFIX = "Admx"
# The catalogue's language tags as Windows names the PolicyDefinitions language folders.
FOLDERS = {"en": "en-US", "de": "de-DE", "fr": "fr-FR", "es": "es-ES", "it": "it-IT", "pt-BR": "pt-BR",
           "nl": "nl-NL", "pl": "pl-PL", "ja": "ja-JP", "zh-CN": "zh-CN"}
# The boxes a policy shows when it is enabled, with the catalogue's label for each.
PRESENTATIONS = {
    "Latch": ('<decimalTextBox refId="HoldTime" defaultValue="800" spinStep="50">{label}</decimalTextBox>',
              "AdmxHoldTime"),
    "Hotkey": ('<textBox refId="Shortcut"><label>{label}</label><defaultValue>Win+Shift+D</defaultValue></textBox>',
               "AdmxShortcut"),
    "LatchExceptions": ('<listBox refId="Programs">{label}</listBox>', "AdmxPrograms"),
}
LABELS = {label for _, label in PRESENTATIONS.values()}


def load_catalogue_reader():
    spec = importlib.util.spec_from_file_location("make_catalogue", HERE.parents[1] / "res" / "make_catalogue.py")
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def adml(texts, version):
    strings = {"Vornatic": "Vornatic"}
    for ident, text in texts.items():
        if ident.startswith(PREFIX) and ident not in LABELS:
            strings[ident[len(PREFIX):]] = text.replace("{version}", version)
    lines = ['<?xml version="1.0" encoding="utf-8"?>',
             '<policyDefinitionResources xmlns:xsd="http://www.w3.org/2001/XMLSchema" '
             'xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" revision="1.0" schemaVersion="1.0" '
             'xmlns="http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions">',
             "  <displayName>Vornatic</displayName>", "  <description>Vornatic</description>", "  <resources>",
             "    <stringTable>"]
    lines += [f'      <string id="{ident}">{escape(text)}</string>' for ident, text in strings.items()]
    lines += ["    </stringTable>", "    <presentationTable>"]
    for ident, (body, label) in PRESENTATIONS.items():
        lines.append(f'      <presentation id="{ident}">{body.format(label=escape(texts[label]))}</presentation>')
    lines += ["    </presentationTable>", "  </resources>", "</policyDefinitionResources>", ""]
    return strings, "\n".join(lines)


def check_references(admx, strings):
    missing = [name for name in re.findall(r"\$\(string\.(\w+)\)", admx) if name not in strings]
    missing += [name for name in re.findall(r"\$\(presentation\.(\w+)\)", admx) if name not in PRESENTATIONS]
    if missing:
        raise SystemExit(f"make_policy_template: the template names texts no language file has: {sorted(set(missing))}")


def main():
    if len(sys.argv) != 5:
        raise SystemExit(__doc__.splitlines()[-1])
    lang_dir, version, out, epoch = Path(sys.argv[1]), sys.argv[2], Path(sys.argv[3]), int(sys.argv[4])
    catalogue = load_catalogue_reader()
    english, translations, _ = catalogue.read_catalogue(lang_dir)
    admx = ADMX.read_text(encoding="utf-8")
    out.parent.mkdir(parents=True, exist_ok=True)
    entries = [("PolicyDefinitions/Vornatic.admx", admx.encode("utf-8"))]
    for tag, folder in FOLDERS.items():
        texts = {ident: translations.get(tag, {}).get(ident, english[ident]) for ident in english}
        strings, document = adml(texts, version)
        check_references(admx, strings)
        entries.append((f"PolicyDefinitions/{folder}/Vornatic.adml", document.encode("utf-8")))
    dated_zip.write(out, entries, epoch)
    return 0


if __name__ == "__main__":
    sys.exit(main())
