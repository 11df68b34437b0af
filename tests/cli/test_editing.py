"""set, copy-v1, remove-v1 and remove-v2, read back from disk."""

from mutagen.id3 import ID3NoHeaderError, TALB, TDAT, TIT2, TPE1, TYER
from mutagen.id3 import ID3 as _ID3

from clitest import CliTestCase


def ID3(path):
    """The tag as stored: no upgrade of ID3v2.3 frames."""
    return _ID3(path, translate=False)


def texts(path, *frame_ids):
    tag = ID3(path)
    return [str(tag[f].text[0]) if f in tag else None for f in frame_ids]


class Editing(CliTestCase):
    def test_set_writes_every_field_with_the_track_and_genre_rules(self):
        path = self.make_mp3("a.mp3", [TIT2(encoding=0, text="Old")])
        self.cli("set", "--artist", "Ärtist", "--album", "Album", "--title", "Title",
                 "--year", "2001", "--track", "007", "--genre", "Rock", "--comment", "note=Hello",
                 "--v1-title", "T1", "--v1-artist", "A1", "--v1-album", "B1", "--v1-year", "1984",
                 "--v1-comment", "C1", "--v1-track", "9", "--v1-genre", "Jazz", path)
        tag = ID3(path)
        self.assertEqual(tag.version, (2, 3, 0))
        self.assertEqual(texts(path, "TPE1", "TALB", "TIT2", "TYER", "TRCK", "TCON"),
                         ["Ärtist", "Album", "Title", "2001", "7", "(17)"])
        comment = tag.getall("COMM")[0]
        self.assertEqual((comment.lang, comment.desc, comment.text), ("eng", "note", ["Hello"]))
        self.assertEqual(self.dump(path)[0]["v1"], {"title": "T1", "artist": "A1", "album": "B1",
                                                    "year": "1984", "comment": "C1", "track": 9,
                                                    "genre": 8})

    def test_run_overrides_and_the_year_as_tdrc_in_id3v24_and_tyer_in_id3v23(self):
        path = self.make_mp3("a.mp3", [TYER(encoding=0, text="1999"), TDAT(encoding=0, text="0605")])
        self.cli("--v24", "--encoding", "utf8", "set", "--year", "2003", "--title", "Ünïcode", path)
        tag = ID3(path)
        self.assertEqual((tag.version, sorted(tag.keys()), tag["TIT2"].encoding),
                         ((2, 4, 0), ["TDRC", "TIT2"], 3))
        self.assertEqual(texts(path, "TDRC", "TIT2"), ["2003-05-06", "Ünïcode"])
        self.assertEqual(self.cli("list", self.dir).splitlines()[1].split("\t")[5], "2003")
        self.cli("--v23", "set", "--title", "T", path)
        self.assertEqual(texts(path, "TYER", "TDAT", "TDRC"), ["2003", "0605", None])

    def test_copy_v1_and_removals(self):
        path = self.make_mp3("a.mp3", [TIT2(encoding=0, text="Title"), TPE1(encoding=0, text="Art"),
                                       TALB(encoding=0, text="Alb")])
        self.cli("remove-v2", "--yes", path)
        self.cli("copy-v1", path)
        self.assertEqual(texts(path, "TIT2", "TPE1", "TALB"), ["Title", "Art", "Alb"])
        self.cli("--yes", "remove-v1", path)
        self.assertIsNone(self.dump(path)[0]["v1"])
        self.assertEqual(texts(path, "TIT2"), ["Title"])
        self.cli("remove-v2", "--yes", path)
        self.assertRaises(ID3NoHeaderError, ID3, path)
        self.assertEqual(self.dump(path)[0]["bitrate"], 128)

    def test_peer_files_keep_their_other_frames(self):
        path = self.copy_peer("id3lib/thatspot.mp3")
        # A URL frame without a URL has an empty body: a save leaves it out.
        before = [f for f in self.dump(path)[0]["v2"]["frames"]
                  if f["id"] != "TALB" and (f.get("url", "-") != "" or "encoding" in f)]
        self.cli("set", "--album", "Changed", path)
        after = self.dump(path)[0]["v2"]["frames"]
        self.assertEqual([f for f in after if f["id"] != "TALB"], before)
        self.assertEqual(texts(path, "TALB"), ["Changed"])
