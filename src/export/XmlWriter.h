#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "export/XmlAttribute.h"
#include "export/XmlElement.h"

namespace velmora {

// Replaces `out` with the element and its subtree: one element per line, each indented
// by one tab per level (the root at depth 0), no line feed after the last closing tag.
// Attribute values are escaped so that any text reads back unchanged: & < > " become
// entity references, tab, LF and CR character references (attribute-value normalisation
// would turn them into blanks), and characters XML 1.0 cannot carry become U+FFFD.
void Serialize(const XmlElement& element, std::size_t depth, std::u16string& out);

// The bytes of the file: UTF-8 byte order mark, the XML declaration and a line feed, then
// the serialized text in UTF-8. Surrogate pairs become one 4-byte sequence; lone
// surrogates and other characters XML 1.0 cannot carry become U+FFFD (EF BF BD).
std::string EncodeDocument(std::u16string_view serialized);

}  // namespace velmora
