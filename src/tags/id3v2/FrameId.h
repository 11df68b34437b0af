#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

// A four-character ID3v2.3/2.4 frame ID. Frames keep their own ID, known or not, so that
// each is written back under its name.
struct FrameId {
    std::array<char, 4> chars{};

    constexpr FrameId() = default;
    constexpr FrameId(const char (&id)[5]) : chars{id[0], id[1], id[2], id[3]} {}
    static constexpr FrameId FromChars(const char* id) {
        FrameId f;
        for (std::size_t i = 0; i < 4; ++i)
            f.chars[i] = id[i];
        return f;
    }

    std::string_view View() const { return {chars.data(), chars.size()}; }
    std::string ToString() const { return std::string(View()); }
    constexpr char First() const { return chars[0]; }

    friend constexpr bool operator==(const FrameId&, const FrameId&) = default;
};

// ID3v2.3 section 4: frame IDs are made of the characters A-Z and 0-9.
constexpr bool IsFrameIdChar(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

constexpr bool IsValidFrameId(std::string_view id) {
    if (id.empty())
        return false;
    for (char c : id) {
        if (!IsFrameIdChar(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

}  // namespace velmora
