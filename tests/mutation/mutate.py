#!/usr/bin/env python3
"""Mutation run: how many small faults planted in the code do the unit tests catch?

Each mutant changes one thing in one source file (a comparison flipped, a statement
dropped, a verdict swapped...). It is planted in a copy of the tree under
build/mutation/tree, never in the working tree, so an interrupted run cannot leave a fault
behind; the next run puts the copy right again. The copy has one build, configured once
from the linux preset, so a mutant costs one object, the library and the unit-test link.

    tests/mutation/mutate.py [FILES...] [--list] [--sample N --seed S] [--operators a,b]

A mutant that does not compile is not a real mutant and is left out of the score. A
mutant that makes a test hang counts as caught. The run is a measurement: it exits 0
whatever the score, and non-zero only when the unmutated tree does not build or fails.
"""

from __future__ import annotations

import argparse
import dataclasses
import fcntl
import filecmp
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
WORK = ROOT / "build" / "mutation"
TREE = WORK / "tree"
BUILD = WORK / "build"
REPORT = WORK / "report.txt"
PLANTED = WORK / "planted"
DEFAULT_FOLDERS = ("src/autodrag", "src/settings")
UNIT_TEST_TARGET = "vornatic_unit_tests"
# What the copy of the tree leaves out: outputs and history, never sources.
NOT_COPIED = {"build", ".git"}

OPERATORS = ("comparison", "logic", "bool", "negate", "drop", "enum", "constant")


@dataclasses.dataclass(frozen=True)
class Mutant:
    path: str  # relative to the repository, with forward slashes
    line: int  # 1-based
    start: int  # column span in the line that is replaced
    end: int
    operator: str
    before: str
    after: str

    def where(self) -> str:
        return f"{self.path}:{self.line}"

    def describe(self, original_line: str) -> str:
        # The whole statement before and after reads better than a lone token.
        new_line = original_line[: self.start] + self.after + original_line[self.end :]
        return f"{self.operator}: `{original_line.strip()}` -> `{new_line.strip()}`"


# --- finding the code ---------------------------------------------------------------


def code_only(text: str) -> str:
    """The text with comments and string and character literals blanked out.

    Lengths and line breaks stay, so a position in the result is the same position in
    the source, and no operator ever matches inside a message or a remark.
    """
    out = list(text)
    i, n = 0, len(text)

    def blank(a: int, b: int) -> None:
        for k in range(a, b):
            if out[k] != "\n":
                out[k] = " "

    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            blank(i, j)
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            blank(i, j)
            i = j
        elif c == "R" and text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")
                                                       or text[i - 1] in "Lu8U"):
            m = re.match(r'R"([^(\s]*)\(', text[i:])
            if not m:
                i += 1
                continue
            close = ")" + m.group(1) + '"'
            j = text.find(close, i + m.end())
            j = n if j < 0 else j + len(close)
            blank(i + 1, j)
            i = j
        elif c in "\"'":
            # A digit separator (1'000) is not a character literal.
            if c == "'" and i > 0 and text[i - 1].isalnum() and not re.search(r"(?<![\w])(?:u8|[LuU])$", text[max(0, i - 3) : i]):
                i += 1
                continue
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j = min(j + 1, n)
            blank(i, j)
            i = j
        else:
            i += 1
    return "".join(out)


# Lines that carry no behaviour of their own, or whose change says nothing about tests.
SKIPPED_LINE = re.compile(r"^\s*(#|static_assert\b|using\b|namespace\b|template\b|enum\b|}?\s*$)")
# A declaration without a value: `Type name;` or `Type name, other;`.
ONLY_DECLARES = re.compile(r"^(?!\s*(?:return|throw|co_return|co_yield|delete|goto)\b)\s*(?:const\s+)?[\w:<>,*&\s]+?[\s*&]\w+(?:\s*,\s*\w+)*\s*;\s*$")


def skipped_lines(code: str) -> set[int]:
    """Line numbers (1-based) that no operator touches."""
    skipped: set[int] = set()
    in_static_assert = False
    for number, line in enumerate(code.split("\n"), start=1):
        if in_static_assert or SKIPPED_LINE.match(line) or ONLY_DECLARES.match(line):
            skipped.add(number)
        if "static_assert" in line:
            in_static_assert = True
        if in_static_assert and ";" in line:
            in_static_assert = False
    return skipped


