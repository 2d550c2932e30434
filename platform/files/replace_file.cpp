#include "platform/files/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "base/path.h"

namespace pelmorix {
namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool CopyAll(int in, int out) {
  char buffer[65536];
  for (;;) {
    const ssize_t got = read(in, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return got == 0;
    for (ssize_t done = 0; done < got;) {
      const ssize_t put = write(out, buffer + done, static_cast<size_t>(got - done));
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) return false;
      done += put;
    }
  }
}

// The move to another file system: a full copy beside the target, on disk before it takes the
// target's name, so a crash leaves either the old target or the whole new one.
bool CopyBesideThenRename(const std::string& from, const std::string& to, mode_t mode) {
  const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  std::string temporary = FolderOf(to) + "/.replace-XXXXXX";
  const int out = mkostemp(temporary.data(), O_CLOEXEC);
  if (out < 0) {
    close(in);
    return false;
  }
  bool ok = CopyAll(in, out) && fchmod(out, mode) == 0 && fsync(out) == 0;
  ok = close(out) == 0 && ok;
  close(in);
  ok = ok && rename(temporary.c_str(), to.c_str()) == 0;
  if (!ok) {
    unlink(temporary.c_str());
    return false;
  }
  unlink(from.c_str());
  return true;
}

}  // namespace

bool MoveFileReplacing(const std::string& fromPath, const std::string& toPath) {
  const std::string from = NativePath(fromPath), to = NativePath(toPath);
  struct stat source {
  }, target{};
  if (stat(from.c_str(), &source) != 0 || !S_ISREG(source.st_mode)) return false;
  const bool targetExists = stat(to.c_str(), &target) == 0;
  if (targetExists && S_ISDIR(target.st_mode)) return false;
  const mode_t mode = (targetExists ? target.st_mode : source.st_mode) & 07777;
  if (targetExists && source.st_dev == target.st_dev && source.st_ino == target.st_ino) {
    return true;  // already in place
  }

  const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  // Data on disk before the name changes; the mode is set first, so the target never appears
  // without its execute bits.
  const bool ready = fsync(in) == 0 && fchmod(in, mode) == 0;
  close(in);
  if (ready) {
    if (rename(from.c_str(), to.c_str()) == 0) return true;
    if (errno != EXDEV) return false;
  }
  // Another file system, or a source that may be read but not changed: a copy takes its place.
  return CopyBesideThenRename(from, to, mode);
}

}  // namespace pelmorix
