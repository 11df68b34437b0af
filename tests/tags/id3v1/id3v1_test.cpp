#include <gtest/gtest.h>

#include "tags/Id3v1TestRecords.h"
#include "tags/Id3v2TestSupport.h"
#include "tags/id3v1/Id3v1Record.h"
#include "text/CodePage.h"

namespace velmora {
namespace {

using namespace testing;
using Edits = std::vector<RecordEdit>;

const std::string k30 = "abcdefghijklmnopqrstuvwxyz0123";
const std::u16string w30(k30.begin(), k30.end());

TEST(Id3v1, EncodesByteForByte) {
    const std::pair<Id3v1Tag, Edits> cases[] = {
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
    for (const auto& [tag, expected] : cases)
        EXPECT_EQ(AsBytes(EncodeId3v1(tag, Cp1252())), AsBytes(RecordWith(expected)));
    // Sixteen two-byte characters after one single-byte one: 33 bytes for a 30-byte field.
    const auto shiftJis = text::CodePage::Create("SHIFT_JIS");
    ASSERT_NE(shiftJis, nullptr);
    const std::string fits = "a" + shiftJis->Encode(std::u16string(14, u'日'));
    EXPECT_EQ(EncodeId3v1(MakeId3v1({u"a" + std::u16string(16, u'日')}), *shiftJis),
              RecordWith({{3, fits}}));
}

// A field the user did not change is written back as it was read, whatever the code page
// made of it; a changed one is encoded afresh and zero-filled, and marks the tag modified. Field 5
// is the track, 6 the genre.
TEST(Id3v1, UneditedFieldsKeepTheirBytes) {
    const auto utf8 = text::CodePage::Create("UTF-8");
    const std::string sjis = "\x93\xFA\x96\x7B";  // two characters of a Japanese tag
    const std::string cp1251 = "\xCF\xF0\xE8\xE2\xE5\xF2", undefined = "\x81\x8D\x8F\x90\x9D";
    const std::string c30(30, 'c'), junk("ab\0junk", 7), note("note\0\0\0zz", 9), band = "Band   ";
    const struct {
        const text::CodePage& codePage;
        Edits loaded;
        std::size_t field;
        std::u16string value;
        Edits written;
    } rows[] = {
        // bytes CP1252 leaves undefined
        {Cp1252(), {{3, undefined}}, 1, u"New", {{3, undefined}, {33, "New"}}},
        // a Shift-JIS tag read as UTF-8
        {*utf8, {{3, sjis}, {33, cp1251}}, 6, u"\x08", {{3, sjis}, {33, cp1251}, {127, "\x08"}}},
        // bytes after the terminator and trailing spaces
        {Cp1252(), {{3, junk}, {33, band}}, 2, u"Album", {{3, junk}, {33, band}, {63, "Album"}}},
        {Cp1252(), {{3, junk}}, 0, u"x", {{3, "x"}}},  // an edited field is zero-filled
        // a 30-byte comment stays while there is no track; a new track makes room in it
        {Cp1252(), {{97, c30}}, 3, u"2001", {{93, "2001"}, {97, c30}}},
        {Cp1252(), {{97, c30}}, 5, u"\x04", {{97, c30.substr(0, 28)}, {126, "\x04"}}},
        // the track of an ID3v1.1 record changes alone
        {Cp1252(), {{97, note}, {126, "\x03"}}, 5, std::u16string(1, 0), {{97, note}}},
        // only a real change marks the tag modified, so an untouched file is never written;
        // the comparison is case-sensitive
        {Cp1252(), {{3, "Band"}}, 0, u"Band", {{3, "Band"}}},
        {Cp1252(), {{3, "Band"}}, 0, u"band", {{3, "band"}}},
    };
    for (const auto& row : rows) {
        const Id3v1Record loaded = RecordWith(row.loaded);
        Id3v1Tag tag;
        DecodeId3v1(loaded, row.codePage, tag);
        tag.SetLoaded(loaded);
        tag.SetModified(false);
        if (row.field < Id3v1Tag::kTextCount)
            tag.SetText(row.field, row.value);
        else if (row.field == 5)
            tag.SetTrack(static_cast<std::uint8_t>(row.value[0]));
        else
            tag.SetGenre(static_cast<std::uint8_t>(row.value[0]));
        EXPECT_EQ(AsBytes(EncodeId3v1(tag, row.codePage)), AsBytes(RecordWith(row.written)))
            << &row - rows;
        EXPECT_EQ(tag.IsModified(), RecordWith(row.written) != loaded) << &row - rows;
    }
}

}  // namespace
}  // namespace velmora
