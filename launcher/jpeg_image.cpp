#include "launcher/jpeg_image.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
// jerror.h needs jpeglib.h first.
#include <jerror.h>

#include "base/format.h"
#include "launcher/picture_size_limit.h"

namespace pelmorix {
namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  jmp_buf escape;
};

void EscapeOnError(j_common_ptr info) {
  longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

void IgnoreMessage(j_common_ptr, int) {}

// Decodes into picture; returns 0 or the decoder's message number. Only plain data lives in
// this frame across the setjmp, so leaving it by longjmp skips no destructor.
int DecodeInto(const std::string& data, bool fast, TRgbPicture& picture) {
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = EscapeOnError;
  errors.base.emit_message = IgnoreMessage;
  if (setjmp(errors.escape) != 0) {
    const int code = errors.base.msg_code;
    jpeg_destroy_decompress(&info);
    return code == 0 ? -1 : code;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.data()),
               static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  if (!PictureSizeAllowed(info.image_width, info.image_height)) {
    ERREXIT1(&info, JERR_IMAGE_TOO_BIG, kMaxPictureSide);
  }
  info.out_color_space = JCS_RGB;
  if (fast) info.dct_method = JDCT_IFAST;
  jpeg_start_decompress(&info);
  picture.Width = static_cast<int>(info.output_width);
  picture.Height = static_cast<int>(info.output_height);
  const size_t stride = static_cast<size_t>(info.output_width) * 3;
  picture.Pixels.resize(stride * info.output_height);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = picture.Pixels.data() + stride * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return 0;
}

}  // namespace

void TJPEGImage::LoadFromStream(TStream& stream) {
  const int64_t count = stream.Size() - stream.Position();
  std::string bytes(static_cast<size_t>(count > 0 ? count : 0), '\0');
  stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  data_.swap(bytes);
}

void TJPEGImage::LoadFromFile(const std::string& fileName) {
  TFileStream file(fileName, fmOpenRead);
  LoadFromStream(file);
}

void TJPEGImage::SaveToFile(const std::string& fileName) const {
  TFileStream file(fileName, fmCreate);
  file.WriteBuffer(data_.data(), static_cast<int64_t>(data_.size()));
}

TRgbPicture TJPEGImage::Decode() const {
  TRgbPicture picture;
  const int code = DecodeInto(data_, Performance == TJPEGPerformance::jpBestSpeed, picture);
  if (code != 0) throw EJPEG(Format("JPEG-Fehler #%d", code));
  return picture;
}

}  // namespace pelmorix
