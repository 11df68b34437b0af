#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <string>
#include <utility>

#include "replace/RegularFile.h"
#include "support/ScratchDirectory.h"

namespace velmora {
namespace {

using replace::kNotRegularFile;
using testing::ScratchDirectory;

// Nothing waits on a FIFO (a blocking open would hang until the test's timeout) or reads a
// device; a regular file opened for writing comes back with blocking writes. A target can be
// replaced when it is absent or a writable regular file (the write bit counts even for root).
TEST(RegularFile, OpensRegularFilesOnlyAndReplacesOnlyWritableOnes) {
    ScratchDirectory dir;
    const auto readOnly = dir.WriteFile("ro.jpg", "x");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    const auto fifo = dir.Path("fifo.mp3");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    constexpr int kNot = kNotRegularFile;
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

}  // namespace
}  // namespace velmora
