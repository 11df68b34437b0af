#pragma once

#include <cstdint>

namespace velmora {

namespace text {
class CodePage;
}
class Id3v2Tag;
struct EncodingPolicy;
struct FrameId;

// Turns the frames of a tag into those of the version a save writes, as other taggers do:
// for ID3v2.4, TYER with TDAT and TIME into TDRC (TRDA when there is no year), TORY into
// TDOR, IPLS into TIPL; for ID3v2.3, TDRC into TYER with TDAT and TIME, TDOR into TORY,
// TIPL and TMCL into IPLS, and the values of a text frame joined with "/". A converted frame
// takes the place of its source. Frames with no counterpart stay as they are; date texts
// without a digit hold no date and are dropped.
void ConvertFramesForVersion(Id3v2Tag& tag, std::uint8_t majorVersion,
                             const text::CodePage& codePage);

// Gives each frame the encoding the options choose for the one it was read in, as a load
// under these options would, so options changed after the load reach the next save.
void ApplyEncodingChoice(Id3v2Tag& tag, const EncodingPolicy& policy);

// Whether a version change may convert or drop frames with this ID. Frames kept byte for
// byte (not understood) never are.
bool IsConvertedBetweenVersions(const FrameId& id);

// The ID3v2.4 date step alone: TYER (with TDAT and TIME) or TRDA into TDRC, TORY into TDOR.
void ConvertDateFramesTo24(Id3v2Tag& tag);

}  // namespace velmora
