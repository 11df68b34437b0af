#include "text/CodePage.h"

#include <gtest/gtest.h>

namespace velmora::text {
namespace {

TEST(CodePage, Cp1252ConvertsThroughItsTable) {
    auto page = CodePage::Create("CP1252");
    ASSERT_TRUE(page);
    EXPECT_TRUE(page->IsSingleByte());
    EXPECT_EQ(page->Decode("Caf\xE9 \x80"), u"Caf\u00E9 \u20AC");
    EXPECT_EQ(page->Encode(u"Caf\u00E9 \u20AC"), "Caf\xE9 \x80");
    // Characters the code page lacks become question marks.
    EXPECT_EQ(page->Encode(u"\u65E5\u672C x"), "?? x");
    EXPECT_FALSE(page->CanEncode(u"\u65E5"));
    EXPECT_TRUE(page->CanEncode(u"Caf\u00E9"));
}

TEST(CodePage, EveryByteOfALatinPageRoundTrips) {
    auto page = CodePage::Create("ISO-8859-2");
    ASSERT_TRUE(page);
    EXPECT_TRUE(page->IsSingleByte());
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(page->Encode(page->Decode(all)), all);
}

// The table answer must agree with the round trip it stands for, byte by byte (CP1252 has
// undefined bytes such as 0x81, which decode to '?').
TEST(CodePage, RoundTripsAgreesWithEncodingTheDecodedText) {
    for (const char* name : {"CP1252", "ISO-8859-1", "CP437", "KOI8-R", "SHIFT_JIS"}) {
        SCOPED_TRACE(name);
        auto page = CodePage::Create(name);
        ASSERT_TRUE(page);
        for (int b = 0; b < 256; ++b) {
            const std::string one(1, static_cast<char>(b));
            EXPECT_EQ(page->RoundTrips(one), page->Encode(page->Decode(one)) == one) << b;
            const std::string text = "ab" + one + "?c";
            const bool roundTrips = page->Encode(page->Decode(text)) == text;
            EXPECT_EQ(page->RoundTrips(text), roundTrips) << b;
            const auto lossless = page->DecodeLossless(text);
            EXPECT_EQ(lossless.has_value(), roundTrips) << b;
            if (lossless) {
                EXPECT_EQ(*lossless, page->Decode(text)) << b;
            }
        }
        EXPECT_TRUE(page->RoundTrips(""));
    }
}

TEST(CodePage, MultiByteCodePagesGoThroughIconv) {
    auto page = CodePage::Create("SHIFT_JIS");
    ASSERT_TRUE(page);
    EXPECT_FALSE(page->IsSingleByte());
    std::string bytes = page->Encode(u"\u65E5\u672C");
    EXPECT_EQ(bytes, "\x93\xFA\x96\x7B");
    EXPECT_EQ(page->Decode(bytes), u"\u65E5\u672C");
    EXPECT_EQ(page->Encode(u"\u00E9a"), "?a");
    EXPECT_TRUE(page->CanEncode(u"\u65E5"));
}

TEST(CodePage, UnknownNamesAreRefused) {
    EXPECT_EQ(CodePage::Create("NO-SUCH-PAGE"), nullptr);
}

}  // namespace
}  // namespace velmora::text
