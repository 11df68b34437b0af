#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "edit/CommentEdits.h"
#include "edit/EditFolder.h"
#include "edit/PictureEdits.h"
#include "edit/PictureFiles.h"
#include "edit/PictureRules.h"
#include "support/ScratchDirectory.h"
#include "tags/FileTestHelpers.h"
#include "tags/file/BufferedFileFaults.h"
#include "tags/ops/CommentOps.h"
#include "tags/ops/PictureOps.h"
#include "tags/record/Mp3File.h"
#include "text/FileName.h"
#include "text/Utf8.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;

Bytes Comment(std::string_view language, std::string_view description, std::string_view text) {
    return Frame("COMM", Cat({{0}, B(language), B(description), {0}, B(text)}));
}

Bytes Picture(std::uint8_t type, std::string_view description, const Bytes& data,
              std::string_view mime = "image/jpeg") {
    return Frame("APIC", Cat({{0}, B(mime), {0, type}, B(description), {0}, data}));
}

// Data above the size the load leaves in the file.
const Bytes kCover = Cat({{0xFF, 0xD8, 0xFF}, B(Pattern(9000, 2))});
const Bytes kOtherCover = Cat({{0xFF, 0xD8, 0xFF}, B(Pattern(9000, 3))});

class EditsTest : public EditFolder {
  protected:
    Mp3File& Add(const std::string& name, std::initializer_list<Bytes> frames) {
        return EditFolder::Add(name, Tag(3, Cat(frames)));
    }

    // The comments the records hold alike, as "language/description=text (language name)".
    static std::string Shared(std::span<Mp3File* const> records) {
        std::string out;
        for (const auto& comment : edit::SharedComments(records, Cp1252()))
            out += comment.key.language + "/" + text::ToUtf8(comment.key.description) + "=" +
                   text::ToUtf8(comment.text) + " (" + text::ToUtf8(comment.languageName) + ") ";
        return out;
    }
    // Every comment of each record, records ended by "|".
    std::string Comments() const {
        std::string out;
        for (Mp3File* record : records_)
            out += Shared(std::span(&record, 1)) + "|";
        return out;
    }
};

TEST_F(EditsTest, CommentsListedAreThoseEveryFileHoldsAlike) {
    Add("a.mp3", {Comment("fra", "", "hello"), Comment("eng", "x", "1"), Comment("XXX", "y", "2")});
    Add("b.mp3", {Comment("eng", "x", "1"), Comment("fra", "", "hello"), Comment("XXX", "y", "2")});
    Add("c.mp3", {Comment("deu", "x", "1"), Comment("fra", "", "hello"), Comment("XXX", "y", "2")});
    // x differs in its language in c; a language with no row shows no name; the language as
    // the files hold it.
    EXPECT_EQ(Shared(records_), "fra/=hello (French) XXX/y=2 () ");
}

TEST_F(EditsTest, CommentActionsApplyToEveryFile) {
    Add("a.mp3", {Comment("fra", "D", "old"), Comment("eng", "D", "second")});
    Add("b.mp3", {});
    Add("c.mp3", {Comment("eng", "other", "kept")});
    for (Mp3File* record : records_)
        edit::ApplyComment(*record, {{u"D", "fra"}, u"new", "ger"}, context_);
    // The language is kept where the comment was, taken where it is new.
    EXPECT_EQ(Comments(),
              "fra/D=new (French) eng/D=second (English) |ger/D=new (German) |"
              "eng/other=kept (English) ger/D=new (German) |");
    // Only the comment of that description and language goes.
    for (Mp3File* record : records_) {
        for (const char* language : {"ger", "fra"})
            edit::DeleteComment(*record, {u"D", language});
    }
    EXPECT_EQ(Comments(), "eng/D=second (English) ||eng/other=kept (English) |");
    for (Mp3File* record : records_)
        edit::DeleteAllComments(*record);
    EXPECT_EQ(Comments(), "|||");
}

