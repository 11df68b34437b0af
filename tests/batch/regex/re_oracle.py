"""Answers search questions with Python's re, for the differential test of the engine.

Input: a JSON list of [pattern, [subject, ...]]. Output: one line per subject, in order:
"E" when the pattern does not compile, "N" for no match, otherwise
"M <start> <end> <groups> <hex text of group 1>,<group 2>,..." (a group that took no part
is written as empty text).
"""
import json
import re
import sys


def main(source, target):
    with open(source, encoding="utf-8") as f:
        cases = json.load(f)
    flags = re.ASCII | re.DOTALL | re.MULTILINE
    with open(target, "w", encoding="ascii") as out:
        for pattern, subjects in cases:
            try:
                compiled = re.compile(pattern, flags)
            except re.error:
                out.write("E\n" * len(subjects))
                continue
            for subject in subjects:
                m = compiled.search(subject)
                if m is None:
                    out.write("N\n")
                    continue
                texts = [(g or "").encode("utf-8").hex() for g in m.groups()]
                out.write(f"M {m.start()} {m.end()} {compiled.groups} {','.join(texts)}\n")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
