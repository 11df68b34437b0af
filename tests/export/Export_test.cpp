#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ExportTestFiles.h"
#include "support/FakeSettingsKey.h"
#include "export/Export.h"
#include "export/M3uExporter.h"
#include "export/PlsExporter.h"
#include "export/XmlExporter.h"
#include "support/RecordingMessageSink.h"
#include "support/ScratchDirectory.h"
#include "tags/BufferedFileFaults.h"
#include "text/FileName.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::Cp1252;
using testing::FakeSettingsKey;
using testing::MakeFile;
using testing::RecordingMessageSink;
using testing::ScratchDirectory;

constexpr char kOldContent[] = "old playlist\nthat must survive\n";

std::u16string Text(const fs::path& path) {
    return text::FileNameToText(path.native());
}

class RecordingChooser final : public ExportTargetChooser {
  public:
    explicit RecordingChooser(std::optional<std::u16string> answer) : answer_(std::move(answer)) {}
    std::optional<std::u16string> ChooseTarget(const ExportFileType& type) override {
        offered = type;
        return answer_;
    }
    std::optional<ExportFileType> offered;

  private:
    std::optional<std::u16string> answer_;
};

// Runs `during` while the options are being settled, then answers as told.
class ActingPrompt final : public XmlOptionsPrompt {
  public:
    ActingPrompt(bool save, std::function<void()> during)
        : save_(save), during_(std::move(during)) {}
    bool Confirm(XmlExportOptions&) override {
        ++asked;
        during_();
        return save_;
    }
    int asked = 0;

  private:
    bool save_;
    std::function<void()> during_;
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
    RecordingMessageSink messages;
    const fs::path target = dir.WriteFile("list.m3u", kOldContent);
    std::vector<ExportedFile> files = {MakeFile(u"a.mp3", u"X", u"Y", 215)};

    ExportOutcome Run(Exporter& exporter, const fs::path& to) {
        FixedExportTarget chooser(Text(to));
        return Export(exporter, files, chooser, messages);
    }
    void ExpectOldTargetAlone() {
        EXPECT_EQ(ScratchDirectory::ReadFile(target), kOldContent);
        EXPECT_EQ(FolderContent(dir.Root()), std::vector<std::string>{"list.m3u"});
    }
    void ExpectOneError(const char16_t* text, const fs::path& path) {
        const std::vector<Message> shown = messages.Shown();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, text + Text(path));
        EXPECT_EQ(shown[0].caption, u"Error");
        EXPECT_EQ(shown[0].icon, MessageIcon::Error);
    }
};

TEST_F(ExportFixture, CancelledSaveDialogWritesNothing) {
    M3uExporter exporter(Cp1252());
    RecordingChooser chooser(std::nullopt);
    EXPECT_EQ(Export(exporter, files, chooser, messages), ExportOutcome::Cancelled);
    ASSERT_TRUE(chooser.offered.has_value());
    EXPECT_EQ(*chooser.offered, exporter.GetFileType());
    EXPECT_TRUE(messages.Shown().empty());
    ExpectOldTargetAlone();
}

TEST_F(ExportFixture, ReplacesTheWholeContentOfAnExistingFile) {
    files[0].directory = Text(dir.Root());
    PlsExporter exporter(Cp1252());
    EXPECT_EQ(Run(exporter, target), ExportOutcome::Written);
    EXPECT_EQ(ScratchDirectory::ReadFile(target),
              "[playlist]\nFile1=a.mp3\nTitle1=Y\nLength1=215\nNumberOfEntries=1\nVersion=2");
    EXPECT_EQ(FolderContent(dir.Root()), std::vector<std::string>{"list.m3u"});
}

TEST_F(ExportFixture, ReplacementKeepsThePermissionsOfTheOldFile) {
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    M3uExporter exporter(Cp1252());
    EXPECT_EQ(Run(exporter, target), ExportOutcome::Written);
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ExportFixture, SymbolicLinkedTargetReplacesTheFileItNames) {
    fs::create_symlink(target, dir.Path("link.m3u"));
    M3uExporter exporter(Cp1252());
    EXPECT_EQ(Run(exporter, dir.Path("link.m3u")), ExportOutcome::Written);
    EXPECT_TRUE(fs::is_symlink(dir.Path("link.m3u")));
    EXPECT_EQ(ScratchDirectory::ReadFile(target).substr(0, 8), "#EXTM3U\n");
}

TEST_F(ExportFixture, CancelledXmlOptionsLeaveTargetAndOptionsAlone) {
    FakeSettingsKey key;
    ActingPrompt prompt(false, [] {});
    XmlExporter exporter(key, prompt);
    EXPECT_EQ(Run(exporter, target), ExportOutcome::Cancelled);
    EXPECT_EQ(prompt.asked, 1);
    EXPECT_EQ(key.writes, 0);
    EXPECT_TRUE(messages.Shown().empty());
    ExpectOldTargetAlone();
}

