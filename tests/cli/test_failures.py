"""Failures are reported as failures, with the system's reason; output stays one file a line."""

import json
import os
import shutil
import xml.etree.ElementTree as ElementTree

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
        # A dump cut short by a full disk: part of it is written, and the run fails.
        disk = self.path("disk")
        self.mount_tmpfs(disk, "8k")
        with open(os.path.join(disk, "dump.json"), "wb") as out:
            result = self.run_cli("dump", "--json", self.dir, stdout=out)
        self.assertEqual(result.returncode, 1)
        self.assertIn(b"No space left on device", result.stderr)
        self.assertGreater(os.path.getsize(os.path.join(disk, "dump.json")), 0)

    def test_failure_messages_end_with_the_system_reason(self):
        song = self.make_mp3("a.mp3", [TIT2(encoding=0, text="T" * 300)])
        self.assertFails(["rename", "%title", song], 1,
                         'Couldn\'t rename "a.mp3" to "' + "T" * 300 + '.mp3": File name too long')
        self.assertFails(["export", "m3u", self.path("none", "x.m3u"), song], 1,
                         "Couldn't open file " + self.path("none", "x.m3u") +
                         ": No such file or directory")
        disk = self.path("disk")
        self.mount_tmpfs(disk, "48k")
        full = os.path.join(disk, "song.mp3")
        shutil.copyfile(song, full)
        with open(os.path.join(disk, "filler"), "wb", buffering=0) as filler:
            try:
                while True:
                    filler.write(bytes(1024))
            except OSError:
                pass
        self.assertFails(["set", "--title", "N" * 20000, full], 1,
                         "Couldn't save ID3v2 tag to " + full + ": No space left on device")

    def test_xml_export_names_one_folder_once_and_absolutely(self):
        self.make_mp3("x3/f4.mp3", [TIT2(encoding=0, text="Four")])
        self.make_mp3("x3/f5.mp3", [TIT2(encoding=0, text="Five")])
        out = self.path("list.xml")
        result = self.run_cli("export", "xml", out, "x3/f4.mp3", "./x3/f5.mp3", "x3/", "--location",
                              "path", "--levels", "directory,list", cwd=self.dir)
        self.assertEqual(result.returncode, 0, result.stderr)
        groups = ElementTree.parse(out).getroot().findall("Directory")
        self.assertEqual([g.get("path") for g in groups], [self.path("x3")])
        self.assertEqual(sorted(f.get("path") for f in groups[0].iter("File")),
                         [self.path("x3", n) for n in ("f4.mp3", "f4.mp3", "f5.mp3", "f5.mp3")])

    def test_rename_dry_run_fails_where_the_real_run_fails(self):
        one = self.make_mp3("one.mp3", [TIT2(encoding=0, text="Same")])
        two = self.make_mp3("two.mp3", [TIT2(encoding=0, text="Same")])
        taken = self.make_mp3("three.mp3", [TIT2(encoding=0, text="one")])
        dot = self.make_mp3("dot.mp3", [TIT2(encoding=0, text=".")])
        # The real run of the last case renames one file, and refuses the other.
        for args, says in ((["%title", taken], 'to "one.mp3": File exists'),
                           (["%title", dot], "the new name would be empty or start with a dot"),
                           (["", one], 'to ".mp3": the new name would be empty'),
                           (["%title", one, two], 'to "Same.mp3": File exists')):
            with self.subTest(args=args):
                before = self.snapshot()
                dry = self.run_cli("rename", "--dry-run", *args)
                self.assertEqual(self.snapshot(), before)
                self.assertEqual(dry.returncode, 1, dry.stderr)
                self.assertIn(says, dry.stderr.decode())
                real = self.run_cli("rename", *args)
                self.assertEqual((real.returncode, real.stderr), (dry.returncode, dry.stderr))
        self.assertEqual(sorted(os.listdir(self.dir)), ["Same.mp3", "dot.mp3", "three.mp3", "two.mp3"])
        dry = self.run_cli("rename", "--dry-run", "--json", "%title", dot)
        self.assertIn("empty or start with a dot", json.loads(dry.stdout)["refused"])
