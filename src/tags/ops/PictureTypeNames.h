#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace velmora {

// The picture types of an APIC frame, indexed by the type byte (ID3v2.3 section 4.15).
inline constexpr std::array<std::u16string_view, 21> kPictureTypeNames = {
    u"Other",
    u"32x32 pixels 'file icon' (PNG only)",
    u"Other file icon",
    u"Cover (front)",
    u"Cover (back)",
    u"Leaflet page",
    u"Media (e.g. lable side of CD)",
    u"Lead artist/lead performer/soloist",
    u"Artist/performer",
    u"Conductor",
    u"Band/Orchestra",
    u"Composer",
    u"Lyricist/text writer",
    u"Recording Location",
    u"During recording",
    u"During performance",
    u"Movie/video screen capture",
    u"A bright coloured fish",
    u"Illustration",
    u"Band/artist logotype",
    u"Publisher/Studio logotype",
};

// The index of the name (exact, case-sensitive); 0 when it is not there.
std::uint8_t PictureTypeIndex(std::u16string_view name);

}  // namespace velmora
