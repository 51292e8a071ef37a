#include "core/collision.h"

#include <gtest/gtest.h>

#include <iterator>

#include "core/collision_grid.h"
#include "core/effect.h"
#include "flyers/cannon_shell.h"
#include "flyers/projectile.h"
#include "support/targets.h"
#include "support/test_world.h"

namespace {

struct CollisionTest : ::testing::Test {
  TestWorld t;
  World& w = t.world;

  // A flyer at (x, y) with a box and no shapes yet.
  std::unique_ptr<TFlyer> At(int32_t x, int32_t y, int32_t width = 0, int32_t height = 0) {
    auto f = std::make_unique<TFlyer>(w);
    f->X = x;
    f->Y = y;
    f->Width = width;
    f->Height = height;
    return f;
  }
};

TEST_F(CollisionTest, BoxesAndPointsCountTheirEdges) {
  auto a = At(0, 0, 10, 10);
  auto b = At(10, 10, 5, 5);  // shares the corner (10, 10)
  EXPECT_TRUE(BoxesOverlap(*a, *b));
  EXPECT_TRUE(BoxesOverlap(*b, *a));
  b->X = 11;
  EXPECT_FALSE(BoxesOverlap(*a, *b));
  b->X = -5;
  b->Y = -5;  // (-5..0) touches at 0
  EXPECT_TRUE(BoxesOverlap(*a, *b));
  b->Y = -6;
  EXPECT_FALSE(BoxesOverlap(*a, *b));

  EXPECT_TRUE(PointInBox({0, 0}, *a));
  EXPECT_TRUE(PointInBox({10, 10}, *a));
  EXPECT_FALSE(PointInBox({11, 10}, *a));
  EXPECT_FALSE(PointInBox({5, -1}, *a));

  const TCircleRec c{5, 10, 10};  // radius 5 at (10, 10) relative to the owner
  EXPECT_TRUE(PointInCircle({105, 110}, c, 100, 100));   // on the rim
  EXPECT_TRUE(PointInCircle({113, 114}, c, 100, 100));   // 3-4-5: on the rim
  EXPECT_FALSE(PointInCircle({104, 110}, c, 100, 100));  // just beyond
  EXPECT_FALSE(PointInCircle({114, 114}, c, 100, 100));

  const TRectRec r{2, 3, 4, 5};  // covers 2..6 x 3..8
  EXPECT_TRUE(PointInRect({102, 103}, r, 100, 100));
  EXPECT_TRUE(PointInRect({106, 108}, r, 100, 100));
  EXPECT_FALSE(PointInRect({107, 108}, r, 100, 100));
  EXPECT_FALSE(PointInRect({106, 109}, r, 100, 100));
  EXPECT_FALSE(PointInRect({101, 103}, r, 100, 100));
}

TEST_F(CollisionTest, RectanglesSharingAnEdgeMeetCirclesTouchingAtAPointDoNot) {
  const TRectRec r{0, 0, 10, 10};
  EXPECT_TRUE(RectsOverlap(r, {0, 0}, r, {10, 0}));
  EXPECT_TRUE(RectsOverlap(r, {0, 0}, r, {0, 10}));
  EXPECT_FALSE(RectsOverlap(r, {0, 0}, r, {11, 0}));
  EXPECT_FALSE(RectsOverlap(r, {0, 0}, r, {5, 11}));

  const TCircleRec c{5, 0, 0};
  EXPECT_FALSE(CirclesOverlap(c, {0, 0}, c, {10, 0}));  // touching
  EXPECT_TRUE(CirclesOverlap(c, {0, 0}, c, {9, 0}));
  EXPECT_FALSE(CirclesOverlap(c, {0, 0}, c, {6, 8}));  // distance 10 exactly
  EXPECT_TRUE(CirclesOverlap(c, {0, 0}, c, {6, 7}));
}

TEST_F(CollisionTest, CircleAgainstRectangleUsesCornersAndExtremePointsOnly) {
  // A small circle inside a large rectangle: its extreme points are inside.
  EXPECT_TRUE(CircleRect({5, 50, 50}, {0, 0}, {0, 0, 100, 100}, {0, 0}));
  // A large circle around a small rectangle: the corners are inside.
  EXPECT_TRUE(CircleRect({50, 0, 0}, {0, 0}, {-5, -5, 10, 10}, {0, 0}));
  // A bar narrower than the circle crossing it, with all corners outside and none of the
  // four extreme points inside: not detected.
  EXPECT_FALSE(CircleRect({20, 0, 0}, {0, 0}, {5, -100, 5, 200}, {0, 0}));
  EXPECT_FALSE(CircleRect({20, 0, 0}, {0, 0}, {-100, -10, 200, 5}, {0, 0}));
  EXPECT_FALSE(CircleRect({20, 0, 0}, {300, 300}, {5, -100, 5, 200}, {300, 300}));
  // Exactly through the middle it holds two extreme points and is found.
  EXPECT_TRUE(CircleRect({20, 0, 0}, {0, 0}, {-5, -100, 10, 200}, {0, 0}));
}

TEST_F(CollisionTest, EachExtremePointAndEachCornerAloneDecides) {
  // A circle of radius 10 around (0, 0). First bars 5 wide and 60 long, whose corners all
  // lie far outside it and which hold at most one extreme point: (10, 0), (-10, 0), (0, 10)
  // or (0, -10). Each point is tried on the bar's near and far edge, and one pixel beyond.
  // Then 50 x 50 squares holding no extreme point, with one corner on the rim (6-8-10) or
  // one pixel beyond it.
  struct Case {
    TRectRec Bar;
    bool Meets;
  };
  const Case cases[] = {
      // right: (10, 0)
      {{10, -30, 5, 60}, true},
      {{11, -30, 5, 60}, false},
      {{5, -30, 5, 60}, true},
      {{5, -30, 4, 60}, false},
      // left: (-10, 0)
      {{-15, -30, 5, 60}, true},
      {{-15, -30, 4, 60}, false},
      {{-10, -30, 5, 60}, true},
      {{-9, -30, 5, 60}, false},
      // below: (0, 10)
      {{-30, 10, 60, 5}, true},
      {{-30, 11, 60, 5}, false},
      {{-30, 5, 60, 5}, true},
      {{-30, 5, 60, 4}, false},
      // above: (0, -10)
      {{-30, -15, 60, 5}, true},
      {{-30, -15, 60, 4}, false},
      {{-30, -10, 60, 5}, true},
      {{-30, -9, 60, 5}, false},
      // top left corner at (6, 8), then (7, 8)
      {{6, 8, 50, 50}, true},
      {{7, 8, 50, 50}, false},
      // top right at (-6, 8)
      {{-56, 8, 50, 50}, true},
      {{-57, 8, 50, 50}, false},
      // bottom left at (6, -8)
      {{6, -58, 50, 50}, true},
      {{7, -58, 50, 50}, false},
      // bottom right at (-6, -8)
      {{-56, -58, 50, 50}, true},
      {{-57, -58, 50, 50}, false},
  };
  const TCircleRec circle{10, 0, 0};
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(CircleRect(circle, {0, 0}, cases[i].Bar, {0, 0}), cases[i].Meets) << i;
    // The same pair with both owners elsewhere.
    EXPECT_EQ(CircleRect(circle, {-400, 700}, cases[i].Bar, {-400, 700}), cases[i].Meets) << i;
  }
}

