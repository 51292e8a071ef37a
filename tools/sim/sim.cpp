#include "sim.h"

#include <cxxabi.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <typeinfo>

#include "base/error.h"
#include "campaign.h"
#include "core/tick.h"
#include "enemies/boss.h"
#include "enemies/enemy.h"
#include "flyers/aircraft.h"
#include "flyers/projectile.h"
#include "held_input.h"
#include "json.h"
#include "platform/mixer.h"
#include "render_music.h"
#include "replay/game_version.h"
#include "shell/asset_loader.h"
#include "shell/flight_setup.h"
#include "shell/replayed_flight.h"
#include "ui_driver.h"
#include "verify_replay.h"

namespace {

constexpr int64_t kTickMillis = 10;

std::filesystem::path Absolute(const std::string& path) {
  return path.empty() ? std::filesystem::path() : std::filesystem::absolute(path);
}

// A readable name for a flyer's kind: "aircraft", "aamissile", ..., else the class name
// without its T, in lower case ("enemy", "boss").
std::string TypeName(const TFlyer& f) {
  if (dynamic_cast<const TAircraft*>(&f)) return "aircraft";
  if (dynamic_cast<const TEnemy*>(&f)) return "enemy";
  if (dynamic_cast<const TBoss*>(&f)) return "boss";
  if (dynamic_cast<const TAAMissile*>(&f)) return "aamissile";
  if (dynamic_cast<const TMiniMissile*>(&f)) return "minimissile";
  if (dynamic_cast<const TLightBeam*>(&f)) return "lightbeam";
  if (dynamic_cast<const TMediumBeam*>(&f)) return "mediumbeam";
  if (dynamic_cast<const THeavyBeam*>(&f)) return "heavybeam";
  if (dynamic_cast<const TPlasmaBall*>(&f)) return "plasmaball";
  if (dynamic_cast<const TPlasmaFragment*>(&f)) return "plasmafragment";
  int status = 0;
  char* demangled = abi::__cxa_demangle(typeid(f).name(), nullptr, nullptr, &status);
  std::string name = status == 0 && demangled ? demangled : typeid(f).name();
  std::free(demangled);
  if (auto colon = name.rfind("::"); colon != std::string::npos) name = name.substr(colon + 2);
  if (name.size() > 1 && name[0] == 'T' && std::isupper(static_cast<unsigned char>(name[1]))) {
    name = name.substr(1);
  }
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

// The kind code where a flyer has one (aircraft, enemies, bosses); -1 otherwise.
int32_t KindOf(const TFlyer& f) {
  if (auto* a = dynamic_cast<const TAircraft*>(&f)) return a->Kind;
  if (auto* e = dynamic_cast<const TEnemy*>(&f)) return e->Kind;
  if (auto* b = dynamic_cast<const TBoss*>(&f)) return b->Kind;
  return -1;
}

// The move the latest tick gave a thing, 0 for one it did not find.
TDrawPoint LastMove(const World& w, const TFlyer& f) {
  if (f.Last.Tick != w.MotionTick) return {0, 0};
  return {f.X - f.Last.X, f.Y - f.Last.Y};
}

template <class List>
int64_t LiveCount(const List& list) {
  int64_t n = 0;
  for (auto* node = list.Head(); node; node = node->Next) n += node->Object->Alive ? 1 : 0;
  return n;
}

}  // namespace

// The screens around a mission, as far as a headless run needs them: the end-of-mission
// messages are drawn over the last frame and presented, a pause resumes at once.
class TSimulation::TEvents : public TMissionEvents {
 public:
  explicit TEvents(TSimulation& sim) : sim_(sim) {}
  void StopTimers() override { sim_.timersOn_ = false; }
  void StopEngineSound() override { sim_.media_->DXEnginesWaveList.Items[0].Stop(); }
  void ShowDefeat() override {
    sim_.lost_ = true;
    if (sim_.recorder_) sim_.recorder_->NoteOutcome(TFlightOutcome::Lost);
    if (sim_.check_) sim_.check_->NoteOutcome(TFlightOutcome::Lost);
    TFormComponents& m = *sim_.media_;
    // The empty status bar, then the message.
    auto& menu = m.DXMenuImageList.Items;
    auto& surface = m.DXDraw1.Surface();
    if (menu.Count() > 2) {
      menu[2].Draw(surface, 0, 8, 0);
      menu[1].Draw(surface, 0, 0, 0);
    }
    Message(kDefeatText);
  }
  void ShowVictory() override {
    sim_.won_ = true;
    if (sim_.recorder_) sim_.recorder_->NoteOutcome(TFlightOutcome::Won);
    if (sim_.check_) sim_.check_->NoteOutcome(TFlightOutcome::Won);
    Message(kVictoryText);
  }
  void PauseScreen() override { sim_.messages_.push_back("PAUZA"); }
  void ReportError(const std::string& message) override { sim_.messages_.push_back(message); }

