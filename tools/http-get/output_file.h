#pragma once

#include <memory>
#include <string>

#include "base/stream.h"

namespace pelmorix {

// The file named with -o. A file, or a name that does not exist yet, is written as a new file
// beside it that takes the name on Commit, so a run that fails leaves the file as it was; a
// device or a pipe is written directly. Failures raise in English, naming the file given:
// EFCreateError "Cannot create <name>: <reason>", EWriteError "Cannot write to <name>: <reason>".
class THttpGetOutputFile {
 public:
  explicit THttpGetOutputFile(const std::string& fileName);
  // Removes the new file unless it was committed.
  ~THttpGetOutputFile();
  THttpGetOutputFile(const THttpGetOutputFile&) = delete;
  THttpGetOutputFile& operator=(const THttpGetOutputFile&) = delete;

  TStream& Stream() { return *stream_; }
  // Everything was written: the new file takes the name.
  void Commit();

 private:
  std::string fileName_;
  std::string temporary_;  // empty when written directly
  std::unique_ptr<TStream> stream_;
};

}  // namespace pelmorix
