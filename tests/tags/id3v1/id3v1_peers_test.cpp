#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "tags/FileTestHelpers.h"
#include "tags/file/BufferedFile.h"
#include "tags/id3v1/Id3v1File.h"
#include "tags/id3v1/Id3v1Tag.h"
#include "text/CodePage.h"

namespace velmora {
namespace {

// The ID3v1 tags of the peer corpus as its index describes them (fields the index leaves out
// come from the bytes): title|artist|album|year|comment, track, genre.
struct PeerCase {
    const char* file;
    std::u16string_view texts;
    int track;
    int genre;
};

const PeerCase kPeers[] = {
    {"id3lib/example.lyr",
     u"Track name which is larger the|Artist name or band that is la|"
     u"Album name that is larger then||",
     0, 0},
    {"id3lib/thatspot.mp3",
     u"That Spot Right There|Carey Bell|Mellow Down Easy||THAT SPOT RIGHT THERE (14 se", 0, 12},
    {"mutagen/97-unknown-23-update.mp3",
     u"aaaaaaaaaaaaaaaaaaaaaaa vvvvvv|aaaaaaaaaaaaaaaaaaaaaaa vvvvvv|||", 0, 255},
    {"mutagen/apev2-lyricsv2.mp3", u"A song|Auth||0|", 0, 35},
    {"mutagen/bad-TYER-frame.mp3",
     u"bad-TYER-frame.mp3|From 1.01 To 1.02|Splitted by Mp3Splt v. 2.1||http://mp3splt.sf.net", 0,
     255},
    {"mutagen/id3v1v2-combined.mp3",
     u"cosmic american|Anais Mitchell|Hymns for the Exiled|1337|v1 comment", 3, 255},
    {"mutagen/silence-44-s-v1.mp3", u"Silence|piman|Quod Libet Test Data|2004|", 2, 50},
    {"mutagen/silence-44-s.mp3", u"Silence|piman|Quod Libet Test Data|2004|", 2, 255},
    {"taglib/ape-id3v1.mp3", u"Title||||", 0, 255},
    {"taglib/rare_frames.mp3", u"|||| 00000000 00000000 00000000", 0, 13},
    {"taglib/removed/id3v1_neq_v2.mp3", u"||album id3v1||", 0, 255},
    // No tag in the last 128 bytes: an ID3v2 tag follows the ID3v1 one, or there is none.
    {"mutagen/audacious-trailing-id32-id31.mp3", u"||||", 0, 255},
    {"mutagen/emptyfile.mp3", u"||||", 0, 255},
    {"taglib/xing.mp3", u"||||", 0, 255},
    {"taglib/ape-id3v2.mp3", u"||||", 0, 255},
};

TEST(Id3v1Peers, ReadAsTheIndexSays) {
    const std::filesystem::path peers = VELMORA_PEERS_DIR;
    if (!std::filesystem::is_directory(peers)) {
        GTEST_SKIP() << "peer corpus not found at " << peers;
    }
    const auto codePage = text::CodePage::Create("CP1252");
    for (const PeerCase& c : kPeers) {
        BufferedFile file;
        testing::OpenOrFail(file, peers / c.file, testing::kLoadMode);
        Id3v1Tag tag;
        ReadId3v1(file, tag, *codePage);
        std::u16string texts = tag.Text(0);
        for (std::size_t i = 1; i < Id3v1Tag::kTextCount; ++i) {
            texts += u"|" + tag.Text(i);
        }
        EXPECT_EQ(texts, c.texts) << c.file;
        EXPECT_EQ(tag.Track(), c.track) << c.file;
        EXPECT_EQ(tag.Genre(), c.genre) << c.file;
    }
}

}  // namespace
}  // namespace velmora
