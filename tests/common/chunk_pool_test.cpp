#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "common/ChunkPool.h"
#include "common/ChunkPoolAllocated.h"

namespace velmora {
namespace {

struct alignas(64) Item {
    std::uint64_t owner;
    std::uint64_t index;
};

TEST(ChunkPool, TwoThreadsAllocateAndFreeWithoutSharingASlot) {
    ChunkPool<Item, 64> pool;
    auto work = [&pool](std::uint64_t owner) {
        for (int round = 0; round < 50; ++round) {
            std::vector<Item*> items;
            for (std::uint64_t i = 0; i < 300; ++i) {
                items.push_back(new (pool.Allocate()) Item{owner, i});
            }
            // Every other one first, then the rest, so chunks empty at different times.
            for (std::size_t pass = 0; pass < 2; ++pass) {
                for (std::size_t i = pass; i < items.size(); i += 2) {
                    EXPECT_EQ(items[i]->owner, owner);
                    EXPECT_EQ(items[i]->index, i);
                    EXPECT_TRUE(pool.TryFree(items[i]));
                }
            }
        }
    };
    std::thread other(work, 2);
    work(1);
    other.join();
    EXPECT_EQ(pool.UsedCount(), 0u);
    EXPECT_EQ(pool.ChunkCount(), 0u);
}

class Pooled : public ChunkPoolAllocated<Pooled, 16> {
  public:
    virtual ~Pooled() = default;
};

struct BiggerPooled : Pooled {
    char extra[64] = {};
};

// A derived class of another size must use the heap, and go back there through the base.
TEST(ChunkPoolAllocated, NewAndDeleteUseTheClassPoolForTheClassItself) {
    auto& pool = Pooled::ClassPool();
    std::vector<std::unique_ptr<Pooled>> objects;
    for (int i = 0; i < 20; ++i) {
        objects.push_back(std::make_unique<Pooled>());
    }
    objects.push_back(std::make_unique<BiggerPooled>());
    EXPECT_EQ(pool.UsedCount(), 20u);
    objects.clear();
    EXPECT_EQ(pool.UsedCount(), 0u);
    EXPECT_EQ(pool.ChunkCount(), 0u);
}

}  // namespace
}  // namespace velmora
