#include "play_dir.h"

#include <stdlib.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Another run's save, records or recorded flights, or the half-written file of an interrupted
// one: never shared.
bool IsSaveFile(const fs::path& name) {
  const std::string n = name.string();
  return n.rfind("game.sav", 0) == 0 || n.rfind("records.dat", 0) == 0 || n == "replays";
}

}  // namespace

TPlayDir::TPlayDir(const fs::path& contentTree) {
  std::error_code ec;
  const fs::path tree = fs::absolute(contentTree, ec);
  if (ec || !fs::is_directory(tree)) {
    throw std::runtime_error("no content tree at " + contentTree.string());
  }
  std::string pattern = (fs::temp_directory_path() / "starvelkhorn-run-XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (!mkdtemp(name.data())) throw std::runtime_error("cannot make a directory for the run");
  path_ = name.data();
  for (const fs::directory_entry& entry : fs::directory_iterator(tree, ec)) {
    const fs::path leaf = entry.path().filename();
    if (IsSaveFile(leaf)) continue;
    fs::create_symlink(entry.path(), path_ / leaf, ec);
    if (ec) break;
  }
  if (ec) {
    fs::remove_all(path_, ec);
    throw std::runtime_error("cannot link the content tree " + tree.string() + " for the run");
  }
}

TPlayDir::~TPlayDir() {
  // Links are removed, not followed: the content stays.
  std::error_code ec;
  fs::remove_all(path_, ec);
}
