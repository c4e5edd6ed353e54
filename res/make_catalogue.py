#!/usr/bin/env python3
"""Turns Vornatic's text catalogue into what the build needs.

res/lang/Vornatic.pot holds every text the user meets, in English, each under an
identifier (msgctxt); res/lang/<language>.po holds one language's translations of them,
as translators' tools (Poedit, Weblate, Crowdin, Lokalize) read and write them. This
script checks the translations against the English and writes:

  --header   runtime/TextIds.h: the identifiers and the languages, for the program's code
  --rc       Catalogue.rc: a resource per language, for Vornatic.exe (with catalogue-<tag>.bin
             beside it)
  --tables   CatalogueTables.cpp: the same texts as C++ data, served by the unit tests' fakes
  --nsis     Languages.nsh: the installer's own texts (identifiers starting with "Setup")

A text left empty, marked fuzzy, or translated from an English text that has changed
since stays English in that language alone, and the build says how many each language
lacks. What would show the user a broken text stops the build (catalogue_checks.py): a
placeholder ({product}, {setting}, ...) lost or doubled, an access key lost, doubled, off a
letter, shared within a dialog or a menu or off Windows' own letter, a line break or a
registry word lost, a balloon or tip longer than Windows shows, or a .po whose notes for
translators are not the template's.

  --merge    carries the template's entries, notes and flags into every .po (msgmerge)

Usage: make_catalogue.py LANG_DIR [--merge] [--header F] [--rc F] [--tables F] [--nsis F]"""
import argparse
import re
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import catalogue_checks as checks  # noqa: E402

# Order is the order of rt::Language. Each: tag, name, rc LANGUAGE (primary, sub), the
# Windows language identifier, NSIS's name for the language.
LANGUAGES = [
    ("en", "English", (0x09, 0x01), 0x0409, "English"),
    ("de", "German", (0x07, 0x01), 0x0407, "German"),
    ("fr", "French", (0x0C, 0x01), 0x040C, "French"),
    ("es", "Spanish", (0x0A, 0x03), 0x0C0A, "Spanish"),
    ("it", "Italian", (0x10, 0x01), 0x0410, "Italian"),
    ("pt-BR", "PortugueseBrazil", (0x16, 0x01), 0x0416, "PortugueseBR"),
    ("nl", "Dutch", (0x13, 0x01), 0x0413, "Dutch"),
    ("pl", "Polish", (0x15, 0x01), 0x0415, "Polish"),
    ("ja", "Japanese", (0x11, 0x01), 0x0411, "Japanese"),
    ("zh-CN", "ChineseSimplified", (0x04, 0x02), 0x0804, "SimpChinese"),
]
SETUP_PREFIX = "Setup"
# The Group Policy template's texts: packaging/policy makes its language files from them.
TEMPLATE_PREFIX = "Admx"
IDENTIFIER = re.compile(r"^[A-Z][A-Za-z0-9]*$")
PLACEHOLDER = checks.PLACEHOLDER
ESCAPES = {"n": "\n", "r": "\r", "t": "\t", '"': '"', "\\": "\\"}


class CatalogueError(Exception):
    pass


def unquote(literal, where):
    if len(literal) < 2 or literal[0] != '"' or literal[-1] != '"':
        raise CatalogueError(f"{where}: expected a quoted string, found {literal!r}")
    text, i, body = [], 0, literal[1:-1]
    while i < len(body):
        if body[i] == "\\":
            if i + 1 >= len(body) or body[i + 1] not in ESCAPES:
                raise CatalogueError(f"{where}: unknown escape in {literal!r}")
            text.append(ESCAPES[body[i + 1]])
            i += 2
        else:
            text.append(body[i])
            i += 1
    return "".join(text)


