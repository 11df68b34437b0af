#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace velmora {
class Mp3File;
namespace text {
class CodePage;
}
}  // namespace velmora

namespace velmora::cli {

// One record as a JSON object: where it lies, its audio facts, its ID3v2 frames in order
// and its ID3v1 fields. Names on disk go in as their bytes; serialise with
// JsonLine, which replaces bytes that are not UTF-8.
nlohmann::ordered_json RecordJson(const Mp3File& record, const text::CodePage& codePage);

// The object on one line. A name that is not valid UTF-8 shows U+FFFD for each invalid byte.
std::string JsonLine(const nlohmann::ordered_json& object);

// The record as a readable listing, several lines.
std::string RecordText(const Mp3File& record, const text::CodePage& codePage);

}  // namespace velmora::cli
