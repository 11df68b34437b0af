#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include "replace/Leftovers.h"
#include "replace/SafeReplace.h"
#include "replace/UniqueFd.h"
#include "support/ScratchDirectory.h"

namespace velmora {
namespace {

using replace::SafeReplace;
using replace::TemporaryPattern;
using testing::ScratchDirectory;

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
            ASSERT_EQ(dir.Names().size(), 2u);
            SafeReplace replacement;
            ASSERT_FALSE(replacement.Begin(dir.Path("new.mp3"), TemporaryPattern::Save(), nullptr));
            ASSERT_FALSE(replacement.Commit());
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

}  // namespace
}  // namespace velmora
