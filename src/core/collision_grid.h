// A collision pass's picture of the flying objects: each one's box and hit shapes placed at
// its position, in list order from the head, and the boxes filed in a coarse grid so that a
// point or a box meets only its neighbours. Nothing moves during a pass and shapes never
// change after construction, so the picture answers exactly as the objects would; what it
// buys is speed, positions and shapes read from arrays instead of from the heap.
#pragma once

#include <cstdint>
#include <vector>

#include "core/collision.h"
#include "core/lists.h"

class TFlyerGrid {
 public:
  // The span of x and y something covers, both ends included.
  struct TExtent {
    int64_t Left, Top, Right, Bottom;
  };

  // Cells of 2^cellShift pixels: small ones suit single points, larger ones boxes, which
  // then span fewer cells.
  void Build(const TFlyerList& list, int32_t cellShift);
  uint32_t Count() const { return static_cast<uint32_t>(boxes_.size()); }
  TFlyer& Flyer(uint32_t i) const { return *boxes_[i].Flyer; }

  // Calls f(i) for every flyer whose box and shapes contain the point, in list order.
  template <class F>
  void ForEachAt(TPoint p, F&& f) const {
    const auto [first, last] = Candidates(p);
    for (const uint32_t* k = first; k != last; ++k) {
      if (Contains(*k, p)) f(*k);
    }
  }
  // Writes the flyers after flyer i in the list whose boxes meet its box and whose shapes
  // may meet its shapes, in list order, to met (room for Count()); returns how many.
  uint32_t Meeting(uint32_t i, uint32_t* met) const;
  // ShapesOverlap of flyers i and j.
  bool ShapesMeet(uint32_t i, uint32_t j) const;

 private:
  // A shape placed at its owner's position: a rectangle as Left, Top, Left + Width,
  // Top + Height; a circle as CX, CY, Radius. Ext is what it can reach.
  struct TPlaced {
    int64_t A, B, C, D;
    TExtent Ext;
    bool Circle;
  };
  struct TBox {
    int32_t X, Y, Width, Height;
    TFlyer* Flyer;
    uint32_t FirstShape, EndShape;
    int32_t C0, C1, R0, R1;  // the cells the box spans
  };
  // What the search for meeting boxes reads, packed: the box's ends, what its shapes can
  // reach, and its first cell.
  struct TEdges {
    int64_t Right, Bottom;  // X + Width, Y + Height
    TExtent Reach;
    int32_t X, Y;
    int32_t C0, R0;
  };
  struct TRange {
    const uint32_t* first;
    const uint32_t* last;
  };
  TRange Candidates(TPoint p) const;
  bool Contains(uint32_t i, TPoint p) const;
  bool Gridded() const { return !cellStart_.empty(); }
  int32_t Column(int64_t x) const;
  int32_t Row(int64_t y) const;

  std::vector<TBox> boxes_;          // list order, head first
  std::vector<TEdges> edges_;        // the same order
  std::vector<TPlaced> shapes_;      // each box's shapes in list order
  std::vector<uint32_t> all_;        // 0, 1, ... for a list too short to grid
  std::vector<uint32_t> cellStart_;  // the boxes of cell k are members_[cellStart_[k] ..]
  std::vector<uint32_t> members_;    // box indexes, in list order within each cell
  std::vector<uint32_t> fill_;
  int32_t shift_ = 5, columns_ = 1, rows_ = 1;
};
