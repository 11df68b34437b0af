#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace velmora::fuzz {

using Input = std::span<const std::uint8_t>;
using TargetFunction = void (*)(Input);

// One function per input the program parses. Each returns normally for any input, however
// malformed, and throws InvariantBroken when the program's answer is wrong.

// The bytes as a CSV document and as clipboard text: what reads must write and read back equal.
void CsvRead(Input input);
// The bytes as a whole MP3 file through the record's load.
void Mp3Load(Input input);
// Load, set the title, save, load again: the result loads and the other frames are unchanged.
void Mp3SaveRoundTrip(Input input);
// First byte: options; then the pattern, a zero byte and the subject (UTF-8).
void RegexCompileSearch(Input input);
// The expression, then zero-separated artist, album, title, track, year and genre (UTF-8).
void RenameCompileExpand(Input input);
// The bytes as the settings file: open, a few reads, one write, open again.
void SettingsOpen(Input input);
// The bytes shape an element tree with raw UTF-16 attribute texts; the document must parse.
void XmlWriterParse(Input input);

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
inline TargetFunction FindTarget(std::string_view name) {
    for (const auto& target : kTargets) {
        if (target.name == name)
            return target.run;
    }
    return nullptr;
}

}  // namespace velmora::fuzz
