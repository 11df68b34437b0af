"""picture add, extract and remove."""

from mutagen.id3 import ID3, TIT2

from clitest import CliTestCase

PNG = b"\x89PNG\r\n\x1a\n" + bytes(range(256)) * 4


class Pictures(CliTestCase):
    def setUp(self):
        super().setUp()
        self.mp3 = self.make_mp3("a.mp3", [TIT2(encoding=0, text="T")])
        self.png = self.write("cover.PNG", PNG)

    def pictures(self):
        return ID3(self.mp3).getall("APIC")

    def test_add_extract_remove_and_replace(self):
        self.cli("picture", "add", self.png, "--type", "Cover (front)", "--description", "Front",
                 self.mp3)
        self.cli("picture", "add", self.png, "--type", "4", self.mp3)
        self.assertEqual([(p.mime, p.type, p.desc, p.data) for p in self.pictures()],
                         [("image/png", 3, "Front", PNG), ("image/png", 4, "", PNG)])

        out = self.write("out.png", b"keep")
        self.cli("--yes", "picture", "extract", "--type", "3", self.mp3, out)
        self.assertEqual(self.read(out), PNG)

        self.cli("picture", "remove", "--type", "3", self.mp3)
        self.assertEqual([p.type for p in self.pictures()], [4])
        self.cli("picture", "remove", self.mp3)
        self.assertEqual(self.pictures(), [])

        # A .jpeg name gives image/jpg, and a picture replaces one of the same type.
        jpeg = self.write("photo.jpeg", b"\xff\xd8\xff\xe0 not really a photo")
        self.cli("picture", "add", self.png, self.mp3)
        self.cli("picture", "add", jpeg, self.mp3)
        self.assertEqual([(p.mime, p.type) for p in self.pictures()], [("image/jpg", 0)])
        # The content decides, as in the window: a PNG named .jpg is a PNG.
        self.cli("picture", "add", self.write("png.jpg", PNG), self.mp3)
        self.assertEqual([(p.mime, p.type) for p in self.pictures()], [("image/png", 0)])
