// Cost of one settings read (served from memory) and of one write (merge, fsync, rename).
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

namespace {

template <typename Step>
double NanosecondsEach(int count, Step step) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) {
        step(i);
    }
    const std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / count;
}

}  // namespace

int main() {
    namespace fs = std::filesystem;
    std::string folder = (fs::temp_directory_path() / "velmora-bench-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        return 1;
    }
    auto opened = velmora::SettingsStore::Open(fs::path(folder) / "settings.toml");
    if (!opened.store) {
        std::fprintf(stderr, "%s\n", opened.error.c_str());
        return 1;
    }
    velmora::SettingsStore& store = *opened.store;
    namespace names = velmora::settings;
    store.Root().Write(names::kUse24, true);
    for (int i = 0; i < 30; ++i) {
        store.Root().WriteNumber("Filler" + std::to_string(i), static_cast<std::uint32_t>(i));
    }

    volatile bool sink = false;
    const double read =
        NanosecondsEach(5'000'000, [&](int) { sink = store.Root().Read(names::kUse24); });
    const double absent =
        NanosecondsEach(5'000'000, [&](int) { sink = store.Root().Read(names::kAutoDeleteV1); });
    const double write = NanosecondsEach(200, [&](int i) {
        store.Root().WriteNumber(names::kEncoding.name, static_cast<std::uint32_t>(i % 4));
    });
    std::printf("ReadBool (present): %.1f ns\nReadBool (absent):  %.1f ns\n", read, absent);
    std::printf("WriteNumber:        %.1f us\n", write / 1000);
    fs::remove_all(folder);
    return 0;
}
