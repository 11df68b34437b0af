#pragma once

#include <string>
#include <vector>

#include "export/ExportFileType.h"
#include "export/ExportedFile.h"

namespace velmora {

// One kind of export document. An exporter lives for one export command.
class Exporter {
  public:
    virtual ~Exporter() = default;

    // Appends the whole document for `files` (in the order given) to `out`, for the file
    // `target` (the path the user chose). False when the user cancelled on the way (the
    // XML options); `out` then holds nothing to write.
    virtual bool BuildDocument(std::string& out, const std::vector<ExportedFile>& files,
                               const std::u16string& target) = 0;

    virtual ExportFileType GetFileType() const = 0;
};

}  // namespace velmora
