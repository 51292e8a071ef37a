#include "shell/record_store.h"

#include <cerrno>
#include <system_error>

#include "base/error.h"
#include "base/file_io.h"
#include "shell/game_paths.h"

namespace fs = std::filesystem;

namespace {

std::string UnreadableText(const fs::path& path) {
  return "Soubor s rekordy " + path.filename().string() +
         " je poškozený nebo pochází z jiné verze hry.";
}

}  // namespace

fs::path SetAsidePath(const fs::path& path) {
  fs::path aside = path;
  aside += ".bad";
  std::error_code ec;
  for (int n = 2; fs::exists(aside, ec) && n < 1000; ++n) {
    aside = path;
    aside += ".bad-" + std::to_string(n);
  }
  return aside;
}

TRecordsLoad LoadRecords(const fs::path& path, TFileSystem& files) {
  TRecordsLoad load;
  std::error_code ec;
  if (!fs::exists(path, ec) && !ec) return load;
  try {
    const fileio::ReadResult file = fileio::ReadPrefix(path.string(), kMaxRecordsFileBytes + 1);
    if (!file.Opened) throw EInOutError(path.string() + ": cannot open the file");
    if (file.FileSize > kMaxRecordsFileBytes)
      throw EInOutError(path.string() + ": too large for the records");
    load.Book = DecodeRecordBook(file.Bytes.data(), file.Bytes.size(), path.string());
    return load;
  } catch (const EInOutError& e) {
    load.Problem = e.what();
  }
  const fs::path aside = SetAsidePath(path);
  if (files.Rename(path.string(), aside.string()) == 0) {
    load.Message = UnreadableText(path) + " Hra ho odložila jako " + aside.filename().string() +
                   " a rekordy začínají znovu.";
  } else {
    load.Problem += "; it cannot be put aside: " + InOutErrorText(errno);
    load.Message =
        UnreadableText(path) + " Nepodařilo se ho odložit, a tak do něj hra nové rekordy nezapíše.";
    load.Writable = false;
  }
  return load;
}

void SaveRecords(const fs::path& path, const TRecordBook& book, TFileSystem& files) {
  EnsureSaveDirectory(path);
  const std::vector<uint8_t> bytes = EncodeRecordBook(book);
  ReplaceFileContents(path, bytes.data(), bytes.size(), files);
}
