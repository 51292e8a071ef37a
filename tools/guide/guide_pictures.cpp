#include "guide_pictures.h"

#include <cstring>
#include <stdexcept>

#include "base/asset_catalog.h"
#include "core/status_bar.h"
#include "core/world.h"
#include "flyers/aircraft.h"
#include "flyers/weapon.h"
#include "platform/png.h"
#include "presentation/form_components.h"

namespace {

// The menu list's item that a content file was loaded into.
int MenuItemOf(const char* path) {
  for (const catalog::Picture& p : catalog::kStartupPictures) {
    if (p.List == catalog::ImageList::DXMenuImageList && std::strcmp(p.Path, path) == 0)
      return p.Index;
  }
  throw std::runtime_error(std::string("no menu picture ") + path);
}

// The top-left w x h of the back buffer, as drawn so far.
void SaveCorner(TFormComponents& media, int32_t w, int32_t h, const std::string& path) {
  const TDirectDrawSurface& s = media.DXDraw1.Surface();
  const platform::PixelView view{s.Pixels(), w, h, s.Width()};
  if (!platform::WritePng(path, view)) throw std::runtime_error("cannot write " + path);
}

TDirectDrawSurface& Blank(TFormComponents& media) {
  TDirectDrawSurface& s = media.DXDraw1.Surface();
  s.Fill(0);
  return s;
}

}  // namespace

void SaveAircraftPicture(TFormComponents& media, uint8_t kind, const std::string& path) {
  TPictureCollectionItem& item = media.DXMenuImageList.Items[MenuItemOf("res/other/allplanes.jpg")];
  item.Draw(Blank(media), 0, 0, kind);
  SaveCorner(media, item.PatternWidth, item.PatternHeight, path);
}

void SaveWeaponIcon(World& w, uint8_t kind, const std::string& path) {
  TPictureCollectionItem& item = w.Media.DXMenuImageList.Items[kStatusBarWeapons];
  item.Draw(Blank(w.Media), 0, 0, MakeWeapon(w, kind)->Icon);
  SaveCorner(w.Media, item.PatternWidth, item.PatternHeight, path);
}

void SaveCannonSalvo(World& w, uint8_t kind, const std::string& path) {
  constexpr int32_t kWidth = catalog::kAircraftFrameWidth, kHeight = 220;
  const auto aircraft = MakeAircraft(w, akJaguar, 0, kHeight - catalog::kAircraftFrameHeight);
  aircraft->Cannon = MakeCannon(w, kind);
  w.ShellList.Clear();
  // As long as a shell takes to cross the picture, the trigger held; two steps a tick.
  for (int tick = 0; tick < 20; ++tick) {
    aircraft->Cannon->Reload();
    aircraft->FireCannon();
    for (auto* n = w.ShellList.Head(); n; n = n->Next) {
      n->Object->Move();
      n->Object->Move();
    }
  }
  Blank(w.Media);
  w.ShellList.DrawAll(TDrawTime{});
  aircraft->Draw(TDrawTime{});
  w.ShellList.Clear();
  w.EffectList.Clear();
  SaveCorner(w.Media, kWidth, kHeight, path);
}

void SaveEnemyPicture(TFormComponents& media, uint8_t kind, const std::string& path) {
  TPictureCollectionItem& item = media.EnemyShipsPictures.Items[kind];
  item.Draw(Blank(media), 0, 0, 0);
  SaveCorner(media, catalog::kEnemySizes[kind].Width, catalog::kEnemySizes[kind].Height, path);
}
