#include <gtest/gtest.h>

#include "tags/OracleSupport.h"
#include "tags/RecordFolder.h"

// A save that changes the tag's version converts its frames; mutagen (python3-mutagen) and
// TagLib (libtag1-dev, through taglib_oracle) must see the year and the converted frames, and
// the frames the save did not touch must be on disk as they were.
namespace velmora::testing {
namespace {

// The lines an oracle printed for the one file it read.
OracleLines Lines(const std::string& command, const std::string& path) {
    return LinesByFile(command + " " + path)[path];
}

bool HasLineStartingWith(const OracleLines& lines, std::string_view prefix) {
    for (const auto& line : lines) {
        if (line.starts_with(prefix))
            return true;
    }
    return false;
}

bool Contains(const std::string& file, const Bytes& bytes) {
    return file.find(std::string(bytes.begin(), bytes.end())) != std::string::npos;
}

const Bytes kAudio = [] {
    Bytes audio = {0xFF, 0xFB, 0x90, 0x00};
    for (int i = 0; i < 3000; ++i)
        audio.push_back(static_cast<std::uint8_t>(i * 37));
    return audio;
}();
const Bytes kPicture = Cat({{0}, B("image/png"), {0, 3}, B("cover"), {0}, B("\x89PNG\r\n\x1a\n")});
// Big-endian UTF-16 without a byte-order mark: read by looking, written back as it was.
const Bytes kArtistBody = {1, 0, 0xC4, 0, 'r'};

struct Converted {
    std::string file;  // the bytes on disk after the save
    std::string engine;
    OracleLines mutagen, taglib;
};

class VersionOracleTest : public RecordFolder {
  protected:
    void SetUp() override {
        if (!HaveMutagen())
            GTEST_SKIP() << "python3 with mutagen is not installed";
    }

    // Saves `tag` + audio as the other version after a title change, reads it back three ways.
    Converted SaveAs(std::uint8_t version, const Bytes& tag) {
        Write("a.mp3", Cat({tag, kAudio}));
        engine_.Use24(version == 4);
        auto record = Load("a.mp3");
        SetTitle(*record, u"New");
        EXPECT_TRUE(record->Save(engine_.context));
        Converted out;
        out.file = Read("a.mp3");
        EXPECT_TRUE(out.file.ends_with(std::string(kAudio.begin(), kAudio.end())));
        auto again = Load("a.mp3");
        EXPECT_EQ(again->LoadedId3v2Version(), version);
        out.engine = Describe(again->V2());
        const std::string path = dir_.Path("a.mp3").string();
        out.mutagen = Lines(kPython + " " + OracleScript("mutagen_oracle.py") + " dump", path);
        out.taglib =
            Lines(std::string("ASAN_OPTIONS=detect_leaks=0 ") + VELMORA_TAGLIB_ORACLE, path);
        return out;
    }
};

TEST_F(VersionOracleTest, Id3v23SavedAsId3v24) {
    const Bytes comment = Cat({{0}, B("eng"), {0}, B("words")});
    const Bytes tag = Tag(3, Cat({Frame("TIT2", TextBody("Title")), Frame("TPE1", kArtistBody),
                                  Frame("TYER", TextBody("1999")), Frame("TDAT", TextBody("0605")),
                                  Frame("TIME", TextBody("1230")), Frame("TORY", TextBody("1970")),
                                  Frame("IPLS", Cat({TextBody("producer"), {0}, B("P")})),
                                  Frame("APIC", kPicture), Frame("COMM", comment)}));
    const Converted c = SaveAs(4, tag);
    EXPECT_EQ(c.engine,
              "TIT2=New|TPE1=\xC3\x84r|TDRC=1999-05-06T12:30|TDOR=1970|TIPL=producer|APIC=cover|"
              "COMM=");
    for (const Bytes& untouched : {kArtistBody, kPicture, comment})
        EXPECT_TRUE(Contains(c.file, untouched));
    const std::string stamp = Hex("1999-05-06T12:30");  // mutagen shows it with a space
    for (const std::string& line : std::vector<std::string>{
             "T TDRC " + Hex("1999-05-06 12:30"), "T TDOR " + Hex("1970"),
             "T TIPL " + Hex(std::string("producer\0P", 10)), "T TIT2 " + Hex("New"), "N 7"})
        EXPECT_TRUE(c.mutagen.count(line)) << line << "\n" << ::testing::PrintToString(c.mutagen);
    for (const std::string& line :
         std::vector<std::string>{"V 4 Y 1999", "TDRC " + stamp, "TDOR " + Hex("1970"),
                                  "TIPL " + Hex("producer|P"), "TIT2 " + Hex("New")})
        EXPECT_TRUE(c.taglib.count(line)) << line << "\n" << ::testing::PrintToString(c.taglib);
    for (const char* gone : {"TYER", "TDAT", "TIME", "TORY", "IPLS"}) {
        EXPECT_FALSE(HasLineStartingWith(c.mutagen, std::string("T ") + gone)) << gone;
        EXPECT_FALSE(HasLineStartingWith(c.taglib, gone)) << gone;
    }
}

TEST_F(VersionOracleTest, Id3v24SavedAsId3v23) {
    const Bytes tag = Tag(
        4,
        Cat({Frame("TIT2", TextBody("Title"), 4), Frame("TPE1", Cat({{3}, B("a"), {0}, B("b")}), 4),
             Frame("TDRC", TextBody("2004-05-06T12:30"), 4),
             Frame("TDOR", TextBody("1970-01-02"), 4),
             Frame("TIPL", Cat({TextBody("producer"), {0}, B("P")}), 4),
             Frame("TMCL", Cat({TextBody("piano"), {0}, B("X")}), 4),
             Frame("TXXX", Cat({TextBody("key"), {0}, B("v1"), {0}, B("v2")}), 4),
             Frame("TSOP", TextBody("Sort"), 4), Frame("APIC", kPicture, 4)}));
    const Converted c = SaveAs(3, tag);
    EXPECT_EQ(c.engine,
              "TIT2=New|TPE1=a/b|TYER=2004|TDAT=0605|TIME=1230|TORY=1970|IPLS=producer|TXXX=key|"
              "TSOP=Sort|APIC=cover");
    EXPECT_TRUE(Contains(c.file, Frame("TSOP", TextBody("Sort"), 3)));
    EXPECT_TRUE(Contains(c.file, kPicture));
    for (const std::string& line : std::vector<std::string>{
             "T TYER " + Hex("2004"), "T TDAT " + Hex("0605"), "T TIME " + Hex("1230"),
             "T TORY " + Hex("1970"), "T IPLS " + Hex(std::string("producer\0P\0piano\0X", 18)),
             "T TPE1 " + Hex("a/b"), "X " + Hex("key") + " " + Hex("v1/v2"),
             "T TSOP " + Hex("Sort")})
        EXPECT_TRUE(c.mutagen.count(line)) << line << "\n" << ::testing::PrintToString(c.mutagen);
    for (const std::string& line :
         std::vector<std::string>{"V 3 Y 2004", "TPE1 " + Hex("a/b"), "TIT2 " + Hex("New")})
        EXPECT_TRUE(c.taglib.count(line)) << line << "\n" << ::testing::PrintToString(c.taglib);
    for (const char* gone : {"TDRC", "TDOR", "TIPL", "TMCL"})
        EXPECT_FALSE(HasLineStartingWith(c.mutagen, std::string("T ") + gone)) << gone;
}

}  // namespace
}  // namespace velmora::testing
