#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "SettingsFixture.h"
#include "settings/SettingNames.h"

namespace velmora {
namespace {

namespace names = settings;
using testing::SettingsFixture;

class SettingsConcurrency : public testing::SettingsFixture {};

constexpr int kWriters = 4;
constexpr int kWritesEach = 20;

std::string Name(int writer, int index) {
    return "W" + std::to_string(writer) + "N" + std::to_string(index);
}

// Each child process opens its own store on the same file and writes values nobody else
// writes, plus entries of one shared list; all start when the parent closes the pipe.
TEST_F(SettingsConcurrency, ProcessesWritingAtOnceKeepEachOthersValues) {
    ASSERT_NE(OpenStore(), nullptr);  // the file exists before the race starts
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    std::vector<pid_t> children;
    for (int writer = 0; writer < kWriters; ++writer) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(start[1]);
            char byte;
            (void)::read(start[0], &byte, 1);
            const auto store = SettingsStore::Open(file_).store;
            for (int index = 0; store && index < kWritesEach; ++index) {
                const std::string name = Name(writer, index);
                store->WriteNumber(name, static_cast<std::uint32_t>(index));
                store->AddToList(names::kRegExps, std::u16string(name.begin(), name.end()));
            }
            ::_exit(store ? 0 : 1);
        }
        children.push_back(child);
    }
    ::close(start[0]);
    ::close(start[1]);
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const auto store = OpenStore();
    const std::vector<std::u16string> list = store->ReadList(names::kRegExps);
    EXPECT_EQ(list.size(), std::size_t{kWriters * kWritesEach});
    for (int writer = 0; writer < kWriters; ++writer) {
        for (int index = 0; index < kWritesEach; ++index) {
            const std::string name = Name(writer, index);
            std::uint32_t number = 999;
            EXPECT_TRUE(store->ReadNumber(name, number)) << name;
            EXPECT_EQ(number, static_cast<std::uint32_t>(index));
            EXPECT_EQ(
                std::count(list.begin(), list.end(), std::u16string(name.begin(), name.end())), 1);
        }
    }
}

// The loader thread reads while the interface thread writes.
TEST_F(SettingsConcurrency, OneStoreReadFromOneThreadWrittenFromAnother) {
    auto store = OpenStore();
    std::atomic<bool> done{false};
    std::thread reader([&] {
        for (std::uint32_t encoding = 0; !done;) {
            EXPECT_LE(store->ReadNumber(names::kEncoding, encoding) ? encoding : 0, 3u);
            EXPECT_LE(store->ReadList(names::kRegExps).size(), 26u);
            (void)store->SubKey(names::kXmlKey).ReadBool(names::kV2Title, true);
        }
    });
    for (std::uint32_t i = 0; i < 40; ++i) {
        store->WriteNumber(names::kEncoding, i % 4);
        store->AddToList(names::kRegExps,
                         u"e" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)));
        store->SubKey(names::kXmlKey).WriteBool(names::kV2Title, i % 2 == 0);
    }
    done = true;
    reader.join();
    EXPECT_EQ(store->ReadList(names::kRegExps).size(), 26u);
}

}  // namespace
}  // namespace velmora
