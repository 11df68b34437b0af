#include "ui/panel/PanelLink.h"

#include <utility>

#include "ui/app/Workspace.h"

namespace velmora::ui {

PanelLink::PanelLink(Workspace& workspace, EngineContext& engine, UiMessageSink& messages,
                     FileChooser& chooser, SelectionSource selection)
    : workspace_(workspace),
      engine_(engine),
      messages_(messages),
      chooser_(chooser),
      selection_(std::move(selection)) {}

bool PanelLink::Editable() const {
    return workspace_.IsIdle();
}

const std::vector<Mp3File*>& PanelLink::Loaded() const {
    return workspace_.Model().Records();
}

bool PanelLink::IsEvery(std::size_t selected) const {
    return selected > 0 && selected == workspace_.FileCount();
}

std::optional<std::vector<edit::CommonText>> PanelLink::ShownTextsOfEvery() const {
    return workspace_.ShownTextsOfEvery();
}

std::vector<Mp3File*> PanelLink::ApplyToEach(std::u16string name,
                                             const std::function<void(Mp3File&)>& change) const {
    return Apply(std::move(name), [&](std::span<Mp3File* const> records) {
        for (Mp3File* record : records)
            change(*record);
    });
}

std::vector<Mp3File*> PanelLink::Apply(
    std::u16string name, const std::function<void(std::span<Mp3File* const>)>& change) const {
    if (beforeCommand_ && !InOwnEdit())
        beforeCommand_();
    return ApplyTo(std::move(name), Selection(), change);
}

std::vector<Mp3File*> PanelLink::ApplyTo(
    std::u16string name, std::vector<Mp3File*> records,
    const std::function<void(std::span<Mp3File* const>)>& change) const {
    if (!Editable() || records.empty())
        return {};
    std::vector<Mp3File*> changed;
    AsOwnEdit([&] { changed = workspace_.ApplyToParts(std::move(name), records, change); });
    return changed;
}

void PanelLink::AsOwnEdit(const std::function<void()>& command) const {
    struct Count {
        int& edits;
        explicit Count(int& counter) : edits(counter) { ++edits; }
        ~Count() { --edits; }
        Count(const Count&) = delete;
        Count& operator=(const Count&) = delete;
    } count(ownEdits_);
    command();
}

}  // namespace velmora::ui
