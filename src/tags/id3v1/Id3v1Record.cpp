#include "tags/id3v1/Id3v1Record.h"

#include <algorithm>
#include <span>
#include <string>
#include <string_view>

#include "text/CodePage.h"

namespace velmora {

namespace {

using RecordBytes = std::span<const std::uint8_t, kId3v1Size>;

// Field offsets and sizes of the ID3v1 record (ID3v1 and ID3v1.1 documents).
constexpr std::size_t kTitleAt = 3, kArtistAt = 33, kAlbumAt = 63, kYearAt = 93;
constexpr std::size_t kCommentAt = 97, kTrackMarkerAt = 125, kTrackAt = 126, kGenreAt = 127;
constexpr std::size_t kNameSize = id3v1_width::kName, kYearSize = id3v1_width::kYear;
constexpr std::size_t kCommentWithTrack = id3v1_width::kCommentWithTrack;
constexpr std::size_t kCommentWrittenWithoutTrack = id3v1_width::kCommentWithoutTrack;
// The comment of an ID3v1.0 record, which has no track: it runs to byte 126.
constexpr std::size_t kCommentWithoutTrack = 30;

// Unicode White_Space characters (PropList.txt).
constexpr std::u16string_view kWhiteSpace =
    u"\u0009\u000A\u000B\u000C\u000D\u0020\u0085\u00A0\u1680\u2000\u2001\u2002\u2003\u2004"
    u"\u2005\u2006\u2007\u2008\u2009\u200A\u2028\u2029\u202F\u205F\u3000";

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

// Keeps at most `count` UTF-16 units without splitting a surrogate pair.
void KeepUnits(std::u16string& text, std::size_t count) {
    if (text.size() <= count) {
        return;
    }
    if (count > 0 && IsHighSurrogate(text[count - 1])) {
        --count;
    }
    text.resize(count);
}

// `size` is the field's size, which may be more than the bytes given.
std::u16string DecodeField(std::span<const std::uint8_t> field, std::size_t size,
                           const text::CodePage& codePage) {
    const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
    const std::string_view bytes(reinterpret_cast<const char*>(field.data()),
                                 static_cast<std::size_t>(end - field.begin()));
    std::u16string text = codePage.Decode(bytes);
    KeepUnits(text, size);
    const std::size_t last = text.find_last_not_of(kWhiteSpace);
    text.resize(last == std::u16string::npos ? 0 : last + 1);
    return text;
}

// The text in the code page, at most `size` bytes, cut after a whole character so that a
// multi-byte code page never ends a field in half a character.
std::string EncodeField(std::u16string_view text, std::size_t size,
                        const text::CodePage& codePage) {
    // Every character takes at least one byte, so later ones can never fit.
    std::u16string kept(text.substr(0, std::min(text.size(), size)));
    std::string bytes = codePage.Encode(kept);
    if (codePage.IsSingleByte()) {
        bytes.resize(std::min(bytes.size(), size));
        return bytes;
    }
    while (bytes.size() > size) {
        KeepUnits(kept, kept.size() - 1);
        bytes = codePage.Encode(kept);
    }
    return bytes;
}

// Writes the field's bytes, zero-filled to its size.
template <std::size_t At, std::size_t Size>
void PutField(Id3v1Record& record, const std::string& bytes) {
    static_assert(At + Size <= kId3v1Size);
    const std::size_t count = std::min(bytes.size(), Size);
    std::fill_n(record.begin() + At, Size, std::uint8_t{0});
    std::copy_n(bytes.begin(), count, record.begin() + At);
}

constexpr std::size_t kTextSizes[Id3v1Tag::kTextCount] = {kNameSize, kNameSize, kNameSize,
                                                          kYearSize, kCommentWithTrack};

// A blank record, or the loaded one (with the values it gives in `loaded`).
Id3v1Record StartRecord(const Id3v1Tag& tag, const text::CodePage& codePage, Id3v1Tag& loaded) {
    if (tag.Loaded()) {
        DecodeId3v1(*tag.Loaded(), codePage, loaded);
        return *tag.Loaded();
    }
    Id3v1Record record{};
    PutField<0, kId3v1Magic.size()>(record, std::string(kId3v1Magic));
    return record;
}

// The comment and the track byte. The loaded comment bytes stay when the comment is
// unchanged and the record's layout already has room for the track (a 30-byte ID3v1.0
// comment fills the track's place).
void PutCommentAndTrack(Id3v1Record& record, const Id3v1Tag& tag, const Id3v1Tag& loaded,
                        const text::CodePage& codePage) {
    const bool loadedHasTrackPlace = tag.Loaded() && record[kTrackMarkerAt] == 0;
    const bool keepComment = tag.Loaded() &&
                             tag.Text(Id3v1Tag::kComment) == loaded.Text(Id3v1Tag::kComment) &&
                             (tag.Track() == 0 || loadedHasTrackPlace);
    if (keepComment) {
        if (loadedHasTrackPlace)
            record[kTrackAt] = tag.Track();
        return;
    }
    // With a track the comment must leave byte 125 zero, or readers take the track byte for
    // the comment's last character.
    const std::u16string& comment = tag.Text(Id3v1Tag::kComment);
    if (tag.Track() != 0) {
        PutField<kCommentAt, kCommentWithTrack + 1>(
            record, EncodeField(comment, kCommentWithTrack, codePage));
    } else {
        PutField<kCommentAt, kCommentWrittenWithoutTrack>(
            record, EncodeField(comment, kCommentWrittenWithoutTrack, codePage));
    }
    record[kTrackAt] = tag.Track();
}

}  // namespace

bool HasId3v1Magic(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= kId3v1Magic.size() &&
           std::equal(kId3v1Magic.begin(), kId3v1Magic.end(), bytes.begin());
}

void DecodeId3v1(const Id3v1Record& record, const text::CodePage& codePage, Id3v1Tag& tag) {
    const RecordBytes bytes(record);
    const bool hasTrack = bytes[kTrackMarkerAt] == 0;
    const std::span<const std::uint8_t> comment =
        hasTrack ? std::span<const std::uint8_t>(bytes.subspan<kCommentAt, kCommentWithTrack>())
                 : bytes.subspan<kCommentAt, kCommentWithoutTrack>();
    tag.SetText(Id3v1Tag::kTitle,
                DecodeField(bytes.subspan<kTitleAt, kNameSize>(), kNameSize, codePage));
    tag.SetText(Id3v1Tag::kArtist,
                DecodeField(bytes.subspan<kArtistAt, kNameSize>(), kNameSize, codePage));
    tag.SetText(Id3v1Tag::kAlbum,
                DecodeField(bytes.subspan<kAlbumAt, kNameSize>(), kNameSize, codePage));
    tag.SetText(Id3v1Tag::kYear,
                DecodeField(bytes.subspan<kYearAt, kYearSize>(), kYearSize, codePage));
    tag.SetText(Id3v1Tag::kComment, DecodeField(comment, comment.size(), codePage));
    tag.SetGenre(bytes[kGenreAt]);
    tag.SetTrack(hasTrack ? bytes[kTrackAt] : 0);
}

Id3v1Record EncodeId3v1(const Id3v1Tag& tag, const text::CodePage& codePage) {
    Id3v1Tag loaded;
    Id3v1Record record = StartRecord(tag, codePage, loaded);
    auto changed = [&](std::size_t index) {
        return !tag.Loaded() || tag.Text(index) != loaded.Text(index);
    };
    auto field = [&](std::size_t index) {
        return EncodeField(tag.Text(index), kTextSizes[index], codePage);
    };
    if (changed(Id3v1Tag::kTitle))
        PutField<kTitleAt, kNameSize>(record, field(Id3v1Tag::kTitle));
    if (changed(Id3v1Tag::kArtist))
        PutField<kArtistAt, kNameSize>(record, field(Id3v1Tag::kArtist));
    if (changed(Id3v1Tag::kAlbum))
        PutField<kAlbumAt, kNameSize>(record, field(Id3v1Tag::kAlbum));
    if (changed(Id3v1Tag::kYear))
        PutField<kYearAt, kYearSize>(record, field(Id3v1Tag::kYear));
    PutCommentAndTrack(record, tag, loaded, codePage);
    record[kGenreAt] = tag.Genre();
    return record;
}

std::u16string Id3v1FieldImage(std::u16string_view text, std::size_t index,
                               const text::CodePage& codePage) {
    const std::size_t size = kTextSizes[index];
    const std::string bytes = EncodeField(text, size, codePage);
    return DecodeField(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
                       size, codePage);
}

}  // namespace velmora
