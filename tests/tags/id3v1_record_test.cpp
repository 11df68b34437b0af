#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "Id3v1TestRecords.h"
#include "tags/Id3v1Record.h"
#include "tags/Id3v1Tag.h"
#include "text/CodePage.h"

namespace velmora {
namespace {

using testing::BlankId3v1;
using testing::Put;

const text::CodePage& Cp1252() {
    static const auto codePage = text::CodePage::Create("CP1252");
    return *codePage;
}

const std::string k30 = "abcdefghijklmnopqrstuvwxyz0123";
const std::string k29 = k30.substr(0, 29);
const std::string k28 = k30.substr(0, 28);

std::u16string Wide(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

struct DecodeCase {
    const char* name;
    std::function<void(Id3v1Record&)> fill;
    std::array<std::u16string, 5> texts;
    std::uint8_t track;
    std::uint8_t genre;
};

class DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, ReadsTheFields) {
    const DecodeCase& c = GetParam();
    Id3v1Record record = BlankId3v1();
    c.fill(record);
    Id3v1Tag tag;
    DecodeId3v1(record, Cp1252(), tag);
    for (std::size_t i = 0; i < Id3v1Tag::kTextCount; ++i) {
        EXPECT_EQ(tag.Text(i), c.texts[i]) << "text " << i;
    }
    EXPECT_EQ(tag.Track(), c.track);
    EXPECT_EQ(tag.Genre(), c.genre);
}

INSTANTIATE_TEST_SUITE_P(
    Id3v1, DecodeTest,
    ::testing::Values(
        DecodeCase{"Empty", [](Id3v1Record&) {}, {}, 0, 255},
        DecodeCase{"TitleWithoutZeroByteKeepsAll30",
                   [](Id3v1Record& r) { Put(Put(r, 3, k30), 33, "Artist"); },
                   {Wide(k30), u"Artist", u"", u"", u""},
                   0,
                   255},
        DecodeCase{"TrailingWhiteSpaceIsRemovedLeadingKept",
                   [](Id3v1Record& r) {
                       Put(Put(Put(r, 3, "Title   "), 33, "Band\t\r\n "), 63, "  Lead");
                   },
                   {u"Title", u"Band", u"  Lead", u"", u""},
                   0,
                   255},
        DecodeCase{"FieldEndsAtTheFirstZeroByte",
                   [](Id3v1Record& r) { Put(r, 3, std::string("ab\0cd", 5)); },
                   {u"ab", u"", u"", u"", u""},
                   0,
                   255},
        DecodeCase{"YearDoesNotRunIntoTheComment",
                   [](Id3v1Record& r) { Put(Put(r, 93, "1999"), 97, "note"); },
                   {u"", u"", u"", u"1999", u"note"},
                   0,
                   255},
        DecodeCase{"ZeroAt125MakesByte126TheTrack",
                   [](Id3v1Record& r) {
                       Put(r, 97, k28);
                       r[126] = 5;
                   },
                   {u"", u"", u"", u"", Wide(k28)},
                   5,
                   255},
        DecodeCase{"Id3v10CommentRunsTo126",
                   [](Id3v1Record& r) { Put(r, 97, k30); },
                   {u"", u"", u"", u"", Wide(k30)},
                   0,
                   255},
        DecodeCase{"Id3v10TwentyNineCharactersAndAByteIsNoTrack",
                   [](Id3v1Record& r) {
                       Put(r, 97, k29);
                       r[126] = 5;
                   },
                   {u"", u"", u"", u"", Wide(k29) + u"\u0005"},
                   0,
                   255},
        DecodeCase{"GenreWithoutNameIsKept", [](Id3v1Record& r) { r[127] = 130; }, {}, 0, 130},
        DecodeCase{"TextIsInTheCodePage",
                   [](Id3v1Record& r) { Put(r, 3, "Caf\xE9 \x80"); },
                   {u"Café €", u"", u"", u"", u""},
                   0,
                   255}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(Id3v1, DecodeMarksOnlyChangedValues) {
    Id3v1Tag tag;
    DecodeId3v1(BlankId3v1(), Cp1252(), tag);
    EXPECT_FALSE(tag.IsModified());
    Id3v1Record record = BlankId3v1();
    record[127] = 17;
    DecodeId3v1(record, Cp1252(), tag);
    EXPECT_TRUE(tag.IsModified());
}

Id3v1Tag MakeTag(std::array<std::u16string, 5> texts, std::uint8_t track, std::uint8_t genre) {
    Id3v1Tag tag;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        tag.SetText(i, texts[i]);
    }
    tag.SetTrack(track);
    tag.SetGenre(genre);
    return tag;
}

TEST(Id3v1, EncodesAnEmptyTagAsTagZerosAnd255) {
    EXPECT_EQ(EncodeId3v1(Id3v1Tag(), Cp1252()), BlankId3v1());
}

TEST(Id3v1, EncodesEveryFieldByteForByte) {
    const Id3v1Tag tag =
        MakeTag({Wide(k30) + u"XYZ", u"Artist", u"Album", u"20045", u"Comment"}, 7, 17);
    Id3v1Record expected = BlankId3v1();
    Put(Put(Put(Put(Put(expected, 3, k30), 33, "Artist"), 63, "Album"), 93, "2004"), 97, "Comment");
    expected[126] = 7;
    expected[127] = 17;
    EXPECT_EQ(EncodeId3v1(tag, Cp1252()), expected);
}

TEST(Id3v1, CommentKeeps28BytesWithATrackSoByte125StaysZero) {
    const Id3v1Record record =
        EncodeId3v1(MakeTag({u"", u"", u"", u"", Wide(k30)}, 9, 255), Cp1252());
    Id3v1Record expected = BlankId3v1();
    Put(expected, 97, k28);
    expected[126] = 9;
    EXPECT_EQ(record, expected);
    EXPECT_EQ(record[125], 0);
}

TEST(Id3v1, CommentKeeps29BytesWithoutATrack) {
    const Id3v1Record record =
        EncodeId3v1(MakeTag({u"", u"", u"", u"", Wide(k30)}, 0, 255), Cp1252());
    Id3v1Record expected = BlankId3v1();
    Put(expected, 97, k29);
    EXPECT_EQ(record, expected);
}

TEST(Id3v1, EncodesThroughTheCodePageWithReplacement) {
    const Id3v1Record record =
        EncodeId3v1(MakeTag({u"5 €", u"中文", u"", u"", u""}, 0, 255), Cp1252());
    Id3v1Record expected = BlankId3v1();
    Put(Put(expected, 3, "5 \x80"), 33, "??");
    EXPECT_EQ(record, expected);
}

TEST(Id3v1, MultiByteCodePageIsCutAtACharacterBoundary) {
    const auto shiftJis = text::CodePage::Create("SHIFT_JIS");
    ASSERT_NE(shiftJis, nullptr);
    // Sixteen two-byte characters after one single-byte one: 33 bytes for a 30-byte field.
    const std::u16string title = u"a" + std::u16string(16, u'日');
    const Id3v1Record record = EncodeId3v1(MakeTag({title, u"", u"", u"", u""}, 0, 255), *shiftJis);
    const std::string expectedBytes = "a" + shiftJis->Encode(std::u16string(14, u'日'));
    ASSERT_EQ(expectedBytes.size(), 29u);
    Id3v1Record expected = BlankId3v1();
    Put(expected, 3, expectedBytes);
    EXPECT_EQ(record, expected);
    Id3v1Tag back;
    DecodeId3v1(record, *shiftJis, back);
    EXPECT_EQ(back.Text(Id3v1Tag::kTitle), u"a" + std::u16string(14, u'日'));
}

TEST(Id3v1, RoundTripsWithAndWithoutTrack) {
    for (std::uint8_t track : {0, 1, 255}) {
        const Id3v1Tag tag =
            MakeTag({u"Title", u"Ärtist", u"Album", u"1999", Wide(k28)}, track, 80);
        Id3v1Tag back;
        DecodeId3v1(EncodeId3v1(tag, Cp1252()), Cp1252(), back);
        for (std::size_t i = 0; i < Id3v1Tag::kTextCount; ++i) {
            EXPECT_EQ(back.Text(i), tag.Text(i)) << int(track);
        }
        EXPECT_EQ(back.Track(), track);
        EXPECT_EQ(back.Genre(), 80);
    }
}

TEST(Id3v1Tag, StartsEmptyAndUnmodified) {
    const Id3v1Tag tag;
    EXPECT_TRUE(tag.IsEmpty());
    EXPECT_FALSE(tag.IsModified());
    EXPECT_EQ(tag.Track(), 0);
    EXPECT_EQ(tag.Genre(), 255);
}

TEST(Id3v1Tag, SettersMarkModifiedOnlyOnARealChange) {
    struct Case {
        const char* name;
        std::function<void(Id3v1Tag&)> change;
        bool modifies;
    };
    const Case cases[] = {
        {"same empty text", [](Id3v1Tag& t) { t.SetText(Id3v1Tag::kTitle, u""); }, false},
        {"same track", [](Id3v1Tag& t) { t.SetTrack(0); }, false},
        {"same genre", [](Id3v1Tag& t) { t.SetGenre(255); }, false},
        {"new text", [](Id3v1Tag& t) { t.SetText(Id3v1Tag::kComment, u"x"); }, true},
        {"new track", [](Id3v1Tag& t) { t.SetTrack(1); }, true},
        {"new genre", [](Id3v1Tag& t) { t.SetGenre(0); }, true},
    };
    for (const Case& c : cases) {
        Id3v1Tag tag;
        c.change(tag);
        EXPECT_EQ(tag.IsModified(), c.modifies) << c.name;
        EXPECT_EQ(tag.IsEmpty(), !c.modifies) << c.name;
    }
    Id3v1Tag tag;
    tag.SetText(Id3v1Tag::kArtist, u"Band");
    tag.SetModified(false);
    tag.SetText(Id3v1Tag::kArtist, u"band");
    EXPECT_TRUE(tag.IsModified()) << "comparison is case-sensitive";
}

}  // namespace
}  // namespace velmora
