#pragma once

#include <memory>
#include <string>
#include <vector>

#include "scan/LoaderThread.h"

namespace velmora::cli {

class CliEnvironment;

// The records of files and directories named on the command line, in the order named; a
// directory loads as the window loads it. Owns them.
struct LoadedPaths {
    std::vector<std::unique_ptr<LoaderThread>> directories;
    std::vector<std::unique_ptr<Mp3File>> files;
    std::vector<const Mp3File*> records;
    bool failed = false;  // a path could not be read, or a file's load failed
};

LoadedPaths LoadPaths(CliEnvironment& environment, const std::vector<std::string>& paths);

}  // namespace velmora::cli
