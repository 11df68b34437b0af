#include "export/XmlWriter.h"
#include "fuzz/FuzzHarness.h"
#include "support/XmlReadBack.h"
#include "text/Utf8.h"

namespace velmora::fuzz {
namespace {

constexpr std::size_t kMaxDepth = 48;  // libxml2 refuses documents nested beyond 256
constexpr std::size_t kMaxAttributeUnits = 96;
const std::u16string kElementNames[] = {u"Export", u"Artist", u"Album", u"File", u"Genre"};

// Byte pairs as UTF-16LE units (an odd last byte is dropped): reaches lone surrogates,
// controls and noncharacters.
std::u16string RawUtf16(Input bytes) {
    std::u16string out;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        out.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    return out;
}

// Each step byte of the input opens a child, closes the current element, or adds an
// attribute whose raw UTF-16 text follows.
void BuildTree(Input input, XmlElement& root) {
    std::vector<XmlElement*> open = {&root};
    while (!input.empty()) {
        const std::uint8_t step = input[0];
        input = input.subspan(1);
        XmlElement& current = *open.back();
        const std::u16string name =
            u"a" + text::FromUtf8(std::to_string(current.Attributes().size()));
        if ((step & 7) == 0 && open.size() < kMaxDepth) {
            open.push_back(&current.AddChild(kElementNames[(step >> 3) % 5]));
        } else if ((step & 7) == 1 && open.size() > 1) {
            open.pop_back();
        } else if ((step & 7) == 2) {
            current.Add<XmlUInt32Attribute>(name, std::uint32_t{step} << 20 | step);
        } else if ((step & 7) == 3) {
            current.Add<XmlBoolAttribute>(name, (step & 8) != 0);
        } else if ((step & 7) > 3) {
            const std::size_t bytes = std::min(input.size(), (step >> 3) % kMaxAttributeUnits * 2);
            current.Add<XmlStringAttribute>(name, RawUtf16(input.first(bytes)));
            input = input.subspan(bytes);
        }
    }
}

// What a reader gets: characters XML cannot carry (lone surrogates among them) as U+FFFD.
void ExpectedElements(const XmlElement& element, int depth,
                      std::vector<testing::ParsedElement>& out) {
    out.push_back({depth, text::ToUtf8(element.Name()), {}});
    for (const auto& attribute : element.Attributes()) {
        std::u32string value = CodePoints(attribute->Value());
        std::ranges::replace_if(
            value, [](char32_t c) { return !testing::IsXmlChar(c); }, 0xFFFD);
        out.back().attributes.emplace_back(text::ToUtf8(attribute->Name()), value);
    }
    for (const auto& child : element.Children())
        ExpectedElements(*child, depth + 1, out);
}

}  // namespace

void XmlWriterParse(Input input) {
    XmlElement root(u"Export");
    BuildTree(input, root);
    std::u16string serialized = u"left over";
    Serialize(root, 0, serialized);
    const testing::XmlReadBack read = testing::ReadXml(EncodeDocument(serialized));
    Check(read.parsed, "the document does not parse");
    std::vector<testing::ParsedElement> expected;
    ExpectedElements(root, 0, expected);
    Check(read.elements == expected, "the elements and attributes do not read back as written");
}

}  // namespace velmora::fuzz
