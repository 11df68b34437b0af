"""Failures are reported as failures, with the system's reason; output stays one file a line."""

import json
import os

from mutagen.id3 import TIT2

from clitest import CliTestCase


class Failures(CliTestCase):
    def test_output_that_cannot_be_written_fails_the_run(self):
        self.assertEqual(self.cli("--version"), "velmora-cli 1.1\n")
        for i in range(3):
            self.make_mp3("m%d.mp3" % i, [TIT2(encoding=0, text="x" * 3000)])
        with open("/dev/full", "wb") as full:
            for args in (["list", self.dir], ["dump", "--json", self.dir], ["--version"]):
                with self.subTest(args=args):
                    result = self.run_cli(*args, stdout=full)
                    self.assertEqual(result.returncode, 1)
                    self.assertIn(b"velmora-cli: couldn't write to standard output: No space left "
                                  b"on device", result.stderr)

    def test_failure_messages_end_with_the_system_reason(self):
        song = self.make_mp3("a.mp3", [TIT2(encoding=0, text="T" * 300)])
        self.assertFails(["rename", "%title", song], 1,
                         'Couldn\'t rename "a.mp3" to "' + "T" * 300 + '.mp3": File name too long')
        self.assertFails(["export", "m3u", self.path("none", "x.m3u"), song], 1,
                         "Couldn't open file " + self.path("none", "x.m3u") +
                         ": No such file or directory")

    def test_rename_dry_run_fails_where_the_real_run_fails(self):
        one = self.make_mp3("one.mp3", [TIT2(encoding=0, text="Same")])
        two = self.make_mp3("two.mp3", [TIT2(encoding=0, text="Same")])
        dot = self.make_mp3("dot.mp3", [TIT2(encoding=0, text=".")])
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
