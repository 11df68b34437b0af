#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "SettingsFixture.h"
#include "settings/SettingNames.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
namespace names = settings;
using Entries = std::vector<std::u16string>;

class SettingsRead : public testing::SettingsFixture {};

// One TOML value stored as a DWORD, a String and a Multi-string at once, and what each read
// gives. Anything but the matching TOML type reads as absent: the default, the untouched
// out-argument, the empty string, the empty list.
TEST_F(SettingsRead, EachTypeReadsOnlyItsOwnValues) {
    const struct {
        const char* toml;
        std::optional<std::uint32_t> number;
        std::u16string text;
        Entries list;
    } rows[] = {
        {"0", 0, u"", {}},
        {"4294967295", 4294967295u, u"", {}},
        // A Recurse stored as a string reads as its default, true.
        {"\"1\"", std::nullopt, u"1", {}},
        {"1.0", std::nullopt, u"", {}},
        {"true", std::nullopt, u"", {}},
        {"-1", std::nullopt, u"", {}},
        {"4294967296", std::nullopt, u"", {}},
        {"1979-05-27", std::nullopt, u"", {}},
        {"{ a = \"x\" }", std::nullopt, u"", {}},
        {"[\"a\", \"\", \"caf\u00e9 \U0001F600\"]",
         std::nullopt,
         u"",
         {u"a", u"caf\u00e9 \U0001F600"}},
        // A list whose entries are all empty reads as empty.
        {"[\"\", \"\"]", std::nullopt, u"", {}},
        {"[\"a\", 1]", std::nullopt, u"", {}},
        // A string ends at its first NUL.
        {"\"/music\\u0000rest\"", std::nullopt, u"/music", {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.toml);
        auto store = OpenWith(std::string("Recurse = ") + row.toml + "\nBrowseDir = " + row.toml +
                              "\nRegExps = " + row.toml + "\n");
        std::uint32_t number = 7;
        EXPECT_EQ(store->ReadNumber(names::kRecurse, number), row.number.has_value());
        EXPECT_EQ(number, row.number.value_or(7));
        EXPECT_EQ(store->ReadBool(names::kRecurse, true), row.number.value_or(1) != 0);
        EXPECT_EQ(store->ReadBool(names::kRecurse, false), row.number.value_or(0) != 0);
        EXPECT_EQ(store->ReadString(names::kBrowseDir), row.text);
        EXPECT_EQ(store->ReadList(names::kRegExps), row.list);
    }
}

// 259 UTF-16 units fit, 260 read as empty; U+1F600 takes two units.
TEST_F(SettingsRead, StringLongerThan259UnitsReadsEmpty) {
    std::string pairs = "a";
    for (int i = 0; i < 129; ++i) {
        pairs += "\U0001F600";
    }
    auto store = OpenWith("A = \"" + std::string(259, 'a') + "\"\nB = \"" + std::string(260, 'a') +
                          "\"\nC = \"" + pairs + "\"\nD = \"" + pairs + "a\"\n");
    EXPECT_EQ(store->ReadString("A").size(), 259u);
    EXPECT_EQ(store->ReadString("B"), u"");
    EXPECT_EQ(store->ReadString("C").size(), 259u);
    EXPECT_EQ(store->ReadString("D"), u"");
}

TEST_F(SettingsRead, ReadsNeverTouchTheDisk) {
    auto store = OpenWith("Recurse = 0\nBrowseDir = \"/music\"\nRegExps = [\"x\"]\n");
    WriteText(file_, "Recurse = 1\nBrowseDir = \"/other\"\n");
    EXPECT_FALSE(store->ReadBool(names::kRecurse, true));
    fs::remove(file_);
    fs::remove(file_.parent_path() / "settings.toml.lock");
    EXPECT_FALSE(store->ReadBool(names::kRecurse, true));
    EXPECT_EQ(store->ReadString(names::kBrowseDir), u"/music");
    EXPECT_EQ(store->ReadList(names::kRegExps), Entries{u"x"});
    EXPECT_FALSE(fs::exists(file_));
    EXPECT_FALSE(fs::exists(file_.parent_path() / "settings.toml.lock"));
}

}  // namespace
}  // namespace velmora
