// Windows bitmaps: any bytes either decode to a picture of the size the header states or fail.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "presentation/picture.h"
#include "presentation/picture_decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TPicture p;
  if (picture_codec::DecodeBmp(data, size, p)) {
    if (p.Width <= 0 || p.Height <= 0 ||
        p.Pixels.size() != static_cast<size_t>(p.Width) * static_cast<size_t>(p.Height)) {
      std::abort();
    }
  }
  return 0;
}
