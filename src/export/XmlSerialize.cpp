#include <string_view>

#include "export/XmlChars.h"
#include "export/XmlWriter.h"

namespace velmora {

namespace {

std::u16string_view Reference(char32_t c) {
    switch (c) {
        case u'&':
            return u"&amp;";
        case u'<':
            return u"&lt;";
        case u'>':
            return u"&gt;";
        case u'"':
            return u"&quot;";
        case u'\t':
            return u"&#9;";
        case u'\n':
            return u"&#10;";
        case u'\r':
            return u"&#13;";
        default:
            return {};
    }
}

void AppendChar(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

void AppendEscaped(std::u16string& out, std::u16string_view value) {
    for (std::size_t pos = 0; pos < value.size();) {
        const char32_t c = NextXmlChar(value, pos);
        const std::u16string_view reference = Reference(c);
        if (reference.empty()) {
            AppendChar(out, c);
        } else {
            out += reference;
        }
    }
}

void AppendElement(std::u16string& out, const XmlElement& element, std::size_t depth) {
    out.append(depth, u'\t');
    out += u'<';
    out += element.Name();
    for (const auto& attribute : element.Attributes()) {
        out += u' ';
        out += attribute->Name();
        out += u"=\"";
        AppendEscaped(out, attribute->Value());
        out += u'"';
    }
    if (element.Children().empty()) {
        out += u" />";
        return;
    }
    out += u">\n";
    for (const auto& child : element.Children()) {
        AppendElement(out, *child, depth + 1);
        out += u'\n';
    }
    out.append(depth, u'\t');
    out += u"</";
    out += element.Name();
    out += u'>';
}

}  // namespace

void Serialize(const XmlElement& element, std::size_t depth, std::u16string& out) {
    out.clear();
    AppendElement(out, element, depth);
}

}  // namespace velmora
