"""list and dump in the walk's order; FIFOs (devices take the same branch of the walk) and odd
settings files block nothing."""

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
                mpeg = {"version": "%g" % info.version, "layer": info.layer,
                        "sample_rate": info.sample_rate, "channel_mode": modes[info.mode]}
                self.assertEqual((record["path"], record["needs_save"], record["mpeg"]),
                                 (path, False, mpeg))
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
        self.assertIsNone(self.dump(self.write("empty.mp3", b""))[0]["mpeg"])
        record = self.dump(self.copy_peer("id3lib/jules.mp3"))[0]
        self.assertEqual([record[k] for k in ("v2", "v1", "bitrate", "vbr")],
                         [None, None, 128, False])

    def test_a_name_that_is_not_utf8_still_lists_and_dumps(self):
        self.write(os.fsdecode(b"caf\xe9.mp3"), MPEG_FRAME)
        self.assertIn(b"\ncaf\xe9.mp3\t", self.assertExits(["list", self.dir], 0, "").stdout)
        self.assertEqual(self.dump(self.dir)[0]["name"], "caf\ufffd.mp3")

    def test_a_fifo_named_mp3_is_skipped_or_refused(self):
        self.make_mp3("music/a.mp3", TIT2="A")
        fifo = self.path("music", "x.mp3")
        os.mkfifo(fifo)
        # Every command's folder goes through the one walk, whose test skips a FIFO too.
        self.cli("export", "m3u", self.path("l.m3u"), self.path("music"))
        self.assertEqual(self.read(self.path("l.m3u")), b"#EXTM3U\n#EXTINF:0, - A\nmusic/a.mp3\n")
        self.assertFails(["dump", fifo], 1, "is not a regular file")

    def test_a_named_file_that_is_no_settings_file_is_refused(self):
        # Which files are refused, and that a missing folder is not made: the settings tests.
        self.write(self.settings, b"export PATH=$HOME/bin:$PATH\n")
        self.assertFails(["set", "--title", "X", self.make_mp3("a.mp3")], 2,
                         "cannot open the settings")

    def test_read_only_commands_never_write_the_default_store(self):
        mp3 = self.make_mp3("a.mp3", TIT2="T")
        config = self.path("config")
        os.mkdir(config)
        env = dict(os.environ, XDG_CONFIG_HOME=config)
        for args in (["list", self.dir], ["dump", mp3], ["rename", "--dry-run", "%title", mp3],
                     ["from-name", "--dry-run", "(?P<title>.*)", mp3],
                     ["export", "xml", self.path("x.xml"), mp3, "--keep-empty"]):
            with self.subTest(args=args):
                self.assertEqual(self.run_cli(*args, settings=False, env=env).returncode, 0)
                self.assertEqual(os.listdir(config), [])
        # A broken default store is reported but only moved aside by a run that writes.
        store = self.write(os.path.join(config, "velmora", "settings.toml"), b"[[[")
        self.assertExits(["dump", mp3], 0, "left as it is", settings=False, env=env)
        self.assertEqual(os.listdir(os.path.dirname(store)), ["settings.toml"])

    def test_xml_options_apply_to_one_run_unless_saved(self):
        mp3 = self.make_mp3("a.mp3", TIT2="")
        out = self.path("x.xml")
        self.cli("--yes", "export", "xml", out, mp3, "--keep-empty", "--v2", "title")
        self.assertIn(b'title=""', self.read(out))
        self.cli("--yes", "export", "xml", out, mp3)
        self.assertNotIn(b'title=""', self.read(out))
        self.cli("--yes", "export", "xml", out, mp3, "--keep-empty", "--save-options")
        self.cli("--yes", "export", "xml", out, mp3)
        self.assertIn(b'title=""', self.read(out))
