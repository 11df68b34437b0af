"""list and dump: what the loader read, in the order the walk met it."""

import hashlib
import json
import os

from mutagen.id3 import ID3, TPE1
from mutagen.mp3 import MP3

from clitest import MPEG_FRAME, CliTestCase


class Listing(CliTestCase):
    def test_list_prints_the_ten_columns_and_dump_follows_its_order(self):
        self.make_mp3("top.mp3", [TPE1(encoding=1, text="Ärtist")], TIT2="Song", TALB="Album",
                      TRCK="7", TYER="1999", TCON="(17)")
        self.make_mp3("sub/inner.MP3", TIT2="Inner")
        self.make_mp3("tab\tand\nbreak.mp3", TIT2="a\tb\nc\\d", TPE1="plain")
        open(self.path("notes.txt"), "w").close()

        lines = self.cli("list", self.dir).splitlines()
        self.assertEqual(lines[0], "Filename\tTrack\tArtist\tAlbum\tTitle\tYear\tBitrate\tDirectory\t"
                                   "Genre\tDuration")
        # One file, one line: tabs, line breaks and backslashes in names and texts are escaped.
        self.assertEqual(sorted(lines[1:]), [
            f"inner.MP3\t\t\t\tInner\t\t128\t{self.path('sub')}\t\t00:00",
            f"tab\\tand\\nbreak.mp3\t\tplain\t\ta\\tb\\nc\\\\d\t\t128\t{self.dir}\t\t00:00",
            f"top.mp3\t7\tÄrtist\tAlbum\tSong\t1999\t128\t{self.dir}\tRock\t00:00"])
        # JSON carries the texts as they are, in the same order, under the columns' names.
        def escaped(text):
            return text.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")
        records = [json.loads(line) for line in self.cli("list", "--json", self.dir).splitlines()]
        self.assertEqual(list(records[0]), [name.lower() for name in lines[0].split("\t")])
        self.assertEqual(["\t".join(map(escaped, r.values())) for r in records], lines[1:])
        # Dump meets the files in the order list does.
        self.assertEqual([escaped(r["name"]) for r in self.dump(self.dir)],
                         [line.split("\t")[0] for line in lines[1:]])
        self.assertIn("TIT2  Song", self.cli("dump", self.path("top.mp3")))

        lines = self.cli("list", "--no-recursive", self.dir + "/").splitlines()
        self.assertEqual(sorted(line.split("\t")[0] for line in lines[1:]),
                         ["tab\\tand\\nbreak.mp3", "top.mp3"])

    def test_dump_json_gives_what_mutagen_reads_of_peer_files(self):
        modes = ["stereo", "joint stereo", "dual channel", "single channel"]
        # ID3v2.3 with a cover, ID3v2.4, MPEG 2 and 2.5, and each channel mode but dual.
        for peer in ["id3lib/thatspot.mp3", "mutagen/bad-POPM-frame.mp3", "taglib/mpeg2.mp3",
                     "mutagen/silence-44-s-mpeg25.mp3"]:
            with self.subTest(peer=peer):
                path = self.copy_peer(peer)
                record, info = self.dump(path)[0], MP3(path).info
                self.assertEqual((record["path"], record["needs_save"], record["mpeg"]),
                                 (path, False, {"version": "%g" % info.version,
                                                "layer": info.layer,
                                                "sample_rate": info.sample_rate,
                                                "channel_mode": modes[info.mode]}))
                if record["v2"] is None:
                    continue
                tag = ID3(path)
                self.assertEqual(record["v2"]["version"], tag.version[1])
                for frame in record["v2"]["frames"]:
                    if frame["id"] in ("TIT2", "TPE1", "TALB", "TRCK"):
                        self.assertEqual(frame["values"], [str(v) for v in tag[frame["id"]].text])
                    if frame["id"] == "APIC":
                        data = next(p for p in tag.getall("APIC") if p.type == frame["type"]).data
                        self.assertEqual((frame["sha256"], frame["size"]),
                                         (hashlib.sha256(data).hexdigest(), len(data)))
        open(self.path("empty.mp3"), "wb").close()
        self.assertIsNone(self.dump(self.path("empty.mp3"))[0]["mpeg"])
        record = self.dump(self.copy_peer("id3lib/jules.mp3"))[0]
        self.assertEqual([record[k] for k in ("v2", "v1", "bitrate", "vbr")],
                         [None, None, 128, False])

    def test_a_name_that_is_not_utf8_still_lists_and_dumps(self):
        self.write(os.fsdecode(b"caf\xe9.mp3"), MPEG_FRAME)
        result = self.run_cli("list", self.dir)
        self.assertEqual(result.returncode, 0)
        self.assertIn(b"\ncaf\xe9.mp3\t", result.stdout)
        result = self.run_cli("dump", "--json", self.dir)
        self.assertEqual(json.loads(result.stdout)["name"], "caf\ufffd.mp3")
