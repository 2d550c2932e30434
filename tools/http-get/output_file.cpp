#include "tools/http-get/output_file.h"

#include <cerrno>
#include <cstdio>
#include <random>

#include "base/path.h"
#include "tools/http-get/file_failure.h"
#include "tools/http-get/output_place.h"

namespace pelmorix {
namespace {

// A file stream whose failures name the file the user gave and the system's reason.
class TNamedFileStream : public TFileStream {
 public:
  TNamedFileStream(const std::string& path, uint16_t mode, std::string shownName)
      : TFileStream(path, mode), shownName_(std::move(shownName)) {}

  int64_t Write(const void* buffer, int64_t count) override {
    errno = 0;
    const int64_t done = TFileStream::Write(buffer, count);
    if (done != count) throw EWriteError(FileFailureText("write to", shownName_, errno));
    return done;
  }
  void SetSize(int64_t size) override {
    errno = 0;
    try {
      TFileStream::SetSize(size);
    } catch (const EWriteError&) {
      throw EWriteError(FileFailureText("write to", shownName_, errno));
    }
  }

 private:
  std::string shownName_;
};

std::unique_ptr<TStream> OpenNamed(const std::string& path, uint16_t mode,
                                   const std::string& shownName) {
  errno = 0;
  try {
    return std::make_unique<TNamedFileStream>(path, mode, shownName);
  } catch (const EFCreateError&) {
    throw EFCreateError(FileFailureText("create", shownName, errno));
  } catch (const EFOpenError&) {
    throw EFCreateError(FileFailureText("create", shownName, errno));
  }
}

// A new file beside fileName: "<fileName>.<six letters>.part".
std::string CreateFileBeside(const std::string& fileName) {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = fileName + ".";
    for (int i = 0; i < 6; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
    name += ".part";
    if (CreateNewFile(name)) return name;
    if (errno != EEXIST) break;
  }
  throw EFCreateError(FileFailureText("create", fileName, errno));
}

}  // namespace

THttpGetOutputFile::THttpGetOutputFile(const std::string& fileName) : fileName_(fileName) {
  const TOutputPlace place = OutputPlaceOf(fileName);
  if (place == TOutputPlace::kFolder) {
    throw EFCreateError(FileFailureText("create", fileName, EISDIR));
  }
  if (place == TOutputPlace::kDevice) {
    stream_ = OpenNamed(fileName, fmCreate, fileName);
    return;
  }
  temporary_ = CreateFileBeside(NativePath(fileName));
  stream_ = OpenNamed(temporary_, fmOpenReadWrite, fileName);
}

THttpGetOutputFile::~THttpGetOutputFile() {
  stream_.reset();  // Windows removes no file that is still open
  if (!temporary_.empty()) std::remove(temporary_.c_str());
}

void THttpGetOutputFile::Commit() {
  stream_.reset();
  if (temporary_.empty()) return;
  errno = 0;
  const bool replaced = ReplaceFileWith(NativePath(fileName_), temporary_);
  const int error = errno;
  const std::string kept = temporary_;
  temporary_.clear();  // the download stays, whichever name it has now
  if (!replaced) {
    throw EWriteError(FileFailureText("replace", fileName_, error) + " (the download is in " +
                      kept + ")");
  }
}

}  // namespace pelmorix
