#pragma once

#include <cstdint>
#include <string>

#include "base/datetime.h"
#include "http/header_list.h"

namespace pelmorix {

// The header fields that requests and replies share, and the header lines they come from or
// turn into.
class TIdEntityHeaderInfo {
 public:
  static constexpr int kHeaderFoldLength = 1024;

  TIdEntityHeaderInfo();
  virtual ~TIdEntityHeaderInfo() = default;
  TIdEntityHeaderInfo(const TIdEntityHeaderInfo&) = delete;
  TIdEntityHeaderInfo& operator=(const TIdEntityHeaderInfo&) = delete;

  // Copies the fields and both header lists.
  virtual void Assign(const TIdEntityHeaderInfo& source);
  // Reads the fields from HeaderLines. A "Content-Range" whose numbers are not decimal raises
  // EConvertError.
  virtual void ParseHeaderLines();
  // Empties HeaderLines and sets the lines of the fields, then appends CustomHeaders.
  virtual void BuildHeaderLines();
  // Empties the texts and dates, sets no length and no range, and empties HeaderLines.
  virtual void Clear();

  int32_t ContentLength() const { return contentLength_; }
  bool HasContentLength() const { return hasContentLength_; }
  // -1 is no length.
  void SetContentLength(int32_t length);

  TIdHeaderList HeaderLines{kHeaderFoldLength};
  // Lines appended verbatim to a request.
  TIdHeaderList CustomHeaders;
  std::string Connection;
  std::string ContentVersion;
  std::string ContentEncoding;
  std::string ContentLanguage;
  std::string ContentType;
  std::string CacheControl;
  std::string Pragma;
  int32_t ContentRangeStart = 0;  // 0 is none
  int32_t ContentRangeEnd = 0;
  TDateTime Date = 0;  // 0 is none
  TDateTime Expires = 0;
  TDateTime LastModified = 0;

 private:
  int32_t contentLength_ = -1;
  bool hasContentLength_ = false;
};

// The local date of a date header, 0 when the reply has none.
TDateTime DateHeaderToLocal(const std::string& value);

}  // namespace pelmorix
