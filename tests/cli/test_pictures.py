"""picture add, extract and remove."""

import os

from mutagen.id3 import ID3, TIT2

from clitest import CliTestCase

PNG = b"\x89PNG\r\n\x1a\n" + bytes(range(256)) * 4


class Pictures(CliTestCase):
    def setUp(self):
        super().setUp()
        self.mp3 = self.make_mp3("a.mp3", [TIT2(encoding=0, text="T")])
        self.png = self.path("cover.PNG")
        with open(self.png, "wb") as f:
            f.write(PNG)

    def test_add_extract_remove(self):
        self.cli("picture", "add", self.png, "--type", "Cover (front)", "--description", "Front",
                 self.mp3)
        self.cli("picture", "add", self.png, "--type", "4", self.mp3)
        pictures = ID3(self.mp3).getall("APIC")
        self.assertEqual([(p.mime, p.type, p.desc, p.data) for p in pictures],
                         [("image/png", 3, "Front", PNG), ("image/png", 4, "", PNG)])

        out = self.path("out.png")
        self.cli("picture", "extract", "--type", "3", self.mp3, out)
        with open(out, "rb") as f:
            self.assertEqual(f.read(), PNG)

        self.cli("picture", "remove", "--type", "3", self.mp3)
        self.assertEqual([p.type for p in ID3(self.mp3).getall("APIC")], [4])
        self.cli("picture", "remove", self.mp3)
        self.assertEqual(ID3(self.mp3).getall("APIC"), [])

    def test_a_jpeg_name_gives_image_jpg_and_replaces_the_same_type(self):
        jpeg = self.path("photo.jpeg")
        with open(jpeg, "wb") as f:
            f.write(b"\xff\xd8\xff\xe0 not really a photo")
        self.cli("picture", "add", self.png, self.mp3)
        self.cli("picture", "add", jpeg, self.mp3)
        self.assertEqual([(p.mime, p.type) for p in ID3(self.mp3).getall("APIC")],
                         [("image/jpg", 0)])

    def test_extract_asks_before_replacing_a_file(self):
        self.cli("picture", "add", self.png, self.mp3)
        out = self.path("existing.png")
        with open(out, "wb") as f:
            f.write(b"keep")
        self.cli("picture", "extract", self.mp3, out)
        with open(out, "rb") as f:
            self.assertEqual(f.read(), b"keep")
        self.cli("--yes", "picture", "extract", self.mp3, out)
        with open(out, "rb") as f:
            self.assertEqual(f.read(), PNG)

    def test_bad_pictures_change_nothing(self):
        gif = self.path("anim.gif")
        empty = self.path("empty.jpg")
        for path, content in ((gif, b"GIF89a"), (empty, b"")):
            with open(path, "wb") as f:
                f.write(content)
        self.assertFails(["picture", "add", gif, self.mp3], 2, "File must be a JPG or PNG image!")
        self.assertFails(["picture", "add", empty, self.mp3], 1, "File is empty!")
        self.assertFails(["picture", "add", self.path("none.png"), self.mp3], 1, "none.png")
        self.assertFails(["picture", "add", self.png, "--type", "Poster", self.mp3], 2, "Poster")
        self.assertFails(["picture", "extract", self.mp3, self.path("x.png")], 1,
                         "no such picture")
        self.cli("picture", "add", self.png, self.mp3)
        self.assertFails(["picture", "extract", self.mp3, self.path("no", "dir", "x.png")], 1,
                         "Couldn't open file:")
        self.assertFalse(os.path.exists(self.path("no")))
