#pragma once

#include <functional>
#include <vector>

namespace velmora {

class Mp3File;
struct EngineContext;

// Saves the records in order, telling `each` how each went. With a recorder, a group of files
// at a time: each file of the group is opened, checked and its old ends recorded, the group's
// record committed at once, and only then are its files written (a file whose record was not
// kept is refused with the reason). Every commit costs as much as a small save.
void SaveInGroups(const std::vector<Mp3File*>& records, EngineContext& context,
                  const std::function<void(Mp3File&, bool saved)>& each);

}  // namespace velmora
