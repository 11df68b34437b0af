#pragma once

#include <optional>
#include <span>
#include <stdexcept>

#include "support/ScratchDirectory.h"
#include "tags/FileTestHelpers.h"
#include "tags/Id3v2TestSupport.h"
#include "tags/record/Mp3File.h"

// What every fuzz target shares: the input's parts, the check, the scratch files and tag
// engine, the frame snapshot, and the ready-made inputs.
namespace velmora::fuzz {

using Input = std::span<const std::uint8_t>;
using TargetFunction = void (*)(Input);
using testing::Cp1252;
using testing::TextPath;

// A broken invariant. Under libFuzzer the uncaught exception aborts the run and saves the
// input; the replay test reports it as a failure with the text.
class InvariantBroken : public std::logic_error {
  public:
    using std::logic_error::logic_error;
};

inline void Check(bool condition, const std::string& what) {
    if (!condition)
        throw InvariantBroken(what);
}

// The parts of the input between zero bytes; at most `maxParts` (the last keeps the rest).
std::vector<Input> SplitAtZeros(Input input, std::size_t maxParts);
// UTF-8 where it is valid, each other byte as a lone surrogate (as file names decode): any
// bytes give text, and the dictionary-friendly ASCII stays as it is.
std::u16string LenientUtf8(Input bytes);
// Code points of the text; a lone surrogate stays as its own value (0xD800-0xDFFF).
std::u32string CodePoints(std::u16string_view text);

// The folder for the files targets write, on tmpfs (/dev/shm) where there is one, so the
// real file access is exercised without touching a disk.
const testing::ScratchDirectory& Scratch();
// Replaces the file `name` in the scratch folder with the bytes.
void WriteScratchFile(const std::filesystem::path& name, Input bytes);

// The tag engine's options follow the input's size, so both written versions and every
// encoding choice are reached without spending input bytes that real MP3 seeds do not have.
struct TagEngine : testing::TestEngine {
    explicit TagEngine(std::size_t inputSize) {
        Use24((inputSize & 1) != 0, static_cast<std::uint32_t>((inputSize >> 1) % 4));
    }
    std::uint8_t WrittenVersion() const { return context.options.Id3v2Version(); }
    std::size_t MessageCount() const { return messages.Shown().size(); }
};

// The MP3 file the targets write into Scratch() and load as a record (on the stack: records
// on the heap come from a pool of many).
inline constexpr char16_t kScratchMp3[] = u"input.mp3";

// One frame as a save writes it: ID, body bytes and how the body is stored.
struct FrameSnapshot {
    std::string id;
    std::vector<std::uint8_t> body;
    bool compressed = false;
    std::optional<std::uint8_t> encryptionMethod;
    std::optional<std::uint8_t> groupId;

    friend bool operator==(const FrameSnapshot&, const FrameSnapshot&) = default;
};

// Every frame of the tag, serialized for the given major version; bodies a load left in the
// file are read through `source` (the record).
std::vector<FrameSnapshot> SnapshotFrames(const Id3v2Tag& tag, std::uint8_t majorVersion,
                                          const StoredBodySource* source = nullptr);

// A ready-made input for one target (named as in kTargets).
struct NamedInput {
    std::string_view target;
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// Small well-formed inputs that show the fuzzers each target's format, and inputs whose sizes
// lie or whose shapes are extreme, which must run in bounded memory, depth and time. Seeds for
// the fuzzers and cases of the replay test.
std::vector<NamedInput> ReadyMadeInputs();

// One function per input the program parses. Each returns normally for any input, however
// malformed, and throws InvariantBroken when the program's answer is wrong.
void CsvRead(Input input);              // as a CSV document and as clipboard text
void Mp3Load(Input input);              // a whole MP3 file through the record's load
void Mp3SaveRoundTrip(Input input);     // load, set the title, save, load again
void RegexCompileSearch(Input input);   // options byte, pattern, zero, subject
void RenameCompileExpand(Input input);  // expression, then zero-separated field values
void SettingsOpen(Input input);         // the settings file: open, read, write once, reopen
void XmlWriterParse(Input input);       // steps that shape an element tree; it must parse

struct NamedTarget {
    std::string_view name;
    TargetFunction run;
};

// The name is the folder of the target's crashers and seeds and its executable's suffix.
inline constexpr NamedTarget kTargets[] = {
    {"csv", CsvRead},
    {"mp3_load", Mp3Load},
    {"mp3_save", Mp3SaveRoundTrip},
    {"regex", RegexCompileSearch},
    {"rename", RenameCompileExpand},
    {"settings", SettingsOpen},
    {"xml_writer", XmlWriterParse},
};

// The target of that name, or nullptr.
constexpr TargetFunction FindTarget(std::string_view name) {
    const auto found = std::ranges::find(kTargets, name, &NamedTarget::name);
    return found == std::end(kTargets) ? nullptr : found->run;
}

}  // namespace velmora::fuzz
