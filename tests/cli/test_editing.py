"""set, copy-v1, the removals, clean-ups, picture, rename, from-name and number, read back."""

import json
import os

from mutagen.id3 import COMM, ID3NoHeaderError
from mutagen.id3 import ID3 as _ID3

from clitest import CliTestCase

PNG = b"\x89PNG\r\n\x1a\n" + bytes(range(256)) * 4


def ID3(path):
    """The tag as stored: no upgrade of ID3v2.3 frames."""
    return _ID3(path, translate=False)


def texts(path, *frame_ids):
    tag = ID3(path)
    return [str(tag[f].text[0]) if f in tag else None for f in frame_ids]


class Editing(CliTestCase):
    def test_set_writes_every_field_with_the_track_and_genre_rules(self):
        path = self.make_mp3("a.mp3", TIT2="Old")
        self.cli("set", "--artist", "Ärtist", "--album", "Album", "--title", "Title",
                 "--year", "2001", "--track", "007", "--genre", "Rock", "--comment", "note=Hello",
                 "--album-artist", "Various", "--disc", "1/2", "--composer", "Côme",
                 "--v1-title", "T1", "--v1-artist", "A1", "--v1-album", "B1", "--v1-year", "1984",
                 "--v1-comment", "C1", "--v1-track", "9", "--v1-genre", "Jazz", path)
        self.assertEqual(texts(path, "TPE1", "TALB", "TIT2", "TYER", "TRCK", "TCON", "TPE2", "TPOS",
                               "TCOM"),
                         ["Ärtist", "Album", "Title", "2001", "7", "(17)", "Various", "1/2", "Côme"])
        comment = ID3(path).getall("COMM")[0]
        self.assertEqual((ID3(path).version, comment.lang, comment.desc, comment.text),
                         ((2, 3, 0), "eng", "note", ["Hello"]))
        self.assertEqual(self.dump(path)[0]["v1"], {"title": "T1", "artist": "A1", "album": "B1",
                                                    "year": "1984", "comment": "C1", "track": 9,
                                                    "genre": 8})

    def test_run_overrides_and_the_year_as_tdrc_in_id3v24(self):
        path = self.make_mp3("a.mp3", TYER="1999", TDAT="0605")
        self.cli("--v24", "--encoding", "utf8", "set", "--year", "2003", "--title", "Ünïcode", path)
        tag = ID3(path)
        self.assertEqual((tag.version, sorted(tag.keys()), tag["TIT2"].encoding),
                         ((2, 4, 0), ["TDRC", "TIT2"], 3))
        self.assertEqual(texts(path, "TDRC", "TIT2"), ["2003-05-06", "Ünïcode"])

    def test_copy_v1_and_removals(self):
        path = self.make_mp3("a.mp3", TIT2="Title", TPE1="Art", TALB="Alb")
        self.cli("remove-v2", "--yes", path)
        self.cli("copy-v1", path)
        self.assertEqual(texts(path, "TIT2", "TPE1", "TALB"), ["Title", "Art", "Alb"])
        self.cli("--yes", "remove-v1", path)
        self.assertIsNone(self.dump(path)[0]["v1"])
        self.assertEqual(texts(path, "TIT2"), ["Title"])
        # Nothing to copy writes nothing (what is copied: the frame ops tests).
        self.assertFails(["copy-v1", path], 0, path + ": no ID3v1 tag; nothing copied")
        self.cli("remove-v2", "--yes", path)
        self.assertRaises(ID3NoHeaderError, ID3, path)

    def test_clean_ups_reach_artist_album_and_title_only(self):
        # Every value of a frame: the frame ops tests.
        path = self.make_mp3("a.mp3", TPE1="the_band", TALB="two_three", TIT2="the_end-of it",
                             TCON="pop_rock")
        self.cli("capitalize", path)
        self.cli("underscores", path)
        self.assertEqual(texts(path, "TPE1", "TALB", "TIT2", "TCON"),
                         ["The Band", "Two Three", "The End-Of It", "pop_rock"])

    def test_picture_add_extract_remove_and_replace(self):
        mp3 = self.make_mp3("a.mp3", TIT2="T")
        png = self.write("cover.PNG", PNG)
        pictures = lambda: ID3(mp3).getall("APIC")
        self.cli("picture", "add", png, "--type", "Cover (front)", "--description", "Front", mp3)
        self.cli("picture", "add", png, "--type", "4", mp3)
        self.assertEqual([(p.mime, p.type, p.desc, p.data) for p in pictures()],
                         [("image/png", 3, "Front", PNG), ("image/png", 4, "", PNG)])

        out = self.write("out.png", b"keep")
        self.cli("--yes", "picture", "extract", "--type", "3", mp3, out)
        self.assertEqual(self.read(out), PNG)

        self.cli("picture", "remove", "--type", "3", mp3)
        self.assertEqual([p.type for p in pictures()], [4])
        self.cli("picture", "remove", mp3)
        self.assertEqual(pictures(), [])

    def test_comment_remove_takes_the_comments_named(self):
        path = self.make_mp3("a.mp3", [COMM(encoding=0, lang=lang, desc=desc, text="x")
                                       for lang, desc in (("eng", "ad"), ("fra", "ad"), ("eng", ""))])
        self.cli("comment", "remove", "--description", "ad", path)
        self.assertEqual([(c.lang, c.desc) for c in ID3(path).getall("COMM")], [("eng", "")])

    def test_rename_previews_then_renames(self):
        path = self.make_mp3("old.mp3", TPE1="Band", TIT2="A/B\r\nC", TRCK="03")
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

        self.assertExits(["from-name", pattern, path, other], 1, "didn't match the filename")
        self.assertEqual(texts(path, "TRCK", "TPE1", "TIT2"), ["7", "Band", "Song_Name"])

    def test_number_in_the_order_given_once_each_and_never_wrapping(self):
        paths = [self.make_mp3(n, TRCK="9/12") for n in ("x.mp3", "y.mp3")]
        self.cli("number", paths[1], paths[0])
        self.assertEqual([str(ID3(p)["TRCK"].text[0]) for p in paths], ["2", "1"])
        self.assertFails(["number", "--start", "4294967295"] + paths, 2, "would pass 4294967295")
        self.assertFails(["number", "--start", "4294967296", paths[0]], 2, "--start")
        # The same file named twice is numbered once.
        self.cli("number", "--start", "4294967294", paths[0], paths[1],
                 os.path.join(self.dir, ".", "x.mp3"))
        self.assertEqual([str(ID3(p)["TRCK"].text[0]) for p in paths], ["4294967294", "4294967295"])
