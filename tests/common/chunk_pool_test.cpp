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

TEST(ChunkPool, SlotsChunksAndTheirReturn) {
    ChunkPool<Item, 4> pool;
    std::vector<void*> first;
    for (int i = 0; i < 4; ++i) {
        first.push_back(pool.Allocate());
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(first.back()) % alignof(Item), 0u);
    }
    EXPECT_EQ(first[3], static_cast<char*>(first[0]) + 3 * sizeof(Item));
    void* fifth = pool.Allocate();
    EXPECT_EQ(pool.ChunkCount(), 2u);
    // A slot freed in an older chunk is not taken while the current one has room.
    ASSERT_TRUE(pool.TryFree(first[1]));
    void* sixth = pool.Allocate();
    EXPECT_EQ(sixth, static_cast<char*>(fifth) + sizeof(Item));
    // The first free slot of the current chunk is taken, not the last one freed.
    void* seventh = pool.Allocate();
    ASSERT_TRUE(pool.TryFree(fifth));
    ASSERT_TRUE(pool.TryFree(sixth));
    EXPECT_EQ(pool.Allocate(), fifth);
    Item onStack{};
    EXPECT_FALSE(pool.TryFree(&onStack));
    EXPECT_EQ(pool.UsedCount(), 5u);
    for (void* slot : {first[0], first[2], first[3]})
        ASSERT_TRUE(pool.TryFree(slot));
    EXPECT_EQ(pool.ChunkCount(), 1u);  // the emptied chunk is kept aside
    ASSERT_TRUE(pool.TryFree(fifth));
    ASSERT_TRUE(pool.TryFree(seventh));
    EXPECT_EQ(pool.ChunkCount(), 0u);  // the second emptied chunk went back
    // The next object (the next file of a command) takes the kept chunk from its start,
    // instead of mapping a new one.
    EXPECT_EQ(pool.Allocate(), first[0]);
    ASSERT_TRUE(pool.TryFree(first[0]));
}

TEST(ChunkPool, TwoThreadsAllocateAndFreeWithoutSharingASlot) {
    ChunkPool<Item, 64> pool;
    auto work = [&pool](std::uint64_t owner) {
        for (int round = 0; round < 50; ++round) {
            std::vector<Item*> items;
            for (std::uint64_t i = 0; i < 300; ++i)
                items.push_back(new (pool.Allocate()) Item{owner, i});
            // Every other one first, then the rest, so chunks empty at different times.
            for (std::size_t pass = 0; pass < 2; ++pass) {
                for (std::size_t i = pass; i < items.size(); i += 2) {
                    EXPECT_EQ(std::pair(items[i]->owner, items[i]->index), std::pair(owner, i));
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
    for (int i = 0; i < 20; ++i)
        objects.push_back(std::make_unique<Pooled>());
    objects.push_back(std::make_unique<BiggerPooled>());
    EXPECT_EQ(pool.UsedCount(), 20u);
    objects.clear();
    EXPECT_EQ(pool.UsedCount(), 0u);
    EXPECT_EQ(pool.ChunkCount(), 0u);
}

}  // namespace
}  // namespace velmora
