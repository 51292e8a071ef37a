#include "shell/music_cues.h"

#include "base/asset_catalog.h"

const char* ThemeForScreen(TForm1::TScreen screen, int mission, bool bossAppeared) {
  using S = TForm1::TScreen;
  switch (screen) {
    case S::DisplayChoice:
      return "";
    case S::MainMenu:
    case S::Difficulty:
    case S::Intro:
    case S::Records:
    case S::Recordings:
    case S::DeleteRecording:
    case S::TitleFlight:  // silent behind the title, whose music goes on
      return "title";
    case S::Hangar:
    case S::Briefing:
    case S::ShopMenu:
    case S::PlaneShop:
    case S::WeaponShop:
    case S::WeaponBrowser:
    case S::CannonBrowser:
      return "hangar";
    case S::Mission:
    case S::Viewer:
      return bossAppeared ? "mothership" : catalog::LandThemeFor(mission);
    case S::Paused:
      return nullptr;
    case S::Won:
    case S::CampaignWon:
      return "victory";
    case S::ShotDown:
      return "defeat";
  }
  return nullptr;
}
