"""The catalogue's checks: what breaks most often in a translated Windows program, found at
build time. Each returns the problems it found, one line each, naming the language and the
text; the rules they hold the texts to are in catalogue_rules.py."""
import re
from collections import Counter

import catalogue_rules as rules

PLACEHOLDER = re.compile(r"\{[a-z]+\}")
# Languages whose own characters are typed through an input method: an access key there is
# a Latin letter after the caption, as Windows writes "適用(&A)".
LATIN_KEYS_ONLY = ("ja", "zh-CN")


def file_of(tag):
    return "Vornatic.pot" if tag == "en" else f"{tag}.po"


def access_keys(text):
    """The character after each "&" ("&&" is an ampersand shown as it is); "" for a "&" that
    ends the text."""
    return [match.group(1) for match in re.finditer(r"&(.?)", text.replace("&&", ""), re.DOTALL)]


def key_of(text):
    keys = access_keys(text)
    return keys[0].upper() if len(keys) == 1 and keys[0].isalnum() else None


def text_problems(tag, ident, english, translated):
    """What a translation lost or broke of its English text, taken alone."""
    where, problems = f"{file_of(tag)}: {ident}", []
    wanted, found = Counter(PLACEHOLDER.findall(english)), Counter(PLACEHOLDER.findall(translated))
    if wanted != found:
        problems.append(f"{where} has the placeholders {sorted(found.elements())} where the English text has "
                        f"{sorted(wanted.elements())}")
    english_keys, keys = access_keys(english), access_keys(translated)
    if len(keys) != len(english_keys):
        problems.append(f"{where} \"{translated}\" has {len(keys)} access keys (&) where the English text has "
                        f"{len(english_keys)}")
    elif any(not key.isalnum() for key in keys):
        problems.append(f"{where} \"{translated}\" puts its access key on {keys[0]!r}: it must be a letter")
    elif tag in LATIN_KEYS_ONLY and not all(key.isascii() for key in keys):
        problems.append(f"{where} \"{translated}\" puts its access key on {keys[0]!r}: the keyboard types "
                        f"it only through the input method; write the English letter in brackets, \"(&A)\"")
    for mark, name in (("\n", "line breaks (\\n)"), ("\r", "carriage returns (\\r)")):
        if translated.count(mark) != english.count(mark):
            problems.append(f"{where} has {translated.count(mark)} {name} where the English text has "
                            f"{english.count(mark)}")
    for word in rules.REGISTRY_WORDS.get(ident, ()):
        pattern = re.compile(rf"(?<![\w]){re.escape(word)}(?![\w])")
        if len(pattern.findall(translated)) < len(pattern.findall(english)):
            problems.append(f"{where} has lost the registry's word \"{word}\": it stays as it is")
    return problems


def keyed_members(members, texts, own):
    """(who, key, texts shown in turn with it) for each member of a group that has a key."""
    for member in members:
        if member == "system menu":
            yield from ((f"Windows' own {command}", own[command].upper(), ())
                        for command in rules.SYSTEM_MENU if command in own)
            continue
        alternatives = member if isinstance(member, tuple) else (member,)
        for ident in alternatives:
            if key_of(texts[ident]):
                yield f"{ident} \"{texts[ident]}\"", key_of(texts[ident]), [f"{i} \"{texts[i]}\"" for i in alternatives]


def group_problems(tag, texts):
    """Access keys shared within a dialog or a menu, and keys off Windows' own letters.
    texts: what the user sees in that language, English standing in where it must."""
    own = rules.WINDOWS_KEYS.get(tag, {})
    problems = []
    for ident, command in rules.WINDOWS_COMMANDS.items():
        key, letter = key_of(texts[ident]), own.get(command)
        if key and letter and key != letter.upper():
            problems.append(f"{file_of(tag)}: {ident} \"{texts[ident]}\" has the access key {key}; Windows' own "
                            f"{command} has {letter} in this language")
    for group, members in rules.ACCESS_KEY_GROUPS.items():
        taken = {}  # key -> who has it, and the texts shown in turn with it
        for name, key, alternatives in keyed_members(members, texts, own):
            other, together = taken.get(key, (None, ()))
            if other is not None and name not in together:
                problems.append(f"{file_of(tag)}: {name} has the access key {key}, as {other} has, in {group}")
            else:
                taken.setdefault(key, (name, alternatives))
    return problems


def longest(tag, texts, name):
    if name == "shortcut":
        keys, last = rules.LONGEST_SHORTCUT
        return "+".join([texts[key] for key in keys] + [last])
    return rules.LONGEST_VALUES.get(name)


def length_problems(tag, texts):
    """Texts the shell would cut, with each placeholder at its longest."""
    problems = []
    for ident, limit in rules.LENGTH_LIMITS.items():
        filled = texts[ident]
        for placeholder in set(PLACEHOLDER.findall(filled)):
            value = longest(tag, texts, placeholder[1:-1])
            if value is None:
                problems.append(f"{ident}: the shell cuts it at {limit}, but {placeholder} has no longest value "
                                f"in catalogue_rules.LONGEST_VALUES")
                continue
            filled = filled.replace(placeholder, value)
        units = len(filled.encode("utf-16-le")) // 2
        if units > limit:
            problems.append(f"{file_of(tag)}: {ident} is {units} characters long with its placeholders filled; "
                            f"Windows shows only {limit} of them")
    return problems


def note_problems(tag, pot_entries, po_entries):
    """The template's notes for translators (#.) and flags (#,) as each .po carries them."""
    template = {entry["ctxt"]: entry for entry in pot_entries if "ctxt" in entry}
    stale = [entry["ctxt"] for entry in po_entries
             if entry.get("ctxt") in template
             and (entry["notes"], entry["flags"] - {"fuzzy"}) != (template[entry["ctxt"]]["notes"],
                                                                   template[entry["ctxt"]]["flags"])]
    if not stale:
        return []
    named = ", ".join(stale[:5]) + (f" and {len(stale) - 5} more" if len(stale) > 5 else "")
    return [f"{file_of(tag)}: the notes for translators of {named} are not the template's; "
            f"run res/make_catalogue.py res/lang --merge"]


def untranslated_report(tag, english, texts):
    missing = [ident for ident in english if ident not in texts]
    if not missing:
        return []
    return [f"{file_of(tag)} lacks {len(missing)} of {len(english)} texts, shown in English: {', '.join(missing)}"]


def rules_problems(english):
    """The rules name only texts the template has, and registry words its English quotes."""
    named = [ident for members in rules.ACCESS_KEY_GROUPS.values() for member in members if member != "system menu"
             for ident in (member if isinstance(member, tuple) else (member,))]
    named += [*rules.WINDOWS_COMMANDS, *rules.LENGTH_LIMITS, *rules.REGISTRY_WORDS, *rules.LONGEST_SHORTCUT[0]]
    problems = [f"catalogue_rules.py names {ident}, which Vornatic.pot does not have"
                for ident in dict.fromkeys(named) if ident not in english]
    problems += [f"catalogue_rules.py: the English of {ident} does not quote the registry's word \"{word}\""
                 for ident, words in rules.REGISTRY_WORDS.items() if ident in english
                 for word in words if word not in english[ident]]
    return problems
