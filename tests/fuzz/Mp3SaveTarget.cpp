#include "fuzz/FuzzHarness.h"
#include "tags/id3v1/Id3v1Record.h"
#include "tags/id3v2/FrameFieldTypes.h"
#include "tags/id3v2/Id3v2Serializer.h"
#include "tags/id3v2/VersionConversion.h"
#include "tags/ops/FrameTextOps.h"
#include "tags/record/RecordState.h"
#include "tags/record/TagRegion.h"

namespace velmora::fuzz {
namespace {

constexpr FrameId kTitle = "TIT2";
// The writer puts no tag into a file this small (the edit is dropped, the save succeeds):
// kept as the tag writer defines it, so such inputs only exercise load and save.
constexpr std::size_t kSmallestTaggedFile = 11;

// Plain ASCII, text that only UTF-16 carries, and the empty text.
const std::u16string kNewTitles[] = {u"Fuzzed title", u"\u00DCber \u2603 \U0001F3B5", u""};

std::size_t IndexOfFirst(const Id3v2Tag& tag, const FrameId& id) {
    const auto& frames = tag.Frames();
    return std::ranges::find_if(frames, [&](const auto& frame) { return frame->Id() == id; }) -
           frames.begin();
}

// A body the reader could not open (short header extras, encryption, a compression it
// could not undo) is kept byte for byte; once written as plain data, a load reads it as
// what it is, so only such frames may read back differently from their first load.
bool IsKeptRaw(const Id3v2Frame& frame) {
    return !frame.BodyForm().IsPlain() ||
           (frame.FieldCount() == 1 && frame.FieldAt(0)->Kind() == FieldKind::RawBody);
}

// A save leaves frames with an empty body out.
bool IsWritten(const Id3v2Frame& frame, const FrameSnapshot& snapshot) {
    return !snapshot.body.empty() || !frame.BodyForm().IsPlain() || frame.BodyForm().dataLength ||
           frame.GroupId();
}

void CheckSame(const FrameSnapshot& expected, const FrameSnapshot& actual, std::size_t index,
               const char* what) {
    const auto size = [](const FrameSnapshot& frame) { return std::to_string(frame.body.size()); };
    Check(expected == actual, "frame " + std::to_string(index) + " (" + expected.id + ") " + what +
                                  ": " + size(expected) + " bytes became " + size(actual));
}

// Every frame the reader opened (but an empty one) survives being written and read again;
// the save converts the frames for the version it writes, and `edited` is where the title
// then is.
std::vector<FrameSnapshot> ExpectedAfterSave(const Mp3File& record, TagEngine& engine,
                                             std::size_t& edited) {
    const std::uint8_t version = engine.WrittenVersion();
    const auto& frames = record.V2().Frames();
    const auto all = SnapshotFrames(record.V2(), version, &record);
    std::vector<std::size_t> written;  // the indexes of the frames a save writes
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (IsWritten(*frames[i], all[i]))
            written.push_back(i);
    }
    // A load of the frames as a save writes them; bodies the load left in the file are read
    // from there, as a save copies them.
    const auto serializedTag = SerializeTag(record.V2(), version, Cp1252(), &record);
    const auto reread = testing::ReadBytes(testing::Tag(version, serializedTag), engine);
    Id3v2Tag& readBack = *reread.tag;
    const auto serialized = SnapshotFrames(readBack, version, &record);
    Check(serialized.size() == written.size(), "the serialized tag reads back another frame count");
    // The save converts the record's frames, where a frame kept raw is left as it is; the
    // re-read may have opened it, so it stands in raw while converting, then reads as re-read.
    std::vector<std::pair<const Id3v2Frame*, std::unique_ptr<Id3v2Frame>>> openedRaw;
    for (std::size_t i = 0; i < written.size(); ++i) {
        const Id3v2Frame& original = *frames[written[i]];
        if (!IsKeptRaw(original)) {
            CheckSame(all[written[i]], serialized[i], i, "does not survive serialization");
        } else if (IsConvertedBetweenVersions(original.Id())) {
            auto raw = CloneFrame(original);
            openedRaw.emplace_back(raw.get(), std::move(readBack.MutableFrames()[i]));
            readBack.MutableFrames()[i] = std::move(raw);
        }
    }
    // The edit sets the record's first title frame, even an empty one the save would drop:
    // the save then writes it, before the titles that follow.
    const std::size_t firstTitle = IndexOfFirst(record.V2(), kTitle);
    if (firstTitle < all.size() && !IsWritten(*frames[firstTitle], all[firstTitle])) {
        const auto before = std::ranges::count_if(written, [&](auto i) { return i < firstTitle; });
        auto title = std::make_unique<Id3v2Frame>(kTitle);
        title->PushField(std::make_unique<TextField>(u"edited"));
        readBack.MutableFrames().insert(readBack.MutableFrames().begin() + before,
                                        std::move(title));
    }
    ConvertFramesForVersion(readBack, version, Cp1252());
    for (auto& [raw, frame] : openedRaw) {
        for (auto& slot : readBack.MutableFrames()) {
            if (slot.get() == raw)
                slot = std::move(frame);
        }
    }
    edited = IndexOfFirst(readBack, kTitle);
    // Frames kept raw are the record's, whose bodies may lie in its file.
    return SnapshotFrames(readBack, version, &record);
}

void CheckReloaded(const Mp3File& again, const std::vector<FrameSnapshot>& expected,
                   std::size_t edited, const std::u16string& title, std::uint8_t version) {
    const auto after = SnapshotFrames(again.V2(), version, &again);
    const std::size_t count = expected.size() + (edited == expected.size() ? 1 : 0);
    Check(after.size() == count, "the saved tag has another number of frames");
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (i == edited) {
            Check(after[i].id == "TIT2", "the edited frame moved");
        } else {
            CheckSame(expected[i], after[i], i, "(not edited) changed in the save");
        }
    }
    const auto readTitle = GetFrameText(again.V2(), kTitle, FieldKind::Text, Cp1252());
    Check(readTitle && *readTitle == title, "the saved title does not read back");
    Check(again.LoadedId3v2Version() == version, "the tag was saved in another version");
}

}  // namespace

