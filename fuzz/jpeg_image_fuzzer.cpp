// Decodes the input as a button picture from memory, as a server reply is decoded, with the
// decoder set for speed and for quality.
#include "base/stream.h"
#include "fuzz/fuzz_support.h"
#include "launcher/jpeg_image.h"
#include "launcher/picture_size_limit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pelmorix;
  TMemoryStream stream;
  stream.WriteText(InputText(data, size));
  stream.SetPosition(0);
  TJPEGImage image;
  image.LoadFromStream(stream);
  FUZZ_CHECK(image.Data().size() == size);
  for (const auto performance : {TJPEGPerformance::jpBestSpeed, TJPEGPerformance::jpBestQuality}) {
    image.Performance = performance;
    try {
      const TRgbPicture picture = image.Decode();
      FUZZ_CHECK(picture.Width > 0 && picture.Height > 0);
      FUZZ_CHECK(PictureSizeAllowed(static_cast<uint32_t>(picture.Width),
                                    static_cast<uint32_t>(picture.Height)));
      FUZZ_CHECK(picture.Pixels.size() == static_cast<size_t>(picture.Width) * picture.Height * 3);
    } catch (const EJPEG&) {
      // not a JPEG image, or one larger than the launcher decodes
    }
  }
  return 0;
}
