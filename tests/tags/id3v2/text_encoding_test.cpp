#include <gtest/gtest.h>

#include "tags/Id3v2TestSupport.h"
#include "tags/id3v2/TextEncoding.h"

// UTF-16 byte order: encoding 2 and marked encoding 1 are read as written whatever the text;
// unmarked encoding 1 is little-endian unless the text clearly says otherwise.
namespace velmora {
namespace {

using namespace testing;

// The text's units in either byte order, without a mark.
Bytes Units(std::u16string_view text, bool bigEndian) {
    Bytes out = Utf16(text);
    out.erase(out.begin(), out.begin() + 2);
    for (std::size_t i = 0; bigEndian && i < out.size(); i += 2)
        std::swap(out[i], out[i + 1]);
    return out;
}

std::u16string Decode(const Bytes& bytes, std::uint8_t encoding) {
    return DecodeText(bytes, encoding, Cp1252()).value_or(u"(failed)");
}

// Per script, whether big-endian text without its mark is recognised; else it reads
// little-endian, as other readers read it.
const std::tuple<const char*, std::u16string, bool> kScripts[] = {
    {"cjk with zero low bytes", u"\u5742\u672C\u9F8D\u4E00", false},
    {"cjk one unit", u"\u4E00", false},
    {"cjk U+5B00", u"\u5B00\u5B50", false},
    {"latin extended-a", u"\u0100\u0100", true},  // read little-endian it is control codes
    {"latin extended-a one", u"\u0120", false},
    {"latin-1", u"\u00C4rtist", true},
    {"greek", u"\u1F48\u03B4\u03C5\u03C3\u03C3\u03B5\u03CD\u03C2", false},
    {"hebrew", u"\u05E9\u05DC\u05D5\u05DD", true},  // else unpaired surrogates
    {"emoji", u"\U0001F3B5\U0001F600", false},
    {"latin and cjk", u"Ryuichi Sakamoto \u5742\u672C", true},
    {"private use", u"\uF8FF Music", true},
};

TEST(TextEncodingTest, Utf16ByteOrderByScript) {
    for (const auto& [name, text, unmarkedBigEndianSeen] : kScripts) {
        const Bytes big = Units(text, true), little = Units(text, false);
        EXPECT_EQ(Decode(big, text_encoding::kUtf16BE), text) << name;
        EXPECT_EQ(Decode(little, text_encoding::kUtf16), text) << name;
        const std::u16string asLittle = Decode(Cat({{0xFF, 0xFE}, big}), text_encoding::kUtf16);
        EXPECT_EQ(Decode(big, text_encoding::kUtf16), unmarkedBigEndianSeen ? text : asLittle)
            << name;
    }
    // Encoding 2 keeps a leading FF FE as a character: it has no mark (FE FF: LayoutTest).
    EXPECT_EQ(Decode({0xFF, 0xFE, 0, 'a'}, text_encoding::kUtf16BE), u"\uFFFEa");
}

}  // namespace
}  // namespace velmora