// By description in every language, by language whatever the description, by both, or all.
TEST_F(EditsTest, CommentsRemovedAreThoseTheFilterTakes) {
    Mp3File& a = Add("a.mp3", {Comment("eng", "ad", "1"), Comment("fra", "ad", "2"),
                               Comment("fra", "", "3"), Comment("eng", "", "4")});
    const std::pair<edit::CommentFilter, std::string> steps[] = {
        {{u"ad", "fra"}, "eng/ad=1 (English) fra/=3 (French) eng/=4 (English) |"},
        {{std::nullopt, "fra"}, "eng/ad=1 (English) eng/=4 (English) |"},
        {{u"ad", std::nullopt}, "eng/=4 (English) |"},
        {{}, "|"}};
    for (const auto& [filter, left] : steps) {
        edit::DeleteComments(a, filter, Cp1252());
        EXPECT_EQ(Comments(), left);
    }
}

TEST_F(EditsTest, PicturesListedAreThoseEveryFileHoldsAlikeReadOnlyWhereLengthsAgree) {
    Add("a.mp3",
        {Picture(3, "front", kCover), Picture(4, "back", kCover), Picture(0, "other", kCover)});
    Add("b.mp3", {Picture(4, "back", kCover), Picture(3, "front", kCover),
                  Picture(0, "other", kOtherCover)});
    auto shared = edit::SharedPictures(records_, Cp1252(), engine_.messages);
    ASSERT_EQ(shared.size(), 2u);  // the "other" data differ, at the same length
    EXPECT_EQ(std::tuple(shared[0].type, shared[1].type), std::tuple(3, 4));
    EXPECT_EQ(edit::PictureTypeLabel(40), u"Other");

    // The second file goes: what cannot be compared is not listed, and is said once.
    fs::remove(dir_.Path("b.mp3"));
    shared = edit::SharedPictures(records_, Cp1252(), engine_.messages);
    EXPECT_TRUE(shared.empty());
    ASSERT_EQ(engine_.messages.Shown().size(), 1u);
    EXPECT_EQ(engine_.messages.Shown()[0].kind, MessageKind::LoadOpenFailed);
}

TEST_F(EditsTest, PictureWithoutNewDataKeepsItsDataAndTakesTheTypeAndDescription) {
    Add("a.mp3", {Picture(0, "old", kCover, "image/gif"), Picture(3, "front", kOtherCover)});
    Add("b.mp3", {});
    edit::PictureEdit change{0, 3, u"now the front", std::nullopt};
    for (Mp3File* record : records_)
        edit::ApplyPicture(*record, change, context_);
    const Mp3File& a = *records_[0];
    EXPECT_EQ(FindPicture(a.V2(), 0), nullptr);
    const Id3v2Frame* front = FindPicture(a.V2(), 3);
    ASSERT_NE(front, nullptr);
    EXPECT_EQ(PictureData(*front, &a), kCover);
    EXPECT_EQ(PictureMimeSubtype(*front, Cp1252()), "gif");
    EXPECT_EQ(PictureDescription(*front, Cp1252()), u"now the front");
    EXPECT_EQ(FindFrame(records_[1]->V2(), "APIC"), nullptr);  // no empty picture added

    change.picture = edit::HeldPicture{"png", {0x89, 'P', 'N', 'G'}};
    change.type = 4;
    for (Mp3File* record : records_)
        edit::ApplyPicture(*record, change, context_);
    for (const Mp3File* record : records_)
        EXPECT_EQ(PictureMimeSubtype(*FindPicture(record->V2(), 4), Cp1252()), "png");
    EXPECT_NE(FindPicture(a.V2(), 3), nullptr);  // the other type stays
}

// Answers every question with No.
class NoSink : public RecordingMessageSink {
  public:
    MessageAnswer Show(const Message& message) override {
        RecordingMessageSink::Show(message);
        return MessageAnswer::No;
    }
};

