#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace velmora {

// The 10-byte ID3v2 tag header exactly as on disk (ID3v2.3/2.4 section 3.1).
class Id3v2Header {
  public:
    static constexpr std::size_t kSize = 10;
    // Header flag bits.
    static constexpr std::uint8_t kUnsynchronisation = 0x80;
    static constexpr std::uint8_t kExtendedHeader = 0x40;
    static constexpr std::uint8_t kExperimental = 0x20;
    static constexpr std::uint8_t kFooter = 0x10;  // ID3v2.4 only

    // "ID3", the given major version, revision 0, flags 0, size 0.
    static Id3v2Header MakeDefault(std::uint8_t majorVersion);

    // Copies all 10 bytes when they begin with "ID3"; otherwise fails and changes nothing.
    bool Accept(std::span<const std::uint8_t> bytes);

    std::uint8_t MajorVersion() const { return bytes_[3]; }
    std::uint8_t Revision() const { return bytes_[4]; }
    std::uint8_t Flags() const { return bytes_[5]; }
    bool HasExtendedHeader() const { return (bytes_[5] & kExtendedHeader) != 0; }
    bool IsUnsynchronised() const { return (bytes_[5] & kUnsynchronisation) != 0; }
    bool HasFooter() const { return bytes_[3] == 4 && (bytes_[5] & kFooter) != 0; }
    // True when every size byte has its high bit clear, as the synchsafe form requires.
    bool HasSynchsafeSize() const;

    // Bytes 6-9 taken whole, 7 bits apart; the 28-bit synchsafe value for a sound header.
    std::uint32_t TagSize() const;
    // Bits above bit 27 are dropped.
    void SetTagSize(std::uint32_t size);
    void SetFlags(std::uint8_t flags) { bytes_[5] = flags; }

    const std::array<std::uint8_t, kSize>& Bytes() const { return bytes_; }

  private:
    std::array<std::uint8_t, kSize> bytes_{};
};

// Synchsafe integers (ID3v2.4 section 6.2): 7 bits per byte, most significant first. The
// bounds-checked reads of both forms are ByteCursor's.
std::array<std::uint8_t, 4> MakeSynchsafe32(std::uint32_t value);
std::array<std::uint8_t, 4> MakeBigEndian32(std::uint32_t value);

}  // namespace velmora
