#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "export/XmlAttribute.h"

namespace velmora {

// An element of the export document. Its data lies entirely in attributes; it has no
// character content. It owns its attributes and its children.
class XmlElement {
  public:
    explicit XmlElement(std::u16string name) : name_(std::move(name)) {}
    XmlElement(const XmlElement&) = delete;
    XmlElement& operator=(const XmlElement&) = delete;
    // Moving keeps references to the children valid: they live on the heap.
    XmlElement(XmlElement&&) = default;
    XmlElement& operator=(XmlElement&&) = default;

    // Written unchanged: callers pass fixed, valid names.
    const std::u16string& Name() const { return name_; }
    const std::vector<std::unique_ptr<XmlAttribute>>& Attributes() const { return attributes_; }
    const std::vector<std::unique_ptr<XmlElement>>& Children() const { return children_; }

    // Appends in order; throws std::invalid_argument for a null pointer.
    void AddAttribute(std::unique_ptr<XmlAttribute> attribute);
    // Constructs the attribute in place, e.g. Add<XmlBoolAttribute>(u"vbr", true).
    template <class Attribute, class... Args>
    void Add(std::u16string name, Args&&... args) {
        AddAttribute(std::make_unique<Attribute>(std::move(name), std::forward<Args>(args)...));
    }

    // Appends in order and returns the child, now owned by this element; throws
    // std::invalid_argument for a null pointer.
    XmlElement& AddChild(std::unique_ptr<XmlElement> child);
    XmlElement& AddChild(std::u16string name);

  private:
    std::u16string name_;
    std::vector<std::unique_ptr<XmlAttribute>> attributes_;
    std::vector<std::unique_ptr<XmlElement>> children_;
};

}  // namespace velmora
