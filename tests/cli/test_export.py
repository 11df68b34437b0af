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
        for kind, says in (("m3u8", "Ärtist - First"), ("pls", "Title1=First\nLength1=5")):
            self.cli("export", kind, self.path("list." + kind), self.one)
            self.assertIn(says, self.read(self.path("list." + kind)).decode("utf-8"))

    def test_xml_with_the_options_given_names_a_folder_once_and_absolutely(self):
        out = self.path("list.xml")
        result = self.run_cli("export", "xml", out, "./music/one.mp3", "music/", "--location",
                              "path", "--v2", "title,album", "--v1", "", "--bitrate",
                              "--levels", "directory,album,list", cwd=self.dir)
        self.assertEqual(result.returncode, 0, result.stderr)
        groups = ElementTree.parse(out).getroot().findall("Directory")
        self.assertEqual([g.get("path") for g in groups], [self.path("music")])
        albums = {a.get("name"): [f.attrib for f in a.iter("File")]
                  for a in groups[0].iter("Album")}
        self.assertEqual(albums["Album"], [{"path": self.one, "bitrate": "128", "album": "Album",
                                            "title": "First"}] * 2)
        self.assertEqual(len(albums), 2)
