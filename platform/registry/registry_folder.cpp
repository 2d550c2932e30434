#include "platform/registry/registry_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/registry/reg_file.h"

namespace pelmorix {
namespace {

// Closes a descriptor when it goes out of scope.
class TDescriptor {
 public:
  explicit TDescriptor(int fd) : fd_(fd) {}
  ~TDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

bool ReadWholeFile(int fd, std::string& content) {
  content.clear();
  char buffer[65536];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    content.append(buffer, static_cast<size_t>(got));
  }
}

bool WriteWholeFile(int fd, const std::string& content) {
  size_t done = 0;
  while (done < content.size()) {
    const ssize_t put = write(fd, content.data() + done, content.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<size_t>(put);
  }
  return true;
}

bool IsWritableByThisProcess(const std::string& path) {
  if (access(path.c_str(), W_OK) != 0) return false;
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return false;
  return geteuid() != 0 || (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

bool MakeFolders(const std::string& folder) {
  for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (!part.empty() && mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) return true;
  }
}

// Holds the advisory write lock of the folder until it goes out of scope.
class TFolderLock {
 public:
  explicit TFolderLock(const std::string& folder)
      : fd_(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_.Get() < 0) return;
    int answer;
    do {
      answer = flock(fd_.Get(), LOCK_EX);
    } while (answer != 0 && errno == EINTR);
    locked_ = answer == 0;
  }
  bool Locked() const { return locked_; }

 private:
  TDescriptor fd_;  // the lock ends when the descriptor closes
  bool locked_ = false;
};

std::string TemporaryPrefix(const std::string& rootName) { return "." + rootName + ".reg."; }

}  // namespace

TRegistryFolder::TRegistryFolder(std::string folder) : folder_(std::move(folder)) {
  while (folder_.size() > 1 && folder_.back() == '/') folder_.pop_back();
}

std::string TRegistryFolder::DefaultFolder() {
  const char* configured = getenv("PELMORIX_REGISTRY");
  if (configured != nullptr && *configured != '\0') return configured;
  const char* home = getenv("HOME");
  std::string homeFolder = home != nullptr ? home : "";
  if (homeFolder.empty()) {
    if (const passwd* entry = getpwuid(getuid())) homeFolder = entry->pw_dir;
  }
  return homeFolder + "/.local/share/pelmorix/registry";
}

std::string TRegistryFolder::HiveFileName(const std::string& rootName) const {
  return folder_ + "/" + rootName + ".reg";
}

TRegistryFolder::THiveState TRegistryFolder::Load(const std::string& rootName,
                                                  TRegistryHive& hive) const {
  hive = TRegistryHive();
  TDescriptor fd(open(HiveFileName(rootName).c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) return errno == ENOENT ? THiveState::Missing : THiveState::Unreadable;
  std::string content;
  std::vector<TRegFileSection> sections;
  if (!ReadWholeFile(fd.Get(), content) || !ParseRegFile(content, sections)) {
    return THiveState::Unreadable;
  }
  for (const auto& section : sections) {
    if (RootKeyOfName(section.RootName) != RootKeyOfName(rootName)) return THiveState::Unreadable;
  }
  ApplyRegFileSections(sections, rootName, hive);
  return THiveState::Loaded;
}

bool TRegistryFolder::IsWritable(const std::string& rootName) const {
  const std::string file = HiveFileName(rootName);
  if (access(file.c_str(), F_OK) == 0 && !IsWritableByThisProcess(file)) return false;
  return IsWritableByThisProcess(folder_);
}

LONG TRegistryFolder::Update(const std::string& rootName, const TChange& change) const {
  if (!MakeFolders(folder_) || !IsWritable(rootName)) return ERROR_ACCESS_DENIED;
  TFolderLock lock(folder_);
  if (!lock.Locked()) return ERROR_ACCESS_DENIED;
  TRegistryHive hive;
  if (Load(rootName, hive) == THiveState::Unreadable) return ERROR_BADDB;
  bool changed = false;
  const LONG answer = change(hive, changed);
  if (answer != ERROR_SUCCESS || !changed) return answer;
  RemoveStaleTemporaries(rootName);
  return Store(rootName, hive);
}

LONG TRegistryFolder::Store(const std::string& rootName, const TRegistryHive& hive) const {
  const std::string file = HiveFileName(rootName);
  std::string temporary = folder_ + "/" + TemporaryPrefix(rootName) + "XXXXXX";
  TDescriptor fd(mkostemp(temporary.data(), O_CLOEXEC));
  if (fd.Get() < 0) return ERROR_ACCESS_DENIED;
  struct stat previous {};
  const mode_t mode = stat(file.c_str(), &previous) == 0 ? (previous.st_mode & 07777) : 0644;
  const bool written = fchmod(fd.Get(), mode) == 0 &&
                       WriteWholeFile(fd.Get(), WriteRegFile(rootName, hive)) &&
                       fsync(fd.Get()) == 0;
  if (!written || rename(temporary.c_str(), file.c_str()) != 0) {
    unlink(temporary.c_str());
    return ERROR_ACCESS_DENIED;
  }
  // The rename itself becomes durable with the folder's entry.
  TDescriptor folder(open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.Get() >= 0) fsync(folder.Get());
  return ERROR_SUCCESS;
}

// Temporary files of writers that died before their rename. Only called under the lock, when
// no other writer can be using one.
void TRegistryFolder::RemoveStaleTemporaries(const std::string& rootName) const {
  DIR* dir = opendir(folder_.c_str());
  if (dir == nullptr) return;
  const std::string prefix = TemporaryPrefix(rootName);
  std::vector<std::string> stale;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0) {
      stale.push_back(folder_ + "/" + name);
    }
  }
  closedir(dir);
  for (const auto& path : stale) unlink(path.c_str());
}

}  // namespace pelmorix
