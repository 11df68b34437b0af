#include <array>
#include <cstdint>

#include "export/XmlExportOptions.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

namespace velmora {

namespace {

struct Switch {
    const char* name;
    bool XmlExportOptions::*member;
};

// Each boolean value of the sub-key XML and the option it holds.
constexpr std::array<Switch, 18> kSwitches = {{
    {settings::kV2Title, &XmlExportOptions::v2Title},
    {settings::kV2Album, &XmlExportOptions::v2Album},
    {settings::kV2Artist, &XmlExportOptions::v2Artist},
    {settings::kV2Genre, &XmlExportOptions::v2Genre},
    {settings::kV2Year, &XmlExportOptions::v2Year},
    {settings::kV2Track, &XmlExportOptions::v2Track},
    {settings::kV1Title, &XmlExportOptions::v1Title},
    {settings::kV1Album, &XmlExportOptions::v1Album},
    {settings::kV1Artist, &XmlExportOptions::v1Artist},
    {settings::kV1Genre, &XmlExportOptions::v1Genre},
    {settings::kV1Year, &XmlExportOptions::v1Year},
    {settings::kV1Track, &XmlExportOptions::v1Track},
    {settings::kFileName, &XmlExportOptions::fileName},
    {settings::kFullPath, &XmlExportOptions::fullPath},
    {settings::kMp3Duration, &XmlExportOptions::mp3Duration},
    {settings::kMp3Bitrate, &XmlExportOptions::mp3Bitrate},
    {settings::kMp3Vbr, &XmlExportOptions::mp3Vbr},
    {settings::kSkipIfEmpty, &XmlExportOptions::skipIfEmpty},
}};

constexpr std::array<const char*, XmlStructure::kLevelCount> kStructureNames = {
    settings::kStructure0, settings::kStructure1, settings::kStructure2, settings::kStructure3};

}  // namespace

XmlExportOptions LoadXmlExportOptions(const SettingsKey& xmlKey) {
    XmlExportOptions options;
    for (const Switch& s : kSwitches) {
        options.*s.member = xmlKey.ReadBool(s.name, options.*s.member);
    }
    std::array<std::uint32_t, XmlStructure::kLevelCount> stored{};
    for (std::size_t level = 0; level < stored.size(); ++level) {
        xmlKey.ReadNumber(kStructureNames[level], stored[level]);
    }
    options.structure = XmlStructure::FromStored(stored);
    return options;
}

void SaveXmlExportOptions(const XmlExportOptions& options, SettingsKey& xmlKey) {
    for (const Switch& s : kSwitches) {
        xmlKey.WriteBool(s.name, options.*s.member);
    }
    const auto stored = options.structure.ToStored();
    for (std::size_t level = 0; level < stored.size(); ++level) {
        xmlKey.WriteNumber(kStructureNames[level], stored[level]);
    }
}

}  // namespace velmora
