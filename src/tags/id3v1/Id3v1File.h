#pragma once

namespace velmora {

class BufferedFile;
class Id3v1Tag;

namespace text {
class CodePage;
}

// The ID3v1 step of loading, on an open file; file errors throw CFileExceptionEx. Saves write
// and remove the record through the save planner (TagSavePlan.h).

// Reads the last 128 bytes into `tag` when they are an ID3v1 tag (and says so); else leaves
// `tag` alone.
bool ReadId3v1(BufferedFile& file, Id3v1Tag& tag, const text::CodePage& codePage);

}  // namespace velmora
