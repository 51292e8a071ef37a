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
  struct TPartners {
    const uint32_t* first;
    const uint32_t* last;
    const uint32_t* begin() const { return first; }
    const uint32_t* end() const { return last; }
  };

  // What the grid is asked about: points find flyers through a cell's list of their places
  // in the list; boxes pair flyers from the copies a cell keeps of them.
  enum class TUse { Points, Boxes };
  // Cells of 2^cellShift pixels: small ones suit single points, larger ones boxes, which
  // then span fewer cells.
  void Build(const TFlyerList& list, int32_t cellShift, TUse use);
  uint32_t Count() const { return static_cast<uint32_t>(flyers_.size()); }
  TFlyer& Flyer(uint32_t i) const { return *flyers_[i]; }

  // Calls f(i) for every flyer whose box and shapes contain the point, each once, in no
  // particular order.
  template <class F>
  void ForEachAt(TPoint p, F&& f) const {
    const auto [first, last] = Candidates(p);
    for (const uint32_t* k = first; k != last; ++k) {
      if (Contains(own_[*k], p)) f(*k);
    }
  }
  // Finds, for each flyer i from first to before end, the flyers j after it in the list
  // whose boxes overlap its box and whose shapes overlap its shapes. Partners(i) then lists
  // them in list order, until the next FindPairs or Build. The memory this takes grows with
  // the pairs found, so a crowd too dense for one go is best taken a stretch at a time.
  void FindPairs(uint32_t first, uint32_t end);
  TPartners Partners(uint32_t i) const;
  // At least as many pairs as FindPairs can find over the whole list (built for boxes).
  uint64_t PairBound() const { return pairBound_; }

 private:
  // Shapes placed at their owner's position. A rectangle's Right is Left + Width, even when
  // that is less than Left (such a rectangle contains no point but has corners).
  struct TCircle {
    int64_t X, Y, R;
  };
  struct TRect {
    int64_t Left, Top, Right, Bottom;
  };
  static bool CirclesMeet(const TCircle& a, const TCircle& b);
  static bool RectsMeet(const TRect& a, const TRect& b);
  static bool CircleRectMeet(const TCircle& c, const TRect& r);
  // ShapesOverlap of flyers i and j.
  bool ShapesMeet(uint32_t i, uint32_t j) const;
  // What the searches read of a flyer, packed: the box's ends, what its shapes can reach, and
  // its place in the list. A copy is filed in every cell the box spans, so that a search
  // reads a cell's flyers from one stretch of memory instead of fetching each from afar.
  struct TFiled {
    int64_t Right, Bottom;  // X + Width, Y + Height
    TExtent Reach;
    int32_t X, Y;
    uint32_t Index;
    // Whether the box begins in the cell's column (1) and row (2): two boxes that meet are
    // paired only in the first cell of both their spans, where these make 3 together.
    uint32_t Begins;
  };
  // The cells a box spans, both ends included.
  struct TSpan {
    int32_t C0, C1, R0, R1;
  };
  struct TRange {
    const uint32_t* first;
    const uint32_t* last;
  };
  TRange Candidates(TPoint p) const;
  bool Contains(const TFiled& f, TPoint p) const;
  bool Gridded() const { return !cellStart_.empty(); }
  int32_t Column(int64_t x) const;
  int32_t Row(int64_t y) const;
  void PairsInCells(uint32_t first, uint32_t end);
  void OrderPairs(uint32_t first, uint32_t end);

  std::vector<TFlyer*> flyers_;  // list order, head first
  std::vector<TFiled> own_;      // the same order
  std::vector<TSpan> spans_;     // the same order
  // Flyer i's circles are circles_[circleStart_[i] ..[i + 1]), its rectangles likewise.
  std::vector<uint32_t> circleStart_, rectStart_;
  std::vector<TCircle> circles_;
  std::vector<TRect> rects_;
  // Cell k holds filed_ or members_[cellStart_[k] ..[k + 1]), in list order.
  std::vector<uint32_t> cellStart_;
  std::vector<TFiled> filed_;
  std::vector<uint32_t> members_;
  std::vector<uint32_t> all_;  // 0, 1, ... for a list too short to grid
  std::vector<uint32_t> fill_;
  // The pairs found: as met, then Partners(i) = partners_[partnerStart_[i - first] ..].
  std::vector<uint64_t> met_;  // (earlier << 32 | later), the first metCount_ of it
  size_t metCount_ = 0;
  std::vector<uint64_t> byLater_;
  std::vector<uint32_t> partnerStart_;
  std::vector<uint32_t> partners_;
  std::vector<uint32_t> count_;
  uint32_t pairsFrom_ = 0;
  uint64_t pairBound_ = 0;
  int32_t shift_ = 5, columns_ = 1, rows_ = 1;
};
