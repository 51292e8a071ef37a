// One circle or rectangle of a flyer's hit area, relative to the flyer's X, Y. A flyer's
// shapes form a singly linked list; new shapes are linked in front.
#pragma once

#include <cstdint>
#include <memory>

struct TCircleRec {
  int32_t Radius = 0;
  int32_t CX = 0;
  int32_t CY = 0;
};

// Covers Left .. Left + Width and Top .. Top + Height, both ends included.
struct TRectRec {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
};

enum TShapeKind : uint8_t { skRect = 0, skCircle = 1, skNone = 255 };

class TShape {
 public:
  uint8_t Kind = skNone;
  std::unique_ptr<TShape> Next;

  // The record that matches Kind is present; the other is absent.
  const TCircleRec* Circle() const { return Kind == skCircle ? &circle_ : nullptr; }
  const TRectRec* Rect() const { return Kind == skRect ? &rect_ : nullptr; }

  void SetRect(int32_t left, int32_t top, int32_t width, int32_t height) {
    Kind = skRect;
    rect_ = {left, top, width, height};
    circle_ = {};
  }
  void SetCircle(int32_t cx, int32_t cy, int32_t radius) {
    Kind = skCircle;
    circle_ = {radius, cx, cy};
    rect_ = {};
  }

 private:
  // Held inline: a shape is read in every collision test, so no pointer chase per record.
  TCircleRec circle_;
  TRectRec rect_;
};
