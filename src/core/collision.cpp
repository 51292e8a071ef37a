#include "core/collision.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "core/collision_grid.h"
#include "core/world.h"
#include "flyers/aircraft.h"
#include "flyers/shape.h"

namespace {

// Sums and squares in 64 bits: coordinates far off the screen can never overflow.
bool Within(int64_t v, int64_t low, int64_t length) {
  return low <= v && v <= low + length;
}

bool IntervalsMeet(int64_t a, int64_t aLength, int64_t b, int64_t bLength) {
  return a <= b + bLength && b <= a + aLength;
}

int64_t Square(int64_t v) {
  return v * v;
}

TPoint At(const TFlyer& f) {
  return {f.X, f.Y};
}

}  // namespace

bool BoxesOverlap(const TFlyer& a, const TFlyer& b) {
  return IntervalsMeet(a.X, a.Width, b.X, b.Width) && IntervalsMeet(a.Y, a.Height, b.Y, b.Height);
}

bool PointInBox(TPoint p, const TFlyer& f) {
  return Within(p.X, f.X, f.Width) && Within(p.Y, f.Y, f.Height);
}

bool PointInCircle(TPoint p, const TCircleRec& c, int32_t ox, int32_t oy) {
  const int64_t dx = static_cast<int64_t>(p.X) - (static_cast<int64_t>(ox) + c.CX);
  const int64_t dy = static_cast<int64_t>(p.Y) - (static_cast<int64_t>(oy) + c.CY);
  return Square(dx) + Square(dy) <= Square(c.Radius);
}

bool PointInRect(TPoint p, const TRectRec& r, int32_t ox, int32_t oy) {
  return Within(p.X, static_cast<int64_t>(ox) + r.Left, r.Width) &&
         Within(p.Y, static_cast<int64_t>(oy) + r.Top, r.Height);
}

bool PointInShapes(TPoint p, const TFlyer& f) {
  for (const TShape* s = f.Shapes.get(); s; s = s->Next.get()) {
    if (const TCircleRec* c = s->Circle()) {
      if (PointInCircle(p, *c, f.X, f.Y)) return true;
    } else if (const TRectRec* r = s->Rect()) {
      if (PointInRect(p, *r, f.X, f.Y)) return true;
    }
  }
  return false;
}

bool RectsOverlap(const TRectRec& ra, TPoint a, const TRectRec& rb, TPoint b) {
  return IntervalsMeet(static_cast<int64_t>(a.X) + ra.Left, ra.Width,
                       static_cast<int64_t>(b.X) + rb.Left, rb.Width) &&
         IntervalsMeet(static_cast<int64_t>(a.Y) + ra.Top, ra.Height,
                       static_cast<int64_t>(b.Y) + rb.Top, rb.Height);
}

bool CirclesOverlap(const TCircleRec& ca, TPoint a, const TCircleRec& cb, TPoint b) {
  const int64_t dx = (static_cast<int64_t>(a.X) + ca.CX) - (static_cast<int64_t>(b.X) + cb.CX);
  const int64_t dy = (static_cast<int64_t>(a.Y) + ca.CY) - (static_cast<int64_t>(b.Y) + cb.CY);
  return Square(dx) + Square(dy) < Square(static_cast<int64_t>(ca.Radius) + cb.Radius);
}

bool CircleRect(const TCircleRec& c, TPoint cAt, const TRectRec& r, TPoint rAt) {
  const int64_t left = static_cast<int64_t>(rAt.X) + r.Left;
  const int64_t top = static_cast<int64_t>(rAt.Y) + r.Top;
  const int64_t right = left + r.Width;
  const int64_t bottom = top + r.Height;
  const int64_t cx = static_cast<int64_t>(cAt.X) + c.CX;
  const int64_t cy = static_cast<int64_t>(cAt.Y) + c.CY;
  const int64_t r2 = Square(c.Radius);
  auto inCircle = [&](int64_t x, int64_t y) { return Square(x - cx) + Square(y - cy) <= r2; };
  if (inCircle(left, top) || inCircle(right, top) || inCircle(left, bottom) ||
      inCircle(right, bottom)) {
    return true;
  }
  auto inRect = [&](int64_t x, int64_t y) {
    return left <= x && x <= right && top <= y && y <= bottom;
  };
  return inRect(cx + c.Radius, cy) || inRect(cx - c.Radius, cy) || inRect(cx, cy + c.Radius) ||
         inRect(cx, cy - c.Radius);
}

