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
  transparentColor_ = c;
  keyPixel_ = ColorToPixel(c);
}

void TPictureCollectionItem::Restore() {
  if (owner_.DXDraw.Initialized()) Build();
}

void TPictureCollectionItem::Build() {
  if (Picture.Empty()) return;  // an item without a picture keeps what it has
  const int32_t w = Picture.Width;
  const int32_t h = Picture.Height;
  const int32_t pw = PatternWidth > 0 ? PatternWidth : w;
  const int32_t ph = PatternHeight > 0 ? PatternHeight : h;
  const int32_t sw = std::max(0, SkipWidth);
  const int32_t sh = std::max(0, SkipHeight);

  patterns_.clear();
  if (pw == w && ph == h) {
    patterns_.push_back({0, 0, w, h});
  } else {
    const int32_t columns = (w + sw) / (pw + sw);
    const int32_t rows = (h + sh) / (ph + sh);
    for (int32_t r = 0; r < rows; ++r) {
      for (int32_t c = 0; c < columns; ++c) {
        patterns_.push_back({c * (pw + sw), r * (ph + sh), pw, ph});
      }
    }
  }
  // The picture already holds the back buffer's pixel format.
  store_ = Picture.Pixels;
  storeWidth_ = w;
  storeHeight_ = h;
  keyPixel_ = ColorToPixel(transparentColor_);
  initialized_ = true;
}

void TPictureCollectionItem::Draw(TDirectDrawSurface& dest, int32_t x, int32_t y,
                                  int32_t pattern) const {
  if (!initialized_ || pattern < 0 || pattern >= PatternCount()) return;
  if (x > dest.Width() || y > dest.Height()) return;
  const Pattern& p = patterns_[static_cast<size_t>(pattern)];

  // Clip the destination to the surface; each cut on one side cuts the source equally.
  int32_t sx = p.Left, sy = p.Top, w = p.Width, h = p.Height;
  if (x < 0) {
    sx -= x;
    w += x;
    x = 0;
  }
  if (y < 0) {
    sy -= y;
    h += y;
    y = 0;
  }
  w = std::min(w, dest.Width() - x);
  h = std::min(h, dest.Height() - y);
  // And the source to its own store.
  w = std::min(w, storeWidth_ - sx);
  h = std::min(h, storeHeight_ - sy);
  if (w <= 0 || h <= 0) return;

  for (int32_t row = 0; row < h; ++row) {
    const uint32_t* src = store_.data() + static_cast<size_t>(sy + row) * storeWidth_ + sx;
    uint32_t* out = dest.Row(y + row) + x;
    if (!Transparent) {
      std::memcpy(out, src, static_cast<size_t>(w) * sizeof(uint32_t));
      continue;
    }
    for (int32_t i = 0; i < w; ++i) {
      if (src[i] != keyPixel_) out[i] = src[i];
    }
  }
}