TEST_F(CollisionTest, ShapeListsAreTestedPairByPairInBothOrders) {
  auto a = At(0, 0, 100, 100);
  auto b = At(50, 0, 100, 100);
  EXPECT_FALSE(ShapesOverlap(*a, *b));  // no shapes, whatever the boxes
  a->AddCircle(10, 10, 5);
  b->AddRect(0, 0, 100, 100);
  EXPECT_FALSE(ShapesOverlap(*a, *b));
  EXPECT_FALSE(ShapesOverlap(*b, *a));
  a->AddCircle(60, 50, 5);  // inside b's rectangle
  EXPECT_TRUE(ShapesOverlap(*a, *b));
  EXPECT_TRUE(ShapesOverlap(*b, *a));  // rectangle first: the circle is still the circle

  // A shape node that was never set is skipped, also when probed with a point.
  auto c = At(0, 0, 10, 10);
  c->Shapes = std::make_unique<TShape>();
  EXPECT_FALSE(ShapesOverlap(*c, *b));
  EXPECT_FALSE(ShapesOverlap(*b, *c));
  EXPECT_FALSE(PointInShapes({0, 0}, *c));
  c->AddRect(0, 0, 10, 10);
  EXPECT_TRUE(PointInShapes({10, 10}, *c));
  EXPECT_FALSE(PointInShapes({0, 0}, *At(0, 0, 10, 10)));  // an empty list is never hit
}

