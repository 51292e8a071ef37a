#include "verify_replay.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "base/error.h"
#include "core/tick.h"
#include "platform/headless/headless_backend.h"
#include "presentation/form_components.h"
#include "shell/asset_loader.h"
#include "shell/replay_run.h"
#include "virtual_display.h"

TVerifyResult VerifyReplay(TFormComponents& media, const TReplay& replay,
                           const TVerifyFrames& frames) {
  TReplayRun run(media, replay);
  std::optional<TVirtualDisplay> display;
  if (frames.RefreshHz > 0) display.emplace(frames.RefreshHz);
  // Every tick that runs counts one; a world that stops ticking (shot down) is done by then.
  for (int64_t i = 0; !run.Done() && i <= replay.End.Tick; ++i) {
    run.Step();
    if (!display) continue;
    display->FramesAfterTick(i + 1, [&](int64_t, double fraction) {
      DrawFrame(run.Flight(), {frames.Smooth, frames.Smooth ? fraction : 1.0});
    });
  }
  TVerifyResult result{run.Ticks(), run.Drift()};
  if (!run.Done() && !result.Mismatch)
    result.Mismatch = TReplayMismatch{run.Ticks(), "the flight stopped before its end"};
  return result;
}

int VerifyReplays(const TSimOptions& options, std::ostream& out, std::ostream& err) {
  std::vector<std::filesystem::path> files;
  for (const auto& f : options.VerifyReplays) files.push_back(std::filesystem::absolute(f));
  const auto previous = std::filesystem::current_path();
  int status = 0;
  try {
    std::filesystem::current_path(options.DataDir);
    platform::HeadlessBackend backend;
    TFormComponents media(backend);
    LoadAssets(media);
    LoadSounds(media);
    const TVerifyFrames frames{options.RefreshHz, options.SmoothMotion};
    if (frames.RefreshHz > 0) media.DXDraw1.Initialize();
    for (size_t i = 0; i < files.size(); ++i) {
      const std::string& name = options.VerifyReplays[i];
      TReplay replay;
      try {
        replay = ReadReplayFile(files[i].string());
      } catch (const EGameError& e) {
        err << "starvelkhorn-sim: " << e.what() << '\n';
        status = 2;
        continue;
      }
      const TVerifyResult r = VerifyReplay(media, replay, frames);
      if (r.Mismatch) {
        out << name << ": differs at tick " << r.Mismatch->Tick << ": " << r.Mismatch->What << '\n';
        status = std::max(status, 1);
      } else {
        out << name << ": ok, " << r.Ticks << " ticks, " << OutcomeName(replay.End.Outcome) << '\n';
      }
    }
  } catch (const std::exception& e) {
    err << "starvelkhorn-sim: " << e.what() << '\n';
    status = 2;
  }
  std::error_code ec;
  std::filesystem::current_path(previous, ec);
  return status;
}
