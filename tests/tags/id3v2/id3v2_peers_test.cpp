#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "tags/FileTestHelpers.h"
#include "tags/Id3v2TestSupport.h"
#include "tags/id3v2/Id3v2Serializer.h"
#include "tags/ops/PictureOps.h"

namespace velmora {
namespace {

using namespace testing;
namespace fs = std::filesystem;

const fs::path kPeers = VELMORA_PEERS_DIR;

ReadResult ReadPeer(const fs::path& path, TestEngine& engine) {
    BufferedFile file;
    OpenOrFail(file, path, kLoadMode);
    ReadResult result;
    Id3v2Reader reader(Cp1252(), engine.context.options.encoding);
    result.onDisk = reader.Read(file, *result.tag);
    return result;
}

// What INDEX.md (and the peers' own tests) say a correct reader gets: "absent" when there is no
// tag at the start of the file, the version, the frame count, "truncated" when the tag runs past
// the end of the file, then "ID=text" of the frames named; "APICn=size subtype" for the data of
// the picture of type n, read through tag unsynchronisation, frame compression and ID3v2.2 PIC.
const std::map<std::string, std::string> kPeerCases = {
    {"id3lib/221-compressed.tag", "2 1|TXXX=compression example"},
    {"id3lib/230-picture.tag",
     "3 9|TCOM=Camille Saint-Sa\xC3\xABns|TPE3=Ondrej Len\xC3\xA1rd|IPLS=Producer|APIC11=8156 "
     "jpeg"},
    {"id3lib/230-syncedlyrics.tag", "3 7|TIT2=Track name which is larger then 30 chars !"},
    {"id3lib/230-unicode.tag", "3 1"},
    {"id3lib/jules-goodtag.mp3", "3 5|TYER=1999|TALB=No Album|TPE1=No Artist|TIT2=Jules"},
    {"id3lib/jules-badtag.mp3", "3 5|TPE1=No Artist|TIT2=Jules"},
    {"id3lib/ozzy.tag", "3 14|TYER=1983|TCON=Metal|TRCK=01|TPE1=Ozzy Osbourne"},
    {"id3lib/thatspot.mp3", "3 49|TCON=Blues|TPE1=Carey Bell|TIT2=That Spot Right There"},
    {"id3lib/thatspot.tag", "3 19|TRCK=00|TMED=UNKNOWN|TPE1=Carey Bell"},
    {"id3lib/win-xp.mp3", "3 3|TPE1=test|TIT2=test"},
    {"id3lib/jules.mp3", "absent 0 0"},
    {"mutagen/97-unknown-23-update.mp3", "3 2"},
    {"mutagen/apev2-lyricsv2.mp3", "4 7|TIT2=A song   |TPE1=Auth|TCON=35"},
    {"mutagen/audacious-trailing-id32-apev2.mp3", "absent 0 0"},
    {"mutagen/bad-POPM-frame.mp3", "4 13|TIT2=Emit and exude|TRCK=4|TDRC=2004|TYER=2004"},
    {"mutagen/bad-TYER-frame.mp3", "3 2"},
    {"mutagen/bad-xing.mp3", "3 11|TYER=1992"},
    {"mutagen/id3v1v2-combined.mp3", "4 9|TIT2=cosmic american|TRCK=3/11|TYER=2004"},
    {"mutagen/id3v22-test.mp3", "2 10|TPE1=Anais Mitchell|TALB=Hymns for the Exiled|TYER=2004"},
    {"mutagen/id3v23_unsynch.id3", "3 5|TPE1=Nina Simone|TIT2=My babe just cares for me"},
    {"mutagen/id3v24_extended_header.id3", "4 7|TIT2=One Second of Silence|TYER=2023"},
    {"mutagen/issue_21.id3", "4 8|TIT2=Punk To Funk|TALB=Better Living Through Chemistr"},
    {"mutagen/silence-44-s.mp3", "3 9|TPE1=piman|TRCK=02/10|TLEN=3000|TYER=2004|TIT2=Silence"},
    {"mutagen/too-short.mp3", "2 8|TIT2=Track 10|TPE1=Hieroglyph|TRCK=10/10"},
    {"mutagen/vbri.mp3", "3 12|TRCK=01|TCON=(3)Dance|TYER=2007|TPE1=Basshunter"},
    {"taglib/005411.id3", "4 9|TIT2=Sunshine Superman|TPE1=Donovan|TYER=1966"},
    {"taglib/ape-id3v2.mp3", "4 1|TIT2=Title"},
    {"taglib/broken-tenc.id3", "4 12|TIT2=Take On Me|TPE1=A Ha|TCON=80s"},
    {"taglib/compressed_id3_frame.mp3",
     "4 5 truncated|TPE1=Moby|TCON=Techno-Dance|APIC0=86414 bmp"},
    {"taglib/compressed_id3_frame_invalid.mp3", "3 10 truncated|TPE1=Moby"},
    {"taglib/duplicate_id3v2.mp3", "3 10|TIT2=TitleXXXX|TPE1=ArtistXXXX"},
    {"taglib/excessive_alloc.mp3", "4 11 truncated|TIT2=Bush|TPE1=Rihanna|TRCK=10/13"},
    {"taglib/extended-header.mp3", "4 7|TIT2=Druids|TCON=Folk/Power Metal|TRCK=03|TDOR=2013"},
    {"taglib/garbage.mp3", "absent 0 0"},  // its tag is not at the start of the file
    {"taglib/id3v22-tda.mp3", "2 3|TYER=2010|TRCK=1|TDAT=0304"},
    {"taglib/itunes10.mp3",
     "2 23|TPE2=Album Artist|TBPM=180|TPOS=1/2|TSO2=Sort Album Artist|TCMP=1|APIC0=2315 png"},
    {"taglib/lame_cbr.mp3", "3 2"},
    {"taglib/rare_frames.mp3", "4 7|TCON=13"},
    {"taglib/removed/id3v1_neq_v2.mp3", "3 1|TPE1=artist id3v2"},
    {"taglib/removed/id3v2-invalid-version.mp3", "absent 0 0"},
    {"taglib/toc_many_children.mp3", "4 130"},
    {"taglib/unsynch.id3", "3 5|TIT2=My babe just cares for me|TALB=100% Jazz"},
    {"taglib/unsynch24.id3", "4 1|TIT2=Hi"},
    {"taglib/w000.mp3", "3 11 truncated|TIT2=Knowing You|TPE1=Sergio Galoyan f. Tamra Keenan"},
};

// The tag as `row` shows it: version, frame count and truncation, then the values it names.
std::string Shown(const ReadResult& read, const std::string& row) {
    std::string out =
        (read.onDisk.present ? "" : "absent ") + std::to_string(read.onDisk.majorVersion) + " " +
        std::to_string(read.tag->Frames().size()) + (read.onDisk.truncated ? " truncated" : "");
    const std::size_t bar = row.find('|');
    std::istringstream names(bar == std::string::npos ? "" : row.substr(bar + 1));
    for (std::string pair; std::getline(names, pair, '|');) {
        const std::string id = pair.substr(0, pair.find('='));
        out += "|" + id + "=";
        if (!id.starts_with("APIC")) {
            out += TextOf(*read.tag, id.c_str());
        } else if (const Id3v2Frame* apic = FindPicture(*read.tag, std::stoi(id.substr(4)))) {
            out += std::to_string(PictureData(*apic).size()) + " " +
                   PictureMimeSubtype(*apic, Cp1252());
        }
    }
    return out;
}

// Every file loads, reads as the peers read it where they say so, and its tag survives two
// saves in each version (empty frames aside: the standard forbids them).
TEST(PeerFilesTest, EveryFileLoadsAsThePeersReadItAndSurvivesTwoSaves) {
    if (!fs::exists(kPeers))
        GTEST_SKIP() << "peer corpus not present";
    std::size_t rows = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kPeers)) {
        if (!entry.is_regular_file())
            continue;
        TestEngine engine;
        auto first = ReadPeer(entry.path(), engine);
        const std::string name = fs::relative(entry.path(), kPeers).string();
        if (const auto row = kPeerCases.find(name); row != kPeerCases.end()) {
            ++rows;
            EXPECT_EQ(Shown(first, row->second), row->second) << name;
        }
        std::erase_if(first.tag->MutableFrames(), [](const auto& frame) {
            return SerializeFrameBody(*frame, 4, Cp1252()).empty();
        });
        for (std::uint8_t version : {3, 4}) {
            Bytes written = SerializeTag(*first.tag, version, Cp1252());
            auto second = ReadBytes(Tag(version, written), engine);
            EXPECT_EQ(Describe(*second.tag, false), Describe(*first.tag, false)) << name;
            EXPECT_EQ(SerializeTag(*second.tag, version, Cp1252()), written) << name;
        }
    }
    EXPECT_EQ(rows, kPeerCases.size());
}

}  // namespace
}  // namespace velmora
