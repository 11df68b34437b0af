#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include "FileTestHelpers.h"
#include "support/ScratchDirectory.h"
#include "tags/BufferedFile.h"
#include "tags/BufferedFileFaults.h"

namespace velmora {
namespace {

using namespace testing;
using Cause = CFileExceptionEx::Cause;

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

void WriteAndFlush(BufferedFile& file) {
    file.Write("abc", 3);
    file.Flush();
}

TEST(BufferedFileFaults, EveryInjectedFailureSurfacesAsFileException) {
    struct Case {
        FileCall call;
        int error;
        Cause cause;
        std::function<void(BufferedFile&)> action;
    };
    using F = BufferedFile&;
    const std::string big = Pattern(BufferedFile::kBufferSize);
    char b[4];
    const Case cases[] = {
        {FileCall::Write, ENOSPC, Cause::DiskFull, WriteAndFlush},
        {FileCall::Write, EIO, Cause::HardIo, [&](F f) { f.Write(big.data(), big.size()); }},
        {FileCall::Write, EDQUOT, Cause::DiskFull, [](F f) { f.Write("abc", 3), f.Seek(0); }},
        {FileCall::Write, EIO, Cause::HardIo, [](F f) { f.Write("abc", 3), f.Close(); }},
        {FileCall::Read, EIO, Cause::HardIo, [&](F f) { f.Read(b, 4); }},
        {FileCall::Truncate, EPERM, Cause::AccessDenied, [](F f) { f.Truncate(10); }},
        {FileCall::Sync, EIO, Cause::HardIo, [](F f) { f.Sync(); }},
        {FileCall::Size, EOVERFLOW, Cause::BadSeek, [](F f) { f.Size(); }},
        {FileCall::Close, EIO, Cause::HardIo, [](F f) { f.Close(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        ScratchDirectory dir;
        const auto path = dir.WriteFile("f.bin", Pattern(1000));
        FileFaults faults;
        faults.Fail(c.call, 1, c.error);
        ScopedFileFaults installed(faults);
        BufferedFile file;
        OpenOrFail(file, path, kSaveMode);
        const CFileExceptionEx error = Thrown([&] { c.action(file); });
        EXPECT_EQ(error.GetCause(), c.cause);
        EXPECT_EQ(error.ErrorNumber(), c.error);
        EXPECT_EQ(error.Path(), TextPath(path));
    }
}

// A failed flush keeps its bytes; they go out with the next one.
TEST(BufferedFileFaults, FailingTheKthWriteLosesNoBytes) {
    for (std::uint64_t k = 1; k <= 4; ++k) {
        ScratchDirectory dir;
        FileFaults faults;
        faults.Fail(FileCall::Write, k, ENOSPC);
        ScopedFileFaults installed(faults);
        BufferedFile file;
        OpenOrFail(file, dir.Path("out.bin"), kExportMode);
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
        EXPECT_EQ(ScratchDirectory::ReadFile(dir.Path("out.bin")), "abcabcabcabc") << "k=" << k;
    }
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
    OpenOrFail(file, path, kExportMode);
    file.Write(bytes.data(), bytes.size());
    EXPECT_THROW(file.Flush(), CFileExceptionEx);
    EXPECT_EQ(file.Tell(), 400u);
    file.Flush();
    EXPECT_EQ(faults.Writes().back(), (FileFaults::WriteCall{400, 600}));
    file.Close();
    EXPECT_EQ(ScratchDirectory::ReadFile(path), bytes);
}

TEST(BufferedFileFaults, CloseReleasesTheHandleEvenWhenTheFlushFails) {
    ScratchDirectory dir;
    FileFaults faults;
    faults.Fail(FileCall::Write, 1, EIO, /*andLater=*/true);
    ScopedFileFaults installed(faults);
    BufferedFile file;
    OpenOrFail(file, dir.Path("f"), kExportMode);
    file.Write("x", 1);
    EXPECT_THROW(file.Close(), CFileExceptionEx);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(faults.Count(FileCall::Close), 1u);
}

}  // namespace
}  // namespace velmora