# --- the operators ------------------------------------------------------------------

# Binary operators are written with a space either side; a `<` or `>` without them is a
# template's bracket, a `&&` without them a forwarding reference.
COMPARISON_SWAPS = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
SPACED_OPERATOR = re.compile(r"(?<=\s)(<=|>=|==|!=|<|>|&&|\|\|)(?=\s)")
BOOL_LITERAL = re.compile(r"\b(true|false)\b")
INTEGER = re.compile(r"(?<![\w.'])(0[xX][0-9a-fA-F]+|\d+)([uUlL]*)(?![\w.'])")
CONDITION_KEYWORD = re.compile(r"\b(if|while)\s*\(")
QUALIFIED_NAME = re.compile(r"\b(\w+)::(\w+)\b")
ENUM_DEFINITION = re.compile(r"\benum\s+class\s+(\w+)(?:\s*:\s*[\w:]+)?\s*\{([^}]*)\}", re.S)
# What a dropped statement may be: a call or an assignment on its own, never a
# declaration (its name would be missing below) and never a return or a jump.
CALL_STATEMENT = re.compile(r"^[A-Za-z_][\w.:\->\[\]]*(?:<[\w:, ]*>)?\(.*\);$")
ASSIGNMENT_STATEMENT = re.compile(r"^(?:\*?[A-Za-z_][\w.:\->\[\]]*\s*(?:[-+*/|&^]|<<|>>)?=[^=].*|(?:\+\+|--)[\w.\->]+|[\w.\->]+(?:\+\+|--));$")
GUARD_WITHOUT_BRACES = re.compile(r"^(?:}\s*)?(?:else$|(?:else\s+)?(?:if|while|for)\b.*\)$)")
NOT_A_STATEMENT_START = re.compile(r"^(return|throw|break|continue|goto|case|default|delete|co_\w+)\b")


def matching_paren(code: str, open_at: int) -> int:
    """Index of the `)` that closes the `(` at open_at, or -1 within this line."""
    depth = 0
    for k in range(open_at, len(code)):
        if code[k] == "(":
            depth += 1
        elif code[k] == ")":
            depth -= 1
            if depth == 0:
                return k
    return -1


def statement_spans(code_line: str, continued: bool) -> list[tuple[int, int]]:
    """Spans of whole statements in one line: the line itself (unless it goes on from the
    line above), the body of an `if (...)` or `else` on it, and the body of a one-line block
    such as a lambda's."""
    spans: list[tuple[int, int]] = []
    stripped = code_line.strip()
    if stripped and not continued:
        start = len(code_line) - len(code_line.lstrip())
        spans.append((start, start + len(stripped)))
    for m in re.finditer(r"\bif\s*\(", code_line):
        close = matching_paren(code_line, m.end() - 1)
        if close > 0:
            rest = code_line[close + 1 :]
            body = rest.strip()
            if body.endswith(";") and not body.startswith("{"):
                start = close + 1 + len(rest) - len(rest.lstrip())
                spans.append((start, start + len(body)))
    for m in re.finditer(r"\belse\s+(?!if\b)", code_line):
        body = code_line[m.end() :].strip()
        if body.endswith(";"):
            spans.append((m.end(), m.end() + len(body)))
    # Inside a one-line block, but not where the line as a whole is a statement: dropping
    # a step's only call is the same fault as dropping the step.
    if not continued and droppable(stripped):
        return sorted(set(spans))
    for m in re.finditer(r"\{\s*([^{}]*?;)\s*\}", code_line):
        # One statement only: a block of several is dropped statement by statement below.
        for part in re.finditer(r"[^;]+;", m.group(1)):
            text = part.group(0)
            lead = len(text) - len(text.lstrip())
            spans.append((m.start(1) + part.start() + lead, m.start(1) + part.end()))
    return sorted(set(spans))


def droppable(statement: str) -> bool:
    if NOT_A_STATEMENT_START.match(statement):
        return False
    if statement.count("(") != statement.count(")") or statement.count("{") != statement.count("}"):
        return False
    return bool(CALL_STATEMENT.match(statement) or ASSIGNMENT_STATEMENT.match(statement))


