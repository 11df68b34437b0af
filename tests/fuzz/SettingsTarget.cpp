#include <tuple>

#include "fuzz/FuzzHarness.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

namespace velmora::fuzz {
namespace {

constexpr char kWrittenName[] = "FuzzWritten";

// What the program reads at start-up and from its dialogs, as typed reads see it.
auto Read(SettingsStore& store) {
    SettingsKey& root = store.Root();
    SettingsKey& xml = store.SubKey(settings::kXmlKey);
    std::uint32_t encoding = 0;
    std::uint32_t structure = 0;
    const bool hasEncoding = root.ReadNumber(settings::kEncoding.name, encoding);
    const bool hasStructure = xml.ReadNumber(settings::kStructure0, structure);
    auto values = std::make_tuple(
        root.Read(settings::kRecurse), root.Read(settings::kUse24), hasEncoding, encoding,
        root.ReadString(settings::kBrowseDir), root.ReadString(settings::kCodePage.name),
        root.ReadList(settings::kRegExps), root.ReadList(settings::kRenames),
        xml.ReadBool(settings::kV2Title, true), hasStructure, structure);
    Check(std::get<4>(values).size() <= 259 && std::get<5>(values).size() <= 259,
          "a string read longer than 259 characters");
    for (const auto* list : {&std::get<6>(values), &std::get<7>(values)}) {
        for (const std::u16string& entry : *list)
            Check(!entry.empty(), "a recent list gave an empty entry");
    }
    return values;
}

}  // namespace

void SettingsOpen(Input input) {
    const std::filesystem::path file = Scratch().Root() / "velmora" / "settings.toml";
    std::filesystem::remove_all(file.parent_path());
    std::filesystem::create_directories(file.parent_path());
    WriteScratchFile("velmora/settings.toml", input);

    const auto written = static_cast<std::uint32_t>(input.size());
    SettingsStore::OpenResult opened = SettingsStore::Open(file);
    Check(opened.store != nullptr, "a settings file in a writable folder did not open");
    const auto before = Read(*opened.store);
    opened.store->Root().WriteNumber(kWrittenName, written);
    opened.store.reset();

    SettingsStore::OpenResult reopened = SettingsStore::Open(file);
    Check(reopened.store != nullptr && reopened.notice.empty(),
          "the file the store wrote does not open cleanly");
    Check(Read(*reopened.store) == before, "one write changed other values");
    std::uint32_t readBack = 0;
    Check(reopened.store->Root().ReadNumber(kWrittenName, readBack) && readBack == written,
          "the value written does not read back");
}

}  // namespace velmora::fuzz
