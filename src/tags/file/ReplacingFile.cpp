#include "tags/file/ReplacingFile.h"

#include <filesystem>

#include "replace/RegularFile.h"
#include "text/FileName.h"

namespace velmora {

bool ReplacingFile::Open(const std::u16string& target, CFileExceptionEx& error) {
    target_ = target;
    const std::string resolved = replace::FollowLinks(text::TextToFileName(target));
    struct stat existing {};
    std::error_code result = replace::CheckReplaceable(resolved, existing);
    if (!result) {
        const std::string name = std::filesystem::path(resolved).filename().native();
        result = replace_.Begin(resolved, replace::TemporaryPattern::NamedAfter(name),
                                existing.st_mode != 0 ? &existing : nullptr);
    }
    if (result) {
        error = CFileExceptionEx(result.value(), target);
        return false;
    }
    return file_.Open(text::FileNameToText(replace_.TemporaryPath()),
                      BufferedFile::kWrite | BufferedFile::kOpenExisting, error);
}

void ReplacingFile::Write(std::string_view bytes) {
    file_.Write(bytes.data(), bytes.size());
}

void ReplacingFile::Commit() {
    file_.Sync();
    file_.Close();
    if (const std::error_code error = replace_.Commit()) {
        throw CFileExceptionEx(error.value(), target_);
    }
}

}  // namespace velmora
