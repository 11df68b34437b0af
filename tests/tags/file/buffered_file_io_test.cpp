#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <functional>

#include "support/ScratchDirectory.h"
#include "tags/FileTestHelpers.h"
#include "tags/file/BufferedFile.h"
#include "tags/file/BufferedFileFaults.h"

namespace velmora {
namespace {

using namespace testing;
using Cause = CFileExceptionEx::Cause;

// A read past the end is short, positions are 64-bit, and the destructor writes what is left.
TEST(BufferedFile, PositionsAre64BitAndTheDestructorFlushes) {
    ScratchDirectory dir;
    const auto path = dir.WriteFile("in.bin", Pattern(300));
    {
        BufferedFile file;
        OpenOrFail(file, path, kSaveMode);
        const std::uint64_t far = (std::uint64_t{1} << 32) + 7;
        file.Seek(far);
        file.Write("end", 3);
        EXPECT_EQ(file.Size(), far + 3);
        file.Seek(far);
        char got[8] = {};
        ASSERT_EQ(file.Read(got, sizeof got), 3u);
        EXPECT_EQ(std::string(got, 3), "end");
        file.Truncate(200);
        file.Seek(0);
        file.Write("xy", 2);
    }
    EXPECT_EQ(ScratchDirectory::ReadFile(path), Pattern(300).replace(0, 2, "xy").substr(0, 200));
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
        EXPECT_EQ(std::tuple(error.GetCause(), error.ErrorNumber(), error.Path()),
                  std::tuple(c.cause, c.error, c.cause == Cause::None ? u"" : TextPath(path)));
        file.Close();
        if (c.name == latin1) {
            EXPECT_EQ(std::filesystem::exists(path) ? ScratchDirectory::ReadFile(path) : "(none)",
                      c.after ? c.after : "(none)");
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
            EXPECT_EQ(std::tuple(error.GetCause(), error.ErrorNumber(), error.Path()),
                      std::tuple(c.cause, c.error, TextPath(path)));
        }
        EXPECT_EQ(std::tuple(file.IsOpen(), faults.Count(FileCall::Close)),
                  std::tuple(!c.closes, c.closes ? 1u : 0u));
    }
}

}  // namespace
}  // namespace velmora
