# Random search questions answered by Python's re, for the differential test of the engine.
#
# Usage: re_oracle.py SEED TARGET. Writes, per random pattern, a line "/<pattern>" and then one
# line per subject: the subject, a tab and the answer: "E" when the pattern does not compile,
# "N" for no match, else "M <start> <end> <groups>" and then a tab and the text of each group
# (empty for a group that took no part).
import random
import re
import sys

FLAGS = re.ASCII | re.DOTALL | re.MULTILINE
PATTERNS = 3000
SUBJECTS_PER_PATTERN = 6
LITERALS = ["a", "b", "c", "x", "1", "_", " ", "-", "\\.", ".", "\\d", "\\w", "\\s", "\\D", "\\W",
            "\\S"]
CLASS_MEMBERS = ["a", "b", "c", "1", "_", " ", ".", "a-c", "0-9", "b-x", " -."]


# Random patterns from the part of the syntax on which the engine and Python's re (with ASCII,
# DOTALL and MULTILINE) agree, given subjects without line terminators. What is kept out, and
# why:
# - a quantifier on something that can match the empty string: the engine ends an unbounded
#   repetition after a round that matched nothing, which Python's rules only approximate (spot
#   checks such as (a*)*, (a|)+b and (?:(a)|())*b agreed), and nested bodies of that kind make
#   Python backtrack for minutes, stalling the oracle;
# - {n,m} with m - n >= 2 on a body with any internal choice: the engine's optional part tries
#   whole runs of copies, most first ((?:a|ab){0,2}b on abab goes differently), while Python
#   backtracks round by round; single characters and fixed runs of them behave alike;
# - a quantifier on a quantifier (Python rejects "multiple repeat");
# - escapes inside classes, "]" or "-" as class members, empty classes ("[]", "[^]" and "[]a]"
#   are read differently);
# - look-behind whose content could vary in width (Python needs a fixed width);
# - backreferences (Python fails on a group that took no part; the engine matches empty),
#   atomic groups and possessive forms (Python 3.11 numbers them differently), and the
#   engine's own syntax (\Q...\E, (#...), option groups).
# A fragment is (text, nullable, simple, quantifiable); simple: fixed width and no choice
# inside, safe in look-behind and in {n,m}.
class RandomPattern:
    def __init__(self, seed):
        self.random = random.Random(seed)
        self.groups = 0

    def pick(self, n):
        return self.random.randrange(n)

    def single(self):
        choice = self.pick(len(LITERALS) + 4)
        if choice < len(LITERALS):
            return (LITERALS[choice], False, True, True)
        members = "".join(self.random.choice(CLASS_MEMBERS) for _ in range(1 + self.pick(3)))
        return (("[^" if self.pick(3) == 0 else "[") + members + "]", False, True, True)

    def group(self, depth):
        text, nullable, simple, _ = self.alternation(depth + 1, False)
        kind = self.pick(3)
        self.groups += kind != 1
        opener = ["(", "(?:", f"(?P<g{self.groups}>"][kind]
        return (opener + text + ")", nullable, simple, True)

    def lookaround(self, depth):
        if self.pick(2) == 0:
            text = self.alternation(depth + 1, False)[0]
            return (("(?=" if self.pick(2) == 0 else "(?!") + text + ")", True, False, False)
        # Fixed width: single characters, possibly inside capturing groups.
        text = "(?<=" if self.pick(2) == 0 else "(?<!"
        for _ in range(1 + self.pick(3)):
            if self.pick(3) == 0:
                self.groups += 1
                text += "(" + self.single()[0] + self.single()[0] + ")"
            else:
                text += self.single()[0]
        return (text + ")", True, False, False)

    def item(self, depth):
        kind = self.pick(6 if depth >= 3 else 10)
        if kind < 4:
            return self.quantified(self.single())
        if kind < 6:
            return (self.random.choice(["^", "$", "\\b", "\\B"]), True, False, False)
        if kind < 9:
            return self.quantified(self.group(depth))
        return self.lookaround(depth)

    def quantified(self, body):
        text, nullable, simple, quantifiable = body
        if not quantifiable or nullable or self.pick(2) == 0:
            return body
        lazy = "?" if self.pick(3) == 0 else ""
        n = self.pick(3)
        kind = self.pick(6)
        if kind == 3:
            return (f"{text}{{{n}}}{lazy}", n == 0, simple, False)
        if kind == 5:
            extra = 1 + self.pick(3) if simple else 1
            return (f"{text}{{{n},{n + extra}}}{lazy}", n == 0, False, False)
        suffixes = [("*", True), ("+", False), ("?", True), (), (f"{{{n},}}", n == 0)]
        suffix, nullable = suffixes[kind]
        return (text + suffix + lazy, nullable, False, False)

    def sequence(self, depth, non_empty):
        items = [self.item(depth) for _ in range(non_empty + self.pick(4))]
        text = "".join(item[0] for item in items)
        return (text, all(i[1] for i in items), bool(items) and all(i[2] for i in items), False)

    def alternation(self, depth, top):
        count = 1 + (1 + self.pick(2) if self.pick(3) == 0 else 0)
        branches = [self.sequence(depth, top) for _ in range(count)]
        simple = count == 1 and branches[0][2]
        return ("|".join(b[0] for b in branches), any(b[1] for b in branches), simple, False)

    def pattern(self):
        self.groups = 0
        return self.alternation(0, True)[0]

    def subject(self):
        return "".join(self.random.choice("aabbc1x_ -.") for _ in range(self.pick(11)))


# A first match at the end of the subject counts as none: the engine never starts a match there.
def answer(compiled, subject):
    m = compiled.search(subject)
    if m is None or m.start() == len(subject):
        return "N"
    texts = "".join("\t" + (g or "") for g in m.groups())
    return f"M {m.start()} {m.end()} {compiled.groups}{texts}"


def main(seed, target):
    generator = RandomPattern(seed)
    with open(target, "w", encoding="ascii") as out:
        for _ in range(PATTERNS):
            pattern = generator.pattern()
            out.write("/" + pattern + "\n")
            try:
                compiled = re.compile(pattern, FLAGS)
            except re.error:
                compiled = None
            for _ in range(SUBJECTS_PER_PATTERN):
                subject = generator.subject()
                out.write(subject + "\t" + (answer(compiled, subject) if compiled else "E") + "\n")


main(int(sys.argv[1]), sys.argv[2])
