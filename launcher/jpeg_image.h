#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/exception.h"
#include "base/stream.h"

namespace pelmorix {

// A picture that is not a JPEG image: "JPEG-Fehler #<decoder message number>".
PELMORIX_DECLARE_EXCEPTION(EJPEG, Exception);

enum class TJPEGPerformance { jpBestQuality, jpBestSpeed };

// A decoded picture: 24 bits per pixel, rows top to bottom, bytes red, green, blue.
struct TRgbPicture {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Pixels;
};

// A JPEG picture: holds the compressed bytes of the image loaded last and decodes them on
// request. Best speed selects the fast integer inverse DCT.
class TJPEGImage {
 public:
  TJPEGPerformance Performance = TJPEGPerformance::jpBestQuality;

  // Takes the bytes from the stream's position to its end.
  void LoadFromStream(TStream& stream);
  // Raises EFOpenError when the file cannot be opened.
  void LoadFromFile(const std::string& fileName);
  // Writes the compressed bytes unchanged.
  void SaveToFile(const std::string& fileName) const;

  // Decodes the bytes; raises EJPEG when they are not a JPEG image or declare a size beyond
  // PictureSizeAllowed.
  TRgbPicture Decode() const;

  const std::string& Data() const { return data_; }

 private:
  std::string data_;
};

}  // namespace pelmorix
