#include "http/reply_framing.h"

#include <string>
#include <vector>

#include "base/int64_convert.h"
#include "base/text.h"
#include "http/http_exceptions.h"
#include "http/token.h"

namespace pelmorix {
namespace {

// Every comma-separated item of every value of the header, trimmed, empty ones left out.
std::vector<std::string> ListItems(const TIdHeaderList& headers, const std::string& name) {
  std::vector<std::string> values;
  headers.ValuesOf(name, values);
  std::vector<std::string> items;
  for (std::string& value : values) {
    while (!value.empty()) {
      std::string item = Trim(CutToken(value, ","));
      if (!item.empty()) items.push_back(std::move(item));
    }
  }
  return items;
}

// The transfer codings in the order they were applied, "identity" left out.
std::vector<std::string> TransferCodings(const TIdHeaderList& headers) {
  std::vector<std::string> codings;
  for (const std::string& item : ListItems(headers, "Transfer-Encoding")) {
    if (!SameText(item, "identity")) codings.push_back(item);
  }
  return codings;
}

// The length the "Content-Length" headers agree on; -1 without one or with one that is not a
// number of 0 and more, which leaves the body to the peer's close.
int64_t ContentLength(const TIdHeaderList& headers) {
  int64_t agreed = -1;
  bool first = true;
  for (const std::string& item : ListItems(headers, "Content-Length")) {
    int64_t length = -1;
    if (!TryStrToInt64(item, length) || length < 0) length = -1;
    if (!first && length != agreed) {
      throw EIdConflictingContentLength("Reply with differing Content-Length headers.");
    }
    agreed = length;
    first = false;
  }
  return agreed;
}

}  // namespace

TIdReplyFraming ReplyFraming(const TIdHeaderList& headers) {
  TIdReplyFraming framing;
  const std::vector<std::string> codings = TransferCodings(headers);
  if (!codings.empty()) {
    // Any coding besides "chunked" would hand coded bytes over as the body.
    if (codings.size() != 1 || !SameText(codings.front(), "chunked")) {
      std::string named;
      for (const std::string& coding : codings) named += (named.empty() ? "" : ", ") + coding;
      throw EIdUnsupportedTransferCoding("Transfer coding \"" + named + "\" cannot be decoded.");
    }
    framing.Kind = TIdReplyFraming::kChunked;
    framing.EndsConnection = headers.IndexOfHeader("Content-Length") >= 0;
    return framing;
  }
  framing.Length = ContentLength(headers);
  if (framing.Length >= 0) framing.Kind = TIdReplyFraming::kLength;
  return framing;
}

}  // namespace pelmorix
