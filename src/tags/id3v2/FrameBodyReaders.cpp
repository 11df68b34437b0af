#include "tags/id3v2/FrameBodyReaders.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "tags/file/ByteCursor.h"
#include "tags/id3v2/FrameFieldTypes.h"
#include "tags/id3v2/Id3v2Frame.h"
#include "tags/id3v2/StoredBytesField.h"
#include "tags/id3v2/TextEncoding.h"

namespace velmora {

namespace {

std::string_view AsChars(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

bool AllZero(std::span<const std::uint8_t> bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

// The strings of a text frame: the first, and the later ones kept apart so that the usual
// single value needs no list.
struct DecodedValues {
    std::u16string first;
    std::vector<std::u16string> later;
};

// Splits what is left of a body into its strings. Trailing empty strings (a final
// terminator, zero padding) are not values; a final UTF-16 string of odd length may end in
// one stray zero byte.
std::optional<DecodedValues> DecodeValues(std::span<const std::uint8_t> rest, std::uint8_t encoding,
                                          const text::CodePage& codePage) {
    // A UTF-16 string needs room for its byte-order mark.
    if (encoding == text_encoding::kUtf16 && rest.size() < 2)
        return std::nullopt;
    const std::size_t terminator = text_encoding::TerminatorLength(encoding);
    DecodedValues values;
    for (bool first = true;; first = false) {
        std::size_t end = FindTerminator(rest, encoding);
        auto piece = rest.first(std::min(end, rest.size()));
        if (end == std::string_view::npos && terminator == 2 && piece.size() % 2 == 1 &&
            piece.back() == 0)
            piece = piece.first(piece.size() - 1);
        auto value = DecodeText(piece, encoding, codePage);
        if (!value)
            return std::nullopt;
        if (first)
            values.first = std::move(*value);
        else
            values.later.push_back(std::move(*value));
        if (end == std::string_view::npos)
            break;
        rest = rest.subspan(end + terminator);
    }
    while (!values.later.empty() && values.later.back().empty())
        values.later.pop_back();
    return values;
}

class LayoutWalk {
  public:
    LayoutWalk(const FrameId& id, std::span<const std::uint8_t> body,
               const BodyReadContext& context)
        : id_(id), cursor_(body, "frame body"), context_(context) {}

    // False when the part does not fit what is left of the body (too few bytes among them).
    bool Read(BodyPart part) {
        switch (part) {
            case BodyPart::Encoding:
                return ReadEncoding();
            case BodyPart::Language:
                return ReadLanguage();
            case BodyPart::NarrowTerminated:
                return ReadNarrowTerminated();
            case BodyPart::NarrowRest:
                return ReadNarrowRest();
            case BodyPart::Byte:
                return ReadBytes(part);
            case BodyPart::TextTerminated:
                return ReadTextTerminated();
            case BodyPart::TextValues:
                return ReadTextValues();
            case BodyPart::BinaryRest:
            case BodyPart::RawRest:
                return ReadBytes(part);
        }
        return false;
    }

    bool Finished() const { return cursor_.AtEnd(); }

    // Hands the fields over, sizing the frame's vector once.
    void MoveFieldsInto(Id3v2Frame& frame) {
        frame.ReserveFields(frame.FieldCount() + count_);
        for (std::size_t i = 0; i < count_; ++i)
            frame.PushField(std::move(fields_[i]));
        count_ = 0;
    }

  private:
    // Every part makes at most two fields.
    static constexpr std::size_t kMaxWalkFields =
        2 * std::tuple_size_v<decltype(FrameLayout::parts)>;

    void Add(std::unique_ptr<FrameField> field) { fields_.at(count_++) = std::move(field); }

    bool ReadEncoding() {
        auto encoding = cursor_.TakeByte();
        if (!encoding || !text_encoding::IsSupported(*encoding))
            return false;
        encoding_ = *encoding;
        Add(std::make_unique<EncodingField>(encoding_, context_.policy));
        return true;
    }

    bool ReadLanguage() {
        auto bytes = cursor_.Take(3);
        if (!bytes)
            return false;
        // Kept as written ("XXX" stays "XXX"); lookups by code ignore the case.
        Add(std::make_unique<NarrowStringField>(AsChars(*bytes), 3));
        return true;
    }

    // One byte or the rest, as a binary or a raw field.
    bool ReadBytes(BodyPart part) {
        auto bytes = part == BodyPart::Byte ? cursor_.Take(1) : cursor_.Take(cursor_.Left());
        if (!bytes)
            return false;
        const auto kind = part == BodyPart::RawRest ? FieldKind::RawBody : FieldKind::Binary;
        if (part != BodyPart::Byte && context_.deferredTail &&
            LeavesFileAtSize(id_, bytes->size())) {
            *context_.deferredTail = {*bytes, kind};
            return true;
        }
        Add(std::make_unique<FrameField>(kind, *bytes));
        return true;
    }

    bool ReadNarrowTerminated() {
        auto rest = cursor_.PeekRest();
        auto zero = std::find(rest.begin(), rest.end(), std::uint8_t{0});
        if (zero == rest.end())
            return false;
        auto chars = *cursor_.Take(static_cast<std::size_t>(zero - rest.begin()) + 1);
        Add(std::make_unique<NarrowStringField>(AsChars(chars.first(chars.size() - 1))));
        Add(std::make_unique<TerminatorField>(false));
        return true;
    }

    bool ReadNarrowRest() {
        auto rest = cursor_.TakeRest();
        auto zero = std::find(rest.begin(), rest.end(), std::uint8_t{0});
        auto length = static_cast<std::size_t>(zero - rest.begin());
        if (!AllZero(rest.subspan(length)))
            return false;
        Add(std::make_unique<NarrowStringField>(AsChars(rest.first(length))));
        return true;
    }

    bool ReadTextTerminated() {
        auto rest = cursor_.PeekRest();
        std::size_t end = FindTerminator(rest, encoding_);
        if (end == std::string_view::npos)
            return false;
        auto text = DecodeText(rest.first(end), encoding_, context_.codePage);
        if (!text)
            return false;
        if (!cursor_.Take(end + text_encoding::TerminatorLength(encoding_)))
            return false;
        Add(std::make_unique<TextField>(std::move(*text)));
        Add(std::make_unique<TerminatorField>(true));
        return true;
    }

    bool ReadTextValues() {
        auto values = DecodeValues(cursor_.TakeRest(), encoding_, context_.codePage);
        if (!values)
            return false;
        Add(std::make_unique<TextField>(std::move(values->first)));
        if (!values->later.empty())
            Add(std::make_unique<LaterValuesField>(std::move(values->later)));
        return true;
    }

    const FrameId& id_;
    ByteCursor cursor_;
    const BodyReadContext& context_;
    std::uint8_t encoding_ = 0;
    // Collected here, not in a growing vector: a body that does not fit its layout is kept
    // raw instead, so nothing reaches the frame before the whole body has been read.
    std::array<std::unique_ptr<FrameField>, kMaxWalkFields> fields_;
    std::size_t count_ = 0;
};

}  // namespace

bool ReadBodyByLayout(Id3v2Frame& frame, std::span<const std::uint8_t> body,
                      const FrameLayout& layout, const BodyReadContext& context) {
    LayoutWalk walk(frame.Id(), body, context);
    bool fits = true;
    for (std::size_t i = 0; fits && i < layout.partCount; ++i)
        fits = walk.Read(layout.parts[i].shape);
    if (!fits || !walk.Finished()) {
        if (context.deferredTail)
            *context.deferredTail = {};
        return false;
    }
    walk.MoveFieldsInto(frame);
    return true;
}

void ReadRawBody(Id3v2Frame& frame, std::span<const std::uint8_t> body) {
    frame.PushField(std::make_unique<FrameField>(FieldKind::RawBody, body));
}

void ReadFrameBody(Id3v2Frame& frame, std::span<const std::uint8_t> body,
                   const BodyReadContext& context) {
    if (body.empty())
        return;
    if (ReadBodyByLayout(frame, body, LayoutOf(FrameKindOf(frame.Id())), context))
        return;
    if (context.deferredTail && LeavesFileAtSize(frame.Id(), body.size()))
        *context.deferredTail = {body, FieldKind::RawBody};
    else
        ReadRawBody(frame, body);
}

}  // namespace velmora
