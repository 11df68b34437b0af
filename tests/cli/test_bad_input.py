"""Bad input: a clear message, the right exit code, and nothing changed on disk."""

import os
import stat

from mutagen.id3 import APIC, TIT2

from clitest import CliTestCase


class BadInput(CliTestCase):
    def test_bad_input(self):
        mp3 = self.make_mp3("a.mp3", [TIT2(encoding=0, text="b")])
        locked = self.make_mp3("locked.mp3", [TIT2(encoding=0, text="L")])
        hidden = self.make_mp3("hidden.mp3", [TIT2(encoding=0, text="H")])
        os.chmod(locked, stat.S_IRUSR | stat.S_IRGRP)
        os.chmod(hidden, 0)
        os.mkdir(self.path("folder.mp3"))
        self.make_mp3("b.mp3", [TIT2(encoding=0, text="other")])
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
            (["dump", hidden], 1, "cannot be read"),
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
            (["--yes", "picture", "extract", pic, fifo], 1, "not a regular file"),
            (["--yes", "picture", "extract", pic, "/dev/null"], 1, "not a regular file"),
            (["--yes", "picture", "extract", pic, locked], 1, "read-only"),
        ]
        for args, code, says in cases:
            with self.subTest(args=args):
                self.assertFails(args, code, says)
        self.assertFalse(os.path.exists(self.path("nowhere")))
