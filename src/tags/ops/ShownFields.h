#pragma once

#include <string>

#include "tags/id3v2/FrameId.h"
#include "tags/ops/TagOpsFwd.h"

namespace velmora {

// What the file list and the rename variables show of a field: the text of the ID3v2 frame,
// or, where the ID3v2 tag has no such frame, the file's ID3v1 value (as other taggers do), so
// that a file tagged with ID3v1 alone still shows and renames by its values.
struct ShownText {
    std::u16string text;
    bool fromV1 = false;  // the value is the ID3v1 tag's
};

// The tags a file's fields are shown from; without an ID3v1 tag, the ID3v2 texts alone.
struct ShownTags {
    const Id3v2Tag& v2;
    const Id3v1Tag* v1 = nullptr;
};
// The record's two tags; its ID3v1 tag only while no removal of it is pending.
ShownTags ShownTagsOf(const Mp3File& record);

// The text of TIT2, TPE1, TALB, TYER or TRCK (GetFrameText), else the ID3v1 title, artist,
// album, year or track (in decimal, none for 0); other frames have no ID3v1 value.
ShownText ShownFrameText(const ShownTags& tags, const FrameId& id, const text::CodePage& codePage);
// The genre as GenreDisplayText shows it, else the name of the ID3v1 genre.
ShownText ShownGenre(const ShownTags& tags, const text::CodePage& codePage);

}  // namespace velmora
