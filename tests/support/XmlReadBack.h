#pragma once

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <string>
#include <utility>
#include <vector>

namespace velmora::testing {

// XML 1.0 (Fifth Edition) production [2] Char, restated so a writer is checked against the
// rule rather than against itself.
inline bool IsXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// An element as a reader sees it: its depth below the root, its name and its attributes.
struct ParsedElement {
    int depth = 0;
    std::string name;
    std::vector<std::pair<std::string, std::u32string>> attributes;

    friend bool operator==(const ParsedElement&, const ParsedElement&) = default;
};

// What libxml2, which shares nothing with the writers, reads from a document: whether it
// parsed, what it complained of, and every element in document order.
struct XmlReadBack {
    bool parsed = false;
    std::string diagnostics;
    std::vector<ParsedElement> elements;
};

namespace detail {

// From the UTF-8 libxml2 has checked.
inline std::u32string CodePoints(const xmlChar* utf8) {
    std::u32string out;
    for (const xmlChar* p = utf8; p != nullptr && *p != 0;) {
        const int extra = *p < 0x80 ? 0 : *p < 0xE0 ? 1 : *p < 0xF0 ? 2 : 3;
        char32_t c = *p++ & (0x7F >> extra);
        for (int i = 0; i < extra; ++i)
            c = c << 6 | (*p++ & 0x3F);
        out += c;
    }
    return out;
}

inline void ElementsOf(const xmlNode* node, int depth, std::vector<ParsedElement>& out) {
    for (; node != nullptr; node = node->next) {
        if (node->type != XML_ELEMENT_NODE)
            continue;
        out.push_back({depth, reinterpret_cast<const char*>(node->name), {}});
        for (const xmlAttr* attribute = node->properties; attribute; attribute = attribute->next) {
            xmlChar* value = xmlNodeListGetString(node->doc, attribute->children, 1);
            out.back().attributes.emplace_back(reinterpret_cast<const char*>(attribute->name),
                                               CodePoints(value));
            xmlFree(value);
        }
        ElementsOf(node->children, depth + 1, out);
    }
}

}  // namespace detail

inline XmlReadBack ReadXml(const std::string& document) {
    XmlReadBack result;
    xmlSetStructuredErrorFunc(&result.diagnostics, [](void* diagnostics, xmlErrorPtr error) {
        *static_cast<std::string*>(diagnostics) += error->message;
    });
    xmlDoc* parsed = xmlReadMemory(document.data(), static_cast<int>(document.size()), nullptr,
                                   nullptr, XML_PARSE_NONET);
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    result.parsed = parsed != nullptr;
    if (parsed != nullptr)
        detail::ElementsOf(xmlDocGetRootElement(parsed), 0, result.elements);
    xmlFreeDoc(parsed);
    return result;
}

}  // namespace velmora::testing
