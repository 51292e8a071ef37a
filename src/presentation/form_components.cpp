#include "presentation/form_components.h"

#include "platform/backend.h"
#include "presentation/form_pictures.h"

namespace {

// Key bindings of the form: three places per state, by virtual key code.
void BindKeys(TDXInput& input) {
  namespace vk = platform::vk;
  input.Bindings[InputUp] = {'K', vk::Up, vk::Numpad0 + 8};
  input.Bindings[InputDown] = {'J', vk::Down, vk::Numpad0 + 2};
  input.Bindings[InputLeft] = {'H', vk::Left, vk::Numpad0 + 4};
  input.Bindings[InputRight] = {'L', vk::Right, vk::Numpad0 + 6};
  input.Bindings[InputButton1] = {vk::Space, 0, 0};
  input.Bindings[InputButton2] = {vk::Return, 0, 0};
  input.Bindings[InputButton3] = {vk::Shift, 0, 0};
  input.Bindings[InputButton31] = {vk::Tab, 0, 0};
  input.Bindings[InputButton32] = {vk::Escape, 0, 0};
}

}  // namespace

TFormComponents::TFormComponents(platform::Backend& backend)
    : Backend(backend), DXInput1(backend), DXSound1(backend) {
  auto& flyer = HCFlyerPictures.Items.Add();
  flyer.SetTransparentColor(0x00EBFF);

  auto& tiles = BackgroundPictures.Items.Add();
  tiles.PatternWidth = 32;
  tiles.PatternHeight = 32;
  tiles.Transparent = false;

  auto& shot = ShotPictures.Items.Add();
  shot.Name = "strela";
  shot.Picture = form_pictures::Shell();
  shot.PatternWidth = 2;
  shot.PatternHeight = 3;
  shot.Transparent = false;

  auto& flash = EffectPictures.Items.Add();
  flash.Name = "vystrel kanonu";
  flash.Picture = form_pictures::MuzzleFlash();
  flash.PatternWidth = 9;
  flash.PatternHeight = 13;
  auto& small = EffectPictures.Items.Add();
  small.Name = "maly vybuch";
  small.Picture = form_pictures::SmallExplosion();
  small.PatternWidth = 16;
  small.PatternHeight = 16;
  small.SetTransparentColor(form_pictures::kSmallExplosionKey);

  BossPicture.Items.Add();

  BindKeys(DXInput1);

  DXLaserWaveList.Items.Add();
  DXExplWaveList.Items.Add();
  DXExplWaveList.Items.Add();
  DXEnginesWaveList.Items.Add().Looped = true;
  // The form's own wave items are ready as soon as the device is.
  for (TDXWaveList* list :
       {&DXLaserWaveList, &DXExplWaveList, &DXWeaponWaveList, &DXEnginesWaveList}) {
    list->Items.InitializeItems();
  }
}
