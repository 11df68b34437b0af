#pragma once

namespace velmora {
class SettingsKey;
struct EngineContext;
namespace edit {
class EditJournal;
}
}  // namespace velmora

namespace velmora::ui {

class UiMessageSink;

// What the Rename and "Generate ID3" dialogs work with: the store of their recent lists, the
// engine, the journal that makes each run one undoable action, and the boxes they own.
struct BatchDialogContext {
    SettingsKey& settings;
    EngineContext& engine;
    edit::EditJournal& journal;
    UiMessageSink& messages;
};

}  // namespace velmora::ui
