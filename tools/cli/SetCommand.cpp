#include <CLI/CLI.hpp>

#include <algorithm>
#include <memory>
#include <optional>

#include "CliEnvironment.h"
#include "Command.h"
#include "FileArguments.h"
#include "Output.h"
#include "edit/ActionNames.h"
#include "tags/id3v1/GenreTable.h"
#include "tags/id3v1/Id3v1Record.h"
#include "tags/ops/CommentOps.h"
#include "tags/ops/FrameTextOps.h"
#include "text/Utf8.h"

namespace velmora::cli {
namespace {

// A text option and whether it was given (an empty text is a value too).
struct TextOption {
    std::string value;
    CLI::Option* option = nullptr;
    bool Given() const { return option->count() > 0; }
    std::u16string Text() const { return text::FromUtf8(value); }
};

// ID3v2 fields in the order the editor applies them.
struct V2Field {
    const char* flag;
    FrameId id;
    const char* help;
};
constexpr V2Field kV2Fields[] = {{"--album", "TALB", "Album (TALB)"},
                                 {"--artist", "TPE1", "Lead artist (TPE1)"},
                                 {"--year", "TYER", "Year (TYER, or TDRC in an ID3v2.4 tag)"},
                                 {"--title", "TIT2", "Title (TIT2)"},
                                 {"--track", "TRCK", "Track (TRCK)"},
                                 {"--genre", "TCON", "Genre (TCON; a genre name is stored as (n))"},
                                 {"--album-artist", "TPE2", "Album artist (TPE2)"},
                                 {"--disc", "TPOS", "Disc (TPOS), e.g. 1/2"},
                                 {"--composer", "TCOM", "Composer (TCOM)"}};

// ID3v1 texts with the lengths the tag holds.
struct V1Field {
    const char* flag;
    std::size_t index;
    std::size_t maxLength;
};
constexpr V1Field kV1Fields[] = {
    {"--v1-title", Id3v1Tag::kTitle, id3v1_width::kName},
    {"--v1-artist", Id3v1Tag::kArtist, id3v1_width::kName},
    {"--v1-album", Id3v1Tag::kAlbum, id3v1_width::kName},
    {"--v1-year", Id3v1Tag::kYear, id3v1_width::kYear},
    {"--v1-comment", Id3v1Tag::kComment, id3v1_width::kCommentWithoutTrack}};

struct SetOptions {
    std::vector<std::string> files;
    std::array<TextOption, std::size(kV2Fields)> v2;
    std::array<TextOption, std::size(kV1Fields)> v1;
    TextOption comment;
    TextOption v1Genre;
    unsigned v1Track = 0;
    CLI::Option* v1TrackOption = nullptr;
};

bool AnyGiven(const SetOptions& options) {
    auto given = [](const TextOption& option) { return option.Given(); };
    return std::any_of(options.v2.begin(), options.v2.end(), given) ||
           std::any_of(options.v1.begin(), options.v1.end(), given) || options.comment.Given() ||
           options.v1Genre.Given() || options.v1TrackOption->count() > 0;
}

// Checked before any file is touched.
bool Validate(const SetOptions& options, std::optional<std::uint8_t>& genre) {
    if (!AnyGiven(options)) {
        Complain("set: name at least one field to set");
        return false;
    }
    for (std::size_t i = 0; i < std::size(kV1Fields); ++i) {
        if (options.v1[i].Given() && options.v1[i].Text().size() > kV1Fields[i].maxLength) {
            Complain(std::string(kV1Fields[i].flag) + ": at most " +
                     std::to_string(kV1Fields[i].maxLength) + " characters");
            return false;
        }
    }
    if (options.v1Genre.Given()) {
        auto found = GenreTable::GenreIndex(options.v1Genre.Text());
        if (!found.found && !options.v1Genre.value.empty()) {
            Complain("--v1-genre: unknown genre \"" + options.v1Genre.value + "\"");
            return false;
        }
        genre = found.found ? found.index : GenreTable::kNoGenre;
    }
    return true;
}

void ApplyComment(Mp3File& record, const std::u16string& argument, const EngineContext& context) {
    const auto equals = argument.find(u'=');
    const std::u16string description =
        equals == std::u16string::npos ? std::u16string() : argument.substr(0, equals);
    const std::u16string text =
        equals == std::u16string::npos ? argument : argument.substr(equals + 1);
    SetCommentText(record.V2(), description, text, "eng", context);
}

bool Apply(Mp3File& record, const SetOptions& options, std::optional<std::uint8_t> genre,
           const EngineContext& context) {
    for (std::size_t i = 0; i < std::size(kV2Fields); ++i) {
        if (options.v2[i].Given())
            SetFrameText(record.V2(), kV2Fields[i].id, options.v2[i].Text(), context);
    }
    if (options.comment.Given())
        ApplyComment(record, options.comment.Text(), context);
    for (std::size_t i = 0; i < std::size(kV1Fields); ++i) {
        if (options.v1[i].Given())
            record.V1().SetText(kV1Fields[i].index, options.v1[i].Text());
    }
    if (options.v1TrackOption->count() > 0)
        record.V1().SetTrack(static_cast<std::uint8_t>(options.v1Track));
    if (genre)
        record.V1().SetGenre(*genre);
    return true;
}

int RunSet(CliEnvironment& environment, const SetOptions& options) {
    std::optional<std::uint8_t> genre;
    if (!Validate(options, genre))
        return kExitUsage;
    return ChangeEachFile(environment, edit::kEditTagsAction, options.files, [&](Mp3File& record) {
        return Apply(record, options, genre, environment.Context());
    });
}

void AddOptions(CLI::App& command, SetOptions& options) {
    for (std::size_t i = 0; i < std::size(kV2Fields); ++i)
        options.v2[i].option =
            command.add_option(kV2Fields[i].flag, options.v2[i].value, kV2Fields[i].help);
    options.comment.option = command.add_option(
        "--comment", options.comment.value,
        "[DESC=]TEXT: the comment with that description (empty without DESC=); a new one is "
        "added in English");
    for (std::size_t i = 0; i < std::size(kV1Fields); ++i)
        options.v1[i].option = command.add_option(
            kV1Fields[i].flag, options.v1[i].value,
            "ID3v1, at most " + std::to_string(kV1Fields[i].maxLength) + " characters");
    options.v1TrackOption =
        command.add_option("--v1-track", options.v1Track, "ID3v1 track number, 0 to 255")
            ->check(CLI::Range(0u, 255u));
    options.v1Genre.option = command.add_option("--v1-genre", options.v1Genre.value,
                                                "ID3v1 genre by name (empty: no genre)");
}

}  // namespace

void AddSetCommand(CLI::App& app, CommandBody& chosen) {
    auto options = std::make_shared<SetOptions>();
    auto* command = app.add_subcommand("set", "Set tag fields of files and save them at once");
    AddOptions(*command, *options);
    command->add_option("FILE", options->files, "MP3 files to change")->required();
    command->callback([&chosen, options] {
        chosen = [options](CliEnvironment& environment) { return RunSet(environment, *options); };
    });
}

}  // namespace velmora::cli
