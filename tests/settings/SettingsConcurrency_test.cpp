#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

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

constexpr int kWriters = 4;
constexpr int kWritesEach = 20;

std::string ValueName(int writer, int index) {
    return "W" + std::to_string(writer) + "N" + std::to_string(index);
}
std::u16string Entry(int writer, int index) {
    const std::string text = "w" + std::to_string(writer) + " e" + std::to_string(index);
    return {text.begin(), text.end()};
}

// Each writer opens its own store on the same file and writes values nobody else writes,
// plus entries of one shared list.
void WriteOwnValues(const std::filesystem::path& file, int writer) {
    SettingsStore::OpenResult opened = SettingsStore::Open(file);
    if (!opened.store) {
        return;
    }
    for (int index = 0; index < kWritesEach; ++index) {
        opened.store->WriteNumber(ValueName(writer, index), static_cast<std::uint32_t>(index));
        opened.store->AddToList(names::kRegExps, Entry(writer, index));
    }
}

class SettingsConcurrency : public SettingsFixture {
  protected:
    void ExpectEveryWriteSurvived() {
        auto store = OpenStore();
        const std::vector<std::u16string> list = store->ReadList(names::kRegExps);
        EXPECT_EQ(list.size(), std::size_t{kWriters * kWritesEach});
        for (int writer = 0; writer < kWriters; ++writer) {
            for (int index = 0; index < kWritesEach; ++index) {
                std::uint32_t number = 999;
                EXPECT_TRUE(store->ReadNumber(ValueName(writer, index), number))
                    << ValueName(writer, index);
                EXPECT_EQ(number, static_cast<std::uint32_t>(index));
                EXPECT_NE(std::find(list.begin(), list.end(), Entry(writer, index)), list.end());
            }
        }
    }
};

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
            // Released together when the parent closes its end.
            (void)::read(start[0], &byte, 1);
            WriteOwnValues(file_, writer);
            ::_exit(0);
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
    ExpectEveryWriteSurvived();
}

TEST_F(SettingsConcurrency, StoresInThreadsWritingAtOnceKeepEachOthersValues) {
    ASSERT_NE(OpenStore(), nullptr);
    std::vector<std::thread> threads;
    for (int writer = 0; writer < kWriters; ++writer) {
        threads.emplace_back(WriteOwnValues, file_, writer);
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    ExpectEveryWriteSurvived();
}

TEST_F(SettingsConcurrency, WriteSeesValuesAnotherStoreWrote) {
    auto first = OpenStore();
    auto second = OpenStore();
    first->WriteBool(names::kUse24, true);
    second->WriteNumber(names::kEncoding, 3);
    EXPECT_TRUE(second->ReadBool(names::kUse24, false));
    std::uint32_t encoding = 0;
    EXPECT_FALSE(first->ReadNumber(names::kEncoding, encoding));  // memory until it writes
    first->AddToList(names::kRenames, u"x");
    EXPECT_TRUE(first->ReadNumber(names::kEncoding, encoding));
    EXPECT_EQ(encoding, 3u);
}

TEST_F(SettingsConcurrency, OneStoreReadFromOneThreadWrittenFromAnother) {
    auto store = OpenStore();
    std::atomic<bool> done{false};
    std::thread reader([&] {
        while (!done) {
            std::uint32_t encoding = 0;
            if (store->ReadNumber(names::kEncoding, encoding)) {
                EXPECT_LE(encoding, 3u);
            }
            (void)store->ReadList(names::kRegExps);
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