def line_mutants(path: str, number: int, line: str, code_line: str, continued: bool,
                 enums: dict[str, list[str]], operators: set[str]) -> list[Mutant]:
    found: list[Mutant] = []

    def add(operator: str, start: int, end: int, after: str) -> None:
        if operator in operators and line[start:end] != after:
            found.append(Mutant(path, number, start, end, operator, line[start:end], after))

    for m in SPACED_OPERATOR.finditer(code_line):
        token = m.group(1)
        if token in COMPARISON_SWAPS:
            add("comparison", m.start(), m.end(), COMPARISON_SWAPS[token])
        else:
            add("logic", m.start(), m.end(), "||" if token == "&&" else "&&")
    for m in BOOL_LITERAL.finditer(code_line):
        add("bool", m.start(), m.end(), "false" if m.group(1) == "true" else "true")
    for m in CONDITION_KEYWORD.finditer(code_line):
        close = matching_paren(code_line, m.end() - 1)
        condition = code_line[m.end() : close] if close > 0 else ""
        # An `if (const auto x = ...)` or `if (init; cond)` declares: negating it would not compile.
        if condition.strip() and ";" not in condition and not re.match(r"\s*(const|auto)\b", condition):
            add("negate", m.end(), close, f"!({line[m.end():close]})")
    if not code_line.lstrip().startswith("case "):
        for m in QUALIFIED_NAME.finditer(code_line):
            values = enums.get(m.group(1))
            if values and m.group(2) in values and len(values) > 1:
                other = values[(values.index(m.group(2)) + 1) % len(values)]
                add("enum", m.start(2), m.end(2), other)
    for m in INTEGER.finditer(code_line):
        digits = m.group(1)
        value = int(digits, 16) if digits[:2] in ("0x", "0X") else int(digits)
        after = hex(value + 1) if digits[:2] in ("0x", "0X") else str(value + 1)
        add("constant", m.start(1), m.end(1), after)
    for start, end in statement_spans(code_line, continued):
        if droppable(code_line[start:end].strip()):
            whole_line = start == len(code_line) - len(code_line.lstrip()) and end == len(code_line.rstrip())
            # Dropped for good: a bare `;` on a line of its own, `{}` as an if's body.
            add("drop", start, end, ";" if whole_line or code_line[:start].rstrip().endswith("{") else "{}")
    return found


# --- enumerators ----------------------------------------------------------------------


def enum_values(text: str) -> dict[str, list[str]]:
    enums: dict[str, list[str]] = {}
    for m in ENUM_DEFINITION.finditer(code_only(text)):
        values = [v.split("=")[0].strip() for v in m.group(2).split(",")]
        enums[m.group(1)] = [v for v in values if re.fullmatch(r"\w+", v)]
    return enums


def enums_seen_from(source: Path) -> dict[str, list[str]]:
    """The `enum class` lists of the file and of the project headers it includes."""
    text = source.read_text(encoding="utf-8")
    enums: dict[str, list[str]] = {}
    for include in re.findall(r'^\s*#\s*include\s+"([^"]+)"', text, re.M):
        for base in (ROOT / "src", source.parent):
            header = base / include
            if header.is_file():
                enums.update(enum_values(header.read_text(encoding="utf-8")))
                break
    enums.update(enum_values(text))
    return enums


def mutants_of(source: Path, operators: set[str]) -> list[Mutant]:
    text = source.read_text(encoding="utf-8")
    code = code_only(text)
    skipped = skipped_lines(code)
    enums = enums_seen_from(source)
    path = source.relative_to(ROOT).as_posix()
    found: list[Mutant] = []
    last_code = ""
    for number, (line, code_line) in enumerate(zip(text.split("\n"), code.split("\n")), start=1):
        # A line after one that has not ended its statement is the rest of that statement.
        continued = bool(last_code) and not last_code.endswith((";", "{", "}", ":")) and not (
            last_code.startswith("#") or GUARD_WITHOUT_BRACES.match(last_code))
        if number not in skipped:
            found += line_mutants(path, number, line, code_line, continued, enums, operators)
        if code_line.strip():
            last_code = code_line.strip()
    return sorted(found, key=lambda m: (m.line, m.start, m.operator, m.end, m.after))


