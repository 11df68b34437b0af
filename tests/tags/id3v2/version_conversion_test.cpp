#include <gtest/gtest.h>

#include <algorithm>

#include "tags/Id3v2TestSupport.h"
#include "tags/id3v2/Id3v2Serializer.h"
#include "tags/id3v2/VersionConversion.h"

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

ReadResult ReadFrames(std::string_view list, std::uint8_t version, TestEngine& engine) {
    return ReadBytes(Tag(version, TextFrames(list, version)), engine);
}

// The frames as the other version holds them, byte for byte: ID3v2.3 joins several values
// with '/' (IPLS keeps its pairs).
TEST(ConversionTest, ConvertsAsOtherTaggersDo) {
    const std::tuple<const char*, std::uint8_t, std::uint8_t, const char*, const char*> cases[] = {
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
         "TDOR=1970|TIPL=producer;P"},
        {"TdrcBecomesTyerTdatTime", 4, 3, "TDRC=2004-05-06T12:30|TIT2=T",
         "TYER=2004|TDAT=0605|TIME=1230|TIT2=T"},
        {"TdrcOfAYearAndMonth", 4, 3, "TDRC=2004-05", "TYER=2004"},
        {"TdrcThatIsNoStampMovesAsItIs", 4, 3, "TDRC=c. 1990", "TYER=c. 1990"},
        {"ExistingTyerWinsOverTdrc", 4, 3, "TYER=1999|TDRC=2004", "TYER=1999"},
        {"TdorBecomesToryOfItsYear", 4, 3, "TDOR=1970-01-02", "TORY=1970"},
        {"TiplAndTmclBecomeOneIpls", 4, 3, "TMCL=piano;X|TIPL=producer;P",
         "IPLS=producer;P;piano;X"},
        {"MultipleValuesJoinedWithSlash", 4, 3, "TPE1=a;b|TXXX=key;v1;v2",
         "TPE1=a/b|TXXX=key;v1/v2"},
        {"FramesWithoutCounterpartKept", 4, 3, "TSOP=Sort|RVA2=xyz", "TSOP=Sort|RVA2=xyz"},
    };
    for (const auto& [name, from, to, frames, after] : cases) {
        TestEngine engine;
        auto read = ReadFrames(frames, from, engine);
        ConvertFramesForVersion(*read.tag, to, Cp1252());
        EXPECT_EQ(SerializeTag(*read.tag, to, Cp1252()), TextFrames(after, to)) << name;
    }
}

// The year goes where the version wants it; the Year column and %year read TYER, else the year
// of TDRC. No year set: only the reading.
TEST(YearTest, SetsAndReadsTheYearWhereTheVersionWantsIt) {
    const std::tuple<const char*, bool, const char*, std::u16string, const char*, const char*>
        cases[] = {
            {"V24KeepsMonthAndDayOfTdrc", true, "TDRC=2001-05-06", u"2003", "TDRC=2003-05-06",
             "2003"},
            {"V24FullStampReplacesTdrc", true, "TDRC=2001-05-06", u"2003-01-02", "TDRC=2003-01-02",
             "2003"},
            {"V24TurnsTyerAndTdatIntoTdrcFirst", true, "TYER=1999|TDAT=0605", u"2003",
             "TDRC=2003-05-06", "2003"},
            {"V24NewYearIsTdrc", true, "TIT2=T", u"2003", "TIT2=T|TDRC=2003", "2003"},
            {"V23WritesTyer", false, "TIT2=T", u"2003", "TIT2=T|TYER=2003", "2003"},
            {"V23TagHoldingOnlyTdrcKeepsIt", false, "TDRC=2001-05-06", u"2003", "TDRC=2003-05-06",
             "2003"},
            {"V23TdrcStampKeepsMonthDayAndTime", false, "TDRC=1966-05-06T10:30", u"1967",
             "TDRC=1967-05-06T10:30", "1967"},
            {"TdrcStamp", true, "TDRC=2004-05-06", u"", "TDRC=2004-05-06", "2004"},
            {"TdrcNoStamp", true, "TDRC=c. 1990", u"", "TDRC=c. 1990", "c. 1990"},
            {"TyerBeforeTdrc", true, "TDRC=2004|TYER=1999", u"", "TDRC=2004|TYER=1999", "1999"},
        };
    for (const auto& [name, use24, frames, year, after, shown] : cases) {
        TestEngine engine;
        engine.Use24(use24);
        auto read = ReadFrames(frames, 3, engine);
        if (!year.empty())
            SetFrameText(*read.tag, FrameId("TYER"), year, engine.context);
        EXPECT_EQ(Describe(*read.tag), after) << name;
        EXPECT_EQ(TextOf(*read.tag, "TYER"), shown) << name;
    }
}

}  // namespace
}  // namespace velmora::testing
