#include "export/Export.h"

#include <algorithm>
#include <string>

#include "common/Messages.h"
#include "tags/file/FileIdentity.h"
#include "tags/file/ReplacingFile.h"
#include "tags/record/Mp3File.h"

namespace velmora {
namespace {

// A target that is one of the files listed would lose that song to the document.
bool IsListed(const std::u16string& target, const std::vector<ExportedFile>& files) {
    const auto written = IdentityOfPath(target);
    return written && std::ranges::any_of(files, [&](const ExportedFile& file) {
               const auto listed = IdentityOfPath(file.record ? file.record->DiskPath()
                                                              : file.directory + u"/" + file.name);
               return listed && SameFile(*listed, *written);
           });
}

}  // namespace

ExportOutcome Export(Exporter& exporter, const std::vector<ExportedFile>& files,
                     ExportTargetChooser& chooser, MessageSink& messages) {
    const std::optional<std::u16string> target = chooser.ChooseTarget(exporter.GetFileType());
    if (!target) {
        return ExportOutcome::Cancelled;
    }
    if (IsListed(*target, files)) {
        ShowError(messages, MessageKind::ExportOpenFailed, {*target}, {},
                  u"it is one of the files exported");
        return ExportOutcome::OpenFailed;
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
