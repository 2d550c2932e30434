#include "platform/files/files.h"

#include <fcntl.h>
#include <linux/limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "base/path.h"

namespace pelmorix {
namespace {

bool StatOf(const std::string& path, struct stat& info) {
  return stat(NativePath(path).c_str(), &info) == 0;
}

// The copy behind a move to another file system: the whole file, then its old name removed.
bool CopyThenDelete(const std::string& from, const std::string& to) {
  struct stat info {};
  if (stat(from.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  const int out = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, info.st_mode & 07777);
  if (out < 0) {
    close(in);
    return false;
  }
  char buffer[65536];
  bool ok = true;
  for (;;) {
    const ssize_t got = read(in, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ok = got == 0;
      break;
    }
    for (ssize_t done = 0; ok && done < got;) {
      const ssize_t put = write(out, buffer + done, static_cast<size_t>(got - done));
      if (put < 0 && errno == EINTR) continue;
      ok = put > 0;
      done += put;
    }
    if (!ok) break;
  }
  ok = close(out) == 0 && ok;
  close(in);
  if (!ok) {
    unlink(to.c_str());
    return false;
  }
  return unlink(from.c_str()) == 0;
}

}  // namespace

bool CreateDir(const std::string& path) { return mkdir(NativePath(path).c_str(), 0777) == 0; }

bool CreateOrEmptyFile(const std::string& path) {
  const int fd = open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  return close(fd) == 0;
}

bool DeleteFile(const std::string& path) {
  struct stat info {};
  if (lstat(NativePath(path).c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  return unlink(NativePath(path).c_str()) == 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
  const std::string source = NativePath(from), target = NativePath(to);
  if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
    return true;
  }
  if (errno == EXDEV) return CopyThenDelete(source, target);
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without the no-replace flag: the check and the rename are two steps there.
  struct stat info {};
  if (lstat(target.c_str(), &info) == 0) return false;
  return rename(source.c_str(), target.c_str()) == 0;
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return StatOf(path, info) && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat info {};
  return StatOf(path, info) && S_ISDIR(info.st_mode);
}

std::string GetCurrentDir() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) != nullptr ? buffer : "";
}

bool SetCurrentDir(const std::string& path) { return chdir(NativePath(path).c_str()) == 0; }

std::string GetModuleFileName() {
  char buffer[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : "";
}

}  // namespace pelmorix
