"""Bad input and failures: a clear message with its reason, the exit code, nothing changed."""

import json
import os
import stat

from mutagen.id3 import APIC, ID3

from clitest import MPEG_FRAME, CliTestCase

NOT_MP3 = " is not an MP3 file; nothing changed"


class BadInput(CliTestCase):
    def test_bad_input(self):
        mp3, locked, hidden = (self.make_mp3(n + ".mp3", TIT2=n) for n in ("a", "locked", "hidden"))
        os.chmod(locked, stat.S_IRUSR | stat.S_IRGRP)
        os.chmod(hidden, 0)
        os.mkdir(self.path("folder.mp3"))
        long = self.make_mp3("long.mp3", TIT2="T" * 300)
        cover = self.write("cover.jpg", b"\xff\xd8\xff\xe0" + bytes(200) + MPEG_FRAME * 2)
        pic = self.make_mp3("pic.mp3", [APIC(encoding=0, mime="image/png", type=3, data=b"x")])
        png, gif = self.write("c.png", b"\x89PNG\r\n\x1a\n"), self.write("anim.gif", b"GIF89a")
        old = self.write("old.m3u", b"keep")
        # Each reason a document is refused for: tests/batch's CsvImport case.
        csv = self.write("bad.csv", b'"Path","Titel"\r\n"x","y"\r\n')
        nowhere = self.path("nowhere", "x")
        fifo = self.path("out.png")
        os.mkfifo(fifo)
        cases = [
            (["set", "--title", "X", self.path("missing.mp3")], 1, "No such file"),
            (["set", "--title", "X", self.path("folder.mp3")], 1, "is a directory"),
            (["set", "--title", "X", locked], 1, "read-only"),
            (["set", "--title", "X", hidden], 1, "cannot be read"),
            (["set", "--mood", "sad", mp3], 2, "--mood"),
            (["set", mp3], 2, "at least one field"),
            (["set", "--v1-genre", "Polka Metal", mp3], 2, "unknown genre"),
            (["set", "--v1-title", "x" * 31, mp3], 2, "at most 30"),
            (["set", "--v1-track", "256", mp3], 2, "--v1-track"),
            (["--encoding", "latin9", "dump", mp3], 2, "--encoding"),
            ([], 2, "subcommand"),
            (["frobnicate", self.dir], 2, 'unknown command "frobnicate"'),
            (["list", self.path("nowhere")], 1, "not a directory"),
            (["remove-v1", mp3], 0, "Really remove ID3v1?"),
            (["export", "xml", self.path("x.xml"), mp3, "--v2", "mood"], 2, "unknown field"),
            (["export", "xml", self.path("x.xml"), mp3, "--levels", "list,artist"], 2,
             "after list"),
            (["import", "csv", csv], 2, 'unknown column "Titel"'),
            (["export", "wpl", self.path("x.wpl"), mp3], 2, "wpl"),
            (["export", "m3u", old, mp3], 0, "replace"),
            (["picture", "add", gif, mp3], 2, "File must be a JPG or PNG image!"),
            (["picture", "add", self.path("none.png"), mp3], 1, "none.png"),
            (["picture", "add", png, "--type", "Poster", mp3], 2, "Poster"),
            (["picture", "extract", mp3, self.path("x.png")], 1, "no such picture"),
            (["picture", "extract", pic, nowhere + ".png"], 1, "Couldn't open file:"),
            (["picture", "extract", pic, png], 0, "replace"),
            (["--yes", "picture", "extract", pic, self.path(".", "pic.mp3")], 2,
             "the picture comes from"),
            (["--yes", "picture", "extract", pic, fifo], 1, "not a regular file"),
            (["--yes", "picture", "extract", pic, locked], 1, "read-only"),
            # Failures end with the system's reason.
            (["rename", "%title", long], 1,
             'Couldn\'t rename "long.mp3" to "' + "T" * 300 + '.mp3": File name too long'),
            (["export", "m3u", nowhere, mp3], 1,
             "Couldn't open file " + nowhere + ": No such file or directory"),
            # Nothing that is no MP3 is written; every kind of such content: the record tests.
            *((command + [cover], 1, cover + NOT_MP3) for command in (
                ["set", "--title", "X"], ["rename", "%title"], ["picture", "add", png],
                ["--yes", "remove-v2"])),
        ]
        for args, code, says in cases:
            with self.subTest(args=args):
                self.assertFails(args, code, says)
        self.assertFalse(os.path.exists(self.path("nowhere")))
        # A batch goes on with the MP3s it holds and fails as a whole.
        self.assertExits(["set", "--title", "New", cover, mp3], 1, cover + NOT_MP3)
        self.assertEqual(ID3(mp3)["TIT2"].text, ["New"])

    def test_output_that_cannot_be_written_fails_the_run(self):
        for i in range(3):
            self.make_mp3("m%d.mp3" % i, TIT2="x" * 3000)
        with open("/dev/full", "wb") as full:
            for args in (["list", self.dir], ["dump", "--json", self.dir], ["--version"]):
                with self.subTest(args=args):
                    result = self.run_cli(*args, stdout=full)
                    self.assertEqual((result.returncode, result.stderr),
                                     (1, b"velmora-cli: couldn't write to standard output: "
                                         b"No space left on device\n"))

    def test_rename_dry_run_fails_where_the_real_run_fails(self):
        one, two = (self.make_mp3(n, TIT2="Same") for n in ("one.mp3", "two.mp3"))
        dot = self.make_mp3("dot.mp3", TIT2=".")
        # The real run of the last case renames one file, and refuses the other.
        for args, says in ((["%title", dot], "the new name would be empty or start with a dot"),
                           (["%title", one, two], 'to "Same.mp3": File exists')):
            with self.subTest(args=args):
                dry = self.assertFails(["rename", "--dry-run", *args], 1, says)
                real = self.run_cli("rename", *args)
                self.assertEqual((real.returncode, real.stderr), (1, dry.stderr))
        self.assertEqual(sorted(os.listdir(self.dir)), ["Same.mp3", "dot.mp3", "two.mp3"])
        dry = self.run_cli("rename", "--dry-run", "--json", "%title", dot)
        self.assertIn("empty or start with a dot", json.loads(dry.stdout)["refused"])


class UnwritableFolder(CliTestCase):
    """A writable file in a folder that takes no new files (a read-only tmpfs under a
    writable file bound over its name): only a save that fits the old tag goes through."""

    def test_moving_the_audio_is_refused_and_the_file_stays(self):
        real = self.make_mp3("real.mp3", TIT2="Old")
        folder = self.path("folder")
        self.mount_tmpfs(folder, "64k")
        song = self.write(os.path.join(folder, "song.mp3"), b"")
        self.mount("--bind", real, song)
        self.mount("-o", "remount,ro", folder)
        # The check of every file, unchanged, reads the song through its bound name.
        self.assertFails(["set", "--title", "T" * 5000, song], 1,
                         "the folder " + folder + " is not writable, so the audio cannot be "
                         "moved safely")
        self.cli("set", "--title", "New", song)
        self.assertEqual(ID3(song)["TIT2"].text, ["New"])