void Mp3SaveRoundTrip(Input input) {
    WriteScratchFile(kScratchMp3, input);
    TagEngine engine(input.size());
    Mp3File record(engine.context, TextPath(Scratch().Root()), kScratchMp3);
    if (engine.MessageCount() != 0)
        return;  // the load target reports this

    std::size_t edited = 0;
    const auto expected = ExpectedAfterSave(record, engine, edited);
    const Id3v1Record v1 = EncodeId3v1(record.V1(), Cp1252());
    const std::u16string& title = kNewTitles[input.size() % std::size(kNewTitles)];
    SetFrameText(record.V2(), kTitle, title, engine.context);
    if (!record.NeedsSave()) {
        // The title was already that text: a save leaves the file alone.
        Check(record.Save(engine.context) && engine.MessageCount() == 0 &&
                  testing::ScratchDirectory::ReadFile(Scratch().Root() / kScratchMp3) ==
                      std::string(input.begin(), input.end()),
              "a save with nothing to do failed or changed the file");
        return;
    }
    if (!record.Save(engine.context)) {
        Check(engine.MessageCount() > 0, "a failed save showed no message");
        return;
    }
    Check(!record.NeedsSave(), "a record still needs saving after a successful save");
    if (input.size() < kSmallestTaggedFile)
        return;

    const Mp3File again(engine.context, TextPath(Scratch().Root()), kScratchMp3);
    Check(engine.MessageCount() == 0, "the saved file does not load");
    CheckReloaded(again, expected, edited, title, engine.WrittenVersion());
    Check(EncodeId3v1(again.V1(), Cp1252()) == v1, "the ID3v1 tag changed");
}

}  // namespace velmora::fuzz
