#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Id3v2TestSupport.h"
#include "tags/Id3v2Serializer.h"
#include "tags/VersionConversion.h"
#include "tags/YearFrames.h"

namespace velmora::testing {
namespace {

Bytes Values(std::initializer_list<std::string_view> values) {
    Bytes body = {0};
    for (std::string_view value : values) {
        if (body.size() > 1)
            body.push_back(0);
        body.insert(body.end(), value.begin(), value.end());
    }
    return body;
}

struct ConversionCase {
    const char* name;
    std::uint8_t from, to;
    std::vector<std::pair<const char*, Bytes>> frames;
    std::string after;  // as Describe gives it
    friend void PrintTo(const ConversionCase& c, std::ostream* out) { *out << c.name; }
};

std::vector<ConversionCase> ConversionCases() {
    return {
        {"TyerTdatTimeBecomeOneTdrc",
         3,
         4,
         {{"TIT2", TextBody("T")},
          {"TYER", TextBody("1999")},
          {"TDAT", TextBody("0605")},
          {"TIME", TextBody("1230")}},
         "TIT2=T|TDRC=1999-05-06T12:30"},
        {"TyerAloneBecomesTdrc", 3, 4, {{"TYER", TextBody("1999")}}, "TDRC=1999"},
        {"TdatWithoutAYearIsKept", 3, 4, {{"TDAT", TextBody("0605")}}, "TDAT=0605"},
        {"TyerWithoutADigitHoldsNoYear", 3, 4, {{"TYER", Bytes{0, 0xFE, 0xFF}}}, ""},
        {"TyerThatIsNoNumberMovesAsItIs", 3, 4, {{"TYER", TextBody("c. 1990")}}, "TDRC=c. 1990"},
        {"ExistingTdrcSupersedesTyer",
         4,
         4,
         {{"TYER", TextBody("2004")}, {"TDRC", TextBody("1337")}},
         "TDRC=1337"},
        {"TrdaGivesTdrcWithoutYear", 3, 4, {{"TRDA", TextBody("2001-02-03")}}, "TDRC=2001-02-03"},
        {"TrdaInFreeFormIsKept", 3, 4, {{"TRDA", TextBody("June 2, 2001")}}, "TRDA=June 2, 2001"},
        {"ToryAndIplsBecomeTdorAndTipl",
         3,
         4,
         {{"TORY", TextBody("1970")}, {"IPLS", Values({"producer", "P"})}},
         "TDOR=1970|TIPL=producer"},
        {"TdrcBecomesTyerTdatTime",
         4,
         3,
         {{"TDRC", TextBody("2004-05-06T12:30")}, {"TIT2", TextBody("T")}},
         "TYER=2004|TDAT=0605|TIME=1230|TIT2=T"},
        {"TdrcOfAYearAndMonth", 4, 3, {{"TDRC", TextBody("2004-05")}}, "TYER=2004"},
        {"TdrcThatIsNoStampMovesAsItIs", 4, 3, {{"TDRC", TextBody("c. 1990")}}, "TYER=c. 1990"},
        {"ExistingTyerWinsOverTdrc",
         4,
         3,
         {{"TYER", TextBody("1999")}, {"TDRC", TextBody("2004")}},
         "TYER=1999"},
        {"TdorBecomesToryOfItsYear", 4, 3, {{"TDOR", TextBody("1970-01-02")}}, "TORY=1970"},
        {"TiplAndTmclBecomeOneIpls",
         4,
         3,
         {{"TMCL", Values({"piano", "X"})}, {"TIPL", Values({"producer", "P"})}},
         "IPLS=producer"},
        {"MultipleValuesJoinedWithSlash",
         4,
         3,
         {{"TPE1", Values({"a", "b"})}, {"TXXX", Values({"key", "v1", "v2"})}},
         "TPE1=a/b|TXXX=key"},
        {"FramesWithoutCounterpartKept",
         4,
         3,
         {{"TSOP", TextBody("Sort")}, {"RVA2", B("xyz")}},
         "TSOP=Sort|RVA2"},
    };
}

class ConversionTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(ConversionTest, ConvertsAsOtherTaggersDo) {
    const auto& c = GetParam();
    Bytes frames;
    for (const auto& [id, body] : c.frames)
        frames = Cat({frames, Frame(id, body, c.from)});
    TestEngine engine;
    auto read = ReadBytes(Tag(c.from, frames), engine);
    ConvertFramesForVersion(*read.tag, c.to, Cp1252());
    EXPECT_EQ(Describe(*read.tag), c.after);
    for (const auto& frame : read.tag->Frames()) {
        if (c.to == 3 && frame->Id() != FrameId("IPLS")) {
            EXPECT_EQ(FindField(*frame, FieldKind::LaterValues), nullptr);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ConversionTest, ::testing::ValuesIn(ConversionCases()),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(ConversionTest, JoinedValuesAreAllInTheText) {
    TestEngine engine;
    auto read = ReadBytes(Tag(4, Frame("TXXX", Values({"key", "v1", "v2"}), 4)), engine);
    ConvertFramesForVersion(*read.tag, 3, Cp1252());
    EXPECT_EQ(SerializeTag(*read.tag, 3, Cp1252()), Frame("TXXX", Values({"key", "v1/v2"})));
}

// Peer files whose dates other readers convert: TagLib upgrades TYE 2010 + TDA 0304 to TDRC
// 2010-04-03; mutagen drops a TYER that holds only a stray byte-order mark.
TEST(ConversionTest, PeerFiles) {
    const struct {
        const char* file;
        std::uint8_t to;
        std::string after;
    } peers[] = {
        {"taglib/id3v22-tda.mp3", 4, "TRCK=1|TDRC=2010-04-03"},
        {"mutagen/bad-TYER-frame.mp3", 4,
         "TIT2=This track has an invalid TYER frame, that used to "
         "be able to break Mutagen"},
        {"taglib/extended-header.mp3", 3,
         "TORY=2013|TYER=2013|TCON=Folk/Power Metal|TIT2=Druids|"
         "TPE1=Excelsis|TALB=Vo Chrieger U Drache|TRCK=03"},
    };
    for (const auto& peer : peers) {
        const std::filesystem::path path = std::filesystem::path(VELMORA_PEERS_DIR) / peer.file;
        if (!std::filesystem::exists(path))
            GTEST_SKIP() << "peer corpus not present";
        std::ifstream in(path, std::ios::binary);
        const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        TestEngine engine;
        auto read = ReadBytes(file, engine);
        ConvertFramesForVersion(*read.tag, peer.to, Cp1252());
        EXPECT_EQ(Describe(*read.tag), peer.after) << peer.file;
    }
}

struct YearCase {
    const char* name;
    bool use24;
    std::vector<std::pair<const char*, Bytes>> frames;
    std::u16string year;
    std::string after;
    friend void PrintTo(const YearCase& c, std::ostream* out) { *out << c.name; }
};

std::vector<YearCase> YearCases() {
    return {
        {"V24KeepsMonthAndDayOfTdrc",
         true,
         {{"TDRC", TextBody("2001-05-06")}},
         u"2003",
         "TDRC=2003-05-06"},
        {"V24FullStampReplacesTdrc",
         true,
         {{"TDRC", TextBody("2001-05-06")}},
         u"2003-01-02",
         "TDRC=2003-01-02"},
        {"V24TurnsTyerAndTdatIntoTdrcFirst",
         true,
         {{"TYER", TextBody("1999")}, {"TDAT", TextBody("0605")}},
         u"2003",
         "TDRC=2003-05-06"},
        {"V24NewYearIsTdrc", true, {{"TIT2", TextBody("T")}}, u"2003", "TIT2=T|TDRC=2003"},
        {"V23WritesTyer", false, {{"TIT2", TextBody("T")}}, u"2003", "TIT2=T|TYER=2003"},
        {"V23TagHoldingOnlyTdrcKeepsIt",
         false,
         {{"TDRC", TextBody("2001-05-06")}},
         u"2003",
         "TDRC=2003-05-06"},
    };
}

class YearTest : public ::testing::TestWithParam<YearCase> {};

TEST_P(YearTest, SetsTheYearWhereTheVersionWantsIt) {
    const auto& c = GetParam();
    Bytes frames;
    for (const auto& [id, body] : c.frames)
        frames = Cat({frames, Frame(id, body)});
    TestEngine engine;
    engine.Use24(c.use24);
    auto read = ReadBytes(Tag(3, frames), engine);
    SetFrameText(*read.tag, FrameId("TYER"), c.year, engine.context);
    EXPECT_EQ(Describe(*read.tag), c.after);
    EXPECT_EQ(TextOf(*read.tag, "TYER"), text::ToUtf8(c.year.substr(0, 4)));
}

INSTANTIATE_TEST_SUITE_P(Cases, YearTest, ::testing::ValuesIn(YearCases()),
                         [](const auto& param) { return std::string(param.param.name); });

// The Year column and %year: TYER, else the year of TDRC.
TEST(YearTest, YearReadsTyerOrTheYearOfTdrc) {
    TestEngine engine;
    EXPECT_EQ(
        TextOf(*ReadBytes(Tag(4, Frame("TDRC", TextBody("2004-05-06"), 4)), engine).tag, "TYER"),
        "2004");
    EXPECT_EQ(TextOf(*ReadBytes(Tag(4, Frame("TDRC", TextBody("c. 1990"), 4)), engine).tag, "TYER"),
              "c. 1990");
    auto both = ReadBytes(
        Tag(3, Cat({Frame("TDRC", TextBody("2004")), Frame("TYER", TextBody("1999"))})), engine);
    EXPECT_EQ(TextOf(*both.tag, "TYER"), "1999");
}

}  // namespace
}  // namespace velmora::testing
