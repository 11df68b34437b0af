#include "export/XmlExporter.h"

#include "export/XmlExportDocument.h"
#include "settings/SettingsStore.h"

namespace velmora {

bool XmlExporter::BuildDocument(std::string& out, const std::vector<ExportedFile>& files,
                                const std::u16string&) {
    XmlExportOptions options = LoadXmlExportOptions(xmlKey_);
    if (!prompt_.Confirm(options)) {
        return false;
    }
    out += BuildXmlExportDocument(options, files);
    SaveXmlExportOptions(options, xmlKey_);
    return true;
}

ExportFileType XmlExporter::GetFileType() const {
    return {u"xml", {{u"XML Files (*.xml)", u"*.xml"}, {u"All Files (*.*)", u"*.*"}}};
}

}  // namespace velmora
