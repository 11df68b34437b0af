"""history list, show, revert and prune over what set and rename wrote."""

import json
import os
import sqlite3
import subprocess

from mutagen.id3 import APIC

from clitest import BINARY, CliTestCase


class HistoryTest(CliTestCase):
    def batches(self):
        return json.loads(self.cli("history", "list", "--json"))

    def test_set_and_rename_revert_byte_for_byte(self):
        # Which shapes of file come back byte for byte: the history tests.
        paths = [self.make_mp3(f"{n}.mp3", TIT2=f"T{n}") for n in range(3)]
        originals = [self.read(p) for p in paths]
        self.cli("set", "--album", "A" * 3000, *paths)
        self.cli("rename", "%title x", *paths)
        batches = self.batches()
        ids = [str(b["id"]) for b in batches]
        self.assertEqual([b["summary"] for b in batches], ["rename: 3 files", "set album: 3 files"])
        shown = json.loads(self.cli("history", "show", ids[0], "--json"))
        self.assertEqual(os.path.basename(shown["entries"][0]["after"]), "T0 x.mp3")
        self.assertTrue(all(e["matches"] for e in shown["entries"]))

        self.assertIn("would revert", self.cli("history", "revert", ids[0], "--dry-run"))
        self.assertTrue(os.path.exists(self.path("T0 x.mp3")))
        self.cli("history", "revert", ids[0])
        self.cli("history", "revert", ids[1], paths[0])
        self.assertEqual(self.read(paths[0]), originals[0])
        self.assertNotEqual(self.read(paths[1]), originals[1])
        self.assertEqual(self.batches()[0]["origin"], "revert")

    def test_a_cover_left_in_the_file_is_taken_from_it_only_while_it_is_there(self):
        data = os.urandom(30000)
        path = self.make_mp3("a.mp3", [APIC(encoding=0, mime="image/jpeg", type=3, desc="",
                                            data=data)])
        original = self.read(path)
        self.cli("set", "--album", "New", path)
        batch = str(self.batches()[0]["id"])
        saved = self.read(path)
        # The cover the album edit left alone is not copied into the history.
        with sqlite3.connect(os.path.join(self.state, "velmora", "history.sqlite")) as db:
            self.assertEqual(db.execute("SELECT count(*) FROM chunk").fetchone()[0], 0)
        as_saved = os.stat(path)
        # A change in the middle of the cover, which its edges do not show: even forced, the
        # revert refuses rather than put back a cover it cannot vouch for.
        middle = saved.find(data) + len(data) // 2
        self.write(path, saved[:middle] + bytes([saved[middle] ^ 0xFF]) + saved[middle + 1:])
        result = self.run_cli("history", "revert", "--force", batch)
        self.assertEqual(result.returncode, 1)
        self.assertIn(b"the old tags it still held after the save changed since", result.stdout)
        self.write(path, saved)
        # Back as the save left it, time stamp included: the cover is taken from the file.
        os.utime(path, ns=(as_saved.st_atime_ns, as_saved.st_mtime_ns))
        self.cli("history", "revert", batch)
        self.assertEqual(self.read(path), original)
        # The revert, too, left the cover in the file: reverting it gives the save back.
        self.cli("history", "revert", str(self.batches()[0]["id"]))
        self.assertEqual(self.read(path), saved)

    def test_errors_and_limits(self):
        self.assertFails(["history", "show", "99"], 2, "no batch 99")
        self.assertFails(["history", "revert", "99"], 2, "no batch 99")
        path = self.make_mp3("a.mp3")
        self.cli("set", "--album", "B", path)
        self.cli("set", "--album", "C", path)
        self.cli("list", self.dir)  # reads only: no batch
        self.assertEqual(len(self.batches()), 2)
        self.assertFails(["history", "prune", "--max-size", "lots"], 2, "--max-size")
        # The newest batch is kept whatever the size.
        self.assertIn("Deleted 1 batch;", self.cli("history", "prune", "--max-size", "0"))

    def test_two_processes_saving_at_once_both_record(self):
        groups = [[self.make_mp3(f"{g}{n}.mp3") for n in range(40)] for g in "ab"]
        argv = [BINARY, "--settings", self.settings, "set", "--album", "X"]
        runs = [subprocess.Popen(argv + group, stderr=subprocess.PIPE) for group in groups]
        for run in runs:
            _, error = run.communicate(timeout=60)
            self.assertEqual(run.returncode, 0, error)
        self.assertEqual(sorted(b["files"] for b in self.batches()), [40, 40])

    def test_a_save_whose_old_tags_do_not_fit_is_refused(self):
        self.mount_tmpfs(self.state, "1m")
        self.cli("set", "--album", "B", self.make_mp3("small.mp3"))  # creates the store
        subprocess.run(["dd", "if=/dev/zero", "of=" + os.path.join(self.state, "filler")],
                       capture_output=True)  # until the disk is full
        cover = APIC(encoding=0, mime="image/jpeg", type=3, desc="", data=os.urandom(300000))
        path = self.make_mp3("big.mp3", [cover])
        self.assertFails(["set", "--album", "C", path], 1,
                         "its old tags could not be kept in the history of saves")
