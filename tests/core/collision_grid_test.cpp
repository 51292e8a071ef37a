#include "core/collision_grid.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "base/random.h"
#include "support/test_world.h"

namespace {

using Pairs = std::vector<std::pair<uint32_t, uint32_t>>;

// A crowd where most craft overlap many others, with the odd one far off the grid, of
// negative size or without shapes.
void Crowd(World& w, uint64_t seed, int flyers) {
  TRandom r(seed);
  for (int i = 0; i < flyers; ++i) {
    auto f = std::make_unique<TFlyer>(w);
    const bool far = r.Random(12) == 0;
    f->X = far ? r.Random(6000) - 3000 : 400 + r.Random(200);
    f->Y = far ? r.Random(6000) - 3000 : 300 + r.Random(150);
    f->Width = r.Random(10) == 0 ? -r.Random(40) : 1 + r.Random(130);
    f->Height = r.Random(10) == 0 ? -r.Random(40) : 1 + r.Random(130);
    for (int k = r.Random(4); k > 0; --k) {
      const int32_t x = r.Random(std::abs(f->Width) + 1), y = r.Random(std::abs(f->Height) + 1);
      if (r.Random(2)) {
        f->AddCircle(x, y, r.Random(60) - 10);
      } else {
        f->AddRect(x, y, r.Random(70) - 10, r.Random(70) - 10);
      }
    }
    w.FlyerList.Push(std::move(f));
  }
}

// Every pair as the plain walk meets it: each flyer from the head, each one after it.
Pairs Walked(const World& w) {
  Pairs pairs;
  uint32_t i = 0;
  for (auto* a = w.FlyerList.Head(); a; a = a->Next, ++i) {
    uint32_t j = i + 1;
    for (auto* b = a->Next; b; b = b->Next, ++j) {
      if (BoxesOverlap(*a->Object, *b->Object) && ShapesOverlap(*a->Object, *b->Object)) {
        pairs.emplace_back(i, j);
      }
    }
  }
  return pairs;
}

// The grid's pairs, found a stretch of the list at a time.
Pairs Found(TFlyerGrid& grid, uint32_t stretch) {
  Pairs pairs;
  for (uint32_t first = 0; first < grid.Count(); first += stretch) {
    grid.FindPairs(first, first + stretch);
    for (uint32_t i = first; i < first + stretch && i < grid.Count(); ++i) {
      for (const uint32_t j : grid.Partners(i)) pairs.emplace_back(i, j);
    }
  }
  return pairs;
}

// Short lists are walked, long ones gridded; either way, taken whole or a stretch at a time,
// the pairs and their order are the plain walk's.
TEST(FlyerGrid, FindsThePairsOfThePlainWalkInItsOrderWholeOrByStretches) {
  size_t total = 0;
  for (uint64_t seed = 1; seed <= 6; ++seed) {
    TestWorld t;
    const int flyers = seed % 3 == 0 ? 40 : static_cast<int>(100 * seed);
    Crowd(t.world, seed, flyers);
    const Pairs expected = Walked(t.world);
    TFlyerGrid grid;
    grid.Build(t.world.FlyerList, 6, TFlyerGrid::TUse::Boxes);
    for (const uint32_t stretch : {static_cast<uint32_t>(flyers), 1u, 7u, 64u}) {
      ASSERT_EQ(Found(grid, stretch), expected) << "seed " << seed << ", stretch " << stretch;
    }
    total += expected.size();
  }
  EXPECT_GT(total, 10000u);  // crowded enough to mean something
}

TEST(FlyerGrid, AStretchBeyondTheListHasNoPartners) {
  TestWorld t;
  Crowd(t.world, 3, 60);
  TFlyerGrid grid;
  grid.Build(t.world.FlyerList, 6, TFlyerGrid::TUse::Boxes);
  grid.FindPairs(10, 20);
  EXPECT_EQ(grid.Partners(9).begin(), grid.Partners(9).end());
  EXPECT_EQ(grid.Partners(20).begin(), grid.Partners(20).end());
  grid.FindPairs(60, 70);
  EXPECT_EQ(grid.Partners(60).begin(), grid.Partners(60).end());
}

}  // namespace
