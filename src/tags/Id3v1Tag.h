#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "tags/GenreTable.h"

namespace velmora {

// The in-memory ID3v1 tag of one file. Setters mark the tag modified only when a value
// really changes.
class Id3v1Tag {
  public:
    enum TextIndex : std::size_t { kTitle = 0, kArtist, kAlbum, kYear, kComment };
    static constexpr std::size_t kTextCount = 5;
    // The bytes of the 128-byte record at the end of a file.
    using RecordBytes = std::array<std::uint8_t, 128>;

    const std::u16string& Text(std::size_t index) const { return texts_.at(index); }
    std::uint8_t Track() const { return track_; }
    std::uint8_t Genre() const { return genre_; }
    bool IsModified() const { return modified_; }

    void SetText(std::size_t index, std::u16string text);
    void SetTrack(std::uint8_t track);
    void SetGenre(std::uint8_t genre);
    void SetModified(bool modified) { modified_ = modified; }

    // All texts empty, no track, no genre.
    bool IsEmpty() const;

    // The record the values were read from, so that a write keeps the bytes of every field
    // the user did not change; none when the file had no ID3v1 tag.
    const std::optional<RecordBytes>& Loaded() const { return loaded_; }
    void SetLoaded(const RecordBytes& record) { loaded_ = record; }
    // The file had an ID3v1 tag, or the user gave one a value.
    bool Exists() const { return loaded_.has_value() || !IsEmpty(); }

  private:
    std::array<std::u16string, kTextCount> texts_;
    std::uint8_t track_ = 0;
    std::uint8_t genre_ = GenreTable::kNoGenre;
    bool modified_ = false;
    std::optional<RecordBytes> loaded_;
};

}  // namespace velmora
