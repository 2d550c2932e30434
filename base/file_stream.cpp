#include <cstdio>

#include "base/codepage.h"
#include "base/file_handle.h"
#include "base/format.h"
#include "base/path.h"
#include "base/stream.h"

namespace pelmorix {

TFileStream::TFileStream(const std::string& fileName, uint16_t mode) : fileName_(fileName) {
  const std::string path = NativePath(fileName);
  if (mode == fmCreate) {
    fd_ = CreateFileHandle(path);
    if (fd_ < 0) {
      throw EFCreateError(
          Format(Utf8ToCp1252("Datei %s kann nicht erstellt werden").c_str(), fileName.c_str()));
    }
    return;
  }
  TFileAccess access = TFileAccess::kRead;
  if ((mode & 0x3) == fmOpenWrite) access = TFileAccess::kWrite;
  if ((mode & 0x3) == fmOpenReadWrite) access = TFileAccess::kReadWrite;
  fd_ = OpenFileHandle(path, access);
  if (fd_ < 0) {
    throw EFOpenError(
        Format(Utf8ToCp1252("Datei %s kann nicht geöffnet werden").c_str(), fileName.c_str()));
  }
}

TFileStream::~TFileStream() {
  if (fd_ >= 0) CloseFileHandle(fd_);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    const int64_t n = ReadFileHandle(fd_, static_cast<char*>(buffer) + done, count - done);
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    const int64_t n = WriteFileHandle(fd_, static_cast<const char*>(buffer) + done, count - done);
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  int whence = SEEK_SET;
  if (origin == TSeekOrigin::soCurrent) whence = SEEK_CUR;
  if (origin == TSeekOrigin::soEnd) whence = SEEK_END;
  int64_t result = SeekFileHandle(fd_, offset, whence);
  // A seek that fails (before the start, say) leaves the position where it was.
  if (result < 0) result = SeekFileHandle(fd_, 0, SEEK_CUR);
  return result;
}

void TFileStream::SetSize(int64_t size) {
  // A device or a pipe has no size to set; sizing a download ahead into /dev/null must not fail.
  if (!IsRegularFileHandle(fd_)) return;
  const int64_t position = Position();
  if (!SetFileHandleSize(fd_, size)) throw EWriteError("Stream-Schreibfehler");
  if (position > size) Seek(0, TSeekOrigin::soEnd);
}

}  // namespace pelmorix
