#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tags/id3v2/FrameField.h"
#include "tags/id3v2/FrameId.h"
#include "tags/ops/TagOpsFwd.h"

namespace velmora {

// The text of the first field of the kind (Text or NarrowString) in the first frame with
// the ID; nullopt when either is missing. The text of TYER is the year (YearText).
std::optional<std::u16string> GetFrameText(const Id3v2Tag& tag, const FrameId& id, FieldKind kind,
                                           const text::CodePage& codePage);
// The same for exactly that ID.
std::optional<std::u16string> GetTextOfFrame(const Id3v2Tag& tag, const FrameId& id, FieldKind kind,
                                             const text::CodePage& codePage);

// Sets the text of a text frame: TRCK loses each leading zero that a digit follows, a
// TCON text that is a genre name becomes "(n)". The first frame with the ID gets the text
// (its later values are dropped: the new text is the whole frame text; a frame without a
// text field is given one); without such a frame a new one is appended. Marks modified only
// what really changes. TYER sets the year (SetYear).
void SetFrameText(Id3v2Tag& tag, const FrameId& id, std::u16string_view text,
                  const EngineContext& context);
// The same for exactly that ID, without the TRCK, TCON and year rules.
void SetTextFrame(Id3v2Tag& tag, const FrameId& id, std::u16string_view text,
                  const EngineContext& context);

// The genre as shown: "(n)" gives the genre name of n (below 192, else nothing), and so does
// a bare number n (ID3v2.4) that names a genre; "(RX)" and "(CR)" give Remix and Cover, and
// text after such a reference wins over it. Any other text, also one that starts with "(" but
// not with a reference, shows as it is.
std::u16string GenreDisplayText(const Id3v2Tag& tag, const text::CodePage& codePage);

// Title, artist, album, year, track and genre of the ID3v1 tag into the ID3v2 frames. A
// blank text, track 0 and a genre without a name copy nothing, nor does a text that is all
// the ID3v1 field can hold of the ID3v2 text (the first 30 characters of a longer title), a
// track that is the ID3v2 track's number or the genre the ID3v2 tag shows. False, changing
// nothing, when there is no ID3v1 tag.
bool CopyFromId3v1(Id3v2Tag& tag, const Id3v1Tag& v1, const EngineContext& context);

// Upper-cases the letter at the start and after each space, underscore or hyphen (any letter
// with an upper case, "élan" gives "Élan"), in every value of the frame; true when a value
// changed (and was set).
bool CapitalizeWords(Id3v2Tag& tag, const FrameId& id, const EngineContext& context);
// Replaces underscores with spaces in every value; true when there was one (and the text was
// set).
bool UnderscoresToSpaces(Id3v2Tag& tag, const FrameId& id, const EngineContext& context);

// The pure text rules, for callers that apply them elsewhere.
std::u16string StripTrackZeros(std::u16string_view track);
std::u16string GenreReference(std::u16string_view genre);
std::u16string GenreDisplayFor(std::u16string_view tconText);
std::u16string CapitalizedWords(std::u16string_view text);

}  // namespace velmora
