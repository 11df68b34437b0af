#include "batch/RenameCommand.h"

#include <cerrno>
#include <map>

#include "common/Messages.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "tags/file/SafeRename.h"
#include "tags/ops/ShownFields.h"
#include "tags/record/EngineContext.h"
#include "tags/record/Mp3File.h"

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

bool IsHiddenName(std::u16string_view name) {
    return name.empty() || name.front() == u'.';
}

namespace {

// Why a name would not do, as the rename error says it; empty when it would.
std::u16string_view UnfitNameReason(bool onlyPatternText, std::u16string_view storable) {
    if (IsHiddenName(storable))
        return u"the new name would be empty or start with a dot";
    if (onlyPatternText)
        return u"every field of the pattern is empty for this file";
    return {};
}

Message UnfitNameError(const std::u16string& oldName, const std::u16string& newName,
                       std::u16string_view reason) {
    return ErrorMessage(MessageKind::RenameFailed, {oldName, newName}, {}, std::u16string(reason));
}

// Which names the renames so far took (true) or left (false), by path; other names are as the disk
// has them.
class NamesTaken {
  public:
    // The errno the rename would meet, 0 for none.
    int Error(const Mp3File& file, const std::u16string& newName) const {
        const auto known = changed_.find(PathOf(file.Directory(), newName));
        if (known != changed_.end())
            return known->second ? EEXIST : 0;
        return ForeseenRenameError(file.Directory(), file.DiskName(), newName);
    }

    void Renamed(const Mp3File& file, const std::u16string& newName) {
        changed_[PathOf(file.Directory(), file.DiskName())] = false;
        changed_[PathOf(file.Directory(), newName)] = true;
    }

  private:
    static std::u16string PathOf(const std::u16string& directory, const std::u16string& name) {
        return directory + u"/" + name;
    }

    std::map<std::u16string, bool> changed_;
};

// What giving `file` the name `wanted` would do after the renames `taken` holds.
RenamePreview PreviewOne(NamesTaken& taken, const Mp3File& file, const std::u16string& wanted,
                         bool onlyPatternText) {
    RenamePreview preview;
    preview.changes = wanted != file.Name();
    preview.newName = Mp3File::StorableName(wanted);
    if (preview.changes && preview.newName != file.DiskName()) {
        const std::u16string_view unfit = UnfitNameReason(onlyPatternText, preview.newName);
        const int error = unfit.empty() ? taken.Error(file, preview.newName) : 0;
        if (!file.IsMp3())
            preview.refusal = ErrorMessage(MessageKind::NotAnMp3, {file.DiskPath()});
        else if (!unfit.empty())
            preview.refusal = UnfitNameError(file.Name(), preview.newName, unfit);
        else if (error != 0)
            preview.refusal = ErrorMessage(MessageKind::RenameFailed,
                                           {file.Name(), preview.newName}, SystemError(error));
        else
            taken.Renamed(file, preview.newName);
    }
    return preview;
}

}  // namespace

std::vector<RenamePreview> PreviewRename(const RenamePattern& pattern,
                                         const std::vector<Mp3File*>& batch,
                                         const text::CodePage& codePage) {
    std::vector<RenamePreview> previews;
    previews.reserve(batch.size());
    NamesTaken taken;
    for (const Mp3File* file : batch) {
        const RenameExpansion expansion = pattern.Expand(ShownTagsOf(*file), codePage);
        previews.push_back(PreviewOne(taken, *file, expansion.name, expansion.onlyPatternText));
    }
    return previews;
}

std::vector<RenamePreview> PreviewNames(const std::vector<Mp3File*>& batch,
                                        const std::vector<std::u16string>& names) {
    std::vector<RenamePreview> previews;
    previews.reserve(batch.size());
    NamesTaken taken;
    for (std::size_t i = 0; i < batch.size(); ++i)
        previews.push_back(PreviewOne(taken, *batch[i], names[i], false));
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
        RenameExpansion expansion = pattern->Expand(ShownTagsOf(*file), context.codePage);
        const std::u16string storable = Mp3File::StorableName(expansion.name);
        const std::u16string_view unfit = UnfitNameReason(expansion.onlyPatternText, storable);
        // A file that is not an MP3 is refused by the save, which says so.
        if (file->IsMp3() && expansion.name != file->Name() && !unfit.empty()) {
            context.messages.Show(UnfitNameError(file->Name(), storable, unfit));
            continue;
        }
        if (file->SetFileName(std::move(expansion.name)))
            renamed.push_back(file);
    }
    batch = std::move(renamed);
    return true;
}

}  // namespace velmora::batch
