#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "FileTestHelpers.h"
#include "support/ScratchDirectory.h"
#include "tags/BufferedFile.h"
#include "tags/BufferedFileFaults.h"

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
        {0, 70000, {{0, 65536}}, 65536},
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
        EXPECT_EQ(faults.Writes(), c.writes);
        EXPECT_EQ(file.Tell(), c.tell);  // Tell does not flush
        EXPECT_EQ(file.Size(), bytes.size());
        std::vector<WriteCall> all = c.writes;  // and the flush of the rest
        if (bytes.size() > c.tell) {
            all.push_back({c.tell, bytes.size() - c.tell});
        }
        EXPECT_EQ(faults.Writes(), all);
        file.Close();
        EXPECT_EQ(ScratchDirectory::ReadFile(path), bytes);
    }
}

TEST(BufferedFile, ReadTruncateAndDestructorFlushFirst) {
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
        file.Seek(1000);
        EXPECT_EQ(file.Read(got, sizeof got), 0u);
        file.Seek(0);
        file.Write("xy", 2);  // left for the destructor
    }
    EXPECT_EQ(ScratchDirectory::ReadFile(path), expected.replace(0, 2, "xy"));
}

TEST(BufferedFile, PositionsBeyondFourGigabytesWork) {
    ScratchDirectory dir;
    const std::uint64_t far = (std::uint64_t{1} << 32) + 7;
    BufferedFile file;
    OpenOrFail(file, dir.Path("sparse.bin"),
               BufferedFile::kReadWrite | BufferedFile::kCreateAlways);
    file.Seek(far);
    file.Write("end", 3);
    EXPECT_EQ(file.Size(), far + 3);
    file.Seek(far);
    char got[3];
    ASSERT_EQ(file.Read(got, 3), 3u);
    EXPECT_EQ(std::string(got, 3), "end");
    file.Truncate(0);
}

// On a name that is not valid UTF-8, which must open like any other.
TEST(BufferedFile, ModeBitsChooseHowToOpen) {
    using B = BufferedFile;
    const struct {
        bool exists;
        unsigned mode;
        Cause cause;
        const char* after;  // null: no file
    } cases[] = {
        {false, B::kRead, Cause::FileNotFound, nullptr},
        {true, B::kWrite, Cause::None, ""},
        {false, B::kReadWrite, Cause::FileNotFound, nullptr},
        {true, B::kReadWrite, Cause::None, "old"},
        {true, B::kWrite | B::kOpenExisting, Cause::None, "old"},
        {true, B::kWrite | B::kCreateNew, Cause::Generic, "old"},
        {true, B::kReadWrite | B::kCreateAlways, Cause::None, ""},
        {false, B::kReadWrite | B::kOpenAlways, Cause::None, ""},
    };
    for (const auto& c : cases) {
        ScratchDirectory dir;
        const auto path = c.exists ? dir.WriteFile("caf\xE9", "old") : dir.Path("caf\xE9");
        BufferedFile file;
        CFileExceptionEx error;
        EXPECT_EQ(file.Open(TextPath(path), c.mode, error), c.cause == Cause::None);
        EXPECT_EQ(error.GetCause(), c.cause) << &c - cases;
        file.Close();
        EXPECT_EQ(ScratchDirectory::ReadFile(path), c.after ? c.after : "");
        EXPECT_EQ(std::filesystem::exists(path), c.after != nullptr);
    }
}

TEST(BufferedFile, OpenFailuresAreClassifiedNotThrown) {
    ScratchDirectory dir;
    dir.WriteFile("plain", "x");
    const struct {
        std::u16string path;
        Cause cause;
        int error;
    } cases[] = {
        {TextPath(dir.Path("missing")), Cause::FileNotFound, ENOENT},
        {TextPath(dir.Root()), Cause::InvalidFile, EISDIR},
        {TextPath(dir.Path("plain") / "child"), Cause::BadPath, ENOTDIR},
        {TextPath(dir.Path(std::string(300, 'n'))), Cause::BadPath, ENAMETOOLONG},
    };
    for (const auto& c : cases) {
        BufferedFile file;
        CFileExceptionEx error;
        EXPECT_FALSE(file.Open(c.path, kLoadMode, error));
        EXPECT_EQ(error.GetCause(), c.cause);
        EXPECT_EQ(error.ErrorNumber(), c.error);
        EXPECT_EQ(error.Path(), c.path);
    }
    BufferedFile file;
    CFileExceptionEx error;
    EXPECT_FALSE(file.Open(std::u16string(u"/tmp/a\0b", 8), kLoadMode, error));
    EXPECT_EQ(error.GetCause(), Cause::BadPath);
}

TEST(BufferedFile, MisuseThrowsRatherThanActing) {
    ScratchDirectory dir;
    BufferedFile file;
    OpenOrFail(file, dir.Path("f"), kExportMode);
    EXPECT_THROW(file.Seek(std::uint64_t{1} << 63), CFileExceptionEx);
    file.Close();
    file.Close();  // closing twice is harmless
    char byte = 0;
    EXPECT_THROW(file.Size(), CFileExceptionEx);
    EXPECT_THROW(file.Read(&byte, 1), CFileExceptionEx);
    EXPECT_THROW(file.Write(&byte, 1), CFileExceptionEx);
}

}  // namespace
}  // namespace velmora
