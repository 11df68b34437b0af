#pragma once

#include <string>
#include <string_view>

namespace velmora {

// "file://" and the absolute path, each byte outside the unreserved characters of RFC 3986
// (and the separator) percent-encoded.
std::u16string FileUri(std::u16string_view absolutePath);
// The path a "file://" URI of an absolute path names, its escapes decoded to the bytes they
// stand for; the text itself when it is no such URI.
std::u16string PathOfFileUri(std::u16string_view text);

}  // namespace velmora
