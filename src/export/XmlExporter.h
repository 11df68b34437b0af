#pragma once

#include <string>
#include <utility>
#include <vector>

#include "export/Exporter.h"
#include "export/XmlExportOptions.h"

namespace velmora {

class SettingsKey;

// Where the user settles the XML options before anything is written: the window shows the
// "Export XML" dialog bound to the options, the command line and tests answer at once.
class XmlOptionsPrompt {
  public:
    virtual ~XmlOptionsPrompt() = default;
    // `options` holds the stored choices; the prompt may change them. True for "Save",
    // false for "Cancel".
    virtual bool Confirm(XmlExportOptions& options) = 0;
};

// Takes the stored options as they are.
class StoredXmlOptions final : public XmlOptionsPrompt {
  public:
    bool Confirm(XmlExportOptions&) override { return true; }
};

// Replaces the stored options with fixed ones.
class FixedXmlOptions final : public XmlOptionsPrompt {
  public:
    explicit FixedXmlOptions(XmlExportOptions options) : options_(std::move(options)) {}
    bool Confirm(XmlExportOptions& options) override {
        options = options_;
        return true;
    }

  private:
    XmlExportOptions options_;
};

// The XML export: reads the options from the sub-key XML, lets the prompt settle them and,
// on "Save", builds the MP3List document and stores the options back. A cancelled prompt
// builds nothing and stores nothing.
class XmlExporter final : public Exporter {
  public:
    // Both outlive the exporter.
    XmlExporter(SettingsKey& xmlKey, XmlOptionsPrompt& prompt) : xmlKey_(xmlKey), prompt_(prompt) {}

    bool BuildDocument(std::string& out, const std::vector<ExportedFile>& files,
                       const std::u16string& target) override;
    ExportFileType GetFileType() const override;

  private:
    SettingsKey& xmlKey_;
    XmlOptionsPrompt& prompt_;
};

}  // namespace velmora
