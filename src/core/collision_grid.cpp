#include "core/collision_grid.h"

#include <algorithm>
#include <cstdint>

#include "flyers/flyer.h"
#include "flyers/shape.h"

namespace {

// The grid: square cells over the play area and a margin around it; a coordinate beyond it
// files into the nearest border cell. Cells are monotonic in the coordinates, so a point
// inside a box lies in a cell the box spans, and two boxes that meet share the cell of the
// top left corner of their common part.
constexpr int32_t kGridLeft = -128;
constexpr int32_t kGridTop = -64;
constexpr int32_t kGridRight = 1280;
constexpr int32_t kGridBottom = 896;
// Below this many flyers a plain walk over all of them is cheaper than filing them.
constexpr size_t kGridFrom = 48;

int32_t Cell(int64_t v, int32_t origin, int32_t shift, int32_t count) {
  const int64_t c = (v - origin) >> shift;
  return static_cast<int32_t>(std::clamp<int64_t>(c, 0, count - 1));
}

// Sums and squares in 64 bits, exactly as the geometric tests make them.
int64_t Square(int64_t v) {
  return v * v;
}

}  // namespace

namespace {

TFlyerGrid::TExtent Reach(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
  return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

bool Meet(const TFlyerGrid::TExtent& a, const TFlyerGrid::TExtent& b) {
  return (a.Left <= b.Right) & (b.Left <= a.Right) & (a.Top <= b.Bottom) & (b.Top <= a.Bottom);
}

}  // namespace

void TFlyerGrid::Build(const TFlyerList& list, int32_t cellShift) {
  shift_ = cellShift;
  columns_ = ((kGridRight - kGridLeft) >> shift_) + 1;
  rows_ = ((kGridBottom - kGridTop) >> shift_) + 1;
  boxes_.clear();
  edges_.clear();
  shapes_.clear();
  for (auto* n = list.Head(); n; n = n->Next) {
    TFlyer& f = *n->Object;
    TBox b{f.X, f.Y, f.Width, f.Height, &f, static_cast<uint32_t>(shapes_.size()), 0, 0, 0, 0, 0};
    // A shape reaches no further than its extent (a circle its radius either way, a
    // rectangle of negative size back from its corner), and two shapes that meet by any of
    // the rules reach each other; the flyer's shapes together reach their common extent.
    // Shapes of no kind are never tested, so they are left out.
    TExtent reach{INT64_MAX, INT64_MAX, INT64_MIN, INT64_MIN};
    for (const TShape* s = f.Shapes.get(); s; s = s->Next.get()) {
      TPlaced placed{};
      if (const TCircleRec* c = s->Circle()) {
        const int64_t cx = static_cast<int64_t>(f.X) + c->CX;
        const int64_t cy = static_cast<int64_t>(f.Y) + c->CY;
        const int64_t r = c->Radius;
        placed = {cx, cy, r, 0, Reach(cx - r, cy - r, cx + r, cy + r), true};
      } else if (const TRectRec* rect = s->Rect()) {
        const int64_t left = static_cast<int64_t>(f.X) + rect->Left;
        const int64_t top = static_cast<int64_t>(f.Y) + rect->Top;
        const int64_t right = left + rect->Width;
        const int64_t bottom = top + rect->Height;
        placed = {left, top, right, bottom, Reach(left, top, right, bottom), false};
      } else {
        continue;
      }
      shapes_.push_back(placed);
      reach = {std::min(reach.Left, placed.Ext.Left), std::min(reach.Top, placed.Ext.Top),
               std::max(reach.Right, placed.Ext.Right), std::max(reach.Bottom, placed.Ext.Bottom)};
    }
    b.EndShape = static_cast<uint32_t>(shapes_.size());
    // What the box spans. A negative size spans back from X or Y: such a box contains no
    // point, but by the interval rule it can still meet a box, always one covering this span.
    const int64_t right = static_cast<int64_t>(f.X) + f.Width;
    const int64_t bottom = static_cast<int64_t>(f.Y) + f.Height;
    b.C0 = Column(std::min<int64_t>(f.X, right));
    b.C1 = Column(std::max<int64_t>(f.X, right));
    b.R0 = Row(std::min<int64_t>(f.Y, bottom));
    b.R1 = Row(std::max<int64_t>(f.Y, bottom));
    boxes_.push_back(b);
    edges_.push_back({right, bottom, reach, f.X, f.Y, b.C0, b.R0});
  }
  cellStart_.clear();
  if (boxes_.size() < kGridFrom) {
    all_.resize(boxes_.size());
    for (uint32_t i = 0; i < all_.size(); ++i) all_[i] = i;
    return;
  }
  auto forEachCell = [&](auto&& f) {
    for (uint32_t i = 0; i < boxes_.size(); ++i) {
      const TBox& b = boxes_[i];
      for (int32_t r = b.R0; r <= b.R1; ++r) {
        for (int32_t c = b.C0; c <= b.C1; ++c) f(static_cast<size_t>(r * columns_ + c), i);
      }
    }
  };
  const auto cells = static_cast<size_t>(columns_ * rows_);
  cellStart_.assign(cells + 1, 0);
  forEachCell([&](size_t cell, uint32_t) { ++cellStart_[cell + 1]; });
  for (size_t k = 1; k <= cells; ++k) cellStart_[k] += cellStart_[k - 1];
  members_.resize(cellStart_[cells]);
  fill_.assign(cellStart_.begin(), cellStart_.end() - 1);
  forEachCell([&](size_t cell, uint32_t i) { members_[fill_[cell]++] = i; });
}

int32_t TFlyerGrid::Column(int64_t x) const {
  return Cell(x, kGridLeft, shift_, columns_);
}

int32_t TFlyerGrid::Row(int64_t y) const {
  return Cell(y, kGridTop, shift_, rows_);
}

TFlyerGrid::TRange TFlyerGrid::Candidates(TPoint p) const {
  if (!Gridded()) return {all_.data(), all_.data() + all_.size()};
  const auto cell = static_cast<size_t>(Row(p.Y) * columns_ + Column(p.X));
  return {members_.data() + cellStart_[cell], members_.data() + cellStart_[cell + 1]};
}

// PointInBox, then PointInShapes; a point beyond what the shapes reach is in none of them.
bool TFlyerGrid::Contains(uint32_t i, TPoint p) const {
  const TEdges& e = edges_[i];
  const TExtent& reach = e.Reach;
  if (!((e.X <= p.X) & (p.X <= e.Right) & (e.Y <= p.Y) & (p.Y <= e.Bottom) & (reach.Left <= p.X) &
        (p.X <= reach.Right) & (reach.Top <= p.Y) & (p.Y <= reach.Bottom))) {
    return false;
  }
  const TBox& b = boxes_[i];
  for (uint32_t k = b.FirstShape; k < b.EndShape; ++k) {
    const TPlaced& s = shapes_[k];
    if (s.Circle) {
      if (Square(p.X - s.A) + Square(p.Y - s.B) <= Square(s.C)) return true;
    } else if (s.A <= p.X && p.X <= s.C && s.B <= p.Y && p.Y <= s.D) {
      return true;
    }
  }
  return false;
}

uint32_t TFlyerGrid::Meeting(uint32_t i, uint32_t* met) const {
  const TEdges& a = edges_[i];
  // The interval rule, and whether the shapes can reach each other at all (a flyer without
  // shapes reaches nothing), without branches: the answer varies from one box to the next
  // too much for a guess to pay.
  auto meet = [&a](const TEdges& b) {
    return (a.X <= b.Right) & (b.X <= a.Right) & (a.Y <= b.Bottom) & (b.Y <= a.Bottom) &
           Meet(a.Reach, b.Reach);
  };
  uint32_t n = 0;
  if (!Gridded()) {
    for (uint32_t j = i + 1; j < edges_.size(); ++j) {
      met[n] = j;
      n += meet(edges_[j]);
    }
    return n;
  }
  const TBox& box = boxes_[i];
  for (int32_t r = box.R0; r <= box.R1; ++r) {
    for (int32_t c = box.C0; c <= box.C1; ++c) {
      const auto cell = static_cast<size_t>(r * columns_ + c);
      const uint32_t* first = members_.data() + cellStart_[cell];
      // Members are in list order: the later ones are at the end. A pair that spans
      // several cells is taken only in the cell of its common top left corner.
      for (const uint32_t* k = members_.data() + cellStart_[cell + 1]; k != first && k[-1] > i;) {
        const uint32_t j = *--k;
        const TEdges& b = edges_[j];
        met[n] = j;
        n += static_cast<uint32_t>(std::max(a.C0, b.C0) == c) &
             static_cast<uint32_t>(std::max(a.R0, b.R0) == r) & static_cast<uint32_t>(meet(b));
      }
    }
  }
  std::sort(met, met + n);
  return n;
}

// Whether any shape of one meets any shape of the other, by the rules of RectsOverlap,
// CirclesOverlap and CircleRect: the answer does not depend on the order the pairs are tried,
// and shapes that cannot reach each other need no closer look.
bool TFlyerGrid::ShapesMeet(uint32_t i, uint32_t j) const {
  const TBox& a = boxes_[i];
  const TBox& b = boxes_[j];
  auto circleRect = [](const TPlaced& c, const TPlaced& r) {
    const int64_t r2 = Square(c.C);
    auto inCircle = [&](int64_t x, int64_t y) { return Square(x - c.A) + Square(y - c.B) <= r2; };
    if (inCircle(r.A, r.B) || inCircle(r.C, r.B) || inCircle(r.A, r.D) || inCircle(r.C, r.D)) {
      return true;
    }
    auto inRect = [&](int64_t x, int64_t y) {
      return r.A <= x && x <= r.C && r.B <= y && y <= r.D;
    };
    return inRect(c.A + c.C, c.B) || inRect(c.A - c.C, c.B) || inRect(c.A, c.B + c.C) ||
           inRect(c.A, c.B - c.C);
  };
  for (uint32_t ka = a.FirstShape; ka < a.EndShape; ++ka) {
    const TPlaced& sa = shapes_[ka];
    for (uint32_t kb = b.FirstShape; kb < b.EndShape; ++kb) {
      const TPlaced& sb = shapes_[kb];
      if (!Meet(sa.Ext, sb.Ext)) continue;
      bool hit;
      if (sa.Circle && sb.Circle) {
        hit = Square(sa.A - sb.A) + Square(sa.B - sb.B) < Square(sa.C + sb.C);
      } else if (sa.Circle) {
        hit = circleRect(sa, sb);
      } else if (sb.Circle) {
        hit = circleRect(sb, sa);
      } else {
        hit = sa.A <= sb.C && sb.A <= sa.C && sa.B <= sb.D && sb.B <= sa.D;
      }
      if (hit) return true;
    }
  }
  return false;
}
