#include <gtest/gtest.h>

#include <cerrno>

#include "TagWriterTestSupport.h"
#include "tags/ReplaceFaults.h"
#include "tags/SafeRename.h"

namespace velmora {
namespace {

using testing::ScratchDirectory;

// With and without kernel support for RENAME_NOREPLACE (without it, a hard link takes the
// new name and then the old one goes; the link cannot take a name that exists).
TEST(RenameNoReplace, NeverReplacesAnExistingFile) {
    for (const bool kernel : {true, false}) {
        for (const bool taken : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "kernel " << kernel << " taken " << taken);
            ScratchDirectory dir;
            dir.WriteFile("old.mp3", "mine");
            if (taken) {
                dir.WriteFile("new.mp3", "theirs");
            }
            ReplaceFaults faults;
            if (!kernel) {
                faults.Fail(ReplaceStep::KernelNoReplace, 1, EINVAL);
            }
            ScopedReplaceFaults installed(faults);
            int error = -1;
            EXPECT_EQ(
                RenameNoReplace(testing::TextPath(dir.Root()), u"old.mp3", u"new.mp3", &error),
                !taken);
            EXPECT_EQ(error, taken ? EEXIST : 0);
            EXPECT_EQ(ScratchDirectory::ReadFile(dir.Path("old.mp3")), taken ? "mine" : "");
            EXPECT_EQ(ScratchDirectory::ReadFile(dir.Path("new.mp3")), taken ? "theirs" : "mine");
        }
    }
}

TEST(RenameNoReplace, NamesThatAreNotUtf8RenameLosslessly) {
    ScratchDirectory dir;
    dir.WriteFile("caf\xE9.mp3", "latin-1 name");
    EXPECT_TRUE(RenameNoReplace(testing::TextPath(dir.Root()), text::FileNameToText("caf\xE9.mp3"),
                                u"cafe.mp3"));
    EXPECT_EQ(ScratchDirectory::ReadFile(dir.Path("cafe.mp3")), "latin-1 name");
}

TEST(RenameFileOrReport, ReportsAFailureWithBothNames) {
    const struct {
        bool source, targetTaken;
        int injected;
    } cases[] = {{true, false, 0}, {true, true, 0}, {false, false, 0}, {true, false, EACCES}};
    for (const auto& c : cases) {
        ScratchDirectory dir;
        testing::RecordingMessageSink messages;
        if (c.source) {
            dir.WriteFile("a.mp3", "a");
        }
        if (c.targetTaken) {
            dir.WriteFile("b.mp3", "b");
        }
        ReplaceFaults faults;
        if (c.injected != 0) {
            faults.Fail(ReplaceStep::Rename, 1, c.injected);
        }
        ScopedReplaceFaults installed(faults);
        const bool fine = c.source && !c.targetTaken && c.injected == 0;
        EXPECT_EQ(RenameFileOrReport(testing::TextPath(dir.Root()), u"a.mp3", u"b.mp3", messages),
                  fine);
        ASSERT_EQ(messages.Shown().size(), fine ? 0u : 1u) << &c - cases;
        if (!fine) {
            EXPECT_EQ(messages.Shown()[0].text, u"Couldn't rename \"a.mp3\" to \"b.mp3\".");
            EXPECT_EQ(messages.Shown()[0].caption, u"Error");
            EXPECT_EQ(messages.Shown()[0].icon, MessageIcon::Error);
        }
    }
}

}  // namespace
}  // namespace velmora
