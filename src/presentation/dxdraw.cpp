#include "presentation/dxdraw.h"

#include "presentation/image_list.h"

TDXDraw::TDXDraw(platform::Backend& backend) : backend_(backend) {}

void TDXDraw::Initialize() {
  surface_.Fill(clBlack);
  initialized_ = true;
  for (TDXImageList* list : lists_) list->Items.Restore();
}

bool TDXDraw::CanDraw() {
  return initialized_;
}

void TDXDraw::Flip() {}

void TDXDraw::Repaint() {}
