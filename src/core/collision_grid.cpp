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

TFlyerGrid::TExtent Reach(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
  return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

TFlyerGrid::TExtent Union(const TFlyerGrid::TExtent& a, const TFlyerGrid::TExtent& b) {
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
          std::max(a.Bottom, b.Bottom)};
}

bool Meet(const TFlyerGrid::TExtent& a, const TFlyerGrid::TExtent& b) {
  return (a.Left <= b.Right) & (b.Left <= a.Right) & (a.Top <= b.Bottom) & (b.Top <= a.Bottom);
}

// The interval rule, and whether the shapes can reach each other at all (a flyer without
// shapes reaches nothing), without branches: the answer varies from one box to the next too
// much for a guess to pay.
template <class T>
uint32_t BoxesMeet(const T& a, const T& b) {
  return static_cast<uint32_t>((a.X <= b.Right) & (b.X <= a.Right) & (a.Y <= b.Bottom) &
                               (b.Y <= a.Bottom) & Meet(a.Reach, b.Reach));
}

uint64_t Pair(uint32_t i, uint32_t j) {
  return static_cast<uint64_t>(i) << 32 | j;
}

}  // namespace

// The rules of CirclesOverlap, RectsOverlap and CircleRect on placed shapes.
bool TFlyerGrid::CirclesMeet(const TCircle& a, const TCircle& b) {
  return Square(a.X - b.X) + Square(a.Y - b.Y) < Square(a.R + b.R);
}

bool TFlyerGrid::RectsMeet(const TRect& a, const TRect& b) {
  return (a.Left <= b.Right) & (b.Left <= a.Right) & (a.Top <= b.Bottom) & (b.Top <= a.Bottom);
}

[[gnu::always_inline]] inline bool TFlyerGrid::CircleRectMeet(const TCircle& c, const TRect& r) {
  // Either rule puts a point of the rectangle in the circle (a corner, or an extreme point of
  // the circle lying in it), so a circle farther from the rectangle than its radius misses.
  const int64_t left = std::min(r.Left, r.Right), right = std::max(r.Left, r.Right);
  const int64_t top = std::min(r.Top, r.Bottom), bottom = std::max(r.Top, r.Bottom);
  const int64_t dx = std::max<int64_t>({left - c.X, 0, c.X - right});
  const int64_t dy = std::max<int64_t>({top - c.Y, 0, c.Y - bottom});
  const int64_t radius = c.R < 0 ? -c.R : c.R;
  if ((dx > radius) | (dy > radius)) return false;
  const int64_t r2 = Square(c.R);
  if (Square(dx) + Square(dy) > r2) return false;
  // Integers, not booleans: the eight tests are or-ed without a branch between them.
  auto inCircle = [&](int64_t x, int64_t y) -> int {
    return Square(x - c.X) + Square(y - c.Y) <= r2;
  };
  auto inRect = [&](int64_t x, int64_t y) -> int {
    return (r.Left <= x) & (x <= r.Right) & (r.Top <= y) & (y <= r.Bottom);
  };
  return inCircle(r.Left, r.Top) | inCircle(r.Right, r.Top) | inCircle(r.Left, r.Bottom) |
         inCircle(r.Right, r.Bottom) | inRect(c.X + c.R, c.Y) | inRect(c.X - c.R, c.Y) |
         inRect(c.X, c.Y + c.R) | inRect(c.X, c.Y - c.R);
}

