#include "tags/id3v2/VersionConversion.h"

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "tags/id3v2/EncodingPolicy.h"
#include "tags/id3v2/FrameFieldTypes.h"
#include "tags/id3v2/FrameLayouts.h"
#include "tags/id3v2/Id3v2Tag.h"
#include "tags/ops/YearFrames.h"

namespace velmora {

namespace {

const FrameId kTyer("TYER"), kTdat("TDAT"), kTime("TIME"), kTrda("TRDA"), kTdrc("TDRC");
const FrameId kTory("TORY"), kTdor("TDOR"), kIpls("IPLS"), kTipl("TIPL"), kTmcl("TMCL");

using Values = std::vector<std::u16string>;

// The strings of a text frame: its text and its later values.
Values ValuesOf(const Id3v2Frame* frame) {
    Values values;
    if (!frame)
        return values;
    if (auto* text = static_cast<const TextField*>(FindField(*frame, FieldKind::Text)))
        values.push_back(text->Text());
    if (auto* later =
            static_cast<const LaterValuesField*>(FindField(*frame, FieldKind::LaterValues)))
        values.insert(values.end(), later->Values().begin(), later->Values().end());
    return values;
}

// A frame of `id` that a save writes. One with nothing in it is left out of the tag, so it
// must not stand in for the frame a conversion makes: the date would be lost.
Id3v2Frame* FindWritten(const Id3v2Tag& tag, const FrameId& id) {
    Id3v2Frame* frame = FindFrame(tag, id);
    const auto empty = [](const Id3v2Frame& f) {
        const bool noBytes = f.FieldCount() == 0 ||
                             (f.FieldCount() == 1 && f.FieldAt(0)->Kind() == FieldKind::RawBody &&
                              f.FieldAt(0)->Bytes().empty());
        return noBytes && f.BodyForm().IsPlain() && !f.GroupId();
    };
    while (frame && empty(*frame))
        frame = FindFrame(tag, id, frame);
    return frame;
}

std::u16string FirstValue(const Id3v2Frame* frame) {
    Values values = ValuesOf(frame);
    return values.empty() ? std::u16string() : values.front();
}

bool HasDigit(std::u16string_view text) {
    return std::any_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

bool IsDigits(std::u16string_view text, std::size_t count) {
    return text.size() == count &&
           std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

// A text frame holding the values, in the encoding of the frame it replaces.
std::unique_ptr<Id3v2Frame> TextFrame(const FrameId& id, const Id3v2Frame& like, Values values) {
    auto frame = std::make_unique<Id3v2Frame>(id);
    std::uint8_t source = 0, stored = 0;
    if (auto* encoding = static_cast<const EncodingField*>(FindField(like, FieldKind::Encoding))) {
        source = encoding->Source();
        stored = encoding->Stored();
    }
    frame->PushField(std::make_unique<EncodingField>(source, stored));
    frame->PushField(std::make_unique<TextField>(values.empty() ? u"" : values.front()));
    if (values.size() > 1)
        frame->PushField(
            std::make_unique<LaterValuesField>(Values(values.begin() + 1, values.end())));
    return frame;
}

// Puts the frames where `old` was, in this order.
void Replace(Id3v2Tag& tag, const Id3v2Frame* old, std::vector<std::unique_ptr<Id3v2Frame>> with) {
    auto& frames = tag.MutableFrames();
    auto it =
        std::find_if(frames.begin(), frames.end(), [old](const auto& f) { return f.get() == old; });
    if (it == frames.end())
        return;
    std::size_t at = static_cast<std::size_t>(it - frames.begin());
    frames.erase(it);
    for (auto& frame : with)
        frames.insert(frames.begin() + static_cast<std::ptrdiff_t>(at++), std::move(frame));
    tag.SetFrameListChanged(true);
}

void Replace(Id3v2Tag& tag, const Id3v2Frame* old, std::unique_ptr<Id3v2Frame> with) {
    std::vector<std::unique_ptr<Id3v2Frame>> list;
    list.push_back(std::move(with));
    Replace(tag, old, std::move(list));
}

// A frame kept byte for byte (encrypted, or compressed past reading) is not understood: it
// is written back as it is, never converted or dropped.
bool IsOpaque(const Id3v2Frame& frame) {
    return FindField(frame, FieldKind::RawBody) != nullptr;
}

Id3v2Frame* FindConvertible(Id3v2Tag& tag, const FrameId& id) {
    for (auto& frame : tag.MutableFrames()) {
        if (frame->Id() == id && !IsOpaque(*frame))
            return frame.get();
    }
    return nullptr;
}

// The first frame of `id` a conversion may open whose text holds a digit. A tag may carry an
// empty copy first (dropped on write), which must not cost the date.
Id3v2Frame* FindDated(const Id3v2Tag& tag, const FrameId& id) {
    for (const auto& frame : tag.Frames()) {
        if (frame->Id() == id && !IsOpaque(*frame) && HasDigit(FirstValue(frame.get())))
            return frame.get();
    }
    return nullptr;
}

void RemoveAll(Id3v2Tag& tag, const FrameId& id) {
    while (Id3v2Frame* frame = FindConvertible(tag, id))
        RemoveFrame(tag, frame);
}

// A date frame of one version into its counterpart of the other: `make` gives the new frames
// from the old text (none when it holds no date). With the counterpart present already, the
// old frame is only dropped.
template <typename Make>
void ConvertDate(Id3v2Tag& tag, const FrameId& from, const FrameId& to, Make make) {
    Id3v2Frame* old = FindDated(tag, from);
    if (old && !FindWritten(tag, to)) {
        std::vector<std::unique_ptr<Id3v2Frame>> made = make(*old);
        if (made.empty())
            return;  // a date in a form the other version has no place for: kept as it is
        Replace(tag, old, std::move(made));
    }
    RemoveAll(tag, from);
}

std::vector<std::unique_ptr<Id3v2Frame>> One(std::unique_ptr<Id3v2Frame> frame) {
    std::vector<std::unique_ptr<Id3v2Frame>> list;
    list.push_back(std::move(frame));
    return list;
}

// TYER (+ TDAT DDMM, + TIME HHMM) as yyyy[-MM-dd[THH:mm]]; a year that is no number moves
// over as it is.
std::vector<std::unique_ptr<Id3v2Frame>> StampFromV23(const Id3v2Tag& tag, const Id3v2Frame& tyer) {
    const std::u16string year = FirstValue(&tyer);
    if (!HasDigit(year))
        return {};
    std::u16string stamp = year;
    const std::u16string date = FirstValue(FindDated(tag, kTdat));
    const std::u16string time = FirstValue(FindDated(tag, kTime));
    if (IsDigits(year, 4) && IsDigits(date, 4)) {
        stamp += u"-" + date.substr(2, 2) + u"-" + date.substr(0, 2);
        if (IsDigits(time, 4))
            stamp += u"T" + time.substr(0, 2) + u":" + time.substr(2, 2);
    }
    return One(TextFrame(kTdrc, tyer, {stamp}));
}

std::vector<std::unique_ptr<Id3v2Frame>> YearFromStamp(const FrameId& id, const Id3v2Frame& old) {
    const std::u16string text = FirstValue(&old);
    if (!HasDigit(text))
        return {};
    return One(TextFrame(id, old, {YearOfTimeStamp(text)}));
}

bool HoldsNobody(const Values& values) {
    return std::ranges::all_of(values, [](const std::u16string& text) { return text.empty(); });
}

// People lists are pairs (role, name): a list of an odd count gets an empty name before more
// pairs join it, so that roles stay roles.
void AppendPeople(Values& list, const Values& more) {
    if (HoldsNobody(more))
        return;
    if (list.size() % 2 != 0)
        list.emplace_back();
    list.insert(list.end(), more.begin(), more.end());
}

// `names` (of the frame `from`) join the people list `into` holds, at its place; a list that
// is already there must not cost the other list its names. An empty list takes the encoding
// of the frame that brings the names.
void JoinPeople(Id3v2Tag& tag, Id3v2Frame& into, const Values& names, const Id3v2Frame& from) {
    Values people;
    AppendPeople(people, ValuesOf(&into));
    const Id3v2Frame& like = people.empty() ? from : into;
    AppendPeople(people, names);
    Replace(tag, &into, TextFrame(into.Id(), like, std::move(people)));
}

// The names of every frame of `ids` that a conversion may open, in that order, and the first
// frame holding any. A tag may carry a list twice, or an empty copy first: an empty frame is
// dropped on write and must decide neither the list's encoding nor its place, and no copy may
// lose its names.
Id3v2Frame* CollectPeople(Id3v2Tag& tag, std::initializer_list<FrameId> ids, Values& names) {
    Id3v2Frame* first = nullptr;
    for (const FrameId& id : ids) {
        for (auto& frame : tag.MutableFrames()) {
            const Values values =
                frame->Id() == id && !IsOpaque(*frame) ? ValuesOf(frame.get()) : Values{};
            if (HoldsNobody(values))
                continue;
            if (!first)
                first = frame.get();
            AppendPeople(names, values);
        }
    }
    return first;
}

// The list `first` (holding `names`) becomes a frame `to`, joining one that a save writes. One
// that cannot be opened (encrypted) cannot take them: they get a frame of their own.
void MovePeople(Id3v2Tag& tag, Id3v2Frame* first, Values names, const FrameId& to) {
    if (!first)
        return;
    Id3v2Frame* into = FindWritten(tag, to);
    if (into && !IsOpaque(*into))
        JoinPeople(tag, *into, names, *first);
    else
        Replace(tag, first, TextFrame(to, *first, std::move(names)));
}

void PeopleTo24(Id3v2Tag& tag) {
    Values names;
    Id3v2Frame* first = CollectPeople(tag, {kIpls}, names);
    MovePeople(tag, first, std::move(names), kTipl);
    RemoveAll(tag, kIpls);
}

void PeopleTo23(Id3v2Tag& tag) {
    Values names;
    Id3v2Frame* first = CollectPeople(tag, {kTipl, kTmcl}, names);
    MovePeople(tag, first, std::move(names), kIpls);
    RemoveAll(tag, kTipl);
    RemoveAll(tag, kTmcl);
}

// ID3v2.3 has no multiple values: they become one text, joined with "/" (not the pairs of
// IPLS, whose strings are its layout).
void JoinValues(Id3v2Tag& tag, const text::CodePage& codePage) {
    for (auto& frame : tag.MutableFrames()) {
        const FrameKind kind = FrameKindOf(frame->Id());
        if ((kind != FrameKind::Text && kind != FrameKind::UserText) || frame->Id() == kIpls)
            continue;
        TextField* text = nullptr;
        for (std::size_t i = 0; i < frame->FieldCount(); ++i) {
            FrameField* field = frame->FieldAt(i);
            if (field->Kind() == FieldKind::Text) {
                text = static_cast<TextField*>(field);
            } else if (field->Kind() == FieldKind::LaterValues && text) {
                std::u16string joined = text->Text();
                for (const auto& value : static_cast<LaterValuesField*>(field)->Values())
                    joined += u"/" + value;
                text->SetText(joined, codePage);
                frame->RemoveFieldsFrom(i);
                break;
            }
        }
    }
}

}  // namespace

bool IsConvertedBetweenVersions(const FrameId& id) {
    // Dates and people lists change frames; ID3v2.3 joins the values of every text frame.
    const FrameKind kind = FrameKindOf(id);
    return kind == FrameKind::Text || kind == FrameKind::UserText;
}

void ConvertDateFramesTo24(Id3v2Tag& tag) {
    if (Id3v2Frame* tyer = FindDated(tag, kTyer); tyer && !FindWritten(tag, kTdrc)) {
        if (auto made = StampFromV23(tag, *tyer); !made.empty())
            Replace(tag, tyer, std::move(made));
    }
    // TYER is superseded by TDRC (or held no digit, so no year); so are TDAT and TIME once
    // there is a TDRC, else they are kept.
    RemoveAll(tag, kTyer);
    if (FindWritten(tag, kTdrc)) {
        RemoveAll(tag, kTdat);
        RemoveAll(tag, kTime);
    }
    ConvertDate(tag, kTrda, kTdrc, [](const Id3v2Frame& old) {
        std::vector<std::unique_ptr<Id3v2Frame>> made;
        if (TimeStamp::Parse(FirstValue(&old)))
            made = One(TextFrame(kTdrc, old, {FirstValue(&old)}));
        return made;
    });
    ConvertDate(tag, kTory, kTdor, [](const Id3v2Frame& old) {
        std::vector<std::unique_ptr<Id3v2Frame>> made;
        if (HasDigit(FirstValue(&old)))
            made = One(TextFrame(kTdor, old, {FirstValue(&old)}));
        return made;
    });
}

void ConvertFramesForVersion(Id3v2Tag& tag, std::uint8_t majorVersion,
                             const text::CodePage& codePage) {
    if (majorVersion == 4) {
        ConvertDateFramesTo24(tag);
        PeopleTo24(tag);
        return;
    }
    ConvertDate(tag, kTdrc, kTyer, [&tag](const Id3v2Frame& tdrc) {
        std::vector<std::unique_ptr<Id3v2Frame>> made;
        const std::u16string text = FirstValue(&tdrc);
        auto stamp = TimeStamp::Parse(text);
        if (!stamp) {
            if (HasDigit(text))
                made = One(TextFrame(kTyer, tdrc, {text}));
            return made;
        }
        made = One(TextFrame(kTyer, tdrc, {stamp->year}));
        if (!stamp->day.empty() && !FindDated(tag, kTdat))
            made.push_back(TextFrame(kTdat, tdrc, {stamp->day + stamp->month}));
        if (!stamp->minute.empty() && !FindDated(tag, kTime))
            made.push_back(TextFrame(kTime, tdrc, {stamp->hour + stamp->minute}));
        return made;
    });
    ConvertDate(tag, kTdor, kTory,
                [](const Id3v2Frame& tdor) { return YearFromStamp(kTory, tdor); });
    PeopleTo23(tag);
    JoinValues(tag, codePage);
}

void ApplyEncodingChoice(Id3v2Tag& tag, const EncodingPolicy& policy) {
    for (const auto& frame : tag.Frames()) {
        auto* field = static_cast<EncodingField*>(FindField(*frame, FieldKind::Encoding));
        if (!field)
            continue;
        const std::uint8_t wanted = policy.StoredFor(field->Source());
        if (wanted != field->Stored())
            field->SetBytes(std::span<const std::uint8_t>(&wanted, 1));
    }
}

}  // namespace velmora
