#include "PictureFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "CliEnvironment.h"
#include "Command.h"
#include "FileArguments.h"
#include "Output.h"
#include "text/FileName.h"

namespace velmora::cli {
namespace {

constexpr std::uintmax_t kLargePicture = 3 * 1024 * 1024;

bool EndsWithNoCase(const std::string& text, std::string_view tail) {
    if (text.size() <= tail.size())
        return false;
    return std::equal(tail.begin(), tail.end(), text.end() - tail.size(), [](char a, char b) {
        return a == std::tolower(static_cast<unsigned char>(b));
    });
}

void Say(CliEnvironment& environment, std::u16string text, bool error) {
    environment.Messages().Show({std::move(text), error ? kErrorCaption : kAppCaption,
                                 error ? MessageIcon::Error : MessageIcon::Warning,
                                 MessageButtons::Ok});
}

bool Ask(CliEnvironment& environment, std::u16string question) {
    return environment.Messages().Show({std::move(question), kAppCaption, MessageIcon::Question,
                                        MessageButtons::YesNo}) == MessageAnswer::Yes;
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
        Say(environment, u"File must be a JPG or PNG image!", false);
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
        Say(environment, u"Error while reading file:\r\n" + text::FileNameToText(path), true);
        return std::nullopt;
    }
    if (data.empty()) {
        Say(environment, u"File is empty!", true);
        return std::nullopt;
    }
    if (data.size() > kLargePicture &&
        !Ask(environment, u"Image size is greater than 3 MB.\r\nContinue anyway?")) {
        Complain("answered no (pass --yes to go on); nothing changed");
        exitCode = kExitOk;
        return std::nullopt;
    }
    return PictureFile{*subtype, std::move(data)};
}

int WritePictureFile(CliEnvironment& environment, const std::string& path,
                     const std::vector<std::uint8_t>& data) {
    if (data.empty()) {
        Say(environment, u"Image is empty!", true);
        return kExitFailed;
    }
    struct stat info {};
    if (stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            Say(environment, u"Couldn't open file:\r\n" + text::FileNameToText(path), true);
            return kExitFailed;
        }
        if (!Ask(environment, text::FileNameToText(path) + u" already exists.\r\nReplace it?")) {
            Complain("answered no (pass --yes to replace); nothing written");
            return kExitOk;
        }
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        Say(environment, u"Couldn't open file:\r\n" + text::FileNameToText(path), true);
        return kExitFailed;
    }
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
    out.close();
    if (!out) {
        Say(environment, u"Error while writing file:\r\n" + text::FileNameToText(path), true);
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace velmora::cli
