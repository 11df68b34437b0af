#include "Output.h"

#include <iostream>

#include "text/FileName.h"
#include "text/Utf8.h"

namespace velmora::cli {

void Complain(std::string_view text) {
    std::cerr << "velmora-cli: " << text << '\n';
}

std::string Printable(std::u16string_view text) {
    return text::ToUtf8(text);
}

std::string PathBytes(std::u16string_view path) {
    return text::TextToFileName(path);
}

}  // namespace velmora::cli
