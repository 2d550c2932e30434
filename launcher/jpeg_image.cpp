#include "launcher/jpeg_image.h"

#include "base/format.h"
#include "launcher/picture_size_limit.h"
#include "platform/jpeg/jpeg_decoder.h"

namespace pelmorix {
namespace {

void RaiseOnFailure(int code) {
  if (code != 0) throw EJPEG(Format("JPEG-Fehler #%d", code));
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
  TJpegDecoder decoder(data_, Performance == TJPEGPerformance::jpBestSpeed);
  TRgbPicture picture;
  RaiseOnFailure(decoder.ReadHeader(picture.Width, picture.Height));
  // Refused before the pixels take any memory.
  if (!PictureSizeAllowed(static_cast<uint32_t>(picture.Width),
                          static_cast<uint32_t>(picture.Height))) {
    RaiseOnFailure(TJpegDecoder::PictureTooLargeCode());
  }
  RaiseOnFailure(decoder.ReadPixels(picture.Pixels));
  return picture;
}

}  // namespace pelmorix
