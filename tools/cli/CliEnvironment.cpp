#include "CliEnvironment.h"

#include <iostream>

#include "settings/ActiveCodePage.h"
#include "text/Utf8.h"

namespace velmora::cli {

CliEnvironment::CliEnvironment(std::unique_ptr<SettingsStore> store,
                               std::unique_ptr<text::CodePage> codePage, bool answerYes)
    : store_(std::move(store)),
      overlay_(*store_),
      codePage_(std::move(codePage)),
      sink_(answerYes),
      context_{overlay_, *codePage_, sink_} {}

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
    ActiveCodePage codePage = ChooseCodePage(*opened.store);
    if (!codePage.notice.empty())
        std::cerr << "velmora-cli: " << text::ToUtf8(codePage.notice) << '\n';
    std::unique_ptr<CliEnvironment> env(
        new CliEnvironment(std::move(opened.store), std::move(codePage.codePage), options.yes));
    if (options.v24)
        env->overlay_.OverrideUse24(true);
    if (options.v23)
        env->overlay_.OverrideUse24(false);
    static constexpr std::pair<const char*, std::uint32_t> kEncodings[] = {
        {"keep", 0}, {"utf16", 1}, {"utf16bom", 2}, {"utf8", 3}};
    for (const auto& [name, value] : kEncodings) {
        if (options.encoding == name)
            env->overlay_.OverrideEncoding(value);
    }
    return env;
}

}  // namespace velmora::cli
