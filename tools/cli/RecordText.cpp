#include <sstream>

#include "FrameView.h"
#include "Output.h"
#include "RecordDump.h"
#include "scan/FileListColumns.h"
#include "tags/id3v1/GenreTable.h"
#include "tags/ops/PictureTypeNames.h"
#include "tags/record/Mp3File.h"

namespace velmora::cli {
namespace {

std::string Quoted(std::u16string_view text) {
    return "\"" + Printable(text) + "\"";
}

std::string FrameLine(const FrameView& view) {
    std::string line = "    " + view.id + "  ";
    switch (view.kind) {
        case FrameView::Kind::Text:
            line += Printable(view.text);
            for (std::size_t i = 1; i < view.values.size(); ++i)
                line += " | " + Printable(view.values[i]);
            break;
        case FrameView::Kind::UserText:
            line += Quoted(view.description) + ": " + Printable(view.text);
            break;
        case FrameView::Kind::Url:
            line += view.url;
            break;
        case FrameView::Kind::UserUrl:
            line += Quoted(view.description) + ": " + view.url;
            break;
        case FrameView::Kind::Comment:
            line +=
                "[" + view.language + "] " + Quoted(view.description) + ": " + Printable(view.text);
            break;
        case FrameView::Kind::Picture: {
            const std::size_t type =
                view.pictureType < kPictureTypeNames.size() ? view.pictureType : 0;
            line += view.mime + ", " + Printable(kPictureTypeNames[type]) + ", " +
                    Quoted(view.description) + ", " + std::to_string(view.dataSize) + " bytes";
            break;
        }
        case FrameView::Kind::Raw:
            line += "(kept as is, " + std::to_string(view.dataSize) + " bytes)";
            break;
    }
    return line;
}

void PrintV1(std::ostream& out, const Id3v1Tag& v1) {
    if (v1.IsEmpty()) {
        out << "  ID3v1: none\n";
        return;
    }
    static constexpr std::pair<const char*, std::size_t> kTexts[] = {
        {"Title", Id3v1Tag::kTitle},
        {"Artist", Id3v1Tag::kArtist},
        {"Album", Id3v1Tag::kAlbum},
        {"Year", Id3v1Tag::kYear},
        {"Comment", Id3v1Tag::kComment}};
    out << "  ID3v1\n";
    for (const auto& [label, index] : kTexts)
        out << "    " << label << ": " << Printable(v1.Text(index)) << '\n';
    out << "    Track: " << unsigned{v1.Track()} << '\n';
    out << "    Genre: " << unsigned{v1.Genre()};
    if (v1.Genre() < GenreTable::NamedGenreCount())
        out << " (" << Printable(GenreTable::GenreName(v1.Genre())) << ')';
    out << '\n';
}

}  // namespace

std::string RecordText(const Mp3File& record, const text::CodePage& codePage) {
    std::ostringstream out;
    out << PathBytes(record.DiskPath()) << '\n';
    out << "  MPEG: " << record.Bitrate() << " kbit/s" << (record.Vbr() ? " (VBR)" : "") << ", "
        << Printable(FormatDuration(record.Duration())) << '\n';
    if (record.LoadedId3v2Version() == 0 && record.V2().Frames().empty()) {
        out << "  ID3v2: none\n";
    } else {
        out << "  ID3v2." << unsigned{record.LoadedId3v2Version()} << '\n';
        for (const auto& frame : record.V2().Frames())
            out << FrameLine(ViewFrame(*frame, codePage)) << '\n';
    }
    PrintV1(out, record.V1());
    return out.str();
}

}  // namespace velmora::cli
