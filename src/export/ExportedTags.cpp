#include "export/ExportedFileOfRecord.h"

#include "tags/id3v1/Id3v1Tag.h"
#include "tags/id3v2/Id3v2Tag.h"
#include "tags/ops/FrameTextOps.h"

namespace velmora {

namespace {

std::u16string FrameText(const Id3v2Tag& tag, const FrameId& id, const text::CodePage& codePage) {
    return GetFrameText(tag, id, FieldKind::Text, codePage).value_or(std::u16string());
}

}  // namespace

void DescribeTags(const Id3v2Tag& tag, const Id3v1Tag& v1, const text::CodePage& codePage,
                  ExportedFile& file) {
    file.artist = FrameText(tag, "TPE1", codePage);
    file.album = FrameText(tag, "TALB", codePage);
    file.title = FrameText(tag, "TIT2", codePage);
    file.year = FrameText(tag, "TYER", codePage);
    file.track = FrameText(tag, "TRCK", codePage);
    file.genre = GenreDisplayText(tag, codePage);

    file.artist1 = v1.Text(Id3v1Tag::kArtist);
    file.album1 = v1.Text(Id3v1Tag::kAlbum);
    file.title1 = v1.Text(Id3v1Tag::kTitle);
    file.year1 = v1.Text(Id3v1Tag::kYear);
    file.track1 = v1.Track();
    file.genre1 = v1.Genre();
}

}  // namespace velmora
