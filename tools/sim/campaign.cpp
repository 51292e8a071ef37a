#include "campaign.h"

#include "core/game_state.h"
#include "flyers/aircraft.h"
#include "flyers/weapon.h"
#include "json.h"
#include "sim.h"

namespace {

// The shop's prices, as the game's own aircraft and weapons carry them.
TPriceList ReadPrices(const TSimOptions& options) {
  TSimOptions o = options;
  o.Mission = 0;
  o.Autopilot = false;
  TSimulation sim(o);
  World& w = sim.GameWorld();
  TPriceList p;
  for (uint8_t k = 0; k < p.Weapons.size(); ++k) {
    auto weapon = MakeWeapon(w, k);
    p.Weapons[k] = {weapon->Price, weapon->SellValue};
  }
  for (uint8_t k = 0; k < p.Cannons.size(); ++k) {
    auto cannon = MakeCannon(w, k);
    p.Cannons[k] = {cannon->Price, cannon->SellValue};
  }
  for (uint8_t k = 0; k < p.Aircraft.size(); ++k) {
    auto aircraft = MakeAircraft(w, k, 0, 0);
    p.Aircraft[k] = {aircraft->Price, aircraft->SellValue};
    p.AircraftSlots[k] = aircraft->SlotCount;
  }
  return p;
}

TMissionTry Fly(const TSimOptions& base, uint8_t mission, int attempt, int64_t credits,
                const TLoadout& l) {
  TSimOptions o = base;
  o.Mission = mission;
  o.Credits = credits;
  o.AircraftKind = l.Aircraft;
  o.CannonKind = l.Cannon;
  o.SlotKinds = l.Slots;
  o.Autopilot = true;
  o.Frames = false;
  o.Summary = false;
  o.Ticks = kMissionTickLimit;
  // Every try meets its own luck, as a player's would.
  o.Seed = base.Seed * 1000 + mission * 10 + static_cast<uint64_t>(attempt);
  TSimulation sim(o);
  sim.Run();
  return {sim.Outcome(), sim.TicksRun(), sim.Kills(), sim.GameWorld().State.Credits};
}

}  // namespace

TCampaignResult RunCampaign(const TSimOptions& options) {
  const TPriceList prices = ReadPrices(options);
  TCampaignResult result;
  TLoadout loadout;
  int64_t credits = kNewGameCredits;
  for (uint8_t m = 0; m < 6; ++m) {
    TOffers offers;
    SetOffers(offers, m);
    Shop(loadout, credits, offers, prices);
    TMissionRecord record;
    record.Mission = m + 1;
    record.CreditsBefore = credits;
    record.CreditsAfter = credits;
    record.Loadout = loadout;
    bool won = false;
    for (int attempt = 1; loadout.Aircraft != 255 && attempt <= kTriesPerMission && !won;
         ++attempt) {
      record.Tries.push_back(Fly(options, m, attempt, credits, loadout));
      won = record.Tries.back().Outcome == "won";
    }
    if (won) credits = record.Tries.back().Credits;
    record.CreditsAfter = credits;
    result.Missions.push_back(record);
    if (!won) return result;
  }
  result.Won = true;
  return result;
}

std::string CampaignSummary(const TSimOptions& options, const TCampaignResult& result) {
  TJson j;
  j.Open('{');
  j.Field("outcome", result.Won ? "won" : "lost");
  j.Field("difficulty", options.Difficulty);
  j.Field("seed", options.Seed);
  j.Key("missions").Open('[');
  for (const TMissionRecord& r : result.Missions) {
    j.Open('{');
    j.Field("mission", r.Mission);
    j.Field("tries", static_cast<int64_t>(r.Tries.size()));
    j.Key("outcomes").Open('[');
    for (const TMissionTry& t : r.Tries) j.Value(t.Outcome);
    j.Close(']');
    j.Key("ticks").Open('[');
    for (const TMissionTry& t : r.Tries) j.Value(t.Ticks);
    j.Close(']');
    j.Field("creditsBefore", r.CreditsBefore);
    j.Field("creditsAfter", r.CreditsAfter);
    j.Field("aircraft", r.Loadout.Aircraft);
    j.Field("cannon", r.Loadout.Cannon);
    j.Key("slots").Open('[');
    for (uint8_t s : r.Loadout.Slots) j.Value(static_cast<int32_t>(s));
    j.Close(']');
    j.Key("kills").Open('[');
    for (const TMissionTry& t : r.Tries) j.Value(t.Kills);
    j.Close(']');
    j.Close('}');
  }
  j.Close(']');
  j.Close('}');
  return j.Text();
}
