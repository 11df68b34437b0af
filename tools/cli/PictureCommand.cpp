#include <CLI/CLI.hpp>

#include <memory>
#include <optional>

#include "CliEnvironment.h"
#include "Command.h"
#include "FileArguments.h"
#include "Output.h"
#include "PictureFiles.h"
#include "edit/ActionNames.h"
#include "tags/id3v2/Id3v2Tag.h"
#include "tags/ops/PictureOps.h"
#include "tags/ops/PictureTypeNames.h"
#include "text/FileName.h"
#include "text/Utf8.h"

namespace velmora::cli {
namespace {

constexpr std::size_t kMaxDescription = 64;

struct PictureOptions {
    std::string type;  // a name of the picture type list or its number; empty: not given
    std::string description;
    std::string image;
    std::string output;
    std::string mp3;  // extract: the one file
    std::vector<std::string> files;
};

// The type byte the user named; nullopt (after a message) for an unknown name.
std::optional<std::uint8_t> ParsePictureType(const std::string& argument) {
    const std::u16string name = text::FromUtf8(argument);
    for (std::size_t i = 0; i < kPictureTypeNames.size(); ++i) {
        if (kPictureTypeNames[i] == name || std::to_string(i) == argument)
            return static_cast<std::uint8_t>(i);
    }
    Complain("--type: unknown picture type \"" + argument +
             "\" (a number 0 to 20 or a name such as \"Cover (front)\")");
    return std::nullopt;
}

int RunAdd(CliEnvironment& environment, const PictureOptions& options) {
    auto type = ParsePictureType(options.type.empty() ? "0" : options.type);
    if (!type)
        return kExitUsage;
    const std::u16string description = text::FromUtf8(options.description);
    if (description.size() > kMaxDescription) {
        Complain("--description: at most 64 characters");
        return kExitUsage;
    }
    int code = kExitOk;
    auto picture = ReadPictureFile(environment, options.image, code);
    if (!picture)
        return code;
    return ChangeEachFile(environment, edit::kPicturesAction, options.files, [&](Mp3File& record) {
        SetPicture(record.V2(), "image/" + picture->subtype, description, *type, picture->data,
                   environment.Context());
        return true;
    });
}

// The picture of the type, or without a type the first picture in frame order.
const Id3v2Frame* ChoosePicture(const Mp3File& record, std::optional<std::uint8_t> type) {
    if (type)
        return FindPicture(record.V2(), *type);
    for (const Id3v2Frame* frame = FindFrame(record.V2(), "APIC"); frame;
         frame = FindFrame(record.V2(), "APIC", frame)) {
        if (FindPicture(record.V2(), PictureType(*frame)) == frame)
            return frame;
    }
    return nullptr;
}

int RunExtract(CliEnvironment& environment, const PictureOptions& options) {
    std::optional<std::uint8_t> type;
    if (!options.type.empty() && !(type = ParsePictureType(options.type)))
        return kExitUsage;
    // Written over the song it comes from, the picture would be all that is left of it.
    if (EachFileOnce({options.mp3, options.output}).size() == 1) {
        Complain(options.output + ": is the MP3 the picture comes from; nothing written");
        return kExitUsage;
    }
    auto record = LoadFileArgument(environment, options.mp3, FileAccess::Read);
    if (!record)
        return kExitFailed;
    const Id3v2Frame* frame = ChoosePicture(*record, type);
    if (!frame) {
        Complain(options.mp3 + ": no such picture");
        return kExitFailed;
    }
    // Data that cannot be read from the file (gone, changed) writes no file at all.
    const FrameField* field = PictureDataField(*frame);
    const auto data = field ? record->FieldBytesOrReport(*field, environment.Messages())
                            : std::optional<std::vector<std::uint8_t>>(std::in_place);
    if (!data)
        return kExitFailed;
    return WritePictureFile(environment, options.output, *data);
}

void RemovePictures(Mp3File& record, std::optional<std::uint8_t> type) {
    if (type) {
        RemoveFrame(record.V2(), FindPicture(record.V2(), *type));
        return;
    }
    while (const Id3v2Frame* frame = FindFrame(record.V2(), "APIC"))
        RemoveFrame(record.V2(), frame);
}

int RunRemove(CliEnvironment& environment, const PictureOptions& options) {
    std::optional<std::uint8_t> type;
    if (!options.type.empty() && !(type = ParsePictureType(options.type)))
        return kExitUsage;
    return ChangeEachFile(environment, edit::kPicturesAction, options.files, [&](Mp3File& record) {
        RemovePictures(record, type);
        return true;
    });
}

using PictureRun = int (*)(CliEnvironment&, const PictureOptions&);

void OnChosen(CLI::App& command, CommandBody& chosen, std::shared_ptr<PictureOptions> options,
              PictureRun run) {
    command.callback([&chosen, options, run] {
        chosen = [options, run](CliEnvironment& environment) { return run(environment, *options); };
    });
}

}  // namespace

void AddPictureCommand(CLI::App& app, CommandBody& chosen) {
    auto* picture = app.add_subcommand("picture", "Add, extract or remove attached pictures");
    picture->require_subcommand(1);
    const std::string typeHelp = "Picture type: a number 0 to 20 or its name";

    auto add = std::make_shared<PictureOptions>();
    auto* addCommand = picture->add_subcommand(
        "add", "Attach a JPEG or PNG picture, replacing the picture of the same type");
    addCommand->add_option("IMAGE", add->image, "A .jpg, .jpeg or .png file")->required();
    addCommand->add_option("MP3", add->files, "MP3 files to change")->required();
    addCommand->add_option("--type", add->type, typeHelp + " (default 0, Other)");
    addCommand->add_option("--description", add->description, "At most 64 characters");
    OnChosen(*addCommand, chosen, add, RunAdd);

    auto extract = std::make_shared<PictureOptions>();
    auto* extractCommand =
        picture->add_subcommand("extract", "Write the data of a picture to a file");
    extractCommand->add_option("MP3", extract->mp3, "The MP3 file")->required();
    extractCommand->add_option("OUT", extract->output, "The file to write")->required();
    extractCommand->add_option("--type", extract->type, typeHelp + " (default: the first picture)");
    OnChosen(*extractCommand, chosen, extract, RunExtract);

    auto remove = std::make_shared<PictureOptions>();
    auto* removeCommand = picture->add_subcommand("remove", "Remove attached pictures");
    removeCommand->add_option("MP3", remove->files, "MP3 files to change")->required();
    removeCommand->add_option("--type", remove->type, typeHelp + " (default: every picture)");
    OnChosen(*removeCommand, chosen, remove, RunRemove);
}

}  // namespace velmora::cli
