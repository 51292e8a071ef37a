#include "presentation/picture.h"

#include <algorithm>
#include <cctype>

#include "base/error.h"
#include "base/file_io.h"
#include "presentation/picture_decoders.h"

namespace {

std::string Extension(const std::string& path) {
  const auto dot = path.find_last_of('.');
  const auto slash = path.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  return path.substr(dot + 1);
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

}  // namespace

void TPicture::LoadFromFile(const std::string& path) {
  const std::string ext = Lower(Extension(path));
  const bool bmp = ext == "bmp";
  const bool jpeg = ext == "jpg" || ext == "jpeg";
  if (!bmp && !jpeg) throw EGameError("Unknown picture file extension (." + ext + ")");

  const fileio::ReadResult file = fileio::ReadPrefix(path, picture_codec::kMaxFileBytes + 1);
  if (!file.Opened) throw EInOutError("Cannot open file " + path);

  // Decode into a fresh picture: on failure this one keeps what it had.
  TPicture decoded;
  if (bmp) {
    if (file.FileSize > picture_codec::kMaxFileBytes ||
        !picture_codec::DecodeBmp(file.Bytes.data(), file.Bytes.size(), decoded)) {
      throw EGameError("Bitmap image is not valid");
    }
  } else {
    int code = file.FileSize > picture_codec::kMaxFileBytes
                   ? picture_codec::JpegTooBigCode()
                   : picture_codec::DecodeJpeg(file.Bytes.data(), file.Bytes.size(), decoded);
    if (code != 0) throw EGameError("JPEG error #" + std::to_string(code));
  }
  *this = std::move(decoded);
}
