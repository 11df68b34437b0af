#pragma once

#include <charconv>
#include <concepts>
#include <cstdint>
#include <string>
#include <utility>

namespace velmora {

// One attribute of an XmlElement: a name and a typed value. The value is kept as given;
// escaping happens when the element is serialized.
class XmlAttribute {
  public:
    explicit XmlAttribute(std::u16string name) : name_(std::move(name)) {}
    virtual ~XmlAttribute() = default;
    XmlAttribute(const XmlAttribute&) = delete;
    XmlAttribute& operator=(const XmlAttribute&) = delete;

    const std::u16string& Name() const { return name_; }
    // The value as text, not yet escaped.
    virtual std::u16string Value() const = 0;
    // Replaces `out` with name="value", unescaped.
    void WriteTo(std::u16string& out) const;

  private:
    std::u16string name_;
};

class XmlStringAttribute final : public XmlAttribute {
  public:
    XmlStringAttribute(std::u16string name, std::u16string value)
        : XmlAttribute(std::move(name)), value_(std::move(value)) {}
    std::u16string Value() const override { return value_; }

  private:
    std::u16string value_;
};

// Unsigned decimal: no sign, no leading zeros, 0 as "0".
template <std::unsigned_integral Number>
class XmlUnsignedAttribute final : public XmlAttribute {
  public:
    XmlUnsignedAttribute(std::u16string name, Number value)
        : XmlAttribute(std::move(name)), value_(value) {}

    std::u16string Value() const override {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value_).ptr;
        return std::u16string(digits, end);
    }

  private:
    Number value_;
};

using XmlUInt8Attribute = XmlUnsignedAttribute<std::uint8_t>;
using XmlUInt16Attribute = XmlUnsignedAttribute<std::uint16_t>;
using XmlUInt32Attribute = XmlUnsignedAttribute<std::uint32_t>;

class XmlBoolAttribute final : public XmlAttribute {
  public:
    XmlBoolAttribute(std::u16string name, bool value)
        : XmlAttribute(std::move(name)), value_(value) {}
    std::u16string Value() const override { return value_ ? u"true" : u"false"; }

  private:
    bool value_;
};

}  // namespace velmora
