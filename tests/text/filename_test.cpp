#include "text/FileName.h"

#include <gtest/gtest.h>

#include <random>

namespace velmora::text {
namespace {

TEST(FileName, ValidUtf8DecodesNormally) {
    EXPECT_EQ(FileNameToText("Caf\xC3\xA9 \xF0\x9F\x8E\xB5.mp3"), u"Caf\u00E9 \U0001F3B5.mp3");
    EXPECT_EQ(TextToFileName(u"Caf\u00E9 \U0001F3B5.mp3"), "Caf\xC3\xA9 \xF0\x9F\x8E\xB5.mp3");
}

TEST(FileName, InvalidBytesSurviveTheRoundTrip) {
    const std::string names[] = {
        "latin1 \xE9t\xE9.mp3",  // an old ISO-8859-1 name
        "\xC3",                  // truncated sequence at the end
        "\xED\xA0\x80.mp3",      // an encoded surrogate is not valid UTF-8
        "\xC0\xAF",              // overlong slash
        "\xF5\x80\x80\x80",      // beyond U+10FFFF
    };
    for (const auto& name : names) {
        std::u16string text = FileNameToText(name);
        EXPECT_EQ(TextToFileName(text), name);
    }
    EXPECT_EQ(FileNameToText("\xE9"), u"\xDCE9");
}

TEST(FileName, RandomBytesRoundTrip) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> byte(1, 255), len(0, 24);
    for (int n = 0; n < 5000; ++n) {
        std::string name;
        for (int i = len(rng); i > 0; --i)
            name.push_back(static_cast<char>(byte(rng)));
        ASSERT_EQ(TextToFileName(FileNameToText(name)), name);
    }
}

}  // namespace
}  // namespace velmora::text
