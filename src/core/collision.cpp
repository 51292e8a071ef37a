#include "core/collision.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

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

// Both passes work on a snapshot taken at their start. That changes nothing they decide:
// nothing moves during a pass, Hit and HitTarget never push shells, and flyers they push
// (plasma fragments) go in front of the head, where the walk from the head never comes.
// What the snapshot buys is speed: positions read from one array instead of from objects
// scattered over the heap.

namespace {

// The flyers' boxes are filed in a coarse grid of 32-pixel cells over the play area and a
// margin around it; a coordinate beyond the grid files into the nearest border cell. Cells
// are monotonic in the coordinates, so a shell inside a box lies in a cell the box spans.
constexpr int32_t kCellShift = 5;
constexpr int32_t kGridLeft = -128;
constexpr int32_t kGridTop = -64;
constexpr int32_t kGridColumns = 44;  // up to x = 1280
constexpr int32_t kGridRows = 30;     // up to y = 896
constexpr size_t kCells = kGridColumns * kGridRows;

int32_t Cell(int64_t v, int32_t origin, int32_t count) {
  const int64_t c = (v - origin) >> kCellShift;
  return static_cast<int32_t>(std::clamp<int64_t>(c, 0, count - 1));
}

struct TFlyerBox {
  int32_t X, Y, Width, Height;
  TFlyer* Flyer;
};

struct TFlyerGrid {
  std::vector<TFlyerBox> Boxes;     // list order, head first
  std::vector<uint32_t> CellStart;  // the boxes of cell k are Members[CellStart[k] ..]
  std::vector<uint32_t> Members;    // box indexes, in list order within each cell

  void Build(const TFlyerList& list) {
    Boxes.clear();
    for (auto* n = list.Head(); n; n = n->Next) {
      const TFlyer& f = *n->Object;
      Boxes.push_back({f.X, f.Y, f.Width, f.Height, n->Object});
    }
    CellStart.assign(kCells + 1, 0);
    ForEachCell([&](size_t cell, uint32_t) { ++CellStart[cell + 1]; });
    for (size_t k = 1; k <= kCells; ++k) CellStart[k] += CellStart[k - 1];
    Members.resize(CellStart[kCells]);
    fill_.assign(CellStart.begin(), CellStart.end() - 1);
    ForEachCell([&](size_t cell, uint32_t i) { Members[fill_[cell]++] = i; });
  }

 private:
  template <class F>
  void ForEachCell(F&& f) const {
    for (uint32_t i = 0; i < Boxes.size(); ++i) {
      const TFlyerBox& b = Boxes[i];
      const int32_t c0 = Cell(b.X, kGridLeft, kGridColumns);
      const int32_t c1 = Cell(static_cast<int64_t>(b.X) + b.Width, kGridLeft, kGridColumns);
      const int32_t r0 = Cell(b.Y, kGridTop, kGridRows);
      const int32_t r1 = Cell(static_cast<int64_t>(b.Y) + b.Height, kGridTop, kGridRows);
      for (int32_t r = r0; r <= r1; ++r) {
        for (int32_t c = c0; c <= c1; ++c) f(static_cast<size_t>(r * kGridColumns + c), i);
      }
    }
  }
  std::vector<uint32_t> fill_;
};

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

struct TShellPass {
  TFlyerGrid Grid;
  std::vector<std::pair<uint32_t, uint32_t>> Hits;  // (flyer, shell) list positions
  std::vector<TShell*> Shells;                      // by list position
};

struct TFlyerPass {
  std::vector<TFlyerBox> Boxes;
  std::vector<uint64_t> ByX;
  std::vector<std::pair<uint32_t, uint32_t>> Pairs;
};

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
  grid.Build(w.FlyerList);
  const TFlyerBox* boxes = grid.Boxes.data();
  const uint32_t* cellStart = grid.CellStart.data();
  const uint32_t* members = grid.Members.data();

