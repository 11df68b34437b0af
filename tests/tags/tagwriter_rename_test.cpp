#include <gtest/gtest.h>

#include <cerrno>

#include "TagWriterTestSupport.h"
#include "tags/ReplaceFaults.h"
#include "tags/SafeRename.h"

namespace velmora {
namespace {

using testing::ScratchDirectory;
using namespace std::string_literals;

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

// Refused because the name is taken (0) or by the system (EACCES): one message naming both
// files; with nothing in the way (-1), none.
TEST(RenameFileOrReport, ReportsAFailureWithBothNames) {
    for (const int injected : {0, EACCES, -1}) {
        ScratchDirectory dir;
        testing::RecordingMessageSink messages;
        dir.WriteFile("a.mp3", "a");
        if (injected == 0) {
            dir.WriteFile("b.mp3", "b");
        }
        ReplaceFaults faults;
        faults.Fail(ReplaceStep::Rename, 1, std::max(injected, 0));
        ScopedReplaceFaults installed(faults);
        EXPECT_EQ(RenameFileOrReport(testing::TextPath(dir.Root()), u"a.mp3", u"b.mp3", messages),
                  injected == -1);
        const auto expected = injected == -1
                                  ? std::vector<std::u16string>{}
                                  : std::vector{u"Couldn't rename \"a.mp3\" to \"b.mp3\"."s};
        EXPECT_EQ(messages.Texts(), expected) << injected;
        EXPECT_TRUE(messages.Shown().empty() || messages.Shown()[0].caption == u"Error");
    }
}

}  // namespace
}  // namespace velmora
