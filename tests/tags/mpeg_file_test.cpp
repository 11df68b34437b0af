#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "FileTestHelpers.h"
#include "support/ScratchDirectory.h"
#include "tags/BufferedFile.h"
#include "tags/BufferedFileFaults.h"
#include "tags/MpegInfo.h"
#include "tags/mpeg_test_streams.h"

namespace velmora {
namespace {

using testing::Bytes;
using testing::ScratchDirectory;

// A 3000-byte stand-in for an ID3v2 tag holding two 32 kbit/s frames, 128 kbit/s audio of
// 1,600,000 bytes (100 s) and an ID3v1 tag.
Bytes TaggedFile() {
    Bytes file(3000, 0);
    testing::PutText(file, 0, "ID3");
    const Bytes fake = testing::Frames({.bitrateIndex = 1}, 2);
    std::copy(fake.begin(), fake.end(), file.begin() + 500);
    Bytes audio = testing::Frames({}, 3000);
    audio.resize(1'600'000);
    testing::Append(file, audio);
    Bytes v1(128, 0);
    testing::PutText(v1, 0, "TAG");
    testing::Append(file, v1);
    return file;
}

class MpegFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const Bytes bytes = TaggedFile();
        size_ = bytes.size();
        const auto path = dir_.WriteFile("song.mp3", std::string(bytes.begin(), bytes.end()));
        testing::OpenOrFail(file_, path, testing::kLoadMode);
    }

    ScratchDirectory dir_;
    BufferedFile file_;
    std::uint64_t size_ = 0;
};

TEST_F(MpegFileTest, MeasuresTheAudioBetweenTheTags) {
    const MpegInfo info = Measure(file_, 3000, size_ - 128);
    EXPECT_EQ(info.firstFrameOffset, 3000u);
    EXPECT_EQ(info.bitrate, 128);
    EXPECT_FALSE(info.vbr);
    EXPECT_EQ(info.duration, 100u);
}

TEST_F(MpegFileTest, OffsetsPastTheEndReadNothingOutsideTheFile) {
    EXPECT_EQ(Measure(file_, 3000, size_ + 1'000'000).bitrate, 128);
    EXPECT_FALSE(Measure(file_, size_ + 10, size_ + 20).found);
    EXPECT_FALSE(Measure(file_, 5000, 4000).found);
}

TEST_F(MpegFileTest, AReadErrorThrows) {
    FileFaults faults;
    faults.Fail(FileCall::Read, 1, EIO);
    ScopedFileFaults installed(faults);
    EXPECT_THROW(Measure(file_, 3000, size_ - 128), CFileExceptionEx);
}

}  // namespace
}  // namespace velmora