def parse_po(path):
    """The entries of a PO file, in order: dicts with ctxt, id, str, fuzzy, notes (the #.
    lines), flags (the #, ones) and line."""
    entries, entry, field = [], None, None

    def finish():
        if entry is not None and "id" in entry:
            entries.append(entry)

    for number, raw in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        line = raw.strip()
        where = f"{path.name}:{number}"
        if not line:
            finish()
            entry, field = None, None
            continue
        if line.startswith("#"):
            if entry is not None and "id" in entry:
                finish()
                entry, field = None, None
            entry = entry or new_entry(number)
            if line.startswith("#,"):
                entry["flags"] |= {flag.strip() for flag in line[2:].split(",")}
                entry["fuzzy"] = "fuzzy" in entry["flags"]
            elif line.startswith("#."):
                entry["notes"].append(line[2:].strip())
            continue
        keyword, _, rest = line.partition(" ")
        if keyword in ("msgctxt", "msgid", "msgstr"):
            if keyword == "msgctxt" and entry is not None and "id" in entry:
                finish()
                entry = None
            entry = entry or new_entry(number)
            field = {"msgctxt": "ctxt", "msgid": "id", "msgstr": "str"}[keyword]
            entry[field] = unquote(rest.strip(), where)
        elif line.startswith('"') and entry is not None and field is not None:
            entry[field] += unquote(line, where)
        else:
            raise CatalogueError(f"{where}: cannot read {raw!r}")
    finish()
    return entries


def new_entry(line):
    return {"fuzzy": False, "notes": [], "flags": set(), "line": line}


def read_english(pot_entries):
    english = {}
    for entry in pot_entries:
        if entry["id"] == "" and "ctxt" not in entry:
            continue  # the header
        ident = entry.get("ctxt", "")
        if not IDENTIFIER.match(ident):
            raise CatalogueError(f"Vornatic.pot:{entry['line']}: {ident!r} is no identifier (msgctxt)")
        if ident in english:
            raise CatalogueError(f"Vornatic.pot:{entry['line']}: {ident} twice")
        if entry["id"] == "":
            raise CatalogueError(f"Vornatic.pot:{entry['line']}: {ident} has no English text")
        english[ident] = entry["id"]
    return english


def read_translation(path, entries, english, warnings, problems):
    texts = {}
    for entry in entries:
        if entry["id"] == "" and "ctxt" not in entry:
            continue
        ident, where = entry.get("ctxt", ""), f"{path.name}:{entry['line']}"
        if ident not in english:
            raise CatalogueError(f"{where}: {ident!r} is not in Vornatic.pot")
        if ident in texts:
            raise CatalogueError(f"{where}: {ident} twice")
        translated = entry.get("str", "")
        if not translated or entry["fuzzy"]:
            continue
        if entry["id"] != english[ident]:
            warnings.append(f"{where}: {ident} was translated from an older English text; English is shown")
            continue
        problems += checks.text_problems(path.stem, ident, english[ident], translated)
        texts[ident] = translated
    return texts


def read_catalogue(lang_dir):
    """The English, each language's translations and the warnings; a CatalogueError naming
    every problem found when the catalogue would show the user a broken text."""
    pot_entries = parse_po(lang_dir / "Vornatic.pot")
    english = read_english(pot_entries)
    warnings, problems, translations = [], checks.rules_problems(english), {"en": dict(english)}
    known = {f"{tag}.po" for tag, *_ in LANGUAGES}
    for path in lang_dir.glob("*.po"):
        if path.name not in known:
            raise CatalogueError(f"{path.name}: not a language Vornatic ships; add it to LANGUAGES first")
    if problems:
        raise CatalogueError("\n".join(problems))
    # The English alone: an access key on a space or a sign.
    for ident, text in english.items():
        problems += checks.text_problems("en", ident, text, text)
    for tag, *_ in LANGUAGES:
        if tag != "en":
            path = lang_dir / f"{tag}.po"
            entries = parse_po(path) if path.exists() else []
            translations[tag] = read_translation(path, entries, english, warnings, problems)
            problems += checks.note_problems(tag, pot_entries, entries)
            warnings += checks.untranslated_report(tag, english, translations[tag])
        shown = {**english, **translations[tag]}
        problems += checks.group_problems(tag, shown) + checks.length_problems(tag, shown)
    if problems:
        raise CatalogueError("\n".join(problems))
    return english, translations, warnings


def merge(lang_dir):
    """What msgmerge does for translators: each .po gets the template's new entries, notes
    and flags, and an entry whose English changed is marked fuzzy with its old English."""
    for tag, *_ in LANGUAGES[1:]:
        result = subprocess.run(["msgmerge", "--quiet", "--update", "--backup=off", "--no-wrap", "--previous",
                                 str(lang_dir / f"{tag}.po"), str(lang_dir / "Vornatic.pot")],
                                capture_output=True, text=True)
        # Windows' line ends are \r\n in these texts; gettext warns of every \r.
        for line in result.stderr.splitlines():
            if "'\\r' escape sequence" not in line:
                print(line, file=sys.stderr)
        if result.returncode != 0:
            raise CatalogueError(f"msgmerge failed on {tag}.po")


