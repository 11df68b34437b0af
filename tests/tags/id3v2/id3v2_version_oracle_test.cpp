#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tags/OracleSupport.h"
#include "tags/RecordFolder.h"

// A save that changes the tag's version converts its frames (the rules: version_conversion_test);
// mutagen (python3-mutagen) and TagLib (libtag1-dev, through taglib_oracle) must read the converted
// frames, and the frames the save did not touch must be on disk as they were.
namespace velmora::testing {
namespace {

using namespace ::testing;

const Bytes kAudio = [] {
    Bytes audio = {0xFF, 0xFB, 0x90, 0x00};
    for (int i = 0; i < 3000; ++i)
        audio.push_back(static_cast<std::uint8_t>(i * 37));
    return audio;
}();
const Bytes kPicture = Cat({{0}, B("image/png"), {0, 3}, B("cover"), {0}, B("\x89PNG\r\n\x1a\n")});
// Big-endian UTF-16 without a byte-order mark: read by looking, written back as it was.
const Bytes kArtistBody = {1, 0, 0xC4, 0, 'r'};
const Bytes kComment = Cat({{0}, B("eng"), {0}, B("words")});

struct Conversion {
    std::uint8_t to;
    Bytes tag;
    std::string engine;             // the reloaded frames, as Describe gives them
    std::vector<Bytes> untouched;   // bodies that must be on disk as they were
    OracleLines mutagen;            // lines mutagen must print
    OracleLines taglib;             // lines TagLib must print
    std::vector<const char*> gone;  // frames neither may see
};

std::vector<Conversion> Conversions() {
    return {
        {4,
         Tag(3, Cat({Frame("TIT2", TextBody("Title")), Frame("TPE1", kArtistBody),
                     Frame("TYER", TextBody("1999")), Frame("TDAT", TextBody("0605")),
                     Frame("TIME", TextBody("1230")), Frame("TORY", TextBody("1970")),
                     Frame("IPLS", Cat({TextBody("producer"), {0}, B("P")})),
                     Frame("APIC", kPicture), Frame("COMM", kComment)})),
         "TIT2=New|TPE1=\xC3\x84r|TDRC=1999-05-06T12:30|TDOR=1970|TIPL=producer|APIC=cover|COMM=",
         {kArtistBody, kPicture, kComment},
         {"T TDRC " + Hex("1999-05-06 12:30"), "T TDOR " + Hex("1970"),
          "T TIPL " + Hex(std::string("producer\0P", 10)), "T TIT2 " + Hex("New"), "N 7"},
         // TagLib shows the time stamp as stored, mutagen with a space.
         {"V 4 Y 1999", "TDRC " + Hex("1999-05-06T12:30"), "TDOR " + Hex("1970"),
          "TIPL " + Hex("producer|P"), "TIT2 " + Hex("New")},
         {"TYER", "TDAT", "TIME", "TORY", "IPLS"}},
        {3,
         Tag(4, Cat({Frame("TIT2", TextBody("Title"), 4),
                     Frame("TPE1", Cat({{3}, B("a"), {0}, B("b")}), 4),
                     Frame("TDRC", TextBody("2004-05-06T12:30"), 4),
                     Frame("TDOR", TextBody("1970-01-02"), 4),
                     Frame("TIPL", Cat({TextBody("producer"), {0}, B("P")}), 4),
                     Frame("TMCL", Cat({TextBody("piano"), {0}, B("X")}), 4),
                     Frame("TXXX", Cat({TextBody("key"), {0}, B("v1"), {0}, B("v2")}), 4),
                     Frame("TSOP", TextBody("Sort"), 4), Frame("APIC", kPicture, 4)})),
         "TIT2=New|TPE1=a/b|TYER=2004|TDAT=0605|TIME=1230|TORY=1970|IPLS=producer|TXXX=key|"
         "TSOP=Sort|APIC=cover",
         {Frame("TSOP", TextBody("Sort"), 3), kPicture},
         {"T TYER " + Hex("2004"), "T TDAT " + Hex("0605"), "T TIME " + Hex("1230"),
          "T TORY " + Hex("1970"), "T IPLS " + Hex(std::string("producer\0P\0piano\0X", 18)),
          "T TPE1 " + Hex("a/b"), "X " + Hex("key") + " " + Hex("v1/v2"), "T TSOP " + Hex("Sort")},
         {"V 3 Y 2004", "TPE1 " + Hex("a/b"), "TIT2 " + Hex("New")},
         {"TDRC", "TDOR", "TIPL", "TMCL"}},
    };
}

using VersionOracleTest = RecordFolder;

// Each tag + audio is saved as the other version after a title change and read back.
TEST_F(VersionOracleTest, ConvertedFramesReadBackInMutagenAndTagLib) {
    if (!HaveMutagen())
        GTEST_SKIP() << "python3 with mutagen is not installed";
    for (const Conversion& c : Conversions()) {
        SCOPED_TRACE("to 2." + std::to_string(c.to));
        Write("a.mp3", Cat({c.tag, kAudio}));
        engine_.Use24(c.to == 4);
        auto record = Load("a.mp3");
        SetTitle(*record, u"New");
        ASSERT_TRUE(record->Save(engine_.context));
        const std::string file = Read("a.mp3");
        EXPECT_TRUE(file.ends_with(std::string(kAudio.begin(), kAudio.end())));
        for (const Bytes& body : c.untouched)
            EXPECT_NE(file.find(std::string(body.begin(), body.end())), std::string::npos);
        auto again = Load("a.mp3");
        EXPECT_EQ(again->LoadedId3v2Version(), c.to);
        EXPECT_EQ(Describe(again->V2()), c.engine);
        const std::string path = dir_.Path("a.mp3").string();
        const OracleLines lines =
            LinesByFile(kPython + " " + OracleScript("mutagen_oracle.py") + " dump " + path)[path];
        EXPECT_THAT(lines, IsSupersetOf(c.mutagen));
        const OracleLines taglib = LinesByFile(std::string("ASAN_OPTIONS=detect_leaks=0 ") +
                                               VELMORA_TAGLIB_ORACLE + " " + path)[path];
        EXPECT_THAT(taglib, IsSupersetOf(c.taglib));
        for (const std::string gone : c.gone) {
            EXPECT_THAT(lines, Each(Not(StartsWith("T " + gone))));
            // TagLib shows a 2.3 tag's frames in their 2.4 form, so it speaks for 2.4 only.
            EXPECT_THAT(c.to == 4 ? taglib : OracleLines{}, Each(Not(StartsWith(gone))));
        }
    }
}

}  // namespace
}  // namespace velmora::testing
