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

class SettingsWrite : public SettingsFixture {};

TEST_F(SettingsWrite, ValuesSurviveReopening) {
    const std::u16string tricky = u"C:\\a \"quoted\"\ttab\nline caf\u00e9 \U0001F600 '''";
    {
        auto store = OpenStore();
        store->WriteBool(names::kUse24, true);
        store->WriteBool(names::kRecurse, false);
        store->WriteNumber(names::kEncoding, 3);
        store->WriteNumber("Big", 4294967295u);
        store->WriteString(names::kBrowseDir, tricky);
        store->WriteString(names::kCodePage, u"");
        store->AddToList(names::kRenames, u"%artist - %title");
        store->AddToList(names::kRenames, u"%track");
        store->SubKey(names::kXmlKey).WriteNumber(names::kStructure2, 4);
    }
    auto store = OpenStore();
    EXPECT_TRUE(store->ReadBool(names::kUse24, false));
    EXPECT_FALSE(store->ReadBool(names::kRecurse, true));
    std::uint32_t number = 0;
    EXPECT_TRUE(store->ReadNumber(names::kEncoding, number));
    EXPECT_EQ(number, 3u);
    EXPECT_TRUE(store->ReadNumber("Big", number));
    EXPECT_EQ(number, 4294967295u);
    EXPECT_EQ(store->ReadString(names::kBrowseDir), tricky);
    EXPECT_EQ(store->ReadString(names::kCodePage), u"");
    EXPECT_EQ(store->ReadList(names::kRenames), (Entries{u"%artist - %title", u"%track"}));
    EXPECT_TRUE(store->SubKey(names::kXmlKey).ReadNumber(names::kStructure2, number));
    EXPECT_EQ(number, 4u);
}

TEST_F(SettingsWrite, FileUsesTheValueNamesAndTypes) {
    {
        auto store = OpenStore();
        store->WriteBool(names::kUse24, true);
        store->WriteString(names::kCodePage, u"CP1251");
        store->AddToList(names::kRegExps, u"(?<title>.*)");
        store->SubKey(names::kXmlKey).WriteBool(names::kV2Title, false);
    }
    const std::string text = ReadText(file_);
    EXPECT_NE(text.find("\"Use2.4\" = 1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("CodePage = \"CP1251\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("RegExps = [ \"(?<title>.*)\" ]\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[XML]\nV2Title = 0\n"), std::string::npos) << text;
}

TEST_F(SettingsWrite, SubKeyIsSeparateFromRoot) {
    auto store = OpenStore();
    SettingsKey& xml = store->SubKey(names::kXmlKey);
    EXPECT_EQ(&xml, &store->SubKey(names::kXmlKey));
    EXPECT_TRUE(xml.ReadBool(names::kV2Title, true));
    xml.WriteBool(names::kV2Title, false);
    store->WriteBool(names::kV2Title, true);
    xml.AddToList(names::kRegExps, u"x");
    EXPECT_FALSE(xml.ReadBool(names::kV2Title, true));
    EXPECT_TRUE(store->ReadBool(names::kV2Title, false));
    EXPECT_TRUE(store->ReadList(names::kRegExps).empty());
    EXPECT_EQ(store->SubKey("Other").ReadList(names::kRegExps), Entries{});
    // The sub-key itself is no value of the root.
    EXPECT_FALSE(store->ReadBool(names::kXmlKey, false));
}

TEST_F(SettingsWrite, SubKeyStoredAsAnotherTypeReadsDefaultsAndIsReplacedOnWrite) {
    auto store = OpenWith("XML = 5\n");
    SettingsKey& xml = store->SubKey(names::kXmlKey);
    EXPECT_TRUE(xml.ReadBool(names::kSkipIfEmpty, true));
    xml.WriteBool(names::kSkipIfEmpty, false);
    EXPECT_FALSE(xml.ReadBool(names::kSkipIfEmpty, true));
    EXPECT_FALSE(OpenStore()->SubKey(names::kXmlKey).ReadBool(names::kSkipIfEmpty, true));
}

TEST_F(SettingsWrite, WriteReplacesAValueOfAnotherType) {
    auto store = OpenWith("Recurse = \"yes\"\nRegExps = \"x\"\n");
    store->WriteBool(names::kRecurse, false);
    store->AddToList(names::kRegExps, u"y");
    EXPECT_FALSE(store->ReadBool(names::kRecurse, true));
    EXPECT_EQ(store->ReadList(names::kRegExps), Entries{u"y"});
}

TEST_F(SettingsWrite, StringIsStoredUpToItsFirstNul) {
    auto store = OpenStore();
    store->WriteString(names::kBrowseDir, std::u16string(u"/a\0b", 4));
    EXPECT_EQ(store->ReadString(names::kBrowseDir), u"/a");
}

TEST_F(SettingsWrite, LoneSurrogateIsStoredAsReplacementCharacter) {
    // Not representable in a TOML document; the file must stay readable.
    auto store = OpenStore();
    store->WriteString(names::kBrowseDir, u"/m\xDC80x");
    EXPECT_EQ(store->ReadString(names::kBrowseDir), u"/m\uFFFDx");
    SettingsStore::OpenResult reopened = SettingsStore::Open(file_);
    ASSERT_NE(reopened.store, nullptr);
    EXPECT_TRUE(reopened.notice.empty());
    EXPECT_EQ(reopened.store->ReadString(names::kBrowseDir), u"/m\uFFFDx");
}

TEST_F(SettingsWrite, RecentListOperations) {
    const struct {
        const char* name;
        const char* stored;  // TOML value, or nullptr for absent
        bool add;
        std::u16string text;
        Entries expected;
    } cases[] = {
        {"absent becomes one entry", nullptr, true, u"a", {u"a"}},
        {"new entry goes last", "[\"a\", \"b\"]", true, u"c", {u"a", u"b", u"c"}},
        {"existing entry moves last, one copy",
         "[\"a\", \"b\", \"c\"]",
         true,
         u"a",
         {u"b", u"c", u"a"}},
        {"only the first copy moves", "[\"a\", \"b\", \"a\"]", true, u"a", {u"b", u"a", u"a"}},
        {"comparison is case-sensitive", "[\"A\"]", true, u"a", {u"A", u"a"}},
        {"comparison is whole string", "[\"ab\"]", true, u"a", {u"ab", u"a"}},
        {"empty text adds nothing", "[\"a\"]", true, u"", {u"a"}},
        {"empty entries are dropped on write", "[\"\", \"a\", \"\"]", true, u"b", {u"a", u"b"}},
        {"remove keeps order", "[\"a\", \"b\", \"c\"]", false, u"b", {u"a", u"c"}},
        {"remove takes the first copy", "[\"a\", \"b\", \"a\"]", false, u"a", {u"b", u"a"}},
        {"remove of a missing entry changes nothing", "[\"a\"]", false, u"z", {u"a"}},
        {"remove from absent list", nullptr, false, u"a", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto store =
            OpenWith(c.stored ? std::string("Renames = ") + c.stored + "\n" : std::string());
        if (c.add) {
            store->AddToList(names::kRenames, c.text);
        } else {
            store->RemoveFromList(names::kRenames, c.text);
        }
        EXPECT_EQ(store->ReadList(names::kRenames), c.expected);
        EXPECT_EQ(OpenStore()->ReadList(names::kRenames), c.expected);
    }
}

}  // namespace
}  // namespace velmora
