#include "batch/RenameCommand.h"

#include <cerrno>
#include <map>

#include "common/Messages.h"
#include "common/SystemReason.h"

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

// Which names the renames so far took (true) or left (false), by path; other names are as the disk
// has them.
class NamesTaken {
  public:
    std::u16string Refusal(const Mp3File& file, const std::u16string& newName) const {
        const auto known = changed_.find(PathOf(file.Directory(), newName));
        if (known != changed_.end())
            return known->second ? SystemReasonText(EEXIST) : std::u16string();
        const int error = ForeseenRenameError(file.Directory(), file.DiskName(), newName);
        return error == 0 ? std::u16string() : SystemReasonText(error);
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
        std::u16string expanded = pattern.Expand(*file, codePage);
        RenamePreview preview;
        preview.changes = expanded != file->Name();
        preview.newName = Mp3File::StorableName(std::move(expanded));
        if (preview.changes && preview.newName != file->DiskName()) {
            const std::u16string reason = IsHiddenName(preview.newName)
                                              ? kHiddenNameReason
                                              : taken.Refusal(*file, preview.newName);
            if (!file->IsMp3())
                preview.refusal = NotAnMp3Text(file->DiskPath());
            else if (!reason.empty())
                preview.refusal = RenameFailedText(file->Name(), preview.newName, reason);
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
        std::u16string expanded = pattern->Expand(*file, context.codePage);
        const std::u16string storable = Mp3File::StorableName(expanded);
        // A file that is not an MP3 is refused by the save, which says so.
        if (file->IsMp3() && expanded != file->Name() && IsHiddenName(storable)) {
            ShowError(context.messages,
                      RenameFailedText(file->Name(), storable, kHiddenNameReason));
            continue;
        }
        if (file->SetFileName(std::move(expanded)))
            renamed.push_back(file);
    }
    batch = std::move(renamed);
    return true;
}

}  // namespace velmora::batch
