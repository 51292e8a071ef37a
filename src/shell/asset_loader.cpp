#include "shell/asset_loader.h"

#include <cassert>
#include <cstddef>

#include "platform/score_reader.h"
#include "presentation/form_components.h"

TDXImageList& ImageListOf(TFormComponents& media, catalog::ImageList list) {
  switch (list) {
    case catalog::ImageList::HCFlyerPictures:
      return media.HCFlyerPictures;
    case catalog::ImageList::BackgroundPictures:
      return media.BackgroundPictures;
    case catalog::ImageList::ShotPictures:
      return media.ShotPictures;
    case catalog::ImageList::EnemyShipsPictures:
      return media.EnemyShipsPictures;
    case catalog::ImageList::EffectPictures:
      return media.EffectPictures;
    case catalog::ImageList::RocketPictures:
      return media.RocketPictures;
    case catalog::ImageList::DXMenuImageList:
      return media.DXMenuImageList;
    case catalog::ImageList::BossPicture:
      break;
  }
  return media.BossPicture;
}

TDXWaveList& WaveListOf(TFormComponents& media, catalog::WaveList list) {
  switch (list) {
    case catalog::WaveList::DXLaserWaveList:
      return media.DXLaserWaveList;
    case catalog::WaveList::DXExplWaveList:
      return media.DXExplWaveList;
    case catalog::WaveList::DXWeaponWaveList:
      return media.DXWeaponWaveList;
    case catalog::WaveList::DXEnginesWaveList:
      break;
  }
  return media.DXEnginesWaveList;
}

void LoadAssets(TFormComponents& media) {
  const auto& pictures = catalog::kStartupPictures;
  for (size_t i = 0; i < pictures.size(); ++i) {
    const catalog::Picture& p = pictures[i];
    TDXImageList& list = ImageListOf(media, p.List);
    assert(list.Items.Count() == p.Index && "the catalog appends in index order");
    TPictureCollectionItem& item = list.Items.Add();
    item.Picture.LoadFromFile(p.Path);
    item.PatternWidth = p.PatternWidth;
    item.PatternHeight = p.PatternHeight;
    item.Transparent = p.Transparent;
    item.SetTransparentColor(p.Key);
    // After a list's last item its patterns are (re)built.
    const bool lastOfList = i + 1 == pictures.size() || pictures[i + 1].List != p.List;
    if (lastOfList) list.Items.Restore();
  }
}

void LoadSounds(TFormComponents& media) {
  const auto& sounds = catalog::kStartupSounds;
  for (size_t i = 0; i < sounds.size(); ++i) {
    const catalog::Sound& s = sounds[i];
    TDXWaveList& list = WaveListOf(media, s.List);
    if (s.Appended) {
      assert(list.Items.Count() == s.Index && "the catalog appends in index order");
      list.Items.Add().Wave.LoadFromFile(s.Path);
      // An appended item plays only after its list was restored.
      const bool lastAppended =
          i + 1 == sounds.size() || sounds[i + 1].List != s.List || !sounds[i + 1].Appended;
      if (lastAppended) list.Items.Restore();
    } else {
      // The form's items become playable at their first Play.
      list.Items[s.Index].Wave.LoadFromFile(s.Path);
    }
  }
}

void LoadMusic(TFormComponents& media) {
  for (const char* theme : catalog::kMusicThemes) {
    media.DXSound1.AddTheme(std::make_shared<const platform::Score>(
        platform::LoadScoreFile(catalog::MusicPath(theme))));
  }
}
