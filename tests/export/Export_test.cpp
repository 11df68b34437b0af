#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ExportTestFiles.h"
#include "export/Export.h"
#include "export/M3uExporter.h"
#include "export/PlsExporter.h"
#include "export/XmlExporter.h"
#include "support/FakeSettingsKey.h"
#include "support/RecordingMessageSink.h"
#include "support/ScratchDirectory.h"
#include "tags/BufferedFileFaults.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::Cp1252;
using testing::FakeSettingsKey;
using testing::MakeFile;
using testing::ScratchDirectory;
using testing::Text;

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

std::vector<std::string> FolderContent(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

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
        EXPECT_EQ(FolderContent(dir.Root()), content);
    }
    // One more message was shown: this error for this path.
    void ExpectError(const char16_t* text, const std::u16string& path) {
        ASSERT_EQ(messages.Shown().size(), ++errors);
        const Message shown = messages.Shown().back();
        EXPECT_EQ(shown.text, text + path);
        EXPECT_EQ(shown.caption, u"Error");
        EXPECT_EQ(shown.icon, MessageIcon::Error);
    }
};

// At the Save dialog or in the XML options: nothing is written, no options are stored.
TEST_F(ExportFixture, CancelLeavesTargetAndOptionsAlone) {
    CancellingChooser chooser;
    EXPECT_EQ(Export(m3u, files, chooser, messages), ExportOutcome::Cancelled);
    ActingPrompt prompt;
    prompt.save = false;
    XmlExporter exporter(key, prompt);
    EXPECT_EQ(Run(exporter, Text(target)), ExportOutcome::Cancelled);
    EXPECT_EQ(prompt.asked, 1);
    EXPECT_EQ(key.writes, 0);
    EXPECT_TRUE(messages.Shown().empty());
    ExpectOldTargetAlone();
}

// Written through a symbolic link: the file it names gets the whole new content (nothing of
// the longer old one is left) and keeps its permissions; the link stays a link.
TEST_F(ExportFixture, ReplacesTheFileALinkNamesKeepingItsPermissions) {
    const fs::perms perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(target, perms);
    fs::create_symlink(target, dir.Path("link.pls"));
    files[0].directory = Text(dir.Root());
    PlsExporter pls(Cp1252());
    EXPECT_EQ(Run(pls, Text(dir.Path("link.pls"))), ExportOutcome::Written);
    EXPECT_TRUE(fs::is_symlink(dir.Path("link.pls")));
    EXPECT_EQ(ScratchDirectory::ReadFile(target),
              "[playlist]\nFile1=a.mp3\nTitle1=Y\nLength1=215\nNumberOfEntries=1\nVersion=2");
    EXPECT_EQ(fs::status(target).permissions(), perms);
    EXPECT_EQ(FolderContent(dir.Root()), (std::vector<std::string>{"link.pls", "list.m3u"}));
}

// Checked before any options are asked; nothing is created anywhere.
TEST_F(ExportFixture, UnusableTargetCannotBeOpened) {
    fs::create_directory(dir.Path("folder"));
    ActingPrompt prompt;
    XmlExporter exporter(key, prompt);
    for (const std::u16string& path :
         {Text(dir.Path("missing/list.xml")), Text(dir.Path("folder")), std::u16string()}) {
        EXPECT_EQ(Run(exporter, path), ExportOutcome::OpenFailed);
        ExpectError(u"Couldn't open file\r\n", path);
    }
    EXPECT_EQ(prompt.asked, 0);
    EXPECT_TRUE(fs::is_empty(dir.Path("folder")));
    ExpectOldTargetAlone({"folder", "list.m3u"});
}

// The temporary name is made from the target's name; a longest possible name still fits.
TEST_F(ExportFixture, LongestFileNameIsWritten) {
    const fs::path longest = dir.Path(std::string(251, 'n') + ".m3u");
    EXPECT_EQ(Run(m3u, Text(longest)), ExportOutcome::Written);
    EXPECT_EQ(ScratchDirectory::ReadFile(longest).substr(0, 8), "#EXTM3U\n");
}

TEST_F(ExportFixture, EachFailingStepLeavesTheTargetByteForByte) {
    const struct {
        FileCall call;
        int error;
        ExportOutcome outcome;
        const char16_t* message;
    } rows[] = {
        {FileCall::Open, EACCES, ExportOutcome::OpenFailed, u"Couldn't open file\r\n"},
        {FileCall::Write, ENOSPC, ExportOutcome::WriteFailed, u"Couldn't write to file\r\n"},
        {FileCall::Write, EIO, ExportOutcome::WriteFailed, u"Couldn't write to file\r\n"},
        {FileCall::Sync, EIO, ExportOutcome::WriteFailed, u"Couldn't write to file\r\n"},
        {FileCall::Close, EIO, ExportOutcome::WriteFailed, u"Couldn't write to file\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.call));
        FileFaults faults;
        faults.Fail(row.call, 1, row.error, true);
        ScopedFileFaults installed(faults);
        EXPECT_EQ(Run(m3u, Text(target)), row.outcome);
        ExpectError(row.message, Text(target));
        ExpectOldTargetAlone();
    }
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
    EXPECT_EQ(Run(exporter, Text(target)), ExportOutcome::WriteFailed);
    ExpectError(u"Couldn't write to file\r\n", Text(target));
    EXPECT_EQ(FolderContent(dir.Root()), std::vector<std::string>{"list.m3u"});
    EXPECT_EQ(ScratchDirectory::ReadFile(dir.Path("list.m3u/inside")), "x");
}

TEST(ExportFileTypes, M3uOffersM3u8) {
    EXPECT_EQ(M3uExporter(Cp1252()).GetFileType(),
              (ExportFileType{
                  u"m3u",
                  {{u"M3U Files", u"*.m3u"}, {u"M3U8 Files", u"*.m3u8"}, {u"All Files", u"*.*"}}}));
}

}  // namespace
}  // namespace velmora
