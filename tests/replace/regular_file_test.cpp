#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "replace/RegularFile.h"
#include "support/ScratchDirectory.h"

namespace velmora {
namespace {

using replace::kNotRegularFile;
using testing::ScratchDirectory;

// Nothing waits on a FIFO (a blocking open would hang until the test's timeout) or reads a
// device; a regular file opened for writing comes back with blocking writes.
TEST(OpenRegularFile, OpensRegularFilesOnlyAndNeverWaits) {
    ScratchDirectory dir;
    const auto file = dir.WriteFile("song.mp3", "x");
    const auto fifo = dir.Path("fifo.mp3");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        std::string path;
        int flags;
        int error;
    } rows[] = {
        {fifo, O_RDONLY, kNotRegularFile},
        {fifo, O_RDWR, kNotRegularFile},
        {"/dev/zero", O_RDONLY, kNotRegularFile},
        {dir.Root(), O_RDONLY, EISDIR},
        {dir.Path("missing.mp3"), O_RDONLY, ENOENT},
        {file, O_RDONLY, 0},
        {file, O_RDWR, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        const int fd = replace::OpenRegularFile(row.path.c_str(), row.flags);
        EXPECT_EQ(fd < 0 ? errno : 0, row.error);
        if (fd >= 0) {
            EXPECT_EQ((::fcntl(fd, F_GETFL) & O_NONBLOCK) != 0, row.flags == O_RDONLY);
            ::close(fd);
        }
    }
}

TEST(CheckReplaceable, OnlyAbsentTargetsOrWritableRegularFiles) {
    ScratchDirectory dir;
    const auto readOnly = dir.WriteFile("ro.jpg", "x");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    ASSERT_EQ(::mkfifo(dir.Path("fifo.jpg").c_str(), 0600), 0);
    const struct {
        const char* why;
        std::string target;
        int error;
    } rows[] = {
        {"absent", dir.Path("new.jpg"), 0},
        {"writable", dir.WriteFile("rw.jpg", "x"), 0},
        {"no write bit, even for root", readOnly, EACCES},
        {"folder", dir.Root(), EISDIR},
        {"trailing slash", dir.Path("new") / "", EISDIR},
        {"FIFO", dir.Path("fifo.jpg"), kNotRegularFile},
        {"device", "/dev/null", kNotRegularFile},
    };
    for (const auto& row : rows) {
        struct stat existing {};
        EXPECT_EQ(replace::CheckReplaceable(row.target, existing).value(), row.error) << row.why;
    }
}

}  // namespace
}  // namespace velmora
