#include "batch/RenamePieces.h"

#include "tags/FrameIdTable.h"
#include "tags/FrameTextOps.h"
#include "tags/Id3v2Tag.h"

namespace velmora::batch {

void LiteralPiece::AppendTo(const Id3v2Tag&, const text::CodePage&, std::u16string& out) const {
    out += text_;
}

void FrameTextPiece::AppendTo(const Id3v2Tag& tag, const text::CodePage& codePage,
                              std::u16string& out) const {
    if (auto text = GetFrameText(tag, id_, FieldKind::Text, codePage))
        out += *text;
}

void TrackPiece::AppendTo(const Id3v2Tag& tag, const text::CodePage& codePage,
                          std::u16string& out) const {
    auto text = GetFrameText(tag, frame_ids::kTrck, FieldKind::Text, codePage);
    if (!text)
        return;
    if (text->size() == 1)
        out += u'0';
    out += *text;
}

void GenrePiece::AppendTo(const Id3v2Tag& tag, const text::CodePage& codePage,
                          std::u16string& out) const {
    out += GenreDisplayText(tag, codePage);
}

}  // namespace velmora::batch
