"""export: playlists and the XML document, from files and directories."""

import os
import xml.etree.ElementTree as ElementTree

from mutagen.id3 import TALB, TIT2, TPE1

from clitest import CliTestCase


class Exporting(CliTestCase):
    def setUp(self):
        super().setUp()
        self.one = self.make_mp3("music/one.mp3", [TIT2(encoding=0, text="First"),
                                                   TPE1(encoding=1, text="Ärtist"),
                                                   TALB(encoding=0, text="Album")], count=200)
        self.two = self.make_mp3("music/Déjà Vu.mp3", [TIT2(encoding=0, text="Second")])

    def test_playlists_in_the_order_given(self):
        self.write("list.m3u", b"keep")
        # Entries are the paths' bytes, titles in the locale's encoding: UTF-8 (as for the C
        # locale), not the tags' code page.
        result = self.run_cli("--yes", "export", "m3u", self.path("list.m3u"), self.two, self.one,
                              env=dict(os.environ, LC_ALL="C"))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(self.read(self.path("list.m3u")).decode("utf-8"),
                         "#EXTM3U\n#EXTINF:0, - Second\nmusic/Déjà Vu.mp3\n"
                         "#EXTINF:5,Ärtist - First\nmusic/one.mp3\n")
        self.cli("export", "m3u8", self.path("list.m3u8"), self.one)
        self.assertIn("Ärtist - First", self.read(self.path("list.m3u8")).decode("utf-8"))
        self.cli("export", "pls", self.path("list.pls"), self.one)
        self.assertEqual(self.read(self.path("list.pls")).decode("ascii"),
                         "[playlist]\nFile1=music/one.mp3\nTitle1=First\nLength1=5\n"
                         "NumberOfEntries=1\nVersion=2")

    def test_xml_with_the_options_given(self):
        out = self.path("list.xml")
        self.cli("export", "xml", out, self.path("music"), "--location", "path", "--v2",
                 "title,album", "--v1", "", "--bitrate", "--levels", "album,list")
        root = ElementTree.parse(out).getroot()
        albums = {a.get("name"): [f.attrib for f in a.iter("File")] for a in root.iter("Album")}
        self.assertEqual(albums["Album"], [{"path": self.one, "bitrate": "128", "album": "Album",
                                            "title": "First"}])
        self.assertEqual(len(albums), 2)
