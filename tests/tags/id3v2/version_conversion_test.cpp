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

// The frames as the other version holds them, byte for byte: ID3v2.3 joins several values
// with '/' (IPLS keeps its pairs).
TEST(ConversionTest, ConvertsAsOtherTaggersDo) {
    const std::tuple<std::uint8_t, std::uint8_t, const char*, const char*> cases[] = {
        // To 2.4: TYER, TDAT and TIME become one TDRC; TDAT without a year is kept, a TYER
        // without a digit holds no year, one that is no number moves as it is.
        {3, 4, "TIT2=T|TYER=1999|TDAT=0605|TIME=1230", "TIT2=T|TDRC=1999-05-06T12:30"},
        {3, 4, "TDAT=0605", "TDAT=0605"},
        {3, 4, "TYER=\xFE\xFF", ""},
        {3, 4, "TYER=c. 1990", "TDRC=c. 1990"},
        {4, 4, "TYER=2004|TDRC=1337", "TDRC=1337"},  // an existing TDRC supersedes TYER
        // TRDA gives a TDRC without a year, unless it is in free form.
        {3, 4, "TRDA=2001-02-03", "TDRC=2001-02-03"},
        {3, 4, "TRDA=June 2, 2001", "TRDA=June 2, 2001"},
        {3, 4, "TORY=1970|IPLS=producer;P", "TDOR=1970|TIPL=producer;P"},
        // A copy without a date or a name must not cost the next copy its date or names.
        {3, 4, "TYER=|TYER=2004|TORY=|TORY=1999", "TDRC=2004|TDOR=1999"},
        {4, 4, "IPLS=|IPLS=producer;P", "TIPL=producer;P"},
        // To 2.3: TDRC becomes TYER, TDAT and TIME as far as it is a time stamp; an existing
        // TYER wins; TDOR becomes the TORY of its year; TIPL and TMCL become one IPLS.
        {4, 3, "TDRC=2004-05-06T12:30|TIT2=T", "TYER=2004|TDAT=0605|TIME=1230|TIT2=T"},
        {4, 3, "TDRC=2004-05", "TYER=2004"},
        {4, 3, "TYER=1999|TDRC=2004", "TYER=1999"},
        {4, 3, "TDOR=1970-01-02", "TORY=1970"},
        {4, 3, "TMCL=piano;X|TIPL=producer;P", "IPLS=producer;P;piano;X"},
        {4, 3, "IPLS=|TIPL=producer|TMCL=piano;X", "IPLS=producer;;piano;X"},  // pairs kept
        {4, 3, "TPE1=a;b|TXXX=key;v1;v2", "TPE1=a/b|TXXX=key;v1/v2"},
        {4, 3, "TSOP=Sort|RVA2=xyz", "TSOP=Sort|RVA2=xyz"},  // frames without a counterpart
    };
    for (const auto& [from, to, frames, after] : cases) {
        TestEngine engine;
        auto read = ReadBytes(Tag(from, TextFrames(frames, from)), engine);
        ConvertFramesForVersion(*read.tag, to, Cp1252());
        EXPECT_EQ(SerializeTag(*read.tag, to, Cp1252()), TextFrames(after, to)) << frames;
    }
}

// The year goes where the version wants it: ID3v2.4 keeps TDRC's month and day (a full stamp
// replaces it) and turns TYER and TDAT into TDRC first; ID3v2.3 writes TYER unless the tag
// holds only TDRC. The Year column and %year read TYER, else the year of TDRC (no year set:
// only the reading).
TEST(YearTest, SetsAndReadsTheYearWhereTheVersionWantsIt) {
    const std::tuple<bool, const char*, std::u16string, const char*, const char*> cases[] = {
        {true, "TDRC=2001-05-06", u"2003", "TDRC=2003-05-06", "2003"},
        {true, "TDRC=2001-05-06", u"2003-01-02", "TDRC=2003-01-02", "2003"},
        {true, "TYER=1999|TDAT=0605", u"2003", "TDRC=2003-05-06", "2003"},
        {true, "TIT2=T", u"2003", "TIT2=T|TDRC=2003", "2003"},
        {false, "TIT2=T", u"2003", "TIT2=T|TYER=2003", "2003"},
        {false, "TDRC=2001-05-06", u"2003", "TDRC=2003-05-06", "2003"},
        {false, "TDRC=1966-05-06T10:30", u"1967", "TDRC=1967-05-06T10:30", "1967"},
        {true, "TDRC=c. 1990", u"", "TDRC=c. 1990", "c. 1990"},
        {true, "TDRC=2004|TYER=1999", u"", "TDRC=2004|TYER=1999", "1999"},
    };
    for (const auto& [use24, frames, year, after, shown] : cases) {
        TestEngine engine;
        engine.Use24(use24);
        auto read = ReadBytes(Tag(3, TextFrames(frames, 3)), engine);
        if (!year.empty())
            SetFrameText(*read.tag, FrameId("TYER"), year, engine.context);
        EXPECT_EQ(Describe(*read.tag), after) << frames;
        EXPECT_EQ(TextOf(*read.tag, "TYER"), shown) << frames;
    }
}

}  // namespace
}  // namespace velmora::testing
