#include <libxml/parser.h>
#include <libxml/tree.h>

#include <memory>
#include <string>
#include <vector>

#include "export/XmlWriter.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzTargets.h"
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

// XML 1.0 (Fifth Edition) production [2] Char.
bool IsChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The value a parser reads back: characters XML cannot carry (lone surrogates among them)
// become U+FFFD.
std::string ExpectedValue(std::u16string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        char32_t c = value[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        if (high && i + 1 < value.size() && value[i + 1] >= 0xDC00 && value[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (value[i + 1] - 0xDC00);
            ++i;
        }
        text::AppendUtf8CodePoint(out, IsChar(c) ? c : 0xFFFD);
    }
    return out;
}

// xmlFree is a variable of the library, not a function.
struct FreeXmlText {
    void operator()(xmlChar* text) const { xmlFree(text); }
};

std::string AsString(const xmlChar* chars) {
    return chars == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(chars));
}

void CheckAttributes(const XmlElement& element, const xmlNode& node) {
    const xmlAttr* attribute = node.properties;
    for (const auto& expected : element.Attributes()) {
        Check(attribute != nullptr, "an attribute is missing");
        Check(AsString(attribute->name) == text::ToUtf8(expected->Name()), "an attribute renamed");
        const std::unique_ptr<xmlChar, FreeXmlText> value(
            xmlNodeListGetString(node.doc, attribute->children, 1));
        Check(AsString(value.get()) == ExpectedValue(expected->Value()),
              "an attribute value does not read back");
        attribute = attribute->next;
    }
    Check(attribute == nullptr, "an attribute too many");
}

void CheckElement(const XmlElement& element, const xmlNode& node) {
    Check(AsString(node.name) == text::ToUtf8(element.Name()), "an element renamed");
    CheckAttributes(element, node);
    const xmlNode* child = node.children;
    for (const auto& expected : element.Children()) {
        while (child != nullptr && child->type != XML_ELEMENT_NODE)
            child = child->next;
        Check(child != nullptr, "an element is missing");
        CheckElement(*expected, *child);
        child = child->next;
    }
    while (child != nullptr && child->type != XML_ELEMENT_NODE)
        child = child->next;
    Check(child == nullptr, "an element too many");
}

void IgnoreParserMessage(void*, const char*, ...) {}

}  // namespace

void XmlWriterParse(Input input) {
    static const bool silenced = [] {
        xmlInitParser();
        xmlSetGenericErrorFunc(nullptr, IgnoreParserMessage);
        return true;
    }();
    (void)silenced;

    TreeBuilder builder(input);
    const XmlElement& root = builder.Build();
    std::u16string serialized = u"left over";
    Serialize(root, 0, serialized);
    const std::string document = EncodeDocument(serialized);

    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    const std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> parsed(
        xmlReadMemory(document.data(), static_cast<int>(document.size()), nullptr, nullptr,
                      options),
        xmlFreeDoc);
    Check(parsed != nullptr, "the document does not parse");
    const xmlNode* top = xmlDocGetRootElement(parsed.get());
    Check(top != nullptr, "the document has no root element");
    CheckElement(root, *top);
}

}  // namespace velmora::fuzz
