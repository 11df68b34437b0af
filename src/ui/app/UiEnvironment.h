#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "tags/record/EngineContext.h"
#include "text/CodePage.h"
#include "ui/bridges/FileChooser.h"
#include "ui/bridges/UiMessageSink.h"

namespace velmora::ui {

// What the window works with: the settings store, the active code page and the message
// boxes, bundled as the engine's context. Made after the application object.
class UiEnvironment {
  public:
    struct OpenResult {
        std::unique_ptr<UiEnvironment> environment;  // null when the store cannot be opened
        std::string error;                           // then: why
        std::u16string notice;                       // a note for the user once the window is up
    };
    static OpenResult Open(const std::filesystem::path& settingsFile);

    SettingsKey& Settings() { return store_->Root(); }
    // The XML export's options.
    SettingsKey& XmlSettings() { return store_->SubKey(settings::kXmlKey); }
    const text::CodePage& CodePage() const { return *codePage_; }
    UiMessageSink& Messages() { return sink_; }
    EngineContext& Context() { return context_; }
    FileChooser& Chooser() { return *chooser_; }
    // Tests answer the file choosers themselves.
    void SetChooser(std::unique_ptr<FileChooser> chooser) { chooser_ = std::move(chooser); }

  private:
    UiEnvironment(std::unique_ptr<SettingsStore> store, std::unique_ptr<text::CodePage> codePage);

    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<text::CodePage> codePage_;
    UiMessageSink sink_;
    EngineContext context_;
    std::unique_ptr<FileChooser> chooser_ = std::make_unique<DialogFileChooser>();
};

}  // namespace velmora::ui
