// A private working directory for one run of the program: the content tree's folders appear in
// it as links, so the game reads its content as usual, while the saved game, the records and
// the recorded flights it writes (which the game keeps in its working directory when run from
// a build tree) are this run's own. Runs side by side therefore never load each other's save.
// Removed with everything the run wrote when it goes out of scope; the content tree itself is never
// written to.
#pragma once

#include <filesystem>

class TPlayDir {
 public:
  // Makes a fresh directory under the system's temporary one, linking every entry of
  // `contentTree` but the player's files left there (saved game, records, recorded flights). Throws
  // std::runtime_error when it cannot.
  explicit TPlayDir(const std::filesystem::path& contentTree);
  ~TPlayDir();
  TPlayDir(const TPlayDir&) = delete;
  TPlayDir& operator=(const TPlayDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};
