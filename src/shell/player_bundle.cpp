#include "shell/player_bundle.h"

#include <algorithm>
#include <cstring>

#include "base/byte_stream.h"
#include "base/crc32.h"
#include "base/file_io.h"

namespace {

constexpr size_t kHeaderBytes = 8 + 2 + 8 + 1;            // magic, format, made, version length
constexpr size_t kMinBundleBytes = kHeaderBytes + 4 + 4;  // no version, no file

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '_' || c == '-';
}

// The player reads what is wrong with a backup, in a sentence about the file.
class TReader final : public TByteReader {
 public:
  TReader(const uint8_t* data, size_t size, const std::string& name)
      : TByteReader(data, size, name, kDamaged) {}

  [[noreturn]] void Damaged() const { Fail(kDamaged); }

 private:
  void Raise(const std::string& sentence) const override {
    throw EBundleError("Záloha „" + Name() + "“ " + sentence);
  }
  static constexpr const char* kDamaged = "je poškozená nebo neúplná.";
};

// Every path once, and none that runs through another as if it were a folder ("a" and "a/b"):
// loading such a backup could not put both in place.
void CheckPathsFit(std::vector<std::string> paths, const TReader& r) {
  std::sort(paths.begin(), paths.end());
  for (size_t i = 1; i < paths.size(); ++i) {
    if (paths[i] == paths[i - 1]) r.Fail("obsahuje jeden soubor dvakrát.");
  }
  // A folder's entries sort after its name and before any name that extends it with a byte
  // greater than '/', so "a" is followed at once by "a-b" or by "a/...": look past the former.
  for (size_t i = 0; i < paths.size(); ++i) {
    const std::string folder = paths[i] + "/";
    auto at =
        std::lower_bound(paths.begin() + static_cast<std::ptrdiff_t>(i) + 1, paths.end(), folder);
    if (at != paths.end() && at->compare(0, folder.size(), folder) == 0)
      r.Fail("obsahuje soubor, který má zároveň být složkou.");
  }
}

}  // namespace

bool IsBundlePath(std::string_view path) {
  if (path.empty() || path.size() > kMaxBundlePathBytes) return false;
  size_t parts = 0;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view part = path.substr(start, end - start);
    if (part.empty() || part == "." || part == ".." || ++parts > kMaxBundlePathParts) return false;
    if (!std::all_of(part.begin(), part.end(), IsNameChar)) return false;
    start = end + 1;
  }
  constexpr std::string_view kTemporary = ".tmp";
  return !(path.size() >= kTemporary.size() &&
           path.substr(path.size() - kTemporary.size()) == kTemporary);
}

std::vector<uint8_t> EncodeBundle(const TPlayerBundle& bundle) {
  TByteWriter w;
  std::vector<uint8_t>& out = w.Bytes();
  out.assign(kBundleMagic.begin(), kBundleMagic.end());
  w.U16(bundle.Format);
  w.I64(bundle.Made);
  const size_t versionBytes = std::min(bundle.GameVersion.size(), kMaxBundleVersionBytes);
  w.U8(static_cast<uint8_t>(versionBytes));
  out.insert(out.end(), bundle.GameVersion.begin(),
             bundle.GameVersion.begin() + static_cast<std::ptrdiff_t>(versionBytes));
  w.U32(static_cast<uint32_t>(bundle.Files.size()));
  for (const TBundledFile& file : bundle.Files) {
    w.U16(static_cast<uint16_t>(file.Path.size()));
    out.insert(out.end(), file.Path.begin(), file.Path.end());
    w.U32(static_cast<uint32_t>(file.Bytes.size()));
    w.Bytes(file.Bytes);
  }
  w.U32(Crc32(out.data(), out.size()));
  return std::move(out);
}

TPlayerBundle DecodeBundle(const uint8_t* data, size_t size, const std::string& fileName) {
  TReader r(data, size, fileName);
  if (size > kMaxBundleBytes) r.Fail("je na zálohu hry příliš velká (nejvýš 64 MiB).");
  if (size < kBundleMagic.size() || std::memcmp(data, kBundleMagic.data(), kBundleMagic.size()))
    throw EBundleError("Soubor „" + fileName + "“ není záloha hry Starvelkhorn.");
  r.Take(kBundleMagic.size());
  TPlayerBundle bundle;
  bundle.Format = r.U16();
  if (bundle.Format > kBundleFormat)
    r.Fail("pochází z novější verze hry a tato verze ji neumí nahrát.");
  // The checksum before any field: a damaged file is refused as such.
  if (bundle.Format == 0 || size < kMinBundleBytes ||
      Crc32(data, size - 4) != fileio::U32(data + size - 4))
    r.Damaged();
  bundle.Made = r.I64();
  const size_t versionBytes = r.U8();
  if (versionBytes > kMaxBundleVersionBytes) r.Damaged();
  const uint8_t* version = r.Take(versionBytes);
  bundle.GameVersion.assign(reinterpret_cast<const char*>(version), versionBytes);
  const uint32_t count = r.U32();
  // Each file takes at least its path's length, one byte of path and its size.
  if (count > kMaxBundleFiles || r.Left() < 4 || count > (r.Left() - 4) / 7) r.Damaged();
  bundle.Files.reserve(count);
  std::vector<std::string> paths;
  for (uint32_t i = 0; i < count; ++i) {
    TBundledFile file;
    const uint16_t pathBytes = r.U16();
    const uint8_t* path = r.Take(pathBytes);
    file.Path.assign(reinterpret_cast<const char*>(path), pathBytes);
    if (!IsBundlePath(file.Path)) r.Fail("obsahuje soubor s nepřípustným názvem.");
    const uint32_t fileBytes = r.U32();
    if (fileBytes > kMaxBundledFileBytes) r.Fail("obsahuje příliš velký soubor.");
    const uint8_t* bytes = r.Take(fileBytes);
    file.Bytes.assign(bytes, bytes + fileBytes);
    paths.push_back(file.Path);
    bundle.Files.push_back(std::move(file));
  }
  if (r.Left() != 4) r.Damaged();
  CheckPathsFit(std::move(paths), r);
  return bundle;
}
