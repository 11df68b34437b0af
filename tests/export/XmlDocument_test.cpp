#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "XmlReadBack.h"
#include "export/XmlWriter.h"

namespace velmora {
namespace {

using testing::ParsedElement;

std::string Document(const XmlElement& root) {
    std::u16string text;
    Serialize(root, 0, text);
    return EncodeDocument(text);
}

// XML 1.0 production [2] Char, restated here so the writer is checked against the rule
// rather than against itself.
bool XmlCanCarry(char16_t unit) {
    return unit == 0x9 || unit == 0xA || unit == 0xD || (unit >= 0x20 && unit < 0xD800) ||
           (unit >= 0xE000 && unit <= 0xFFFD);
}

// Every UTF-16 unit alone, then pairs and sequences that trip writers: a reader must get
// each value back exactly, or U+FFFD where XML cannot carry the character.
TEST(XmlDocument, EveryValueReadsBackOrBecomesReplacement) {
    std::u16string written;
    std::u32string read;
    for (char32_t unit = 0; unit <= 0xFFFF; ++unit) {
        written += static_cast<char16_t>(unit);
        written += u'.';  // keeps each surrogate alone
        read += XmlCanCarry(static_cast<char16_t>(unit)) ? unit : U'\uFFFD';
        read += U'.';
    }
    written +=
        u"\U00010000\U0001F600\U0010FFFF \xDE00\xD83D \xD83D\xD83D\xDE00 ]]> &amp; \r\n\xD83D";
    read += U"\U00010000\U0001F600\U0010FFFF \uFFFD\uFFFD \uFFFD\U0001F600 ]]> &amp; \r\n\uFFFD";
    XmlElement root(u"R");
    root.Add<XmlStringAttribute>(u"v", written);
    XmlElement& numbers = root.AddChild(u"N");
    numbers.Add<XmlUInt8Attribute>(u"u8", std::uint8_t{255});
    numbers.Add<XmlUInt32Attribute>(u"u32", std::uint32_t{4294967295u});
    const std::vector<ParsedElement> expected = {{"R", {{"v", read}}},
                                                 {"N", {{"u8", U"255"}, {"u32", U"4294967295"}}}};
    EXPECT_EQ(testing::ReadBack(Document(root)), expected);
}

}  // namespace
}  // namespace velmora
