#include "http/id_stack.h"

#include <algorithm>

#include "base/format.h"
#include "base/text.h"
#include "http/socket_exceptions.h"

namespace pelmorix {
namespace {

struct TErrorEntry {
  int32_t number;
  const char* text;
};

constexpr TErrorEntry kErrorTexts[] = {
    {10004, "Interrupted system call."},
    {10009, "Bad file number."},
    {10013, "Access denied."},
    {10014, "Bad address."},
    {10022, "Invalid argument."},
    {10024, "Too many open files."},
    {10035, "Operation would block. "},
    {10036, "Operation now in progress."},
    {10037, "Operation already in progress."},
    {10038, "Socket operation on non-socket."},
    {10039, "Destination address required."},
    {10040, "Message too long."},
    {10041, "Protocol wrong type for socket."},
    {10042, "Bad protocol option."},
    {10043, "Protocol not supported."},
    {10044, "Socket type not supported."},
    {10045, "Operation not supported on socket."},
    {10046, "Protocol family not supported."},
    {10047, "Address family not supported by protocol family."},
    {10048, "Address already in use."},
    {10049, "Cannot assign requested address."},
    {10050, "Network is down."},
    {10051, "Network is unreachable."},
    {10052, "Net dropped connection or reset."},
    {10053, "Software caused connection abort."},
    {10054, "Connection reset by peer."},
    {10055, "No buffer space available."},
    {10056, "Socket is already connected."},
    {10057, "Socket is not connected."},
    {10058, "Cannot send or receive after socket is closed."},
    {10059, "Too many references, cannot splice."},
    {10060, "Connection timed out."},
    {10061, "Connection refused."},
    {10062, "Too many levels of symbolic links."},
    {10063, "File name too long."},
    {10064, "Host is down."},
    {10065, "No route to host."},
    {10066, "Directory not empty"},
};

// A part of an address text: one or more decimal digits, at most the given maximum.
bool TryReadPart(const std::string& part, uint32_t maximum, uint32_t& value) {
  if (part.empty() || part.size() > 10) return false;
  uint64_t number = 0;
  for (const char c : part) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + static_cast<uint64_t>(c - '0');
  }
  if (number > maximum) return false;
  value = static_cast<uint32_t>(number);
  return true;
}

// Address text forms, chosen by the first empty part of the text cut at ".":
//   a        (second part empty; anything after the first "." is ignored) a: 32 bits
//   a.b      (third part empty)  a: 8 bits, b: the lower 24 bits
//   a.b.c    (rest empty)        a, b: 8 bits each, c: the lower 16 bits
//   a.b.c.d                      8 bits each; the rest after the third "." must be one number
bool TryParseAddress(const std::string& text, TIdIPv4Address& address) {
  std::string parts[4];
  size_t start = 0;
  for (int i = 0; i < 3; ++i) {
    const size_t dot = text.find('.', start);
    if (dot == std::string::npos) {
      parts[i] = text.substr(start);
      start = text.size();
      break;
    }
    parts[i] = text.substr(start, dot - start);
    start = dot + 1;
  }
  // Whatever follows the third "." is the rest.
  if (std::count(text.begin(), text.end(), '.') >= 3) parts[3] = text.substr(start);

  uint32_t a, b, c, d;
  uint32_t value;
  if (parts[1].empty()) {
    if (!TryReadPart(parts[0], 0xFFFFFFFFu, value)) return false;
  } else if (parts[2].empty()) {
    if (!TryReadPart(parts[0], 255, a) || !TryReadPart(parts[1], 0xFFFFFF, b)) return false;
    value = a << 24 | b;
  } else if (parts[3].empty()) {
    if (!TryReadPart(parts[0], 255, a) || !TryReadPart(parts[1], 255, b) ||
        !TryReadPart(parts[2], 0xFFFF, c)) {
      return false;
    }
    value = a << 24 | b << 16 | c;
  } else {
    if (!TryReadPart(parts[0], 255, a) || !TryReadPart(parts[1], 255, b) ||
        !TryReadPart(parts[2], 255, c) || !TryReadPart(parts[3], 255, d)) {
      return false;
    }
    value = a << 24 | b << 16 | c << 8 | d;
  }
  address = {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
             static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
  return true;
}

}  // namespace

bool TIdStack::CheckResult(int result, std::initializer_list<int32_t> ignored) {
  if (result != SOCKET_ERROR) return false;
  const int32_t number = WSGetLastError();
  lastErrorNumber_.store(number);
  if (std::find(ignored.begin(), ignored.end(), number) != ignored.end()) return true;
  RaiseError(number);
}

void TIdStack::RaiseError(int32_t number) { throw EIdSocketError(number, ErrorText(number)); }

std::string TIdStack::ErrorText(int32_t number) {
  return Format("Socket Error # %d\r\n%s", number, ErrorDescription(number).c_str());
}

std::string TIdStack::ErrorDescription(int32_t number) {
  for (const TErrorEntry& entry : kErrorTexts) {
    if (entry.number == number) return entry.text;
  }
  return "";
}

std::string TIdStack::ResolveHostText(const std::string& host) {
  if (SameText(host, "LOCALHOST")) return "127.0.0.1";
  if (IsAddressText(host)) return host;
  return HostByName(host);
}

bool TIdStack::IsAddressText(const std::string& text) {
  TIdIPv4Address address;
  return TryParseAddress(text, address);
}

TIdIPv4Address TIdStack::ParseAddress(const std::string& text) {
  TIdIPv4Address address;
  if (!TryParseAddress(text, address)) {
    throw EIdInvalidIPAddress(Format("%s is not a valid IP address.", text.c_str()));
  }
  return address;
}

std::string TIdStack::AddressToText(const TIdIPv4Address& address) {
  return Format("%u.%u.%u.%u", address[0], address[1], address[2], address[3]);
}

}  // namespace pelmorix
