#include "batch/RenamePattern.h"
#include "fuzz/FuzzHarness.h"

namespace velmora::fuzz {

void RenameCompileExpand(Input input) {
    // The frames the rename variables read, in the order the input gives their values.
    static constexpr FrameId kFrames[] = {"TPE1", "TALB", "TIT2", "TRCK", "TYER", "TCON"};
    const std::vector<Input> parts = SplitAtZeros(input, 1 + std::size(kFrames));
    const std::u16string expression = LenientUtf8(parts[0]);

    TagEngine engine(input.size());
    Id3v2Tag tag;
    for (std::size_t i = 1; i < parts.size(); ++i)
        SetFrameText(tag, kFrames[i - 1], LenientUtf8(parts[i]), engine.context);

    batch::RenameCompileResult compiled = batch::CompileRenamePattern(expression);
    if (!compiled.pattern) {
        Check(expression.find(u'%' + compiled.unrecognizedField) != std::u16string::npos,
              "the unrecognized field is not in the expression");
    } else {
        const std::u16string name = compiled.pattern->Expand({tag}, Cp1252()).name;
        Check(name.ends_with(u".mp3"), "an expanded name without .mp3");
    }
    testing::RecordingMessageSink messages;
    const bool reported = !batch::CompileRenamePatternOrReport(expression, messages);
    Check(reported == !compiled.pattern, "the two compilers disagree");
    Check(messages.Shown().size() == (reported ? 1u : 0u), "a failed compile is reported once");
}

}  // namespace velmora::fuzz
