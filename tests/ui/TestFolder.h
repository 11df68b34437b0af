#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Generated MP3 files for the window's tests and its screenshot: an ID3v2.3 tag of UTF-16
// text frames, MPEG-1 Layer III audio whose "Info" header gives the duration, and an ID3v1
// record.
namespace velmora::testing {

struct Song {
    std::string name;  // file name
    std::u16string track{}, artist{}, album{}, title{}, year{}, genre{};
    unsigned bitrateIndex = 9;  // MPEG-1 Layer III: 7 is 96 kbit/s, 9 is 128, 11 is 192
    unsigned seconds = 60;
    bool vbr = false;  // a "Xing" header whose average is the frames' rate
    // The ID3v1 record's track, year and genre (255: none).
    struct V1 {
        int track = 0;
        std::string year;
        int genre = 255;
    } v1 = {};
};

void WriteSongs(const std::filesystem::path& folder, const std::vector<Song>& songs);

// The folder the tests load: four songs whose texts sort differently by collation and by
// code unit, and whose bitrates sort differently by number and by text; one is VBR.
std::vector<Song> SampleSongs();
// A larger, plausible album collection for the screenshot.
std::vector<Song> ShowcaseSongs();

}  // namespace velmora::testing
