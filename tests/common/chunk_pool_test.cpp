#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <set>
#include <thread>
#include <vector>

#include "common/ChunkPool.h"
#include "common/ChunkPoolAllocated.h"

namespace velmora {
namespace {

struct Item {
    std::uint64_t owner;
    std::uint64_t index;
    char padding[40];
};

using SmallPool = ChunkPool<Item, 4>;

std::uintptr_t Address(const void* p) {
    return reinterpret_cast<std::uintptr_t>(p);
}

TEST(ChunkPool, HandsOutConsecutiveSlotsOfOneChunk) {
    SmallPool pool;
    std::vector<void*> slots;
    for (int i = 0; i < 4; ++i) {
        slots.push_back(pool.Allocate());
    }
    EXPECT_EQ(pool.ChunkCount(), 1u);
    EXPECT_EQ(pool.UsedCount(), 4u);
    for (std::size_t i = 1; i < slots.size(); ++i) {
        EXPECT_EQ(Address(slots[i]) - Address(slots[i - 1]), sizeof(Item));
    }
    for (void* slot : slots) {
        EXPECT_TRUE(pool.TryFree(slot));
    }
}

TEST(ChunkPool, ReusesTheFirstFreeSlotOfTheCurrentChunk) {
    SmallPool pool;
    void* a = pool.Allocate();
    void* b = pool.Allocate();
    void* c = pool.Allocate();
    ASSERT_TRUE(pool.TryFree(b));
    ASSERT_TRUE(pool.TryFree(a));
    EXPECT_EQ(pool.Allocate(), a);
    EXPECT_EQ(pool.Allocate(), b);
    EXPECT_EQ(pool.UsedCount(), 3u);
    for (void* slot : {a, b, c}) {
        pool.TryFree(slot);
    }
}

TEST(ChunkPool, StartsANewChunkWhenTheCurrentOneIsFull) {
    SmallPool pool;
    std::vector<void*> first;
    for (int i = 0; i < 4; ++i) {
        first.push_back(pool.Allocate());
    }
    void* fifth = pool.Allocate();
    EXPECT_EQ(pool.ChunkCount(), 2u);
    // A slot freed in an older chunk is not taken while the current one has room.
    ASSERT_TRUE(pool.TryFree(first[1]));
    void* sixth = pool.Allocate();
    EXPECT_EQ(Address(sixth) - Address(fifth), sizeof(Item));
    EXPECT_EQ(pool.ChunkCount(), 2u);
    for (void* slot : {first[0], first[2], first[3], fifth, sixth}) {
        pool.TryFree(slot);
    }
}

TEST(ChunkPool, ReturnsAChunkWhenItsLastSlotIsFreed) {
    SmallPool pool;
    std::vector<void*> first;
    for (int i = 0; i < 4; ++i) {
        first.push_back(pool.Allocate());
    }
    void* second = pool.Allocate();
    for (void* slot : first) {
        ASSERT_TRUE(pool.TryFree(slot));
    }
    EXPECT_EQ(pool.ChunkCount(), 1u);
    ASSERT_TRUE(pool.TryFree(second));
    EXPECT_EQ(pool.ChunkCount(), 0u);
    EXPECT_EQ(pool.UsedCount(), 0u);
    // The current chunk is gone; the next allocation maps a new one.
    void* again = pool.Allocate();
    EXPECT_EQ(pool.ChunkCount(), 1u);
    pool.TryFree(again);
}

TEST(ChunkPool, RefusesMemoryItDidNotHandOut) {
    SmallPool pool;
    void* slot = pool.Allocate();
    Item onStack{};
    auto onHeap = std::make_unique<Item>();
    EXPECT_FALSE(pool.TryFree(&onStack));
    EXPECT_FALSE(pool.TryFree(onHeap.get()));
    EXPECT_EQ(pool.UsedCount(), 1u);
    pool.TryFree(slot);
}

TEST(ChunkPool, SlotsAreAlignedForTheirType) {
    struct alignas(64) Wide {
        char bytes[100];
    };
    ChunkPool<Wide, 8> pool;
    std::vector<void*> slots;
    for (int i = 0; i < 8; ++i) {
        slots.push_back(pool.Allocate());
        EXPECT_EQ(Address(slots.back()) % 64, 0u);
    }
    for (void* slot : slots) {
        pool.TryFree(slot);
    }
}

TEST(ChunkPool, TwoThreadsAllocateAndFreeWithoutSharingASlot) {
    ChunkPool<Item, 64> pool;
    auto work = [&pool](std::uint64_t owner) {
        for (int round = 0; round < 50; ++round) {
            std::vector<Item*> items;
            for (std::uint64_t i = 0; i < 300; ++i) {
                auto* item = static_cast<Item*>(pool.Allocate());
                item->owner = owner;
                item->index = i;
                items.push_back(item);
            }
            // Free every other one first, then the rest, so chunks empty at different times.
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
    explicit Pooled(int value) : value_(value) {}
    virtual ~Pooled() = default;
    int Value() const { return value_; }

  private:
    int value_;
};

class BiggerPooled : public Pooled {
  public:
    BiggerPooled() : Pooled(7) {}

  private:
    char extra_[64] = {};
};

TEST(ChunkPoolAllocated, NewAndDeleteUseTheClassPool) {
    auto& pool = Pooled::ClassPool();
    const std::size_t before = pool.UsedCount();
    std::vector<std::unique_ptr<Pooled>> objects;
    for (int i = 0; i < 20; ++i) {
        objects.push_back(std::make_unique<Pooled>(i));
    }
    EXPECT_EQ(pool.UsedCount(), before + 20);
    EXPECT_EQ(objects[19]->Value(), 19);
    objects.clear();
    EXPECT_EQ(pool.UsedCount(), before);
    EXPECT_EQ(pool.ChunkCount(), 0u);
}

TEST(ChunkPoolAllocated, ADerivedClassOfAnotherSizeUsesTheHeap) {
    auto& pool = Pooled::ClassPool();
    const std::size_t before = pool.UsedCount();
    std::unique_ptr<Pooled> object = std::make_unique<BiggerPooled>();
    EXPECT_EQ(pool.UsedCount(), before);
    EXPECT_EQ(object->Value(), 7);
    object.reset();  // through the base pointer: must go back to the heap
    EXPECT_EQ(pool.UsedCount(), before);
}

}  // namespace
}  // namespace velmora
