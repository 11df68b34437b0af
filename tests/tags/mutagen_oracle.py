#!/usr/bin/env python3
# Outside oracle for the ID3v2 tests: writes tagged files with mutagen and dumps what mutagen
# reads from a file, one line per frame, in the form the C++ tests produce from the engine.
#
#     mutagen_oracle.py write DIR    writes the sample files into DIR, prints nothing
#     mutagen_oracle.py dump FILE... prints "F <path>" then the frame lines of each file
#     mutagen_oracle.py payloads FILE...  the same for the frames that carry binary data
#                                     (pictures, objects, private and unknown frames): key,
#                                     length and CRC-32 of the data, when there is any
import os
import sys
import zlib

from mutagen.id3 import (APIC, COMM, ID3, IPLS, TALB, TCON, TDAT, TDOR, TDRC, TIME, TIPL, TIT2,
                         TMCL, TORY, TPE1, TSOP, TXXX, TYER, TimeStampTextFrame)

AUDIO = bytes([0xFF, 0xFB, 0x90, 0x00]) + bytes((i * 37 + i // 251) & 0xFF for i in range(3000))
PNG = b"\x89PNG\r\n\x1a\n" + bytes(range(256)) * 2


def h(text):
    return text.encode("utf-8").hex() or "-"


def checksum(data):
    return "%d:%08x" % (len(data), zlib.crc32(data))


def texts(values):
    return h("\0".join(str(v) for v in values))


def line(frame):
    fid = frame.FrameID
    if fid == "TXXX":
        return "X %s %s" % (h(frame.desc), texts(frame.text))
    if fid in ("IPLS", "TIPL", "TMCL"):
        return "T %s %s" % (fid, texts([x for pair in frame.people for x in pair]))
    if isinstance(frame, TimeStampTextFrame):  # mutagen shows the stamps with a space
        return "T %s %s" % (fid, texts(str(v).replace(" ", "T") for v in frame.text))
    if fid.startswith("T"):
        return "T %s %s" % (fid, texts(frame.text))
    if fid == "COMM":
        return "C %s %s %s" % (frame.lang.encode("latin-1").hex(), h(frame.desc), texts(frame.text))
    if fid == "APIC":
        return "P %d %s %s %s" % (frame.type, h(frame.mime), h(frame.desc), checksum(frame.data))
    return "O " + fid


def dump(path):
    tags = ID3(path, translate=False)
    with open(path, "rb") as f:
        audio = f.read()[tags.size:]
    return [line(frame) for frame in tags.values()] + ["N %d" % len(tags), "A " + checksum(audio)]


# Empty payloads are left out: they prove nothing, and a stub GEOB that mutagen rejects in an
# ID3v2.3 tag reads as an empty one once converted to 2.4.
def payloads(path):
    return ["%s %s" % (ascii(frame.HashKey), checksum(frame.data))
            for frame in ID3(path).values()
            if isinstance(getattr(frame, "data", None), bytes) and frame.data]


def frames(encoding, v24):
    text = "Caf\u00e9" if encoding == 0 else "\u65e5\u672c \u00e9"
    people = [["producer", "P"], ["mix", "M"]]
    # The date and people frames of the version, and for ID3v2.4 frames ID3v2.3 lacks or joins.
    dated = [TDRC(encoding=encoding, text=["2004-05-06T12:30"]),
             TDOR(encoding=encoding, text=["1970-01-02"]), TIPL(encoding=encoding, people=people),
             TMCL(encoding=encoding, people=[["piano", "X"]]), TSOP(encoding=encoding, text=["S"]),
             TXXX(encoding=encoding, desc="key", text=["v1", "v2"])] if v24 else [
        TYER(encoding=encoding, text=["1999"]), TDAT(encoding=encoding, text=["0605"]),
        TIME(encoding=encoding, text=["1230"]), TORY(encoding=encoding, text=["1970"]),
        IPLS(encoding=encoding, people=people), TXXX(encoding=encoding, desc="key", text=["v"])]
    return dated + [
        TIT2(encoding=encoding, text=[text + " title"]),
        TPE1(encoding=encoding, text=["a", "b"] if v24 else [text + " artist"]),
        TALB(encoding=encoding, text=["Album " + "x" * 150]),
        TCON(encoding=encoding, text=["(17)"]),
        COMM(encoding=encoding, lang="eng", desc="", text=[text + " comment"]),
        COMM(encoding=encoding, lang="deu", desc="d\u00e9sc", text=["other " * 40]),
        APIC(encoding=encoding, mime="image/png", type=3, desc="front " + text, data=PNG),
    ]


def save(path, version, encoding):
    with open(path, "wb") as f:
        f.write(AUDIO)
    tags = ID3()
    for frame in frames(encoding, version == 4):
        tags.add(frame)
    tags.save(path, v2_version=version, padding=lambda info: 100)


# Extended headers and unsynchronisation: the peer corpus files, read as their writers read them.
def write(directory):
    for version, encodings in ((3, (0, 1)), (4, (0, 1, 2, 3))):
        for encoding in encodings:
            save(os.path.join(directory, "v2%d_enc%d.mp3" % (version, encoding)), version, encoding)


if __name__ == "__main__":
    if sys.argv[1] == "write":
        write(sys.argv[2])
    for path in sys.argv[2:] if sys.argv[1] != "write" else []:
        print("F " + path)
        for row in dump(path) if sys.argv[1] == "dump" else payloads(path):
            print(row)
