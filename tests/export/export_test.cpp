#include <gtest/gtest.h>

#include <cerrno>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ExportTestFiles.h"
#include "common/SystemReason.h"
#include "export/Export.h"
#include "export/ExportedFileOfRecord.h"
#include "export/M3uExporter.h"
#include "export/XmlExporter.h"
#include "support/FakeSettingsKey.h"
#include "support/RecordingMessageSink.h"
#include "support/ScratchDirectory.h"
#include "tags/Id3v1TestRecords.h"
#include "tags/file/BufferedFileFaults.h"
#include "tags/mpeg/mpeg_test_streams.h"
#include "tags/record/Mp3File.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;

constexpr char kOldContent[] = "old playlist\nthat must survive\n";

class CancellingChooser final : public ExportTargetChooser {
  public:
    std::optional<std::u16string> ChooseTarget(const ExportFileType&) override { return {}; }
};

// Answers as told, after running `during` while the options are being settled.
struct ActingPrompt final : XmlOptionsPrompt {
    bool save = true;
    std::function<void()> during = [] {};
    int asked = 0;
    bool Confirm(XmlExportOptions&) override {
        ++asked;
        during();
        return save;
    }
};

struct ExportFixture : ::testing::Test {
    ScratchDirectory dir;
    testing::RecordingMessageSink messages;
    const fs::path target = dir.WriteFile("list.m3u", kOldContent);
    std::vector<ExportedFile> files = {MakeFile(u"a.mp3", u"X", u"Y", 215)};
    M3uExporter m3u{Cp1252()};
    FakeSettingsKey key;
    std::size_t errors = 0;

    ExportOutcome Run(Exporter& exporter, const std::u16string& to) {
        FixedExportTarget chooser(to);
        return Export(exporter, files, chooser, messages);
    }
    void ExpectOldTargetAlone(std::vector<std::string> content = {"list.m3u"}) {
        EXPECT_EQ(ScratchDirectory::ReadFile(target), kOldContent);
        EXPECT_EQ(dir.Names(), content);
    }
    // One more message was shown: this error for this path. The message names the step and the
    // path, then the system's reason for `error`.
    void ExpectError(const char16_t* text, const std::u16string& path, int error) {
        ASSERT_EQ(messages.Shown().size(), ++errors);
        const Message shown = messages.Shown().back();
        EXPECT_EQ(
            std::tuple(MessageText(shown, u"\r\n"), shown.cause.value(), shown.caption, shown.icon),
            std::tuple(text + path + u": " + SystemReasonText(error), error, u"Error",
                       MessageIcon::Error));
    }
};

// The temporary name is made from the target's name; a longest possible name still fits.
TEST_F(ExportFixture, LongestFileNameIsWritten) {
    const fs::path longest = dir.Path(std::string(251, 'n') + ".m3u");
    EXPECT_EQ(Run(m3u, TextPath(longest)), ExportOutcome::Written);
    EXPECT_EQ(ScratchDirectory::ReadFile(longest).substr(0, 8), "#EXTM3U\n");
}

// At the Save dialog or in the XML options: nothing is written, no options are stored.
TEST_F(ExportFixture, CancelLeavesTargetAndOptionsAlone) {
    CancellingChooser chooser;
    EXPECT_EQ(Export(m3u, files, chooser, messages), ExportOutcome::Cancelled);
    ActingPrompt prompt;
    prompt.save = false;
    XmlExporter exporter(key, prompt);
    EXPECT_EQ(Run(exporter, TextPath(target)), ExportOutcome::Cancelled);
    EXPECT_EQ(prompt.asked, 1);
    EXPECT_EQ(key.writes, 0);
    EXPECT_TRUE(messages.Shown().empty());
    ExpectOldTargetAlone();
}

// An unusable target is found before any options are asked, and nothing is created anywhere.
TEST_F(ExportFixture, EachFailingStepLeavesTheTargetByteForByte) {
    fs::create_directory(dir.Path("folder"));
    constexpr auto kOpen = ExportOutcome::OpenFailed;
    constexpr auto kWrite = ExportOutcome::WriteFailed;
    const struct {
        std::u16string path;
        std::optional<FileCall> call;
        int error;
        ExportOutcome outcome;
    } rows[] = {
        {TextPath(dir.Path("missing/list.xml")), {}, ENOENT, kOpen},
        {TextPath(dir.Path("folder")), {}, EISDIR, kOpen},
        {std::u16string(), {}, ENOENT, kOpen},
        {TextPath(target), FileCall::Open, EACCES, kOpen},
        {TextPath(target), FileCall::Write, ENOSPC, kWrite},
        {TextPath(target), FileCall::Sync, EIO, kWrite},
        {TextPath(target), FileCall::Close, EIO, kWrite},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);  // the row number
        ActingPrompt prompt;
        XmlExporter exporter(key, prompt);
        FileFaults faults;
        if (row.call) {
            faults.Fail(*row.call, 1, row.error, true);
        }
        ScopedFileFaults installed(faults);
        EXPECT_EQ(Run(exporter, row.path), row.outcome);
        ExpectError(
            row.outcome == kOpen ? u"Couldn't open file\r\n" : u"Couldn't write to file\r\n",
            row.path, row.error);
        EXPECT_EQ(prompt.asked, row.outcome == kOpen ? 0 : 1);
        ExpectOldTargetAlone({"folder", "list.m3u"});
    }
    EXPECT_TRUE(fs::is_empty(dir.Path("folder")));
}

