// Sprite image lists: items hold a picture cut into equal patterns, drawn with a colour key.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "presentation/color.h"
#include "presentation/picture.h"
#include "presentation/surface.h"

class TDXDraw;
class TDXImageList;

class TPictureCollectionItem {
 public:
  explicit TPictureCollectionItem(TDXImageList& owner) : owner_(owner) {}

  std::string Name;
  TPicture Picture;
  int32_t PatternWidth = 0;   // 0 = the picture's width
  int32_t PatternHeight = 0;  // 0 = the picture's height
  int32_t SkipWidth = 0;
  int32_t SkipHeight = 0;
  bool SystemMemory = false;
  bool Transparent = true;  // read at every Draw

  TColor TransparentColor() const { return transparentColor_; }
  // Takes effect at once on existing patterns and on every later Restore.
  void SetTransparentColor(TColor c);

  // (Re)builds the patterns from the picture if the list's surface is initialised;
  // otherwise does nothing (the patterns are built when the surface initialises).
  void Restore();

  // Draws one pattern with its top-left corner at (x, y), clipped to the surface. Nothing is
  // drawn for an uninitialised item or a pattern index out of range.
  void Draw(TDirectDrawSurface& dest, int32_t x, int32_t y, int32_t pattern) const;

  bool Initialized() const { return initialized_; }
  int32_t PatternCount() const { return static_cast<int32_t>(patterns_.size()); }

  struct Pattern {
    int32_t Left, Top, Width, Height;  // rectangle of the stored picture
    // The runs of pixels that differ from the key, row by row: row r's runs are
    // spans[rowStart[r]] .. spans[rowStart[r + 1]] - 1.
    std::vector<uint32_t> rowStart;
    struct Span {
      uint16_t x, length;  // from the pattern's left edge
    };
    std::vector<Span> spans;
  };
  const Pattern& PatternRect(int32_t i) const { return patterns_[static_cast<size_t>(i)]; }

 private:
  friend class TDXImageList;
  void Build();       // step 1 of Restore, unconditionally
  void BuildSpans();  // the key's runs of every pattern, for the current key

  TDXImageList& owner_;
  TColor transparentColor_ = clBlack;
  bool initialized_ = false;
  int32_t storeWidth_ = 0;
  int32_t storeHeight_ = 0;
  std::vector<uint32_t> store_;  // the picture in the back buffer's format
  uint32_t keyPixel_ = 0;
  std::vector<Pattern> patterns_;
};

class TPictureCollection {
 public:
  explicit TPictureCollection(TDXImageList& owner) : owner_(owner) {}
  TPictureCollectionItem& Add();
  TPictureCollectionItem& operator[](int32_t index) {
    return items_.at(static_cast<size_t>(index));
  }
  const TPictureCollectionItem& operator[](int32_t index) const {
    return items_.at(static_cast<size_t>(index));
  }
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  void Restore();

 private:
  TDXImageList& owner_;
  std::deque<TPictureCollectionItem> items_;  // deque: references stay valid on Add
};

class TDXImageList {
 public:
  // Binds the list to its surface; the surface's Initialize builds every item's patterns.
  explicit TDXImageList(TDXDraw& draw);
  TDXImageList(const TDXImageList&) = delete;
  TDXImageList& operator=(const TDXImageList&) = delete;

  TDXDraw& DXDraw;
  TPictureCollection Items{*this};
};
