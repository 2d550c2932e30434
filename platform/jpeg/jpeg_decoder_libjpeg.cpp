#include "platform/jpeg/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>

// jpeglib.h needs stdio.h first.
#include <jpeglib.h>
// jerror.h needs jpeglib.h first.
#include <jerror.h>

namespace pelmorix {
namespace {

struct TErrorManager {
  jpeg_error_mgr Base;
  jmp_buf Escape;
};

void EscapeOnError(j_common_ptr info) {
  longjmp(reinterpret_cast<TErrorManager*>(info->err)->Escape, 1);
}

void IgnoreMessage(j_common_ptr, int) {}

}  // namespace

// libjpeg reports an error by calling error_exit, which leaves the library by longjmp to the
// setjmp of the step that called it. Only plain data lives in those frames, so leaving them
// skips no destructor.
struct TJpegDecoder::TState {
  TState(const std::string& data, bool fast) : Data(data), Fast(fast) {
    Info.err = jpeg_std_error(&Errors.Base);
    Errors.Base.error_exit = EscapeOnError;
    Errors.Base.emit_message = IgnoreMessage;
  }
  ~TState() { jpeg_destroy_decompress(&Info); }

  int Fail() {
    const int code = Errors.Base.msg_code;
    Failure = code == 0 ? -1 : code;
    return Failure;
  }

  const std::string& Data;
  const bool Fast;
  jpeg_decompress_struct Info{};
  TErrorManager Errors{};
  bool HeaderRead = false;
  int Failure = 0;
};

TJpegDecoder::TJpegDecoder(const std::string& data, bool fast)
    : state_(std::make_unique<TState>(data, fast)) {}

TJpegDecoder::~TJpegDecoder() = default;

int TJpegDecoder::PictureTooLargeCode() { return JERR_IMAGE_TOO_BIG; }

int TJpegDecoder::ReadHeader(int& width, int& height) {
  TState& state = *state_;
  if (state.Failure != 0) return state.Failure;
  if (setjmp(state.Errors.Escape) != 0) return state.Fail();
  jpeg_create_decompress(&state.Info);
  jpeg_mem_src(&state.Info, reinterpret_cast<const unsigned char*>(state.Data.data()),
               static_cast<unsigned long>(state.Data.size()));
  jpeg_read_header(&state.Info, TRUE);
  state.Info.out_color_space = JCS_RGB;
  if (state.Fast) state.Info.dct_method = JDCT_IFAST;
  width = static_cast<int>(state.Info.image_width);
  height = static_cast<int>(state.Info.image_height);
  state.HeaderRead = true;
  return 0;
}

int TJpegDecoder::ReadPixels(std::vector<uint8_t>& pixels) {
  TState& state = *state_;
  if (state.Failure != 0) return state.Failure;
  if (!state.HeaderRead) return state.Failure = -1;
  if (setjmp(state.Errors.Escape) != 0) return state.Fail();
  jpeg_start_decompress(&state.Info);
  const size_t stride = static_cast<size_t>(state.Info.output_width) * 3;
  pixels.resize(stride * state.Info.output_height);
  while (state.Info.output_scanline < state.Info.output_height) {
    JSAMPROW row = pixels.data() + stride * state.Info.output_scanline;
    jpeg_read_scanlines(&state.Info, &row, 1);
  }
  jpeg_finish_decompress(&state.Info);
  return 0;
}

}  // namespace pelmorix
