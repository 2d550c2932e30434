#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/codepage.h"
#include "base/format.h"
#include "base/path.h"
#include "base/stream.h"

namespace pelmorix {

TFileStream::TFileStream(const std::string& fileName, uint16_t mode) : fileName_(fileName) {
  const std::string path = NativePath(fileName);
  if (mode == fmCreate) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) {
      throw EFCreateError(
          Format(Utf8ToCp1252("Datei %s kann nicht erstellt werden").c_str(), fileName.c_str()));
    }
    return;
  }
  int flags = O_RDONLY;
  if ((mode & 0x3) == fmOpenWrite) flags = O_WRONLY;
  if ((mode & 0x3) == fmOpenReadWrite) flags = O_RDWR;
  fd_ = ::open(path.c_str(), flags | O_CLOEXEC);
  struct stat info {};
  if (fd_ >= 0 && (::fstat(fd_, &info) != 0 || S_ISDIR(info.st_mode))) {
    ::close(fd_);
    fd_ = -1;
  }
  if (fd_ < 0) {
    throw EFOpenError(
        Format(Utf8ToCp1252("Datei %s kann nicht geöffnet werden").c_str(), fileName.c_str()));
  }
}

TFileStream::~TFileStream() {
  if (fd_ >= 0) ::close(fd_);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    const ssize_t n =
        ::read(fd_, static_cast<char*>(buffer) + done, static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    const ssize_t n =
        ::write(fd_, static_cast<const char*>(buffer) + done, static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  int whence = SEEK_SET;
  if (origin == TSeekOrigin::soCurrent) whence = SEEK_CUR;
  if (origin == TSeekOrigin::soEnd) whence = SEEK_END;
  off_t result = ::lseek(fd_, static_cast<off_t>(offset), whence);
  // A seek that fails (before the start, say) leaves the position where it was.
  if (result < 0) result = ::lseek(fd_, 0, SEEK_CUR);
  return static_cast<int64_t>(result);
}

void TFileStream::SetSize(int64_t size) {
  // A device or a pipe has no size to set; sizing a download ahead into /dev/null must not fail.
  struct stat info {};
  if (::fstat(fd_, &info) == 0 && !S_ISREG(info.st_mode)) return;
  const int64_t position = Position();
  if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) throw EWriteError("Stream-Schreibfehler");
  if (position > size) Seek(0, TSeekOrigin::soEnd);
}

}  // namespace pelmorix
