#include "export/XmlExportOptions.h"

namespace velmora {

XmlLocation XmlExportOptions::Location() const {
    if (fileName) {
        return XmlLocation::FileName;
    }
    return fullPath ? XmlLocation::FullPath : XmlLocation::None;
}

void XmlExportOptions::SetLocation(XmlLocation location) {
    fileName = location == XmlLocation::FileName;
    fullPath = location == XmlLocation::FullPath;
}

}  // namespace velmora
