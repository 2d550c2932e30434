#include "http/entity_header.h"

#include "base/convert.h"
#include "http/internet_date.h"
#include "http/token.h"

namespace pelmorix {
namespace {

void SetIfNotEmpty(TIdHeaderList& lines, const char* name, const std::string& value) {
  if (!value.empty()) lines.SetValue(name, value);
}

// "Expires" may also be a number of seconds from now.
TDateTime ExpiresToLocal(const std::string& value) {
  int32_t seconds = 0;
  if (TryStrToInt(value, seconds)) return seconds < 0 ? 0 : Now() + seconds / kSecondsPerDay;
  return DateHeaderToLocal(value);
}

}  // namespace

TDateTime DateHeaderToLocal(const std::string& value) {
  // Without the header there is no date; an unreadable one still moves 0 by the offsets.
  return value.empty() ? 0 : InternetDateToLocal(value);
}

TIdEntityHeaderInfo::TIdEntityHeaderInfo() { TIdEntityHeaderInfo::Clear(); }

void TIdEntityHeaderInfo::SetContentLength(int32_t length) {
  contentLength_ = length;
  hasContentLength_ = length >= 0;
}

void TIdEntityHeaderInfo::Assign(const TIdEntityHeaderInfo& source) {
  if (&source == this) return;
  HeaderLines = source.HeaderLines;
  CustomHeaders = source.CustomHeaders;
  Connection = source.Connection;
  ContentVersion = source.ContentVersion;
  ContentEncoding = source.ContentEncoding;
  ContentLanguage = source.ContentLanguage;
  ContentType = source.ContentType;
  CacheControl = source.CacheControl;
  Pragma = source.Pragma;
  ContentRangeStart = source.ContentRangeStart;
  ContentRangeEnd = source.ContentRangeEnd;
  Date = source.Date;
  Expires = source.Expires;
  LastModified = source.LastModified;
  contentLength_ = source.contentLength_;
  hasContentLength_ = source.hasContentLength_;
}

void TIdEntityHeaderInfo::ParseHeaderLines() {
  std::string range = HeaderLines.ValueOf("Content-Range");
  if (!range.empty()) {
    CutToken(range, " ");  // the unit
    ContentRangeStart = StrToInt(CutToken(range, "-"));
    ContentRangeEnd = StrToInt(CutToken(range, "/"));
  } else {
    ContentRangeStart = 0;
    ContentRangeEnd = 0;
  }
  Connection = HeaderLines.ValueOf("Connection");
  ContentVersion = HeaderLines.ValueOf("Content-Version");
  ContentEncoding = HeaderLines.ValueOf("Content-Encoding");
  ContentLanguage = HeaderLines.ValueOf("Content-Language");
  ContentType = HeaderLines.ValueOf("Content-Type");
  SetContentLength(StrToIntDef(HeaderLines.ValueOf("Content-Length"), -1));
  Date = DateHeaderToLocal(HeaderLines.ValueOf("Date"));
  LastModified = DateHeaderToLocal(HeaderLines.ValueOf("Last-Modified"));
  Expires = ExpiresToLocal(HeaderLines.ValueOf("Expires"));
  Pragma = HeaderLines.ValueOf("Pragma");
}

void TIdEntityHeaderInfo::BuildHeaderLines() {
  HeaderLines.Clear();
  SetIfNotEmpty(HeaderLines, "Connection", Connection);
  SetIfNotEmpty(HeaderLines, "Content-Version", ContentVersion);
  SetIfNotEmpty(HeaderLines, "Content-Encoding", ContentEncoding);
  SetIfNotEmpty(HeaderLines, "Content-Language", ContentLanguage);
  SetIfNotEmpty(HeaderLines, "Content-Type", ContentType);
  if (contentLength_ >= 0) HeaderLines.SetValue("Content-Length", IntToStr(contentLength_));
  SetIfNotEmpty(HeaderLines, "Cache-control", CacheControl);
  if (Date > 0) HeaderLines.SetValue("Date", DateTimeToZoneText(Date));
  if (Expires > 0) HeaderLines.SetValue("Expires", DateTimeToZoneText(Expires));
  if (LastModified > 0) HeaderLines.SetValue("Last-Modified", DateTimeToGMTText(LastModified));
  SetIfNotEmpty(HeaderLines, "Pragma", Pragma);
  HeaderLines.AddStrings(CustomHeaders);
}

void TIdEntityHeaderInfo::Clear() {
  Connection.clear();
  ContentVersion.clear();
  ContentEncoding.clear();
  ContentLanguage.clear();
  ContentType.clear();
  CacheControl.clear();
  Pragma.clear();
  SetContentLength(-1);
  ContentRangeStart = 0;
  ContentRangeEnd = 0;
  Date = 0;
  Expires = 0;
  LastModified = 0;
  HeaderLines.Clear();
}

}  // namespace pelmorix
