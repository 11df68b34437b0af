#include "export/XmlAttribute.h"

namespace velmora {

void XmlAttribute::WriteTo(std::u16string& out) const {
    out = name_;
    out += u"=\"";
    out += Value();
    out += u'"';
}

}  // namespace velmora
