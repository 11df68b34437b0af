#include "FrameView.h"

#include "tags/id3v2/FrameFieldTypes.h"
#include "tags/id3v2/FrameLayouts.h"
#include "tags/id3v2/Id3v2Frame.h"
#include "tags/id3v2/StoredBytesField.h"
#include "tags/ops/FrameTextOps.h"
#include "tags/ops/PictureOps.h"

namespace velmora::cli {
namespace {

// The frame's fields sorted by what they hold, each list in field order.
struct FieldsByKind {
    std::optional<std::uint8_t> encoding;
    std::vector<std::u16string> texts;
    std::vector<std::u16string> laterValues;
    std::vector<std::string> narrows;
    const FrameField* rawBody = nullptr;
    bool raw = false;
};

FieldsByKind SortFields(const Id3v2Frame& frame, const text::CodePage& codePage) {
    FieldsByKind out;
    for (std::size_t i = 0; i < frame.FieldCount(); ++i) {
        const FrameField& field = *frame.FieldAt(i);
        switch (field.Kind()) {
            case FieldKind::Encoding:
                if (!out.encoding && !field.Bytes().empty())
                    out.encoding = field.Bytes()[0];
                break;
            case FieldKind::Text:
                out.texts.push_back(field.GetText(codePage));
                break;
            case FieldKind::LaterValues:
                if (auto* later = dynamic_cast<const LaterValuesField*>(&field))
                    out.laterValues = later->Values();
                break;
            case FieldKind::NarrowString:
                out.narrows.push_back(field.GetNarrowText(codePage));
                break;
            case FieldKind::RawBody:
                out.raw = true;
                out.rawBody = &field;
                break;
            default:
                break;
        }
    }
    return out;
}

FrameView::Kind ViewKind(FrameKind kind) {
    switch (kind) {
        case FrameKind::Text:
            return FrameView::Kind::Text;
        case FrameKind::UserText:
            return FrameView::Kind::UserText;
        case FrameKind::Url:
            return FrameView::Kind::Url;
        case FrameKind::UserUrl:
            return FrameView::Kind::UserUrl;
        case FrameKind::Comment:
            return FrameView::Kind::Comment;
        case FrameKind::Picture:
            return FrameView::Kind::Picture;
        case FrameKind::Raw:
            break;
    }
    return FrameView::Kind::Raw;
}

template <typename T>
T At(const std::vector<T>& list, std::size_t index) {
    return index < list.size() ? list[index] : T();
}

void FillValues(FrameView& view, std::vector<std::u16string> firsts,
                const std::vector<std::u16string>& later) {
    view.values = std::move(firsts);
    view.values.insert(view.values.end(), later.begin(), later.end());
    view.text = At(view.values, 0);
}

}  // namespace

FrameView ViewFrame(const Id3v2Frame& frame, const text::CodePage& codePage) {
    FrameView view;
    view.id = frame.Id().ToString();
    FieldsByKind fields = SortFields(frame, codePage);
    view.encoding = fields.encoding;
    view.kind = fields.raw ? FrameView::Kind::Raw : ViewKind(FrameKindOf(frame.Id()));
    switch (view.kind) {
        case FrameView::Kind::Text:
            FillValues(view, fields.texts, fields.laterValues);
            if (view.id == "TCON")
                view.text = GenreDisplayFor(view.text);
            break;
        case FrameView::Kind::UserText:
            view.description = At(fields.texts, 0);
            FillValues(view,
                       {fields.texts.begin() + std::min<std::size_t>(1, fields.texts.size()),
                        fields.texts.end()},
                       fields.laterValues);
            break;
        case FrameView::Kind::Url:
            view.url = At(fields.narrows, 0);
            break;
        case FrameView::Kind::UserUrl:
            view.description = At(fields.texts, 0);
            view.url = At(fields.narrows, 0);
            break;
        case FrameView::Kind::Comment:
            view.language = At(fields.narrows, 0);
            view.description = At(fields.texts, 0);
            view.text = At(fields.texts, 1);
            break;
        case FrameView::Kind::Picture:
            view.mime = At(fields.narrows, 0);
            view.pictureType = PictureType(frame);
            view.description = PictureDescription(frame, codePage);
            view.dataField = PictureDataField(frame);
            view.dataSize = PictureDataLength(frame);
            break;
        case FrameView::Kind::Raw:
            view.dataField = fields.rawBody;
            view.dataSize = fields.rawBody ? FieldLength(*fields.rawBody) : 0;
            break;
    }
    return view;
}

}  // namespace velmora::cli