TEST(PictureFiles, ReadTellsTheFormatFromTheContentAndAsksAboveThreeMiB) {
    ScratchDirectory scratch;
    const std::string png = "\x89PNG\r\n\x1A\n" + Pattern(100);
    const std::string large = "\xFF\xD8\xFF" + Pattern(edit::kLargePictureBytes - 3);
    // The subtype read, or the first line of the message shown.
    const std::tuple<const char*, std::string, std::u16string> rows[] = {
        {"named.jpg", png, u"png"},
        {"cover.gif", "GIF89a" + Pattern(100), u"File must be a JPG or PNG image!"},
        {"short.png", "\x89PN", u"File must be a JPG or PNG image!"},
        {"empty.png", "", u"File is empty!"},
        {"exact.jpg", large, u"jpg"},
        {"larger.jpg", large + "x", u"Image size is greater than 3 MB."},
    };
    for (const auto& [name, bytes, expected] : rows) {
        NoSink sink;
        const auto picture = edit::ReadPictureFile(TextPath(scratch.WriteFile(name, bytes)), sink);
        std::u16string got = picture ? text::FromUtf8(picture->subtype) : u"";
        for (const Message& shown : sink.Shown()) {
            got += shown.lines[0];
            EXPECT_EQ(shown.caption, kAppCaption);
        }
        EXPECT_EQ(got, expected) << name;
        EXPECT_EQ(picture ? picture->data.size() : bytes.size(), bytes.size()) << name;
    }
    RecordingMessageSink yes;
    EXPECT_TRUE(edit::ReadPictureFile(TextPath(scratch.WriteFile("larger.jpg", large + "x")), yes));
    const auto missing = TextPath(scratch.Path("missing.png"));
    EXPECT_FALSE(edit::ReadPictureFile(missing, yes));
    EXPECT_EQ(yes.Shown().back().lines,
              (std::vector<std::u16string>{u"Couldn't open file:", missing}));
}

TEST(PictureFiles, AFailedWriteLeavesTheOldFileAndEmptyDataWriteNothing) {
    ScratchDirectory scratch;
    const fs::path target = scratch.WriteFile("Cover  front .png", "old picture");
    const Bytes data = B("new picture");
    for (FileCall call : {FileCall::Write, FileCall::Sync}) {
        RecordingMessageSink sink;
        FileFaults faults;
        faults.Fail(call, 1, ENOSPC, true);
        ScopedFileFaults installed(faults);
        EXPECT_FALSE(edit::WritePictureFile(TextPath(target), data, sink));
        EXPECT_EQ(sink.Shown().at(0).lines[0], u"Error while writing file:");
        EXPECT_EQ(ScratchDirectory::ReadFile(target), "old picture");
        EXPECT_EQ(scratch.Names().size(), 1u);
    }
    RecordingMessageSink sink;
    EXPECT_TRUE(edit::WritePictureFile(TextPath(target), data, sink));
    EXPECT_EQ(ScratchDirectory::ReadFile(target), "new picture");
    EXPECT_FALSE(edit::WritePictureFile(TextPath(scratch.Path("none.png")), {}, sink));
    EXPECT_EQ(sink.Shown().at(0).lines[0], u"Image is empty!");
    EXPECT_FALSE(fs::exists(scratch.Path("none.png")));
}

TEST(PictureRules, FitSaveNameAndFilter) {
    // Width, height, the image's width and height, and the rectangle it is drawn in.
    const std::array<int, 8> rows[] = {
        {200, 200, 400, 100, 0, 75, 200, 50},  // wide: fills the width
        {200, 200, 100, 400, 75, 0, 50, 200},  // tall: fills the height
        {96, 96, 10, 10, 0, 0, 96, 96},        // small images are enlarged
        {97, 96, 300, 200, 0, 16, 97, 64},     // 64.67 is cut to 64
        {96, 96, 0, 10, 0, 0, 0, 0},           // no image
    };
    for (const auto& row : rows) {
        const auto got = edit::FitImage(row[0], row[1], row[2], row[3]);
        EXPECT_EQ((std::array{row[0], row[1], row[2], row[3], got.x, got.y, got.width, got.height}),
                  row);
    }
    EXPECT_EQ(edit::PictureSaveName(u"Media (e.g. lable side of CD)"),
              u"Media  e g  lable side of CD ");
    EXPECT_EQ(edit::PictureSaveFilter("jpeg"), u"JPEG Images (*.jpeg)");
}

}  // namespace
}  // namespace velmora::testing
