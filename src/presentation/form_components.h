// The main window's non-visual components, as its form description builds them: the drawing
// surface, the eight image lists with their form items, the input component, the sound
// device and the four wave lists. The game reaches pictures and sounds only through these,
// by list and index.
#pragma once

#include "presentation/dxdraw.h"
#include "presentation/dxinput.h"
#include "presentation/dxsound.h"
#include "presentation/image_list.h"
#include "presentation/window.h"

namespace platform {
class Backend;
}

class TFormComponents {
 public:
  // Builds every component and the items the form defines (the built-in pictures "strela",
  // "vystrel kanonu" and "maly vybuch", the empty sprite items, the empty wave items).
  explicit TFormComponents(platform::Backend& backend);
  TFormComponents(const TFormComponents&) = delete;
  TFormComponents& operator=(const TFormComponents&) = delete;

  platform::Backend& Backend;

  // The main window the surface shows in; the shell adds its controls to it as a layer.
  TWindow Window{Backend};

  TDXDraw DXDraw1{Window};
  TDXImageList HCFlyerPictures{DXDraw1};
  TDXImageList BackgroundPictures{DXDraw1};
  TDXImageList ShotPictures{DXDraw1};
  TDXImageList EnemyShipsPictures{DXDraw1};
  TDXImageList EffectPictures{DXDraw1};
  TDXImageList RocketPictures{DXDraw1};
  TDXImageList DXMenuImageList{DXDraw1};
  TDXImageList BossPicture{DXDraw1};

  TDXInput DXInput1;

  TDXSound DXSound1;
  TDXWaveList DXLaserWaveList{DXSound1};
  TDXWaveList DXExplWaveList{DXSound1};
  TDXWaveList DXWeaponWaveList{DXSound1};
  TDXWaveList DXEnginesWaveList{DXSound1};
};
