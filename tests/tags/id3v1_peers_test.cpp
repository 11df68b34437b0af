#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>

#include "FileTestHelpers.h"
#include "tags/BufferedFile.h"
#include "tags/Id3v1File.h"
#include "tags/Id3v1Tag.h"
#include "text/CodePage.h"

namespace velmora {
namespace {

// The ID3v1 tags of the peer corpus as its index describes them (fields the index leaves out
// come from the bytes).
struct PeerCase {
    const char* file;
    std::array<std::u16string_view, 5> texts;  // title, artist, album, year, comment
    std::uint8_t track;
    std::uint8_t genre;
};

const PeerCase kPeers[] = {
    {"id3lib/example.lyr",
     {u"Track name which is larger the", u"Artist name or band that is la",
      u"Album name that is larger then", u"", u""},
     0,
     0},
    {"id3lib/thatspot.mp3",
     {u"That Spot Right There", u"Carey Bell", u"Mellow Down Easy", u"",
      u"THAT SPOT RIGHT THERE (14 se"},
     0,
     12},
    {"mutagen/97-unknown-23-update.mp3",
     {u"aaaaaaaaaaaaaaaaaaaaaaa vvvvvv", u"aaaaaaaaaaaaaaaaaaaaaaa vvvvvv", u"", u"", u""},
     0,
     255},
    {"mutagen/apev2-lyricsv2.mp3", {u"A song", u"Auth", u"", u"0", u""}, 0, 35},
    {"mutagen/bad-TYER-frame.mp3",
     {u"bad-TYER-frame.mp3", u"From 1.01 To 1.02", u"Splitted by Mp3Splt v. 2.1", u"",
      u"http://mp3splt.sf.net"},
     0,
     255},
    {"mutagen/id3v1v2-combined.mp3",
     {u"cosmic american", u"Anais Mitchell", u"Hymns for the Exiled", u"1337", u"v1 comment"},
     3,
     255},
    {"mutagen/silence-44-s-v1.mp3",
     {u"Silence", u"piman", u"Quod Libet Test Data", u"2004", u""},
     2,
     50},
    {"mutagen/silence-44-s.mp3",
     {u"Silence", u"piman", u"Quod Libet Test Data", u"2004", u""},
     2,
     255},
    {"taglib/ape-id3v1.mp3", {u"Title", u"", u"", u"", u""}, 0, 255},
    {"taglib/rare_frames.mp3", {u"", u"", u"", u"", u" 00000000 00000000 00000000"}, 0, 13},
    {"taglib/removed/id3v1_neq_v2.mp3", {u"", u"", u"album id3v1", u"", u""}, 0, 255},
    // No tag in the last 128 bytes: an ID3v2 tag follows the ID3v1 one, or there is none.
    {"mutagen/audacious-trailing-id32-id31.mp3", {}, 0, 255},
    {"mutagen/emptyfile.mp3", {}, 0, 255},
    {"taglib/xing.mp3", {}, 0, 255},
    {"taglib/ape-id3v2.mp3", {}, 0, 255},
};

TEST(Id3v1Peers, ReadAsTheIndexSays) {
    const std::filesystem::path peers = VELMORA_PEERS_DIR;
    if (!std::filesystem::is_directory(peers)) {
        GTEST_SKIP() << "peer corpus not found at " << peers;
    }
    const auto codePage = text::CodePage::Create("CP1252");
    for (const PeerCase& c : kPeers) {
        SCOPED_TRACE(c.file);
        BufferedFile file;
        testing::OpenOrFail(file, peers / c.file, testing::kLoadMode);
        Id3v1Tag tag;
        ReadId3v1(file, tag, *codePage);
        for (std::size_t i = 0; i < Id3v1Tag::kTextCount; ++i) {
            EXPECT_EQ(tag.Text(i), c.texts[i]) << "text " << i;
        }
        EXPECT_EQ(tag.Track(), c.track);
        EXPECT_EQ(tag.Genre(), c.genre);
    }
}

}  // namespace
}  // namespace velmora
