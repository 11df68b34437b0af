#include "tags/FrameTextOps.h"

#include <algorithm>
#include <memory>
#include <string>

#include "tags/EncodingPolicy.h"
#include "tags/EngineContext.h"
#include "tags/FrameFieldTypes.h"
#include "tags/FrameIdTable.h"
#include "tags/GenreTable.h"
#include "tags/Id3v1Tag.h"
#include "tags/Id3v2Tag.h"
#include "tags/YearFrames.h"
#include "text/Utf8.h"

namespace velmora {

namespace {

std::u16string Decimal(unsigned value) {
    return text::FromUtf8(std::to_string(value));
}

bool IsLowerAscii(char16_t c) {
    return c >= u'a' && c <= u'z';
}

// Gives a frame that has no usable text field (kept as raw bytes, or read with size 0) the
// layout of a text frame.
TextField& EnsureTextField(Id3v2Frame& frame, const EngineContext& context) {
    if (auto* field = FindField(frame, FieldKind::Text))
        return *static_cast<TextField*>(field);
    frame.ClearFields();
    frame.SetBodyForm({});
    frame.PushField(std::make_unique<EncodingField>(0, EncodingPolicy::Read(context.settings)));
    auto text = std::make_unique<TextField>(u"");
    TextField& added = *text;
    AppendField(frame, std::move(text));
    return added;
}

void DropLaterValues(Id3v2Frame& frame) {
    for (std::size_t i = 0; i < frame.FieldCount(); ++i) {
        if (frame.FieldAt(i)->Kind() == FieldKind::LaterValues) {
            frame.RemoveFieldsFrom(i);
            MarkFrame(frame, true);
            return;
        }
    }
}

}  // namespace

std::optional<std::u16string> GetFrameText(const Id3v2Tag& tag, const FrameId& id, FieldKind kind,
                                           const text::CodePage& codePage) {
    if (id == frame_ids::kTyer && kind == FieldKind::Text)
        return YearText(tag, codePage);
    return GetTextOfFrame(tag, id, kind, codePage);
}

std::optional<std::u16string> GetTextOfFrame(const Id3v2Tag& tag, const FrameId& id, FieldKind kind,
                                             const text::CodePage& codePage) {
    const Id3v2Frame* frame = FindFrame(tag, id);
    if (!frame)
        return std::nullopt;
    const FrameField* field = FindField(*frame, kind);
    if (!field)
        return std::nullopt;
    return field->GetText(codePage);
}

std::u16string StripTrackZeros(std::u16string_view track) {
    std::size_t start = 0;
    while (track.size() - start >= 2 && track[start] == u'0')
        ++start;
    return std::u16string(track.substr(start));
}

std::u16string GenreReference(std::u16string_view genre) {
    auto lookup = GenreTable::GenreIndex(genre);
    if (!lookup.found)
        return std::u16string(genre);
    return u"(" + Decimal(lookup.index) + u")";
}

void SetFrameText(Id3v2Tag& tag, const FrameId& id, std::u16string_view text,
                  const EngineContext& context) {
    if (id == frame_ids::kTyer)
        SetYear(tag, text, context);
    else if (id == frame_ids::kTrck)
        SetTextFrame(tag, id, StripTrackZeros(text), context);
    else if (id == frame_ids::kTcon)
        SetTextFrame(tag, id, GenreReference(text), context);
    else
        SetTextFrame(tag, id, text, context);
}

void SetTextFrame(Id3v2Tag& tag, const FrameId& id, std::u16string_view text,
                  const EngineContext& context) {
    std::u16string value(text);
    if (Id3v2Frame* frame = FindFrame(tag, id)) {
        EnsureTextField(*frame, context).SetText(value, context.codePage);
        DropLaterValues(*frame);
        return;
    }
    auto frame = std::make_unique<Id3v2Frame>(id);
    frame->PushField(std::make_unique<EncodingField>(0, EncodingPolicy::Read(context.settings)));
    frame->PushField(std::make_unique<TextField>(std::move(value)));
    AppendFrame(tag, std::move(frame));
}

std::u16string GenreDisplayFor(std::u16string_view text) {
    if (text.empty() || text.front() != u'(')
        return std::u16string(text);
    std::size_t i = 1;
    unsigned number = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        number = std::min(number * 10 + static_cast<unsigned>(text[i] - u'0'), 1000000u);
        ++i;
    }
    while (i < text.size() && text[i] != u')')
        ++i;
    if (i < text.size())
        ++i;
    if (i < text.size())
        return std::u16string(text.substr(i));
    if (number < GenreTable::GenreCount())
        return std::u16string(GenreTable::GenreName(number));
    return {};
}

std::u16string GenreDisplayText(const Id3v2Tag& tag, const text::CodePage& codePage) {
    auto text = GetFrameText(tag, frame_ids::kTcon, FieldKind::Text, codePage);
    return GenreDisplayFor(text.value_or(u""));
}

void CopyFromId3v1(Id3v2Tag& tag, const Id3v1Tag& v1, const EngineContext& context) {
    SetFrameText(tag, frame_ids::kTit2, v1.Text(Id3v1Tag::kTitle), context);
    SetFrameText(tag, frame_ids::kTpe1, v1.Text(Id3v1Tag::kArtist), context);
    SetFrameText(tag, frame_ids::kTalb, v1.Text(Id3v1Tag::kAlbum), context);
    SetFrameText(tag, frame_ids::kTyer, v1.Text(Id3v1Tag::kYear), context);
    SetFrameText(tag, frame_ids::kTrck, Decimal(v1.Track()), context);
    std::u16string genre;
    if (v1.Genre() < GenreTable::GenreCount())
        genre = u"(" + Decimal(v1.Genre()) + u")";
    SetFrameText(tag, frame_ids::kTcon, genre, context);
}

std::u16string CapitalizedWords(std::u16string_view text) {
    std::u16string result(text);
    for (std::size_t i = 0; i < result.size(); ++i) {
        bool wordStart =
            i == 0 || result[i - 1] == u' ' || result[i - 1] == u'_' || result[i - 1] == u'-';
        if (wordStart && IsLowerAscii(result[i]))
            result[i] = static_cast<char16_t>(result[i] - u'a' + u'A');
    }
    return result;
}

bool CapitalizeWords(Id3v2Tag& tag, const FrameId& id, const EngineContext& context) {
    auto text = GetFrameText(tag, id, FieldKind::Text, context.codePage);
    if (!text)
        return false;
    std::u16string result = CapitalizedWords(*text);
    if (result == *text)
        return false;
    SetFrameText(tag, id, result, context);
    return true;
}

bool UnderscoresToSpaces(Id3v2Tag& tag, const FrameId& id, const EngineContext& context) {
    auto text = GetFrameText(tag, id, FieldKind::Text, context.codePage);
    if (!text || text->find(u'_') == std::u16string::npos)
        return false;
    std::u16string result = *text;
    std::replace(result.begin(), result.end(), u'_', u' ');
    SetFrameText(tag, id, result, context);
    return true;
}

}  // namespace velmora
