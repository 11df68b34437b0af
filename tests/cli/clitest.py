"""Shared helpers of the end-to-end tests: run the built velmora-cli on scratch copies."""

import hashlib
import json
import os
import pathlib
import shutil
import subprocess
import tempfile
import unittest

from mutagen.id3 import ID3, Frames

BINARY = os.environ["VELMORA_CLI"]
PEERS = os.environ.get("VELMORA_PEERS_DIR", "")

# One MPEG-1 Layer III frame, 128 kbit/s, 44.1 kHz, no padding (ISO/IEC 11172-3): 417 bytes.
MPEG_FRAME = b"\xff\xfb\x90\x00" + bytes(413)


class CliTestCase(unittest.TestCase):
    def setUp(self):
        self.dir = self.enterContext(tempfile.TemporaryDirectory(prefix="velmora-cli-"))
        settings_dir = self.enterContext(tempfile.TemporaryDirectory(prefix="velmora-settings-"))
        self.settings = os.path.join(settings_dir, "settings.toml")
        # The history of saves goes beside the settings, never into the user's own.
        self.state = os.path.join(settings_dir, "state")
        os.environ["XDG_STATE_HOME"] = self.state

    def run_cli(self, *args, settings=True, stdout=subprocess.PIPE, **options):
        """Runs the command on the test's own settings file unless `settings` is False; a run
        that blocks (on a FIFO, say) fails the test instead of hanging it."""
        argv = [BINARY] + (["--settings", self.settings] if settings else []) + list(args)
        return subprocess.run(argv, stdout=stdout, stderr=subprocess.PIPE,
                              stdin=subprocess.DEVNULL, timeout=60, **options)

    def cli(self, *args, **options):
        """Runs the command and checks it succeeds; returns standard output as text."""
        return self.assertExits(args, 0, "", **options).stdout.decode()

    def path(self, *parts):
        return os.path.join(self.dir, *parts)

    def write(self, name, content):
        path = self.path(name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        pathlib.Path(path).write_bytes(content)
        return path

    def read(self, path):
        return pathlib.Path(path).read_bytes()

    def mount(self, *args):
        """mount(8) with the arguments, undone at the end; skips the test where it cannot."""
        if os.geteuid() != 0 or subprocess.run(["mount", *args], capture_output=True).returncode:
            self.skipTest("cannot mount here (needs root)")
        self.addCleanup(subprocess.run, ["umount", "-l", args[-1]], capture_output=True)

    def mount_tmpfs(self, folder, size):
        os.makedirs(folder)
        self.mount("-t", "tmpfs", "-o", "size=" + size, "tmpfs", folder)

    def make_mp3(self, name, frames=(), count=12, version=3, v1=True, **texts):
        """An MP3 with the given ID3v2 frames, Latin-1 text frames by ID (TIT2="Title") and,
        unless v1 is False, an ID3v1 tag (mutagen's)."""
        path = self.write(name, MPEG_FRAME * count)
        tag = ID3()
        for frame in [*frames, *(Frames[i](encoding=0, text=text) for i, text in texts.items())]:
            tag.add(frame)
        tag.save(path, v2_version=version, v1=2 if v1 else 0)
        return path

    def copy_peer(self, relative):
        source = os.path.join(PEERS, relative)
        if not os.path.exists(source):
            self.skipTest("peer corpus not present")
        return shutil.copyfile(source, self.path(os.path.basename(relative)))

    def dump(self, *paths):
        lines = self.cli("dump", "--json", *paths).splitlines()
        return [json.loads(line) for line in lines]

    def snapshot(self):
        """Every regular file under the scratch folder with its digest (a FIFO would block)."""
        files = [os.path.join(root, name) for root, _, names in os.walk(self.dir) for name in names]
        return {f: hashlib.sha256(pathlib.Path(f).read_bytes()).hexdigest()
                for f in files if os.path.isfile(f)}

    def assertExits(self, args, code, says, **options):
        """The command exits with the code and names the problem on standard error."""
        result = self.run_cli(*args, **options)
        error = result.stderr.decode(errors="replace")
        self.assertEqual(result.returncode, code, error)
        self.assertIn(says, error)
        return result

    def assertFails(self, args, code, says):
        """The command exits with the code, names the problem, and changes nothing."""
        before = self.snapshot()
        result = self.assertExits(args, code, "velmora-cli: ")
        self.assertIn(says, result.stderr.decode(errors="replace"))
        self.assertEqual(self.snapshot(), before)
        return result
