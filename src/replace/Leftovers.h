#pragma once

#include <string>

#include "replace/TemporaryPattern.h"

namespace velmora::replace {

// A replacement holds an exclusive lock on its temporary file from creation to rename, so a
// file of the pattern that nobody holds locked is the leftover of a run that ended without
// cleaning up (kill -9, power loss). These remove such leftovers.

// Removes folder/name when the name follows the pattern and the file is such a leftover
// (a regular file, unlocked, still under that name). True when it was removed.
bool RemoveIfLeftover(const std::string& folder, const std::string& name,
                      const TemporaryPattern& pattern);

// Removes every leftover of the pattern in the folder.
void RemoveLeftovers(const std::string& folder, const TemporaryPattern& pattern);

}  // namespace velmora::replace
