#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzEnvironment.h"
#include "fuzz/FuzzTargets.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

namespace velmora::fuzz {
namespace {

constexpr char kWrittenName[] = "FuzzWritten";

// What the program reads at start-up and from its dialogs, as typed reads see it.
struct ReadValues {
    bool recurse = false;
    bool use24 = false;
    bool hasEncoding = false;
    std::uint32_t encoding = 0;
    std::u16string browseDir;
    std::u16string codePage;
    std::vector<std::u16string> regExps;
    std::vector<std::u16string> renames;
    bool v2Title = false;
    bool hasStructure = false;
    std::uint32_t structure0 = 0;

    friend bool operator==(const ReadValues&, const ReadValues&) = default;
};

ReadValues Read(SettingsStore& store) {
    ReadValues values;
    values.recurse = store.Root().Read(settings::kRecurse);
    values.use24 = store.Root().Read(settings::kUse24);
    values.hasEncoding = store.Root().ReadNumber(settings::kEncoding.name, values.encoding);
    values.browseDir = store.Root().ReadString(settings::kBrowseDir);
    values.codePage = store.Root().ReadString(settings::kCodePage.name);
    values.regExps = store.Root().ReadList(settings::kRegExps);
    values.renames = store.Root().ReadList(settings::kRenames);
    SettingsKey& xml = store.SubKey(settings::kXmlKey);
    values.v2Title = xml.ReadBool(settings::kV2Title, true);
    values.hasStructure = xml.ReadNumber(settings::kStructure0, values.structure0);
    Check(values.browseDir.size() <= 259 && values.codePage.size() <= 259,
          "a string read longer than 259 characters");
    for (const auto* list : {&values.regExps, &values.renames}) {
        for (const std::u16string& entry : *list)
            Check(!entry.empty(), "a recent list gave an empty entry");
    }
    return values;
}

std::unique_ptr<SettingsStore> OpenOrFail(const std::filesystem::path& file) {
    SettingsStore::OpenResult opened = SettingsStore::Open(file);
    Check(opened.store != nullptr, "a settings file in a writable folder did not open");
    return std::move(opened.store);
}

}  // namespace

void SettingsOpen(Input input) {
    const std::filesystem::path directory = Scratch().Root() / "velmora";
    std::filesystem::remove_all(directory);
    std::filesystem::create_directories(directory);
    const std::filesystem::path file = directory / "settings.toml";
    WriteScratchFile("velmora/settings.toml", input);

    const auto written = static_cast<std::uint32_t>(input.size());
    ReadValues before;
    {
        const std::unique_ptr<SettingsStore> store = OpenOrFail(file);
        before = Read(*store);
        store->Root().WriteNumber(kWrittenName, written);
    }
    SettingsStore::OpenResult reopened = SettingsStore::Open(file);
    Check(reopened.store != nullptr && reopened.notice.empty(),
          "the file the store wrote does not open cleanly");
    Check(Read(*reopened.store) == before, "one write changed other values");
    std::uint32_t readBack = 0;
    Check(reopened.store->Root().ReadNumber(kWrittenName, readBack) && readBack == written,
          "the value written does not read back");
}

}  // namespace velmora::fuzz
