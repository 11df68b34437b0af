#include "XmlArguments.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <sstream>
#include <vector>

#include "Output.h"

namespace velmora::cli {
namespace {

struct FieldSwitch {
    const char* name;
    bool XmlExportOptions::*v2;
    bool XmlExportOptions::*v1;
};
constexpr FieldSwitch kFields[] = {
    {"artist", &XmlExportOptions::v2Artist, &XmlExportOptions::v1Artist},
    {"album", &XmlExportOptions::v2Album, &XmlExportOptions::v1Album},
    {"title", &XmlExportOptions::v2Title, &XmlExportOptions::v1Title},
    {"year", &XmlExportOptions::v2Year, &XmlExportOptions::v1Year},
    {"track", &XmlExportOptions::v2Track, &XmlExportOptions::v1Track},
    {"genre", &XmlExportOptions::v2Genre, &XmlExportOptions::v1Genre},
};

constexpr std::pair<const char*, XmlGrouping> kLevels[] = {{"list", XmlGrouping::List},
                                                           {"artist", XmlGrouping::Artist},
                                                           {"album", XmlGrouping::Album},
                                                           {"year", XmlGrouping::Year},
                                                           {"directory", XmlGrouping::Directory}};

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> items;
    std::istringstream in(text);
    for (std::string item; std::getline(in, item, ',');) {
        if (!item.empty())
            items.push_back(item);
    }
    return items;
}

// Which fields the list names; nothing after a message for an unknown name.
std::optional<std::vector<std::size_t>> ParseFields(const char* flag, const std::string& list) {
    std::vector<std::size_t> chosen;
    for (const std::string& name : SplitList(list)) {
        std::size_t i = 0;
        while (i < std::size(kFields) && name != kFields[i].name)
            ++i;
        if (i == std::size(kFields)) {
            Complain(std::string(flag) + ": unknown field \"" + name +
                     "\" (artist, album, title, year, track, genre)");
            return std::nullopt;
        }
        chosen.push_back(i);
    }
    return chosen;
}

std::optional<XmlStructure> ParseLevels(const std::string& list) {
    const auto names = SplitList(list);
    if (names.size() > XmlStructure::kLevelCount) {
        Complain("--levels: at most 4 levels");
        return std::nullopt;
    }
    XmlStructure structure;
    bool ended = false;
    for (std::size_t level = 0; level < names.size(); ++level) {
        const auto* found =
            std::find_if(std::begin(kLevels), std::end(kLevels),
                         [&](const auto& row) { return names[level] == row.first; });
        if (found == std::end(kLevels) || ended) {
            Complain(
                "--levels: \"" + names[level] +
                (ended ? "\" after list" : "\" is not list, artist, album, year or directory"));
            return std::nullopt;
        }
        structure.Select(level, found->second);
        ended = found->second == XmlGrouping::List;
    }
    if (!ended && names.size() < XmlStructure::kLevelCount)
        structure.Select(names.size(), XmlGrouping::List);
    return structure;
}

std::optional<XmlLocation> ParseLocation(const std::string& name) {
    if (name == "none")
        return XmlLocation::None;
    if (name == "name")
        return XmlLocation::FileName;
    if (name == "path")
        return XmlLocation::FullPath;
    return std::nullopt;
}

}  // namespace

void XmlArguments::AddTo(CLI::App& command) {
    command.add_option("--location", location, "XML: location of each file")
        ->check(CLI::IsMember({"none", "name", "path"}));
    command.add_flag("--duration", duration, "XML: write durations");
    command.add_flag("--bitrate", bitrate, "XML: write bitrates");
    command.add_flag("--vbr", vbr, "XML: write VBR flags");
    v2Option = command.add_option("--v2", v2Fields,
                                  "XML: ID3v2 fields, comma-separated (artist, album, title, "
                                  "year, track, genre; empty for none)");
    v1Option = command.add_option("--v1", v1Fields, "XML: ID3v1 fields, as --v2");
    command.add_flag("--keep-empty", keepEmpty, "XML: write fields that are empty");
    levelsOption = command.add_option("--levels", levels,
                                      "XML: grouping levels, comma-separated (artist, album, year, "
                                      "directory, ending with list), e.g. artist,album,list");
    command.add_flag(std::string(kSaveOptionsFlag), saveOptions,
                     "XML: store the options of this run for later runs and the window");
}

bool ParseXmlArguments(const XmlArguments& arguments, XmlOptionChanges& changes) {
    std::optional<std::vector<std::size_t>> v2, v1;
    std::optional<XmlStructure> structure;
    if (arguments.v2Option->count() > 0 && !(v2 = ParseFields("--v2", arguments.v2Fields)))
        return false;
    if (arguments.v1Option->count() > 0 && !(v1 = ParseFields("--v1", arguments.v1Fields)))
        return false;
    if (arguments.levelsOption->count() > 0 && !(structure = ParseLevels(arguments.levels)))
        return false;
    const auto location = ParseLocation(arguments.location);
    const bool info = arguments.duration || arguments.bitrate || arguments.vbr;
    changes = [=, a = arguments](XmlExportOptions& options) {
        if (location)
            options.SetLocation(*location);
        if (info) {
            options.mp3Duration = a.duration;
            options.mp3Bitrate = a.bitrate;
            options.mp3Vbr = a.vbr;
        }
        for (const auto& [chosen, member] :
             {std::pair{v2, &FieldSwitch::v2}, {v1, &FieldSwitch::v1}}) {
            if (!chosen)
                continue;
            for (std::size_t i = 0; i < std::size(kFields); ++i)
                options.*(kFields[i].*member) =
                    std::find(chosen->begin(), chosen->end(), i) != chosen->end();
        }
        if (a.keepEmpty)
            options.skipIfEmpty = false;
        if (structure)
            options.structure = *structure;
    };
    return true;
}

}  // namespace velmora::cli
