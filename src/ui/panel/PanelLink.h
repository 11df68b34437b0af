#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "edit/CommonValue.h"

namespace velmora {
class Mp3File;
struct EngineContext;
}  // namespace velmora

namespace velmora::ui {

class FileChooser;
class UiMessageSink;
class Workspace;

// What the editor panel's pages share: the window's selection, the engine's context, the
// message boxes, and the one road by which a page changes records (the edit journal, then
// the rows and the status text).
class PanelLink {
  public:
    using SelectionSource = std::function<std::vector<Mp3File*>()>;

    PanelLink(Workspace& workspace, EngineContext& engine, UiMessageSink& messages,
              FileChooser& chooser, SelectionSource selection);

    // The selected records, in view order (top to bottom as shown).
    std::vector<Mp3File*> Selection() const { return selection_(); }
    // Every loaded record.
    const std::vector<Mp3File*>& Loaded() const;
    EngineContext& Engine() const { return engine_; }
    UiMessageSink& Messages() const { return messages_; }
    FileChooser& Chooser() const { return chooser_; }
    // No worker runs: records may be changed.
    bool Editable() const;
    // A selection of this many records holds every loaded record.
    bool IsEvery(std::size_t selected) const;
    // The common values of edit::V2ShownText over every loaded record (none while no record
    // is loaded or a worker runs).
    std::optional<std::vector<edit::CommonText>> ShownTextsOfEvery() const;

    // Runs `change` on each selected record, in order, as one undoable action named `name`,
    // then tells the window; the records it changed. Nothing happens while a worker runs.
    std::vector<Mp3File*> ApplyToEach(std::u16string name,
                                      const std::function<void(Mp3File&)>& change) const;
    // The same with one change over all the selected records.
    std::vector<Mp3File*> Apply(std::u16string name,
                                const std::function<void(std::span<Mp3File* const>)>& change) const;
    // One change over the given records, without applying the typed edits first.
    std::vector<Mp3File*> ApplyTo(
        std::u16string name, std::vector<Mp3File*> records,
        const std::function<void(std::span<Mp3File* const>)>& change) const;
    // Runs before each command of a page, so that text typed but not applied yet takes
    // effect first instead of being lost to the command's reload.
    void SetBeforeCommand(std::function<void()> hook) { beforeCommand_ = std::move(hook); }
    // Runs `command` (which may change records through the window's own actions) as the
    // panel's own: the window's notice of edited records does not reload the pages.
    void AsOwnEdit(const std::function<void()>& command) const;
    // A page's own edit is running.
    bool InOwnEdit() const { return ownEdits_ > 0; }

  private:
    Workspace& workspace_;
    EngineContext& engine_;
    UiMessageSink& messages_;
    FileChooser& chooser_;
    SelectionSource selection_;
    std::function<void()> beforeCommand_;
    mutable int ownEdits_ = 0;
};

}  // namespace velmora::ui