bool ShapesOverlap(const TFlyer& a, const TFlyer& b) {
  const TPoint pa = At(a);
  const TPoint pb = At(b);
  for (const TShape* sa = a.Shapes.get(); sa; sa = sa->Next.get()) {
    if (sa->Kind == skNone) continue;
    for (const TShape* sb = b.Shapes.get(); sb; sb = sb->Next.get()) {
      bool hit = false;
      if (sa->Kind == skRect && sb->Kind == skRect) {
        hit = RectsOverlap(*sa->Rect(), pa, *sb->Rect(), pb);
      } else if (sa->Kind == skCircle && sb->Kind == skCircle) {
        hit = CirclesOverlap(*sa->Circle(), pa, *sb->Circle(), pb);
      } else if (sa->Kind == skCircle && sb->Kind == skRect) {
        hit = CircleRect(*sa->Circle(), pa, *sb->Rect(), pb);
      } else if (sa->Kind == skRect && sb->Kind == skCircle) {
        hit = CircleRect(*sb->Circle(), pb, *sa->Rect(), pa);
      }
      if (hit) return true;
    }
  }
  return false;
}

void Collide(TFlyer& a, TFlyer& b) {
  if (a.IsFriend(b.Side) || b.IsFriend(a.Side)) return;
  // A wreck's health may be below zero; it deals nothing rather than healing its partner.
  const int32_t damage = std::max(0, std::min(a.Health, b.Health));
  a.Hit(damage);
  b.Hit(damage);
}

// Both passes work on a picture of the flyers taken at their start (collision_grid.h). That
// changes nothing they decide: nothing moves during a pass, Hit and HitTarget never push
// shells, and flyers they push (plasma fragments) go in front of the head, where the walk
// from the head never comes.

namespace {

// A pass's working memory, borrowed from the world for the length of the pass. Were a pass
// ever entered again from inside itself (a screen running its own event loop from a Hit),
// the inner call gets memory of its own instead of the buffers the outer one walks.
template <class T>
class TScratch {
 public:
  TScratch(T& shared, bool& busy) : shared_(shared), busy_(busy) {
    if (busy_) {
      own_ = std::make_unique<T>();
    } else {
      busy_ = true;
    }
  }
  ~TScratch() {
    if (!own_) busy_ = false;
  }
  TScratch(const TScratch&) = delete;
  TScratch& operator=(const TScratch&) = delete;
  T* operator->() { return own_ ? own_.get() : &shared_; }

 private:
  T& shared_;
  bool& busy_;
  std::unique_ptr<T> own_;
};

// Cells of 32 pixels for finding the flyers at a shell's point, of 64 for the boxes a box
// meets (a craft's box then spans at most four cells, as a rule).
constexpr int32_t kShellCells = 5;
constexpr int32_t kFlyerCells = 6;

struct TShellPass {
  TFlyerGrid Grid;
  std::vector<std::pair<uint32_t, uint32_t>> Hits;  // (flyer, shell) list positions
  std::vector<TShell*> Shells;                      // by list position
  std::vector<uint32_t> Start;                      // the counting sort's buckets
  std::vector<std::pair<uint32_t, uint32_t>> Sorted;
};

struct TFlyerPass {
  TFlyerGrid Grid;
};
// At most about this many pairs are held at once (8 bytes each while they are ordered).
constexpr uint32_t kPairsAtOnce = 1 << 20;

}  // namespace

