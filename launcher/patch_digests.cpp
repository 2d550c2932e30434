#include "launcher/patch_digests.h"

#include "base/codepage.h"
#include "base/convert.h"
#include "base/exception.h"
#include "base/stream.h"
#include "platform/signature/signature_check.h"

namespace pelmorix {
namespace {

constexpr size_t kHexDigits = 64;

std::string HexToBytes(const std::string& hex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    uint32_t value = 0;
    if (!TryHexToUInt(hex.substr(i, 2), value)) ThrowInvalidPatchSignature();
    bytes += static_cast<char>(value);
  }
  return bytes;
}

std::string BytesToHex(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (const char byte : bytes) {
    hex += kDigits[static_cast<unsigned char>(byte) >> 4];
    hex += kDigits[static_cast<unsigned char>(byte) & 15];
  }
  return hex;
}

void AddDigestLine(const std::string& line, TPatchDigests& digests) {
  if (line.size() < kHexDigits + 3 || line[kHexDigits] != ' ' ||
      (line[kHexDigits + 1] != ' ' && line[kHexDigits + 1] != '*')) {
    ThrowInvalidPatchSignature();
  }
  const std::string digest = HexToBytes(line.substr(0, kHexDigits));
  const auto [entry, added] = digests.emplace(line.substr(kHexDigits + 2), digest);
  if (!added && entry->second != digest) ThrowInvalidPatchSignature();
}

}  // namespace

void ThrowInvalidPatchSignature() {
  throw Exception(Utf8ToCp1252("Die Signatur des Updates ist ungültig"));
}

TPatchDigests ParsePatchDigests(const std::string& text) {
  TPatchDigests digests;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    AddDigestLine(text.substr(start, end - start), digests);
    start = end + 1;
  }
  return digests;
}

std::string FormatPatchDigests(const std::map<std::string, std::string>& digests) {
  std::string text;
  for (const auto& [name, digest] : digests) text += BytesToHex(digest) + "  " + name + "\n";
  return text;
}

std::string PatchFileName(const PatchFile& file) { return file.DownloadPath.substr(5); }

std::string FileSha256(const std::string& path) {
  TFileStream stream(path, fmOpenRead);
  TSha256 hash;
  std::string buffer(1 << 16, '\0');
  for (int64_t got; (got = stream.Read(buffer.data(), static_cast<int64_t>(buffer.size()))) > 0;) {
    hash.Update(buffer.data(), static_cast<size_t>(got));
  }
  return hash.Final();
}

void CheckPatchFile(const TPatchDigests& digests, const std::string& fileName,
                    const std::string& path) {
  const auto entry = digests.find(fileName);
  if (entry == digests.end() || FileSha256(path) != entry->second) {
    throw Exception("Die Datei " + fileName + Utf8ToCp1252(" ist beschädigt"));
  }
}

}  // namespace pelmorix
