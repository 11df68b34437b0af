#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SettingsFixture.h"
#include "settings/SettingNames.h"

namespace velmora {
namespace {

namespace names = settings;
using Entries = std::vector<std::u16string>;

class SettingsWrite : public testing::SettingsFixture {};

// A string is stored up to its first NUL; a lone surrogate, which no TOML document can hold,
// as U+FFFD, so the file stays readable.
TEST_F(SettingsWrite, ValuesSurviveReopening) {
    const std::u16string tricky = u"C:\\a \"quoted\"\ttab\nline caf\u00e9 \U0001F600 '''";
    {
        auto store = OpenWith("Recurse = \"yes\"\nXML = 5\n");
        store->WriteBool(names::kRecurse, false);  // replaces a value of another type
        store->WriteNumber(names::kEncoding, 4294967295u);
        store->WriteString(names::kBrowseDir, tricky);
        store->WriteString(names::kCodePage, std::u16string(u"/a\0b", 4));
        store->WriteString("Lone", u"/m\xDC80x");
        store->AddToList(names::kRenames, u"%artist - %title");
        store->SubKey(names::kXmlKey).WriteNumber(names::kStructure2, 4);  // replaces XML = 5
        store->SubKey(names::kXmlKey).WriteBool(names::kV2Title, false);
        store->WriteBool(names::kV2Title, true);  // the same name in the root is another value
    }
    // The value names and types as another program or the user sees them in the file.
    const std::string text = ReadText(file_);
    for (const char* line :
         {"Recurse = 0\n", "Renames = [ \"%artist - %title\" ]\n", "[XML]\nStructure2 = 4\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << text;
    }
    SettingsStore::OpenResult reopened = SettingsStore::Open(file_);
    ASSERT_NE(reopened.store, nullptr);
    EXPECT_TRUE(reopened.notice.empty());
    SettingsStore& store = *reopened.store;
    EXPECT_FALSE(store.ReadBool(names::kRecurse, true));
    std::uint32_t number = 0;
    EXPECT_TRUE(store.ReadNumber(names::kEncoding, number));
    EXPECT_EQ(number, 4294967295u);
    EXPECT_EQ(store.ReadString(names::kBrowseDir), tricky);
    EXPECT_EQ(store.ReadString(names::kCodePage), u"/a");
    EXPECT_EQ(store.ReadString("Lone"), u"/m\uFFFDx");
    EXPECT_EQ(store.ReadList(names::kRenames), Entries{u"%artist - %title"});
    EXPECT_TRUE(store.SubKey(names::kXmlKey).ReadNumber(names::kStructure2, number));
    EXPECT_EQ(number, 4u);
    EXPECT_FALSE(store.SubKey(names::kXmlKey).ReadBool(names::kV2Title, true));
    EXPECT_TRUE(store.ReadBool(names::kV2Title, false));
    EXPECT_FALSE(store.ReadBool(names::kXmlKey, false));  // the sub-key is no value of the root
}

TEST_F(SettingsWrite, RecentListOperations) {
    const struct {
        const char* name;
        const char* stored;  // TOML value, or nullptr for absent
        bool add;
        std::u16string text;
        Entries expected;
    } rows[] = {
        {"absent becomes one entry", nullptr, true, u"a", {u"a"}},
        {"existing moves last", "[\"a\", \"b\", \"c\"]", true, u"a", {u"b", u"c", u"a"}},
        {"comparison is case-sensitive", "[\"A\"]", true, u"a", {u"A", u"a"}},
        {"empty text adds nothing", "[\"a\"]", true, u"", {u"a"}},
        {"empty entries are dropped on write", "[\"\", \"a\", \"\"]", true, u"b", {u"a", u"b"}},
        {"remove takes the first copy", "[\"a\", \"b\", \"a\"]", false, u"a", {u"b", u"a"}},
        {"remove of a missing entry changes nothing", "[\"a\"]", false, u"z", {u"a"}},
        {"a value of another type is replaced", "\"x\"", true, u"y", {u"y"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto store = OpenWith(row.stored ? std::string("Renames = ") + row.stored + "\n" : "");
        if (row.add) {
            store->AddToList(names::kRenames, row.text);
        } else {
            store->RemoveFromList(names::kRenames, row.text);
        }
        EXPECT_EQ(store->ReadList(names::kRenames), row.expected);
        EXPECT_EQ(OpenStore()->ReadList(names::kRenames), row.expected);
    }
}

}  // namespace
}  // namespace velmora
