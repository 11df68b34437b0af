#include "export/PlsExporter.h"

#include <cstddef>
#include <string_view>

#include "export/PlaylistEntryPath.h"
#include "export/PlaylistText.h"

namespace velmora {

namespace {

void AppendLine(std::string& out, std::string_view key, std::size_t entry, std::string_view value) {
    out += key;
    out += std::to_string(entry);
    out += '=';
    out += value;
    out += '\n';
}

}  // namespace

bool PlsExporter::BuildDocument(std::string& out, const std::vector<ExportedFile>& files,
                                const std::u16string& target) {
    const PlaylistText text(CodePage(), Encoding());
    out += "[playlist]\n";
    std::size_t entry = 0;
    for (const ExportedFile& file : files) {
        ++entry;
        AppendLine(out, "File", entry,
                   text.Entry(PlaylistEntryPath(file.directory, file.name, target, text.IsUtf8())));
        AppendLine(out, "Title", entry, text.Text(file.title));
        AppendLine(out, "Length", entry, std::to_string(file.duration));
    }
    out += "NumberOfEntries=";
    out += std::to_string(files.size());
    out += "\nVersion=2";
    return true;
}

ExportFileType PlsExporter::GetFileType() const {
    return {u"pls", {{u"PLS Files", u"*.pls"}, {u"All Files", u"*.*"}}};
}

}  // namespace velmora
