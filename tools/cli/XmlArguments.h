#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "export/XmlExporter.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace velmora::cli {

// The flag that lets an export change the settings store.
inline constexpr std::string_view kSaveOptionsFlag = "--save-options";

// The XML export options given on the command line; each one given replaces that part of
// the stored options for this run, the rest stay as stored. They are stored only with
// --save-options, as the window's dialog stores its choices.
struct XmlArguments {
    std::string location;  // none | name | path
    bool duration = false;
    bool bitrate = false;
    bool vbr = false;
    std::string v2Fields;  // comma-separated: artist, album, title, year, track, genre
    std::string v1Fields;
    bool keepEmpty = false;
    std::string levels;  // comma-separated: list, artist, album, year, directory
    bool saveOptions = false;

    CLI::Option* v2Option = nullptr;
    CLI::Option* v1Option = nullptr;
    CLI::Option* levelsOption = nullptr;

    void AddTo(CLI::App& command);
};

// The changes the arguments make, or nothing (after a message) when a field or level name
// is unknown or the levels go on after "list".
using XmlOptionChanges = std::function<void(XmlExportOptions&)>;
bool ParseXmlArguments(const XmlArguments& arguments, XmlOptionChanges& changes);

// Applies the changes over the stored options, as the window's dialog would on "Save".
class ArgumentXmlOptions final : public XmlOptionsPrompt {
  public:
    explicit ArgumentXmlOptions(XmlOptionChanges changes) : changes_(std::move(changes)) {}
    bool Confirm(XmlExportOptions& options) override {
        changes_(options);
        return true;
    }

  private:
    XmlOptionChanges changes_;
};

}  // namespace velmora::cli
