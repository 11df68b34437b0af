#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::text {

// The active 8-bit code page: conversions between 8-bit text and UTF-16.
// Single-byte code pages are converted through a 256-entry table built once, so a
// conversion makes no iconv call; multi-byte code pages go through iconv each time.
// A character the code page lacks becomes '?'. Immutable after construction, so one
// instance may be shared between threads.
class CodePage {
  public:
    // Builds the converter for an iconv name ("CP1252", "ISO-8859-2", "SHIFT_JIS", ...).
    // Returns null when iconv does not know the name.
    static std::unique_ptr<CodePage> Create(const std::string& iconvName);

    ~CodePage();
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;

    const std::string& Name() const { return name_; }
    bool IsSingleByte() const { return singleByte_; }

    std::u16string Decode(std::string_view bytes) const;
    std::string Encode(std::u16string_view text) const;
    // True when every character of the text survives Encode unchanged.
    bool CanEncode(std::u16string_view text) const;
    // True when Encode(Decode(bytes)) gives the bytes back; a single-byte code page answers
    // from a table, without building either text.
    bool RoundTrips(std::string_view bytes) const;
    // Decode(bytes) when the bytes round-trip, else nothing; one pass for a single-byte code
    // page (tag readers ask this of every 8-bit text).
    std::optional<std::u16string> DecodeLossless(std::string_view bytes) const;

  private:
    explicit CodePage(std::string name);
    bool BuildSingleByteTables();

    std::string name_;
    bool singleByte_ = false;
    std::array<char16_t, 256> decode_{};
    bool decodable_[256] = {};
    // Single-byte code pages: whether the byte comes back from Encode(Decode(byte)).
    bool roundTrips_[256] = {};
    // UTF-16 unit -> byte, -1 where the code page lacks the character.
    std::vector<std::int16_t> encode_;
};

}  // namespace velmora::text
