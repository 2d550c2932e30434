#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pelmorix {

// Decodes one JPEG picture held in memory into 24 bits per pixel, rows top to bottom, bytes red,
// green, blue. It works in two steps, so that a caller can look at the declared size before the
// pixels take any memory: ReadHeader, then ReadPixels. Each step answers 0, or the decoder's
// message number when the bytes are not a picture it can decode; after a failure every later
// step answers the same number. The bytes must outlive the decoder.
//
// On Linux the decoder is libjpeg, and fast selects its fast integer inverse DCT. On Windows it
// is the system's own (Windows Imaging Component), which has one DCT setting and ignores fast;
// its message number is the code part of the failing call's HRESULT.
class TJpegDecoder {
 public:
  TJpegDecoder(const std::string& data, bool fast);
  ~TJpegDecoder();
  TJpegDecoder(const TJpegDecoder&) = delete;
  TJpegDecoder& operator=(const TJpegDecoder&) = delete;

  // The picture's size as its header declares it.
  int ReadHeader(int& width, int& height);
  // After ReadHeader: width * height * 3 bytes.
  int ReadPixels(std::vector<uint8_t>& pixels);

  // The decoder's own message number for a picture larger than it will decode, for a caller
  // that refuses a size after ReadHeader.
  static int PictureTooLargeCode();

 private:
  struct TState;
  std::unique_ptr<TState> state_;
};

}  // namespace pelmorix
