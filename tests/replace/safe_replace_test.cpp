#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <string>
#include <tuple>
#include <utility>

#include "replace/Leftovers.h"
#include "replace/RegularFile.h"
#include "replace/ReplaceFaults.h"
#include "replace/SafeReplace.h"
#include "replace/UniqueFd.h"
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

// A child process that has begun replacing folder/song.mp3 and written some of it, then
// waits; `ignoreHangup` makes it ignore SIGHUP first, as nohup does.
pid_t ChildInTheMiddleOfAReplace(const std::filesystem::path& folder, bool ignoreHangup) {
    int ready[2];
    if (::pipe(ready) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ready[0]);
        if (ignoreHangup)
            ::signal(SIGHUP, SIG_IGN);
        SafeReplace replacement;
        if (replacement.Begin((folder / "song.mp3").string(), TemporaryPattern::Save(), nullptr) ||
            replacement.Write(std::string(1'000'000, 'a')))
            ::_exit(3);
        [[maybe_unused]] const ssize_t told = ::write(ready[1], "r", 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char byte = 0;
    const bool started = ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
    return started ? child : -1;
}

// Ctrl-C, kill and a closed terminal end the process as before, without the temporary copy;
// kill -9 cannot be caught: the copy stays until the next replace in that folder sees that
// nobody holds it.
TEST(InterruptCleanup, EachSignalRemovesTheTemporaryFileAndStillEndsTheProcess) {
    const struct {
        const char* why;
        int signal;
        bool ignoreHangup;
        int endedBy;
    } rows[] = {
        {"Ctrl-C", SIGINT, false, SIGINT},
        {"kill", SIGTERM, false, SIGTERM},
        {"terminal closed", SIGHUP, false, SIGHUP},
        {"nohup keeps ignoring SIGHUP", SIGHUP, true, SIGTERM},
        {"kill -9", SIGKILL, false, SIGKILL},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        ScratchDirectory dir;
        dir.WriteFile("song.mp3", "old");
        const pid_t child = ChildInTheMiddleOfAReplace(dir.Root(), row.ignoreHangup);
        ASSERT_GT(child, 0);
        ASSERT_EQ(dir.Names().size(), 2u);
        ::kill(child, row.signal);
        if (row.endedBy != row.signal)
            ::kill(child, row.endedBy);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(WTERMSIG(status), row.endedBy);
        if (row.signal == SIGKILL) {
            ASSERT_FALSE(ReplaceWithNew(dir.Path("new.mp3")));
            std::filesystem::remove(dir.Path("new.mp3"));
        }
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"song.mp3"});
        EXPECT_EQ(ScratchDirectory::ReadFile(dir.Path("song.mp3")), "old");
    }
}

// Only unlocked regular files of the pattern go: a replace in progress elsewhere, the user's
// own files with similar names, and a FIFO that would block an open all stay.
TEST(Leftovers, OnlyUnlockedFilesOfThePatternAreRemoved) {
    ScratchDirectory dir;
    const std::string inUse = ".velmora-save-ba9876543210.tmp";
    const std::vector<std::string> kept = {".velmora-save-0123.tmp",
                                           ".velmora-save-0123456789AB.tmp",
                                           "velmora-save-0123456789ab.tmp",
                                           ".list.m3u.abcd123.tmp",
                                           inUse,
                                           "notes.tmp"};
    // Left by a save and by an export of list.m3u: both go.
    for (const std::string& name : kept)
        dir.WriteFile(name, "x");
    for (const char* name : {".velmora-save-0123456789ab.tmp", ".list.m3u.abcd1234.tmp"})
        dir.WriteFile(name, "x");
    ASSERT_EQ(::mkfifo(dir.Path(".velmora-save-fffffffffffe.tmp").c_str(), 0600), 0);
    const UniqueFd holder(::open(dir.Path(inUse).c_str(), O_RDONLY));
    ASSERT_EQ(::flock(holder.Get(), LOCK_EX), 0);

    replace::RemoveLeftovers(dir.Root(), TemporaryPattern::Save());
    replace::RemoveLeftovers(dir.Root(), TemporaryPattern::NamedAfter("list.m3u"));
    std::vector<std::string> expected = kept;
    expected.push_back(".velmora-save-fffffffffffe.tmp");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(dir.Names(), expected);
}

// Nothing waits on a FIFO (a blocking open would hang until the test's timeout) or reads a
// device; a regular file opened for writing comes back with blocking writes. A target can be
// replaced when it is absent or a writable regular file (the write bit counts even for root).
TEST(RegularFile, OpensRegularFilesOnlyAndReplacesOnlyWritableOnes) {
    ScratchDirectory dir;
    const auto readOnly = dir.WriteFile("ro.jpg", "x");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    const auto fifo = dir.Path("fifo.mp3");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    constexpr int kNot = replace::kNotRegularFile;
    // The errors of an open for reading, one for writing and CheckReplaceable (0: none).
    const std::pair<std::string, std::array<int, 3>> rows[] = {
        {fifo, {kNot, kNot, kNot}},
        {"/dev/zero", {kNot, kNot, kNot}},
        {dir.Root(), {EISDIR, EISDIR, EISDIR}},
        {dir.Path("missing.mp3"), {ENOENT, ENOENT, 0}},
        {dir.Path("new") / "", {ENOENT, ENOENT, EISDIR}},
        {dir.WriteFile("rw.jpg", "x"), {0, 0, 0}},
        {readOnly, {0, ::geteuid() == 0 ? 0 : EACCES, EACCES}},
    };
    for (const auto& [path, errors] : rows) {
        std::array<int, 3> got{};
        for (const int flags : {O_RDONLY, O_RDWR}) {
            const int fd = replace::OpenRegularFile(path.c_str(), flags);
            got[flags == O_RDWR ? 1 : 0] = fd < 0 ? errno : 0;
            if (fd >= 0) {
                EXPECT_EQ((::fcntl(fd, F_GETFL) & O_NONBLOCK) != 0, flags == O_RDONLY) << path;
                ::close(fd);
            }
        }
        struct stat existing {};
        got[2] = replace::CheckReplaceable(path, existing).value();
        EXPECT_EQ(got, errors) << path;
    }
}

TEST(FolderOf, BareNamesRootAndNestedPaths) {
    EXPECT_EQ(replace::FolderOf("song.mp3"), ".");
    EXPECT_EQ(replace::FolderOf("/song.mp3"), "/");
    EXPECT_EQ(replace::FolderOf("a/b/song.mp3"), "a/b");
}

}  // namespace
}  // namespace velmora
