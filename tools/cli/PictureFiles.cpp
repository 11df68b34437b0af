#include "PictureFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "CliEnvironment.h"
#include "Command.h"
#include "FileArguments.h"
#include "Output.h"
#include "edit/PictureFiles.h"
#include "replace/RegularFile.h"
#include "replace/SafeReplace.h"
#include "text/FileName.h"

namespace velmora::cli {
namespace {

void Say(CliEnvironment& environment, std::vector<std::u16string> lines, bool error) {
    environment.Messages().Show(NoteMessage(std::move(lines), error ? kErrorCaption : kAppCaption,
                                            error ? MessageIcon::Error : MessageIcon::Warning));
}

bool Ask(CliEnvironment& environment, std::vector<std::u16string> lines) {
    return environment.Messages().Show(NoteMessage(std::move(lines), kAppCaption,
                                                   MessageIcon::Question, MessageButtons::YesNo)) ==
           MessageAnswer::Yes;
}

}  // namespace

std::optional<PictureFile> ReadPictureFile(CliEnvironment& environment, const std::string& path,
                                           int& exitCode) {
    exitCode = kExitFailed;
    if (!CheckFileArgument(path, FileAccess::Read))
        return std::nullopt;
    const std::u16string name = text::FileNameToText(path);
    edit::PictureRead read = edit::ReadPicture(name, false);
    if (read.refusal == edit::PictureRefusal::Large && !read.picture) {
        if (!Ask(environment, edit::RefusalLines(read.refusal, name))) {
            Complain("answered no (pass --yes to go on); nothing changed");
            exitCode = kExitOk;
            return std::nullopt;
        }
        read = edit::ReadPicture(name, true);
    }
    if (!read.picture) {
        const bool notAPicture = read.refusal == edit::PictureRefusal::NotJpgOrPng;
        Say(environment, edit::RefusalLines(read.refusal, name), !notAPicture);
        if (notAPicture)
            exitCode = kExitUsage;
        return std::nullopt;
    }
    return PictureFile{std::move(read.picture->subtype), std::move(read.picture->data)};
}

namespace {

// The target as `set` treats a file it would change: a folder cannot be opened, anything
// else that is not a regular file is refused (a FIFO would block), and a file without
// write permission is left alone. Replacing asks first.
std::optional<int> RefuseTarget(CliEnvironment& environment, const std::string& path,
                                const std::string& target, struct stat& existing) {
    const std::error_code problem = replace::CheckReplaceable(target, existing);
    if (problem.value() == EISDIR ||
        (problem && problem.value() != EACCES && problem.value() != replace::kNotRegularFile)) {
        Say(environment, {u"Couldn't open file:", text::FileNameToText(path)}, true);
        return kExitFailed;
    }
    if (problem.value() == replace::kNotRegularFile) {
        Complain(path + ": is not a regular file; nothing written");
        return kExitFailed;
    }
    if (problem) {
        Complain(path + ": is read-only; nothing written");
        return kExitFailed;
    }
    if (existing.st_mode != 0 &&
        !Ask(environment, {text::FileNameToText(path) + u" already exists.", u"Replace it?"})) {
        Complain("answered no (pass --yes to replace); nothing written");
        return kExitOk;
    }
    return std::nullopt;
}

}  // namespace

int WritePictureFile(CliEnvironment& environment, const std::string& path,
                     const std::vector<std::uint8_t>& data) {
    if (data.empty()) {
        Say(environment, {edit::kImageIsEmpty}, true);
        return kExitFailed;
    }
    // A link is followed: the file it leads to is replaced and the link stays.
    const std::string target = replace::FollowLinks(path);
    struct stat existing {};
    if (const auto refused = RefuseTarget(environment, path, target, existing))
        return *refused;
    // Written beside the target and renamed over it, so a full disk or an interrupt leaves
    // the old file (or none) and never a cut picture.
    replace::SafeReplace replacement;
    const auto pattern =
        replace::TemporaryPattern::NamedAfter(std::filesystem::path(target).filename().native());
    if (replacement.Begin(target, pattern, existing.st_mode != 0 ? &existing : nullptr)) {
        Say(environment, {u"Couldn't open file:", text::FileNameToText(path)}, true);
        return kExitFailed;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(data.data()), data.size());
    if (replacement.Write(bytes) || replacement.Commit()) {
        Say(environment, {u"Error while writing file:", text::FileNameToText(path)}, true);
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace velmora::cli
