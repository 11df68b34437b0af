"""set, copy-v1, capitalize, underscores, remove-v1 and remove-v2, read back from disk."""

from mutagen.id3 import ID3NoHeaderError, TALB, TIT2, TPE1
from mutagen.id3 import ID3 as _ID3

from clitest import CliTestCase


def ID3(path):
    """The tag as stored: no upgrade of ID3v2.3 frames."""
    return _ID3(path, translate=False)


def text(tag, frame_id):
    return str(tag[frame_id].text[0]) if frame_id in tag else None


class Editing(CliTestCase):
    def test_set_writes_every_id3v2_field_with_the_track_and_genre_rules(self):
        path = self.make_mp3("a.mp3", [TIT2(encoding=0, text="Old")])
        self.cli("set", "--artist", "Ärtist", "--album", "Album", "--title", "Title",
                 "--year", "2001", "--track", "007", "--genre", "Rock",
                 "--comment", "note=Hello", path)
        tag = ID3(path)
        self.assertEqual(tag.version, (2, 3, 0))
        self.assertEqual([text(tag, f) for f in ["TPE1", "TALB", "TIT2", "TYER", "TRCK"]],
                         ["Ärtist", "Album", "Title", "2001", "7"])
        self.assertEqual(tag["TCON"].text, ["(17)"])
        comment = tag.getall("COMM")[0]
        self.assertEqual((comment.lang, comment.desc, comment.text), ("eng", "note", ["Hello"]))
        record = self.dump(path)[0]
        self.assertFalse(record["needs_save"])
        self.assertEqual(self.frames(path, "TCON")[0]["text"], "Rock")

    def test_set_obeys_the_run_overrides(self):
        path = self.make_mp3("a.mp3", [TIT2(encoding=0, text="Old")])
        self.cli("--v24", "--encoding", "utf8", "set", "--title", "Ünïcode", path)
        tag = ID3(path)
        self.assertEqual(tag.version, (2, 4, 0))
        self.assertEqual((text(tag, "TIT2"), tag["TIT2"].encoding), ("Ünïcode", 3))

    def test_set_writes_the_id3v1_fields(self):
        path = self.make_mp3("a.mp3", [TIT2(encoding=0, text="Keep")])
        self.cli("set", "--v1-title", "T1", "--v1-artist", "A1", "--v1-album", "B1",
                 "--v1-year", "1984", "--v1-comment", "C1", "--v1-track", "9",
                 "--v1-genre", "Jazz", path)
        v1 = self.dump(path)[0]["v1"]
        self.assertEqual(v1, {"title": "T1", "artist": "A1", "album": "B1", "year": "1984",
                              "comment": "C1", "track": 9, "genre": 8})
        with open(path, "rb") as f:
            self.assertEqual(f.read()[-128:-125], b"TAG")
        self.assertEqual(text(ID3(path), "TIT2"), "Keep")

    def test_copy_v1_fills_id3v2_from_id3v1(self):
        path = self.make_mp3("a.mp3", [TIT2(encoding=0, text="Title"), TPE1(encoding=0, text="Art"),
                                       TALB(encoding=0, text="Alb")])
        self.cli("remove-v2", "--yes", path)
        self.cli("copy-v1", path)
        tag = ID3(path)
        self.assertEqual([text(tag, f) for f in ["TIT2", "TPE1", "TALB"]], ["Title", "Art", "Alb"])

    def test_capitalize_and_underscores_touch_artist_album_and_title(self):
        path = self.make_mp3("a.mp3", [TIT2(encoding=0, text="the_end-of it"),
                                       TPE1(encoding=0, text="some_artist"),
                                       TALB(encoding=0, text="Already Fine")])
        self.cli("capitalize", path)
        tag = ID3(path)
        self.assertEqual([text(tag, f) for f in ["TIT2", "TPE1", "TALB"]],
                         ["The_End-Of It", "Some_Artist", "Already Fine"])
        self.cli("underscores", path)
        tag = ID3(path)
        self.assertEqual([text(tag, f) for f in ["TIT2", "TPE1"]], ["The End-Of It", "Some Artist"])

    def test_removal_asks_and_only_yes_removes(self):
        path = self.make_mp3("a.mp3", [TIT2(encoding=0, text="T")])
        before = self.snapshot()
        result = self.run_cli("remove-v1", path)
        self.assertEqual(result.returncode, 0)
        self.assertIn(b"Really remove ID3v1?", result.stderr)
        self.assertEqual(self.snapshot(), before)

        self.cli("--yes", "remove-v1", path)
        self.assertIsNone(self.dump(path)[0]["v1"])
        self.assertEqual(text(ID3(path), "TIT2"), "T")
        self.cli("remove-v2", "--yes", path)
        self.assertRaises(ID3NoHeaderError, ID3, path)
        self.assertEqual(self.dump(path)[0]["bitrate"], 128)

    def test_one_failing_file_does_not_stop_the_others(self):
        first = self.make_mp3("a.mp3", [TIT2(encoding=0, text="A")])
        last = self.make_mp3("b.mp3", [TIT2(encoding=0, text="B")])
        result = self.run_cli("set", "--album", "X", first, self.path("missing.mp3"), last)
        self.assertEqual(result.returncode, 1)
        self.assertIn(b"missing.mp3", result.stderr)
        self.assertEqual([text(ID3(p), "TALB") for p in (first, last)], ["X", "X"])

    def test_peer_files_keep_their_other_frames(self):
        path = self.copy_peer("id3lib/thatspot.mp3")
        before = [f for f in self.dump(path)[0]["v2"]["frames"] if f["id"] != "TALB"]
        self.cli("set", "--album", "Changed", path)
        after = self.dump(path)[0]["v2"]["frames"]
        self.assertEqual([f for f in after if f["id"] != "TALB"], before)
        self.assertEqual(text(ID3(path), "TALB"), "Changed")
