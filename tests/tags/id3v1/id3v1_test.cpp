#include <gtest/gtest.h>

#include <array>

#include "support/ScratchDirectory.h"
#include "tags/FileTestHelpers.h"
#include "tags/Id3v1TestRecords.h"
#include "tags/Id3v2TestSupport.h"
#include "tags/file/BufferedFile.h"
#include "tags/id3v1/Id3v1File.h"
#include "tags/id3v1/Id3v1Record.h"
#include "tags/id3v1/Id3v1Tag.h"
#include "text/CodePage.h"

namespace velmora {
namespace {

using testing::AsBytes;
using testing::Cp1252;
using testing::MakeId3v1;
using testing::RecordWith;
using Texts = std::array<std::u16string, 5>;

const std::string k30 = "abcdefghijklmnopqrstuvwxyz0123";
const std::u16string w30(k30.begin(), k30.end());

TEST(Id3v1, DecodesTheRecord) {
    struct Case {
        std::vector<testing::RecordEdit> edits;
        Texts texts;
        std::uint8_t track = 0;
        std::uint8_t genre = 255;
    };
    const Case cases[] = {
        {{}, {}},
        {{{3, k30}, {33, "Artist"}}, {w30, u"Artist"}},  // no zero byte: all 30
        {{{3, "Title   "}, {33, "Band\t\r\n "}, {63, "  Lead"}}, {u"Title", u"Band", u"  Lead"}},
        {{{3, std::string("ab\0cd", 5)}, {93, "1999"}, {97, "note"}},
         {u"ab", u"", u"", u"1999", u"note"}},
        // ID3v1.1: a zero at 125 makes byte 126 the track.
        {{{97, k30.substr(0, 28)}, {126, "\x05"}}, {u"", u"", u"", u"", w30.substr(0, 28)}, 5},
        // ID3v1.0: the comment runs to byte 126 and there is no track.
        {{{97, k30}}, {u"", u"", u"", u"", w30}},
        {{{97, k30.substr(0, 29) + "\x05"}}, {u"", u"", u"", u"", w30.substr(0, 29) + u"\u0005"}},
        {{{127, "\x82"}}, {}, 0, 130},  // a genre without a name is kept
        {{{3, "Caf\xE9 \x80"}}, {u"Café €"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        Id3v1Tag tag;
        DecodeId3v1(RecordWith(c.edits), Cp1252(), tag);
        for (std::size_t i = 0; i < Id3v1Tag::kTextCount; ++i) {
            EXPECT_EQ(tag.Text(i), c.texts[i]) << "text " << i;
        }
        EXPECT_EQ(tag.Track(), c.track);
        EXPECT_EQ(tag.Genre(), c.genre);
    }
}

TEST(Id3v1, EncodesByteForByte) {
    struct Case {
        Id3v1Tag tag;
        std::vector<testing::RecordEdit> expected;
    };
    const Case cases[] = {
        {Id3v1Tag(), {}},
        {MakeId3v1({w30 + u"XYZ", u"Artist", u"Album", u"20045", u"Comment"}, 7, 17),
         {{3, k30},
          {33, "Artist"},
          {63, "Album"},
          {93, "2004"},
          {97, "Comment"},
          {126, "\x07\x11"}}},
        // With a track the comment keeps 28 bytes, so byte 125 stays zero; without, 29.
        {MakeId3v1({u"", u"", u"", u"", w30}, 9), {{97, k30.substr(0, 28)}, {126, "\x09"}}},
        {MakeId3v1({u"", u"", u"", u"", w30}), {{97, k30.substr(0, 29)}}},
        {MakeId3v1({u"5 €", u"中文"}), {{3, "5 \x80"}, {33, "??"}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeId3v1(c.tag, Cp1252()), RecordWith(c.expected)) << &c - cases;
    }
}

TEST(Id3v1, MultiByteCodePageIsCutAtACharacterBoundary) {
    const auto shiftJis = text::CodePage::Create("SHIFT_JIS");
    ASSERT_NE(shiftJis, nullptr);
    // Sixteen two-byte characters after one single-byte one: 33 bytes for a 30-byte field.
    const Id3v1Record record =
        EncodeId3v1(MakeId3v1({u"a" + std::u16string(16, u'日')}), *shiftJis);
    const std::string fits = "a" + shiftJis->Encode(std::u16string(14, u'日'));
    EXPECT_EQ(record, RecordWith({{3, fits}}));
}

// A field the user did not change is written back as it was read, whatever the code page
// made of it; a changed one is encoded afresh and zero-filled.
TEST(Id3v1, UneditedFieldsKeepTheirBytes) {
    const auto utf8 = text::CodePage::Create("UTF-8");
    const std::string shiftJis = "\x93\xFA\x96\x7B";  // two characters of a Japanese tag
    const std::string cp1251 = "\xCF\xF0\xE8\xE2\xE5\xF2";
    const std::string comment30(30, 'c');
    const struct {
        const char* why;
        const text::CodePage& codePage;
        std::vector<testing::RecordEdit> loaded;
        void (*edit)(Id3v1Tag&);
        std::vector<testing::RecordEdit> written;
    } rows[] = {
        {"bytes CP1252 leaves undefined",
         Cp1252(),
         {{3, "\x81\x8D\x8F\x90\x9D"}},
         [](Id3v1Tag& t) { t.SetText(Id3v1Tag::kArtist, u"New"); },
         {{3, "\x81\x8D\x8F\x90\x9D"}, {33, "New"}}},
        {"a Shift-JIS tag read as UTF-8",
         *utf8,
         {{3, shiftJis}, {33, cp1251}},
         [](Id3v1Tag& t) { t.SetGenre(8); },
         {{3, shiftJis}, {33, cp1251}, {127, "\x08"}}},
        {"bytes after the terminator and trailing spaces",
         Cp1252(),
         {{3, std::string("ab\0junk", 7)}, {33, "Band   "}},
         [](Id3v1Tag& t) { t.SetText(Id3v1Tag::kAlbum, u"Album"); },
         {{3, std::string("ab\0junk", 7)}, {33, "Band   "}, {63, "Album"}}},
        {"an edited field is zero-filled",
         Cp1252(),
         {{3, std::string("ab\0junk", 7)}},
         [](Id3v1Tag& t) { t.SetText(Id3v1Tag::kTitle, u"x"); },
         {{3, "x"}}},
        {"a 30-byte comment stays while there is no track",
         Cp1252(),
         {{97, comment30}},
         [](Id3v1Tag& t) { t.SetText(Id3v1Tag::kYear, u"2001"); },
         {{93, "2001"}, {97, comment30}}},
        {"a new track makes room in the comment",
         Cp1252(),
         {{97, comment30}},
         [](Id3v1Tag& t) { t.SetTrack(4); },
         {{97, comment30.substr(0, 28)}, {126, "\x04"}}},
        {"the track of an ID3v1.1 record changes alone",
         Cp1252(),
         {{97, std::string("note\0\0\0zz", 9)}, {126, "\x03"}},
         [](Id3v1Tag& t) { t.SetTrack(0); },
         {{97, std::string("note\0\0\0zz", 9)}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        const Id3v1Record loaded = RecordWith(row.loaded);
        Id3v1Tag tag;
        DecodeId3v1(loaded, row.codePage, tag);
        tag.SetLoaded(loaded);
        row.edit(tag);
        EXPECT_EQ(AsBytes(EncodeId3v1(tag, row.codePage)), AsBytes(RecordWith(row.written)));
    }
}

// Only a real change marks the tag modified, so an untouched file is never written.
TEST(Id3v1Tag, OnlyARealChangeMarksTheTagModified) {
    Id3v1Tag tag = MakeId3v1({u"Band"}, 0, 255);
    tag.SetModified(false);
    DecodeId3v1(RecordWith({{3, "Band"}}), Cp1252(), tag);
    EXPECT_FALSE(tag.IsModified());
    tag.SetText(Id3v1Tag::kTitle, u"band");
    EXPECT_TRUE(tag.IsModified()) << "comparison is case-sensitive";
}

// A file of 128 bytes can be the tag alone; anything else leaves the tag as it was.
TEST(Id3v1File, ReadsOnlyATagInTheLast128Bytes) {
    const std::string audio = testing::Pattern(1000, 3);
    const std::string old = AsBytes(RecordWith({{3, "Old title"}}));
    const std::pair<std::string, std::u16string> cases[] = {
        {"", u"keep"},       {old.substr(0, 127), u"keep"}, {audio, u"keep"},
        {old, u"Old title"}, {audio + old, u"Old title"},   {old + audio, u"keep"},
    };
    testing::ScratchDirectory dir;
    for (const auto& [bytes, title] : cases) {
        BufferedFile file;
        testing::OpenOrFail(file, dir.WriteFile("song.mp3", bytes), testing::kLoadMode);
        Id3v1Tag tag = MakeId3v1({u"keep"});
        EXPECT_EQ(ReadId3v1(file, tag, Cp1252()), title != u"keep") << bytes.size();
        EXPECT_EQ(tag.Text(Id3v1Tag::kTitle), title) << bytes.size();
    }
}

}  // namespace
}  // namespace velmora
