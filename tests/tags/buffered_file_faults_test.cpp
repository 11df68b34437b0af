#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include "FileTestHelpers.h"
#include "support/ScratchDirectory.h"
#include "tags/BufferedFile.h"
#include "tags/BufferedFileFaults.h"

namespace velmora {
namespace {

using Cause = CFileExceptionEx::Cause;
using testing::Pattern;
using testing::ScratchDirectory;

// Runs `action` and returns the exception it threw (failing the test when none).
CFileExceptionEx Thrown(const std::function<void()>& action) {
    try {
        action();
    } catch (const CFileExceptionEx& error) {
        return error;
    }
    ADD_FAILURE() << "no CFileExceptionEx";
    return {};
}

struct FaultCase {
    const char* name;
    FileCall call;
    int error;
    Cause cause;
    std::function<void(BufferedFile&)> action;
};

class InjectedFaultTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(InjectedFaultTest, SurfacesAsFileException) {
    const FaultCase& c = GetParam();
    ScratchDirectory dir;
    const auto path = dir.WriteFile("f.bin", Pattern(1000));
    FileFaults faults;
    faults.Fail(c.call, 1, c.error);
    ScopedFileFaults installed(faults);
    BufferedFile file;
    testing::OpenOrFail(file, path, testing::kSaveMode);
    const CFileExceptionEx error = Thrown([&] { c.action(file); });
    EXPECT_EQ(error.GetCause(), c.cause);
    EXPECT_EQ(error.ErrorNumber(), c.error);
    EXPECT_EQ(error.Path(), testing::TextPath(path));
    EXPECT_EQ(faults.Count(c.call), 1u);
}

void WriteAndFlush(BufferedFile& file) {
    file.Write("abc", 3);
    file.Flush();
}

INSTANTIATE_TEST_SUITE_P(
    BufferedFile, InjectedFaultTest,
    ::testing::Values(FaultCase{"Flush", FileCall::Write, ENOSPC, Cause::DiskFull, WriteAndFlush},
                      FaultCase{"DirectWrite", FileCall::Write, EIO, Cause::HardIo,
                                [](BufferedFile& f) {
                                    const std::string big = Pattern(BufferedFile::kBufferSize);
                                    f.Write(big.data(), big.size());
                                }},
                      FaultCase{"FlushBeforeSeek", FileCall::Write, EDQUOT, Cause::DiskFull,
                                [](BufferedFile& f) {
                                    f.Write("abc", 3);
                                    f.Seek(0);
                                }},
                      FaultCase{"FlushBeforeClose", FileCall::Write, EIO, Cause::HardIo,
                                [](BufferedFile& f) {
                                    f.Write("abc", 3);
                                    f.Close();
                                }},
                      FaultCase{"Read", FileCall::Read, EIO, Cause::HardIo,
                                [](BufferedFile& f) {
                                    char b[4];
                                    f.Read(b, 4);
                                }},
                      FaultCase{"Truncate", FileCall::Truncate, EPERM, Cause::AccessDenied,
                                [](BufferedFile& f) { f.Truncate(10); }},
                      FaultCase{"Sync", FileCall::Sync, EIO, Cause::HardIo,
                                [](BufferedFile& f) { f.Sync(); }},
                      FaultCase{"Size", FileCall::Size, EOVERFLOW, Cause::BadSeek,
                                [](BufferedFile& f) { f.Size(); }},
                      FaultCase{"Close", FileCall::Close, EIO, Cause::HardIo,
                                [](BufferedFile& f) { f.Close(); }}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(BufferedFileFaults, InjectedOpenFailureIsReportedNotThrown) {
    FileFaults faults;
    faults.Fail(FileCall::Open, 1, EMFILE);
    ScopedFileFaults installed(faults);
    ScratchDirectory dir;
    BufferedFile file;
    CFileExceptionEx error;
    EXPECT_FALSE(file.Open(testing::TextPath(dir.Path("f")), testing::kExportMode, error));
    EXPECT_EQ(error.GetCause(), Cause::TooManyOpenFiles);
    EXPECT_FALSE(file.IsOpen());
}

TEST(BufferedFileFaults, FailedFlushKeepsThePendingBytes) {
    ScratchDirectory dir;
    const auto path = dir.Path("out.bin");
    FileFaults faults;
    faults.Fail(FileCall::Write, 1, ENOSPC);
    ScopedFileFaults installed(faults);
    BufferedFile file;
    testing::OpenOrFail(file, path, testing::kExportMode);
    file.Write("keep me", 7);
    EXPECT_THROW(file.Flush(), CFileExceptionEx);
    file.Close();  // the second attempt succeeds
    EXPECT_EQ(ScratchDirectory::ReadFile(path), "keep me");
}

TEST(BufferedFileFaults, ShortWriteThenFailureKeepsOnlyTheUnwrittenRest) {
    ScratchDirectory dir;
    const auto path = dir.Path("out.bin");
    const std::string bytes = Pattern(1000);
    FileFaults faults;
    faults.ShortenWrite(1, 400);
    faults.Fail(FileCall::Write, 2, ENOSPC);
    ScopedFileFaults installed(faults);
    BufferedFile file;
    testing::OpenOrFail(file, path, testing::kExportMode);
    file.Write(bytes.data(), bytes.size());
    const CFileExceptionEx error = Thrown([&] { file.Flush(); });
    EXPECT_EQ(error.GetCause(), Cause::DiskFull);
    EXPECT_EQ(file.Tell(), 400u);
    file.Flush();
    ASSERT_EQ(faults.Writes().size(), 3u);
    EXPECT_EQ(faults.Writes()[2].offset, 400u);
    EXPECT_EQ(faults.Writes()[2].size, 600u);
    file.Close();
    EXPECT_EQ(ScratchDirectory::ReadFile(path), bytes);
}

TEST(BufferedFileFaults, CloseReleasesTheHandleEvenWhenTheFlushFails) {
    ScratchDirectory dir;
    FileFaults faults;
    faults.Fail(FileCall::Write, 1, EIO, /*andLater=*/true);
    ScopedFileFaults installed(faults);
    BufferedFile file;
    testing::OpenOrFail(file, dir.Path("f"), testing::kExportMode);
    file.Write("x", 1);
    EXPECT_THROW(file.Close(), CFileExceptionEx);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(faults.Count(FileCall::Close), 1u);
}

TEST(BufferedFileFaults, StickyFailureFailsEveryLaterCall) {
    ScratchDirectory dir;
    const auto path = dir.WriteFile("f.bin", Pattern(100));
    FileFaults faults;
    faults.Fail(FileCall::Read, 2, EIO, /*andLater=*/true);
    ScopedFileFaults installed(faults);
    BufferedFile file;
    testing::OpenOrFail(file, path, testing::kLoadMode);
    char b[10];
    EXPECT_EQ(file.Read(b, 10), 10u);
    EXPECT_THROW(file.Read(b, 10), CFileExceptionEx);
    EXPECT_THROW(file.Read(b, 10), CFileExceptionEx);
    EXPECT_EQ(faults.Count(FileCall::Read), 3u);
}

TEST(BufferedFileFaults, CountsCallsOfEveryFileOnTheThreadAndOnlyWhileInstalled) {
    ScratchDirectory dir;
    FileFaults faults;
    {
        ScopedFileFaults installed(faults);
        BufferedFile a;
        BufferedFile b;
        testing::OpenOrFail(a, dir.Path("a"), testing::kExportMode);
        testing::OpenOrFail(b, dir.Path("b"), testing::kExportMode);
        WriteAndFlush(a);
        WriteAndFlush(b);
        WriteAndFlush(a);
    }
    BufferedFile c;
    testing::OpenOrFail(c, dir.Path("c"), testing::kExportMode);
    WriteAndFlush(c);
    EXPECT_EQ(faults.Count(FileCall::Open), 2u);
    EXPECT_EQ(faults.Count(FileCall::Write), 3u);
    EXPECT_EQ(faults.Count(FileCall::Close), 2u);
}

TEST(BufferedFileFaults, FailingTheKthWriteHitsExactlyThatWrite) {
    for (std::uint64_t k = 1; k <= 4; ++k) {
        ScratchDirectory dir;
        const auto path = dir.Path("out.bin");
        FileFaults faults;
        faults.Fail(FileCall::Write, k, ENOSPC);
        ScopedFileFaults installed(faults);
        BufferedFile file;
        testing::OpenOrFail(file, path, testing::kExportMode);
        int failures = 0;
        for (unsigned i = 0; i < 4; ++i) {
            try {
                WriteAndFlush(file);
            } catch (const CFileExceptionEx&) {
                ++failures;
            }
        }
        file.Close();
        EXPECT_EQ(failures, 1) << "k=" << k;
        // A failed flush keeps its bytes; they go out with the next one.
        EXPECT_EQ(ScratchDirectory::ReadFile(path), "abcabcabcabc") << "k=" << k;
    }
}

}  // namespace
}  // namespace velmora
