// JPEG through libjpeg: never an exit, never a success without a whole picture.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "presentation/picture.h"
#include "presentation/picture_decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TPicture p;
  if (picture_codec::DecodeJpeg(data, size, p) == 0) {
    if (p.Width <= 0 || p.Height <= 0 ||
        p.Pixels.size() != static_cast<size_t>(p.Width) * static_cast<size_t>(p.Height)) {
      std::abort();
    }
  }
  return 0;
}