// Kept by the world from tick to tick, so that a tick allocates nothing.
struct TCollisionMemory {
  TShellPass Shell;
  TFlyerPass Flyer;
  bool ShellBusy = false;
  bool FlyerBusy = false;
};

void TCollisionMemoryDeleter::operator()(TCollisionMemory* m) const {
  delete m;
}

namespace {

TCollisionMemory& MemoryOf(World& w) {
  if (!w.CollisionMemory) w.CollisionMemory.reset(new TCollisionMemory);
  return *w.CollisionMemory;
}

}  // namespace

void ShellsVsFlyers(World& w) {
  // Neither Alive is consulted: a shell that struck is still tested against the flyers
  // after it at the same point, and a destroyed flyer can be struck until it is removed.
  if (w.ShellList.Empty() || w.FlyerList.Empty()) return;
  TCollisionMemory& memory = MemoryOf(w);
  TScratch<TShellPass> scratch(memory.Shell, memory.ShellBusy);
  TFlyerGrid& grid = scratch->Grid;
  auto& hits = scratch->Hits;
  auto& shells = scratch->Shells;
  grid.Build(w.FlyerList, kShellCells, TFlyerGrid::TUse::Points);
  hits.clear();
  shells.clear();
  for (auto* n = w.ShellList.Head(); n; n = n->Next) {
    const auto index = static_cast<uint32_t>(shells.size());
    shells.push_back(n->Object);
    grid.ForEachAt({n->Object->X, n->Object->Y},
                   [&](uint32_t flyer) { hits.emplace_back(flyer, index); });
  }
  // Each flyer from the head, and the shells that strike it in list order, as the walks of
  // the two lists would meet them: the hits came in shell order, and a counting sort by
  // flyer keeps that order within each flyer.
  auto& start = scratch->Start;
  auto& sorted = scratch->Sorted;
  start.assign(grid.Count() + 1, 0);
  for (const auto& hit : hits) ++start[hit.first + 1];
  for (size_t k = 1; k < start.size(); ++k) start[k] += start[k - 1];
  sorted.resize(hits.size());
  for (const auto& hit : hits) sorted[start[hit.first]++] = hit;
  for (const auto& [flyer, shell] : sorted) shells[shell]->HitTarget(grid.Flyer(flyer));
}

void FlyersVsFlyers(World& w) {
  if (w.FlyerList.Empty()) return;
  TCollisionMemory& memory = MemoryOf(w);
  TScratch<TFlyerPass> scratch(memory.Flyer, memory.FlyerBusy);
  TFlyerGrid& grid = scratch->Grid;
  grid.Build(w.FlyerList, kFlyerCells, TFlyerGrid::TUse::Boxes);
  // The pairs are found all at once, or in a crowd where too many craft meet too many others,
  // a stretch of the list at a time, so that the memory they take stays bounded.
  const uint32_t count = grid.Count();
  const uint32_t stretch =
      grid.PairBound() <= kPairsAtOnce ? count : std::max<uint32_t>(1, kPairsAtOnce / count);
  // In the order of a walk: each A from the head, each B after it.
  for (uint32_t first = 0; first < count; first += stretch) {
    grid.FindPairs(first, first + stretch);
    for (uint32_t i = first; i < std::min(count, first + stretch); ++i) {
      TFlyer& a = grid.Flyer(i);
      // A is looked at once: destroyed by one collision, it still meets the rest of the list.
      if (!a.Alive) continue;
      for (const uint32_t j : grid.Partners(i)) {
        TFlyer& b = grid.Flyer(j);
        if (b.Alive) Collide(a, b);
      }
    }
  }
}

void BonusesVsPlayer(World& w) {
  if (!w.Player) return;
  const TFlyer& player = *w.Player;
  for (auto* n = w.BonusList.Head(); n; n = n->Next) {
    TBonus& bonus = *n->Object;
    if (bonus.Alive && BoxesOverlap(bonus, player) && ShapesOverlap(bonus, player)) {
      bonus.Apply();
    }
  }
}
