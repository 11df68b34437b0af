#include <gtest/gtest.h>

#include <cerrno>

#include "TagWriterTestSupport.h"
#include "tags/ReplaceFaults.h"
#include "tags/SafeRename.h"

namespace velmora {
namespace {

using testing::ScratchDirectory;

struct RenameFixture {
    ScratchDirectory dir;
    std::u16string directory = testing::TextPath(dir.Root());
    testing::RecordingMessageSink messages;
};

TEST(RenameNoReplaceTest, MovesTheFileToAFreeName) {
    RenameFixture f;
    f.dir.WriteFile("old.mp3", "audio");
    int error = -1;
    EXPECT_TRUE(RenameNoReplace(f.directory, u"old.mp3", u"new.mp3", &error));
    EXPECT_EQ(error, 0);
    EXPECT_FALSE(std::filesystem::exists(f.dir.Path("old.mp3")));
    EXPECT_EQ(ScratchDirectory::ReadFile(f.dir.Path("new.mp3")), "audio");
}

TEST(RenameNoReplaceTest, NeverReplacesAnExistingFile) {
    RenameFixture f;
    f.dir.WriteFile("old.mp3", "mine");
    f.dir.WriteFile("taken.mp3", "someone else's");
    int error = 0;
    EXPECT_FALSE(RenameNoReplace(f.directory, u"old.mp3", u"taken.mp3", &error));
    EXPECT_EQ(error, EEXIST);
    EXPECT_EQ(ScratchDirectory::ReadFile(f.dir.Path("old.mp3")), "mine");
    EXPECT_EQ(ScratchDirectory::ReadFile(f.dir.Path("taken.mp3")), "someone else's");
}

// A file system without RENAME_NOREPLACE: a hard link takes the new name, then the old one
// goes; the link cannot take a name that exists.
TEST(RenameNoReplaceTest, WithoutKernelSupportLinksThenUnlinks) {
    for (const bool taken : {false, true}) {
        SCOPED_TRACE(taken ? "taken" : "free");
        RenameFixture f;
        f.dir.WriteFile("old.mp3", "mine");
        if (taken) {
            f.dir.WriteFile("new.mp3", "theirs");
        }
        ReplaceFaults faults;
        faults.Fail(ReplaceStep::KernelNoReplace, 1, EINVAL);
        ScopedReplaceFaults installed(faults);
        int error = 0;
        EXPECT_EQ(RenameNoReplace(f.directory, u"old.mp3", u"new.mp3", &error), !taken);
        EXPECT_EQ(error, taken ? EEXIST : 0);
        EXPECT_EQ(std::filesystem::exists(f.dir.Path("old.mp3")), taken);
        EXPECT_EQ(ScratchDirectory::ReadFile(f.dir.Path("new.mp3")), taken ? "theirs" : "mine");
        EXPECT_EQ(faults.Count(ReplaceStep::KernelNoReplace), 1u);
    }
}

TEST(RenameNoReplaceTest, NamesThatAreNotUtf8RenameLosslessly) {
    RenameFixture f;
    f.dir.WriteFile("caf\xE9.mp3", "latin-1 name");
    const std::u16string oldName = text::FileNameToText("caf\xE9.mp3");
    EXPECT_TRUE(RenameNoReplace(f.directory, oldName, u"cafe.mp3"));
    EXPECT_EQ(ScratchDirectory::ReadFile(f.dir.Path("cafe.mp3")), "latin-1 name");
}

TEST(RenameFileOrReportTest, ReportsTheFailureWithBothNames) {
    struct Case {
        const char* name;
        bool targetTaken;
        int injected;
    };
    const Case cases[] = {
        {"TargetTaken", true, 0}, {"MissingSource", false, 0}, {"SystemRefuses", false, EACCES}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RenameFixture f;
        if (c.targetTaken || c.injected != 0) {
            f.dir.WriteFile("a.mp3", "a");
        }
        if (c.targetTaken) {
            f.dir.WriteFile("b.mp3", "b");
        }
        ReplaceFaults faults;
        if (c.injected != 0) {
            faults.Fail(ReplaceStep::Rename, 1, c.injected);
        }
        ScopedReplaceFaults installed(faults);
        EXPECT_FALSE(RenameFileOrReport(f.directory, u"a.mp3", u"b.mp3", f.messages));
        const auto shown = f.messages.Shown();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, u"Couldn't rename \"a.mp3\" to \"b.mp3\".");
        EXPECT_EQ(shown[0].caption, u"Error");
        EXPECT_EQ(shown[0].icon, MessageIcon::Error);
    }
}

TEST(RenameFileOrReportTest, SuccessShowsNothing) {
    RenameFixture f;
    f.dir.WriteFile("a.mp3", "a");
    EXPECT_TRUE(RenameFileOrReport(f.directory, u"a.mp3", u"A.mp3", f.messages));
    EXPECT_TRUE(f.messages.Shown().empty());
    EXPECT_TRUE(std::filesystem::exists(f.dir.Path("A.mp3")));
}

}  // namespace
}  // namespace velmora
