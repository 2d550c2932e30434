#pragma once

#include <cstdint>
#include <string>

#include "base/datetime.h"
#include "http/id_exception.h"
#include "platform/timezone/timezone.h"

namespace pelmorix {

PELMORIX_DECLARE_EXCEPTION(EIdFailedToRetreiveTimeZoneInfo, EIdException);

// Reads an HTTP date text and leaves the unread rest (the zone) in the text. Accepted forms:
//   Sun, 06 Nov 1994 08:49:37 GMT     (also without the space after the comma)
//   Sunday, 06-Nov-94 08:49:37 GMT
//   Sun Nov  6 08:49:37 1994
// Two-digit years below 80 are 20xx, from 80 on 19xx. A text that cannot be read gives 0.
TDateTime ParseInternetDate(std::string& text);

// The offset of a zone text such as "+0100" or "-0530" as a fraction of a day; 0 for "GMT",
// zone names and anything else.
TDateTime ZoneOffsetOfText(const std::string& zone);

// The local offset from UTC (local = UTC + offset) for a time-zone answer. A zone without
// daylight saving time answers "unknown" and is offset by its bias alone; a failed query
// raises EIdFailedToRetreiveTimeZoneInfo.
TDateTime LocalOffsetForTimeZone(uint32_t answer, const TIME_ZONE_INFORMATION& info);
// The same for the zone this process runs in.
TDateTime LocalOffsetFromUTC();

// The UTC date-time of a date text: the parsed date moved by its own zone.
TDateTime InternetDateToUTC(const std::string& text);
// The local date-time of a date text: the parsed date moved from its own zone to local time.
TDateTime InternetDateToLocal(const std::string& text);
// As above with a local offset the caller already has, for loops over many texts.
TDateTime InternetDateToLocal(const std::string& text, TDateTime localOffset);

// "Sun, 06 Nov 1994 08:49:37 GMT": the value is written as it is, without conversion.
std::string DateTimeToGMTText(TDateTime value);
// "Sun, 6 Nov 1994 08:49:37 +0100": the value with the local offset from UTC.
std::string DateTimeToZoneText(TDateTime value);
std::string DateTimeToZoneText(TDateTime value, TDateTime localOffset);

}  // namespace pelmorix
