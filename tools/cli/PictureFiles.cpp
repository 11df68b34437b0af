#include "PictureFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "CliEnvironment.h"
#include "Command.h"
#include "FileArguments.h"
#include "Output.h"
#include "replace/RegularFile.h"
#include "replace/SafeReplace.h"
#include "text/Ascii.h"
#include "text/FileName.h"

namespace velmora::cli {
namespace {

constexpr std::uintmax_t kLargePicture = 3 * 1024 * 1024;

bool EndsWithNoCase(const std::string& name, std::string_view tail) {
    if (name.size() <= tail.size())
        return false;
    return std::equal(tail.begin(), tail.end(), name.end() - tail.size(),
                      [](char a, char b) { return a == text::AsciiLower(b); });
}

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

std::optional<std::string> PictureSubtypeOf(const std::string& path) {
    if (EndsWithNoCase(path, ".png"))
        return "png";
    if (EndsWithNoCase(path, ".jpg") || EndsWithNoCase(path, ".jpeg"))
        return "jpg";
    return std::nullopt;
}

std::optional<PictureFile> ReadPictureFile(CliEnvironment& environment, const std::string& path,
                                           int& exitCode) {
    auto subtype = PictureSubtypeOf(path);
    if (!subtype) {
        Say(environment, {u"File must be a JPG or PNG image!"}, false);
        exitCode = kExitUsage;
        return std::nullopt;
    }
    exitCode = kExitFailed;
    if (!CheckFileArgument(path, FileAccess::Read))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
    if (!in.is_open() || in.bad()) {
        Say(environment, {u"Error while reading file:", text::FileNameToText(path)}, true);
        return std::nullopt;
    }
    if (data.empty()) {
        Say(environment, {u"File is empty!"}, true);
        return std::nullopt;
    }
    if (data.size() > kLargePicture &&
        !Ask(environment, {u"Image size is greater than 3 MB.", u"Continue anyway?"})) {
        Complain("answered no (pass --yes to go on); nothing changed");
        exitCode = kExitOk;
        return std::nullopt;
    }
    return PictureFile{*subtype, std::move(data)};
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
        Say(environment, {u"Image is empty!"}, true);
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
