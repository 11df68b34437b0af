"""Files that are not MP3s are never written, by any command, whatever their names."""

import os
import pathlib

from mutagen.id3 import ID3, TIT2

from clitest import MPEG_FRAME, CliTestCase

NOT_MP3 = " is not an MP3 file; nothing changed"


class NotMp3Files(CliTestCase):
    def test_every_writing_command_refuses_files_that_are_not_mp3(self):
        song = self.make_mp3("song.mp3", [TIT2(encoding=0, text="Song")])
        cover = self.write("cover.jpg", b"\xff\xd8\xff\xe0" + bytes(200) + MPEG_FRAME * 2)
        png = self.write("cover.png", b"\x89PNG\r\n\x1a\n" + bytes(100))
        # Every kind of content that is no MP3: the record tests; here each command meets one.
        commands = [
            ["set", "--title", "X"],
            ["rename", "%title"],
            ["picture", "add", png],
            ["--yes", "remove-v2"],
        ]
        for command in commands:
            with self.subTest(command=command):
                self.assertFails(command + [cover], 1, cover + NOT_MP3)
        # A batch goes on with the MP3s it holds and fails as a whole.
        result = self.run_cli("set", "--title", "New", cover, song)
        self.assertEqual(result.returncode, 1)
        self.assertIn(cover + NOT_MP3, result.stderr.decode())
        self.assertEqual(ID3(song)["TIT2"].text, ["New"])


class UnwritableFolder(CliTestCase):
    """A writable file in a folder that takes no new files (a read-only tmpfs under a
    writable file bound over its name): only a save that fits the old tag goes through."""

    def test_moving_the_audio_is_refused_and_the_file_stays(self):
        real = self.make_mp3("real.mp3", [TIT2(encoding=0, text="Old")])
        folder = self.path("folder")
        self.mount_tmpfs(folder, "64k")
        song = os.path.join(folder, "song.mp3")
        open(song, "wb").close()
        self.mount("--bind", real, song)
        self.mount("-o", "remount,ro", folder)
        before = pathlib.Path(song).read_bytes()
        self.assertFails(["set", "--title", "T" * 5000, song], 1,
                         "the folder " + folder + " is not writable, so the audio cannot be "
                         "moved safely")
        self.assertEqual(pathlib.Path(song).read_bytes(), before)
        self.cli("set", "--title", "New", song)
        self.assertEqual(ID3(song)["TIT2"].text, ["New"])