def program_ids(english):
    return [ident for ident in english if not ident.startswith((SETUP_PREFIX, TEMPLATE_PREFIX))]


def write_if_changed_bytes(path, data):
    if path.exists() and path.read_bytes() == data:
        return
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)


def c_literal(text):
    out = []
    for ch in text:
        out.append({"\\": "\\\\", '"': '\\"', "\r": "\\r", "\n": "\\n", "\t": "\\t"}.get(ch, ch))
    return 'L"' + "".join(out) + '"'


def nsis_literal(text, where):
    out = text.replace("$", "$$").replace('"', '$\\"').replace("\r", "$\\r").replace("\n", "$\\n")
    out = out.replace("\t", "$\\t")
    # The installer's placeholders are NSIS's own variables and defines.
    out = out.replace("{version}", "${VERSION}").replace("{click}", "$_CLICK").replace("{runkey}", "$R9")
    if PLACEHOLDER.search(out):
        raise CatalogueError(f"{where}: the installer knows only {{version}}, {{click}} and {{runkey}}")
    return '"' + out + '"'


def header(english):
    ids = program_ids(english)
    lines = ["// Made by res/make_catalogue.py from res/lang/Vornatic.pot: the identifiers of the",
             "// texts the program shows, and the languages it ships. Do not edit.", "#pragma once",
             "#include <array>", "", "namespace rt {", "",
             "// Each text's identifier; the value is its number in the catalogue.",
             "enum class TextId : unsigned {"]
    lines += [f"  {ident} = {number}," for number, ident in enumerate(ids, 1)]
    lines += ["};", f"inline constexpr unsigned kTextCount = {len(ids)};", "",
              "enum class Language : unsigned {"]
    lines += [f"  {name}," for _, name, *_ in LANGUAGES]
    lines += ["};", f"inline constexpr unsigned kLanguageCount = {len(LANGUAGES)};",
              "// The language tags as Windows names languages (BCP 47), in the order of Language.",
              f"inline constexpr std::array<const wchar_t*, {len(LANGUAGES)}> kLanguageTags{{"
              + ", ".join(f'L"{tag}"' for tag, *_ in LANGUAGES) + "};",
              "// The language each catalogue is stored under in the resources (LANGID), and its resource.",
              f"inline constexpr std::array<unsigned short, {len(LANGUAGES)}> kLanguageResourceIds{{"
              + ", ".join(f"0x{langid:04X}" for *_, langid, _ in LANGUAGES) + "};",
              f"inline constexpr unsigned kCatalogueResourceId = {CATALOGUE_RESOURCE_ID};",
              "", "}  // namespace rt", ""]
    return "\n".join(lines)


# The resource that holds one language's texts, under that language. The executable must
# stay small: UTF-8 keeps the Latin-script languages at half the size of a string table.
CATALOGUE_RESOURCE_ID = 100
MISSING = 0xFFFF


def pack(data):
    """The plainest LZ77, as src/runtime/Unpack.h reads it: a flag byte for each eight items,
    bit 0 first, 0 for a byte as it is, 1 for a little-endian token whose low four bits are a
    length less 3 (3 to 18) and whose other twelve are a distance less 1 (1 to 4096)."""
    out, at = bytearray(), 0
    seen = {}  # each three bytes, where they have stood
    while at < len(data):
        flags_at = len(out)
        out.append(0)
        for item in range(8):
            if at >= len(data):
                break
            best_length, best_distance = 0, 0
            for start in reversed(seen.get(data[at:at + 3], [])):
                if at - start > 4096:
                    break
                length = 0
                while length < 18 and at + length < len(data) and data[start + length] == data[at + length]:
                    length += 1
                if length > best_length:
                    best_length, best_distance = length, at - start
            step = best_length if best_length >= 3 else 1
            for position in range(at, at + step):
                seen.setdefault(data[position:position + 3], []).append(position)
            if best_length >= 3:
                out[flags_at] |= 1 << item
                out += (((best_distance - 1) << 4) | (best_length - 3)).to_bytes(2, "little")
            else:
                out.append(data[at])
            at += step
    return bytes(out)


