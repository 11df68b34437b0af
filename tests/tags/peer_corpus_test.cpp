#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "support/ScratchDirectory.h"
#include "tags/FileTestHelpers.h"
#include "tags/Id3v2TestSupport.h"
#include "tags/id3v2/Id3v2Serializer.h"
#include "tags/mpeg/mpeg_test_streams.h"
#include "tags/ops/PictureOps.h"

// The files other tag libraries test with, read as they read them.
namespace velmora {
namespace {

using namespace testing;
namespace fs = std::filesystem;

// What INDEX.md (and the peers' own tests) say a correct reader gets. The tag: "absent" when
// there is no tag at the start of the file, the version, the frame count, "truncated" when the
// tag runs past the end of the file, then "ID=text" of the frames named; "APICn=size subtype"
// for the data of the picture of type n, read through tag unsynchronisation, frame compression
// and ID3v2.2 PIC. The audio, as the engine measures it (whole seconds; Facts), with the peers'
// own figures (kbit/s, seconds) in the comment: the engine's are within 1 of them.
const struct {
    const char* file;
    std::string tag;         // empty: not checked
    const char* audio = "";  // empty: not checked
} kPeerRows[] = {
    {"id3lib/221-compressed.tag", "2 1|TXXX=compression example"},
    {"id3lib/230-picture.tag",
     "3 9|TCOM=Camille Saint-Sa\xC3\xABns|TPE3=Ondrej Len\xC3\xA1rd|IPLS=Producer|APIC11=8156 "
     "jpeg"},
    {"id3lib/crc53865.mp3", "", "@0 L3/44100 224 0s - 0"},  // one CRC frame: 224, 0.026 s
    {"id3lib/jules-badtag.mp3", "3 5|TPE1=No Artist|TIT2=Jules"},
    {"id3lib/jules-goodtag.mp3", "3 5|TYER=1999|TALB=No Album|TPE1=No Artist|TIT2=Jules",
     "@126 L3/44100 128 4s - 0"},  // 128, 4.73 s
    {"mutagen/apev2-lyricsv2.mp3", "4 7|TIT2=A song   |TPE1=Auth|TCON=35",
     "@1280 L3/44100 192 210s Info 8076"},  // 192: "Info" behind a CRC
    {"mutagen/audacious-trailing-id32-apev2.mp3", "absent 0 0",
     "@0 L3/16000 18v 1s Xing 30"},  // VBR at 16 kHz, 1.08 s
    {"mutagen/bad-POPM-frame.mp3", "4 13|TIT2=Emit and exude|TRCK=4|TDRC=2004|TYER=2004"},
    {"mutagen/bad-xing.mp3", "3 11|TYER=1992", "@1582 L3/44100 48 0s - 0"},  // 0-frame Xing: 48
    {"mutagen/emptyfile.mp3", "", "none"},
    {"mutagen/id3v24_extended_header.id3", "4 7|TIT2=One Second of Silence|TYER=2023"},
    {"mutagen/issue_21.id3", "4 8|TIT2=Punk To Funk|TALB=Better Living Through Chemistr"},
    {"mutagen/lame-peak.mp3", "", "@0 L3/44100 128 0s Info 4"},            // 128, 0.1 s: "Info"
    {"mutagen/silence-44-s-mpeg25.mp3", "", "@0 L3/12000 9v 3s Xing 80"},  // 8.9, 3.68475 s
    // A single frame that ends with the file (the peer refuses: no second frame): 160, 0.03 s.
    {"mutagen/too-short.mp3", "2 8|TIT2=Track 10|TPE1=Hieroglyph|TRCK=10/10",
     "@2147 L3/44100 160 0s - 0"},
    {"mutagen/vbri.mp3", "3 12|TRCK=01|TCON=(3)Dance|TYER=2007|TPE1=Basshunter",
     "@1007 L3/44100 233v 222s VBRI 8506"},  // 233.26 VBR, 222.19755 s
    {"taglib/broken-tenc.id3", "4 12|TIT2=Take On Me|TPE1=A Ha|TCON=80s"},
    // Tag sizes past the end of the file.
    {"taglib/compressed_id3_frame.mp3", "4 5 truncated|TPE1=Moby|TCON=Techno-Dance|APIC0=86414 bmp",
     "none"},
    {"taglib/duplicate_id3v2.mp3", "3 10|TIT2=TitleXXXX|TPE1=ArtistXXXX",
     "@8049 L3/44100 128 0s - 0"},
    // Junk with false syncs, then a tag not at the start of the file: 64, first frame at 2255.
    {"taglib/garbage.mp3", "absent 0 0", "@2255 L3/44100 64 1887s Info 72243"},
    {"taglib/id3v22-tda.mp3", "2 3|TYER=2010|TRCK=1|TDAT=0304"},
    {"taglib/itunes10.mp3",
     "2 23|TPE2=Album Artist|TBPM=180|TPOS=1/2|TSO2=Sort Album Artist|TCMP=1|APIC0=2315 png"},
    // 22050 × 16878342 bytes ÷ 206232 frames ÷ 72000 = 25.06 VBR, 5387.285 s.
    {"taglib/mpeg2.mp3", "", "@0 L3/22050 25v 5387s Xing 206232"},
    {"taglib/toc_many_children.mp3", "4 130"},
    {"taglib/unsynch.id3", "3 5|TIT2=My babe just cares for me|TALB=100% Jazz"},  // = mutagen's
    {"taglib/unsynch24.id3", "4 1|TIT2=Hi"},
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

// Every file loads and reads as the peers read it where they say so; the audio measures alike
// from the file and from memory, and whatever the tag sizes claim, a frame is only ever found
// between the ID3v2 tag and the ID3v1 record. (Each file surviving an edit and a save:
// FuzzReplay.PeerFilesLoadAndSave.)
TEST(PeerFilesTest, EveryFileReadsAndMeasuresAsThePeersDo) {
    const fs::path peers = VELMORA_PEERS_DIR;
    if (!fs::is_directory(peers))
        GTEST_SKIP() << "no peer corpus at " << peers;
    std::size_t rows = 0;
    for (const auto& entry : fs::recursive_directory_iterator(peers)) {
        if (!entry.is_regular_file())
            continue;
        const std::string name = fs::relative(entry.path(), peers).string();
        const std::string bytes = ScratchDirectory::ReadFile(entry.path());
        BufferedFile file;
        OpenOrFail(file, entry.path(), kLoadMode);
        ReadResult read;
        read.onDisk = Id3v2Reader(Cp1252(), {}).Read(file, *read.tag);
        const std::uint64_t start = read.onDisk.present ? read.onDisk.audioOffset : 0;
        const bool v1 = bytes.size() >= 128 && bytes.compare(bytes.size() - 128, 3, "TAG") == 0;
        const std::uint64_t end = bytes.size() - (v1 ? 128 : 0);
        const MpegInfo info = Measure(file, start, end);
        EXPECT_EQ(Facts(Measure(Bytes(bytes.begin(), bytes.end()), start, end)), Facts(info));
        EXPECT_TRUE(!info.found ||
                    (info.firstFrameOffset >= start && info.firstFrameOffset + 4 < end))
            << name;
        const auto row = std::ranges::find(kPeerRows, name, [](const auto& r) { return r.file; });
        if (row == std::end(kPeerRows))
            continue;
        ++rows;
        EXPECT_EQ(row->tag.empty() ? "" : Shown(read, row->tag), row->tag) << name;
        EXPECT_EQ(*row->audio ? Facts(info) : "", row->audio) << name;
    }
    EXPECT_EQ(rows, std::size(kPeerRows));
}

}  // namespace
}  // namespace velmora
