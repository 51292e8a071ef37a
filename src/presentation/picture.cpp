#include "presentation/picture.h"

#include <algorithm>
#include <cctype>

#include "base/error.h"

namespace {

std::string LowerExtension(const std::string& path) {
  auto dot = path.find_last_of('.');
  auto slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string ext = path.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

}  // namespace

void TPicture::LoadFromFile(const std::string& path) {
  const std::string ext = LowerExtension(path);
  if (ext != "bmp" && ext != "jpg" && ext != "jpeg") {
    throw EGameError("Unknown picture file extension (." + ext + ")");
  }
  throw EGameError("Cannot open file " + path);
}
