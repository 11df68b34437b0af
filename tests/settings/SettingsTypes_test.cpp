#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SettingsFixture.h"
#include "settings/SettingNames.h"

namespace velmora {
namespace {

namespace names = settings;
using testing::SettingsFixture;
using Entries = std::vector<std::u16string>;

class SettingsTypes : public SettingsFixture {};

// Every TOML value that is not an integer from 0 to 4294967295.
const char* const kNotDword[] = {
    "\"1\"", "1.0",        "true",
    "-1",    "4294967296", "1979-05-27",
    "[1]",   "{ a = 1 }",  "-9223372036854775808",
};

TEST_F(SettingsTypes, ValueOfAnotherTypeReadsAsDefaultOrUntouched) {
    for (const char* value : kNotDword) {
        SCOPED_TRACE(value);
        auto store = OpenWith(std::string("Recurse = ") + value + "\n");
        EXPECT_TRUE(store->ReadBool(names::kRecurse, true));
        EXPECT_FALSE(store->ReadBool(names::kRecurse, false));
        std::uint32_t number = 7;
        EXPECT_FALSE(store->ReadNumber(names::kRecurse, number));
        EXPECT_EQ(number, 7u);
    }
}

TEST_F(SettingsTypes, DwordReadsAsNumberAndAsNonZeroFlag) {
    const struct {
        const char* text;
        std::uint32_t number;
        bool flag;
    } cases[] = {
        {"0", 0, false},    {"1", 1, true}, {"2", 2, true}, {"4294967295", 4294967295u, true},
        {"0x10", 16, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto store = OpenWith(std::string("Encoding = ") + c.text + "\n");
        std::uint32_t number = 7;
        EXPECT_TRUE(store->ReadNumber(names::kEncoding, number));
        EXPECT_EQ(number, c.number);
        EXPECT_EQ(store->ReadBool(names::kEncoding, !c.flag), c.flag);
    }
}

TEST_F(SettingsTypes, AbsentValueReadsAsDefault) {
    auto store = OpenWith("");
    EXPECT_TRUE(store->ReadBool(names::kRecurse, true));
    EXPECT_FALSE(store->ReadBool(names::kUse24, false));
    std::uint32_t number = 3;
    EXPECT_FALSE(store->ReadNumber(names::kEncoding, number));
    EXPECT_EQ(number, 3u);
    EXPECT_EQ(store->ReadString(names::kBrowseDir), u"");
    EXPECT_TRUE(store->ReadList(names::kRegExps).empty());
}

TEST_F(SettingsTypes, StringLongerThan259UnitsReadsEmpty) {
    const std::string fits(259, 'a');
    const std::string tooLong(260, 'a');
    // U+1F600 takes two UTF-16 units: 129 of them plus one 'a' make 259 units.
    std::string pairs = "a";
    for (int i = 0; i < 129; ++i) {
        pairs += "\U0001F600";
    }
    auto store = OpenWith("A = \"" + fits + "\"\nB = \"" + tooLong + "\"\nC = \"" + pairs +
                          "\"\nD = \"" + pairs + "a\"\n");
    EXPECT_EQ(store->ReadString("A").size(), 259u);
    EXPECT_EQ(store->ReadString("B"), u"");
    EXPECT_EQ(store->ReadString("C").size(), 259u);
    EXPECT_EQ(store->ReadString("D"), u"");
}

TEST_F(SettingsTypes, StringOfAnotherTypeReadsEmpty) {
    for (const char* value : {"1", "1.5", "true", "[\"x\"]", "{ a = \"x\" }", "1979-05-27"}) {
        SCOPED_TRACE(value);
        auto store = OpenWith(std::string("BrowseDir = ") + value + "\n");
        EXPECT_EQ(store->ReadString(names::kBrowseDir), u"");
    }
}

TEST_F(SettingsTypes, StringEndsAtEmbeddedNul) {
    auto store = OpenWith("BrowseDir = \"/music\\u0000rest\"\n");
    EXPECT_EQ(store->ReadString(names::kBrowseDir), u"/music");
}

TEST_F(SettingsTypes, ListReads) {
    const struct {
        const char* text;
        Entries entries;
    } cases[] = {
        {"[\"a\", \"b\", \"c\"]", {u"a", u"b", u"c"}},
        {"[\"\", \"\", \"\"]", {}},
        {"[]", {}},
        {"[\"a\", \"\", \"b\"]", {u"a", u"b"}},
        {"[\"a\", 1]", {}},
        {"[[\"a\"]]", {}},
        {"\"a\"", {}},
        {"1", {}},
        {"[\"caf\u00e9\", \"\U0001F600\"]", {u"caf\u00e9", u"\U0001F600"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto store = OpenWith(std::string("RegExps = ") + c.text + "\n");
        EXPECT_EQ(store->ReadList(names::kRegExps), c.entries);
    }
}

}  // namespace
}  // namespace velmora
