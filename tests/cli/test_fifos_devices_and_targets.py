"""FIFOs, devices, unusual settings files and leftovers: nothing blocks, nothing is damaged."""

import os
import stat

from clitest import CliTestCase


class SpecialFiles(CliTestCase):
    def test_fifo_and_device_named_mp3_are_skipped_or_refused(self):
        self.make_mp3("music/a.mp3", TIT2="A")
        fifo = self.path("music", "x.mp3")
        os.mkfifo(fifo)
        if os.geteuid() == 0:
            os.mknod(self.path("music", "y.mp3"), stat.S_IFCHR | 0o600, os.makedev(1, 3))
        folder = self.path("music")
        for args in (["list", folder], ["dump", folder],
                     ["export", "m3u", self.path("l.m3u"), folder]):
            with self.subTest(args=args):
                result = self.run_cli(*args)
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertNotIn(b"x.mp3", result.stdout)
                self.assertNotIn(b"y.mp3", result.stdout)
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
        result = self.run_cli("dump", mp3, settings=False, env=env)
        self.assertEqual(result.returncode, 0)
        self.assertIn(b"left as it is", result.stderr)
        self.assertEqual(os.listdir(os.path.dirname(store)), ["settings.toml"])

    def test_xml_options_apply_to_one_run_unless_saved(self):
        mp3 = self.make_mp3("a.mp3", TIT2="")
        out = self.path("x.xml")
        self.cli("--yes", "export", "xml", out, mp3, "--keep-empty", "--v2", "title")
        self.assertIn(b'title=""', self.read(out))
        self.cli("--yes", "export", "xml", out, mp3)
        self.assertNotIn(b'title=""', self.read(out))
        self.assertFalse(os.path.exists(self.settings))
        self.cli("--yes", "export", "xml", out, mp3, "--keep-empty", "--save-options")
        self.cli("--yes", "export", "xml", out, mp3)
        self.assertIn(b'title=""', self.read(out))