void TFlyerGrid::Build(const TFlyerList& list, int32_t cellShift, TUse use) {
  shift_ = cellShift;
  columns_ = ((kGridRight - kGridLeft) >> shift_) + 1;
  rows_ = ((kGridBottom - kGridTop) >> shift_) + 1;
  flyers_.clear();
  own_.clear();
  spans_.clear();
  circles_.clear();
  rects_.clear();
  circleStart_.clear();
  rectStart_.clear();
  for (auto* n = list.Head(); n; n = n->Next) {
    TFlyer& f = *n->Object;
    circleStart_.push_back(static_cast<uint32_t>(circles_.size()));
    rectStart_.push_back(static_cast<uint32_t>(rects_.size()));
    // A shape reaches no further than its extent (a circle its radius either way, a
    // rectangle of negative size back from its corner), and two shapes that meet by any of
    // the rules reach each other; the flyer's shapes together reach their common extent.
    // Whether shapes meet does not depend on the order they are tried in, so circles and
    // rectangles are kept apart; shapes of no kind are never tested and are left out.
    TExtent reach{INT64_MAX, INT64_MAX, INT64_MIN, INT64_MIN};
    for (const TShape* s = f.Shapes.get(); s; s = s->Next.get()) {
      if (const TCircleRec* c = s->Circle()) {
        const TCircle placed{static_cast<int64_t>(f.X) + c->CX, static_cast<int64_t>(f.Y) + c->CY,
                             c->Radius};
        circles_.push_back(placed);
        reach = Union(reach, Reach(placed.X - placed.R, placed.Y - placed.R, placed.X + placed.R,
                                   placed.Y + placed.R));
      } else if (const TRectRec* r = s->Rect()) {
        const int64_t left = static_cast<int64_t>(f.X) + r->Left;
        const int64_t top = static_cast<int64_t>(f.Y) + r->Top;
        const TRect placed{left, top, left + r->Width, top + r->Height};
        rects_.push_back(placed);
        reach = Union(reach, Reach(placed.Left, placed.Top, placed.Right, placed.Bottom));
      }
    }
    // What the box spans. A negative size spans back from X or Y: such a box contains no
    // point, but by the interval rule it can still meet a box, always one covering this span.
    const int64_t right = static_cast<int64_t>(f.X) + f.Width;
    const int64_t bottom = static_cast<int64_t>(f.Y) + f.Height;
    spans_.push_back({Column(std::min<int64_t>(f.X, right)), Column(std::max<int64_t>(f.X, right)),
                      Row(std::min<int64_t>(f.Y, bottom)), Row(std::max<int64_t>(f.Y, bottom))});
    own_.push_back({right, bottom, reach, f.X, f.Y, static_cast<uint32_t>(flyers_.size()), 0});
    flyers_.push_back(&f);
  }
  circleStart_.push_back(static_cast<uint32_t>(circles_.size()));
  rectStart_.push_back(static_cast<uint32_t>(rects_.size()));
  cellStart_.clear();
  pairBound_ =
      static_cast<uint64_t>(flyers_.size()) * (flyers_.size() - (flyers_.empty() ? 0 : 1)) / 2;
  if (flyers_.size() < kGridFrom) {
    all_.resize(flyers_.size());
    for (uint32_t i = 0; i < all_.size(); ++i) all_[i] = i;
    return;
  }
  auto forEachCell = [&](auto&& f) {
    for (uint32_t i = 0; i < spans_.size(); ++i) {
      const TSpan& s = spans_[i];
      for (int32_t r = s.R0; r <= s.R1; ++r) {
        for (int32_t c = s.C0; c <= s.C1; ++c) {
          f(static_cast<size_t>(r * columns_ + c), i,
            (c == s.C0 ? 1u : 0u) | (r == s.R0 ? 2u : 0u));
        }
      }
    }
  };
  const auto cells = static_cast<size_t>(columns_ * rows_);
  cellStart_.assign(cells + 1, 0);
  forEachCell([&](size_t cell, uint32_t, uint32_t) { ++cellStart_[cell + 1]; });
  for (size_t k = 1; k <= cells; ++k) cellStart_[k] += cellStart_[k - 1];
  fill_.assign(cellStart_.begin(), cellStart_.end() - 1);
  if (use == TUse::Points) {
    members_.resize(cellStart_[cells]);
    forEachCell([&](size_t cell, uint32_t i, uint32_t) { members_[fill_[cell]++] = i; });
    return;
  }
  filed_.resize(cellStart_[cells]);
  forEachCell([&](size_t cell, uint32_t i, uint32_t begins) {
    TFiled& f = filed_[fill_[cell]++];
    f = own_[i];
    f.Begins = begins;
  });
  // A cell pairs its boxes at most once each.
  pairBound_ = 0;
  for (size_t k = 0; k < cells; ++k) {
    const uint64_t m = cellStart_[k + 1] - cellStart_[k];
    pairBound_ += m * (m - (m ? 1 : 0)) / 2;
  }
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
bool TFlyerGrid::Contains(const TFiled& e, TPoint p) const {
  const TExtent& reach = e.Reach;
  if (!((e.X <= p.X) & (p.X <= e.Right) & (e.Y <= p.Y) & (p.Y <= e.Bottom) & (reach.Left <= p.X) &
        (p.X <= reach.Right) & (reach.Top <= p.Y) & (p.Y <= reach.Bottom))) {
    return false;
  }
  const int64_t x = p.X, y = p.Y;
  bool in = false;
  for (uint32_t k = circleStart_[e.Index]; k < circleStart_[e.Index + 1]; ++k) {
    const TCircle& c = circles_[k];
    in |= Square(x - c.X) + Square(y - c.Y) <= Square(c.R);
  }
  for (uint32_t k = rectStart_[e.Index]; k < rectStart_[e.Index + 1]; ++k) {
    const TRect& r = rects_[k];
    in |= (r.Left <= x) & (x <= r.Right) & (r.Top <= y) & (y <= r.Bottom);
  }
  return in;
}

void TFlyerGrid::FindPairs(uint32_t first, uint32_t end) {
  end = std::min(end, Count());
  first = std::min(first, end);
  pairsFrom_ = first;
  if (Gridded()) {
    PairsInCells(first, end);
    OrderPairs(first, end);
    return;
  }
  // A short list is walked pair by pair, which finds them in order.
  partnerStart_.assign(end - first + 1, 0);
  partners_.clear();
  for (uint32_t i = first; i < end; ++i) {
    for (uint32_t j = i + 1; j < Count(); ++j) {
      if (BoxesMeet(own_[i], own_[j]) && ShapesMeet(i, j)) partners_.push_back(j);
    }
    partnerStart_[i - first + 1] = static_cast<uint32_t>(partners_.size());
  }
}

// Each cell pairs its boxes among themselves; a cell's list is in list order, so the earlier
// of two always comes first. Boxes are paired without branches, with room made beforehand,
// and their shapes compared afterwards.
void TFlyerGrid::PairsInCells(uint32_t first, uint32_t end) {
  size_t n = 0;
  const size_t cells = cellStart_.size() - 1;
  for (size_t cell = 0; cell < cells; ++cell) {
    const TFiled* const cellFirst = filed_.data() + cellStart_[cell];
    const TFiled* const cellLast = filed_.data() + cellStart_[cell + 1];
    const TFiled* a = std::lower_bound(cellFirst, cellLast, first,
                                       [](const TFiled& f, uint32_t i) { return f.Index < i; });
    for (; a != cellLast && a->Index < end; ++a) {
      const size_t room = n + static_cast<size_t>(cellLast - a);
      if (room > met_.size()) met_.resize(std::max(room, met_.size() * 2));
      uint64_t* const out = met_.data();
      for (const TFiled* b = a + 1; b != cellLast; ++b) {
        out[n] = Pair(a->Index, b->Index);
        n += BoxesMeet(*a, *b) & static_cast<uint32_t>((a->Begins | b->Begins) == 3);
      }
    }
  }
  uint64_t* const met = met_.data();
  metCount_ = 0;
  for (size_t k = 0; k < n; ++k) {
    met[metCount_] = met[k];
    metCount_ += ShapesMeet(static_cast<uint32_t>(met[k] >> 32), static_cast<uint32_t>(met[k]));
  }
}

// The pairs in the order of the plain walk: each earlier flyer in list order, and its
// partners in list order. Two stable counting sorts, by the later one, then by the earlier.
void TFlyerGrid::OrderPairs(uint32_t first, uint32_t end) {
  const uint64_t* const met = met_.data();
  count_.assign(Count() + 1, 0);
  for (size_t k = 0; k < metCount_; ++k) ++count_[static_cast<uint32_t>(met[k]) + 1];
  for (size_t k = 1; k < count_.size(); ++k) count_[k] += count_[k - 1];
  byLater_.resize(metCount_);
  for (size_t k = 0; k < metCount_; ++k) byLater_[count_[static_cast<uint32_t>(met[k])]++] = met[k];
  const uint32_t earlier = end - first;
  partnerStart_.assign(earlier + 1, 0);
  for (const uint64_t p : byLater_) ++partnerStart_[(p >> 32) - first + 1];
  for (size_t k = 1; k <= earlier; ++k) partnerStart_[k] += partnerStart_[k - 1];
  count_.assign(partnerStart_.begin(), partnerStart_.end() - 1);
  partners_.resize(byLater_.size());
  for (const uint64_t p : byLater_) {
    partners_[count_[(p >> 32) - first]++] = static_cast<uint32_t>(p);
  }
}

TFlyerGrid::TPartners TFlyerGrid::Partners(uint32_t i) const {
  if (i < pairsFrom_ || i - pairsFrom_ + 1 >= partnerStart_.size()) return {nullptr, nullptr};
  const uint32_t k = i - pairsFrom_;
  return {partners_.data() + partnerStart_[k], partners_.data() + partnerStart_[k + 1]};
}

// Whether any shape of one meets any shape of the other. The cheap tests go first, each
// kind against each kind without branches.
bool TFlyerGrid::ShapesMeet(uint32_t i, uint32_t j) const {
  const TCircle* const ca = circles_.data() + circleStart_[i];
  const TCircle* const caEnd = circles_.data() + circleStart_[i + 1];
  const TCircle* const cb = circles_.data() + circleStart_[j];
  const TCircle* const cbEnd = circles_.data() + circleStart_[j + 1];
  const TRect* const ra = rects_.data() + rectStart_[i];
  const TRect* const raEnd = rects_.data() + rectStart_[i + 1];
  const TRect* const rb = rects_.data() + rectStart_[j];
  const TRect* const rbEnd = rects_.data() + rectStart_[j + 1];
  bool hit = false;
  for (const TCircle* a = ca; a != caEnd; ++a) {
    for (const TCircle* b = cb; b != cbEnd; ++b) hit |= CirclesMeet(*a, *b);
  }
  for (const TRect* a = ra; a != raEnd; ++a) {
    for (const TRect* b = rb; b != rbEnd; ++b) hit |= RectsMeet(*a, *b);
  }
  if (hit) return true;
  for (const TCircle* a = ca; a != caEnd; ++a) {
    for (const TRect* b = rb; b != rbEnd; ++b) {
      if (CircleRectMeet(*a, *b)) return true;
    }
  }
  for (const TCircle* b = cb; b != cbEnd; ++b) {
    for (const TRect* a = ra; a != raEnd; ++a) {
      if (CircleRectMeet(*b, *a)) return true;
    }
  }
  return false;
}
