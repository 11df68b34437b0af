#include "batch/RenamePieces.h"

#include "tags/id3v2/FrameIdTable.h"
#include "tags/ops/ShownFields.h"

namespace velmora::batch {

void LiteralPiece::AppendTo(const ShownTags&, const text::CodePage&, std::u16string& out) const {
    out += text_;
}

void FrameTextPiece::AppendTo(const ShownTags& tags, const text::CodePage& codePage,
                              std::u16string& out) const {
    out += ShownFrameText(tags, id_, codePage).text;
}

void TrackPiece::AppendTo(const ShownTags& tags, const text::CodePage& codePage,
                          std::u16string& out) const {
    const std::u16string text = ShownFrameText(tags, frame_ids::kTrck, codePage).text;
    if (text.size() == 1)
        out += u'0';
    out += text;
}

void GenrePiece::AppendTo(const ShownTags& tags, const text::CodePage& codePage,
                          std::u16string& out) const {
    out += ShownGenre(tags, codePage).text;
}

}  // namespace velmora::batch