TEST_F(CollisionTest, TouchingFlyersExchangeTheSmallerHealthUnlessOneIsAFriend) {
  auto weak = AddTarget(w, 0, 0, 20, 20, 30);
  auto strong = AddTarget(w, 10, 10, 20, 20, 50);
  FlyersVsFlyers(w);
  EXPECT_EQ(weak->Health, 0);
  EXPECT_FALSE(weak->Alive);
  EXPECT_EQ(strong->Health, 20);
  EXPECT_TRUE(strong->Alive);
  FlyersVsFlyers(w);  // the dead one is skipped from then on
  EXPECT_EQ(strong->Hits.size(), 1u);

  auto p = AddTarget(w, 500, 500, 20, 20, 40);
  auto q = AddTarget(w, 505, 505, 20, 20, 40);
  FlyersVsFlyers(w);
  EXPECT_FALSE(p->Alive);  // equal health destroys both
  EXPECT_FALSE(q->Alive);

  // A projectile never touches its owner's side; a flyer of another side it strikes.
  auto own = AddTarget(w, 300, 300, 50, 50, 100, kSidePlayer);
  auto* beam = w.FlyerList.Push(std::make_unique<TLightBeam>(w, 310, 310, 0, kSidePlayer));
  FlyersVsFlyers(w);
  EXPECT_TRUE(own->Hits.empty());
  EXPECT_TRUE(beam->Alive);
  w.FlyerList.Clear();
  beam = w.FlyerList.Push(std::make_unique<TLightBeam>(w, 310, 310, 0, kSidePlayer));
  auto enemy = AddTarget(w, 300, 300, 50, 50, 100, kSideEnemy);
  FlyersVsFlyers(w);
  EXPECT_EQ(enemy->Hits, (std::vector<int32_t>{40}));
  EXPECT_FALSE(beam->Alive);
}

TEST_F(CollisionTest, AShellStrikesEveryFlyerAtItsPointAndSparesOnesWithoutShapes) {
  auto first = AddTarget(w, 100, 100, 50, 50, 100);
  auto second = AddTarget(w, 120, 120, 50, 50, 100, kSidePlayer);  // shells have no side
  auto hollow = At(100, 100, 100, 100);                            // a box but no shapes
  w.FlyerList.Push(std::move(hollow));
  auto* shell = w.ShellList.Push(std::make_unique<TShell>(w, 130, 130, 0, -5, 7));
  ShellsVsFlyers(w);
  EXPECT_EQ(first->Hits, (std::vector<int32_t>{7}));
  EXPECT_EQ(second->Hits, (std::vector<int32_t>{7}));
  EXPECT_FALSE(shell->Alive);
  auto bursts = AllOf<TSmallExplosion>(w.EffectList);
  ASSERT_EQ(bursts.size(), 2u);
  EXPECT_EQ(bursts[0]->X, 122);
  EXPECT_EQ(bursts[0]->Y, 122);
  EXPECT_EQ(bursts[0]->Frame, 0);

  // A shell outside every shape but inside a box strikes nothing.
  w.ShellList.Push(std::make_unique<TShell>(w, 195, 195, 0, -5, 7));
  ShellsVsFlyers(w);
  EXPECT_EQ(first->Hits.size(), 2u);  // the dead shell above still strikes: Alive is not read
  EXPECT_EQ(AllOf<TSmallExplosion>(w.EffectList).size(), 4u);
}

}  // namespace