 private:
  void Message(const char* text) {
    AnnounceOverFrame(sim_.media_->DXDraw1, text);
    sim_.messages_.push_back(text);
  }
  TSimulation& sim_;
};

TSimulation::TSimulation(const TSimOptions& options)
    : options_(options), previousDir_(std::filesystem::current_path()) {
  // Every file named on the command line is relative to where the driver was started.
  for (auto& s : options_.Screenshots) s.File = Absolute(s.File).string();
  const auto input = Absolute(options_.InputFile);
  const auto trace = Absolute(options_.TraceFile);
  recordFile_ = Absolute(options_.RecordFile);
  if (!input.empty()) {
    std::ifstream in(input);
    if (!in) throw ESimUsage("cannot read the input script " + input.string());
    std::string error;
    input_ = TInputScript::Parse(in, error);
    if (!input_) throw ESimUsage(input.string() + ": " + error);
  }
  if (!trace.empty()) {
    trace_.open(trace);
    if (!trace_) throw std::runtime_error("cannot write the trace " + trace.string());
  }
  if (!options_.ReplayFile.empty()) ReadReplay();
  std::filesystem::current_path(options_.DataDir);

  media_ = std::make_unique<TFormComponents>(backend_);
  events_ = std::make_unique<TEvents>(*this);
  // As the program starts: the catalog is loaded, then the surface is initialised.
  LoadAssets(*media_);
  LoadSounds(*media_);
  media_->DXDraw1.Options &= ~static_cast<uint32_t>(doFullScreen);
  media_->DXDraw1.Initialize();

  world_ = std::make_unique<World>(*media_, options_.Seed);
  World& w = *world_;
  w.Events = events_.get();

  if (replay_) {
    StartReplay();
    return;
  }
  // A new game, the aircraft fitted as bought, and the mission started.
  TFlightSetup setup;
  setup.Mission = options_.Mission;
  setup.Difficulty = options_.Difficulty;
  setup.Credits = options_.Credits;
  setup.AircraftKind = options_.AircraftKind;
  setup.CannonKind = options_.CannonKind;
  setup.SlotKinds = options_.SlotKinds;
  if (!SetUpFlight(w, setup)) throw std::runtime_error("no aircraft of that kind");
  media_->DXEnginesWaveList.Items[0].Play(false);
  if (options_.Autopilot) autopilot_.emplace(options_.Seed);
  if (options_.RefreshHz > 0) display_.emplace(options_.RefreshHz);
  if (options_.RefreshHz > 0 && options_.Pacing) pacing_.emplace(options_.RefreshHz);
  if (!recordFile_.empty()) {
    recorder_ = std::make_unique<TFlightRecorder>(w, GameVersion());
    w.Tap = recorder_.get();
  }
}

// Read before the driver changes into the data directory, so a relative name works.
void TSimulation::ReadReplay() {
  if (!options_.RecordFile.empty()) throw ESimUsage("--replay and --record exclude each other");
  try {
    replay_ = ReadReplayFile(Absolute(options_.ReplayFile).string());
  } catch (const EGameError& e) {
    throw ESimUsage(e.what());
  }
}

// The recorded mission as it started; its input states replace the polled ones every tick.
void TSimulation::StartReplay() {
  World& w = *world_;
  if (!StartReplayedFlight(w, replay_->Start)) throw std::runtime_error("no aircraft of that kind");
  media_->DXEnginesWaveList.Items[0].Play(false);
  check_ = std::make_unique<TFlightCheck>(*replay_);
  w.Tap = check_.get();
}

TSimulation::~TSimulation() {
  if (world_) world_->Tap = nullptr;
  world_.reset();
  std::error_code ec;
  std::filesystem::current_path(previousDir_, ec);
}

void TSimulation::ApplyInput() {
  TDXInputStates held;
  if (autopilot_) {
    held = autopilot_->Next(*world_);
  } else if (input_) {
    held = input_->At(tick_);
  }
  HoldInputStates(backend_, held);
}

bool TSimulation::RunTick() {
  if (!timersOn_) return false;
  ++tick_;
  backend_.AdvanceMillis(kTickMillis);
  ApplyInput();
  Tick(*world_);
  tally_.AfterTick(*world_);
  if (trace_.is_open()) trace_ << TraceLine() << '\n';
  if (timersOn_ && options_.Frames) {
    if (display_) {
      PresentFrames();
    } else {
      DrawFrame(*world_);
    }
  }
  for (const auto& s : options_.Screenshots) {
    if (s.Tick == tick_ && !backend_.SavePng(s.File)) {
      throw std::runtime_error("cannot write the screenshot " + s.File);
    }
  }
  return timersOn_;
}

void TSimulation::PresentFrames() {
  if (trace_.is_open() || pacing_) NumberCraft();
  display_->FramesAfterTick(tick_, [this](int64_t frame, double fraction) {
    const TFramePhase phase{options_.SmoothMotion, options_.SmoothMotion ? fraction : 1.0};
    const TFrameDrawn drawn = DrawFrame(*world_, phase);
    if (!drawn.Drawn) return;
    if (trace_.is_open()) trace_ << FrameLine(frame, fraction, phase, drawn) << '\n';
    if (pacing_) Pace(phase, drawn);
  });
}

void TSimulation::Pace(const TFramePhase& phase, const TFrameDrawn& drawn) {
  const World& w = *world_;
  const TDrawTime t = DrawTimeOf(w, phase);
  pacing_->Frame(drawn.Terrain);
  if (const TAircraft* p = w.Player) pacing_->Aircraft(p->DrawnAt(t), LastMove(w, *p));
  for (auto* n = w.FlyerList.Head(); n; n = n->Next) {
    const TFlyer& f = *n->Object;
    const auto number = craftNumbers_.find(&f);
    if (!f.Alive || number == craftNumbers_.end()) continue;
    pacing_->Craft(number->second, f.DrawnAt(t), LastMove(w, f));
  }
}

std::string TSimulation::PacingRow() const {
  if (!pacing_) return "";
  return pacing_->Row(std::to_string(options_.RefreshHz) + " Hz, smooth " +
                      (options_.SmoothMotion ? "on" : "off"));
}

// A craft keeps its number while it lives: one the tick found at its start keeps it, one made
// since gets the next (even where it took a freed craft's memory).
void TSimulation::NumberCraft() {
  const World& w = *world_;
  std::unordered_map<const TFlyer*, int64_t> numbers;
  for (auto* n = w.FlyerList.Head(); n; n = n->Next) {
    const TFlyer* f = n->Object;
    if (!dynamic_cast<const TEnemy*>(f) && !dynamic_cast<const TBoss*>(f)) continue;
    const auto known = craftNumbers_.find(f);
    const bool same = known != craftNumbers_.end() && f->Last.Tick == w.MotionTick;
    numbers[f] = same ? known->second : ++lastCraftNumber_;
  }
  craftNumbers_.swap(numbers);
}

void TSimulation::Run() {
  while (tick_ < options_.Ticks && RunTick()) {
  }
  if (trace_.is_open()) trace_.flush();
  if (recorder_) WriteRecord();
}

// A flight still going when the ticks ran out is recorded as left there.
void TSimulation::WriteRecord() {
  recorder_->Quit(*world_);
  const std::vector<uint8_t> bytes = EncodeReplay(recorder_->Replay());
  std::ofstream out(recordFile_, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write the replay " + recordFile_.string());
}

std::string TSimulation::Outcome() const {
  if (lost_) return "lost";
  if (won_) return "won";
  return "running";
}

std::string TSimulation::TraceLine() const {
  const World& w = *world_;
  TJson j;
  j.Open('{');
  j.Field("tick", tick_);
  j.Field("stepClock", w.StepClock);
  j.Field("credits", w.State.Credits);
  j.Field("gameOver", w.State.GameOver);
  j.Field("victoryCountdown", static_cast<int32_t>(w.VictoryCountdown));
  j.Key("player");
  if (const TAircraft* p = w.Player) {
    j.Open('{');
    j.Field("x", p->X).Field("y", p->Y).Field("dx", p->Dx).Field("dy", p->Dy);
    j.Field("health", p->Health).Field("maxHealth", p->MaxHealth);
    j.Close('}');
  } else {
    j.Null();
  }
  j.Key("flyers").Open('[');
  for (auto* n = w.FlyerList.Head(); n; n = n->Next) {
    const TFlyer& f = *n->Object;
    j.Open('{');
    j.Field("type", TypeName(f)).Field("kind", KindOf(f));
    if (auto* p = dynamic_cast<const TProjectile*>(&f)) j.Field("owner", p->Owner);
    j.Field("x", f.X).Field("y", f.Y).Field("w", f.Width).Field("h", f.Height);
    j.Field("health", f.Health).Field("alive", f.Alive);
    j.Close('}');
  }
  j.Close(']');
  j.Field("shells", LiveCount(w.ShellList));
  j.Field("effects", LiveCount(w.EffectList));
  j.Field("bonuses", LiveCount(w.BonusList));
  j.Close('}');
  return j.Text();
}

std::string TSimulation::FrameLine(int64_t frame, double fraction, const TFramePhase& phase,
                                   const TFrameDrawn& drawn) const {
  const World& w = *world_;
  const TDrawTime t = DrawTimeOf(w, phase);
  TJson j;
  j.Open('{');
  j.Field("frame", frame).Field("tick", tick_).Field("fraction", fraction);
  j.Field("terrainRow", drawn.Terrain.Row).Field("terrainOffset", drawn.Terrain.Offset);
  // Each thing drawn, with the move the latest tick gave it (0 for one it did not find).
  auto place = [&](const TFlyer& f) {
    const TDrawPoint at = f.DrawnAt(t);
    const TDrawPoint move = LastMove(w, f);
    j.Field("x", at.X).Field("y", at.Y).Field("mx", move.X).Field("my", move.Y);
  };
  j.Key("player");
  if (const TAircraft* p = w.Player) {
    j.Open('{');
    place(*p);
    j.Close('}');
  } else {
    j.Null();
  }
  j.Key("craft").Open('[');
  for (auto* n = w.FlyerList.Head(); n; n = n->Next) {
    const TFlyer& f = *n->Object;
    const auto number = craftNumbers_.find(&f);
    if (!f.Alive || number == craftNumbers_.end()) continue;
    j.Open('{').Field("id", number->second).Field("kind", KindOf(f));
    place(f);
    j.Close('}');
  }
  j.Close(']');
  j.Close('}');
  return j.Text();
}

std::string TSimulation::SummaryLine() const {
  TJson j;
  j.Open('{');
  j.Field("ticks", tick_);
  j.Field("outcome", Outcome());
  j.Field("credits", world_->State.Credits);
  j.Field("mission", world_->State.Mission);
  j.Field("kills", tally_.Kills);
  j.Field("damage", tally_.Damage);
  j.Field("repairs", tally_.Repairs);
  j.Key("messages").Open('[');
  for (const auto& m : messages_) j.Value(m);
  for (const auto& m : backend_.Messages()) j.Value(m.Text);
  j.Close(']');
  j.Close('}');
  return j.Text();
}

namespace {

// The whole program driven by a ui-script: status 2 for a script that cannot be read or
// parsed, 1 for an expectation not met or content that cannot be read.
int RunUiScript(const TSimOptions& options, std::ostream& out, std::ostream& err) {
  std::ifstream in(options.UiScript);
  if (!in) {
    err << "starvelkhorn-sim: cannot read the ui-script " << options.UiScript << '\n';
    return 2;
  }
  std::string error;
  const auto commands = ParseUiScript(in, error);
  if (!commands) {
    err << "starvelkhorn-sim: " << options.UiScript << ": " << error << '\n';
    return 2;
  }
  int status = 0;
  try {
    const std::filesystem::path playerDir = options.PlayerDir.empty()
                                                ? std::filesystem::path()
                                                : std::filesystem::absolute(options.PlayerDir);
    TUiDriver driver(options.DataDir, options.Seed);
    std::vector<float> audio;
    if (!options.AudioFile.empty()) driver.Backend().SetAudioSink(&audio);
    if (platform::Mixer* mixer = driver.Form().Media.DXSound1.Mixer()) {
      mixer->SetMusicVolume(options.MusicVolume);
    }
    if (!playerDir.empty()) driver.KeepPlayerFiles(playerDir);
    try {
      driver.Run(*commands);
    } catch (const EUiFailure& e) {
      err << "starvelkhorn-sim: " << options.UiScript << ": " << e.what() << '\n';
      status = 1;
    }
    if (options.Summary) out << driver.SummaryLine() << '\n';
    driver.Backend().SetAudioSink(nullptr);
    if (!options.AudioFile.empty()) {
      WriteFloatWav(options.AudioFile, audio, platform::HeadlessBackend::kAudioRate);
    }
  } catch (const std::exception& e) {
    err << "starvelkhorn-sim: " << e.what() << '\n';
    return 1;
  }
  return status;
}

}  // namespace

int SimMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string error;
  auto options = ParseSimOptions(args, error);
  if (!options) {
    err << "starvelkhorn-sim: " << error << "\n" << kSimUsage;
    return 2;
  }
  if (options->Help) {
    out << kSimUsage;
    return 0;
  }
  if (!options->UiScript.empty()) return RunUiScript(*options, out, err);
  if (!options->VerifyReplays.empty()) return VerifyReplays(*options, out, err);
  if (!options->RenderMusic.empty()) return RenderMusic(*options, out, err);
  try {
    if (options->Campaign) {
      const TCampaignResult result = RunCampaign(*options);
      if (options->Summary) out << CampaignSummary(*options, result) << '\n';
      return 0;
    }
    TSimulation sim(*options);
    std::vector<float> audio;
    if (!options->AudioFile.empty()) sim.Backend().SetAudioSink(&audio);
    sim.Run();
    sim.Backend().SetAudioSink(nullptr);
    if (!options->AudioFile.empty()) {
      WriteFloatWav(options->AudioFile, audio, platform::HeadlessBackend::kAudioRate);
    }
    if (options->Pacing) out << sim.PacingRow() << '\n';
    if (options->Summary) out << sim.SummaryLine() << '\n';
  } catch (const ESimUsage& e) {
    err << "starvelkhorn-sim: " << e.what() << '\n';
    return 2;
  } catch (const std::exception& e) {
    err << "starvelkhorn-sim: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
