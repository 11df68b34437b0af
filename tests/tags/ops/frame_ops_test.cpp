#include <gtest/gtest.h>

#include <functional>

#include "tags/Id3v1TestRecords.h"
#include "tags/Id3v2TestSupport.h"
#include "tags/id3v1/Id3v1Tag.h"
#include "tags/id3v2/FrameFieldTypes.h"
#include "tags/id3v2/Id3v2Serializer.h"
#include "tags/ops/CommentOps.h"
#include "tags/ops/PictureOps.h"
#include "tags/ops/PictureTypeNames.h"

namespace velmora {
namespace {

using namespace testing;
using namespace std::literals;

TEST(FrameTextOpsTest, NewTextTakesTheEncodingOfTheSettings) {
    // (Use2.4, Encoding setting, encoding byte stored); setting 2 is UTF-16 with a BOM.
    const std::tuple<bool, std::uint32_t, int> rows[] = {{false, 3, 0}, {true, 0, 0}, {true, 1, 2},
                                                         {true, 2, 1},  {true, 3, 3}, {true, 7, 0}};
    for (auto [use24, setting, stored] : rows) {
        TestEngine engine;
        engine.Use24(use24, setting);
        Id3v2Tag tag;
        SetFrameText(tag, FrameId("TIT2"), u"x", engine.context);
        auto* field = static_cast<EncodingField*>(FindField(*tag.Frames()[0], FieldKind::Encoding));
        EXPECT_EQ(field->Stored(), stored) << use24 << " " << setting;
    }
}

TEST(FrameTextOpsTest, GenreDisplay) {
    const std::pair<std::u16string_view, std::u16string_view> rows[] = {
        {u"(17)", u"Rock"},                // a number in parentheses is the genre's name
        {u"(17)Hard", u"Hard"},            // text after the reference wins
        {u"(99999999999999)", u""},        // a number beyond the table shows nothing
        {u"(191)", u"Psybient"},           // Winamp's names follow the classic list
        {u"17", u"Rock"},                  // a bare number (ID3v2.4) is the genre's name
        {u"1999", u"1999"},                // a bare number that names no genre is text
        {u"(RX)", u"Remix"},               // RX stands for Remix
        {u"(CR)", u"Cover"},               // CR stands for Cover
        {u"(Hard) Rock", u"(Hard) Rock"},  // a parenthesis without digits is text
        {u"(3", u"(3"},                    // an unclosed number is text
    };
    for (const auto& [tcon, shown] : rows)
        EXPECT_EQ(GenreDisplayFor(tcon), shown) << text::ToUtf8(tcon);
}

using Edit = std::function<bool(Id3v2Tag&, const EngineContext&)>;

// These return nothing: the tag's mark tells.
Edit SetText(const char* id, std::u16string text) {
    return [=](Id3v2Tag& tag, const EngineContext& context) {
        SetFrameText(tag, FrameId::FromChars(id), text, context);
        return IsTagModified(tag);
    };
}

Edit AddCommentIn(const char* language) {
    return [=](Id3v2Tag& tag, const EngineContext& context) {
        AddComment(tag, language, u"d", u"t", context);
        return true;
    };
}

// A frame of Latin-1 fields: text values, or a comment's language, description and texts.
Bytes Latin1(std::string_view id, std::string_view fields) {
    return Frame(id, TextBody(fields));
}

// An edit of frames as read from a tag: what it returns, whether it marks the tag (only a
// real change does), and the frames written. Cleanups reach every value of a multi-value
// frame, and a frame whose only change is in a later value still counts as changed.
TEST(FrameTextOpsTest, EditsOfReadFrames) {
    const Edit capitalize = [](Id3v2Tag& tag, const EngineContext& context) {
        return CapitalizeWords(tag, FrameId("TPE1"), context);
    };
    const Edit underscores = [](Id3v2Tag& tag, const EngineContext& context) {
        return UnderscoresToSpaces(tag, FrameId("TPE1"), context);
    };
    const Edit setComment = [](Id3v2Tag& tag, const EngineContext& context) {
        SetCommentText(tag, u"", u"new", "eng", context);
        return true;
    };
    const Edit remove = [](Id3v2Tag& tag, const EngineContext&) {
        RemoveFirstFrame(tag, FrameId("TPE1"));
        return IsTagModified(tag);
    };
    const Edit none = [](Id3v2Tag&, const EngineContext&) { return false; };
    const struct {
        std::uint8_t version;
        Bytes frames;
        Edit edit;
        bool changed;
        Bytes written;
    } rows[] = {
        // the same text changes nothing
        {4, Latin1("TPE1", "a"), SetText("TPE1", u"a"), false, Latin1("TPE1", "a")},
        // a track's leading zero goes only while a digit follows it; a genre name becomes its
        // number, matched case-sensitively
        {3, {}, SetText("TRCK", u"007"), true, Latin1("TRCK", "7")},
        {3, {}, SetText("TRCK", u"01/12"), true, Latin1("TRCK", "1/12")},
        {3, {}, SetText("TRCK", u"0/5"), true, Latin1("TRCK", "0/5")},
        {3, {}, SetText("TIT2", u"007"), true, Latin1("TIT2", "007")},
        {3, {}, SetText("TCON", u"Rock"), true, Latin1("TCON", "(17)")},
        {3, {}, SetText("TCON", u"rock"), true, Latin1("TCON", "rock")},
        // removing a frame changes the tag
        {4, Latin1("TPE1", "a"), remove, true, {}},
        // new text replaces later values
        {4, Latin1("TPE1", "a\0b"sv), SetText("TPE1", u"c"), true, Latin1("TPE1", "c")},
        // a text frame without a text field gets one
        {3, Frame("TIT2", Bytes{3, 0xF8, 0x80}), SetText("TIT2", u"Fixed"), true,
         Latin1("TIT2", "Fixed")},
        // capitalize every value
        {4, Latin1("TPE1", "a_b\0c-d\0e"sv), capitalize, true, Latin1("TPE1", "A_B\0C-D\0E"sv)},
        // only a later value changes
        {4, Latin1("TPE1", "Abc\0def"sv), capitalize, true, Latin1("TPE1", "Abc\0Def"sv)},
        // an underscore only in a later value
        {4, Latin1("TPE1", "ab\0c_d"sv), underscores, true, Latin1("TPE1", "ab\0c d"sv)},
        // a comment's later values are kept
        {3, Latin1("COMM", "eng\0one\0two"sv), none, false, Latin1("COMM", "eng\0one\0two"sv)},
        // until its text is set
        {3, Latin1("COMM", "eng\0one\0two"sv), setComment, true, Latin1("COMM", "eng\0new"sv)},
        // a comment's language is padded
        {3, {}, AddCommentIn("en"), true, Latin1("COMM", "en\0d\0t"sv)},
        // or written as zeros
        {3, {}, AddCommentIn(""), true, Latin1("COMM", "\0\0\0d\0t"sv)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        TestEngine engine;
        auto read = ReadBytes(Tag(row.version, row.frames), engine);
        MarkAll(*read.tag, false);
        EXPECT_EQ(row.edit(*read.tag, engine.context), row.changed);
        EXPECT_EQ(IsTagModified(*read.tag), row.changed);
        EXPECT_EQ(SerializeTag(*read.tag, row.version, Cp1252()), row.written);
    }
    // Latin-1, beyond it and the BMP; a letter without a simple upper case stays.
    EXPECT_EQ(CapitalizedWords(u"\u00E9lan \u0436\u0443\u043A \U00010428x \u00DF"),
              u"\u00C9lan \u0416\u0443\u043A \U00010400x \u00DF");
}

// Only what the ID3v2 tag lacks is copied; without an ID3v1 tag there is nothing to copy, and
// a blank tag must not blank the frames.
TEST(FrameTextOpsTest, CopyFromId3v1TakesOnlyWhatTheId3v2TagLacks) {
    const std::string longTitle = "A Title Far Longer Than The Thirty Characters Of ID3v1";
    const Bytes target =
        Cat({Frame("TIT2", TextBody(longTitle)), Frame("TPE1", Cat({{1}, Utf16(u"\u65E5 Band")})),
             Latin1("TYER", "1999"), Latin1("TRCK", "5/12"), Latin1("TCON", "(17)")});
    const std::string kept = "TIT2=" + longTitle + "|TPE1=\xE6\x97\xA5 Band|TYER=1999|TRCK=5/12";
    const std::string unchanged = kept + "|TCON=(17)";
    const struct {
        std::vector<RecordEdit> record;
        bool loaded;
        std::string after;  // empty: CopyFromId3v1 copies nothing and says so
    } rows[] = {
        // blank fields, track 0 and genre 255 change nothing
        {{}, true, unchanged},
        // what ID3v1 can hold of each ID3v2 value changes nothing
        {{{3, "A Title Far Longer Than The Th"}, {33, "? Band"}, {93, "1999"}, {126, "\x05\x11"}},
         true,
         unchanged},
        // a genre without a name changes nothing
        {{{127, "\xC8"}}, true, unchanged},
        // a genre of Winamp's list is copied as its name
        {{{127, "\x82"}}, true, kept + "|TCON=Terror"},
        // other values are copied
        {{{3, "Short"}, {63, "Album"}, {93, "2001"}, {126, "\x06\x08"}},
         true,
         "TIT2=Short|TPE1=\xE6\x97\xA5 Band|TYER=2001|TRCK=6|TCON=(8)|TALB=Album"},
        // no ID3v1 tag copies nothing
        {{}, false, ""},
        // an edited ID3v1 tag is copied
        {{{63, "New"}}, false, unchanged + "|TALB=New"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        TestEngine engine;
        auto read = ReadBytes(Tag(3, target), engine);
        MarkAll(*read.tag, false);
        const std::string before = Describe(*read.tag);
        Id3v1Tag v1;
        DecodeId3v1(RecordWith(row.record), Cp1252(), v1);
        if (row.loaded)
            v1.SetLoaded(RecordWith(row.record));
        EXPECT_EQ(CopyFromId3v1(*read.tag, v1, engine.context), !row.after.empty());
        EXPECT_EQ(Describe(*read.tag), row.after.empty() ? before : row.after);
        EXPECT_EQ(IsTagModified(*read.tag), Describe(*read.tag) != before);
    }
}

const Bytes kJpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0x00};

// A picture is found by its type, a comment by its exact description; no picture data removes
// the picture, a comment found keeps its language.
TEST(PictureAndCommentOpsTest, FindSetAndRemove) {
    TestEngine engine;
    Id3v2Tag tag;
    SetPicture(tag, "image/JPEG", u"front", 3, kJpeg, engine.context);
    Id3v2Frame* front = FindPicture(tag, 3);
    ASSERT_TRUE(front && !FindPicture(tag, 4));
    EXPECT_EQ(PictureMimeSubtype(*front, Cp1252()), "jpeg");
    MarkAll(tag, false);
    SetPicture(tag, "jpg", u"new", 3, Bytes{1, 2}, engine.context);  // replaces the front cover
    // No slash: the whole type.
    EXPECT_EQ(
        std::tuple(IsTagModified(tag), PictureData(*front), PictureMimeSubtype(*front, Cp1252())),
        std::tuple(true, Bytes{1, 2}, "jpg"s));
    SetPicture(tag, "image/png", u"", 3, {}, engine.context);
    EXPECT_TRUE(tag.Frames().empty());
    EXPECT_EQ(PictureTypeIndex(u"Publisher/Studio logotype"), 20);

    AddComment(tag, "eng", u"", u"first", engine.context);
    AddComment(tag, "deu", u"desc", u"second", engine.context);
    EXPECT_EQ(FindComment(tag, u"Desc", Cp1252()), nullptr);
    SetCommentText(tag, u"desc", u"changed", "xxx", engine.context);
    SetCommentText(tag, u"other", u"third", "fra", engine.context);
    std::string comments;
    for (std::u16string_view description : {u"", u"desc", u"other", u"none"}) {
        const Comment comment = GetComment(tag, description, Cp1252());
        comments += comment.language.value_or("-") + "=" + text::ToUtf8(comment.text) + " ";
    }
    EXPECT_EQ(comments, "eng=first deu=changed fra=third -= ");
}

}  // namespace
}  // namespace velmora