// Written over one of the files it lists (here through a link), a playlist would take the
// place of that song.
TEST_F(ExportFixture, ATargetThatIsOneOfTheFilesIsRefused) {
    files[0].directory = TextPath(dir.Root());
    files[0].name = u"list.m3u";
    fs::create_symlink("list.m3u", dir.Path("link.m3u"));
    const std::u16string link = TextPath(dir.Path("link.m3u"));
    EXPECT_EQ(Run(m3u, link), ExportOutcome::OpenFailed);
    EXPECT_EQ(MessageText(messages.Shown().at(0), u"\r\n"),
              u"Couldn't open file\r\n" + link + u": it is one of the files exported");
    ExpectOldTargetAlone({"link.m3u", "list.m3u"});
}

// The target turns into a folder with content while the options are open: the finished
// document cannot be renamed over it.
TEST_F(ExportFixture, FailedRenameIsAWriteFailureAndLeavesNoTemporaryFile) {
    ActingPrompt prompt;
    prompt.during = [&] {
        fs::remove(target);
        fs::create_directory(target);
        dir.WriteFile("list.m3u/inside", "x");
    };
    XmlExporter exporter(key, prompt);
    EXPECT_EQ(Run(exporter, TextPath(target)), ExportOutcome::WriteFailed);
    ExpectError(u"Couldn't write to file\r\n", TextPath(target), EISDIR);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"list.m3u"});
    EXPECT_EQ(ScratchDirectory::ReadFile(dir.Path("list.m3u/inside")), "x");
}

// Files on disk, loaded as records: an ID3v2.3 tag with the given frames (none when empty),
// a second of 128 kbit/s MPEG-1 Layer III audio and an ID3v1.1 tag (T1, V1, A1, 1999,
// track 5, Rock). A pending rename already shows its new name; a file without an ID3v2 tag
// gives empty texts. The XML document carries every attribute, in the order of the table.
TEST(LoadedRecords, PlaylistAndXmlReadTheRecords) {
    ScratchDirectory dir;
    TestEngine engine;
    std::deque<Mp3File> records;
    std::vector<const Mp3File*> inOrder;
    const auto load = [&](const std::string& folder, const std::string& name, const Bytes& frames) {
        fs::create_directories(dir.Path(folder));
        const Bytes file =
            Cat({frames.empty() ? Bytes{} : Tag(3, frames), Frames(FrameShape{}, 40)});
        const Id3v1Tag v1 = MakeId3v1({u"T1", u"V1", u"A1", u"1999"}, 5, 17);
        dir.WriteFile(folder + "/" + name, std::string(file.begin(), file.end()) +
                                               AsBytes(EncodeId3v1(v1, engine.context.codePage)));
        inOrder.push_back(&records.emplace_back(engine.context, TextPath(dir.Path(folder)),
                                                text::FileNameToText(name)));
    };
    const auto exportTo = [&](Exporter& exporter, const std::string& target) {
        FixedExportTarget chooser(TextPath(dir.Path(target)));
        EXPECT_EQ(Export(exporter, inOrder, chooser, engine.context), ExportOutcome::Written);
        return ScratchDirectory::ReadFile(dir.Path(target));
    };
    load("music", "old.mp3",
         Cat({Frame("TPE1", TextBody("X")), Frame("TALB", TextBody("Al")),
              Frame("TIT2", TextBody("One")), Frame("TYER", TextBody("2004")),
              Frame("TRCK", TextBody("3")), Frame("TCON", TextBody("(17)"))}));
    ASSERT_TRUE(records[0].SetFileName(u"new.mp3"));
    load("music/sub", "b.mp3", {});
    M3uExporter m3u(engine.context.codePage);
    EXPECT_EQ(exportTo(m3u, "music/l.m3u"),
              "#EXTM3U\n#EXTINF:1,X - One\nnew.mp3\n#EXTINF:1, - \nsub/b.mp3\n");
    XmlExportOptions options;
    options.SetLocation(XmlLocation::FullPath);
    options.mp3Duration = options.mp3Vbr = options.v2Year = options.v2Track = options.v2Genre =
        options.v1Artist = options.v1Album = options.v1Title = options.v1Year = options.v1Track =
            options.v1Genre = true;
    options.structure.Select(0, XmlGrouping::List);
    FakeSettingsKey key;
    FixedXmlOptions prompt(options);
    XmlExporter exporter(key, prompt);
    const std::string document = exportTo(exporter, "l.xml");
    EXPECT_NE(document.find("<File path=\"" + dir.Path("music/new.mp3").string() +
                            "\" bitrate=\"128\" vbr=\"false\" duration=\"1\" artist=\"X\" "
                            "album=\"Al\" title=\"One\" year=\"2004\" track=\"3\" "
                            "genre=\"Rock\" artist1=\"V1\" album1=\"A1\" title1=\"T1\" "
                            "year1=\"1999\" track1=\"5\" genre1=\"Rock\" />"),
              std::string::npos)
        << document;
}

}  // namespace
}  // namespace velmora::testing
