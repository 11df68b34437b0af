"""Edits change only what the user asked: every value of a multi-value frame is cleaned,
copy-v1 takes only what the ID3v2 tag lacks, and unedited ID3v1 fields keep their bytes."""

from mutagen.id3 import ID3, TALB, TCON, TIT2, TPE1, TRCK

from clitest import CliTestCase

LONG_TITLE = "A Title Far Longer Than The Thirty Characters Of ID3v1 " * 4


def v1_record(title=b"", artist=b"", album=b"", year=b"", comment=b"", track=0, genre=255):
    def field(value, size):
        return value[:size].ljust(size, b"\0")

    return (b"TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4) +
            field(comment, 28) + bytes([0, track, genre]))


class UntouchedValues(CliTestCase):
    def test_clean_ups_reach_artist_album_and_title_and_every_value(self):
        path = self.make_mp3("multi.mp3", [TPE1(encoding=3, text=["the_band", "guest_star"]),
                                       TALB(encoding=3, text=["one", "two_three"]),
                                       TIT2(encoding=3, text=["the_end-of it"]),
                                       TCON(encoding=3, text=["pop_rock"])], version=4)
        for command, texts in (("capitalize", [["The_Band", "Guest_Star"], ["One", "Two_Three"],
                                               ["The_End-Of It"]]),
                               ("underscores", [["The Band", "Guest Star"], ["One", "Two Three"],
                                                ["The End-Of It"]])):
            self.cli("--v24", command, path)
            tag = ID3(path)
            self.assertEqual([tag[f].text for f in ("TPE1", "TALB", "TIT2", "TCON")],
                             texts + [["pop_rock"]])

    def test_copy_v1_that_copies_nothing_writes_nothing(self):
        # What is copied: the frame ops tests, and the copy-v1 case of the editing tests.
        frames = [TIT2(encoding=0, text=LONG_TITLE), TPE1(encoding=0, text="Band"),
                  TRCK(encoding=0, text="5/12"), TCON(encoding=0, text="(17)")]
        # No ID3v1 tag; the first 30 characters of the title, the same track number and genre.
        for number, record in enumerate([None, v1_record(title=LONG_TITLE[:30].encode(), track=5,
                                                         genre=17)]):
            with self.subTest(record=record):
                path = self.make_mp3("copy%d.mp3" % number, frames, v1=record or False)
                before = self.read(path)
                result = self.run_cli("copy-v1", path)
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertEqual(b"no ID3v1 tag; nothing copied" in result.stderr, record is None)
                self.assertEqual(self.read(path), before)

    def test_unedited_id3v1_fields_keep_their_bytes(self):
        # A Japanese and a Cyrillic tag read in the UTF-8 page the settings name (the bytes of
        # other pages: the ID3v1 tests).
        with open(self.settings, "w") as f:
            f.write('CodePage = "UTF-8"\n')
        fields = dict(title="日本".encode("shift_jis"), artist="Привет".encode("cp1251"),
                      comment=b"note", track=3)
        path = self.make_mp3("v1.mp3", [TIT2(encoding=0, text="x")], v1=v1_record(**fields))
        self.cli("set", "--v1-album", "Album", path)
        self.assertEqual(self.read(path)[-128:], v1_record(album=b"Album", **fields))
