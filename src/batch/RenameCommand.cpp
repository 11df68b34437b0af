#include "batch/RenameCommand.h"

#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "tags/EngineContext.h"
#include "tags/Mp3File.h"

namespace velmora::batch {

std::vector<std::u16string> RecentRenameExpressions(SettingsKey& settings) {
    std::vector<std::u16string> entries = settings.ReadList(settings::kRenames);
    if (entries.empty()) {
        settings.AddToList(settings::kRenames, kDefaultRenameExpression);
        entries.emplace_back(kDefaultRenameExpression);
    }
    return entries;
}

void ForgetRenameExpression(SettingsKey& settings, std::u16string_view expression) {
    settings.RemoveFromList(settings::kRenames, expression);
}

std::vector<RenamePreview> PreviewRename(const RenamePattern& pattern,
                                         const std::vector<Mp3File*>& batch,
                                         const text::CodePage& codePage) {
    std::vector<RenamePreview> previews;
    previews.reserve(batch.size());
    for (const Mp3File* file : batch) {
        std::u16string expanded = pattern.Expand(*file, codePage);
        const bool changes = expanded != file->Name();
        previews.push_back({Mp3File::StorableName(std::move(expanded)), changes});
    }
    return previews;
}

bool RenameBatch(std::u16string_view expression, std::vector<Mp3File*>& batch,
                 SettingsKey& settings, const EngineContext& context) {
    settings.AddToList(settings::kRenames, expression);
    const auto pattern = CompileRenamePatternOrReport(expression, context.messages);
    if (!pattern)
        return false;
    std::vector<Mp3File*> renamed;
    for (Mp3File* file : batch) {
        if (file->SetFileName(pattern->Expand(*file, context.codePage)))
            renamed.push_back(file);
    }
    batch = std::move(renamed);
    return true;
}

}  // namespace velmora::batch
