#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora::cli {

class CliEnvironment;

// A picture file read for attaching, with the subtype its content shows ("jpg" or "png").
struct PictureFile {
    std::string subtype;
    std::vector<std::uint8_t> data;
};

// Reads the picture, with the dialog's messages: "File must be a JPG or PNG image!" (exit
// code 2), "Couldn't open file:", "File is empty!" (exit code 1), and the question about
// a large file (declined: exit code 0). Null `result` with the code in `exitCode`.
std::optional<PictureFile> ReadPictureFile(CliEnvironment& environment, const std::string& path,
                                           int& exitCode);

// Writes the data to the file at `path`; an existing file is replaced only when the user
// says yes (declined: exit code 0, nothing written). Never creates a file for empty data.
// Returns the exit code.
int WritePictureFile(CliEnvironment& environment, const std::string& path,
                     const std::vector<std::uint8_t>& data);

}  // namespace velmora::cli
