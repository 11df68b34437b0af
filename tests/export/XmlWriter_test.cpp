#include "export/XmlWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>

namespace velmora {
namespace {

const std::string kPrologue = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n";

std::u16string SerializeAt(const XmlElement& element, std::size_t depth = 0) {
    std::u16string out = u"left over";
    Serialize(element, depth, out);
    return out;
}

std::u16string SerializeValue(std::u16string value) {
    XmlElement element(u"E");
    element.Add<XmlStringAttribute>(u"v", std::move(value));
    return SerializeAt(element);
}

struct TreeCase {
    const char* what;
    std::function<std::unique_ptr<XmlElement>()> build;
    std::size_t depth;
    std::u16string expected;
};

void PrintTo(const TreeCase& c, std::ostream* os) {
    *os << c.what;
}

class SerializeTree : public ::testing::TestWithParam<TreeCase> {};

TEST_P(SerializeTree, WritesOneElementPerLine) {
    const TreeCase& c = GetParam();
    EXPECT_EQ(SerializeAt(*c.build(), c.depth), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Trees, SerializeTree,
    ::testing::Values(
        TreeCase{"bare element", [] { return std::make_unique<XmlElement>(u"Empty"); }, 0,
                 u"<Empty />"},
        TreeCase{"bare element at depth 2", [] { return std::make_unique<XmlElement>(u"Empty"); },
                 2, u"\t\t<Empty />"},
        TreeCase{"typed attributes in order",
                 [] {
                     auto e = std::make_unique<XmlElement>(u"File");
                     e->Add<XmlUInt8Attribute>(u"u8", std::uint8_t{255});
                     e->Add<XmlUInt16Attribute>(u"u16", std::uint16_t{0});
                     e->Add<XmlUInt32Attribute>(u"u32", std::uint32_t{4294967295u});
                     e->Add<XmlBoolAttribute>(u"yes", true);
                     e->Add<XmlBoolAttribute>(u"no", false);
                     e->Add<XmlStringAttribute>(u"s", u"");
                     e->Add<XmlUInt32Attribute>(u"ten", std::uint32_t{10});
                     return e;
                 },
                 0,
                 u"<File u8=\"255\" u16=\"0\" u32=\"4294967295\" yes=\"true\" no=\"false\" s=\"\" "
                 u"ten=\"10\" />"},
        TreeCase{"root with one childless child",
                 [] {
                     auto root = std::make_unique<XmlElement>(u"Root");
                     root->AddChild(u"Child");
                     return root;
                 },
                 0, u"<Root>\n\t<Child />\n</Root>"},
        TreeCase{
            "nested below depth 1",
            [] {
                auto root = std::make_unique<XmlElement>(u"A");
                XmlElement& b = root->AddChild(u"B");
                b.AddChild(u"C").Add<XmlStringAttribute>(u"x", u"1");
                b.AddChild(u"D");
                root->AddChild(u"E");
                return root;
            },
            1, u"\t<A>\n\t\t<B>\n\t\t\t<C x=\"1\" />\n\t\t\t<D />\n\t\t</B>\n\t\t<E />\n\t</A>"}));

struct EscapeCase {
    const char* what;
    std::u16string value;
    std::u16string written;
};

void PrintTo(const EscapeCase& c, std::ostream* os) {
    *os << c.what;
}

class EscapeValue : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(EscapeValue, WritesTextThatReadsBackUnchanged) {
    const EscapeCase& c = GetParam();
    EXPECT_EQ(SerializeValue(c.value), u"<E v=\"" + c.written + u"\" />") << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Values, EscapeValue,
    ::testing::Values(EscapeCase{"markup characters", u"A&B<C>D", u"A&amp;B&lt;C&gt;D"},
                      EscapeCase{"entity-like text is escaped again", u"&amp;", u"&amp;amp;"},
                      EscapeCase{"double quote", u"say \"hi\"", u"say &quot;hi&quot;"},
                      EscapeCase{"apostrophe stays", u"it's", u"it's"},
                      EscapeCase{"tab, LF, CR survive normalisation", u"a\tb\nc\rd\r\n",
                                 u"a&#9;b&#10;c&#13;d&#13;&#10;"},
                      EscapeCase{"NUL and C0 controls", std::u16string(u"a\0b\x01\x0B\x0C\x1F", 7),
                                 u"a\uFFFDb\uFFFD\uFFFD\uFFFD\uFFFD"},
                      EscapeCase{"DEL and C1 controls are XML characters", u"\x7F\x80\x85\x9F",
                                 u"\x7F\x80\x85\x9F"},
                      EscapeCase{"surrogate pair kept", u"\U0001F600", u"\U0001F600"},
                      EscapeCase{"lone high surrogate", u"a\xD83D", u"a\uFFFD"},
                      EscapeCase{"lone low surrogate", u"\xDE00z", u"\uFFFDz"},
                      EscapeCase{"pair in the wrong order", u"\xDE00\xD83D", u"\uFFFD\uFFFD"},
                      EscapeCase{"two high surrogates then a low one", u"\xD83D\xD83D\xDE00",
                                 u"\uFFFD\U0001F600"},
                      EscapeCase{"non-characters U+FFFE and U+FFFF", u"\xFFFE\xFFFF\uFFFD",
                                 u"\uFFFD\uFFFD\uFFFD"},
                      EscapeCase{"empty", u"", u""}));

TEST(XmlElement, RejectsNullAttributeAndChild) {
    XmlElement element(u"E");
    EXPECT_THROW(element.AddAttribute(nullptr), std::invalid_argument);
    EXPECT_THROW(element.AddChild(std::unique_ptr<XmlElement>()), std::invalid_argument);
    EXPECT_EQ(SerializeAt(element), u"<E />");
}

TEST(XmlAttribute, WriteToGivesUnescapedNameAndValue) {
    XmlStringAttribute attribute(u"title", u"A&B\"");
    std::u16string out = u"previous";
    attribute.WriteTo(out);
    EXPECT_EQ(out, u"title=\"A&B\"\"");
}

struct EncodeCase {
    const char* what;
    std::u16string text;
    std::string bytes;  // after the prologue
};

void PrintTo(const EncodeCase& c, std::ostream* os) {
    *os << c.what;
}

class Encode : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(Encode, WritesPrologueThenUtf8) {
    const EncodeCase& c = GetParam();
    EXPECT_EQ(EncodeDocument(c.text), kPrologue + c.bytes) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Encode,
    ::testing::Values(EncodeCase{"empty text", u"", ""},
                      EncodeCase{"ASCII with tab and LF", u"<a>\n\t<b />", "<a>\n\t<b />"},
                      EncodeCase{"U+00E9", u"\u00E9", "\xC3\xA9"},
                      EncodeCase{"U+07FF, U+0800", u"\u07FF\u0800", "\xDF\xBF\xE0\xA0\x80"},
                      EncodeCase{"U+20AC", u"\u20AC", "\xE2\x82\xAC"},
                      EncodeCase{"surrogate pair", u"\U0001F600", "\xF0\x9F\x98\x80"},
                      EncodeCase{"highest code point", u"\U0010FFFF", "\xF4\x8F\xBF\xBF"},
                      EncodeCase{"lone surrogates", u"\xD800x\xDFFF", "\xEF\xBF\xBDx\xEF\xBF\xBD"},
                      EncodeCase{"NUL does not cut the document", std::u16string(u"a\0b", 3),
                                 "a\xEF\xBF\xBD"
                                 "b"},
                      EncodeCase{"U+FFFF", u"\xFFFF", "\xEF\xBF\xBD"}));

}  // namespace
}  // namespace velmora
