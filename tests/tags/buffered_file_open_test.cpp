#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "FileTestHelpers.h"
#include "support/ScratchDirectory.h"
#include "tags/BufferedFile.h"

namespace velmora {
namespace {

using Cause = CFileExceptionEx::Cause;
using testing::ScratchDirectory;
using testing::TextPath;

TEST(CFileExceptionEx, ClassifiesErrno) {
    struct Case {
        int error;
        Cause cause;
    };
    const Case cases[] = {
        {0, Cause::None},
        {ENOENT, Cause::FileNotFound},
        {EACCES, Cause::AccessDenied},
        {EPERM, Cause::AccessDenied},
        {EROFS, Cause::AccessDenied},
        {ENOSPC, Cause::DiskFull},
        {EDQUOT, Cause::DiskFull},
        {EFBIG, Cause::DiskFull},
        {EMFILE, Cause::TooManyOpenFiles},
        {ENFILE, Cause::TooManyOpenFiles},
        {ENOTDIR, Cause::BadPath},
        {ENAMETOOLONG, Cause::BadPath},
        {ELOOP, Cause::BadPath},
        {EIO, Cause::HardIo},
        {EISDIR, Cause::InvalidFile},
        {EBADF, Cause::InvalidFile},
        {ESPIPE, Cause::BadSeek},
        {ETXTBSY, Cause::SharingViolation},
        {EAGAIN, Cause::LockViolation},
        {ENOLCK, Cause::LockViolation},
        {EINVAL, Cause::Generic},
        {ENOMEM, Cause::Generic},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CFileExceptionEx::CauseFromErrno(c.error), c.cause) << "errno " << c.error;
    }
}

TEST(CFileExceptionEx, KeepsErrnoAndPathAndExplains) {
    const CFileExceptionEx error(ENOSPC, u"/music/a.mp3");
    EXPECT_EQ(error.GetCause(), Cause::DiskFull);
    EXPECT_EQ(error.ErrorNumber(), ENOSPC);
    EXPECT_EQ(error.Path(), u"/music/a.mp3");
    EXPECT_NE(std::string(error.what()).find("disk full"), std::string::npos);
}

struct OpenCase {
    const char* name;
    bool exists;
    unsigned mode;
    bool opens;
    Cause cause;
    const char* contentAfter;  // null: file absent afterwards
};

class OpenModeTest : public ::testing::TestWithParam<OpenCase> {};

TEST_P(OpenModeTest, ChoosesCreationFromTheModeBits) {
    const OpenCase& c = GetParam();
    ScratchDirectory dir;
    const auto path = dir.Path("f.bin");
    if (c.exists) {
        dir.WriteFile("f.bin", "old");
    }
    BufferedFile file;
    CFileExceptionEx error;
    EXPECT_EQ(file.Open(TextPath(path), c.mode, error), c.opens);
    EXPECT_EQ(file.IsOpen(), c.opens);
    EXPECT_EQ(error.GetCause(), c.cause);
    file.Close();
    if (c.contentAfter == nullptr) {
        EXPECT_FALSE(std::filesystem::exists(path));
    } else {
        EXPECT_EQ(ScratchDirectory::ReadFile(path), c.contentAfter);
    }
}

using B = BufferedFile;
INSTANTIATE_TEST_SUITE_P(
    BufferedFile, OpenModeTest,
    ::testing::Values(
        OpenCase{"ReadMissing", false, B::kRead, false, Cause::FileNotFound, nullptr},
        OpenCase{"ReadExisting", true, B::kRead, true, Cause::None, "old"},
        OpenCase{"WriteCreates", false, B::kWrite, true, Cause::None, ""},
        OpenCase{"WriteTruncates", true, B::kWrite, true, Cause::None, ""},
        OpenCase{"ReadWriteMissing", false, B::kReadWrite, false, Cause::FileNotFound, nullptr},
        OpenCase{"ReadWriteKeeps", true, B::kReadWrite, true, Cause::None, "old"},
        OpenCase{"WriteOpenExisting", true, B::kWrite | B::kOpenExisting, true, Cause::None, "old"},
        OpenCase{"CreateNewOnExisting", true, B::kWrite | B::kCreateNew, false, Cause::Generic,
                 "old"},
        OpenCase{"CreateNewOnMissing", false, B::kWrite | B::kCreateNew, true, Cause::None, ""},
        OpenCase{"CreateAlwaysTruncates", true, B::kReadWrite | B::kCreateAlways, true, Cause::None,
                 ""},
        OpenCase{"OpenAlwaysCreates", false, B::kReadWrite | B::kOpenAlways, true, Cause::None, ""},
        OpenCase{"OpenAlwaysKeeps", true, B::kReadWrite | B::kOpenAlways, true, Cause::None, "old"},
        OpenCase{"LoadMode", true, testing::kLoadMode, true, Cause::None, "old"},
        OpenCase{"SaveMode", true, testing::kSaveMode, true, Cause::None, "old"},
        OpenCase{"ExportMode", true, testing::kExportMode, true, Cause::None, ""}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(BufferedFile, OpenFailuresAreClassifiedNotThrown) {
    ScratchDirectory dir;
    dir.WriteFile("plain", "x");
    struct Case {
        std::filesystem::path path;
        Cause cause;
        int error;
    };
    const Case cases[] = {
        {dir.Path("missing"), Cause::FileNotFound, ENOENT},
        {dir.Root(), Cause::InvalidFile, EISDIR},
        {dir.Path("plain") / "child", Cause::BadPath, ENOTDIR},
        {dir.Path(std::string(300, 'n')), Cause::BadPath, ENAMETOOLONG},
    };
    for (const Case& c : cases) {
        BufferedFile file;
        CFileExceptionEx error;
        EXPECT_FALSE(file.Open(TextPath(c.path), testing::kLoadMode, error)) << c.path;
        EXPECT_EQ(error.GetCause(), c.cause) << c.path;
        EXPECT_EQ(error.ErrorNumber(), c.error) << c.path;
        EXPECT_EQ(error.Path(), TextPath(c.path));
        EXPECT_FALSE(file.IsOpen());
    }
}

TEST(BufferedFile, PathWithZeroCharacterIsABadPath) {
    BufferedFile file;
    CFileExceptionEx error;
    EXPECT_FALSE(file.Open(std::u16string(u"/tmp/a\0b", 8), testing::kLoadMode, error));
    EXPECT_EQ(error.GetCause(), Cause::BadPath);
}

TEST(BufferedFile, OpensANameThatIsNotUtf8) {
    ScratchDirectory dir;
    const std::string rawName = "caf\xE9.mp3";  // Latin-1 byte, invalid as UTF-8
    const auto path = dir.WriteFile(rawName, "latin");
    BufferedFile file;
    testing::OpenOrFail(file, path, testing::kLoadMode);
    char got[5];
    ASSERT_EQ(file.Read(got, 5), 5u);
    EXPECT_EQ(std::string(got, 5), "latin");
}

TEST(BufferedFile, UseAfterCloseThrowsInvalidFile) {
    ScratchDirectory dir;
    BufferedFile file;
    testing::OpenOrFail(file, dir.Path("f"), testing::kExportMode);
    file.Close();
    file.Close();  // closing twice is harmless
    char byte = 0;
    EXPECT_THROW(file.Size(), CFileExceptionEx);
    EXPECT_THROW(file.Read(&byte, 1), CFileExceptionEx);
    try {
        file.Write(&byte, 1);
        FAIL() << "no exception";
    } catch (const CFileExceptionEx& error) {
        EXPECT_EQ(error.GetCause(), Cause::InvalidFile);
    }
}

TEST(BufferedFile, SeekBeyondTheLargestOffsetIsABadSeek) {
    ScratchDirectory dir;
    BufferedFile file;
    testing::OpenOrFail(file, dir.Path("f"), testing::kExportMode);
    try {
        file.Seek(std::uint64_t{1} << 63);
        FAIL() << "no exception";
    } catch (const CFileExceptionEx& error) {
        EXPECT_EQ(error.GetCause(), Cause::BadSeek);
    }
}

}  // namespace
}  // namespace velmora