TEST_F(ExportFixture, XmlExportWritesTheDocumentAndStoresTheOptions) {
    FakeSettingsKey key;
    StoredXmlOptions prompt;
    XmlExporter exporter(key, prompt);
    EXPECT_EQ(Run(exporter, target), ExportOutcome::Written);
    EXPECT_EQ(ScratchDirectory::ReadFile(target).substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_GT(key.writes, 0);
}

TEST_F(ExportFixture, MissingFolderCannotBeOpenedAndNoOptionsAreAsked) {
    FakeSettingsKey key;
    ActingPrompt prompt(true, [] {});
    XmlExporter exporter(key, prompt);
    const fs::path nowhere = dir.Path("missing/list.xml");
    EXPECT_EQ(Run(exporter, nowhere), ExportOutcome::OpenFailed);
    ExpectOneError(u"Couldn't open file\r\n", nowhere);
    EXPECT_EQ(prompt.asked, 0);
    EXPECT_FALSE(fs::exists(nowhere));
}

TEST_F(ExportFixture, FolderAsTargetCannotBeOpened) {
    fs::create_directory(dir.Path("folder"));
    M3uExporter exporter(Cp1252());
    EXPECT_EQ(Run(exporter, dir.Path("folder")), ExportOutcome::OpenFailed);
    ExpectOneError(u"Couldn't open file\r\n", dir.Path("folder"));
    EXPECT_TRUE(fs::is_empty(dir.Path("folder")));
}

TEST_F(ExportFixture, EmptyOrFolderPathCannotBeOpened) {
    M3uExporter exporter(Cp1252());
    for (const std::u16string& path : {std::u16string(), Text(dir.Root()) + u"/new/"}) {
        FixedExportTarget chooser(path);
        EXPECT_EQ(Export(exporter, files, chooser, messages), ExportOutcome::OpenFailed);
    }
    ExpectOldTargetAlone();
}

// The temporary name is made from the target's name; a longest possible name still fits.
TEST_F(ExportFixture, LongestFileNameIsWritten) {
    M3uExporter exporter(Cp1252());
    const fs::path longest = dir.Path(std::string(251, 'n') + ".m3u");
    EXPECT_EQ(Run(exporter, longest), ExportOutcome::Written);
    EXPECT_EQ(ScratchDirectory::ReadFile(longest).substr(0, 8), "#EXTM3U\n");
}

TEST_F(ExportFixture, FailedCreationLeavesTheTargetAlone) {
    FileFaults faults;
    faults.Fail(FileCall::Open, 1, EACCES, true);
    ScopedFileFaults installed(faults);
    M3uExporter exporter(Cp1252());
    EXPECT_EQ(Run(exporter, target), ExportOutcome::OpenFailed);
    ExpectOneError(u"Couldn't open file\r\n", target);
    ExpectOldTargetAlone();
}

struct WriteFault {
    const char* name;
    FileCall call;
    int error;
};

class ExportWriteFaultTest : public ExportFixture,
                             public ::testing::WithParamInterface<WriteFault> {};

TEST_P(ExportWriteFaultTest, LeavesTheTargetByteForByte) {
    FileFaults faults;
    faults.Fail(GetParam().call, 1, GetParam().error, true);
    ScopedFileFaults installed(faults);
    M3uExporter exporter(Cp1252());
    EXPECT_EQ(Run(exporter, target), ExportOutcome::WriteFailed);
    ExpectOneError(u"Couldn't write to file\r\n", target);
    ExpectOldTargetAlone();
}

INSTANTIATE_TEST_SUITE_P(Faults, ExportWriteFaultTest,
                         ::testing::Values(WriteFault{"DiskFull", FileCall::Write, ENOSPC},
                                           WriteFault{"IoError", FileCall::Write, EIO},
                                           WriteFault{"Sync", FileCall::Sync, EIO},
                                           WriteFault{"Close", FileCall::Close, EIO}),
                         [](const auto& test) { return std::string(test.param.name); });

// The target turns into a folder with content while the options are open: the finished
// document cannot be renamed over it.
TEST_F(ExportFixture, FailedRenameIsAWriteFailureAndLeavesNoTemporaryFile) {
    FakeSettingsKey key;
    ActingPrompt prompt(true, [&] {
        fs::remove(target);
        fs::create_directory(target);
        dir.WriteFile("list.m3u/inside", "x");
    });
    XmlExporter exporter(key, prompt);
    EXPECT_EQ(Run(exporter, target), ExportOutcome::WriteFailed);
    ExpectOneError(u"Couldn't write to file\r\n", target);
    EXPECT_EQ(FolderContent(dir.Root()), std::vector<std::string>{"list.m3u"});
    EXPECT_EQ(ScratchDirectory::ReadFile(dir.Path("list.m3u/inside")), "x");
}

}  // namespace
}  // namespace velmora
