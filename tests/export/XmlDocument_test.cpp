#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "XmlReadBack.h"
#include "export/XmlWriter.h"

namespace velmora {
namespace {

using testing::ParsedAttribute;
using testing::ParsedElement;
using testing::XmlReadBack;

std::string Document(const XmlElement& root) {
    std::u16string text;
    Serialize(root, 0, text);
    return EncodeDocument(text);
}

std::u32string Ascii(const std::string& text) {
    return std::u32string(text.begin(), text.end());
}

XmlElement& AddFile(XmlElement& parent, const char16_t* name, std::uint16_t bitrate,
                    const char16_t* artist, const char16_t* title) {
    XmlElement& file = parent.AddChild(u"File");
    file.Add<XmlStringAttribute>(u"filename", name);
    file.Add<XmlUInt16Attribute>(u"bitrate", bitrate);
    file.Add<XmlStringAttribute>(u"artist", artist);
    if (title != nullptr) {
        file.Add<XmlStringAttribute>(u"title", title);
    }
    return file;
}

// Three files grouped by artist, listed below each group.
XmlElement WorkedExample() {
    XmlElement root(u"MP3List");
    root.AddChild(u"Generator").Add<XmlStringAttribute>(u"name", u"Velmora 1.1");
    XmlElement& x = root.AddChild(u"Artist");
    x.Add<XmlStringAttribute>(u"name", u"X");
    AddFile(x, u"a1.mp3", 128, u"X", u"One");
    AddFile(x, u"a2.mp3", 128, u"X", nullptr);
    XmlElement& y = root.AddChild(u"Artist");
    y.Add<XmlStringAttribute>(u"name", u"Y");
    AddFile(y, u"b1.mp3", 192, u"Y", u"Two");
    return root;
}

TEST(XmlDocument, WorkedExampleByteForByte) {
    const std::string expected =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n"
        "<MP3List>\n"
        "\t<Generator name=\"Velmora 1.1\" />\n"
        "\t<Artist name=\"X\">\n"
        "\t\t<File filename=\"a1.mp3\" bitrate=\"128\" artist=\"X\" title=\"One\" />\n"
        "\t\t<File filename=\"a2.mp3\" bitrate=\"128\" artist=\"X\" />\n"
        "\t</Artist>\n"
        "\t<Artist name=\"Y\">\n"
        "\t\t<File filename=\"b1.mp3\" bitrate=\"192\" artist=\"Y\" title=\"Two\" />\n"
        "\t</Artist>\n"
        "</MP3List>";
    EXPECT_EQ(Document(WorkedExample()), expected);
}

TEST(XmlDocument, WorkedExampleReadsBack) {
    XmlReadBack reader;
    reader.Write(Document(WorkedExample()));
    ASSERT_TRUE(reader.WellFormed());
    auto file = [](const char* name, const char* bitrate, const char* artist, const char* title) {
        ParsedElement e{
            "File",
            {{"filename", Ascii(name)}, {"bitrate", Ascii(bitrate)}, {"artist", Ascii(artist)}}};
        if (title != nullptr) {
            e.attributes.push_back({"title", Ascii(title)});
        }
        return e;
    };
    const std::vector<ParsedElement> expected = {
        {"MP3List", {}},
        {"Generator", {{"name", U"Velmora 1.1"}}},
        {"Artist", {{"name", U"X"}}},
        file("a1.mp3", "128", "X", "One"),
        file("a2.mp3", "128", "X", nullptr),
        {"Artist", {{"name", U"Y"}}},
        file("b1.mp3", "192", "Y", "Two"),
    };
    EXPECT_EQ(reader.Elements(), expected);
}

struct Hostile {
    std::u16string written;
    std::u32string read;
};

// What a reader must see for odd titles: everything XML can carry exactly, the rest as
// U+FFFD.
const std::vector<Hostile> kHostile = {
    {u"Rock \"n\" Roll", U"Rock \"n\" Roll"},
    {u"it's", U"it's"},
    {u"<b>&amp;</b> & <", U"<b>&amp;</b> & <"},
    {u"]]> ]]&gt;", U"]]> ]]&gt;"},
    {u"tab\there", U"tab\there"},
    {u"line\r\nbreak\nand\rreturn", U"line\r\nbreak\nand\rreturn"},
    {u"  two  blanks  ", U"  two  blanks  "},
    {std::u16string(u"nul\0bell\x07"
                    u"esc\x1B"
                    u"end",
                    16),
     U"nul\uFFFDbell\uFFFDesc\uFFFDend"},
    {u"del\x7F"
     u"c1\x85\x9F",
     U"del\x7F"
     U"c1\x85\x9F"},
    {u"emoji \U0001F3B8\U0001F600", U"emoji \U0001F3B8\U0001F600"},
    {u"caf\u00E9 \u20AC \u65E5\u672C", U"caf\u00E9 \u20AC \u65E5\u672C"},
    {u"lone \xD83D high", U"lone \uFFFD high"},
    {u"lone \xDE00 low", U"lone \uFFFD low"},
    {u"end \xD83D", U"end \uFFFD"},
    {u"\xFFFE\xFFFF", U"\uFFFD\uFFFD"},
    {u"", U""},
};

XmlElement HostileDocument() {
    XmlElement root(u"MP3List");
    for (const Hostile& h : kHostile) {
        XmlElement& file = root.AddChild(u"File");
        file.Add<XmlStringAttribute>(u"title", h.written);
        file.Add<XmlStringAttribute>(u"artist", h.written + u"\"" + h.written);
    }
    XmlElement& numbers = root.AddChild(u"Numbers");
    numbers.Add<XmlUInt8Attribute>(u"track1", std::uint8_t{0});
    numbers.Add<XmlUInt16Attribute>(u"bitrate", std::uint16_t{65535});
    numbers.Add<XmlUInt32Attribute>(u"duration", std::uint32_t{4294967295u});
    numbers.Add<XmlBoolAttribute>(u"vbr", true);
    return root;
}

TEST(XmlDocument, HostileValuesReadBackExactly) {
    XmlReadBack reader;
    reader.Write(Document(HostileDocument()));
    ASSERT_TRUE(reader.WellFormed());
    std::vector<ParsedElement> expected = {{"MP3List", {}}};
    for (const Hostile& h : kHostile) {
        expected.push_back({"File", {{"title", h.read}, {"artist", h.read + U"\"" + h.read}}});
    }
    expected.push_back(
        {"Numbers",
         {{"track1", U"0"}, {"bitrate", U"65535"}, {"duration", U"4294967295"}, {"vbr", U"true"}}});
    EXPECT_EQ(reader.Elements(), expected);
}

TEST(XmlDocument, LibxmlReadsHostileValueBack) {
    XmlElement root(u"R");
    root.AddChild(u"E").Add<XmlStringAttribute>(u"v", u"\"<&>'\t\r\n \U0001F600\u00E9\xD800");
    XmlReadBack reader;
    reader.Write(Document(root));
    ASSERT_TRUE(reader.WellFormed());
    EXPECT_EQ(reader.XPathString("string(/R/E/@v)"),
              "\"<&>'\t\r\n \xF0\x9F\x98\x80\xC3\xA9\xEF\xBF\xBD");
}

// XML 1.0 production [2] Char, restated here so the writer is checked against the rule
// rather than against itself.
bool XmlCanCarry(char16_t unit) {
    return unit == 0x9 || unit == 0xA || unit == 0xD || (unit >= 0x20 && unit < 0xD800) ||
           (unit >= 0xE000 && unit <= 0xFFFD);
}

TEST(XmlDocument, EveryUtf16UnitReadsBackOrBecomesReplacement) {
    std::u16string written;
    std::u32string read;
    for (char32_t unit = 0; unit <= 0xFFFF; ++unit) {
        written += static_cast<char16_t>(unit);
        written += u'.';  // keeps each surrogate alone
        read += XmlCanCarry(static_cast<char16_t>(unit)) ? unit : U'\uFFFD';
        read += U'.';
    }
    for (char32_t c : {U'\U00010000', U'\U0001F600', U'\U000E0001', U'\U0010FFFF'}) {
        written += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
        written += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        read += c;
    }
    XmlElement root(u"R");
    root.Add<XmlStringAttribute>(u"v", written);
    XmlReadBack reader;
    reader.Write(Document(root));
    ASSERT_TRUE(reader.WellFormed());
    const std::vector<ParsedElement> expected = {{"R", {{"v", read}}}};
    EXPECT_EQ(reader.Elements(), expected);
}

}  // namespace
}  // namespace velmora
