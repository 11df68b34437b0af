#!/usr/bin/env python3
# Outside oracle for bodies left in the file: for each file, "F <path>", then one line per
# frame that carries binary data as mutagen reads it (pictures, objects, private and unknown
# frames): its key and the length and CRC-32 of the data.
import sys
import zlib

from mutagen.id3 import ID3


def main(paths):
    for path in paths:
        print("F " + path)
        for frame in ID3(path).values():
            data = getattr(frame, "data", None)
            if isinstance(data, bytes):
                print("%s %d:%08x" % (ascii(frame.HashKey), len(data), zlib.crc32(data)))


if __name__ == "__main__":
    main(sys.argv[1:])
