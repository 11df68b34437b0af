#include "fuzz/FuzzHarness.h"
#include "tags/file/BufferedFile.h"
#include "tags/id3v1/Id3v1Record.h"
#include "tags/id3v2/TextEncoding.h"
#include "tags/mpeg/MpegInfo.h"
#include "tags/record/TrailingTags.h"

namespace velmora::fuzz {
namespace {

// The frame operations the editor and the list run on every loaded record.
void ReadCommonFields(const Id3v2Tag& tag) {
    static constexpr FrameId kShown[] = {"TIT2", "TPE1", "TALB", "TRCK", "TYER", "TCON", "COMM"};
    for (const FrameId& id : kShown) {
        (void)GetFrameText(tag, id, FieldKind::Text, Cp1252());
        (void)GetFrameText(tag, id, FieldKind::NarrowString, Cp1252());
    }
    (void)GenreDisplayText(tag, Cp1252());
}

// APEv2 and Lyrics3 blocks before `end` are not audio: the bounds come from the file the
// record was loaded from, so both measurements cover the same bytes.
std::uint64_t AudioEnd(std::uint64_t start, std::uint64_t end) {
    BufferedFile file;
    testing::OpenOrFail(file, Scratch().Root() / kScratchMp3, testing::kLoadMode);
    return AudioEndBeforeTrailingTags(file, start, end);
}

// The load through the file agrees with the reader and the measurement over memory.
void CheckAgainstMemoryRead(const Mp3File& record, Input input, const TagEngine& engine) {
    Id3v2Tag fromMemory;
    Id3v2Reader reader(Cp1252(), engine.context.options.encoding);
    const Id3v2TagOnDisk onDisk = reader.ReadFromMemory(input, input.size(), fromMemory);
    Check(SnapshotFrames(record.V2(), 3, &record) == SnapshotFrames(fromMemory, 3),
          "the file read and the memory read give different frames");
    Check(record.LoadedId3v2Version() == (onDisk.present ? onDisk.majorVersion : 0),
          "the file read and the memory read see different tag versions");

    const bool hasV1 = !record.V1().IsEmpty();
    const std::uint64_t audioStart = onDisk.present ? onDisk.audioOffset : 0;
    const std::uint64_t size = input.size();
    const auto same = [&](std::uint64_t end) {
        const MpegInfo i = Measure(input, audioStart, AudioEnd(audioStart, end));
        return i.bitrate == record.Bitrate() && i.vbr == record.Vbr() &&
               i.duration == record.Duration();
    };
    // An empty ID3v1 tag cannot be told from none by its values; then either end may be right.
    const bool agrees = same(hasV1 ? size - kId3v1Size : size) ||
                        (!hasV1 && size >= kId3v1Size && same(size - kId3v1Size));
    Check(agrees, "the file measurement and the memory measurement differ");
}

// Encoding 2 is big-endian whatever its bytes look like: no guess may swap them.
void CheckBigEndianTextIsNeverGuessed(Input input) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < input.size(); i += 2)
        units.push_back(static_cast<char16_t>(input[i] << 8 | input[i + 1]));
    Check(DecodeText(input.first(2 * units.size()), text_encoding::kUtf16BE, Cp1252()) == units,
          "encoding 2 text was not read unit by unit in its byte order");
}

}  // namespace

void Mp3Load(Input input) {
    CheckBigEndianTextIsNeverGuessed(input);
    WriteScratchFile(kScratchMp3, input);
    TagEngine engine(input.size());
    const Mp3File record(engine.context, TextPath(Scratch().Root()), kScratchMp3);
    Check(engine.MessageCount() == 0, "loading a readable file showed a message");
    const std::uint8_t version = record.LoadedId3v2Version();
    Check(version == 0 || (version >= 2 && version <= 4), "impossible tag version");
    Check(!record.NeedsSave(), "a record needs saving right after its load");
    CheckAgainstMemoryRead(record, input, engine);
    (void)SnapshotFrames(record.V2(), 4, &record);
    ReadCommonFields(record.V2());
}

}  // namespace velmora::fuzz
