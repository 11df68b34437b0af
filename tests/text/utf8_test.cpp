#include "text/Utf8.h"

#include <gtest/gtest.h>

namespace velmora::text {
namespace {

struct DecodeCase {
    std::string bytes;
    std::optional<std::u16string> text;
};

TEST(Utf8, DecodesLikeId3Text) {
    const DecodeCase cases[] = {
        {"AB", u"AB"},
        {"\xC3\xA9", u"\u00E9"},
        {"\xE2\x82\xAC", u"\u20AC"},
        // Outside the Basic Multilingual Plane: one surrogate pair, not garbage.
        {"\xF0\x9F\x8E\xB5", u"\U0001F3B5"},
        {"a\0b", u"a"},                      // stops at the first zero byte
        {"\xBF", u"?"},                      // a lone continuation byte stands for its low six bits
        {"\xF8\x80", std::nullopt},          // lead bytes of five or more bits fail
        {"\xC3", std::nullopt},              // truncated sequence
        {"\xC3\x41", std::nullopt},          // not a continuation byte
        {"\xF7\xBF\xBF\xBF", std::nullopt},  // beyond U+10FFFF
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        auto text = DecodeUtf8(c.bytes);
        if (!c.text) {
            EXPECT_FALSE(text.has_value());
        } else {
            ASSERT_TRUE(text.has_value());
            EXPECT_EQ(*text, *c.text);
        }
    }
}

TEST(Utf8, EncodesSurrogatePairsAsOneSequenceAndLoneSurrogatesAsReplacement) {
    EXPECT_EQ(EncodeUtf8(u"\U0001F3B5"), "\xF0\x9F\x8E\xB5");
    EXPECT_EQ(EncodeUtf8(u"a\xD800z"), "a\xEF\xBF\xBDz");
    EXPECT_EQ(EncodeUtf8(u"\xDC00"), "\xEF\xBF\xBD");
    EXPECT_EQ(EncodeUtf8(std::u16string(u"ab\0cd", 5)), "ab");
    EXPECT_EQ(EncodeUtf8(u"\u00E9\u0800\u07FF"), "\xC3\xA9\xE0\xA0\x80\xDF\xBF");
}

TEST(Utf8, RoundTripsEveryCodePoint) {
    for (char32_t cp = 1; cp <= 0x10FFFF; cp += (cp < 0x3000 ? 1 : 97)) {
        if (cp >= 0xD800 && cp <= 0xDFFF)
            continue;
        std::u16string text;
        AppendUtf16CodePoint(text, cp);
        auto back = DecodeUtf8(EncodeUtf8(text));
        ASSERT_TRUE(back.has_value()) << static_cast<unsigned>(cp);
        ASSERT_EQ(*back, text) << static_cast<unsigned>(cp);
        ASSERT_EQ(FromUtf8(ToUtf8(text)), text);
    }
}

TEST(Utf8, FromUtf8ReplacesInvalidBytes) {
    EXPECT_EQ(FromUtf8("a\xFF"
                       "b"),
              u"a\uFFFDb");
    EXPECT_EQ(FromUtf8("\xC0\x80"), u"\uFFFD\uFFFD");  // overlong
}

}  // namespace
}  // namespace velmora::text