def source_files(given: list[str]) -> list[Path]:
    if given:
        files = [Path(f).resolve() for f in given]
        outside = [f for f in files if not f.is_file() or ROOT not in f.parents]
        if outside:
            sys.exit(f"mutate: not a source file of this repository: {', '.join(map(str, outside))}")
        return files
    return sorted(p for folder in DEFAULT_FOLDERS for p in (ROOT / folder).glob("*.cpp"))


# --- building and testing the copy ---------------------------------------------------


def sync_tree() -> None:
    """Make the copy the same as the working tree, rewriting only what differs so that
    the build keeps every object that is still good."""
    TREE.mkdir(parents=True, exist_ok=True)

    def walk(source: Path, copy: Path) -> None:
        names = {p.name for p in source.iterdir() if not (source == ROOT and p.name in NOT_COPIED)}
        for stale in {p.name for p in copy.iterdir()} - names:
            target = copy / stale
            shutil.rmtree(target) if target.is_dir() and not target.is_symlink() else target.unlink()
        for name in sorted(names):
            s, c = source / name, copy / name
            if s.is_dir():
                if c.exists() and not c.is_dir():
                    c.unlink()
                c.mkdir(exist_ok=True)
                walk(s, c)
            elif not c.is_file() or not filecmp.cmp(s, c, shallow=False):
                if c.is_dir():
                    shutil.rmtree(c)
                shutil.copyfile(s, c)
                shutil.copymode(s, c)

    walk(ROOT, TREE)


@dataclasses.dataclass
class Outcome:
    verdict: str  # caught, survived, timeout, no-compile
    detail: str = ""
    seconds: float = 0.0


def run(command: list[str], cwd: Path, timeout: float | None = None) -> subprocess.CompletedProcess[str]:
    """Runs a build or the tests in a process group of their own, and ends the whole group
    when the run is cut short. A compiler left running would write the mutant's object
    after the source was put back, and a hung test would go on spinning."""
    process = subprocess.Popen(command, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                               start_new_session=True)
    try:
        output, _ = process.communicate(timeout=timeout)
    except BaseException:
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        process.communicate()
        raise
    return subprocess.CompletedProcess(command, process.returncode, output)


def configure() -> None:
    if (BUILD / "CMakeCache.txt").is_file():
        return
    print("mutate: configuring build/mutation/build from the linux preset (once)", flush=True)
    result = run(["cmake", "--preset", "linux", "-B", str(BUILD)], cwd=TREE)
    if result.returncode != 0:
        print(result.stdout)
        sys.exit("mutate: could not configure the mutation build")


def build() -> subprocess.CompletedProcess[str]:
    return run(["cmake", "--build", str(BUILD), "--target", UNIT_TEST_TARGET, "-j2"], cwd=TREE)


def test(per_test_timeout: float, whole_run_timeout: float | None, stop_early: bool) -> Outcome:
    command = ["ctest", "--test-dir", str(BUILD), "-j2", "--timeout", str(per_test_timeout), "--output-on-failure"]
    if stop_early:
        command.append("--stop-on-failure")
    try:
        result = run(command, cwd=TREE, timeout=whole_run_timeout)
    except subprocess.TimeoutExpired:
        return Outcome("timeout", "the test run as a whole")
    if result.returncode == 0:
        return Outcome("survived")
    # ctest's closing list: "  8 - Suite.Name (Failed)", "(Timeout)", "(Subprocess aborted)",
    # with "# GetParam() = ..." between the two for a parameterised test.
    failed = re.findall(r"^\s*\d+ - (\S+).*\(([^()]+)\)\s*$", result.stdout, re.M)
    timed_out = [name for name, how in failed if how == "Timeout"]
    if timed_out:
        return Outcome("timeout", timed_out[0])
    if not failed:
        return Outcome("caught", "ctest failed without naming a test")
    name, how = failed[0]
    return Outcome("caught", name if how == "Failed" else f"{name}: {how}")


