"""Answers search questions with Python's re, for the differential test of the engine.

Input: one line per pattern: the pattern and its subjects, separated by tabs. Output: one line
per subject: "E" when the pattern does not compile, "N" for no match, else
"M <start> <end> <groups>" and then a tab and the text of each group (empty for a group that
took no part). A first match at the end of the subject counts as none, as the engine never
starts a match there.
"""
import re
import sys

FLAGS = re.ASCII | re.DOTALL | re.MULTILINE


def answer(compiled, subject):
    m = compiled.search(subject)
    if m is None or m.start() == len(subject):
        return "N"
    texts = "".join("\t" + (g or "") for g in m.groups())
    return f"M {m.start()} {m.end()} {compiled.groups}{texts}"


def main(source, target):
    with open(source, encoding="ascii") as f, open(target, "w", encoding="ascii") as out:
        for line in f:
            pattern, *subjects = line.rstrip("\n").split("\t")
            try:
                compiled = re.compile(pattern, FLAGS)
            except re.error:
                out.write("E\n" * len(subjects))
                continue
            for subject in subjects:
                out.write(answer(compiled, subject) + "\n")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
