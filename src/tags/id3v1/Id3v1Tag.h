#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "tags/id3v1/GenreTable.h"

namespace velmora {

// The in-memory ID3v1 tag of one file. Setters mark the tag modified only when a value
// really changes.
class Id3v1Tag {
  public:
    enum TextIndex : std::size_t { kTitle = 0, kArtist, kAlbum, kYear, kComment };
    static constexpr std::size_t kTextCount = 5;
    // The bytes of the 128-byte record at the end of a file.
    using RecordBytes = std::array<std::uint8_t, 128>;

    Id3v1Tag() = default;
    Id3v1Tag(const Id3v1Tag& other);
    Id3v1Tag& operator=(const Id3v1Tag& other);
    Id3v1Tag(Id3v1Tag&&) noexcept = default;
    Id3v1Tag& operator=(Id3v1Tag&&) noexcept = default;
    ~Id3v1Tag();

    const std::u16string& Text(std::size_t index) const;
    std::uint8_t Track() const { return values_ ? values_->track : 0; }
    std::uint8_t Genre() const { return values_ ? values_->genre : GenreTable::kNoGenre; }
    bool IsModified() const { return modified_; }

    void SetText(std::size_t index, std::u16string text);
    void SetTrack(std::uint8_t track);
    void SetGenre(std::uint8_t genre);
    void SetModified(bool modified) { modified_ = modified; }

    // All texts empty, no track, no genre.
    bool IsEmpty() const;

    // The record the values were read from, so that a write keeps the bytes of every field
    // the user did not change; null when the file had no ID3v1 tag.
    const RecordBytes* Loaded() const {
        return values_ && values_->loaded ? &*values_->loaded : nullptr;
    }
    void SetLoaded(const RecordBytes& record) { MutableValues().loaded = record; }
    // The file had an ID3v1 tag, or the user gave one a value.
    bool Exists() const { return Loaded() != nullptr || !IsEmpty(); }
    // What the values beside the tag object hold on the heap (the journal's budget counts it).
    std::size_t HeapBytes() const;

  private:
    struct Values {
        std::array<std::u16string, kTextCount> texts;
        std::uint8_t track = 0;
        std::uint8_t genre = GenreTable::kNoGenre;
        std::optional<RecordBytes> loaded;
    };
    Values& MutableValues();

    // Only once the file had a tag or a value was set: many files have none, and a folder
    // holds a record per file.
    std::unique_ptr<Values> values_;
    bool modified_ = false;
};

}  // namespace velmora
