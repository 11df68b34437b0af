#include "export/M3uExporter.h"

#include "export/PlaylistEntryPath.h"
#include "export/PlaylistText.h"

namespace velmora {

bool M3uExporter::BuildDocument(std::string& out, const std::vector<ExportedFile>& files,
                                const std::u16string& target) {
    const PlaylistText text(codePage_, encoding_);
    out += "#EXTM3U\n";
    for (const ExportedFile& file : files) {
        out += "#EXTINF:";
        out += std::to_string(file.duration);
        out += ',';
        out += text.Text(file.artist);
        out += " - ";
        out += text.Text(file.title);
        out += '\n';
        out += text.Entry(PlaylistEntryPath(file.directory, file.name, target, text.IsUtf8()));
        out += '\n';
    }
    return true;
}

ExportFileType M3uExporter::GetFileType() const {
    // The format decides the encoding, so each offers only its own extension.
    if (encoding_ == PlaylistEncoding::Utf8)
        return {u"m3u8", {{u"M3U8 Files", u"*.m3u8"}, {u"All Files", u"*.*"}}};
    return {u"m3u", {{u"M3U Files", u"*.m3u"}, {u"All Files", u"*.*"}}};
}

}  // namespace velmora
