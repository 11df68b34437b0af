#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::testing {

// A small MP3 file: an ID3v2.3 tag with one Latin-1 TIT2 frame (none for an empty title),
// `frames` MPEG-1 Layer III frames of 128 kbit/s at 44.1 kHz (ISO/IEC 11172-3: header
// FF FB 90 00, 417 bytes each, silent), and an ID3v1 tag with the title.
inline std::string TestMp3(std::string_view title, int frames = 8) {
    std::string out;
    if (!title.empty()) {
        std::string body = std::string(1, '\0') + std::string(title);
        std::string frame = "TIT2";
        const auto size = static_cast<std::uint32_t>(body.size());
        for (int shift : {24, 16, 8, 0})
            frame += static_cast<char>((size >> shift) & 0xFF);
        frame += std::string(2, '\0') + body;
        out = std::string("ID3\x03\x00\x00", 6);
        const auto tagSize = static_cast<std::uint32_t>(frame.size());
        for (int shift : {21, 14, 7, 0})
            out += static_cast<char>((tagSize >> shift) & 0x7F);
        out += frame;
    }
    for (int i = 0; i < frames; ++i)
        out += std::string("\xFF\xFB\x90\x00", 4) + std::string(413, '\0');
    std::string v1 = "TAG" + std::string(title.substr(0, 30));
    v1.resize(127, '\0');
    v1 += '\xFF';  // no genre
    return out + v1;
}

}  // namespace velmora::testing
