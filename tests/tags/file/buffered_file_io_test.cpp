#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "support/ScratchDirectory.h"
#include "tags/FileTestHelpers.h"
#include "tags/file/BufferedFile.h"
#include "tags/file/BufferedFileFaults.h"

namespace velmora {
namespace {

using namespace testing;
using Cause = CFileExceptionEx::Cause;
using WriteCall = FileFaults::WriteCall;

// n pending bytes, then a write of L: the system writes that happen before any flush.
TEST(BufferedFile, WritesWholeBuffersAndKeepsTheRest) {
    constexpr std::size_t C = BufferedFile::kBufferSize;
    struct Case {
        std::size_t pending, length;
        std::vector<WriteCall> writes;
        std::uint64_t tell;
    };
    const Case cases[] = {
        {0, 100, {}, 0},
        {0, C, {{0, C}}, C},
        {0, 70000, {{0, 65536}}, 65536},  // and 4464 left in the buffer
        {100, C - 101, {}, 0},
        {100, C - 100, {{0, C}}, C},
        {100, 100000, {{0, C}, {C, 2 * C}}, 3 * C},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.pending << "+" << c.length);
        ScratchDirectory dir;
        const auto path = dir.Path("out.bin");
        const std::string bytes = Pattern(c.pending + c.length);
        FileFaults faults;
        ScopedFileFaults installed(faults);
        BufferedFile file;
        OpenOrFail(file, path, kExportMode);
        file.Write(bytes.data(), c.pending);
        file.Write(bytes.data() + c.pending, c.length);
        EXPECT_EQ(file.Tell(), c.tell);        // the position before the buffered bytes
        EXPECT_EQ(file.Size(), bytes.size());  // which Size writes out first
        auto writes = c.writes;
        if (bytes.size() > c.tell) {
            writes.push_back({c.tell, bytes.size() - c.tell});
        }
        EXPECT_EQ(faults.Writes(), writes);
        file.Close();
        EXPECT_EQ(ScratchDirectory::ReadFile(path), bytes);
    }
}

TEST(BufferedFile, ReadTruncateAndDestructorFlushFirstAt64BitPositions) {
    ScratchDirectory dir;
    const auto path = dir.WriteFile("in.bin", Pattern(300));
    std::string expected = Pattern(300).replace(10, 5, "abcde").substr(0, 200);
    {
        BufferedFile file;
        OpenOrFail(file, path, kSaveMode);
        file.Seek(10);
        file.Write("abcde", 5);
        char got[16] = {};
        ASSERT_EQ(file.Read(got, 4), 4u);
        EXPECT_EQ(std::string(got, 4), expected.substr(15, 4));
        file.Seek(290);
        file.Write("tail", 4);
        file.Truncate(200);
        EXPECT_EQ(file.Tell(), 200u);
        EXPECT_EQ(file.Size(), 200u);
        // Reads at or past the end are short, not errors.
        EXPECT_EQ(file.Read(got, sizeof got), 0u);
        file.Seek(196);
        EXPECT_EQ(file.Read(got, sizeof got), 4u);
        const std::uint64_t far = (std::uint64_t{1} << 32) + 7;  // positions are 64-bit
        file.Seek(far);
        file.Write("end", 3);
        EXPECT_EQ(file.Size(), far + 3);
        file.Seek(far);
        ASSERT_EQ(file.Read(got, sizeof got), 3u);
        EXPECT_EQ(std::string(got, 3), "end");
        file.Truncate(200);
        file.Seek(0);
        file.Write("xy", 2);  // left for the destructor
    }
    EXPECT_EQ(ScratchDirectory::ReadFile(path), expected.replace(0, 2, "xy"));

    // A read-only handle keeps the size its open's status gave: a load asks several times and
    // makes one fstat per file, in the open.
    FileFaults faults;
    ScopedFileFaults installed(faults);
    BufferedFile reader;
    OpenOrFail(reader, path, kLoadMode);
    EXPECT_EQ(reader.Size(), 200u);
    EXPECT_EQ(reader.OpenedAs().size, 200u);
    EXPECT_EQ(faults.Count(FileCall::Size), 0u);
}

// How each mode opens a name that is not valid UTF-8 (which must open like any other), and
// failures classified, not thrown, with the errno and the path.
TEST(BufferedFile, ModeBitsChooseHowToOpenAndFailuresAreClassified) {
    using B = BufferedFile;
    const std::string latin1 = "caf\xE9";
    const struct {
        std::string name;
        bool exists;
        unsigned mode;
        Cause cause;
        int error;
        const char* after;  // null: no file (checked for the first rows)
    } cases[] = {
        {latin1, false, B::kRead, Cause::FileNotFound, ENOENT, nullptr},
        {latin1, true, B::kWrite, Cause::None, 0, ""},
        {latin1, false, B::kReadWrite, Cause::FileNotFound, ENOENT, nullptr},
        {latin1, true, B::kReadWrite, Cause::None, 0, "old"},
        {latin1, true, B::kWrite | B::kOpenExisting, Cause::None, 0, "old"},
        {latin1, true, B::kWrite | B::kCreateNew, Cause::Generic, EEXIST, "old"},
        {latin1, true, B::kReadWrite | B::kCreateAlways, Cause::None, 0, ""},
        {latin1, false, B::kReadWrite | B::kOpenAlways, Cause::None, 0, ""},
        {"plain/child", false, kLoadMode, Cause::BadPath, ENOTDIR, nullptr},
        {std::string(300, 'n'), false, kLoadMode, Cause::BadPath, ENAMETOOLONG, nullptr},
        {"folder", false, kLoadMode, Cause::InvalidFile, EISDIR, nullptr},
        {std::string("a\0b", 3), false, kLoadMode, Cause::BadPath, EINVAL, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        ScratchDirectory dir;
        dir.WriteFile("plain", "x");
        std::filesystem::create_directory(dir.Path("folder"));
        const auto path = c.exists ? dir.WriteFile(c.name, "old") : dir.Path(c.name);
        BufferedFile file;
        CFileExceptionEx error;
        EXPECT_EQ(file.Open(TextPath(path), c.mode, error), c.cause == Cause::None);
        EXPECT_EQ(error.GetCause(), c.cause);
        EXPECT_EQ(error.ErrorNumber(), c.error);
        EXPECT_EQ(error.Path(), c.cause == Cause::None ? u"" : TextPath(path));
        file.Close();
        if (c.name == latin1) {
            EXPECT_EQ(ScratchDirectory::ReadFile(path), c.after ? c.after : "");
            EXPECT_EQ(std::filesystem::exists(path), c.after != nullptr);
        }
    }
}

TEST(BufferedFile, EveryInjectedFailureSurfacesAsFileException) {
    struct Case {
        FileCall call;
        int error;
        Cause cause;
        std::function<void(BufferedFile&)> action;
        bool closes = false;  // the handle must be released all the same
    };
    using F = BufferedFile&;
    const std::string big = Pattern(BufferedFile::kBufferSize);
    char b[4];
    const Case cases[] = {
        {FileCall::Write, ENOSPC, Cause::DiskFull, [](F f) { f.Write("abc", 3), f.Flush(); }},
        {FileCall::Write, EIO, Cause::HardIo, [&](F f) { f.Write(big.data(), big.size()); }},
        {FileCall::Write, EDQUOT, Cause::DiskFull, [](F f) { f.Write("abc", 3), f.Seek(0); }},
        {FileCall::Write, EIO, Cause::HardIo, [](F f) { f.Write("abc", 3), f.Close(); }, true},
        {FileCall::Read, EIO, Cause::HardIo, [&](F f) { f.Read(b, 4); }},
        {FileCall::Truncate, EPERM, Cause::AccessDenied, [](F f) { f.Truncate(10); }},
        {FileCall::Sync, EIO, Cause::HardIo, [](F f) { f.Sync(); }},
        {FileCall::Size, EOVERFLOW, Cause::BadSeek, [](F f) { f.Size(); }},
        {FileCall::Close, EIO, Cause::HardIo, [](F f) { f.Close(); }, true},
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
        try {
            c.action(file);
            ADD_FAILURE() << "no exception";
        } catch (const CFileExceptionEx& error) {
            EXPECT_EQ(error.GetCause(), c.cause);
            EXPECT_EQ(error.ErrorNumber(), c.error);
            EXPECT_EQ(error.Path(), TextPath(path));
        }
        EXPECT_EQ(file.IsOpen(), !c.closes);
        EXPECT_EQ(faults.Count(FileCall::Close), c.closes ? 1u : 0u);
    }
}

// A failed flush keeps the bytes that did not reach the file; they go out with the next one.
TEST(BufferedFile, ShortWriteThenFailureKeepsOnlyTheUnwrittenRest) {
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
    EXPECT_THROW(file.Write("x", 1), CFileExceptionEx);  // not buffered for a closed handle
}

}  // namespace
}  // namespace velmora
