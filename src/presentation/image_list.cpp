#include "presentation/image_list.h"

#include <algorithm>
#include <cstring>

#include "presentation/dxdraw.h"

TDXImageList::TDXImageList(TDXDraw& draw) : DXDraw(draw) {
  draw.Bind(*this);
}

TPictureCollectionItem& TPictureCollection::Add() {
  return items_.emplace_back(owner_);
}

void TPictureCollection::Restore() {
  for (auto& item : items_) item.Restore();
}

void TPictureCollectionItem::SetTransparentColor(TColor c) {
  transparentColor_ = c & 0xFFFFFF;
  const uint32_t key = ColorToPixel(transparentColor_);
  if (key == keyPixel_ && initialized_) return;
  keyPixel_ = key;
  if (initialized_) BuildSpans();
}

void TPictureCollectionItem::Restore() {
  if (owner_.DXDraw.Initialized()) Build();
}

void TPictureCollectionItem::Build() {
  if (Picture.Empty()) return;  // an item without a picture keeps what it has
  const int32_t w = Picture.Width;
  const int32_t h = Picture.Height;
  if (Picture.Pixels.size() < static_cast<size_t>(w) * static_cast<size_t>(h)) return;
  const int32_t pw = PatternWidth > 0 ? PatternWidth : w;
  const int32_t ph = PatternHeight > 0 ? PatternHeight : h;
  const int32_t sw = std::max(0, SkipWidth);
  const int32_t sh = std::max(0, SkipHeight);

  patterns_.clear();
  if (pw == w && ph == h) {
    patterns_.push_back({0, 0, w, h, {}, {}});
  } else {
    const int32_t columns = (w + sw) / (pw + sw);
    const int32_t rows = (h + sh) / (ph + sh);
    for (int32_t r = 0; r < rows; ++r) {
      for (int32_t c = 0; c < columns; ++c) {
        patterns_.push_back({c * (pw + sw), r * (ph + sh), pw, ph, {}, {}});
      }
    }
  }
  // Converted to the back buffer's format once, here: the unused top byte is cleared so the
  // key compares exactly the 24-bit colour.
  store_.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (size_t i = 0; i < store_.size(); ++i) store_[i] = Picture.Pixels[i] & 0x00FFFFFFu;
  storeWidth_ = w;
  storeHeight_ = h;
  keyPixel_ = ColorToPixel(transparentColor_);
  initialized_ = true;
  BuildSpans();
}

void TPictureCollectionItem::BuildSpans() {
  for (Pattern& p : patterns_) {
    p.rowStart.assign(static_cast<size_t>(p.Height) + 1, 0);
    p.spans.clear();
    for (int32_t r = 0; r < p.Height; ++r) {
      const uint32_t* src = store_.data() +
                            static_cast<size_t>(p.Top + r) * static_cast<size_t>(storeWidth_) +
                            p.Left;
      int32_t x = 0;
      while (x < p.Width) {
        while (x < p.Width && src[x] == keyPixel_) ++x;
        const int32_t start = x;
        while (x < p.Width && src[x] != keyPixel_) ++x;
        // Spans are 16-bit: a longer run is split.
        for (int32_t s = start; s < x; s += 0xFFFF) {
          p.spans.push_back(
              {static_cast<uint16_t>(s), static_cast<uint16_t>(std::min(x - s, 0xFFFF))});
        }
      }
      p.rowStart[static_cast<size_t>(r) + 1] = static_cast<uint32_t>(p.spans.size());
    }
  }
}

void TPictureCollectionItem::Draw(TDirectDrawSurface& dest, int32_t x, int32_t y,
                                  int32_t pattern) const {
  if (!initialized_ || pattern < 0 || pattern >= PatternCount()) return;
  if (dest.SpriteDrawn) dest.SpriteDrawn(*this, x, y, pattern);
  if (x > dest.Width() || y > dest.Height()) return;
  const Pattern& p = patterns_[static_cast<size_t>(pattern)];

  // The visible part in the pattern's own coordinates: [cx0, cx1) x [cy0, cy1). Cutting one
  // side of the destination cuts the same pixels off the source.
  const int64_t cx0 = std::max<int64_t>(0, -int64_t{x});
  const int64_t cy0 = std::max<int64_t>(0, -int64_t{y});
  const int64_t cx1 = std::min<int64_t>(p.Width, int64_t{dest.Width()} - x);
  const int64_t cy1 = std::min<int64_t>(p.Height, int64_t{dest.Height()} - y);
  if (cx0 >= cx1 || cy0 >= cy1) return;

  for (int64_t r = cy0; r < cy1; ++r) {
    const uint32_t* src = store_.data() +
                          static_cast<size_t>(p.Top + r) * static_cast<size_t>(storeWidth_) +
                          static_cast<size_t>(p.Left);
    uint32_t* out = dest.Row(static_cast<int32_t>(y + r));
    const int64_t at = x;  // pattern column c lands on out[at + c]
    if (!Transparent) {
      std::memcpy(out + (at + cx0), src + cx0, static_cast<size_t>(cx1 - cx0) * sizeof(uint32_t));
      continue;
    }
    const auto first = p.rowStart[static_cast<size_t>(r)];
    const auto last = p.rowStart[static_cast<size_t>(r) + 1];
    for (auto i = first; i < last; ++i) {
      const auto& span = p.spans[i];
      const int64_t s0 = std::max<int64_t>(span.x, cx0);
      const int64_t s1 = std::min<int64_t>(int64_t{span.x} + span.length, cx1);
      if (s0 < s1) {
        std::memcpy(out + (at + s0), src + s0, static_cast<size_t>(s1 - s0) * sizeof(uint32_t));
      }
    }
  }
}
