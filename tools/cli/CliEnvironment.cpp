#include "CliEnvironment.h"

#include <iostream>

#include "scan/TagSettings.h"
#include "settings/ActiveCodePage.h"
#include "text/Utf8.h"

namespace velmora::cli {

namespace {

TagOptions RunTagOptions(const SettingsKey& settings, const GlobalOptions& options) {
    TagOptions tagOptions = ReadTagOptions(settings);
    if (options.v24 || options.v23)
        tagOptions.encoding.use24 = options.v24;
    static constexpr std::pair<const char*, std::uint32_t> kEncodings[] = {
        {"keep", 0}, {"utf16", 1}, {"utf16bom", 2}, {"utf8", 3}};
    for (const auto& [name, value] : kEncodings) {
        if (options.encoding == name)
            tagOptions.encoding.encoding = value;
    }
    return tagOptions;
}

}  // namespace

CliEnvironment::CliEnvironment(std::unique_ptr<SettingsStore> store,
                               std::unique_ptr<text::CodePage> codePage,
                               const GlobalOptions& options)
    : store_(std::move(store)),
      recurse_(store_->Root().Read(settings::kRecurse)),
      codePage_(std::move(codePage)),
      sink_(options.yes),
      context_{RunTagOptions(store_->Root(), options), *codePage_, sink_} {}

std::unique_ptr<CliEnvironment> CliEnvironment::Create(const GlobalOptions& options,
                                                       std::string& error, bool& refused) {
    const bool named = !options.settingsFile.empty();
    auto path = named ? std::filesystem::path(options.settingsFile) : SettingsStore::DefaultPath();
    auto opened = SettingsStore::Open(path, {.named = named, .readOnly = !options.writesSettings});
    if (!opened.store) {
        error = opened.error;
        refused = opened.refused;
        return nullptr;
    }
    if (!opened.notice.empty())
        std::cerr << "velmora-cli: " << text::ToUtf8(opened.notice) << '\n';
    ActiveCodePage codePage = ChooseCodePage(opened.store->Root());
    if (!codePage.notice.empty())
        std::cerr << "velmora-cli: " << text::ToUtf8(codePage.notice) << '\n';
    return std::unique_ptr<CliEnvironment>(
        new CliEnvironment(std::move(opened.store), std::move(codePage.codePage), options));
}

}  // namespace velmora::cli
