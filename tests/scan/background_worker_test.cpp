#include "scan/BackgroundWorker.h"

#include <gtest/gtest.h>

#include <future>

namespace velmora {
namespace {

TEST(BackgroundWorker, RunsOneBodyAtATimeAndClearsTheFlagAtItsEnd) {
    BackgroundWorker worker;
    EXPECT_FALSE(worker.IsRunning());
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    int runs = 0;
    ASSERT_TRUE(worker.Start([&] {
        released.wait();
        ++runs;
    }));
    EXPECT_TRUE(worker.IsRunning());
    EXPECT_FALSE(worker.Start([&] { ++runs; }));
    release.set_value();
    worker.Join();
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace velmora
