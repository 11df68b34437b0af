"""Bad input: a clear message, the right exit code, and nothing changed on disk."""

import os
import stat

from mutagen.id3 import TIT2

from clitest import CliTestCase

COMMANDS = ["list", "dump", "set", "copy-v1", "capitalize", "underscores", "remove-v1",
            "remove-v2", "picture", "picture add", "picture extract", "picture remove", "export",
            "rename", "from-name", "number"]


class BadInput(CliTestCase):
    def setUp(self):
        super().setUp()
        self.mp3 = self.make_mp3("a.mp3", [TIT2(encoding=0, text="T")])

    def test_files_that_cannot_be_changed(self):
        os.mkdir(self.path("folder.mp3"))
        locked = self.make_mp3("locked.mp3", [TIT2(encoding=0, text="L")])
        hidden = self.make_mp3("hidden.mp3", [TIT2(encoding=0, text="H")])
        os.chmod(locked, stat.S_IRUSR | stat.S_IRGRP)
        os.chmod(hidden, 0)
        cases = [(self.path("missing.mp3"), "No such file"),
                 (self.path("folder.mp3"), "is a directory"),
                 (locked, "read-only"),
                 (hidden, "cannot be read")]
        for path, says in cases:
            with self.subTest(path=path):
                self.assertFails(["set", "--title", "X", path], 1, says)
                self.assertFails(["--yes", "remove-v2", path], 1, says)
        self.assertFails(["dump", hidden], 1, "cannot be read")

    def test_bad_usage_exits_with_2(self):
        cases = [(["set", "--mood", "sad", self.mp3], "--mood"),
                 (["set", self.mp3], "at least one field"),
                 (["set", "--v1-genre", "Polka Metal", self.mp3], "unknown genre"),
                 (["set", "--v1-title", "x" * 31, self.mp3], "at most 30"),
                 (["set", "--v1-track", "256", self.mp3], "--v1-track"),
                 (["--encoding", "latin9", "dump", self.mp3], "--encoding"),
                 (["frobnicate", self.mp3], "frobnicate"),
                 ([], "subcommand")]
        for args, says in cases:
            with self.subTest(args=args):
                self.assertFails(args, 2, says)

    def test_every_command_has_help(self):
        for command in COMMANDS:
            with self.subTest(command=command):
                result = self.run_cli(*command.split(), "--help")
                self.assertEqual(result.returncode, 0)
                self.assertIn(b"Usage:", result.stdout)

    def test_list_of_a_missing_directory(self):
        self.assertFails(["list", self.path("nowhere")], 1, "not a directory")
