#include "TestFolder.h"

#include <fstream>

#include "tags/Id3v1TestRecords.h"
#include "tags/Id3v2TestSupport.h"
#include "tags/mpeg/MpegHeader.h"
#include "tags/mpeg/mpeg_test_streams.h"
#include "text/Utf8.h"

namespace velmora::testing {
namespace {

constexpr std::size_t kInfoOffset = 36;  // MPEG-1 joint stereo: 4 header + 32 side info
constexpr unsigned kSamplesPerFrame = 1152;
constexpr unsigned kSampleRate = 44100;

// An ID3v2.3 tag of UTF-16 text frames (none for an empty text) and some padding.
Bytes Id3v2(const Song& song) {
    Bytes body;
    for (const auto& [id, text] : {std::pair{"TIT2", &song.title},
                                   {"TPE1", &song.artist},
                                   {"TALB", &song.album},
                                   {"TRCK", &song.track},
                                   {"TYER", &song.year},
                                   {"TCON", &song.genre}}) {
        if (!text->empty())
            Append(body, Frame(id, Cat({{1}, Utf16(*text)})));
    }
    return Tag(3, body, 256);
}

Bytes Audio(const Song& song) {
    const FrameShape shape{.bitrateIndex = song.bitrateIndex};
    Bytes audio = Frames(shape, 4);
    // Enough frames for the whole seconds, rounded up.
    const auto frames = std::uint32_t(
        (std::uint64_t{song.seconds} * kSampleRate + kSamplesPerFrame - 1) / kSamplesPerFrame);
    if (!song.vbr) {
        PutXing(audio, kInfoOffset, "Info", 1, frames, 0);
        return audio;
    }
    // Half a byte per frame over the exact count: the average rounds down to the frames' rate.
    const unsigned kbps = ParseMpegHeader(HeaderWord(shape))->BitrateKbps();
    const std::uint64_t bytes = std::uint64_t{frames} * 144'000 * kbps / kSampleRate + frames / 2;
    PutXing(audio, kInfoOffset, "Xing", 3, frames, std::uint32_t(bytes));
    return audio;
}

Bytes Id3v1(const Song& song) {
    const std::string title(song.title.begin(), song.title.end());  // ASCII titles only
    return B(AsBytes(RecordWith({{3, title.substr(0, 30)},
                                 {93, song.v1.year},
                                 {126, {char(song.v1.track), char(song.v1.genre)}}})));
}

}  // namespace

void WriteSongs(const std::filesystem::path& folder, const std::vector<Song>& songs) {
    std::filesystem::create_directories(folder);
    for (const Song& song : songs) {
        const Bytes bytes = Cat({Id3v2(song), Audio(song), Id3v1(song)});
        std::ofstream out(folder / song.name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
}

std::vector<Song> SampleSongs() {
    return {
        {"a.mp3", u"2", u"apple", u"Zed", u"Beta", u"1999", u"(17)", 9, 75, true},
        {"b.mp3", u"10", u"Banana", u"alpha", u"gamma", u"2001", u"Jazz", 7, 3725},
        {"c.mp3", u"1", u"zebra", u"Émile", u"Alpha", u"1987", u"(0)", 11, 200},
        {"d.mp3", u"3", u"Émile", u"beta", u"delta", u"2010", u"Pop", 9, 6000},
    };
}

std::vector<Song> ShowcaseSongs() {
    // An album a row: artist, album, year, genre, then its titles.
    const std::vector<std::vector<const char16_t*>> albums = {
        {u"Aurora Lines", u"Northern Transit", u"2019", u"Electronic", u"Departure Board",
         u"Night Ferry", u"Glass Platform", u"Last Connection"},
        {u"The Quiet Harbour", u"Salt and Timber", u"2004", u"Folk", u"Lanterns", u"Mending Nets",
         u"A Year Ashore"},
        {u"Céline Marchetti", u"Été Indien", u"1998", u"Jazz", u"Rue des Saules", u"Café Minuit",
         u"Les Heures Bleues", u"Pluie d'Août"},
        {u"Ironwood", u"Weather Systems", u"2012", u"Rock", u"Low Pressure", u"Front Line",
         u"Barometer"}};
    std::vector<Song> songs;
    for (const auto& album : albums) {
        for (std::size_t track = 1; track + 4 <= album.size(); ++track) {
            const auto variety = unsigned(songs.size());
            const std::string title = text::ToUtf8(album[track + 3]);
            songs.push_back(
                {text::ToUtf8(album[0]) + " - " + std::to_string(track) + " - " + title + ".mp3",
                 std::u16string(1, char16_t(u'0' + track)), album[0], album[1], album[track + 3],
                 album[2], album[3], 7 + (variety % 3) * 2, 150 + (variety * 37) % 180});
        }
    }
    return songs;
}

}  // namespace velmora::testing