  hits.clear();
  shells.clear();
  for (auto* n = w.ShellList.Head(); n; n = n->Next) {
    const TShell& s = *n->Object;
    const auto index = static_cast<uint32_t>(shells.size());
    shells.push_back(n->Object);
    const size_t cell = static_cast<size_t>(Cell(s.Y, kGridTop, kGridRows)) * kGridColumns +
                        static_cast<size_t>(Cell(s.X, kGridLeft, kGridColumns));
    const TPoint p{s.X, s.Y};
    for (uint32_t k = cellStart[cell]; k < cellStart[cell + 1]; ++k) {
      const TFlyerBox& b = boxes[members[k]];
      if (Within(p.X, b.X, b.Width) && Within(p.Y, b.Y, b.Height) && PointInShapes(p, *b.Flyer)) {
        hits.emplace_back(members[k], index);
      }
    }
  }
  // Each flyer from the head, and the shells that strike it in list order, as the walks of
  // the two lists would meet them.
  std::sort(hits.begin(), hits.end());
  for (const auto& [flyer, shell] : hits) shells[shell]->HitTarget(*boxes[flyer].Flyer);
}

void FlyersVsFlyers(World& w) {
  TCollisionMemory& memory = MemoryOf(w);
  TScratch<TFlyerPass> scratch(memory.Flyer, memory.FlyerBusy);
  auto& boxes = scratch->Boxes;
  auto& byX = scratch->ByX;
  auto& pairs = scratch->Pairs;
  boxes.clear();
  bool sizesValid = true;
  for (auto* n = w.FlyerList.Head(); n; n = n->Next) {
    const TFlyer& f = *n->Object;
    boxes.push_back({f.X, f.Y, f.Width, f.Height, n->Object});
    sizesValid = sizesValid && f.Width >= 0 && f.Height >= 0;
  }
  const auto count = static_cast<uint32_t>(boxes.size());
  auto meet = [](const TFlyerBox& a, const TFlyerBox& b) {
    return IntervalsMeet(a.X, a.Width, b.X, b.Width) && IntervalsMeet(a.Y, a.Height, b.Y, b.Height);
  };

  // The pairs whose boxes meet, as (newer, older) list positions.
  pairs.clear();
  if (sizesValid) {
    // Sweep along x: after sorting by left edge, a box meets only the boxes that start
    // before its right edge.
    // Keys of left edge (made unsigned in order) and list position sort as plain integers.
    const TFlyerBox* box = boxes.data();
    byX.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
      const uint64_t left = static_cast<uint32_t>(box[i].X) ^ 0x80000000u;
      byX[i] = left << 32 | i;
    }
    std::sort(byX.begin(), byX.end());
    const uint64_t* sorted = byX.data();
    for (uint32_t k = 0; k < count; ++k) {
      const auto i = static_cast<uint32_t>(sorted[k]);
      const TFlyerBox& a = box[i];
      const int64_t right = static_cast<int64_t>(a.X) + a.Width;
      for (uint32_t m = k + 1; m < count; ++m) {
        const auto j = static_cast<uint32_t>(sorted[m]);
        if (box[j].X > right) break;
        if (meet(a, box[j])) pairs.emplace_back(std::min(i, j), std::max(i, j));
      }
    }
    std::sort(pairs.begin(), pairs.end());
  } else {
    for (uint32_t i = 0; i < count; ++i) {
      for (uint32_t j = i + 1; j < count; ++j) {
        if (meet(boxes[i], boxes[j])) pairs.emplace_back(i, j);
      }
    }
  }

  // In the order of a walk: each A from the head, each B after it.
  uint32_t current = UINT32_MAX;
  bool aliveA = false;
  for (const auto& [i, j] : pairs) {
    // A is looked at once: destroyed by one collision, it still meets the rest of the list.
    if (i != current) {
      current = i;
      aliveA = boxes[i].Flyer->Alive;
    }
    if (!aliveA) continue;
    TFlyer& a = *boxes[i].Flyer;
    TFlyer& b = *boxes[j].Flyer;
    if (b.Alive && ShapesOverlap(a, b)) Collide(a, b);
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
