#pragma once

#include <vector>

#include "export/ExportTargetChooser.h"
#include "export/ExportedFile.h"
#include "export/Exporter.h"

namespace velmora {

class MessageSink;

enum class ExportOutcome {
    Written,
    Cancelled,    // at the Save dialog or in the exporter's own options
    OpenFailed,   // an ExportOpenFailed message was shown
    WriteFailed,  // an ExportWriteFailed message was shown
};

// The procedure every export shares: asks `chooser` for the target with the exporter's file
// type, builds the document for `files` (in the order given: the selected rows in display
// order, or all loaded files) and writes it. The target is replaced only by a complete
// document; a cancel or a failure leaves it as it was, and a target that is one of the files
// is refused. Failures are shown through `messages` with the chosen path, caption "Error".
ExportOutcome Export(Exporter& exporter, const std::vector<ExportedFile>& files,
                     ExportTargetChooser& chooser, MessageSink& messages);

}  // namespace velmora
