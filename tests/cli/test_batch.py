"""rename, from-name and number."""

import json
import os

from mutagen.id3 import ID3, TIT2, TPE1, TRCK

from clitest import CliTestCase


class Batch(CliTestCase):
    def test_rename_previews_then_renames(self):
        path = self.make_mp3("old.mp3", [TPE1(encoding=0, text="Band"),
                                         TIT2(encoding=0, text="A/B\r\nC"),
                                         TRCK(encoding=0, text="03")])
        before = self.snapshot()
        self.assertEqual(self.cli("rename", "--dry-run", "%artist - %track - %title", path),
                         "old.mp3 -> Band - 03 - A B  C.mp3\n")
        line = self.cli("rename", "--dry-run", "--json", "%title", path)
        self.assertEqual(json.loads(line), {"file": path, "name": "A B  C.mp3"})
        self.assertEqual(self.snapshot(), before)

        self.cli("rename", "%artist - %title", path)
        self.assertEqual(os.listdir(self.dir), ["Band - A B  C.mp3"])

    def test_from_name_previews_every_group_then_fills_the_table_frames(self):
        path = self.make_mp3("07 - Band - Song_Name.mp3")
        other = self.make_mp3("nomatch.mp3")
        pattern = r"(?P<track>\d+) - (?P<artist>[^-]+) - (?P<title>.*)\.mp3"
        lines = self.cli("from-name", "--dry-run", "--json", pattern.replace("track", "year"),
                         path, other).splitlines()
        self.assertEqual([json.loads(line) for line in lines], [
            {"file": path, "match": True,
             "groups": {"year": "07", "artist": "Band", "title": "Song_Name"}},
            {"file": other, "match": False, "groups": {}}])

        result = self.run_cli("from-name", pattern, path, other)
        self.assertEqual(result.returncode, 1)
        self.assertIn(b"didn't match the filename", result.stderr)
        tag = ID3(path)
        self.assertEqual([str(tag[f].text[0]) for f in ("TRCK", "TPE1", "TIT2")],
                         ["7", "Band", "Song_Name"])
        self.assertFalse(ID3(other).getall("TPE1"))

    def test_number_in_the_order_given_once_each_and_never_wrapping(self):
        paths = [self.make_mp3(n, [TRCK(encoding=0, text="9/12")]) for n in ("x.mp3", "y.mp3")]
        self.cli("number", paths[1], paths[0])
        self.assertEqual([str(ID3(p)["TRCK"].text[0]) for p in paths], ["2", "1"])
        self.assertFails(["number", "--start", "4294967295"] + paths, 2, "would pass 4294967295")
        self.assertFails(["number", "--start", "4294967296", paths[0]], 2, "--start")
        # The same file named twice is numbered once.
        self.cli("number", "--start", "4294967294", paths[0], paths[1],
                 os.path.join(self.dir, ".", "x.mp3"))
        self.assertEqual([str(ID3(p)["TRCK"].text[0]) for p in paths], ["4294967294", "4294967295"])
