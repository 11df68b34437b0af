#include "export/XmlElement.h"

#include <stdexcept>

namespace velmora {

void XmlElement::AddAttribute(std::unique_ptr<XmlAttribute> attribute) {
    if (!attribute) {
        throw std::invalid_argument("XmlElement::AddAttribute: null attribute");
    }
    attributes_.push_back(std::move(attribute));
}

XmlElement& XmlElement::AddChild(std::unique_ptr<XmlElement> child) {
    if (!child) {
        throw std::invalid_argument("XmlElement::AddChild: null child");
    }
    children_.push_back(std::move(child));
    return *children_.back();
}

XmlElement& XmlElement::AddChild(std::u16string name) {
    return AddChild(std::make_unique<XmlElement>(std::move(name)));
}

}  // namespace velmora
