#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tags/ops/TagOpsFwd.h"

namespace velmora {
class MessageSink;
}

namespace velmora::edit {

inline constexpr std::uint8_t kCoverFrontType = 3;

// A picture that every selected file holds alike: same data, MIME type, description and
// type byte.
struct SharedPicture {
    const Id3v2Frame* frame;  // the first record's
    std::uint8_t type;
};

// The name a picture is listed under: a type byte past the list counts as "Other".
std::u16string_view PictureTypeLabel(std::uint8_t type);

// The pictures of the first record, in frame order, that each of the others holds too. Data
// are read from the files only where lengths agree; a file that cannot give them is reported
// through `messages` (once per call), and a picture whose sharing cannot be told is left out.
std::vector<SharedPicture> SharedPictures(std::span<Mp3File* const> records,
                                          const text::CodePage& codePage, MessageSink& messages);

// Picture data with the subtype that names their format ("jpg", "jpeg" or "png").
struct HeldPicture {
    std::string subtype;
    std::vector<std::uint8_t> data;
};

// What the picture dialog applies to each record.
struct PictureEdit {
    std::uint8_t openedType = 0;  // the type the dialog was opened for
    std::uint8_t type = 0;        // the type chosen
    std::u16string description;
    std::optional<HeldPicture> picture;  // none: no data held
};

// Changes of one record; the window makes each a journal action over the selection
// (kPicturesAction, kAddCoverAction, kDeletePictureAction, kDeleteAllPicturesAction).

// With data: adds or replaces the record's picture of the chosen type. Without: the record's
// picture of the opened type keeps its data and MIME type and takes the chosen description
// and type (replacing a picture of that type); a record without one is left alone.
void ApplyPicture(Mp3File& record, const PictureEdit& edit, const EngineContext& context);
// Adds the picture as the record's front cover, replacing the one it has.
void AddCover(Mp3File& record, const HeldPicture& picture, const EngineContext& context);
// Removes the record's first picture of the type.
void DeletePicture(Mp3File& record, std::uint8_t type);
void DeleteAllPictures(Mp3File& record);

}  // namespace velmora::edit
