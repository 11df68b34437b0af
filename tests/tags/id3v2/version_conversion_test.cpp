#include <gtest/gtest.h>

#include <algorithm>

#include "tags/Id3v2TestSupport.h"
#include "tags/id3v2/Id3v2Serializer.h"
#include "tags/id3v2/VersionConversion.h"
#include "tags/ops/YearFrames.h"

namespace velmora::testing {
namespace {

// "ID=value;more|ID=value": frames of Latin-1 text, ';' between the values of one frame.
Bytes TextFrames(std::string_view list, std::uint8_t version) {
    Bytes frames;
    for (std::size_t start = 0, end; start < list.size(); start = end + 1) {
        end = std::min(list.find('|', start), list.size());
        std::string body(list.substr(start + 5, end - start - 5));
        std::replace(body.begin(), body.end(), ';', '\0');
        frames = Cat({frames, Frame(list.substr(start, 4), TextBody(body), version)});
    }
    return frames;
}

struct ConversionCase {
    const char* name;
    std::uint8_t from, to;
    std::string_view frames;
    std::string after;  // as Describe gives it
    friend void PrintTo(const ConversionCase& c, std::ostream* out) { *out << c.name; }
};

std::vector<ConversionCase> ConversionCases() {
    return {
        {"TyerTdatTimeBecomeOneTdrc", 3, 4, "TIT2=T|TYER=1999|TDAT=0605|TIME=1230",
         "TIT2=T|TDRC=1999-05-06T12:30"},
        {"TyerAloneBecomesTdrc", 3, 4, "TYER=1999", "TDRC=1999"},
        {"TdatWithoutAYearIsKept", 3, 4, "TDAT=0605", "TDAT=0605"},
        {"TyerWithoutADigitHoldsNoYear", 3, 4, "TYER=\xFE\xFF", ""},
        {"TyerThatIsNoNumberMovesAsItIs", 3, 4, "TYER=c. 1990", "TDRC=c. 1990"},
        {"ExistingTdrcSupersedesTyer", 4, 4, "TYER=2004|TDRC=1337", "TDRC=1337"},
        {"TrdaGivesTdrcWithoutYear", 3, 4, "TRDA=2001-02-03", "TDRC=2001-02-03"},
        {"TrdaInFreeFormIsKept", 3, 4, "TRDA=June 2, 2001", "TRDA=June 2, 2001"},
        {"ToryAndIplsBecomeTdorAndTipl", 3, 4, "TORY=1970|IPLS=producer;P",
         "TDOR=1970|TIPL=producer"},
        {"TdrcBecomesTyerTdatTime", 4, 3, "TDRC=2004-05-06T12:30|TIT2=T",
         "TYER=2004|TDAT=0605|TIME=1230|TIT2=T"},
        {"TdrcOfAYearAndMonth", 4, 3, "TDRC=2004-05", "TYER=2004"},
        {"TdrcThatIsNoStampMovesAsItIs", 4, 3, "TDRC=c. 1990", "TYER=c. 1990"},
        {"ExistingTyerWinsOverTdrc", 4, 3, "TYER=1999|TDRC=2004", "TYER=1999"},
        {"TdorBecomesToryOfItsYear", 4, 3, "TDOR=1970-01-02", "TORY=1970"},
        {"TiplAndTmclBecomeOneIpls", 4, 3, "TMCL=piano;X|TIPL=producer;P", "IPLS=producer"},
        {"MultipleValuesJoinedWithSlash", 4, 3, "TPE1=a;b|TXXX=key;v1;v2", "TPE1=a/b|TXXX=key"},
        {"FramesWithoutCounterpartKept", 4, 3, "TSOP=Sort|RVA2=xyz", "TSOP=Sort|RVA2"},
    };
}

class ConversionTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(ConversionTest, ConvertsAsOtherTaggersDo) {
    const auto& c = GetParam();
    TestEngine engine;
    auto read = ReadBytes(Tag(c.from, TextFrames(c.frames, c.from)), engine);
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
    auto read = ReadBytes(Tag(4, TextFrames("TXXX=key;v1;v2", 4)), engine);
    ConvertFramesForVersion(*read.tag, 3, Cp1252());
    EXPECT_EQ(SerializeTag(*read.tag, 3, Cp1252()), TextFrames("TXXX=key;v1/v2", 3));
}

struct YearCase {
    const char* name;
    bool use24;
    std::string_view frames;
    std::u16string year;
    std::string after;
    friend void PrintTo(const YearCase& c, std::ostream* out) { *out << c.name; }
};

std::vector<YearCase> YearCases() {
    return {
        {"V24KeepsMonthAndDayOfTdrc", true, "TDRC=2001-05-06", u"2003", "TDRC=2003-05-06"},
        {"V24FullStampReplacesTdrc", true, "TDRC=2001-05-06", u"2003-01-02", "TDRC=2003-01-02"},
        {"V24TurnsTyerAndTdatIntoTdrcFirst", true, "TYER=1999|TDAT=0605", u"2003",
         "TDRC=2003-05-06"},
        {"V24NewYearIsTdrc", true, "TIT2=T", u"2003", "TIT2=T|TDRC=2003"},
        {"V23WritesTyer", false, "TIT2=T", u"2003", "TIT2=T|TYER=2003"},
        {"V23TagHoldingOnlyTdrcKeepsIt", false, "TDRC=2001-05-06", u"2003", "TDRC=2003-05-06"},
        {"V23TdrcStampKeepsMonthDayAndTime", false, "TDRC=1966-05-06T10:30", u"1967",
         "TDRC=1967-05-06T10:30"},
    };
}

class YearTest : public ::testing::TestWithParam<YearCase> {};

TEST_P(YearTest, SetsTheYearWhereTheVersionWantsIt) {
    const auto& c = GetParam();
    TestEngine engine;
    engine.Use24(c.use24);
    auto read = ReadBytes(Tag(3, TextFrames(c.frames, 3)), engine);
    SetFrameText(*read.tag, FrameId("TYER"), c.year, engine.context);
    EXPECT_EQ(Describe(*read.tag), c.after);
    EXPECT_EQ(TextOf(*read.tag, "TYER"), text::ToUtf8(c.year.substr(0, 4)));
}

INSTANTIATE_TEST_SUITE_P(Cases, YearTest, ::testing::ValuesIn(YearCases()),
                         [](const auto& param) { return std::string(param.param.name); });

// The Year column and %year: TYER, else the year of TDRC.
TEST(YearTest, YearReadsTyerOrTheYearOfTdrc) {
    TestEngine engine;
    for (auto [frames, year] : {std::pair{"TDRC=2004-05-06", "2004"},
                                {"TDRC=c. 1990", "c. 1990"},
                                {"TDRC=2004|TYER=1999", "1999"}})
        EXPECT_EQ(TextOf(*ReadBytes(Tag(4, TextFrames(frames, 4)), engine).tag, "TYER"), year);
}

}  // namespace
}  // namespace velmora::testing
