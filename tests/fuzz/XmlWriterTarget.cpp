#include <memory>
#include <string>
#include <vector>

#include "export/XmlWriter.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzTargets.h"
#include "support/XmlReadBack.h"
#include "text/Utf8.h"

namespace velmora::fuzz {
namespace {

constexpr std::size_t kMaxDepth = 48;  // libxml2 refuses documents nested beyond 256
constexpr std::size_t kMaxAttributeUnits = 96;
const std::u16string kElementNames[] = {u"Export", u"Artist", u"Album", u"File", u"Genre"};

// Builds an element tree from the input: each step byte opens a child, closes the current
// element, or adds an attribute whose raw UTF-16 text follows.
class TreeBuilder {
  public:
    explicit TreeBuilder(Input input) : input_(input), root_(u"Export") { open_.push_back(&root_); }

    XmlElement& Build() {
        while (!input_.empty()) {
            const std::uint8_t step = Take(1)[0];
            Apply(step);
        }
        return root_;
    }

  private:
    Input Take(std::size_t count) {
        count = std::min(count, input_.size());
        const Input taken = input_.first(count);
        input_ = input_.subspan(count);
        return taken;
    }

    void Apply(std::uint8_t step) {
        XmlElement& current = *open_.back();
        const std::u16string name =
            u"a" + text::FromUtf8(std::to_string(current.Attributes().size()));
        switch (step & 7) {
            case 0:
                if (open_.size() < kMaxDepth)
                    open_.push_back(&current.AddChild(kElementNames[(step >> 3) % 5]));
                break;
            case 1:
                if (open_.size() > 1)
                    open_.pop_back();
                break;
            case 2:
                current.Add<XmlUInt32Attribute>(name, std::uint32_t{step} << 20 | step);
                break;
            case 3:
                current.Add<XmlBoolAttribute>(name, (step & 8) != 0);
                break;
            default: {
                const std::size_t units = (step >> 3) % kMaxAttributeUnits;
                current.Add<XmlStringAttribute>(name, RawUtf16(Take(units * 2)));
                break;
            }
        }
    }

    Input input_;
    XmlElement root_;
    std::vector<XmlElement*> open_;
};

// What a reader gets: characters XML cannot carry (lone surrogates among them) as U+FFFD.
std::u32string ExpectedValue(std::u16string_view value) {
    std::u32string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        char32_t c = value[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        if (high && i + 1 < value.size() && value[i + 1] >= 0xDC00 && value[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (value[i + 1] - 0xDC00);
            ++i;
        }
        out += testing::IsXmlChar(c) ? c : 0xFFFD;
    }
    return out;
}

void ExpectedElements(const XmlElement& element, int depth,
                      std::vector<testing::ParsedElement>& out) {
    out.push_back({depth, text::ToUtf8(element.Name()), {}});
    for (const auto& attribute : element.Attributes())
        out.back().attributes.emplace_back(text::ToUtf8(attribute->Name()),
                                           ExpectedValue(attribute->Value()));
    for (const auto& child : element.Children())
        ExpectedElements(*child, depth + 1, out);
}

}  // namespace

void XmlWriterParse(Input input) {
    TreeBuilder builder(input);
    const XmlElement& root = builder.Build();
    std::u16string serialized = u"left over";
    Serialize(root, 0, serialized);
    const testing::XmlReadBack read = testing::ReadXml(EncodeDocument(serialized));
    Check(read.parsed, "the document does not parse");
    std::vector<testing::ParsedElement> expected;
    ExpectedElements(root, 0, expected);
    Check(read.elements == expected, "the elements and attributes do not read back as written");
}

}  // namespace velmora::fuzz
