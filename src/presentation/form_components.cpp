#include "presentation/form_components.h"

TFormComponents::TFormComponents(platform::Backend& backend)
    : Backend(backend), DXDraw1(backend), DXInput1(backend), DXSound1(backend) {
  auto& flyer = HCFlyerPictures.Items.Add();
  flyer.SetTransparentColor(0x00EBFF);

  auto& tiles = BackgroundPictures.Items.Add();
  tiles.PatternWidth = 32;
  tiles.PatternHeight = 32;
  tiles.Transparent = false;

  auto& shot = ShotPictures.Items.Add();
  shot.Name = "strela";
  shot.PatternWidth = 2;
  shot.PatternHeight = 3;
  shot.Transparent = false;

  auto& flash = EffectPictures.Items.Add();
  flash.Name = "vystrel kanonu";
  flash.PatternWidth = 9;
  flash.PatternHeight = 13;
  auto& small = EffectPictures.Items.Add();
  small.Name = "maly vybuch";
  small.PatternWidth = 16;
  small.PatternHeight = 16;
  small.SetTransparentColor(0x598B2D);

  BossPicture.Items.Add();

  DXLaserWaveList.Items.Add();
  DXExplWaveList.Items.Add();
  DXExplWaveList.Items.Add();
  DXEnginesWaveList.Items.Add().Looped = true;
}
