#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <tuple>

#include "replace/ReplaceFaults.h"
#include "replace/SafeReplace.h"
#include "support/ScratchDirectory.h"

namespace velmora {
namespace {

using replace::SafeReplace;
using replace::TemporaryPattern;
using testing::ScratchDirectory;

const std::string kOld = "old content";
const std::string kNew(100'000, 'n');

// Replaces the target with kNew; the error of the first step that failed.
std::error_code ReplaceWithNew(const std::string& target) {
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    SafeReplace replacement;
    std::error_code error =
        replacement.Begin(target, TemporaryPattern::Save(), exists ? &existing : nullptr);
    if (!error)
        error = replacement.Write(kNew);
    return error ? error : replacement.Commit();
}

// Whatever step fails, the target keeps its old bytes and no temporary file is left; a
// failing fsync of the folder comes after the rename and is not a failure of the replace. The
// new file has the old one's permission bits, owner and group (owner and group as root only).
TEST(SafeReplace, EachFailingStepLeavesTheTargetAndNoTemporaryFile) {
    const struct {
        const char* why;
        ReplaceStep step;
        int error;
        bool replaced;
    } rows[] = {
        {"no room for the temporary file", ReplaceStep::CreateTemporary, ENOSPC, false},
        {"lock refused", ReplaceStep::Lock, ENOLCK, false},
        {"permissions not copied", ReplaceStep::Chmod, EPERM, false},
        {"disk full while writing", ReplaceStep::Write, ENOSPC, false},
        {"data not on disk", ReplaceStep::Sync, EIO, false},
        {"rename refused", ReplaceStep::Rename, EXDEV, false},
        {"folder not synced", ReplaceStep::SyncDirectory, EIO, true},
    };
    const bool root = ::geteuid() == 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        ScratchDirectory dir;
        const auto target = dir.WriteFile("song.mp3", kOld);
        ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
        ASSERT_TRUE(!root || ::chown(target.c_str(), 1234, 5678) == 0);
        ReplaceFaults faults;
        faults.Fail(row.step, 1, row.error);
        const std::error_code error = [&] {
            ScopedReplaceFaults installed(faults);
            return ReplaceWithNew(target);
        }();
        EXPECT_EQ(faults.Count(row.step), 1u);
        EXPECT_EQ(error.value(), row.replaced ? 0 : row.error);
        EXPECT_EQ(ScratchDirectory::ReadFile(target), row.replaced ? kNew : kOld);
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"song.mp3"});
        struct stat after {};
        ASSERT_EQ(::stat(target.c_str(), &after), 0);
        EXPECT_EQ(std::tuple(after.st_mode & 07777, after.st_uid, after.st_gid),
                  std::tuple(0640u, root ? 1234u : ::geteuid(), root ? 5678u : ::getegid()));
    }
}

// A file that appeared meanwhile is never replaced in that mode; a new target gets a new
// file's permissions.
TEST(SafeReplace, NoReplaceModeNeverReplacesAFileThatAppeared) {
    ScratchDirectory dir;
    const auto target = dir.Path("song.mp3");
    SafeReplace replacement;
    ASSERT_FALSE(replacement.Begin(target, TemporaryPattern::Save(), nullptr));
    ASSERT_FALSE(replacement.Write(kNew));
    dir.WriteFile("song.mp3", "theirs");
    EXPECT_EQ(replacement.Commit(SafeReplace::Mode::NoReplace), std::errc::file_exists);
    EXPECT_EQ(ScratchDirectory::ReadFile(target), "theirs");
    const mode_t mask = ::umask(022);
    const auto fresh = dir.Path("new.mp3");
    ASSERT_FALSE(ReplaceWithNew(fresh));
    ::umask(mask);
    EXPECT_EQ(std::filesystem::status(fresh).permissions(), std::filesystem::perms(0644));
}

TEST(FolderOf, BareNamesRootAndNestedPaths) {
    EXPECT_EQ(replace::FolderOf("song.mp3"), ".");
    EXPECT_EQ(replace::FolderOf("/song.mp3"), "/");
    EXPECT_EQ(replace::FolderOf("a/b/song.mp3"), "a/b");
}

}  // namespace
}  // namespace velmora
