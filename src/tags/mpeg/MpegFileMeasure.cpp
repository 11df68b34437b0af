#include <algorithm>

#include "tags/file/BufferedFile.h"
#include "tags/mpeg/MpegInfo.h"

namespace velmora {
namespace {

// The bytes [start, end) of an open file, read in order and never past `end`.
class MpegFileRegion final : public MpegByteSource {
  public:
    MpegFileRegion(BufferedFile& file, std::uint64_t start, std::uint64_t end)
        : file_(file), remaining_(end - start) {
        file_.Seek(start);
    }

    std::size_t Read(std::span<std::uint8_t> into) override {
        const auto wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(into.size(), remaining_));
        const std::size_t got = file_.Read(into.data(), wanted);
        remaining_ -= got;
        return got;
    }

  private:
    BufferedFile& file_;
    std::uint64_t remaining_;
};

}  // namespace

MpegInfo Measure(BufferedFile& file, std::uint64_t audioStart, std::uint64_t audioEnd,
                 ScratchBuffer& window) {
    const std::uint64_t end = std::min(audioEnd, file.Size());
    const std::uint64_t start = std::min(audioStart, end);
    MpegFileRegion region(file, start, end);
    return MeasureRegion(region, start, end - start, window);
}

MpegInfo Measure(BufferedFile& file, std::uint64_t audioStart, std::uint64_t audioEnd) {
    ScratchBuffer window;
    return Measure(file, audioStart, audioEnd, window);
}

}  // namespace velmora
