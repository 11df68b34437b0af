#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include "TagWriterTestSupport.h"
#include "tags/BufferedFileFaults.h"
#include "tags/ReplaceFaults.h"

namespace velmora {
namespace {

using testing::Pattern;
using testing::ScratchDirectory;
using testing::TagBytes;

// Several move chunks of audio, so failures land between chunks as well.
const std::string kAudio = Pattern(400'000, 11);
const std::string kOldRecord = "TAG" + Pattern(125, 5);

struct MovingSave {
    const char* name;
    std::string file;
    bool stripV1;
    bool writeV1;
    bool stripV2;
    std::optional<std::string> frames;
};

std::vector<MovingSave> MovingSaves() {
    const std::string tagged = TagBytes(100, Pattern(100, 1)) + kAudio + kOldRecord;
    return {
        {"GrowWithId3v1", tagged, false, true, false, Pattern(20'000, 2)},
        {"NewTag", kAudio, false, false, false, Pattern(300, 2)},
        {"StripBoth", tagged, true, false, true, std::nullopt},
        {"StripId3v2", tagged, false, false, true, std::nullopt},
    };
}

// One way of making the nth step of a save fail.
struct Fault {
    const char* name;
    std::function<void(FileFaults&, ReplaceFaults&, std::uint64_t)> arm;
    std::function<std::uint64_t(const FileFaults&, const ReplaceFaults&)> count;
};

Fault FileCallFault(const char* name, FileCall call) {
    return {name, [call](FileFaults& f, ReplaceFaults&, std::uint64_t n) { f.Fail(call, n, EIO); },
            [call](const FileFaults& f, const ReplaceFaults&) { return f.Count(call); }};
}

std::vector<Fault> Faults() {
    return {
        FileCallFault("Write", FileCall::Write),
        FileCallFault("Read", FileCall::Read),
        FileCallFault("Sync", FileCall::Sync),
        FileCallFault("Truncate", FileCall::Truncate),
        FileCallFault("Size", FileCall::Size),
        FileCallFault("Open", FileCall::Open),
        FileCallFault("Close", FileCall::Close),
        {"ShortWrite",
         [](FileFaults& f, ReplaceFaults&, std::uint64_t n) {
             f.ShortenWrite(n, 100);
             f.Fail(FileCall::Write, n + 1, ENOSPC);
         },
         [](const FileFaults& f, const ReplaceFaults&) { return f.Count(FileCall::Write); }},
        {"Rename",
         [](FileFaults&, ReplaceFaults& r, std::uint64_t n) {
             r.Fail(ReplaceStep::Rename, n, EIO);
         },
         [](const FileFaults&, const ReplaceFaults& r) { return r.Count(ReplaceStep::Rename); }},
        {"SyncDirectory",
         [](FileFaults&, ReplaceFaults& r, std::uint64_t n) {
             r.Fail(ReplaceStep::SyncDirectory, n, EIO);
         },
         [](const FileFaults&, const ReplaceFaults& r) {
             return r.Count(ReplaceStep::SyncDirectory);
         }},
    };
}

void PrintTo(const MovingSave& save, std::ostream* out) {
    *out << save.name;
}
void PrintTo(const Fault& fault, std::ostream* out) {
    *out << fault.name;
}

struct Outcome {
    bool saved;
    std::string bytes;
    std::size_t filesInFolder;
};

// Saves `file` with the nth step of `fault` failing.
Outcome SaveWithFault(const MovingSave& save, const Fault& fault, std::uint64_t nth,
                      std::uint64_t& reached) {
    testing::SaveHarness harness;
    const auto path = harness.dir.WriteFile("song.mp3", save.file);
    const Id3v1Tag v1 = testing::SampleId3v1();
    TagSaveRequest request = harness.Request(path);
    request.stripV1 = save.stripV1;
    request.writeV1 = save.writeV1 ? &v1 : nullptr;
    request.stripV2 = save.stripV2;
    if (save.frames) {
        request.v2Frames = testing::Bytes(*save.frames);
    }
    FileFaults fileFaults;
    ReplaceFaults replaceFaults;
    fault.arm(fileFaults, replaceFaults, nth);
    bool saved = false;
    {
        ScopedFileFaults files(fileFaults);
        ScopedReplaceFaults replaces(replaceFaults);
        saved = SaveTags(request, harness.context);
    }
    reached = fault.count(fileFaults, replaceFaults);
    const auto inFolder = static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator(harness.dir.Root()), {}));
    return {saved, ScratchDirectory::ReadFile(path), inFolder};
}

std::string Expected(const MovingSave& save) {
    testing::SaveHarness harness;
    testing::ModelSave model;
    model.stripV1 = save.stripV1;
    model.stripV2 = save.stripV2;
    model.frames = save.frames;
    if (save.writeV1) {
        model.v1Record =
            testing::Id3v1Bytes(EncodeId3v1(testing::SampleId3v1(), *harness.codePage));
    }
    return model.Apply(save.file);
}

class MovingSaveFaultTest : public ::testing::TestWithParam<std::tuple<MovingSave, Fault>> {};

// Whatever step fails, the path names the old file or the complete new one, and a save
// reported as done left the new one.
TEST_P(MovingSaveFaultTest, LeavesTheOldFileOrTheNewOne) {
    const auto& [save, fault] = GetParam();
    const std::string expected = Expected(save);
    for (std::uint64_t nth = 1;; ++nth) {
        std::uint64_t reached = 0;
        const Outcome outcome = SaveWithFault(save, fault, nth, reached);
        SCOPED_TRACE(fault.name + std::string(" #") + std::to_string(nth));
        if (outcome.saved) {
            EXPECT_EQ(outcome.bytes, expected);
        } else {
            EXPECT_EQ(outcome.bytes, save.file);
        }
        EXPECT_EQ(outcome.filesInFolder, 1u);
        if (reached < nth) {
            EXPECT_TRUE(outcome.saved);
            break;
        }
    }
}

std::string MovingName(const ::testing::TestParamInfo<std::tuple<MovingSave, Fault>>& info) {
    return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
}

INSTANTIATE_TEST_SUITE_P(EveryStep, MovingSaveFaultTest,
                         ::testing::Combine(::testing::ValuesIn(MovingSaves()),
                                            ::testing::ValuesIn(Faults())),
                         MovingName);

struct InPlaceSave {
    const char* name;
    std::string file;
    bool writeV1;
    bool stripV1;
    std::optional<std::string> frames;
    std::size_t audioStart;
};

void PrintTo(const InPlaceSave& save, std::ostream* out) {
    *out << save.name;
}

class InPlaceSaveFaultTest : public ::testing::TestWithParam<std::tuple<InPlaceSave, Fault>> {};

std::vector<InPlaceSave> InPlaceSaves() {
    const std::string tag = TagBytes(8000, Pattern(8000, 1));
    return {
        {"TagAndRecord", tag + kAudio + kOldRecord, true, false, Pattern(7000, 3), tag.size()},
        {"TagOnly", tag + kAudio, false, false, Pattern(10, 3), tag.size()},
        {"RecordOverwritten", kAudio + kOldRecord, true, false, std::nullopt, 0},
        {"RecordAppended", kAudio, true, false, std::nullopt, 0},
        {"RecordStripped", kAudio + kOldRecord, false, true, std::nullopt, 0},
    };
}

// An in-place save that fails at any step leaves every audio byte where it was.
TEST_P(InPlaceSaveFaultTest, NeverTouchesTheAudio) {
    const auto& [save, fault] = GetParam();
    for (std::uint64_t nth = 1;; ++nth) {
        testing::SaveHarness harness;
        const auto path = harness.dir.WriteFile("song.mp3", save.file);
        const Id3v1Tag v1 = testing::SampleId3v1();
        TagSaveRequest request = harness.Request(path);
        request.writeV1 = save.writeV1 ? &v1 : nullptr;
        request.stripV1 = save.stripV1;
        if (save.frames) {
            request.v2Frames = testing::Bytes(*save.frames);
        }
        FileFaults fileFaults;
        ReplaceFaults replaceFaults;
        fault.arm(fileFaults, replaceFaults, nth);
        {
            ScopedFileFaults files(fileFaults);
            ScopedReplaceFaults replaces(replaceFaults);
            SaveTags(request, harness.context);
        }
        SCOPED_TRACE(fault.name + std::string(" #") + std::to_string(nth));
        const std::string after = ScratchDirectory::ReadFile(path);
        ASSERT_GE(after.size(), save.audioStart + kAudio.size());
        EXPECT_EQ(after.substr(save.audioStart, kAudio.size()), kAudio);
        if (fault.count(fileFaults, replaceFaults) < nth) {
            break;
        }
    }
}

std::string InPlaceName(const ::testing::TestParamInfo<std::tuple<InPlaceSave, Fault>>& info) {
    return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
}

INSTANTIATE_TEST_SUITE_P(EveryStep, InPlaceSaveFaultTest,
                         ::testing::Combine(::testing::ValuesIn(InPlaceSaves()),
                                            ::testing::ValuesIn(Faults())),
                         InPlaceName);

}  // namespace
}  // namespace velmora
