#pragma once

// The types the tag operations and record edits take, declared for headers that only pass
// them on.
namespace velmora {

namespace text {
class CodePage;
}
struct EngineContext;
class Id3v1Tag;
class Id3v2Frame;
class Id3v2Tag;
class Mp3File;

}  // namespace velmora
