#include "launcher/patch_list.h"

#include "base/codepage.h"
#include "base/convert.h"
#include "base/exception.h"
#include "base/format.h"

namespace pelmorix {
namespace {

void ReplaceAll(std::string& text, const std::string& from, char to) {
  std::string out;
  out.reserve(text.size());
  size_t start = 0;
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, start)) {
    out.append(text, start, at - start);
    out += to;
    start = at + from.size();
  }
  out.append(text, start, std::string::npos);
  text.swap(out);
}

// A file name that climbs out of "temp" would let the server write anywhere the launcher
// may write, before the user has seen what the patch installs.
bool LeavesTempFolder(const std::string& fileName) {
  return fileName.find("..\\") != std::string::npos || fileName.find("../") != std::string::npos;
}

}  // namespace

std::string TakeField(std::string& text) {
  const size_t bar = text.find('|');
  if (bar == std::string::npos) return std::string();
  std::string field = text.substr(0, bar);
  text.erase(0, bar + 1);
  return field;
}

std::string DecodeEscapes(std::string text) {
  ReplaceAll(text, "#10", '\n');
  ReplaceAll(text, "#13", '\r');
  return text;
}

PatchList ParsePatchList(std::string text) {
  PatchList list;
  list.Name = TakeField(text);
  list.Version = TakeField(text);
  TakeField(text);
  TakeField(text);
  const int32_t count = StrToInt(TakeField(text));
  if (count > PatchList::kMaxFiles) {
    throw Exception(
        Format(Utf8ToCp1252("Die Patchliste enthält %d Dateien, möglich sind höchstens %d").c_str(),
               count, PatchList::kMaxFiles));
  }
  for (int32_t k = 0; k < count; ++k) {
    PatchFile file;
    file.Url = TakeField(text);
    const std::string fileName = TakeField(text);
    if (LeavesTempFolder(fileName)) {
      throw Exception("Der Dateiname " + fileName +
                      Utf8ToCp1252(" führt aus dem Ordner temp hinaus"));
    }
    file.DownloadPath = "temp\\" + fileName;
    file.TargetPath = TakeField(text);
    list.Files.push_back(std::move(file));
  }
  return list;
}

}  // namespace pelmorix
