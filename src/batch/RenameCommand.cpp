#include "batch/RenameCommand.h"

#include <cerrno>
#include <map>

#include "common/Messages.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "tags/EngineContext.h"
#include "tags/Mp3File.h"
#include "tags/SafeRename.h"

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

Message HiddenNameError(const std::u16string& oldName, const std::u16string& newName) {
    return ErrorMessage(MessageKind::RenameFailed, {oldName, newName}, {},
                        u"the new name would be empty or start with a dot");
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

}  // namespace

std::vector<RenamePreview> PreviewRename(const RenamePattern& pattern,
                                         const std::vector<Mp3File*>& batch,
                                         const text::CodePage& codePage) {
    std::vector<RenamePreview> previews;
    previews.reserve(batch.size());
    NamesTaken taken;
    for (const Mp3File* file : batch) {
        std::u16string expanded = pattern.Expand(file->V2(), codePage);
        RenamePreview preview;
        preview.changes = expanded != file->Name();
        preview.newName = Mp3File::StorableName(std::move(expanded));
        if (preview.changes && preview.newName != file->DiskName()) {
            const bool hidden = IsHiddenName(preview.newName);
            const int error = hidden ? 0 : taken.Error(*file, preview.newName);
            if (!file->IsMp3())
                preview.refusal = ErrorMessage(MessageKind::NotAnMp3, {file->DiskPath()});
            else if (hidden)
                preview.refusal = HiddenNameError(file->Name(), preview.newName);
            else if (error != 0)
                preview.refusal = ErrorMessage(MessageKind::RenameFailed,
                                               {file->Name(), preview.newName}, SystemError(error));
            else
                taken.Renamed(*file, preview.newName);
        }
        previews.push_back(std::move(preview));
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
        std::u16string expanded = pattern->Expand(file->V2(), context.codePage);
        const std::u16string storable = Mp3File::StorableName(expanded);
        // A file that is not an MP3 is refused by the save, which says so.
        if (file->IsMp3() && expanded != file->Name() && IsHiddenName(storable)) {
            context.messages.Show(HiddenNameError(file->Name(), storable));
            continue;
        }
        if (file->SetFileName(std::move(expanded)))
            renamed.push_back(file);
    }
    batch = std::move(renamed);
    return true;
}

}  // namespace velmora::batch
