#include "export/ExportedFileOfRecord.h"

#include "tags/EngineContext.h"
#include "tags/FrameTextOps.h"
#include "tags/Id3v1Tag.h"
#include "tags/Mp3File.h"

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

ExportedFile DescribeForExport(const Mp3File& record, const text::CodePage& codePage) {
    ExportedFile file;
    file.directory = record.Directory();
    file.name = record.Name();
    file.bitrate = record.Bitrate();
    file.vbr = record.Vbr();
    file.duration = record.Duration();
    DescribeTags(record, record.V1(), codePage, file);
    return file;
}

ExportOutcome Export(Exporter& exporter, const std::vector<const Mp3File*>& records,
                     ExportTargetChooser& chooser, const EngineContext& context) {
    std::vector<ExportedFile> files;
    files.reserve(records.size());
    for (const Mp3File* record : records) {
        files.push_back(DescribeForExport(*record, context.codePage));
    }
    return Export(exporter, files, chooser, context.messages);
}

}  // namespace velmora
