"""Playlists, the XML document, and CSV out and back in (a spreadsheet's copy too)."""

import csv
import os
import shutil
import subprocess
import xml.etree.ElementTree as ElementTree

from mutagen.id3 import ID3, COMM, TIT2, TPE1

from clitest import CliTestCase

ODD = 'tab\there, "quoted", comma, line\nbreak, \U0001F3B5 and =1+1'


class CsvRoundTrip(CliTestCase):
    def setUp(self):
        super().setUp()
        self.odd = self.make_mp3("m/odd.mp3", [TIT2(encoding=1, text=ODD),
                                               COMM(encoding=0, lang="eng", desc="", text="c")],
                                   TPE1=" lead", TRCK="0042")
        self.plain = self.make_mp3("m/plain.mp3", TIT2="Plain", TCON="(17)")
        self.out = self.path("tags.csv")

    def export(self):
        self.cli("--yes", "export", "csv", self.out, self.path("m"))
        return self.rows(self.out)

    def rows(self, document):
        with open(document, newline="", encoding="utf-8") as f:
            return list(csv.reader(f))

    def test_export_then_import_writes_only_what_differs_and_names_unmatched_rows(self):
        rows = self.export()
        odd = dict(zip(rows[0], rows[1]))
        self.assertEqual((odd["Path"], odd["Title"], odd["Artist"], odd["Track"], odd["Comment"]),
                         (self.odd, ODD, " lead", "0042", "c"))
        # Unchanged: no file is written.
        before = {p: self.read(p) for p in (self.odd, self.plain)}
        self.assertEqual(self.cli("import", "csv", self.out), "")
        self.assertEqual({p: self.read(p) for p in before}, before)
        # One cell of one file, and a genre by number that is the genre shown.
        header = rows[0]
        rows[1][header.index("Album")] = "New, \"album\"\n2"
        rows[2][header.index("Genre")] = "17"
        with open(self.out, "w", newline="", encoding="utf-8") as f:
            csv.writer(f).writerows(rows + [["/nowhere/gone.mp3"] + [""] * (len(header) - 1)])
        dry = self.run_cli("import", "csv", self.out, "--dry-run", "--json").stdout.decode()
        self.assertEqual(dry.splitlines()[1:], ['{"unmatched":"/nowhere/gone.mp3"}'])
        self.assertIn('"column":"Album","old":"","new":"New, \\"album\\"\\n2"', dry)
        self.assertExits(["import", "csv", self.out], 1, "matches the row of /nowhere/gone.mp3")
        self.assertEqual(ID3(self.odd)["TALB"].text, ["New, \"album\"\n2"])
        self.assertEqual(self.read(self.plain), before[self.plain])
        # The same file named again by another path: neither of its rows goes in.
        rows[1][header.index("Album")] = "Other"
        with open(self.out, "a", newline="", encoding="utf-8") as f:
            csv.writer(f).writerow([os.path.join(self.dir, "m", ".", "odd.mp3")] + rows[1][1:])
        self.assertFails(["import", "csv", self.out], 1, "rows 2 and 5 of the table both name")

    def test_a_file_name_that_is_not_utf8_comes_back_as_itself(self):
        path = self.make_mp3(os.fsdecode(b"m/caf\xe9.mp3"), TIT2="Old")
        rows = self.export()
        row = next(r for r in rows if r[0].endswith("/caf%E9.mp3"))
        row[rows[0].index("Title")] = "New"
        with open(self.out, "w", newline="", encoding="utf-8") as f:
            csv.writer(f).writerows(rows)
        self.assertExits(["import", "csv", self.out], 0, "")  # prints the name's own bytes
        self.assertEqual(ID3(path)["TIT2"].text, ["New"])  # under its own name: not renamed

    def test_libreoffice_keeps_the_columns_and_its_csv_imports_unchanged(self):
        soffice = shutil.which("soffice")
        if not soffice:
            self.skipTest("LibreOffice (soffice) is not installed")
        # Calc drops a tab inside a cell; everything else of the odd title goes through.
        tag = ID3(self.odd)
        tag["TIT2"].text = [ODD.replace("\t", " ")]
        tag.save()
        rows = self.export()
        home = self.path("lo-home")

        def convert(source, target, options):
            subprocess.run([soffice, "-env:UserInstallation=file://" + home, "--headless",
                            *options, "--convert-to", target, "--outdir", self.path("lo"),
                            source], capture_output=True, timeout=180, check=True,
                           env=dict(os.environ, HOME=home))

        # Quoted fields as text: "0042", "=1+1" and " lead" stay as they are.
        convert(self.out, "ods", ["--infilter=CSV:44,34,76,1,,0,true"])
        before = {p: self.read(p) for p in (self.odd, self.plain)}
        # Saved back with commas, and with the semicolons and tabs of other locales.
        for separator in (44, 59, 9):
            convert(self.path("lo", "tags.ods"),
                    f"csv:Text - txt - csv (StarCalc):{separator},34,76,1,,0,true,true", [])
            if separator == 44:
                self.assertEqual(self.rows(self.path("lo", "tags.csv")), rows)
            self.assertEqual(self.cli("import", "csv", self.path("lo", "tags.csv")), "")
        self.assertEqual({p: self.read(p) for p in before}, before)


class Exporting(CliTestCase):
    def setUp(self):
        super().setUp()
        self.one = self.make_mp3("music/one.mp3", [TPE1(encoding=1, text="Ärtist")], count=200,
                                 TIT2="First", TALB="Album")
        self.two = self.make_mp3("music/Déjà Vu.mp3", TIT2="Second")

    def test_playlists_in_the_order_given(self):
        self.write("list.m3u", b"keep")
        # Entries are the paths' bytes, titles in the locale's encoding: UTF-8 (as for the C
        # locale), not the tags' code page.
        self.cli("--yes", "export", "m3u", self.path("list.m3u"), self.two, self.one,
                 env=dict(os.environ, LC_ALL="C"))
        self.assertEqual(self.read(self.path("list.m3u")).decode("utf-8"),
                         "#EXTM3U\n#EXTINF:0, - Second\nmusic/Déjà Vu.mp3\n"
                         "#EXTINF:5,Ärtist - First\nmusic/one.mp3\n")
        for kind, says in (("m3u8", "Ärtist - First"), ("pls", "Title1=First\nLength1=5")):
            self.cli("export", kind, self.path("list." + kind), self.one)
            self.assertIn(says, self.read(self.path("list." + kind)).decode("utf-8"))

    def test_xml_with_the_options_given_names_a_folder_once_and_absolutely(self):
        out = self.path("list.xml")
        self.cli("export", "xml", out, "./music/one.mp3", "music/", "--location", "path", "--v2",
                 "title,album", "--v1", "", "--bitrate", "--levels", "directory,album,list",
                 cwd=self.dir)
        groups = ElementTree.parse(out).getroot().findall("Directory")
        self.assertEqual([g.get("path") for g in groups], [self.path("music")])
        albums = {a.get("name"): [f.attrib for f in a.iter("File")]
                  for a in groups[0].iter("Album")}
        self.assertEqual(albums["Album"], [{"path": self.one, "bitrate": "128", "album": "Album",
                                            "title": "First"}] * 2)
        self.assertEqual(len(albums), 2)