class Planted:
    """One mutant in the copy of the tree, for as long as the `with` lasts; the file is put
    back however the block ends, Ctrl+C and kill included. While it is planted, PLANTED
    names it, so that a run killed outright leaves the next run a way to rebuild it."""

    def __init__(self, mutant: Mutant):
        self.mutant = mutant
        self.file = TREE / mutant.path
        self.original = self.file.read_text(encoding="utf-8")

    def __enter__(self) -> "Planted":
        lines = self.original.split("\n")
        line = lines[self.mutant.line - 1]
        if line[self.mutant.start : self.mutant.end] != self.mutant.before:
            raise RuntimeError(f"{self.mutant.where()} no longer reads `{self.mutant.before}` there")
        lines[self.mutant.line - 1] = line[: self.mutant.start] + self.mutant.after + line[self.mutant.end :]
        PLANTED.write_text(self.mutant.path, encoding="utf-8")
        self.file.write_text("\n".join(lines), encoding="utf-8")
        return self

    def __exit__(self, *exc: object) -> None:
        # Written after every compiler of the mutant has ended, so the source is newer
        # than the mutant's object and the next build compiles it again.
        self.file.write_text(self.original, encoding="utf-8")
        PLANTED.unlink(missing_ok=True)


def forget_killed_mutant() -> None:
    """After a run killed outright with a mutant planted, its object may be the mutant's
    and newer than the source put back: remove it so it is compiled again."""
    if not PLANTED.is_file():
        return
    path = PLANTED.read_text(encoding="utf-8").strip()
    for stale in BUILD.glob(f"**/{path}.o"):
        stale.unlink()
    PLANTED.unlink()


def _terminated(signum: int, frame: object) -> None:
    raise KeyboardInterrupt(f"signal {signum}")


# --- the run -------------------------------------------------------------------------


