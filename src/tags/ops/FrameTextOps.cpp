#include "tags/ops/FrameTextOps.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tags/id3v1/GenreTable.h"
#include "tags/id3v1/Id3v1Record.h"
#include "tags/id3v1/Id3v1Tag.h"
#include "tags/id3v2/EncodingPolicy.h"
#include "tags/id3v2/FrameFieldTypes.h"
#include "tags/id3v2/FrameIdTable.h"
#include "tags/id3v2/Id3v2Tag.h"
#include "tags/ops/YearFrames.h"
#include "tags/record/EngineContext.h"
#include "text/UpperCase.h"
#include "text/Utf8.h"

namespace velmora {

namespace {

std::u16string Decimal(unsigned value) {
    return text::FromUtf8(std::to_string(value));
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool IsLowerAscii(char32_t c) {
    return c >= u'a' && c <= u'z';
}

// Gives a frame that has no usable text field (kept as raw bytes, or read with size 0) the
// layout of a text frame.
TextField& EnsureTextField(Id3v2Frame& frame, const EngineContext& context) {
    if (auto* field = FindField(frame, FieldKind::Text))
        return *static_cast<TextField*>(field);
    frame.ClearFields();
    frame.SetBodyForm({});
    frame.PushField(std::make_unique<EncodingField>(0, context.options.encoding));
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

// The text a frame with the ID stores for `text`: TRCK without leading zeros, a TCON genre
// name as its reference.
std::u16string StoredText(const FrameId& id, std::u16string_view text) {
    if (id == frame_ids::kTrck)
        return StripTrackZeros(text);
    if (id == frame_ids::kTcon)
        return GenreReference(text);
    return std::u16string(text);
}

// The two words ID3v2.3 writes as references in TCON, with the genre they stand for.
constexpr std::pair<std::u16string_view, std::u16string_view> kGenreWords[] = {{u"(RX)", u"Remix"},
                                                                               {u"(CR)", u"Cover"}};

using TextRule = std::u16string (*)(std::u16string_view);

// Applies the rule to every value after the first of a multi-value frame; true when one
// changed.
bool RewriteLaterValues(Id3v2Frame& frame, TextRule rule) {
    for (std::size_t i = 0; i < frame.FieldCount(); ++i) {
        if (frame.FieldAt(i)->Kind() != FieldKind::LaterValues)
            continue;
        std::vector<std::u16string> values =
            static_cast<LaterValuesField*>(frame.FieldAt(i))->Values();
        bool changed = false;
        for (std::u16string& value : values) {
            std::u16string result = rule(value);
            changed = changed || result != value;
            value = std::move(result);
        }
        if (changed) {
            frame.RemoveFieldsFrom(i);
            frame.PushField(std::make_unique<LaterValuesField>(std::move(values)));
        }
        return changed;
    }
    return false;
}

// Applies the rule to every value of the frame's text, the first one stored as SetFrameText
// stores it; true when a value changed.
bool RewriteValues(Id3v2Tag& tag, const FrameId& id, TextRule rule, const EngineContext& context) {
    Id3v2Frame* frame = FindFrame(tag, id);
    FrameField* first = frame ? FindField(*frame, FieldKind::Text) : nullptr;
    if (!first)
        return false;
    const std::u16string text = first->GetText(context.codePage);
    const std::u16string result = rule(text);
    if (result != text)
        first->SetText(StoredText(id, result), context.codePage);
    return RewriteLaterValues(*frame, rule) || result != text;
}

std::u16string SpacedUnderscores(std::u16string_view text) {
    std::u16string result(text);
    std::replace(result.begin(), result.end(), u'_', u' ');
    return result;
}

// Copies one ID3v1 text unless it is blank or only what the ID3v1 field makes of the ID3v2
// text (cut to 30 characters, characters the code page lacks replaced): then the ID3v2 text
// is the fuller one.
void CopyV1Text(Id3v2Tag& tag, const FrameId& id, const Id3v1Tag& v1, std::size_t index,
                const EngineContext& context) {
    const std::u16string& text = v1.Text(index);
    if (text.empty())
        return;
    const auto current = GetFrameText(tag, id, FieldKind::Text, context.codePage);
    if (current && Id3v1FieldImage(*current, index, context.codePage) == text)
        return;
    SetFrameText(tag, id, text, context);
}

// The number a TRCK text starts with ("5/12" gives 5); none without digits.
std::optional<unsigned> LeadingNumber(std::u16string_view text) {
    std::size_t i = 0;
    unsigned number = 0;
    while (i < text.size() && IsDigit(text[i]) && number < 1000)
        number = number * 10 + static_cast<unsigned>(text[i++] - u'0');
    return i == 0 ? std::nullopt : std::optional<unsigned>(number);
}

// The number of a genre written in digits; any number too large to name a genre is that.
unsigned GenreNumber(std::u16string_view digits) {
    unsigned number = 0;
    for (std::size_t i = 0; i < digits.size() && number < GenreTable::NamedGenreCount(); ++i)
        number = number * 10 + static_cast<unsigned>(digits[i] - u'0');
    return number;
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
    while (start + 1 < track.size() && track[start] == u'0' && IsDigit(track[start + 1]))
        ++start;
    return std::u16string(track.substr(start));
}

std::u16string GenreReference(std::u16string_view genre) {
    auto lookup = GenreTable::GenreIndex(genre);
    // Names beyond the classic list stay text, which every reader shows.
    if (!lookup.found || lookup.index >= GenreTable::GenreCount())
        return std::u16string(genre);
    return u"(" + Decimal(lookup.index) + u")";
}

void SetFrameText(Id3v2Tag& tag, const FrameId& id, std::u16string_view text,
                  const EngineContext& context) {
    if (id == frame_ids::kTyer)
        SetYear(tag, text, context);
    else
        SetTextFrame(tag, id, StoredText(id, text), context);
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
    frame->PushField(std::make_unique<EncodingField>(0, context.options.encoding));
    frame->PushField(std::make_unique<TextField>(std::move(value)));
    AppendFrame(tag, std::move(frame));
}

std::u16string GenreDisplayFor(std::u16string_view text) {
    for (const auto& [reference, name] : kGenreWords) {
        if (text.starts_with(reference))
            return std::u16string(text.size() > reference.size() ? text.substr(reference.size())
                                                                 : name);
    }
    // An ID3v2.4 genre may be a bare number, which names the genre like a reference; out of
    // range it is text.
    if (!text.empty() && std::all_of(text.begin(), text.end(), IsDigit)) {
        const unsigned number = GenreNumber(text);
        return number < GenreTable::NamedGenreCount()
                   ? std::u16string(GenreTable::GenreName(number))
                   : std::u16string(text);
    }
    // Only "(", digits and ")" make a reference; anything else is the genre's own text.
    std::size_t close = 1;
    while (close < text.size() && IsDigit(text[close]))
        ++close;
    if (text.empty() || text.front() != u'(' || close == 1 || close == text.size() ||
        text[close] != u')')
        return std::u16string(text);
    if (close + 1 < text.size())
        return std::u16string(text.substr(close + 1));
    return std::u16string(GenreTable::GenreName(GenreNumber(text.substr(1, close - 1))));
}

std::u16string GenreDisplayText(const Id3v2Tag& tag, const text::CodePage& codePage) {
    auto text = GetFrameText(tag, frame_ids::kTcon, FieldKind::Text, codePage);
    return GenreDisplayFor(text.value_or(u""));
}

bool CopyFromId3v1(Id3v2Tag& tag, const Id3v1Tag& v1, const EngineContext& context) {
    if (!v1.Exists())
        return false;
    CopyV1Text(tag, frame_ids::kTit2, v1, Id3v1Tag::kTitle, context);
    CopyV1Text(tag, frame_ids::kTpe1, v1, Id3v1Tag::kArtist, context);
    CopyV1Text(tag, frame_ids::kTalb, v1, Id3v1Tag::kAlbum, context);
    CopyV1Text(tag, frame_ids::kTyer, v1, Id3v1Tag::kYear, context);
    const auto track = GetFrameText(tag, frame_ids::kTrck, FieldKind::Text, context.codePage);
    if (v1.Track() != 0 && LeadingNumber(track.value_or(u"")) != v1.Track())
        SetFrameText(tag, frame_ids::kTrck, Decimal(v1.Track()), context);
    if (v1.Genre() < GenreTable::NamedGenreCount() &&
        GenreTable::GenreIndex(GenreDisplayText(tag, context.codePage)).index != v1.Genre())
        SetFrameText(tag, frame_ids::kTcon, GenreTable::GenreName(v1.Genre()), context);
    return true;
}

std::u16string CapitalizedWords(std::u16string_view text) {
    std::u16string result;
    result.reserve(text.size());
    // Only for a word that starts beyond ASCII: most texts never need the locale.
    std::optional<text::UpperCase> upper;
    bool wordStart = true;
    for (std::size_t i = 0; i < text.size();) {
        char32_t c = text[i++];
        if (c >= 0xD800 && c < 0xDC00 && i < text.size() && text[i] >= 0xDC00 && text[i] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i++] - 0xDC00);
        const bool separator = c == u' ' || c == u'_' || c == u'-';
        if (wordStart && IsLowerAscii(c)) {
            c = c - u'a' + u'A';
        } else if (wordStart && c >= 0x80) {
            if (!upper)
                upper.emplace();
            c = (*upper)(c);
        }
        text::AppendUtf16CodePoint(result, c);
        wordStart = separator;
    }
    return result;
}

bool CapitalizeWords(Id3v2Tag& tag, const FrameId& id, const EngineContext& context) {
    return RewriteValues(tag, id, CapitalizedWords, context);
}

bool UnderscoresToSpaces(Id3v2Tag& tag, const FrameId& id, const EngineContext& context) {
    return RewriteValues(tag, id, SpacedUnderscores, context);
}

}  // namespace velmora