def catalogue_blob(english, texts):
    """The unpacked size (32 bits, little-endian), then, packed: text numbers 0 to N in order,
    each a little-endian 16-bit byte count (0xFFFF where the language has no translation)
    followed by that many bytes of UTF-8."""
    blob = bytearray()
    for ident in [None, *program_ids(english)]:
        if ident is None or ident not in texts:
            blob += MISSING.to_bytes(2, "little")
            continue
        encoded = texts[ident].encode("utf-8")
        if len(encoded) >= MISSING:
            raise CatalogueError(f"{ident} is too long")
        blob += len(encoded).to_bytes(2, "little") + encoded
    return len(blob).to_bytes(4, "little") + pack(bytes(blob))


def rc(english, translations, folder):
    lines = ["// Made by res/make_catalogue.py from res/lang: each language's texts under that language.",
             "// Do not edit.", ""]
    for tag, _, (primary, sub), *_ in LANGUAGES:
        name = f"catalogue-{tag}.bin"
        write_if_changed_bytes(Path(folder) / name, catalogue_blob(english, translations[tag]))
        lines += [f"LANGUAGE 0x{primary:02X}, 0x{sub:02X}", f'{CATALOGUE_RESOURCE_ID} RCDATA "{name}"', ""]
    return "\n".join(lines)


def tables(english, translations):
    ids = program_ids(english)
    lines = ["// Made by res/make_catalogue.py from res/lang: the catalogue as data, for the unit",
             "// tests' fakes. Do not edit.", '#include "runtime/TextIds.h"', "", "namespace fake {", "",
             "// [language][text number]; nullptr where a language has no translation.",
             "extern const wchar_t* const kCatalogue[rt::kLanguageCount][rt::kTextCount + 1];",
             "const wchar_t* const kCatalogue[rt::kLanguageCount][rt::kTextCount + 1] = {"]
    for tag, *_ in LANGUAGES:
        texts = translations[tag]
        lines.append(f"    {{  // {tag}")
        lines.append("        nullptr,")
        lines += [f"        {c_literal(texts[ident]) if ident in texts else 'nullptr'}," for ident in ids]
        lines.append("    },")
    lines += ["};", "", "}  // namespace fake", ""]
    return "\n".join(lines)


def nsis(english, translations):
    lines = ["; Made by res/make_catalogue.py from res/lang: the installer's languages and texts. Do not edit."]
    for tag, _, _, _, nsis_name in LANGUAGES:
        lines.append(f'!insertmacro MUI_LANGUAGE "{nsis_name}"')
    for ident in (i for i in english if i.startswith(SETUP_PREFIX)):
        for tag, _, _, _, nsis_name in LANGUAGES:
            text = translations[tag].get(ident, english[ident])
            lines.append(f"LangString {ident} ${{LANG_{nsis_name.upper()}}} {nsis_literal(text, ident)}")
    return "\n".join(lines) + "\n"


def write_if_changed(path, text):
    path = Path(path)
    path.parent.mkdir(parents=True, exist_ok=True)
    if path.exists() and path.read_text(encoding="utf-8") == text:
        return
    path.write_text(text, encoding="utf-8")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("lang_dir", type=Path)
    parser.add_argument("--merge", action="store_true")
    for output in ("header", "rc", "tables", "nsis"):
        parser.add_argument(f"--{output}")
    args = parser.parse_args()
    try:
        if args.merge:
            merge(args.lang_dir)
        english, translations, warnings = read_catalogue(args.lang_dir)
    except CatalogueError as error:
        for line in str(error).splitlines():
            print(f"make_catalogue: {line}", file=sys.stderr)
        return 1
    for warning in warnings:
        print(f"make_catalogue: warning: {warning}", file=sys.stderr)
    if args.header:
        write_if_changed(args.header, header(english))
    if args.rc:
        write_if_changed(args.rc, rc(english, translations, Path(args.rc).parent))
    if args.tables:
        write_if_changed(args.tables, tables(english, translations))
    if args.nsis:
        write_if_changed(args.nsis, nsis(english, translations))
    return 0


if __name__ == "__main__":
    sys.exit(main())
