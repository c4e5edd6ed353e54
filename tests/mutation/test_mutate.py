"""What the mutation run plants, and where it must not: python3 -m unittest tests/mutation/test_mutate.py"""

import sys
import tempfile
import textwrap
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
import mutate  # noqa: E402


def mutants_in(source: str, operators=mutate.OPERATORS):
    with tempfile.NamedTemporaryFile("w", suffix=".cpp", dir=mutate.ROOT / "build", delete=False) as f:
        f.write(textwrap.dedent(source))
    try:
        return [(m.line, m.operator, m.before, m.after) for m in mutate.mutants_of(Path(f.name), set(operators))]
    finally:
        Path(f.name).unlink()


class WhereNothingIsPlanted(unittest.TestCase):
    def test_comments_strings_includes_static_asserts_and_template_brackets_are_left_alone(self):
        found = mutants_in("""\
            #include <vector>  // 1 < 2
            static_assert(sizeof(int) == 4,
                          "int is 4 == bytes");
            /* if (a == b) true; */
            std::vector<int> values;
            const wchar_t* text = L"x < y && true";
            wchar_t quote = L'<' + 1'000;
            """)
        self.assertEqual(found, [])

    def test_a_statement_that_goes_on_from_the_line_above_is_not_dropped(self):
        found = mutants_in("""\
            void F() {
              const Key opened =
                  OpenKey(registry_, root);
              Close(opened);
            }
            """, ["drop"])
        self.assertEqual(found, [(4, "drop", "Close(opened);", ";")])


class WhatIsPlanted(unittest.TestCase):
    def test_each_operator_on_a_line_of_engine_code(self):
        found = mutants_in("""\
            enum class Verdict { PassOn, Swallow };
            void F() {
              if (count_ >= 2 && ready_) held_ = true;
              if (held_) return Verdict::PassOn;
              return false;
            }
            """)
        self.assertEqual(sorted(found), sorted([
            (3, "negate", "count_ >= 2 && ready_", "!(count_ >= 2 && ready_)"),
            (3, "comparison", ">=", ">"),
            (3, "constant", "2", "3"),
            (3, "logic", "&&", "||"),
            (3, "bool", "true", "false"),
            (3, "drop", "held_ = true;", "{}"),
            (4, "negate", "held_", "!(held_)"),
            (4, "enum", "PassOn", "Swallow"),
            (5, "bool", "false", "true"),
        ]))

    def test_a_sample_is_the_same_for_the_same_seed_and_in_list_order(self):
        mutants = list(range(100))
        first = mutate.choose(mutants, 10, 7)
        self.assertEqual(first, mutate.choose(mutants, 10, 7))
        self.assertEqual(first, sorted(first))
        self.assertNotEqual(first, mutate.choose(mutants, 10, 8))


if __name__ == "__main__":
    unittest.main()
