#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "FileTestHelpers.h"
#include "support/ScratchDirectory.h"
#include "tags/BufferedFile.h"
#include "tags/BufferedFileFaults.h"

namespace velmora {
namespace {

using testing::Pattern;
using testing::ScratchDirectory;
using WriteCall = FileFaults::WriteCall;

struct BufferingCase {
    const char* name;
    std::size_t pending;  // bytes written (and buffered) before the write under test
    std::size_t length;
    std::vector<WriteCall> writesBeforeFlush;
    std::uint64_t tellBeforeFlush;
};

class BufferingTest : public ::testing::TestWithParam<BufferingCase> {};

TEST_P(BufferingTest, WritesWholeBuffersAndKeepsTheRest) {
    const BufferingCase& c = GetParam();
    ScratchDirectory dir;
    const auto path = dir.Path("out.bin");
    const std::string bytes = Pattern(c.pending + c.length);

    FileFaults faults;
    ScopedFileFaults installed(faults);
    BufferedFile file;
    testing::OpenOrFail(file, path, testing::kExportMode);
    file.Write(bytes.data(), c.pending);
    ASSERT_TRUE(faults.Writes().empty()) << "the first part must stay in the buffer";
    file.Write(bytes.data() + c.pending, c.length);

    EXPECT_EQ(faults.Writes(), c.writesBeforeFlush);
    EXPECT_EQ(file.Tell(), c.tellBeforeFlush);
    file.Close();
    EXPECT_EQ(ScratchDirectory::ReadFile(path), bytes);
}

constexpr std::size_t C = BufferedFile::kBufferSize;

INSTANTIATE_TEST_SUITE_P(
    BufferedFile, BufferingTest,
    ::testing::Values(
        BufferingCase{"Nothing", 0, 0, {}, 0}, BufferingCase{"Small", 0, 100, {}, 0},
        BufferingCase{"OneByteShortOfFull", 0, C - 1, {}, 0},
        BufferingCase{"ExactlyOneBufferGoesStraight", 0, C, {{0, C}}, C},
        BufferingCase{"SeventyThousandWritesTwoBuffersAtOnce", 0, 70000, {{0, 65536}}, 65536},
        BufferingCase{"FillsThePendingBuffer", 100, C - 100, {{0, C}}, C},
        BufferingCase{"OverflowsThePendingBuffer", 100, 40000, {{0, C}}, C},
        BufferingCase{"OverflowsThenBypasses", 100, 100000, {{0, C}, {C, 2 * C}}, 3 * C},
        BufferingCase{"PendingNotEnoughToFill", 100, C - 101, {}, 0}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(BufferedFile, SeventyThousandBytesLeave4464Pending) {
    ScratchDirectory dir;
    FileFaults faults;
    ScopedFileFaults installed(faults);
    BufferedFile file;
    testing::OpenOrFail(file, dir.Path("out.bin"), testing::kExportMode);
    const std::string bytes = Pattern(70000);
    file.Write(bytes.data(), bytes.size());
    file.Flush();
    const std::vector<WriteCall> expected{{0, 65536}, {65536, 4464}};
    EXPECT_EQ(faults.Writes(), expected);
}

TEST(BufferedFile, SizeCountsBufferedBytes) {
    ScratchDirectory dir;
    BufferedFile file;
    testing::OpenOrFail(file, dir.Path("out.bin"), testing::kExportMode);
    const std::string bytes = Pattern(100);
    file.Write(bytes.data(), bytes.size());
    EXPECT_EQ(file.Size(), 100u);
}

TEST(BufferedFile, TellReportsThePositionBeforeBufferedBytes) {
    ScratchDirectory dir;
    const auto path = dir.WriteFile("in.bin", Pattern(50));
    BufferedFile file;
    testing::OpenOrFail(file, path, testing::kSaveMode);
    file.Seek(10);
    file.Write("abcde", 5);
    EXPECT_EQ(file.Tell(), 10u);
    file.Flush();
    EXPECT_EQ(file.Tell(), 15u);
}

TEST(BufferedFile, ReadFlushesPendingBytesFirst) {
    ScratchDirectory dir;
    const auto path = dir.WriteFile("in.bin", Pattern(50));
    BufferedFile file;
    testing::OpenOrFail(file, path, testing::kSaveMode);
    file.Seek(48);
    file.Write("xyz", 3);
    file.Seek(47);
    char got[8] = {};
    ASSERT_EQ(file.Read(got, sizeof got), 4u);
    EXPECT_EQ(std::string(got + 1, 3), "xyz");
}

TEST(BufferedFile, ReadAtTheEndReturnsZeroAndShortReadsAreNoError) {
    ScratchDirectory dir;
    const auto path = dir.WriteFile("in.bin", Pattern(10));
    BufferedFile file;
    testing::OpenOrFail(file, path, testing::kLoadMode);
    char buffer[16];
    file.Seek(6);
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 4u);
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
    file.Seek(1000);
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
}

TEST(BufferedFile, TruncateEndsTheFileAndMovesThere) {
    ScratchDirectory dir;
    const auto path = dir.WriteFile("in.bin", Pattern(300));
    BufferedFile file;
    testing::OpenOrFail(file, path, testing::kSaveMode);
    file.Seek(290);
    file.Write("tail", 4);
    file.Truncate(200);
    EXPECT_EQ(file.Tell(), 200u);
    EXPECT_EQ(file.Size(), 200u);
    file.Close();
    EXPECT_EQ(ScratchDirectory::ReadFile(path), Pattern(200));
}

TEST(BufferedFile, DestructorWritesPendingBytes) {
    ScratchDirectory dir;
    const auto path = dir.Path("out.bin");
    {
        BufferedFile file;
        testing::OpenOrFail(file, path, testing::kExportMode);
        file.Write("pending", 7);
    }
    EXPECT_EQ(ScratchDirectory::ReadFile(path), "pending");
}

TEST(BufferedFile, PositionsBeyondFourGigabytesWork) {
    ScratchDirectory dir;
    const auto path = dir.Path("sparse.bin");
    const std::uint64_t far = (std::uint64_t{1} << 32) + 7;
    BufferedFile file;
    testing::OpenOrFail(file, path, BufferedFile::kReadWrite | BufferedFile::kCreateAlways);
    file.Seek(far);
    file.Write("end", 3);
    EXPECT_EQ(file.Size(), far + 3);
    file.Seek(far);
    char got[3];
    ASSERT_EQ(file.Read(got, 3), 3u);
    EXPECT_EQ(std::string(got, 3), "end");
    file.Truncate(0);
}

}  // namespace
}  // namespace velmora
