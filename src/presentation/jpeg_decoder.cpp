// libjpeg reports errors by calling error_exit, whose default ends the process. Here it jumps
// back to the decoding step that set up the jump instead, and a warning (a premature end, a
// corrupt marker) jumps the same way: a damaged picture is an error, not a half picture.
// The jump crosses only libjpeg's C frames, and the functions that call setjmp hold no C++
// object with a destructor, so nothing is skipped when it is taken.
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "presentation/picture.h"
#include "presentation/picture_decoders.h"

namespace picture_codec {
namespace {

// A progressive file can ask for thousands of scans over one picture; real ones need a few.
constexpr int kMaxScans = 256;
// What libjpeg may allocate beyond the picture itself (a progressive picture keeps all its
// coefficients): a picture that needs more is an error, not an allocation as big as its header
// asks. A progressive 4096 x 4096 picture fits, the game's own pictures with room to spare.
constexpr long kMaxWorkingMemory = 128L << 20;

struct Decoder {
  jpeg_decompress_struct info;  // first, so libjpeg's pointer to it is a pointer to this
  jpeg_error_mgr err;
  jpeg_progress_mgr progress;
  std::jmp_buf jump;
  int code;
};

Decoder* Of(j_common_ptr cinfo) {
  return reinterpret_cast<Decoder*>(cinfo);
}

[[noreturn]] void Fail(j_common_ptr cinfo) {
  Decoder* d = Of(cinfo);
  d->code = cinfo->err->msg_code > 0 ? cinfo->err->msg_code : -1;
  std::longjmp(d->jump, 1);
}

void OnMessage(j_common_ptr cinfo, int level) {
  if (level < 0) Fail(cinfo);  // a warning: the data is damaged
}

void Silent(j_common_ptr) {}

void OnProgress(j_common_ptr cinfo) {
  auto* info = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (info->input_scan_number > kMaxScans) {
    cinfo->err->msg_code = JERR_NOTIMPL;
    Fail(cinfo);
  }
}

// Each step returns false after a jump; the Decoder's code then says why.
bool ReadHeader(Decoder* d, const uint8_t* data, size_t size) {
  if (setjmp(d->jump)) return false;
  jpeg_create_decompress(&d->info);
  d->info.mem->max_memory_to_use = kMaxWorkingMemory;
  d->info.progress = &d->progress;
  jpeg_mem_src(&d->info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&d->info, TRUE);
  d->info.out_color_space = JCS_EXT_BGRX;  // straight into the back buffer's layout
  d->info.dct_method = JDCT_ISLOW;         // the same pixels on every machine
  jpeg_calc_output_dimensions(&d->info);
  return true;
}

// The rows are added to `pixels` (room reserved for all of them) as they are decoded, so a file
// whose header promises a big picture and whose data ends early costs only the rows it holds.
bool ReadRows(Decoder* d, std::vector<uint32_t>& pixels, size_t width) {
  if (setjmp(d->jump)) return false;
  jpeg_start_decompress(&d->info);
  while (d->info.output_scanline < d->info.output_height) {
    pixels.resize(pixels.size() + width);
    JSAMPROW row = reinterpret_cast<uint8_t*>(pixels.data() + width * d->info.output_scanline);
    if (jpeg_read_scanlines(&d->info, &row, 1) != 1) {
      d->code = JWRN_JPEG_EOF;
      return false;
    }
  }
  jpeg_finish_decompress(&d->info);
  return true;
}

}  // namespace

int JpegTooBigCode() {
  return JERR_IMAGE_TOO_BIG;
}

int DecodeJpeg(const uint8_t* data, size_t size, TPicture& out) {
  if (data == nullptr || size == 0) return JERR_INPUT_EMPTY;
  Decoder d{};
  d.info.err = jpeg_std_error(&d.err);
  d.err.error_exit = Fail;
  d.err.emit_message = OnMessage;
  d.err.output_message = Silent;
  d.progress.progress_monitor = OnProgress;
  d.code = -1;

  int result = 0;
  if (!ReadHeader(&d, data, size)) {
    result = d.code;
  } else if (d.info.output_width == 0 || d.info.output_height == 0 ||
             d.info.output_width > static_cast<JDIMENSION>(kMaxSide) ||
             d.info.output_height > static_cast<JDIMENSION>(kMaxSide) ||
             int64_t{d.info.output_width} * d.info.output_height > kMaxPixels ||
             d.info.output_components != 4) {
    result = JERR_IMAGE_TOO_BIG;
  } else {
    const auto w = static_cast<size_t>(d.info.output_width);
    const auto h = static_cast<size_t>(d.info.output_height);
    std::vector<uint32_t> px;
    px.reserve(w * h);
    if (ReadRows(&d, px, w)) {
      for (uint32_t& p : px) p &= 0x00FFFFFFu;  // libjpeg fills the X byte with 0xFF
      out.Width = static_cast<int32_t>(w);
      out.Height = static_cast<int32_t>(h);
      out.Pixels = std::move(px);
    } else {
      result = d.code;
    }
  }
  jpeg_destroy_decompress(&d.info);
  return result;
}

}  // namespace picture_codec
