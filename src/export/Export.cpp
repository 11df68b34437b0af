#include "export/Export.h"

#include <string>

#include "common/Messages.h"
#include "tags/file/ReplacingFile.h"

namespace velmora {

ExportOutcome Export(Exporter& exporter, const std::vector<ExportedFile>& files,
                     ExportTargetChooser& chooser, MessageSink& messages) {
    const std::optional<std::u16string> target = chooser.ChooseTarget(exporter.GetFileType());
    if (!target) {
        return ExportOutcome::Cancelled;
    }
    // Opened before the document is built, so an unusable target is reported before the
    // exporter asks anything; the target itself is not touched yet.
    ReplacingFile file;
    CFileExceptionEx openError;
    if (!file.Open(*target, openError)) {
        ShowError(messages, MessageKind::ExportOpenFailed, {*target}, openError.SystemError());
        return ExportOutcome::OpenFailed;
    }
    std::string document;
    if (!exporter.BuildDocument(document, files, *target)) {
        return ExportOutcome::Cancelled;
    }
    try {
        file.Write(document);
        file.Commit();
    } catch (const CFileExceptionEx& error) {
        ShowError(messages, MessageKind::ExportWriteFailed, {*target}, error.SystemError());
        return ExportOutcome::WriteFailed;
    }
    return ExportOutcome::Written;
}

}  // namespace velmora
