// Reads the input as an HTTP date text, and writes a date that was read back as a text that
// must read as the same moment.
#include <cmath>
#include <string>

#include "base/datetime.h"
#include "base/text.h"
#include "fuzz/fuzz_support.h"
#include "http/internet_date.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pelmorix;
  const std::string text = InputText(data, size);
  std::string rest = text;
  const TDateTime value = ParseInternetDate(rest);
  FUZZ_CHECK(std::isfinite(value));

  const TDateTime zone = ZoneOffsetOfText(rest);
  FUZZ_CHECK(std::fabs(zone) < 5.0);  // at most 99 hours and 99 minutes
  const TDateTime offset = LocalOffsetFromUTC();
  FUZZ_CHECK(InternetDateToLocal(text, offset) == InternetDateToUTC(text) + offset);

  if (value != 0) {
    FUZZ_CHECK(rest.empty() || !IsBlank(rest[0]));
    int year, month, day;
    DecodeDate(value, year, month, day);
    FUZZ_CHECK(year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= 31);
    // Years below 100 read as two-digit years, so only four-digit years come back unchanged.
    if (year >= 100) {
      std::string written = DateTimeToGMTText(value);
      FUZZ_CHECK(std::fabs(ParseInternetDate(written) - value) < 1e-8);
      FUZZ_CHECK(written == "GMT");
      std::string zoned = DateTimeToZoneText(value, zone);
      FUZZ_CHECK(std::fabs(ParseInternetDate(zoned) - value) < 1e-8);
    }
  }
  return 0;
}