// The passes work from snapshots, a grid and a sweep; whatever they do inside, they must
// strike in exactly the order of the plain walks over the lists. Compared here on random
// crowds against those walks written out literally.
namespace order {

struct Log {
  std::vector<std::pair<int, int32_t>> hits;  // (flyer id, damage), in the order they came
};

class Logged final : public TFlyer {
 public:
  Logged(World& w, int id, std::shared_ptr<Log> log) : TFlyer(w), Id(id), L(std::move(log)) {}
  void Hit(int32_t damage) override {
    L->hits.emplace_back(Id, damage);
    TFlyer::Hit(damage);
  }
  bool IsFriend(uint8_t side) const override {
    // Every Collide asks this first: logged, the question shows each pair that was met.
    if (LogQuestions) L->hits.emplace_back(Id, -1 - side);
    return Friendly && side == Side;
  }
  int Id;
  bool Friendly = false;
  bool LogQuestions = false;
  std::shared_ptr<Log> L;
};

void PlainShellsVsFlyers(World& w) {
  for (auto* f = w.FlyerList.Head(); f; f = f->Next) {
    for (auto* s = w.ShellList.Head(); s; s = s->Next) {
      const TPoint p{s->Object->X, s->Object->Y};
      if (PointInBox(p, *f->Object) && PointInShapes(p, *f->Object)) {
        s->Object->HitTarget(*f->Object);
      }
    }
  }
}

void PlainFlyersVsFlyers(World& w) {
  for (auto* a = w.FlyerList.Head(); a; a = a->Next) {
    if (!a->Object->Alive) continue;
    for (auto* b = a->Next; b; b = b->Next) {
      if (b->Object->Alive && BoxesOverlap(*a->Object, *b->Object) &&
          ShapesOverlap(*a->Object, *b->Object)) {
        Collide(*a->Object, *b->Object);
      }
    }
  }
}

// The same random crowd in a world: flyers of all sizes, some dead, some far off the screen,
// and shells (each striking with its own damage, so the log shows which one struck).
std::shared_ptr<Log> Populate(World& w, uint64_t seed, int flyers, int shells) {
  TRandom r(seed);
  auto log = std::make_shared<Log>();
  for (int i = 0; i < flyers; ++i) {
    auto f = std::make_unique<Logged>(w, i, log);
    const bool far = r.Random(10) == 0;
    f->X = far ? r.Random(4000) - 2000 : r.Random(1100) - 60;
    f->Y = far ? r.Random(4000) - 2000 : r.Random(850) - 60;
    f->Width = r.Random(3) == 0 ? r.Random(8) : 10 + r.Random(150);
    f->Height = r.Random(3) == 0 ? r.Random(8) : 10 + r.Random(150);
    f->Health = 1 + r.Random(300);
    f->Side = static_cast<uint8_t>(r.Random(3) == 0 ? kSidePlayer : kSideEnemy);
    f->Friendly = r.Random(4) == 0;
    f->Alive = r.Random(8) != 0;
    for (int k = r.Random(4); k > 0; --k) {
      if (r.Random(2)) {
        f->AddCircle(r.Random(f->Width + 1), r.Random(f->Height + 1), 1 + r.Random(40));
      } else {
        f->AddRect(r.Random(f->Width + 1), r.Random(f->Height + 1), r.Random(60), r.Random(60));
      }
    }
    w.FlyerList.Push(std::move(f));
  }
  for (int i = 0; i < shells; ++i) {
    const bool far = r.Random(10) == 0;
    const int32_t x = far ? r.Random(5000) - 2500 : r.Random(1100) - 40;
    const int32_t y = far ? r.Random(5000) - 2500 : r.Random(850) - 40;
    w.ShellList.Push(std::make_unique<TShell>(w, x, y, 0, -5, 1000 + i));
  }
  return log;
}

TEST(CollisionOrder, ThePassesStrikeExactlyAsThePlainWalksDo) {
  size_t shellHits = 0, collisions = 0;
  for (uint64_t seed = 1; seed <= 40; ++seed) {
    TestWorld fast, plain;
    const int flyers = static_cast<int>(5 + seed * 7);
    const int shells = static_cast<int>(seed * 25);
    auto fastLog = Populate(fast.world, seed, flyers, shells);
    auto plainLog = Populate(plain.world, seed, flyers, shells);
    ShellsVsFlyers(fast.world);
    PlainShellsVsFlyers(plain.world);
    ASSERT_EQ(fastLog->hits, plainLog->hits) << "shells, seed " << seed;
    shellHits += fastLog->hits.size();
    FlyersVsFlyers(fast.world);
    PlainFlyersVsFlyers(plain.world);
    ASSERT_EQ(fastLog->hits, plainLog->hits) << "flyers, seed " << seed;
    collisions += fastLog->hits.size();
  }
  // The crowds are dense enough to exercise both passes thoroughly.
  EXPECT_GT(shellHits, 1000u);
  EXPECT_GT(collisions - shellHits, 300u);
}

// A crowd packed into a square of the given spread around a centre, where most craft
// overlap many others: boxes and shapes of all sizes, a few of them negative (by the
// interval rule such a box still meets boxes covering it; a circle's radius counts squared),
// some dead, and shells among them.
std::shared_ptr<Log> PopulateCrowd(World& w, uint64_t seed, int flyers, TPoint centre,
                                   int32_t spread) {
  TRandom r(seed);
  auto log = std::make_shared<Log>();
  auto size = [&] { return r.Random(8) == 0 ? -r.Random(50) : 1 + r.Random(120); };
  for (int i = 0; i < flyers; ++i) {
    auto f = std::make_unique<Logged>(w, i, log);
    f->X = centre.X + r.Random(spread) - spread / 2;
    f->Y = centre.Y + r.Random(spread) - spread / 2;
    f->Width = size();
    f->Height = size();
    f->Health = (1 << 20) + r.Random(300);  // outlasts the shells
    // Mostly one side that lets its own kind pass, so the crowd survives its own meetings.
    f->Side = static_cast<uint8_t>(r.Random(6) == 0 ? kSidePlayer : kSideEnemy);
    f->Friendly = r.Random(3) != 0;
    f->Alive = r.Random(10) != 0;
    f->LogQuestions = true;
    for (int k = 1 + r.Random(3); k > 0; --k) {
      const int32_t x = r.Random(std::abs(f->Width) + 1), y = r.Random(std::abs(f->Height) + 1);
      if (r.Random(2)) {
        f->AddCircle(x, y, size() / 2);
      } else {
        f->AddRect(x, y, size() / 2, size() / 2);
      }
    }
    w.FlyerList.Push(std::move(f));
  }
  for (int i = 0; i < flyers; ++i) {
    const int32_t x = centre.X + r.Random(spread + 100) - spread / 2;
    const int32_t y = centre.Y + r.Random(spread + 100) - spread / 2;
    w.ShellList.Push(std::make_unique<TShell>(w, x, y, 0, -5, 1000 + i));
  }
  return log;
}

TEST(CollisionOrder, DenseCrowdsStrikeExactlyAsThePlainWalksDo) {
  // On the screen, across the grid's edge, and far beyond it where every box files into
  // the same border cells.
  const TPoint centres[] = {{500, 400}, {-128, 300}, {1280, 896}, {6000, -7000}};
  size_t met = 0;
  for (uint64_t seed = 1; seed <= 24; ++seed) {
    TestWorld fast, plain;
    const int flyers = static_cast<int>(30 + seed * 12);
    const TPoint centre = centres[seed % 4];
    const auto spread = static_cast<int32_t>(60 + seed * 10);
    auto fastLog = PopulateCrowd(fast.world, seed, flyers, centre, spread);
    auto plainLog = PopulateCrowd(plain.world, seed, flyers, centre, spread);
    ShellsVsFlyers(fast.world);
    PlainShellsVsFlyers(plain.world);
    ASSERT_EQ(fastLog->hits, plainLog->hits) << "shells, seed " << seed;
    const size_t shellHits = fastLog->hits.size();
    FlyersVsFlyers(fast.world);
    PlainFlyersVsFlyers(plain.world);
    ASSERT_EQ(fastLog->hits, plainLog->hits) << "flyers, seed " << seed;
    met += fastLog->hits.size() - shellHits;
  }
  // Hundreds of craft each meeting dozens of others.
  EXPECT_GT(met, 20000u);
}

// So many craft in one heap that the flyer pass takes their pairs a stretch at a time (it
// holds about 2^20 at once).
TEST(CollisionOrder, ACrowdTooBigForOneGoMeetsAsThePlainWalkDoes) {
  TestWorld fast, plain;
  auto fastLog = PopulateCrowd(fast.world, 99, 2000, {500, 400}, 120);
  auto plainLog = PopulateCrowd(plain.world, 99, 2000, {500, 400}, 120);
  TFlyerGrid grid;
  grid.Build(fast.world.FlyerList, 6, TFlyerGrid::TUse::Boxes);
  ASSERT_GT(grid.PairBound(), 1u << 20);
  FlyersVsFlyers(fast.world);
  PlainFlyersVsFlyers(plain.world);
  ASSERT_EQ(fastLog->hits, plainLog->hits);
  EXPECT_GT(fastLog->hits.size(), 100000u);
}

}  // namespace order
