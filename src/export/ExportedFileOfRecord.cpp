#include "export/ExportedFileOfRecord.h"

#include "tags/record/EngineContext.h"
#include "tags/record/Mp3File.h"

namespace velmora {

ExportedFile DescribeForExport(const Mp3File& record, const text::CodePage& codePage) {
    ExportedFile file;
    file.record = &record;
    file.directory = record.Directory();
    file.name = record.Name();
    file.bitrate = record.Bitrate();
    file.vbr = record.Vbr();
    file.duration = record.Duration();
    DescribeTags(record.V2(), record.V1(), codePage, file);
    return file;
}

ExportOutcome Export(Exporter& exporter, const std::vector<const Mp3File*>& records,
                     ExportTargetChooser& chooser, const EngineContext& context) {
    std::vector<ExportedFile> files;
    files.reserve(records.size());
    for (const Mp3File* record : records) {
        files.push_back(DescribeForExport(*record, context.codePage));
    }
    return Export(exporter, files, chooser, context.messages);
}

}  // namespace velmora
