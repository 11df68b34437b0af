#pragma once

#include <memory>
#include <string>

#include "StderrMessageSink.h"
#include "edit/EditJournal.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "tags/record/EngineContext.h"
#include "text/CodePage.h"

namespace velmora::cli {

// Options every command takes.
struct GlobalOptions {
    std::string settingsFile;     // empty: the store the window uses
    bool writesSettings = false;  // the command may change the store (else it is read-only)
    bool v24 = false;
    bool v23 = false;
    std::string encoding;  // keep | utf16 | utf16bom | utf8, empty: as stored
    bool yes = false;
};

// What one run works with: the settings store, the engine's options as the store holds them
// with this run's overrides (--v24/--v23, --encoding, list's recursion flags), the code page
// and the message sink, bundled as the engine's context, and the edit journal.
class CliEnvironment {
  public:
    // Null, with the reason in `error`, when the store cannot be opened; `refused` when the
    // file named by --settings is not a settings file.
    static std::unique_ptr<CliEnvironment> Create(const GlobalOptions& options, std::string& error,
                                                  bool& refused);

    EngineContext& Context() { return context_; }
    SettingsKey& Settings() { return store_->Root(); }
    // Whether a directory load descends into subdirectories.
    bool Recurse() const { return recurse_; }
    void OverrideRecurse(bool recurse) { recurse_ = recurse; }
    // The sub-key of the XML export options.
    SettingsKey& XmlSettings() { return store_->SubKey(settings::kXmlKey); }
    StderrMessageSink& Messages() { return sink_; }
    const text::CodePage& CodePage() const { return *codePage_; }
    // Every change the run makes to a record goes through it, as the window's do.
    edit::EditJournal& Journal() { return journal_; }

  private:
    CliEnvironment(std::unique_ptr<SettingsStore> store, std::unique_ptr<text::CodePage> codePage,
                   const GlobalOptions& options);

    std::unique_ptr<SettingsStore> store_;
    bool recurse_;
    std::unique_ptr<text::CodePage> codePage_;
    StderrMessageSink sink_;
    EngineContext context_;
    edit::EditJournal journal_;
};

}  // namespace velmora::cli