def choose(mutants: list[Mutant], sample: int | None, seed: int) -> list[tuple[int, Mutant]]:
    numbered = list(enumerate(mutants, start=1))
    if sample is None or sample >= len(numbered):
        return numbered
    return sorted(random.Random(seed).sample(numbered, sample), key=lambda pair: pair[0])


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("files", nargs="*", help="C++ files to mutate (default: src/autodrag/*.cpp, src/settings/*.cpp)")
    parser.add_argument("--list", action="store_true", help="list the mutants and stop")
    parser.add_argument("--sample", type=int, help="run N mutants picked at random (reproducibly, by --seed)")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--only", help="comma-separated mutant numbers, as --list shows them, to run again")
    parser.add_argument("--operators", default=",".join(OPERATORS),
                        help=f"comma-separated, from: {', '.join(OPERATORS)} (default: all)")
    parser.add_argument("--timeout", type=float, default=10,
                        help="seconds one test may take before the mutant counts as hanging (default 10)")
    parser.add_argument("--keep-going", action="store_true",
                        help="run every test of a caught mutant too, to see each test that catches it")
    args = parser.parse_args()

    operators = set(args.operators.split(","))
    unknown = operators - set(OPERATORS)
    if unknown:
        parser.error(f"unknown operator(s): {', '.join(sorted(unknown))}")
    if args.sample is not None and args.sample < 1:
        parser.error("--sample needs a positive number")

    mutants = [m for f in source_files(args.files) for m in mutants_of(f, operators)]
    chosen = choose(mutants, args.sample, args.seed)
    if args.only:
        wanted = {int(n) for n in args.only.split(",")}
        chosen = [(index, m) for index, m in chosen if index in wanted]
    originals = {m.path: (ROOT / m.path).read_text(encoding="utf-8").split("\n") for m in mutants}
    width = len(str(len(mutants)))

    def label(index: int, m: Mutant) -> str:
        return f"#{index:0{width}d} {m.where()} {m.describe(originals[m.path][m.line - 1])}"

    if args.list:
        for index, m in chosen:
            print(label(index, m))
        print(f"{len(chosen)} of {len(mutants)} mutants")
        return 0

    signal.signal(signal.SIGTERM, _terminated)
    signal.signal(signal.SIGHUP, _terminated)
    WORK.mkdir(parents=True, exist_ok=True)
    # One run at a time: two would plant their mutants in the same copy and build.
    lock = (WORK / "lock").open("w")
    try:
        fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
    except BlockingIOError:
        print("mutate: another mutation run is using build/mutation; wait for it to end")
        return 2
    sync_tree()
    forget_killed_mutant()
    configure()

    print("mutate: building and testing the unmutated tree", flush=True)
    started = time.monotonic()
    built = build()
    if built.returncode != 0:
        print(built.stdout[-4000:])
        print("mutate: the unmutated tree does not build; nothing measured")
        return 1
    build_seconds = time.monotonic() - started
    started = time.monotonic()
    baseline = test(args.timeout, None, stop_early=False)
    test_seconds = time.monotonic() - started
    if baseline.verdict != "survived":
        print(f"mutate: the unmutated tree fails its unit tests ({baseline.verdict}: {baseline.detail}); "
              "nothing measured")
        return 1
    # A mutant may slow the tests without failing them; only a run far beyond the
    # unmutated one's counts as a hang.
    whole_run_timeout = max(3 * test_seconds, test_seconds + args.timeout) + 30
    print(f"mutate: unmutated tree builds in {build_seconds:.0f} s, tests pass in {test_seconds:.0f} s; "
          f"{len(chosen)} of {len(mutants)} mutants to run", flush=True)

    lines: list[str] = []
    outcomes: list[Outcome] = []
    report_header = (f"mutation run: {' '.join(sys.argv[1:]) or '(all mutants of the default files)'}\n"
                     f"{len(chosen)} of {len(mutants)} mutants, seed {args.seed}\n")
    REPORT.write_text(report_header, encoding="utf-8")
    run_started = time.monotonic()
    interrupted = False
    try:
        for position, (index, m) in enumerate(chosen, start=1):
            started = time.monotonic()
            with Planted(m):
                compiled = build()
                if compiled.returncode != 0:
                    outcome = Outcome("no-compile")
                else:
                    outcome = test(args.timeout, whole_run_timeout, stop_early=not args.keep_going)
            outcome.seconds = time.monotonic() - started
            outcomes.append(outcome)
            detail = f" ({outcome.detail})" if outcome.detail else ""
            line = f"[{position}/{len(chosen)}] {label(index, m)}  => {outcome.verdict}{detail}, {outcome.seconds:.0f} s"
            print(line, flush=True)
            lines.append(line)
            with REPORT.open("a", encoding="utf-8") as report:
                report.write(line + "\n")
    except KeyboardInterrupt:
        interrupted = True
        print("\nmutate: interrupted; the copy of the tree is as it was, the figures below cover what ran")

    real = [o for o in outcomes if o.verdict != "no-compile"]
    caught = [o for o in real if o.verdict in ("caught", "timeout")]
    elapsed = time.monotonic() - run_started
    counts = {v: sum(o.verdict == v for o in outcomes) for v in ("caught", "timeout", "survived", "no-compile")}
    percent = f"{100 * len(caught) / len(real):.0f} %" if real else "n/a"
    summary = [
        f"real mutants: {len(real)}, caught: {len(caught)} ({percent})",
        "  " + ", ".join(f"{v}: {n}" for v, n in counts.items()),
        f"  {len(outcomes)} mutants in {elapsed:.0f} s, {elapsed / max(len(outcomes), 1):.0f} s a mutant "
        f"(unmutated: build {build_seconds:.0f} s, tests {test_seconds:.0f} s)",
    ]
    survivors = [line for line, o in zip(lines, outcomes) if o.verdict == "survived"]
    if survivors:
        summary += ["survivors (faults no test notices):"]
        summary += ["  " + s.split("] ", 1)[1].rsplit("  => ", 1)[0] for s in survivors]
    print("\n".join(summary))
    with REPORT.open("a", encoding="utf-8") as report:
        report.write("\n".join(summary) + "\n")
    print(f"report: {REPORT.relative_to(ROOT)}")
    return 130 if interrupted else 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except KeyboardInterrupt:
        # Before the first mutant: nothing was planted, and the next run's sync puts the
        # copy right whatever it was doing.
        print("\nmutate: interrupted before any mutant ran")
        sys.exit(130)
