#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "text/CodePage.h"
#include "text/FileName.h"
#include "text/Utf8.h"

namespace velmora::text {
namespace {

std::string AllBytes() {
    std::string all(255, '\0');
    std::iota(all.begin(), all.end(), '\1');
    return all;
}

// Pages whose characters take more than one byte convert whole texts through iconv; a byte
// that does not convert becomes '?' and the rest of the text survives.
TEST(CodePage, MultiByteCodePagesGoThroughIconv) {
    const struct {
        const char* name;
        std::string bytes;
        std::u16string text;
    } rows[] = {
        {"UTF-8", "Caf\xC3\xA9 \xE6\x97\xA5", u"Caf\u00E9 \u65E5"},
        {"EUC-JP", "\xC6\xFC\xCB\xDC", u"\u65E5\u672C"},
        {"EUC-KR", "\xC7\xD1\xB1\xDB", u"\uD55C\uAE00"},
        {"SHIFT_JIS", "\x93\xFA\x96\x7B", u"\u65E5\u672C"},
        {"GB18030", "\xD6\xD0", u"\u4E2D"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto page = CodePage::Create(row.name);
        ASSERT_TRUE(page);
        EXPECT_FALSE(page->IsSingleByte());
        EXPECT_EQ(page->Decode(row.bytes), row.text);
        EXPECT_EQ(page->Encode(row.text), row.bytes);
        EXPECT_TRUE(page->CanEncode(row.text));
        EXPECT_EQ(page->DecodeLossless(row.bytes), row.text);
        EXPECT_EQ(page->Decode("a\xFF" + row.bytes), u"a?" + row.text);
        EXPECT_FALSE(page->DecodeLossless("a\xFF"));
    }
    EXPECT_EQ(CodePage::Create("SHIFT_JIS")->Encode(u"\u00E9a"), "?a");
    EXPECT_EQ(CodePage::Create("NO-SUCH-PAGE"), nullptr);
}

// Single-byte pages decode every byte, the gaps of the C1 range as the control of the same
// value (as Windows does), so any 8-bit text comes back byte for byte; ISO-8859-3 has gaps
// above the C1 range, which decode to '?'. The table answer must agree with the round trip it
// stands for, byte by byte.
TEST(CodePage, RoundTripsAgreesWithEncodingTheDecodedText) {
    const struct {
        const char* name;
        bool singleByte;
        bool everyByte;
    } pages[] = {{"CP1252", true, true},      {"CP1251", true, true},      {"CP1250", true, true},
                 {"ISO-8859-2", true, true},  {"KOI8-R", true, true},      {"CP437", true, true},
                 {"ISO-8859-3", true, false}, {"SHIFT_JIS", false, false}, {"UTF-8", false, false}};
    for (const auto& [name, singleByte, everyByte] : pages) {
        SCOPED_TRACE(name);
        auto page = CodePage::Create(name);
        ASSERT_TRUE(page);
        EXPECT_EQ(page->IsSingleByte(), singleByte);
        EXPECT_EQ(page->Encode(page->Decode(AllBytes())) == AllBytes(), everyByte);
        EXPECT_EQ(page->RoundTrips(AllBytes()), everyByte);
        for (int b = 0; b < 256; ++b) {
            const std::string one(1, static_cast<char>(b));
            EXPECT_EQ(page->RoundTrips(one), page->Encode(page->Decode(one)) == one) << b;
            const std::string text = "ab" + one + "?c";
            const bool roundTrips = page->Encode(page->Decode(text)) == text;
            EXPECT_EQ(page->RoundTrips(text), roundTrips) << b;
            // Lossless exactly when it round trips, and then the decoded text.
            EXPECT_EQ(page->DecodeLossless(text),
                      roundTrips ? std::optional(page->Decode(text)) : std::nullopt)
                << b;
        }
        EXPECT_TRUE(page->RoundTrips(""));
    }
    auto cp1252 = CodePage::Create("CP1252");
    EXPECT_EQ(cp1252->Decode("\x81\x8D\x8F\x90\x9D\x80"), u"\u0081\u008D\u008F\u0090\u009D\u20AC");
    EXPECT_EQ(cp1252->Encode(u"\u0081\u009D"), "\x81\x9D");
}

// Valid UTF-8 decodes as text; any other bytes (old Latin-1 names, truncated, overlong or
// surrogate sequences) come back byte for byte, a lone byte as a low surrogate.
TEST(FileName, ValidUtf8DecodesAndAnyOtherBytesRoundTrip) {
    EXPECT_EQ(FileNameToText("Caf\xC3\xA9 \xF0\x9F\x8E\xB5.mp3"), u"Caf\u00E9 \U0001F3B5.mp3");
    EXPECT_EQ(FileNameToText("\xE9"), u"\xDCE9");
    std::vector<std::string> names = {"Caf\xC3\xA9 \xF0\x9F\x8E\xB5.mp3", "\xC3",
                                      "\xED\xA0\x80.mp3", "\xC0\xAF", "\xF5\x80\x80\x80"};
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> byte(1, 255), len(0, 24);
    for (int n = 0; n < 5000; ++n) {
        names.emplace_back(len(rng), '\0');
        std::ranges::generate(names.back(), [&] { return static_cast<char>(byte(rng)); });
    }
    for (const auto& name : names)
        ASSERT_EQ(TextToFileName(FileNameToText(name)), name);
}

// Two- and three-byte forms are pinned by the encoder's bytes and the round trip below.
TEST(Utf8, DecodesLikeId3Text) {
    const std::pair<std::string, std::optional<std::u16string>> cases[] = {
        {"AB", u"AB"},
        // Outside the Basic Multilingual Plane: one surrogate pair, not garbage.
        {"\xF0\x9F\x8E\xB5", u"\U0001F3B5"},
        {"a\0b", u"a"},                      // stops at the first zero byte
        {"\xBF", u"?"},                      // a lone continuation byte stands for its low six bits
        {"\xF8\x80", std::nullopt},          // lead bytes of five or more bits fail
        {"\xC3", std::nullopt},              // truncated sequence
        {"\xC3\x41", std::nullopt},          // not a continuation byte
        {"\xF7\xBF\xBF\xBF", std::nullopt},  // beyond U+10FFFF
    };
    for (const auto& [bytes, decoded] : cases)
        EXPECT_EQ(DecodeUtf8(bytes), decoded) << bytes;
}

// Lone surrogates and invalid bytes become U+FFFD; a surrogate pair is one sequence.
TEST(Utf8, EncodesSurrogatePairsAsOneSequenceAndReplacesWhatHasNoForm) {
    EXPECT_EQ(EncodeUtf8(u"\U0001F3B5"), "\xF0\x9F\x8E\xB5");
    EXPECT_EQ(EncodeUtf8(u"a\xD800z"), "a\xEF\xBF\xBDz");
    EXPECT_EQ(EncodeUtf8(u"\xDC00"), "\xEF\xBF\xBD");
    EXPECT_EQ(EncodeUtf8(std::u16string(u"ab\0cd", 5)), "ab");
    EXPECT_EQ(EncodeUtf8(u"\u00E9\u0800\u07FF"), "\xC3\xA9\xE0\xA0\x80\xDF\xBF");
    EXPECT_EQ(FromUtf8(std::string("a\xFF") + "b"), u"a\uFFFDb");
    EXPECT_EQ(FromUtf8("\xC0\x80"), u"\uFFFD\uFFFD");  // overlong
}

TEST(Utf8, RoundTripsEveryCodePoint) {
    for (char32_t cp = 1; cp <= 0x10FFFF; cp += (cp < 0x3000 ? 1 : 97)) {
        if (cp >= 0xD800 && cp <= 0xDFFF)
            continue;
        std::u16string text;
        AppendUtf16CodePoint(text, cp);
        ASSERT_EQ(DecodeUtf8(EncodeUtf8(text)), text) << static_cast<unsigned>(cp);
        ASSERT_EQ(FromUtf8(ToUtf8(text)), text);
    }
}

}  // namespace
}  // namespace velmora::text
