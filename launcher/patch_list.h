#pragma once

#include <string>
#include <vector>

namespace pelmorix {

// Takes the text before the first "|" out of text, with the "|". Without a "|" the result is
// empty and text stays as it is.
std::string TakeField(std::string& text);

// Every "#10" becomes a line feed, then every "#13" a carriage return.
std::string DecodeEscapes(std::string text);

struct PatchFile {
  std::string Url;
  std::string DownloadPath;  // "temp\" + the file name
  std::string TargetPath;
};

// A patch list reply: "name|version|-|-|count|" followed by "url|file name|target path|" per
// file. Fields missing at the end read as empty texts.
struct PatchList {
  // The run keeps its files in lists of this size.
  static constexpr int kMaxFiles = 101;

  std::string Name;
  std::string Version;
  std::vector<PatchFile> Files;
};

// A file of a patch that replaces the launcher's own executable: the running launcher leaves it
// in "temp" and hands it to Helper1.exe.
struct SelfPatchHandOver {
  bool Pending = false;
  std::string Source;  // the download path
  std::string Target;
};

// Reads a patch list. A count that is not an integer raises EConvertError; a count above
// kMaxFiles raises an Exception naming the count and the limit, since installing only part of
// a patch and recording its version would leave a broken installation. A count of 0 or less
// gives no files. A file name holding "..\" or "../" raises an Exception naming it: its
// download would land outside "temp".
PatchList ParsePatchList(std::string text);

}  // namespace pelmorix
